#include "app/widgets/modal_windows.h"

#include <QApplication>
#include <QDialog>
#include <QThread>
#include <QWidget>

namespace tessaly {

bool CancelModalWindows() {
    bool found = false;
    while (QWidget* popup = QApplication::activePopupWidget()) {
        found = true;
        if (!popup->close())
            break;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        found = true;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
    return found;
}

bool InNestedEventLoop(int mainLevel) {
    return QThread::currentThread()->loopLevel() > mainLevel;
}

} // namespace tessaly
