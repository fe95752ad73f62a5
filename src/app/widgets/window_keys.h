#pragma once
// The keys of a window's commands before the key bindings of its fields: a text field
// takes Ctrl+A (select all), Ctrl+U (delete the line), Ctrl+D and others for itself,
// which would hide the window's own commands on those keys whenever a field has the
// focus. With this filter the window's command runs wherever the focus is inside the
// window, and a field never acts on such a key, not even while the command is disabled.

#include <QObject>

class QKeyEvent;
class QWidget;

namespace tessaly {

class TWindowKeysFirst : public QObject {
public:
    // Watches the key events of every widget inside `window` (its own dialogs, which are
    // windows of their own, keep their keys). Owned by the window.
    explicit TWindowKeysFirst(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the key is a shortcut of one of the window's commands, its actions (those
    // that work wherever the focus is in the window, not only on one widget).
    bool IsWindowKey(const QKeyEvent& key) const;
    QWidget* window_;
};

} // namespace tessaly
