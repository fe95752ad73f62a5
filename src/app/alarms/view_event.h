#pragma once
// "View Event" from the alarm window and the calendar view: the view dialog of a
// reminder, captioned with the name of the book or diary that holds it.

class QWidget;

namespace tessaly {

class TChildWindow;
class TReminders;

void ShowViewEventDialog(TChildWindow& owner, const TReminders& reminder, QWidget* parent);

} // namespace tessaly
