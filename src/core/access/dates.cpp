#include "core/access/dates.h"

#include <cmath>

namespace tessaly {

std::string DateAtTimeText(TDateTime t, std::string_view unset, const TFormatSettings& fs) {
    // The day after 31 December 9999 is the first value no calendar date can show.
    static const TDateTime kPastLastDay = EncodeDate(9999, 12, 31) + 1;
    if (!std::isfinite(t) || t < 1 || t >= kPastLastDay)
        return std::string(unset);
    return FormatDateTime(kDateAtTimePattern, t, fs);
}

std::string BookCreatedText(const TBookData& book, const TFormatSettings& fs) {
    return DateAtTimeText(book.Created, kBookCreatedUnavailable, fs);
}

std::string BookUpdatedText(const TBookData& book, const TFormatSettings& fs) {
    return DateAtTimeText(book.LastUpdated, kBookUpdatedUnavailable, fs);
}

std::string EntryCreatedText(const TRecord& entry, const TFormatSettings& fs) {
    return DateAtTimeText(entry.Created, kEntryCreatedUnavailable, fs);
}

std::string EntryUpdatedText(const TRecord& entry, const TFormatSettings& fs) {
    return DateAtTimeText(entry.Updated, kEntryNotUpdated, fs);
}

std::string EntryLastCalledText(const TRecord& entry, const TFormatSettings& fs) {
    return DateAtTimeText(entry.LastCalled, kEntryNeverCalled, fs);
}

} // namespace tessaly
