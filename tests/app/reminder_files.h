#pragma once
// Books and diaries with reminders, written to disk for the calendar and alarm suites.

#include "core/diary/reminders.h"

#include <QString>
#include <string>
#include <vector>

namespace tessaly {

struct TTestEvent {
    std::string Description;
    TDateTime When = 0;
    int Frequency = kOnceOnly;
    int Interval = 1;
    TDateTime Until = 0; // the same as When when 0
    bool Alarm = false;
    bool Completed = false;
    std::string Surname = "Brown"; // the entry of a book reminder
};

// A book with one entry per distinct surname, each holding its events; the path.
QString MakeReminderBook(const QString& path, const std::vector<TTestEvent>& events);
// A diary holding the events; the path.
QString MakeEventDiary(const QString& path, const std::vector<TTestEvent>& events);

} // namespace tessaly
