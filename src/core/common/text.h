#pragma once
// Texts as the store holds them: single-byte (Windows-1252) strings.
// A Text may be absent (null), which the files keep distinct from empty.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

using Text = std::optional<std::string>;

// Longest value a short string can hold.
constexpr std::size_t kShortStringMax = 255;

// The characters of a Text, empty when it is absent.
inline const std::string& TextValue(const Text& t) {
    static const std::string empty;
    return t ? *t : empty;
}

// Removes leading and trailing blanks and control characters (every byte up to 32).
std::string Trim(std::string_view s);
// The same, done in place without a copy.
void TrimInPlace(std::string& s);
// Removes trailing blanks, carriage returns and line feeds (and other control bytes).
std::string TrimRight(std::string_view s);
// Cuts a value to the short-string limit of 255 characters.
std::string CutShort(std::string_view s);
// Trims and cuts: the cleaning applied to names, descriptions and captions.
std::string CleanShort(std::string_view s);

} // namespace tessaly
