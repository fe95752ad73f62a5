#pragma once
// The iCalendar calendar as plain values, between the exporter, which decides what
// each event holds, and the writer that writes it out as text (with libical), and
// between the reader of a server's events and the sync. Only the programs that need
// them (tessaly-ical, tessaly-sync) link the writer and the reader, so that no other
// command pays for loading libical and the Unicode libraries it brings.

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// A DATE, or a DATE-TIME: floating local time (no time zone), as the program keeps
// its times, or UTC.
struct TICalTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    bool IsDate = false;
    bool Utc = false;
};

enum class TICalFrequency { Daily, Weekly, Monthly, Yearly };

struct TICalRule {
    TICalFrequency Frequency = TICalFrequency::Daily;
    int Interval = 1;
    TICalTime Until;
};

struct TICalEvent {
    std::string Uid;
    TICalTime Start;
    std::string Summary;     // UTF-8
    std::string Description; // UTF-8; none when empty
    int Priority = 0;        // 1 to 9; none when 0
    bool Completed = false;
    std::optional<TICalRule> Rule;
    std::vector<TICalTime> Dates; // RDATEs: the later occurrences no rule gives exactly
    bool Alarm = false;
    int AlarmSeconds = 0; // the alarm's trigger, from the start
    // Further content lines ("DTEND;TZID=...:...", "X-...:..."), unfolded, written back
    // as they are: what a server's event says that the values above do not hold.
    std::vector<std::string> Extra;
    // Further components inside the event (VALARMs past the first), as text.
    std::vector<std::string> ExtraComponents;
};

struct TICalCalendar {
    TICalTime Stamp; // DTSTAMP of every event, in UTC
    std::vector<TICalEvent> Events;
    // Further components of the calendar (time zones, the changed occurrences of a
    // series), as text, written back as they are.
    std::vector<std::string> Extra;
};

// Writes the calendar's text into *text.
using TICalWriter = void (*)(const TICalCalendar* calendar, std::string* text);
// Reads a calendar's text: every VEVENT that is not a changed occurrence of another
// (RECURRENCE-ID) becomes an event, its times made floating local times. False with
// *error when the text is no iCalendar object.
using TICalReader = bool (*)(const std::string* text, TICalCalendar* calendar, std::string* error);
// The program that has the writer, beside tessaly-cli: tessaly-cli hands the ical
// command over to it.
inline constexpr const char* kICalProgramName = "tessaly-ical";

} // namespace tessaly

extern "C" void tessaly_write_icalendar(const tessaly::TICalCalendar* calendar, std::string* text);
extern "C" bool tessaly_read_icalendar(const std::string* text, tessaly::TICalCalendar* calendar,
                                       std::string* error);
