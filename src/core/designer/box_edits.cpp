#include "core/designer/box_edits.h"

#include "core/printing/layout.h"
#include "core/printing/object_text.h"

#include <algorithm>

namespace tessaly {

bool IsDateTimeKind(int kind) {
    const int b = BoxBehaviour(kind);
    return b >= kBoxDate && b <= kBoxLastCalled;
}

bool IsPageNumberKind(int kind) {
    return BoxBehaviour(kind) == kBoxPageNumber;
}

std::string FormatPreview(int kind, std::string_view pattern, TDateTime now,
                          const TFormatSettings& formats) {
    if (IsPageNumberKind(kind))
        return PageNumberText(pattern, 1);
    return FormatDateTime(pattern, now, formats);
}

std::string PageNumberPattern(int digits) {
    digits = std::clamp(digits, 1, kMaxPageDigits);
    return "%." + std::to_string(digits) + "d";
}

TDataItemsEdit::TDataItemsEdit(const TFieldsList& items) {
    for (const auto& f : items)
        items_.Add(std::make_unique<TFields>(*f));
    if (items_.Count())
        singleLine_ = items_.At(0)->SingleLine;
}

void TDataItemsEdit::SetSingleLine(bool single) {
    singleLine_ = single;
    KeepFlag();
}

void TDataItemsEdit::KeepFlag() {
    if (items_.Count())
        items_.At(0)->SingleLine = singleLine_;
}

bool TDataItemsEdit::CanAdd(const TLayoutRecord& field) const {
    for (const auto& f : items_)
        if (f->FieldNumber == field.Position && f->Kind == field.Kind)
            return false;
    return true;
}

bool TDataItemsEdit::Add(const TLayoutRecord& field) {
    if (!CanAdd(field))
        return false;
    auto f = std::make_unique<TFields>();
    f->Caption = field.Caption;
    f->FieldNumber = field.Position;
    f->Kind = field.Kind;
    f->SingleLine = singleLine_;
    items_.Add(std::move(f));
    KeepFlag();
    return true;
}

bool TDataItemsEdit::CanRemove(int index) const {
    return index >= 0 && index < items_.Count() && items_.Count() > 1;
}

bool TDataItemsEdit::Remove(int index) {
    if (!CanRemove(index))
        return false;
    items_.Delete(index);
    KeepFlag();
    return true;
}

bool TDataItemsEdit::CanMove(int index, int delta) const {
    const int to = index + delta;
    return (delta == -1 || delta == 1) && index >= 0 && index < items_.Count() && to >= 0 &&
           to < items_.Count();
}

int TDataItemsEdit::Move(int index, int delta) {
    if (!CanMove(index, delta))
        return -1;
    items_.Move(index, index + delta);
    // The first item may have changed: it carries the object's merge mode.
    KeepFlag();
    return index + delta;
}

std::string StaticText(const TLayoutBox& box) {
    return box.Items.Count() ? box.Items.At(0)->Caption.str() : std::string();
}

void SetStaticText(TLayoutBox& box, std::string_view text) {
    if (!box.Items.Count()) {
        auto f = std::make_unique<TFields>();
        f->Kind = kBoxStaticText;
        box.Items.Add(std::move(f));
    }
    box.Items.At(0)->Caption = text.substr(0, kStaticTextMax);
}

std::string StoredReturnAddress(std::string_view typed) {
    std::string out;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const char c = typed[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < typed.size() && typed[i + 1] == '\n')
                ++i;
            if (out.size() + 2 > kReturnAddressMax)
                break;
            out += "\r\n";
        } else {
            if (out.size() + 1 > kReturnAddressMax)
                break;
            out += c;
        }
    }
    return out;
}

std::string EditedReturnAddress(std::string_view stored) {
    std::string out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '\r') {
            if (i + 1 < stored.size() && stored[i + 1] == '\n')
                ++i;
            out += '\n';
        } else {
            out += stored[i];
        }
    }
    return out;
}

} // namespace tessaly
