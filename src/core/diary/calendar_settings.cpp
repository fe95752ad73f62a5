#include "core/diary/calendar_settings.h"

#include <string>

namespace tessaly {

TCalendarSettings LoadCalendarSettings(const TSettingsAccess& a) {
    TCalendarSettings s;
    s.ShowNotes = a.ReadBool(kCalendarSection, "Show Notes", s.ShowNotes);
    s.ShowAll = a.ReadBool(kCalendarSection, "Show All", s.ShowAll);
    s.ShowRecurring = a.ReadBool(kCalendarSection, "Show Recurring", s.ShowRecurring);
    s.Sort = a.ReadInteger(kCalendarSection, "Sort", s.Sort);
    if (s.Sort < 1 || s.Sort > 3)
        s.Sort = 1;
    s.View = a.ReadInteger(kCalendarSection, "View", s.View);
    if (s.View < 0 || s.View > 2)
        s.View = 0;
    for (int i = 0; i < 4; ++i)
        s.Headers[i] =
            a.ReadInteger(kCalendarSection, "Header" + std::to_string(i), s.Headers[i], 0, 2000);
    return s;
}

void SaveCalendarOptions(TSettingsAccess& a, const TCalendarSettings& s) {
    a.WriteInteger(kCalendarSection, "View", s.View);
    a.WriteInteger(kCalendarSection, "Sort", s.Sort);
    a.WriteBool(kCalendarSection, "Show Notes", s.ShowNotes);
    a.WriteBool(kCalendarSection, "Show All", s.ShowAll);
    a.WriteBool(kCalendarSection, "Show Recurring", s.ShowRecurring);
}

void SaveCalendarHeaders(TSettingsAccess& a, const std::array<int, 4>& headers) {
    for (int i = 0; i < 4; ++i)
        a.WriteInteger(kCalendarSection, "Header" + std::to_string(i), headers[i]);
}

} // namespace tessaly
