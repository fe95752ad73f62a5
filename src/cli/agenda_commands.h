#pragma once
// tessaly-cli "agenda", "due" and "ical": the events and reminders of books and
// diaries by day, the reminders due now, and the same events as an iCalendar file.

#include "cli/commands.h"
#include "core/ical/ical_calendar.h"
#include "core/diary/event_source.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// The books and diaries named on the command line, loaded in order; books and
// diaries are told apart by their extension (".TDY" in any case is a diary).
struct TEventFiles {
    // Frees the files, or leaves them to the process's end (LeaveBooksAtExit).
    ~TEventFiles();
    std::vector<std::unique_ptr<TBookData>> Books;
    std::vector<std::unique_ptr<TDiaryData>> Diaries;
    std::vector<TEventSource> Sources; // in the order of the command line
};
// Called with a file's position on the command line and its events as soon as it is
// loaded, on the thread that loaded it.
using TLoadedFile = std::function<void(std::size_t, const TEventSource&)>;
// Loads every file, each on a thread of its own, or prints why the first of them that
// cannot be read was not read and gives false.
bool LoadEventFiles(const std::vector<std::string>& paths, TEventFiles& files, TCliStreams io,
                    const TLoadedFile& loaded = {});

// "2024-03-07" (nothing for anything else); "2024-03-07 09:15".
std::optional<TDateTime> ParseIsoDate(const std::string& text);
std::optional<TDateTime> ParseIsoMinute(const std::string& text);

// One line per occurrence from `from` to `to`: "YYYY-MM-DD<TAB>HH:MM<TAB>Description".
int CommandAgenda(const std::vector<std::string>& paths, const std::string& from,
                  const std::string& to, TCliStreams io);
// One line per reminder whose alarm is due at `now` ("YYYY-MM-DD HH:MM").
int CommandDue(const std::vector<std::string>& paths, const std::string& now, TCliStreams io);
// The events as one iCalendar calendar; with a range, only those that stand in it.
// Written by `writer`, or by the iCalendar module beside the program when none is
// given (an error when it cannot be loaded).
int CommandICal(const std::vector<std::string>& paths, const std::optional<std::string>& from,
                const std::optional<std::string>& to, TCliStreams io, TICalWriter writer = nullptr);

} // namespace tessaly
