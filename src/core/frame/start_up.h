#pragma once
// Start-up decisions that need no screen.

#include <string>
#include <string_view>

namespace tessaly {

// The short date format with at most two month letters: the letters M and m are
// counted from the first, and every one after the second is deleted
// ("dd/MMM/yy" becomes "dd/MM/yy").
std::string LimitMonthLetters(std::string_view format);

// "Version: " + product version + " Build: " + file version; "N/A" when either is
// unknown.
std::string MakeVersionText(const std::string& productVersion, const std::string& fileVersion);

// The program's name as its configuration files are named: the executable's base
// name in upper case ("TESSALY").
std::string ProgramNameOf(const std::string& executablePath);

} // namespace tessaly

namespace tessaly {

// A Qt-style date format ("dd/MM/yyyy") in the program's format letters
// ("dd/mm/yyyy"); quoted text is kept.
std::string DateFormatFromQt(std::string_view qtFormat);

} // namespace tessaly
