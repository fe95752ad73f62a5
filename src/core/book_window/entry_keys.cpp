#include "core/book_window/entry_keys.h"

#include "core/organise/entry_text.h"

namespace tessaly {

TEntryKeys::TEntryKeys(TRecord& entry, const TBookData& book)
    : entry_(entry), book_(book), editor_(entry.Keys, false, true),
      savedDefault_(entry.UseDefaultKeys) {
    AssignKeys(savedKeys_, entry.Keys);
    ReadCaptions();
    editor_.SetEnabled(Override());
}

void TEntryKeys::ReadCaptions() {
    const int firstAddress =
        entry_.Addresses.Count() > 0 ? entry_.Addresses.AddressTemplateId(0) : -1;
    editor_.SetCaptions(KeyCaptions(book_.Templates, firstAddress));
}

void TEntryKeys::SetOverride(bool on) {
    entry_.UseDefaultKeys = on ? 0 : 1;
    editor_.SetEnabled(on);
    if (!on)
        ApplyBookKeys(entry_, book_.IndexKeys);
}

int TEntryKeys::Delete(int i) {
    const int next = editor_.Delete(i);
    return next < -1 ? -1 : next;
}

void TEntryKeys::BookChanged() {
    ReadCaptions();
    if (!Override())
        ApplyBookKeys(entry_, book_.IndexKeys);
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
    editor_.SetEnabled(Override());
}

bool TEntryKeys::Changed() const {
    if (entry_.UseDefaultKeys != savedDefault_)
        return true;
    // An entry following the book's keys takes them whenever it is shown.
    return Override() && !(entry_.Keys == savedKeys_);
}

} // namespace tessaly
