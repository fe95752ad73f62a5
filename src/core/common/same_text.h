#pragma once
// Comparing names without regard to case, as the book's names are compared: the
// Windows-1252 upper-casing, so accented letters fold too.

#include <string>
#include <string_view>

namespace tessaly {

char UpperCase1252(char c);
std::string UpperCase1252(std::string_view s);
// Equal without regard to case.
bool SameText(std::string_view a, std::string_view b);

} // namespace tessaly
