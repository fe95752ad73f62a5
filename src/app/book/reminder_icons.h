#pragma once
// The small pictures of reminders, drawn by the program: "Alert1" (overdue), "Alert2"
// (due today), "Alert3" (within its advance warning), "ActedBMP" (acknowledged),
// "NoteBMP" (a note or a reminder not yet due), "AlarmBMP" (alarm set), "RecurBMP" (a
// later occurrence of a recurring event) and "Alert" (a scheduled event, no alarm).

#include <QPixmap>
#include <QString>

namespace tessaly {

// A 16 x 16 picture by its resource name; a null pixmap for an unknown name.
QPixmap ReminderIcon(const QString& name);
// The entry-list indicator for a reminder status (reminders.h): "Alert1" overdue,
// "Alert2" due today, "Alert3" in warning, empty otherwise.
QString AlertIconName(int status);

} // namespace tessaly
