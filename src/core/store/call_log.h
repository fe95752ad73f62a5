#pragma once
// TLog: one telephone call made to an entry.

#include "common/date_time.h"
#include "store/my_list.h"

#include <memory>
#include <string>
#include <string_view>

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
    // "hh:mm:ss" of End - Start; the hours count 24 for each whole day. Empty when
    // out of range.
    std::string DurationText(int i) const;
    // True with the all flag; otherwise when the day of Start lies from the day of
    // `from` to the day of `to`, both included.
    static bool LogInRange(const TLog& log, bool all, TDateTime from, TDateTime to);

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
