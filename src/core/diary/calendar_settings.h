#pragma once
// What the calendar view keeps in the "Calendar" settings section: its display
// options, the tab it shows and the widths of its list's header sections.

#include "core/settings/settings_access.h"

#include <array>

namespace tessaly {

constexpr const char* kCalendarSection = "Calendar";

struct TCalendarSettings {
    bool ShowNotes = true;      // "Show Notes": notes on a second line
    bool ShowAll = true;        // "Show All": completed events included
    bool ShowRecurring = false; // "Show Recurring": later occurrences included
    int Sort = 1;               // "Sort": 1 priority, 2 time, 3 description
    int View = 0;               // "View": 0 Day, 1 Month, 2 Year
    // "Header0" to "Header3": icon, "Prty", "Time", "Description".
    std::array<int, 4> Headers{22, 33, 39, 150};
    bool operator==(const TCalendarSettings&) const = default;
};

// Every value with its default; a sort order or tab out of range takes the default.
TCalendarSettings LoadCalendarSettings(const TSettingsAccess& access);
// "View", "Sort", "Show Notes", "Show All" and "Show Recurring", as the view closes.
void SaveCalendarOptions(TSettingsAccess& access, const TCalendarSettings& settings);
// "Header0" to "Header3", whenever a section is resized.
void SaveCalendarHeaders(TSettingsAccess& access, const std::array<int, 4>& headers);

} // namespace tessaly
