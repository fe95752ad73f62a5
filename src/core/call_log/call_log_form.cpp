#include "core/call_log/call_log_form.h"

#include "core/common/text.h"

#include <algorithm>

namespace tessaly {

namespace {

TDialogMessage Refusal(int title, const char* text) {
    return TDialogMessage{title, text, kMsgKindError, kMsgButtonsOk};
}

} // namespace

TLogUpdateForm FillLogForm(const TLog& log, const TFormatSettings& fs) {
    TLogUpdateForm f;
    f.StartDate = FormatDateTime("ddddd", log.Start, fs);
    f.StartTime = FormatDateTime("t", log.Start, fs);
    f.EndDate = FormatDateTime("ddddd", log.End, fs);
    f.EndTime = FormatDateTime("t", log.End, fs);
    f.Number = std::string(TextValue(log.Number));
    f.Comment = std::string(TextValue(log.Comment));
    return f;
}

TLogCheck CheckLogForm(const TLogUpdateForm& form, TDateTime today, const TFormatSettings& fs,
                       const TLog* shown) {
    TLogCheck check;
    const auto startDate = ParseDate(Trim(form.StartDate), fs, today);
    const auto startTime = ParseTime(Trim(form.StartTime), fs);
    const auto endDate = ParseDate(Trim(form.EndDate), fs, today);
    const auto endTime = ParseTime(Trim(form.EndTime), fs);
    if (!startDate || !startTime || !endDate || !endTime) {
        check.Refusal = Refusal(kMsgTitleValidationFailed, kMsgLogDateInvalid);
        check.Focus = !startDate || !startTime ? TLogField::StartDate : TLogField::EndDate;
        return check;
    }
    TDateTime start = ComposeDateTime(*startDate, *startTime);
    TDateTime end = ComposeDateTime(*endDate, *endTime);
    if (shown) {
        const TLogUpdateForm before = FillLogForm(*shown, fs);
        if (form.StartDate == before.StartDate && form.StartTime == before.StartTime)
            start = shown->Start;
        if (form.EndDate == before.EndDate && form.EndTime == before.EndTime)
            end = shown->End;
    }
    if (CalendarMs(end) < CalendarMs(start)) {
        check.Refusal = Refusal(kMsgTitleValidationFailed, kMsgLogEndBeforeStart);
        check.Focus = TLogField::EndDate;
        return check;
    }
    const std::string number = Trim(form.Number);
    if (number.empty()) {
        check.Refusal = Refusal(kMsgTitleRequiredField, kMsgLogNumberRequired);
        check.Focus = TLogField::Number;
        return check;
    }
    check.Record = TLog(number, form.Comment, start, end);
    return check;
}

TLogDetails LogDetails(const TLog& log, const TFormatSettings& fs) {
    TLogDetails d;
    d.Number = std::string(TextValue(log.Number));
    d.Comment = std::string(TextValue(log.Comment));
    d.Started = FormatDateTime("t \"on\" dddddd", log.Start, fs);
    d.Finished = FormatDateTime("t \"on\" dddddd", log.End, fs);
    d.Duration = DurationText(log.End - log.Start);
    return d;
}

int TCallLogEdit::Delete(int row) {
    logs_.Delete(row);
    return std::min(row, logs_.Count() - 1);
}

int TCallLogEdit::Add(const TLog& log) {
    return logs_.AddLog(TextValue(log.Number), TextValue(log.Comment), log.Start, log.End);
}

int TCallLogEdit::Replace(int row, const TLog& log) {
    TLog* target = logs_.At(row);
    if (!target)
        return -1;
    *target = log;
    return row;
}

} // namespace tessaly
