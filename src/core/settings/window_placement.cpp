#include "core/settings/window_placement.h"

#include "core/common/file_paths.h"

namespace tessaly {

namespace {
constexpr int kSmallest = 40;
}

TWindowPlacement RestoreWindowPlacement(const TSettingsAccess& a, const std::string& section,
                                        int defTop, int defHeight, int defWidth, int defLeft) {
    TWindowPlacement p;
    const int state = a.ReadInteger(section, "State", 3);
    p.State = state == 1   ? TWindowState::Maximised
              : state == 2 ? TWindowState::Minimised
                           : TWindowState::Normal;
    p.Top = a.ReadInteger(section, "Top", defTop);
    p.Left = a.ReadInteger(section, "Left", defLeft);
    p.Width = a.ReadInteger(section, "Width", defWidth);
    p.Height = a.ReadInteger(section, "Height", defHeight);
    if (p.Width < kSmallest)
        p.Width = defWidth;
    if (p.Height < kSmallest)
        p.Height = defHeight;
    return p;
}

void SaveWindowPlacement(TSettingsAccess& a, const std::string& section,
                         const TWindowPlacement& p) {
    if (p.State == TWindowState::Maximised) {
        a.WriteInteger(section, "State", 1);
        return;
    }
    if (p.State == TWindowState::Minimised) {
        a.WriteInteger(section, "State", 2);
        return;
    }
    a.WriteInteger(section, "State", 3);
    a.WriteInteger(section, "Top", p.Top);
    a.WriteInteger(section, "Left", p.Left);
    a.WriteInteger(section, "Width", p.Width);
    a.WriteInteger(section, "Height", p.Height);
}

TFontSetting RestoreFont(const TSettingsAccess& a, const std::string& section) {
    TFontSetting f;
    f.Name = a.ReadString(section, "Font Name", f.Name);
    if (f.Name.empty())
        f.Name = TFontSetting{}.Name;
    f.Size = a.ReadInteger(section, "Font Size", 8, 8, 12);
    f.Color = a.ReadInteger(section, "Font Color", 0);
    f.Bold = a.ReadBool(section, "Font Bold", false);
    f.Italic = a.ReadBool(section, "Font Italic", false);
    f.Underline = a.ReadBool(section, "Font Underline", false);
    f.StrikeOut = a.ReadBool(section, "Font StrikeOut", false);
    return f;
}

void SaveFont(TSettingsAccess& a, const std::string& section, const TFontSetting& f) {
    a.WriteString(section, "Font Name", f.Name);
    a.WriteInteger(section, "Font Size", f.Size);
    a.WriteInteger(section, "Font Color", f.Color);
    a.WriteBool(section, "Font Bold", f.Bold);
    a.WriteBool(section, "Font Italic", f.Italic);
    a.WriteBool(section, "Font Underline", f.Underline);
    a.WriteBool(section, "Font StrikeOut", f.StrikeOut);
}

std::string ReadLastDirectory(const TSettingsAccess& a, const std::string& section,
                              const std::string& name, const std::string& programDirectory) {
    const std::string dir = a.ReadString(section, name, programDirectory);
    return dir.empty() ? programDirectory : dir;
}

void WriteLastDirectory(TSettingsAccess& a, const std::string& section, const std::string& name,
                        const std::string& chosenFile) {
    a.WriteString(section, name, DirectoryOf(chosenFile));
}

} // namespace tessaly
