#pragma once
// The call being logged: which book and entry it was made to (the entry by its
// stamp, so that the record finds the entry even after the entry list changed), the
// number, the start, and whether the user has said the call is over. One call is
// logged at a time; the log window shows this state and writes the record from it.

#include "core/common/date_time.h"
#include "core/common/dialog_message.h"
#include "core/store/book.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

inline constexpr const char* kMsgCallEntryGone =
    "The Entry associated with this Call could not be located within the Address Book, possibly "
    "due to the entry being Deleted (?) \n\nThe Call Log request has been terminated";
// String 88.
inline constexpr const char* kMsgCloseWhileLogging =
    "Unable to Close Address Book, due to Call Logging in Progress. \n\nPlease complete the Call "
    "Log, and retry request";
// A second call made while the first is still being logged.
inline constexpr const char* kMsgCallLogBusy =
    "A Call is already being Logged \n\nThe Call has been made, but will not be Logged. Please "
    "complete the open Call Log first";

class TCallLogging {
public:
    // Starts logging a call to the entry with `stamp` of the book `owner` stands for.
    // Refused (false, nothing changes) while another call is being logged.
    bool Start(const void* owner, TDateTime stamp, std::string_view number, TDateTime now);
    bool Active() const { return active_; }
    // Logging a call for the book `owner` stands for.
    bool LoggingFor(const void* owner) const { return active_ && owner == owner_; }
    const std::string& Number() const { return number_; }
    TDateTime Start() const { return start_; }
    TDateTime Stamp() const { return stamp_; }

    // Until "Call Finished" the duration runs; then it stays where it stopped.
    bool Running() const { return active_ && !finishedAt_; }
    void CallFinished(TDateTime now);
    // The elapsed time, "hh:mm:ss".
    std::string DurationText(TDateTime now) const;

    // OK: the record (the start, `now` as its end, the number and the comment) goes
    // to the entry, and to the book's work record when that is the entry. The message
    // when the entry is gone; logging ends either way.
    std::optional<TDialogMessage> Complete(TBookData& book, std::string_view comment,
                                           TDateTime now);
    // Cancel: logging ends with nothing written.
    void Cancel();

private:
    bool active_ = false;
    const void* owner_ = nullptr;
    TDateTime stamp_ = 0;
    std::string number_;
    TDateTime start_ = 0;
    std::optional<TDateTime> finishedAt_;
};

} // namespace tessaly
