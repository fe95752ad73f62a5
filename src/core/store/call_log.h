#pragma once
// TLog: one telephone call made to an entry.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/store/my_list.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TLog {
public:
    TDateTime Start = 0;
    TDateTime End = 0;
    Text Number = std::string();
    Text Comment = std::string();

    TLog() = default;
    TLog(std::string_view number, std::string_view comment, TDateTime start, TDateTime end);

    // Both texts are trimmed and cut to 255 characters.
    void SetNumber(std::string_view s);
    void SetComment(std::string_view s);

    static std::unique_ptr<TLog> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TLog&) const = default;
};

// Column numbers of a call-log record when it is exported.
constexpr int kLogColumnEntryName = 0;
constexpr int kLogColumnNumber = 1;
constexpr int kLogColumnStartDate = 2;
constexpr int kLogColumnStartTime = 3;
constexpr int kLogColumnEndDate = 4;
constexpr int kLogColumnEndTime = 5;
constexpr int kLogColumnDuration = 6;
constexpr int kLogColumnComment = 7;
constexpr int kLogColumns = 8;

// "hh:mm:ss" of a duration in days: whole milliseconds first, the hours counting 24
// for each whole day; a negative duration counts as none.
std::string DurationText(TDateTime duration);

// The text of one export column of a record: dates "ddddd", times "t"; the entry's
// name is given by the caller. Empty for any other column number.
std::string LogColumnText(const TLog& log, int column, std::string_view entryName,
                          const TFormatSettings& fs = DefaultFormatSettings());

// One row of an entry's call-log list.
struct TCallLogRow {
    std::string Number;
    std::string Date; // the start in the event format
    std::string Time; // the start, "t"
    std::string Duration;
    bool operator==(const TCallLogRow&) const = default;
};

class TLogList : public TMyList<TLog> {
public:
    // Appends a record; returns its index.
    int AddLog(std::string_view number, std::string_view comment, TDateTime start, TDateTime end);
    // By index; out of range gives an empty text or 0.
    std::string NumberAt(int i) const;
    std::string CommentAt(int i) const;
    TDateTime StartAt(int i) const;
    TDateTime EndAt(int i) const;
    void SetStartAt(int i, TDateTime t);
    void SetEndAt(int i, TDateTime t);
    // "hh:mm:ss" of End - Start (see the free DurationText). Empty when out of range.
    std::string DurationText(int i) const;
    // One row per record in list order; `eventFormat` is the date pattern of the
    // "Event Format" setting ("ddd ddddd" by default).
    std::vector<TCallLogRow> Rows(const TFormatSettings& fs,
                                  std::string_view eventFormat = "ddd ddddd") const;
    // True with the all flag; otherwise when the day of Start lies from the day of
    // `from` to the day of `to`, both included.
    static bool LogInRange(const TLog& log, bool all, TDateTime from, TDateTime to);

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
