#include "app/widgets/window_keys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tessaly {

TWindowKeysFirst::TWindowKeysFirst(QWidget* window) : QObject(window), window_(window) {
    qApp->installEventFilter(this);
}

bool TWindowKeysFirst::IsWindowKey(const QKeyEvent& key) const {
    if (key.key() == 0 || key.key() == Qt::Key_unknown)
        return false;
    // The keypad's Enter is the same key to a command.
    const QKeySequence pressed(
        QKeyCombination(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key())));
    const auto matches = [&pressed](const QList<QKeySequence>& keys) {
        for (const QKeySequence& k : keys)
            if (k.matches(pressed) == QKeySequence::ExactMatch)
                return true;
        return false;
    };
    for (const QAction* a : window_->findChildren<QAction*>())
        if (a->shortcutContext() != Qt::WidgetShortcut && matches(a->shortcuts()))
            return true;
    return false;
}

bool TWindowKeysFirst::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !(widget == window_ || window_->isAncestorOf(widget)))
        return false;
    if (!IsWindowKey(*static_cast<QKeyEvent*>(event)))
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Not overridden: the shortcut map runs the window's command.
        event->ignore();
        return true;
    }
    // A key press arrives only when the command did not run (it is disabled): the
    // field does not get it either.
    return true;
}

} // namespace tessaly
