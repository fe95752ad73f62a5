#include "cli/ical_export.h"

#include "cli/commands.h"
#include "core/common/codepage.h"
#include "core/diary/occurrences.h"
#include "core/ical/ical_events.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <unistd.h>

// Defined by the writer (ical/ical_writer.cpp) where it is linked in; null otherwise.
extern "C" void tessaly_write_icalendar(const tessaly::TICalCalendar* calendar, std::string* text)
    __attribute__((weak));

namespace tessaly {

namespace {

// Set for the program the ical command is handed over to.
constexpr const char* kHandedOver = "TESSALY_ICAL_HANDED_OVER";

bool StandsInRange(const TReminders& e, const TICalOptions& options) {
    if (!options.From && !options.To)
        return true;
    TOccurrenceRange range;
    if (options.From)
        range.First = DateOf(*options.From);
    if (options.To)
        range.Last = DateOf(*options.To);
    bool found = false;
    ForEachOccurrence(e, range, [&found](TDateTime, bool) { found = true; });
    return found;
}

std::string Uid(std::size_t source, const TEventRef& ref) {
    return "tessaly-" + std::to_string(source) + "-" + std::to_string(ref.Entry + 1) + "-" +
           std::to_string(ref.Event) + "@localhost";
}

} // namespace

TICalCalendar ICalendarOf(const std::vector<TEventSource>& sources, const TICalOptions& options) {
    TICalCalendar calendar;
    calendar.Stamp = ICalDateTime(options.Stamp);
    calendar.Stamp.Utc = true;
    for (std::size_t s = 0; s < sources.size(); ++s)
        ForEachEvent(sources[s], [&](const TEventRef& ref, const TReminders& e) {
            if (StandsInRange(e, options))
                calendar.Events.push_back(ICalEventOf(e, Uid(s, ref), {options.From, options.To}));
        });
    return calendar;
}

TICalWriter LinkedICalWriter() {
    return &tessaly_write_icalendar;
}

std::string RunICalProgram(char** argv) {
    return RunProgramBeside(kICalProgramName, kHandedOver, argv);
}

} // namespace tessaly
