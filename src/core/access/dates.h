#pragma once
// The dates of a book and of an entry as the windows show them: 'dddddd "at" t' in
// the caller's locale, or a fixed text when the date was never set.

#include "core/common/date_format.h"
#include "core/store/book.h"
#include "core/store/record.h"

#include <string>
#include <string_view>

namespace tessaly {

inline constexpr std::string_view kDateAtTimePattern = "dddddd \"at\" t";

inline constexpr std::string_view kBookCreatedUnavailable = "Creation Date is Unavailable";
inline constexpr std::string_view kBookUpdatedUnavailable = "Last Updated Date is Unavailable";
inline constexpr std::string_view kEntryCreatedUnavailable = "Creation Date is Unavailable";
inline constexpr std::string_view kEntryNotUpdated = "Record has not been updated";
inline constexpr std::string_view kEntryNeverCalled = "No Call details recorded";

// The date-time as 'dddddd "at" t', or `unset` when it is below 1 (or no date at all:
// not a number, or past the year 9999).
std::string DateAtTimeText(TDateTime t, std::string_view unset, const TFormatSettings& fs);

std::string BookCreatedText(const TBookData& book, const TFormatSettings& fs);
std::string BookUpdatedText(const TBookData& book, const TFormatSettings& fs);
// For the work record or any other entry.
std::string EntryCreatedText(const TRecord& entry, const TFormatSettings& fs);
std::string EntryUpdatedText(const TRecord& entry, const TFormatSettings& fs);
std::string EntryLastCalledText(const TRecord& entry, const TFormatSettings& fs);

} // namespace tessaly
