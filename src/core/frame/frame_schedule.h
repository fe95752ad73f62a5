#pragma once
// The periodic work of the frame timer, decided without a screen: when open books
// and diaries re-read their files and when the alarm window collects due reminders.

#include "core/common/date_time.h"
#include "core/settings/settings.h"

namespace tessaly {

struct TTickState {
    // The program is the active application.
    bool AppActive = false;
    // The focused window is a book or diary window.
    bool FocusOnFileWindow = false;
    // The focused window is one a reminder scan may interrupt (a book, diary,
    // calendar, preview, designer or the alarm window); false while a modal dialog
    // has the focus.
    bool FocusAllowsScan = false;
    // A modal dialog is open.
    bool ModalOpen = false;
};

struct TTickActions {
    bool Synchronise = false;
    bool ScanReminders = false;
    // The books that synchronise with a server on their own have their round.
    bool SyncWithServers = false;
};

class TFrameSchedule {
public:
    // One tick: schedules the first runs, and says what is due now. A run whose time
    // has come but whose conditions do not hold is not rescheduled, so it is tried
    // again at every tick.
    TTickActions Tick(TDateTime now, const TSettings& settings, const TTickState& state);

    TDateTime NextReminderScan = 0;
    TDateTime NextNetworkSync = 0;
    TDateTime NextServerSync = 0;
};

} // namespace tessaly
