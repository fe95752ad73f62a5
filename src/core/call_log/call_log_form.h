#pragma once
// The data side of the call log dialogs: the update dialog's boxes filled from a
// record or for a new one, their checks with the exact messages, the details
// dialog's texts, and the editing of an entry's log with the copy that Cancel puts
// back.

#include "core/common/date_format.h"
#include "core/common/dialog_message.h"
#include "core/store/call_log.h"

#include <optional>
#include <string>

namespace tessaly {

inline constexpr const char* kMsgLogDateInvalid =
    "An invalid date or time has been specified \n\nPlease Re-specify before continuing";
inline constexpr const char* kMsgLogEndBeforeStart =
    "The Call Finished Time cannot be before the Call Start Time \n\nPlease Re-specify before "
    "continuing";
inline constexpr const char* kMsgLogNumberRequired =
    "The Telephone Number called must be supplied before continuing";

// The boxes of the update dialog, as the user types them: dates "ddddd", times "t".
struct TLogUpdateForm {
    std::string StartDate;
    std::string StartTime;
    std::string EndDate;
    std::string EndTime;
    std::string Number;
    std::string Comment;
    bool operator==(const TLogUpdateForm&) const = default;
};

TLogUpdateForm FillLogForm(const TLog& log, const TFormatSettings& fs = DefaultFormatSettings());

// The box a failed check sends the focus to.
enum class TLogField { None, StartDate, EndDate, Number };

struct TLogCheck {
    std::optional<TDialogMessage> Refusal;
    TLogField Focus = TLogField::None;
    TLog Record; // when accepted: the start, the end, the trimmed number and comment
};

// OK of the update dialog: every date and time must read, the end must not be before
// the start (the same moment is accepted), and the number must not be blank. The
// boxes show times to the minute: a start or end whose date and time the user left
// as `shown` had them keeps its seconds, so that changing only the comment or the
// number does not change the length of the call.
TLogCheck CheckLogForm(const TLogUpdateForm& form, TDateTime today,
                       const TFormatSettings& fs = DefaultFormatSettings(),
                       const TLog* shown = nullptr);

// The details dialog: "Started" and "Finished" as 't "on" dddddd', and the duration.
struct TLogDetails {
    std::string Number;
    std::string Comment;
    std::string Started;
    std::string Finished;
    std::string Duration;
};
TLogDetails LogDetails(const TLog& log, const TFormatSettings& fs = DefaultFormatSettings());

// The call log dialog's work on an entry's log: a copy is taken when it opens, which
// Cancel puts back.
class TCallLogEdit {
public:
    explicit TCallLogEdit(TLogList& logs) : logs_(logs), saved_(logs) {}
    TLogList& Logs() { return logs_; }
    // The row selected when the dialog opens: the last (-1 when there is none).
    int InitialRow() const { return logs_.Count() - 1; }
    // Removes the record; the row to select then (the same, or the last).
    int Delete(int row);
    // Appends the record; its row.
    int Add(const TLog& log);
    // Replaces the record at the row; the row.
    int Replace(int row, const TLog& log);
    // Puts back the log as it was when the dialog opened.
    void Restore() { logs_ = saved_; }
    bool Changed() const { return !(logs_ == saved_); }

private:
    TLogList& logs_;
    TLogList saved_;
};

} // namespace tessaly
