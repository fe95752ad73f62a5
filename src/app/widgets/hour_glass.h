#pragma once
// The hour-glass cursor for the length of a scope, so that an error leaving the scope
// never leaves it on.

#include <QCursor>
#include <QGuiApplication>

namespace tessaly {

class THourGlass {
public:
    THourGlass() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~THourGlass() { QGuiApplication::restoreOverrideCursor(); }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;
};

} // namespace tessaly
