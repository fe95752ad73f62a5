#include "app/calendar/day_calendar.h"

#include <QPainter>
#include <qdrawutil.h>

namespace tessaly {

TDateTime DayOf(QDate date) {
    return EncodeDate(date.year(), date.month(), date.day());
}

QDate QDateOf(TDateTime day) {
    const TDateParts p = DecodeDate(day);
    return QDate(p.Year, p.Month, p.Day);
}

TDayCalendar::TDayCalendar(QWidget* parent) : QCalendarWidget(parent) {
    setObjectName("DayCalendar");
    setFirstDayOfWeek(Qt::Sunday);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setMinimumDate(QDate(1900, 1, 1));
    setMaximumDate(QDate(2100, 12, 31));
}

void TDayCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const {
    const TDateTime day = DayOf(date);
    painter->save();
    const bool selected = date == selectedDate();
    painter->fillRect(rect, selected ? palette().highlight() : palette().base());
    QColor text = palette().text().color();
    if (date.month() != monthShown())
        text = QColor(128, 128, 128);
    else if (hasEvents_ && hasEvents_(day))
        text = Qt::red;
    if (selected && text == palette().text().color())
        text = palette().highlightedText().color();
    painter->setPen(text);
    painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
    if (day == today_)
        qDrawShadePanel(painter, rect.adjusted(1, 1, -1, -1), palette(), true, 1);
    painter->restore();
}

} // namespace tessaly
