#include "core/book_window/entry_keys.h"

#include "core/organise/entry_text.h"

namespace tessaly {

TEntryKeys::TEntryKeys(TRecord& entry, const TBookData& book)
    : entry_(entry), book_(book), savedDefault_(entry.UseDefaultKeys) {
    AssignKeys(savedKeys_, entry.Keys);
}

void TEntryKeys::SetOverride(bool on) {
    entry_.UseDefaultKeys = on ? 0 : 1;
    if (!on)
        ApplyBookKeys(entry_, book_.IndexKeys);
}

std::vector<TKeyField> TEntryKeys::Available() const {
    const int firstAddress =
        entry_.Addresses.Count() > 0 ? entry_.Addresses.AddressTemplateId(0) : -1;
    return AvailableKeyFields(entry_.Keys, book_.Templates, firstAddress);
}

std::string TEntryKeys::KeyText(int i) const {
    const int code = entry_.Keys.KeyCode(i);
    if (code < 0)
        return std::string();
    // The caption as the available list would show it, from a list without this key.
    TIndexList none;
    const int firstAddress =
        entry_.Addresses.Count() > 0 ? entry_.Addresses.AddressTemplateId(0) : -1;
    for (const TKeyField& f : AvailableKeyFields(none, book_.Templates, firstAddress))
        if (f.Code == code)
            return f.Text;
    return std::to_string(code);
}

int TEntryKeys::Add(int code, int selected) {
    if (!Override())
        return -1;
    return AddKeyField(entry_.Keys, code, selected);
}

int TEntryKeys::Delete(int i) {
    if (!Override() || !entry_.Keys.InRange(i))
        return -1;
    entry_.Keys.DeleteKey(i);
    return std::min(i, entry_.Keys.Count() - 1);
}

int TEntryKeys::Move(int i, int step) {
    const int to = i + step;
    if (!Override() || !entry_.Keys.InRange(i) || !entry_.Keys.InRange(to))
        return -1;
    entry_.Keys.MoveKey(i, to);
    return to;
}

void TEntryKeys::ToggleSortBy(int i) {
    if (Override())
        ToggleKeySortBy(entry_.Keys, i);
}

std::string TEntryKeys::DisplayPreview() const {
    return DisplayText(static_cast<const TRecord&>(entry_), book_.IndexKeys);
}

std::string TEntryKeys::SortPreview() const {
    return SortText(static_cast<const TRecord&>(entry_), book_.IndexKeys);
}

void TEntryKeys::Cancel() {
    entry_.UseDefaultKeys = savedDefault_;
    AssignKeys(entry_.Keys, savedKeys_);
}

} // namespace tessaly
