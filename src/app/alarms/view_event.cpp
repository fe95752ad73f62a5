#include "app/alarms/view_event.h"

#include "app/reminders/view_event_dlg.h"
#include "app/widgets/frame.h"
#include "core/diary/alarm_view.h"
#include "platform/qt_text.h"

namespace tessaly {

void ShowViewEventDialog(TChildWindow& owner, const TReminders& reminder, QWidget* parent) {
    IFrame& frame = owner.Frame();
    const TReminderOwner who{ToQString(OwnerName(EventsOf(owner))),
                             owner.Kind() == TChildKind::Diary};
    ViewReminderDialog(reminder, who, DateOf(frame.Clock().Now()), frame.Settings().FormatSettings,
                       parent);
}

} // namespace tessaly
