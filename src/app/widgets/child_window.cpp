#include "app/widgets/child_window.h"

#include "app/widgets/frame.h"
#include "core/diary/event_source.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace tessaly {

TChildWindow::TChildWindow(IFrame& frame, TChildKind kind, const QString& path)
    : frame_(frame), kind_(kind), path_(path) {
    setAttribute(Qt::WA_DeleteOnClose);
}

QString TChildWindow::ShortName() const {
    return QFileInfo(path_).fileName().toUpper();
}

QMdiSubWindow* TChildWindow::SubWindow() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

bool TChildWindow::ActivateIfNamed(const QString& fileName) {
    if (path_.isEmpty() || QFileInfo(path_).fileName().compare(fileName, Qt::CaseInsensitive))
        return false;
    Activate();
    return true;
}

void TChildWindow::Activate() {
    if (QMdiSubWindow* sub = SubWindow()) {
        if (sub->isMinimized())
            sub->showNormal();
        if (sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
        sub->raise();
    }
}

void TChildWindow::PlaceOnFirstShow(const QRect& bounds, TFirstState state) {
    QMdiSubWindow* sub = SubWindow();
    if (!sub)
        return;
    bool frameMaximised = sub->isMaximized();
    if (QMdiArea* area = sub->mdiArea())
        for (QMdiSubWindow* other : area->subWindowList())
            frameMaximised = frameMaximised || (other != sub && other->isMaximized());
    // The kept rectangle is set on a normal window: set on a maximised one it would
    // leave the window at that size with the maximised look.
    if (sub->isMaximized())
        sub->showNormal();
    if (bounds.isValid())
        sub->setGeometry(bounds);
    if (frameMaximised || state == TFirstState::Maximised)
        sub->showMaximized();
    else if (state == TFirstState::Minimised)
        sub->showMinimized();
}

void TChildWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    if (!approved_ && !QueryClose()) {
        event->ignore();
        return;
    }
    closed_ = true;
    // The calendar view and the alarm window let go of the events before they are freed.
    if (kind_ == TChildKind::Book || kind_ == TChildKind::Diary)
        frame_.EventsChanged(this, false);
    CloseFile();
    event->accept();
}

TEventSource EventsOf(const TChildWindow& window) {
    TEventSource s;
    if (!window.EventSource(s))
        s = TEventSource{};
    s.Owner = &window;
    return s;
}

} // namespace tessaly
