#include "app/frame/first_paint_timer.h"

#include "app/book/entry_list_view.h"
#include "app/calendar/date_grids.h"
#include "app/diary/diary_day_list.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <iostream>

namespace tessaly {

TFirstPaintTimer::TFirstPaintTimer(std::chrono::steady_clock::time_point start, TTarget target,
                                   QObject* parent)
    : QObject(parent), start_(start), target_(target) {}

const char* TFirstPaintTimer::Seen(QObject* watched) const {
    if (target_ == TTarget::MonthView)
        return qobject_cast<TMonthGrid*>(watched) ? "first paint of the month view: " : nullptr;
    // The lists paint their rows on their viewports.
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* parent = widget ? widget->parentWidget() : nullptr;
    // A diary window counts once its day list is painted, even on an empty day.
    if (qobject_cast<TDiaryDayList*>(parent))
        return "first paint of the diary window: ";
    auto* list = qobject_cast<TTessaListBox*>(parent);
    if (list && list->model() && list->model()->rowCount() > 0)
        return "first paint of the entry list: ";
    return nullptr;
}

bool TFirstPaintTimer::eventFilter(QObject* watched, QEvent* event) {
    if (seen_ || event->type() != QEvent::Paint)
        return false;
    const char* what = Seen(watched);
    if (!what)
        return false;
    seen_ = true;
    // Stopped once the paint this event asks for is done.
    QTimer::singleShot(0, this, [this, what] {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        std::cout << what << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                  << " ms from start\n"
                  << std::flush;
        QCoreApplication::exit(0);
    });
    return false;
}

} // namespace tessaly
