#include "app/alarms/view_event.h"

#include "app/reminders/view_event_dlg.h"
#include "app/shell/main_form.h"
#include "core/diary/alarm_view.h"
#include "platform/qt_text.h"

namespace tessaly {

void ShowViewEventDialog(TChildWindow& owner, const TReminders& reminder, QWidget* parent) {
    TMainForm& frame = owner.Frame();
    const TReminderOwner who{ToQString(OwnerName(TMainForm::EventsOf(owner))),
                             owner.Kind() == TChildKind::Diary};
    ViewReminderDialog(reminder, who, DateOf(frame.Clock().Now()), frame.Settings().FormatSettings,
                       parent);
}

} // namespace tessaly
