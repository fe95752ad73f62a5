#include "platform/qt_dates.h"

#include "core/common/date_time.h"

namespace tessaly {

QDate DateOfDay(double day) {
    const TDateParts p = DecodeDate(day);
    return QDate(p.Year, p.Month, p.Day);
}

double DayOfDate(const QDate& date) {
    return EncodeDate(date.year(), date.month(), date.day());
}

} // namespace tessaly
