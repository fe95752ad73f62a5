#include "app/shell/first_paint_timer.h"

#include "app/book/entry_list_view.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <iostream>

namespace tessaly {

TFirstPaintTimer::TFirstPaintTimer(std::chrono::steady_clock::time_point start, QObject* parent)
    : QObject(parent), start_(start) {}

bool TFirstPaintTimer::eventFilter(QObject* watched, QEvent* event) {
    if (seen_ || event->type() != QEvent::Paint)
        return false;
    // The list paints its rows on its viewport.
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* list = widget ? qobject_cast<TTessaListBox*>(widget->parentWidget()) : nullptr;
    if (!list || !list->model() || list->model()->rowCount() == 0)
        return false;
    seen_ = true;
    // Stopped once the paint this event asks for is done.
    QTimer::singleShot(0, this, [this] {
        const auto elapsed = std::chrono::steady_clock::now() - start_;
        std::cout << "first paint of the entry list: "
                  << std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()
                  << " ms from start\n"
                  << std::flush;
        QCoreApplication::exit(0);
    });
    return false;
}

} // namespace tessaly
