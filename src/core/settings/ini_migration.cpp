#include "core/settings/ini_migration.h"

#include "core/common/file_paths.h"
#include "core/common/text.h"

#include <fstream>
#include <sstream>

namespace tessaly {

TIniSection ReadIniSection(const std::string& iniText, const std::string& section) {
    TIniSection values;
    std::istringstream in(iniText);
    std::string line;
    bool inside = false;
    while (std::getline(in, line)) {
        const std::string t = Trim(line);
        if (t.empty() || t[0] == ';')
            continue;
        if (t.front() == '[') {
            const auto close = t.find(']');
            inside = close != std::string::npos &&
                     SameTextIgnoringCase(Trim(t.substr(1, close - 1)), section);
            continue;
        }
        if (!inside)
            continue;
        const auto eq = t.find('=');
        if (eq == std::string::npos)
            continue;
        values.emplace_back(Trim(t.substr(0, eq)), Trim(t.substr(eq + 1)));
    }
    return values;
}

const std::vector<std::string>& MigratedSections() {
    static const std::vector<std::string> sections = {"Important",
                                                      "General",
                                                      "Opened",
                                                      "Font",
                                                      "Alarm",
                                                      "Main Window",
                                                      "Formats",
                                                      "Display",
                                                      "File Management",
                                                      "Reminders",
                                                      "Network",
                                                      "Notes",
                                                      "Report Links",
                                                      "Confirm",
                                                      "Preview",
                                                      "Printing",
                                                      "Dial",
                                                      "Calendar",
                                                      "Documents",
                                                      "Window Positions",
                                                      "Open Books",
                                                      "Export MRU",
                                                      "Files",
                                                      "MRU"};
    return sections;
}

bool MigrateIniSettings(TSettingsAccess& access, const std::string& iniPath) {
    if (access.ReadInteger("Important", "Migrated", 0) != 0)
        return false;
    std::ifstream in(iniPath, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        for (const auto& section : MigratedSections())
            for (const auto& [name, value] : ReadIniSection(text.str(), section))
                // The flag itself is set below, whatever the old file said.
                if (!value.empty() && !name.empty() &&
                    !(section == "Important" && SameTextIgnoringCase(name, "Migrated")))
                    access.WriteString(section, name, value);
    }
    access.WriteInteger("Important", "Migrated", 1);
    return true;
}

} // namespace tessaly
