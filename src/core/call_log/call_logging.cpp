#include "core/call_log/call_logging.h"

#include "core/access/entries.h"
#include "core/common/date_format.h"

namespace tessaly {

bool TCallLogging::Start(const void* owner, TDateTime stamp, std::string_view number,
                         TDateTime now) {
    if (active_)
        return false;
    active_ = true;
    owner_ = owner;
    stamp_ = stamp;
    number_ = std::string(number);
    start_ = now;
    finishedAt_.reset();
    return true;
}

void TCallLogging::CallFinished(TDateTime now) {
    if (Running())
        finishedAt_ = now;
}

std::string TCallLogging::DurationText(TDateTime now) const {
    if (!active_)
        return "00:00:00";
    const TDateTime end = finishedAt_ ? *finishedAt_ : now;
    return FormatDateTime("hh:mm:ss", end > start_ ? end - start_ : 0.0);
}

std::optional<TDialogMessage> TCallLogging::Complete(TBookData& book, std::string_view comment,
                                                     TDateTime now) {
    if (!active_)
        return std::nullopt;
    const bool added = AddCallLogByStamp(book, stamp_, number_, comment, start_, now);
    Cancel();
    if (!added)
        return TDialogMessage{kMsgTitleRequestDenied, kMsgCallEntryGone, kMsgKindError,
                              kMsgButtonsOk};
    return std::nullopt;
}

void TCallLogging::Cancel() {
    active_ = false;
    owner_ = nullptr;
    finishedAt_.reset();
}

} // namespace tessaly
