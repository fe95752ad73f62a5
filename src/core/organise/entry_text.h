#pragma once
// Texts derived from an entry: the display and sort texts built from index keys,
// data-field and sort-field values, address lines and the formatted address.

#include "core/common/text.h"
#include "core/store/index_key.h"
#include "core/store/record.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

class TBookData;

constexpr std::string_view kNoIndexText = "<No Index Specified>";

// Data field numbers (printing, export, import, quick reports).
constexpr int kDataTitle = 0;
constexpr int kDataFirstName = 1;
constexpr int kDataSurname = 2;
constexpr int kDataPosition = 3;
constexpr int kDataCompany = 4;
constexpr int kDataAddress = 5;
constexpr int kDataPhone1 = 6;     // 6-9 the four telephone fields
constexpr int kDataOtherName = 10; // 10-15 name fields 3-8
constexpr int kDataNotes = 16;
constexpr int kDataSortText = 17;
constexpr int kDataSortInitial = 18;
constexpr int kDataDisplayText = 19;
constexpr int kDataFieldCount = 20;

// The keys an entry uses: the book's when UseDefaultKeys is set, else its own.
const TIndexList& EffectiveKeys(const TRecord& entry, const TIndexList& bookKeys);
// An entry that follows the book's keys has its Keys replaced by a copy of them.
void ApplyBookKeys(TRecord& entry, const TIndexList& bookKeys);

// The text the entry is listed with: every key's field value, trimmed after each,
// line breaks as blanks; "<No Index Specified>" when empty; at most 255 characters.
// The non-const form first applies the book's keys to the entry (ApplyBookKeys).
std::string DisplayText(TRecord& entry, const TIndexList& bookKeys);
std::string DisplayText(const TRecord& entry, const TIndexList& bookKeys);
// Whether the entry is listed as "<No Index Specified>", mostly without building its
// display text.
bool ShowsNoIndex(const TRecord& entry, const TIndexList& bookKeys);
// The text the entry is sorted by: as the display text from the keys marked SortBy,
// line breaks kept; the display text when empty.
std::string SortText(TRecord& entry, const TIndexList& bookKeys);
// Whether the entry's sort text is also its display text (every key sorts and no line
// break is left in it), so that a list need not build the same text twice.
bool SortTextIsDisplayText(const TRecord& entry, const TIndexList& bookKeys,
                           std::string_view sortText);
std::string SortText(const TRecord& entry, const TIndexList& bookKeys);

// Value of a sort-field number (0-21); empty for any other.
std::string SortValue(const TRecord& entry, int sortField);
// The stored text of a data field for an address of the entry, without a copy (empty
// for an address the entry lacks); nothing for the fields built from others (address,
// sort and display texts) and for 20 and above.
std::optional<std::string_view> StoredFieldView(const TRecord& entry, int dataField,
                                                int addressIndex);
// Value of a data field number for an address of the entry; null for 20 and above.
Text FieldValue(const TRecord& entry, int dataField, int addressIndex, const TBookData& book);
// Line n (from 1) of an address text; lines end at CR, LF or CR LF and are cut to 255
// characters. Empty when there are fewer lines.
std::string AddressLine(std::string_view text, int n);
// An address laid out by its template's address format.
std::string FormattedAddress(const TRecord& entry, int addressIndex, const TBookData& book);

} // namespace tessaly
