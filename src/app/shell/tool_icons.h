#pragma once
// The pictures of the tool-bar buttons and status indicators, by hint.

#include <QIcon>
#include <QString>

namespace tessaly {

QIcon ToolIcon(const QString& hint);

} // namespace tessaly
