#pragma once
// The pictures of the tool-bar buttons and status indicators, by hint.

#include <QIcon>
#include <QString>

namespace tessaly {

// The desktop theme's picture by its freedesktop name (Adwaita standing in for what
// the theme lacks); a drawn badge only when no theme has one.
QIcon ToolIcon(const QString& hint);

} // namespace tessaly
