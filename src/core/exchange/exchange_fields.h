#pragma once
// The fields import and export name: the captions of an entry's data fields as a
// book shows them, of the diary import slots, and of the fields of each export type.

#include <string>
#include <string_view>

namespace tessaly {

class TBookData;

// The import slot of an entry's reminders, and the first slot an entry import leaves.
constexpr int kImportReminderSlot = 17;
constexpr int kEntryImportSlots = 18;
inline constexpr std::string_view kReminderSlotCaption = "Reminder Events";

// The caption of data field 0-16 in a book: fields 0-2 are the first template's
// fields 0-2, 3-9 the second template's fields 0-6, 10-16 the first template's 3-9.
// Empty for any other number or a book without those templates.
std::string EntryFieldCaption(const TBookData& book, int dataField);
// Renames the caption behind data field 0-16 (the template keeps its other captions).
void SetEntryFieldCaption(TBookData& book, int dataField, std::string_view caption);

// The caption of a diary import slot 0-9 ("Date" to "Notes"); empty out of range.
std::string_view DiaryImportCaption(int slot);
// The caption of an import slot of a book (0-17) or a diary (0-9).
std::string ImportSlotCaption(const TBookData* book, bool diary, int slot);

// How many fields an export type offers: 17 entries, 11 reminders, 8 call logs,
// 10 diary events; 0 for an unknown type.
int ExportFieldCount(int exportType);
// The caption of field n of an export type; entries take the book's captions (empty
// without a book).
std::string ExportFieldCaption(const TBookData* book, int exportType, int field);

} // namespace tessaly
