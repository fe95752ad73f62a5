#pragma once
// The agenda and the due list of the command-line tool: one line per occurrence of an
// event or reminder on a day of a range, or per reminder whose alarm is due, as
// "YYYY-MM-DD<TAB>HH:MM<TAB>Description" (Windows-1252 bytes).

#include "core/diary/event_source.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

struct TAgendaLine {
    TDateTime Day = 0;
    int Minutes = -1; // minutes after midnight of the event's time; -1 when it has none
    // The description's length, 9 for any longer, and its first 8 bytes, big-endian with
    // zeros after a shorter one: most lines are put in order by these alone, without
    // reading the event again. Set by MakeAgendaLine.
    std::uint32_t HeadLength = 0;
    std::uint64_t Head = 0;
    const TReminders* Event = nullptr;
    TEventRef Ref;
};

TAgendaLine MakeAgendaLine(TDateTime day, int minutes, const TReminders& event,
                           const TEventRef& ref);

// Every occurrence on a day from `first` to `last` (both included): each event on
// its own day (completed events and notes too), and each open recurring event on the
// later days of its series up to its Until. Sorted by date, time (no time first),
// description (its bytes) and then file order.
std::vector<TAgendaLine> AgendaLines(const std::vector<TEventSource>& sources, TDateTime first,
                                     TDateTime last);
// The same in two steps, so that each file's lines can be gathered apart (on a thread
// of its own): the occurrences of one source appended in its file order, unsorted...
void CollectAgendaLines(const TEventSource& source, TDateTime first, TDateTime last,
                        std::vector<TAgendaLine>& lines);
// ...and lines gathered in file order put in the agenda's order.
void SortAgendaLines(std::vector<TAgendaLine>& lines);
// The sorted lines of several files, in the order of the files, as one list in the
// agenda's order (lines that tie in date, time and description keep the file order).
std::vector<TAgendaLine> MergeAgendaLines(std::vector<std::vector<TAgendaLine>> files);
// The reminders whose alarm is due at `now` by the alarm window's rule, on the date
// of their When, in the same order.
std::vector<TAgendaLine> DueLines(const std::vector<TEventSource>& sources, TDateTime now);

// "2024-03-07\t09:15\tDentist"; "--:--" for an event without a time.
std::string FormatAgendaLine(const TAgendaLine& line);
// Every line with its line feed, appended to `out`: the text a command prints.
void AppendAgendaLines(std::string& out, std::span<const TAgendaLine> lines);

} // namespace tessaly
