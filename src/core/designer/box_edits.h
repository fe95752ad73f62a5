#pragma once
// What the property editors decide about an object without a screen: the date and time
// preview, the page number's digits, the items of a merged data object and how they
// merge, and the texts of static text and the return address.

#include "core/common/date_format.h"
#include "core/printing/layout_record.h"
#include "core/printing/layout_objects.h"

#include <string>
#include <string_view>

namespace tessaly {

// Whether a kind formats a date or time (7 to 13) or is the page number (15).
bool IsDateTimeKind(int kind);
bool IsPageNumberKind(int kind);
// The "Preview:" of a date or time pattern at `now`: the moment in the pattern, or
// for the page number the page 1 in the pattern's digits.
std::string FormatPreview(int kind, std::string_view pattern, TDateTime now,
                          const TFormatSettings& formats);
// The page number's pattern of 1 to 9 digits ("%.1d" ... "%.9d"); other counts are
// brought into that range.
constexpr int kMaxPageDigits = 9;
std::string PageNumberPattern(int digits);

// A merged data object's items as its editor changes them. The merge mode belongs to
// the object, though only the first item's flag is stored for it: every change keeps
// the flag on whichever item is first.
class TDataItemsEdit {
public:
    explicit TDataItemsEdit(const TFieldsList& items);

    const TFieldsList& Items() const { return items_; }
    int Count() const { return items_.Count(); }
    bool SingleLine() const { return singleLine_; }
    void SetSingleLine(bool single);

    // A field of the palette is added at the end; not when the object holds it already.
    bool CanAdd(const TLayoutRecord& field) const;
    bool Add(const TLayoutRecord& field);
    // An object keeps at least one item.
    bool CanRemove(int index) const;
    bool Remove(int index);
    // Up (-1) or down (+1) by one place; the item's new position, or -1 when it
    // cannot move that way.
    bool CanMove(int index, int delta) const;
    int Move(int index, int delta);

private:
    void KeepFlag();
    TFieldsList items_;
    bool singleLine_ = true;
};

// A static text box's text: the caption of its one item of kind 2 (made when missing),
// at most 255 characters.
constexpr std::size_t kStaticTextMax = 255;
std::string StaticText(const TLayoutBox& box);
void SetStaticText(TLayoutBox& box, std::string_view text);

// The return address as typed (lines broken by LF, CR LF or CR) in the list's form:
// lines joined by CR LF, at most 32000 bytes, never a broken CR LF at the end. And
// back: the stored text with LF line breaks for an editor.
std::string StoredReturnAddress(std::string_view typed);
std::string EditedReturnAddress(std::string_view stored);

} // namespace tessaly
