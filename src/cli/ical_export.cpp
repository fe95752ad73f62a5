#include "cli/ical_export.h"

#include "core/common/codepage.h"
#include "core/diary/occurrences.h"

#include <cstdlib>
#include <libical/ical.h>
#include <memory>

namespace tessaly {

namespace {

struct TComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using TComponent = std::unique_ptr<icalcomponent, TComponentFree>;

icaltimetype DateValue(TDateTime day) {
    const TDateParts d = DecodeDate(day);
    icaltimetype t = icaltime_null_date();
    t.year = d.Year;
    t.month = d.Month;
    t.day = d.Day;
    return t;
}

// A floating local date-time (no time zone), as the program keeps its times.
icaltimetype DateTimeValue(TDateTime at) {
    icaltimetype t = DateValue(at);
    const TTimeParts p = DecodeTime(at);
    t.is_date = 0;
    t.hour = p.Hour;
    t.minute = p.Minute;
    t.second = p.Second;
    return t;
}

icaltimetype StartOf(const TReminders& e, TDateTime day) {
    return e.NoTime ? DateValue(day) : DateTimeValue(ComposeDateTime(day, TimeOf(e.When)));
}

// The series' own rule expands to the same days when the day of the month is never
// lowered on the way: every later occurrence keeps the event's own day.
bool KeepsDayOfMonth(const TReminders& e, TDateTime until) {
    if (e.Frequency == kDaily || e.Frequency == kWeekly)
        return true;
    const int day = DecodeDate(e.When).Day;
    if (day <= 28)
        return true;
    bool keeps = true;
    TOccurrenceRange range;
    range.Last = until;
    ForEachOccurrence(e, range, [&](TDateTime d, bool later) {
        if (later && DecodeDate(d).Day != day)
            keeps = false;
    });
    return keeps;
}

void AddRecurrence(icalcomponent* event, const TReminders& e, const TICalOptions& options) {
    if (e.Completed || e.Frequency < kDaily || e.Frequency > kYearly)
        return;
    TDateTime until = DateOf(e.Until);
    if (options.To)
        until = std::min(until, DateOf(*options.To));
    std::vector<TDateTime> later;
    TOccurrenceRange range;
    range.Last = until;
    if (options.From)
        range.First = DateOf(*options.From);
    ForEachOccurrence(e, range, [&](TDateTime d, bool isLater) {
        if (isLater)
            later.push_back(d);
    });
    if (later.empty())
        return;
    if (KeepsDayOfMonth(e, until)) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        static const icalrecurrencetype_frequency kFrequencies[] = {
            ICAL_DAILY_RECURRENCE, ICAL_WEEKLY_RECURRENCE, ICAL_MONTHLY_RECURRENCE,
            ICAL_YEARLY_RECURRENCE};
        rule.freq = kFrequencies[e.Frequency - kDaily];
        rule.interval = static_cast<short>(std::max<int>(e.Interval, 1));
        if (e.NoTime) {
            rule.until = DateValue(until);
        } else {
            // The last day counts whatever the time: the rule ends at its last second.
            rule.until = DateTimeValue(until + EncodeTime(23, 59, 59));
        }
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
        return;
    }
    for (const TDateTime day : later) {
        icaldatetimeperiodtype value{};
        value.time = StartOf(e, day);
        value.period = icalperiodtype_null_period();
        icalproperty* rdate = icalproperty_new_rdate(value);
        if (e.NoTime)
            icalproperty_add_parameter(rdate, icalparameter_new_value(ICAL_VALUE_DATE));
        icalcomponent_add_property(event, rdate);
    }
}

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

icalcomponent* MakeEvent(const TReminders& e, const std::string& uid, const TICalOptions& options) {
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
    icaltimetype stamp = DateTimeValue(options.Stamp);
    stamp.zone = icaltimezone_get_utc_timezone();
    icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
    icalproperty* start = icalproperty_new_dtstart(StartOf(e, DateOf(e.When)));
    if (e.NoTime)
        icalproperty_add_parameter(start, icalparameter_new_value(ICAL_VALUE_DATE));
    icalcomponent_add_property(event, start);
    const std::string summary = Cp1252ToUtf8(TextValue(e.Description));
    icalcomponent_add_property(event, icalproperty_new_summary(summary.c_str()));
    if (const std::string notes = Cp1252ToUtf8(TextValue(e.Notes)); !notes.empty())
        icalcomponent_add_property(event, icalproperty_new_description(notes.c_str()));
    if (e.Priority >= 1 && e.Priority <= 9)
        icalcomponent_add_property(event, icalproperty_new_priority(e.Priority));
    if (e.Completed)
        icalcomponent_add_property(event, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    AddRecurrence(event, e, options);
    if (e.AlarmSet) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        const long long ms = CalendarMs(e.AlarmTime) - CalendarMs(e.When);
        trigger.duration = icaldurationtype_from_int(static_cast<int>(ms / 1000));
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(summary.c_str()));
        icalcomponent_add_component(event, alarm);
    }
    return event;
}

} // namespace

std::string ExportICalendar(const std::vector<TEventSource>& sources, const TICalOptions& options) {
    TComponent calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(),
                               icalproperty_new_prodid("-//Marrowby//Tessaly 3//EN"));
    for (std::size_t s = 0; s < sources.size(); ++s)
        ForEachEvent(sources[s], [&](const TEventRef& ref, const TReminders& e) {
            if (StandsInRange(e, options))
                icalcomponent_add_component(calendar.get(), MakeEvent(e, Uid(s, ref), options));
        });
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    std::string result = text ? text : "";
    std::free(text);
    return result;
}

} // namespace tessaly
