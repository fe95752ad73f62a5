#pragma once
// The work record: the entry the book window edits (TBookData::WorkRecord). The window
// reads and changes it through the entry's own lists and readers (which give neutral
// values for missing items); this file holds what needs the book or a rule of its own.

#include "core/store/book.h"
#include "core/system/clock.h"

#include <string>
#include <string_view>

namespace tessaly {

// Shown for the number and comment of a call log that does not exist.
inline constexpr std::string_view kNoCallLogText = "N/A";

// Bitmap names of the button beside a telephone field.
inline constexpr std::string_view kNoButtonsBitmap = "NoBtns";
inline constexpr std::string_view kDialButtonsBitmap = "DialBtns";
inline constexpr std::string_view kMailButtonsBitmap = "MailBtns";

// The book's work record; a new one (NewWorkRecord) when the book has none yet.
TRecord& WorkRecordOf(TBookData& book);
// Loads a copy of entry i into the work record (Updated not touched). False, with the
// work record unchanged, when there is no entry i.
bool LoadWorkRecord(TBookData& book, int i);

// "Dup&licate Entry": the work record becomes a different entry, with a stamp of its own.
void SetWorkRecordStampNow(TBookData& book);
// "Set to Today's Date & Time".
void SetWorkRecordLastCalledNow(TBookData& book, const IClock& clock = SystemClock::Instance());

// Whether the work record belongs to the book's category of that name
// (case-insensitive). False when the book has no such category.
bool WorkRecordInCategory(const TBookData& book, std::string_view categoryName);

// Number and comment of the work record's call log i, "N/A" when it has none.
std::string WorkLogNumber(const TBookData& book, int i);
std::string WorkLogComment(const TBookData& book, int i);

// The kind of button beside telephone field 3-6 of address i of an entry, from the
// address's template: kButtonNone, kButtonDial or kButtonMail. None for a missing
// address or template, or a field that is not a telephone field.
int PhoneButtonKind(const TBookData& book, const TRecord& entry, int address, int field);
// "NoBtns", "DialBtns" or "MailBtns" for a button kind ("NoBtns" for an unknown one).
std::string_view PhoneButtonBitmap(int kind);

} // namespace tessaly
