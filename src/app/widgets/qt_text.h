#pragma once
// The one place where the store's Windows-1252 texts meet Qt's strings.

#include <QString>
#include <string>

namespace tessaly {

QString ToQString(const std::string& cp1252);
std::string FromQString(const QString& s);

} // namespace tessaly
