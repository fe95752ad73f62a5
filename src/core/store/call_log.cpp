#include "core/store/call_log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tessaly {

TLog::TLog(std::string_view number, std::string_view comment, TDateTime start, TDateTime end)
    : Start(start), End(end) {
    SetNumber(number);
    SetComment(comment);
}

void TLog::SetNumber(std::string_view s) {
    Number = CleanShort(s);
}

void TLog::SetComment(std::string_view s) {
    Comment = CleanShort(s);
}

std::unique_ptr<TLog> TLog::Read(TStreamReader& r, int /*version*/) {
    auto l = std::make_unique<TLog>();
    l->Start = r.ReadDateTime();
    l->End = r.ReadDateTime();
    r.ReadTextInto(l->Number);
    r.ReadTextInto(l->Comment);
    return l;
}

void TLog::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteDateTime(Start);
    w.WriteDateTime(End);
    w.WriteText(Number);
    w.WriteText(Comment);
}

std::string DurationText(TDateTime duration) {
    // Whole milliseconds first, so that a difference of two date-times does not lose
    // a second to rounding; a call that ends before it starts lasts nothing, and a
    // damaged record cannot overflow the count (9999 years at most).
    constexpr double kMaxMs = 9999.0 * 366 * 86400000.0;
    const double ms = std::round(duration * 86400000.0);
    const long long seconds =
        ms > 0 && std::isfinite(ms) ? static_cast<long long>(std::min(ms, kMaxMs)) / 1000 : 0;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%.2lld:%.2lld:%.2lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buffer;
}

std::string LogColumnText(const TLog& log, int column, std::string_view entryName,
                          const TFormatSettings& fs) {
    switch (column) {
    case kLogColumnEntryName:
        return std::string(entryName);
    case kLogColumnNumber:
        return log.Number.str();
    case kLogColumnStartDate:
        return FormatDateTime("ddddd", log.Start, fs);
    case kLogColumnStartTime:
        return FormatDateTime("t", log.Start, fs);
    case kLogColumnEndDate:
        return FormatDateTime("ddddd", log.End, fs);
    case kLogColumnEndTime:
        return FormatDateTime("t", log.End, fs);
    case kLogColumnDuration:
        return DurationText(log.End - log.Start);
    case kLogColumnComment:
        return log.Comment.str();
    default:
        return std::string();
    }
}

int TLogList::AddLog(std::string_view number, std::string_view comment, TDateTime start,
                     TDateTime end) {
    Add(std::make_unique<TLog>(number, comment, start, end));
    return Count() - 1;
}

std::string TLogList::NumberAt(int i) const {
    const TLog* l = At(i);
    return l ? l->Number.str() : std::string();
}

std::string TLogList::CommentAt(int i) const {
    const TLog* l = At(i);
    return l ? l->Comment.str() : std::string();
}

TDateTime TLogList::StartAt(int i) const {
    const TLog* l = At(i);
    return l ? l->Start : 0;
}

TDateTime TLogList::EndAt(int i) const {
    const TLog* l = At(i);
    return l ? l->End : 0;
}

void TLogList::SetStartAt(int i, TDateTime t) {
    if (TLog* l = At(i))
        l->Start = t;
}

void TLogList::SetEndAt(int i, TDateTime t) {
    if (TLog* l = At(i))
        l->End = t;
}

std::string TLogList::DurationText(int i) const {
    const TLog* l = At(i);
    return l ? tessaly::DurationText(l->End - l->Start) : std::string();
}

std::vector<TCallLogRow> TLogList::Rows(const TFormatSettings& fs,
                                        std::string_view eventFormat) const {
    std::vector<TCallLogRow> rows;
    rows.reserve(static_cast<std::size_t>(Count()));
    for (const auto& l : *this)
        rows.push_back({l->Number.str(), FormatDateTime(eventFormat, l->Start, fs),
                        FormatDateTime("t", l->Start, fs),
                        tessaly::DurationText(l->End - l->Start)});
    return rows;
}

bool TLogList::LogInRange(const TLog& log, bool all, TDateTime from, TDateTime to) {
    if (all)
        return true;
    const TDateTime day = DateOf(log.Start);
    return DateOf(from) <= day && day <= DateOf(to);
}

} // namespace tessaly
