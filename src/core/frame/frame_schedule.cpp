#include "core/frame/frame_schedule.h"

namespace tessaly {

namespace {
constexpr double kMinute = 1.0 / (24 * 60);
}

TTickActions TFrameSchedule::Tick(TDateTime now, const TSettings& s, const TTickState& state) {
    TTickActions a;
    if (s.NetworkScan) {
        if (NextNetworkSync == 0)
            NextNetworkSync = now + s.NetworkInterval * kMinute;
        if (now > NextNetworkSync && state.AppActive && state.FocusOnFileWindow) {
            a.Synchronise = true;
            NextNetworkSync = now + s.NetworkInterval * kMinute;
        }
    }
    if (s.ScanActive) {
        if (NextReminderScan == 0)
            NextReminderScan = now + kMinute;
        // To the millisecond: a due time of now plus a minute must come due a minute on,
        // not a tick later because of the sum's last bit.
        if (CalendarMs(now) >= CalendarMs(NextReminderScan) && state.FocusAllowsScan) {
            a.ScanReminders = true;
            NextReminderScan = now + s.ScanReminders * kMinute;
        }
    }
    // The rounds with servers run in the background whether or not the program is
    // active, but not under a modal dialog, which may be the sync dialog itself.
    if (NextServerSync == 0)
        NextServerSync = now + s.ServerSyncInterval * kMinute;
    if (CalendarMs(now) >= CalendarMs(NextServerSync) && !state.ModalOpen) {
        a.SyncWithServers = true;
        NextServerSync = now + s.ServerSyncInterval * kMinute;
    }
    return a;
}

} // namespace tessaly
