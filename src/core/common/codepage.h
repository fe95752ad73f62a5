#pragma once
// Conversion between the files' Windows-1252 texts and UTF-8, used only at
// the edges (the JSON of the command-line tool, the Qt program's widgets).

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

std::string Cp1252ToUtf8(std::string_view cp1252);
// The same, added to the end of `out`.
void AppendCp1252AsUtf8(std::string& out, std::string_view cp1252);
// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes too.
std::string Utf8ToCp1252(std::string_view utf8);
// Where the stretch of ASCII bytes (below 128) that starts at `from` ends.
std::size_t AsciiStretch(std::string_view text, std::size_t from);
// One code point as UTF-8, added to the end of `out`.
void AppendUtf8(std::string& out, char32_t codePoint);

} // namespace tessaly
