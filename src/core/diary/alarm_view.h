#pragma once
// What the alarm window shows of its list and when it comes up: the row texts, the
// owner of the selected reminder, how a scan that found reminders raises the window,
// and the desktop notification sent while the program is out of sight.

#include "core/common/date_format.h"
#include "core/common/dialog_message.h"
#include "core/diary/alarms.h"

#include <string>
#include <vector>

namespace tessaly {

struct TAlarmRowText {
    std::string Date; // the "Event Format" pattern
    std::string Time; // "t", empty when the event has no time
    std::string Description;
};
TAlarmRowText AlarmRowText(const TReminders& r, const std::string& eventFormat,
                           const TFormatSettings& fs = DefaultFormatSettings());

// "Address Book:" with the book's name and the entry's display name, or "Diary File:"
// with the diary's name and no entry line.
struct TAlarmOwnerText {
    std::string Label;
    std::string Name;
    std::string Entry;
    bool ShowEntry = false;
};
TAlarmOwnerText AlarmOwnerText(const std::vector<TEventSource>& sources, const TEventRef& ref);
// The name an owner goes by in captions: the file name of its book or diary in upper case.
std::string OwnerName(const TEventSource& source);

struct TAlarmRaiseState {
    bool ListEmpty = true;
    bool AppActive = false;
    bool FrameMinimised = false;
    bool PreviewOrDesignerOpen = false;
};
struct TAlarmRaise {
    bool Show = false;        // beep, restore the window, make it topmost and show it
    bool MinimiseApp = false; // the program is not active and its frame is not minimised
    bool GoToEnabled = false; // "&Go to..." needs no preview or page designer open
    bool Notify = false;      // the program is out of sight: tell the desktop as well
};
// What a scan that has just rebuilt the list does next.
TAlarmRaise PlanAlarmRaise(const TAlarmRaiseState& state);

struct TAlarmNotice {
    std::string Summary; // the list's title
    std::string Body;    // one line per reminder (at most five), then how many more
};
TAlarmNotice AlarmNotification(const TAlarmList& list, const std::vector<TEventSource>& sources,
                               const std::string& eventFormat,
                               const TFormatSettings& fs = DefaultFormatSettings());

// "Go to" on a book reminder while that book has an entry update in progress.
TDialogMessage BookBeingUpdatedMessage(const std::string& bookName);

} // namespace tessaly
