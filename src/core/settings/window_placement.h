#pragma once
// Window placement and screen font as stored in a section: "State", "Top", "Left",
// "Width", "Height"; "Font Name", "Font Size", "Font Color" and the four styles.

#include "core/settings/settings_access.h"

#include <string>

namespace tessaly {

enum class TWindowState { Maximised = 1, Minimised = 2, Normal = 3 };

struct TWindowPlacement {
    TWindowState State = TWindowState::Normal;
    int Top = 0;
    int Left = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TWindowPlacement&) const = default;
};

// Any stored state but 1 and 2 is normal; a width or height below 40 pixels takes the
// default so that a window is never restored too small to grab.
TWindowPlacement RestoreWindowPlacement(const TSettingsAccess& access, const std::string& section,
                                        int defTop, int defHeight, int defWidth, int defLeft);
// "State" 1 or 2 alone, or 3 followed by the four coordinates of the normal state.
void SaveWindowPlacement(TSettingsAccess& access, const std::string& section,
                         const TWindowPlacement& placement);

struct TFontSetting {
    std::string Name = "MS Sans Serif";
    int Size = 8; // points, 8 to 12 as the font dialog allows
    int Color = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const TFontSetting&) const = default;
};

TFontSetting RestoreFont(const TSettingsAccess& access, const std::string& section);
void SaveFont(TSettingsAccess& access, const std::string& section, const TFontSetting& font);

// The remembered directory of a file dialog; the default is the program's directory.
std::string ReadLastDirectory(const TSettingsAccess& access, const std::string& section,
                              const std::string& name, const std::string& programDirectory);
// Stores the directory part of the chosen file.
void WriteLastDirectory(TSettingsAccess& access, const std::string& section,
                        const std::string& name, const std::string& chosenFile);

} // namespace tessaly
