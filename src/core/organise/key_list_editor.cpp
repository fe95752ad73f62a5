#include "core/organise/key_list_editor.h"

#include "core/store/address.h"
#include "core/store/record.h"

namespace tessaly {

TKeyListEditor::TKeyListEditor(TIndexList& keys, bool withNotes, bool sortFlags)
    : keys_(keys), withNotes_(withNotes), sortFlags_(sortFlags) {}

TKeyListEditor::TCaptions KeyCaptions(const TTemplateList& templates, int addressTemplateId) {
    TKeyListEditor::TCaptions c;
    for (int i = 0; i < kFieldNotes + 1; ++i)
        c.Names[static_cast<std::size_t>(i)] = templates.TemplateCaption(0, i);
    const int t = templates.FindTemplateById(addressTemplateId);
    for (int i = 0; i < kAddressFields; ++i)
        c.Address[static_cast<std::size_t>(i)] = templates.TemplateCaption(t, i);
    return c;
}

std::string TKeyListEditor::Caption(int code) const {
    if (code >= 0 && code <= kFieldNotes)
        return captions_.Names[static_cast<std::size_t>(code)];
    if (code >= kAddressKeyBase && code < kAddressKeyBase + kAddressFields)
        return captions_.Address[static_cast<std::size_t>(code - kAddressKeyBase)];
    return std::string();
}

std::vector<TKeyField> TKeyListEditor::Available() const {
    std::vector<TKeyField> fields;
    auto offer = [&](int code) {
        if (!keys_.HasCode(code))
            fields.push_back({code, std::to_string(code) + " " + Caption(code)});
    };
    const int names = withNotes_ ? kFieldNotes + 1 : kFieldNotes;
    for (int i = 0; i < names; ++i)
        offer(i);
    for (int i = 0; i < kAddressFields; ++i)
        offer(kAddressKeyBase + i);
    return fields;
}

std::string TKeyListEditor::KeyText(int i) const {
    const int code = keys_.KeyCode(i);
    if (code < 0)
        return std::string();
    return std::to_string(code) + " " + Caption(code);
}

int TKeyListEditor::Add(int code, int selected) {
    if (!enabled_)
        return -1;
    return AddKeyField(keys_, code, selected, sortFlags_);
}

int TKeyListEditor::Drop(int code, int row) {
    if (!enabled_ || keys_.HasCode(code))
        return -1;
    // Only the fields the list offers can be dropped.
    bool offered = false;
    for (const TKeyField& f : Available())
        offered = offered || f.Code == code;
    if (!offered)
        return -1;
    if (row < 0 || row >= keys_.Count())
        return keys_.AddKey(code, sortFlags_);
    return keys_.InsertKey(row, code, sortFlags_);
}

int TKeyListEditor::Delete(int i) {
    if (!enabled_ || !keys_.InRange(i))
        return -2;
    keys_.DeleteKey(i);
    return std::min(i, keys_.Count() - 1);
}

int TKeyListEditor::Move(int i, int step) {
    const int to = i + step;
    if (!enabled_ || !keys_.InRange(i) || !keys_.InRange(to))
        return -1;
    keys_.MoveKey(i, to);
    return to;
}

int TKeyListEditor::MoveTo(int from, int row) {
    if (!enabled_ || !keys_.InRange(from))
        return -1;
    const int to = keys_.InRange(row) ? row : keys_.Count() - 1;
    if (to == from)
        return -1;
    keys_.MoveKey(from, to);
    return to;
}

bool TKeyListEditor::ToggleSortBy(int i) {
    if (!enabled_ || !sortFlags_ || !keys_.InRange(i))
        return false;
    ToggleKeySortBy(keys_, i);
    return true;
}

} // namespace tessaly
