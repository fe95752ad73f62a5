#pragma once
// The core's days (date-times counted from 30 December 1899) as the date editors'
// QDate and back; the time of day is dropped.

#include <QDate>

namespace tessaly {

QDate DateOfDay(double day);
double DayOfDate(const QDate& date);

} // namespace tessaly
