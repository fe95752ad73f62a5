#pragma once
// The small month calendar of the calendar view's Day tab: days holding events are
// drawn in red, days of the neighbouring months in grey, and today is framed.

#include "core/common/date_time.h"

#include <QCalendarWidget>
#include <functional>

namespace tessaly {

class TDayCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit TDayCalendar(QWidget* parent = nullptr);
    void SetHasEvents(std::function<bool(TDateTime)> f) { hasEvents_ = std::move(f); }
    void SetToday(TDateTime today) { today_ = DateOf(today); }
    // Repaints every day after the events changed.
    void Refresh() { updateCells(); }

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;

private:
    std::function<bool(TDateTime)> hasEvents_;
    TDateTime today_ = 0;
};

// The day of a calendar date and back.
TDateTime DayOf(QDate date);
QDate QDateOf(TDateTime day);

} // namespace tessaly
