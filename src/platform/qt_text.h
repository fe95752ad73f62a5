#pragma once
// The one place where the core's strings meet Qt's. The core holds three kinds:
// - texts (entries, names, formats, messages it composes): Windows-1252 bytes;
// - paths: the file system's own bytes;
// - what the system reports (an error's reason, an exception's text): the locale's
//   8-bit encoding, as the C library wrote it.

#include <QString>
#include <string>
#include <string_view>

namespace tessaly {

QString ToQString(std::string_view cp1252);
// Characters the code page lacks become '?'.
std::string FromQString(const QString& s);
// The characters of `s` that FromQString turns into '?', each once, in the order they
// first occur: what a text typed by the user loses when it is kept.
QString CharactersLost(const QString& s);

std::string PathToCore(const QString& path);
QString PathFromCore(const std::string& path);

QString SystemTextToQString(const std::string& text);

} // namespace tessaly
