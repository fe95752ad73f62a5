// The iCalendar reader: a server's calendar object read by libical into the plain
// values of ical_calendar.h. What the values cannot hold is kept as text, so that
// the event can be written back without losing it.

#include "core/ical/ical_calendar.h"

#include <cstdlib>
#include <ctime>
#include <libical/ical.h>
#include <memory>
#include <vector>

namespace tessaly {

namespace {

struct TComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using TComponent = std::unique_ptr<icalcomponent, TComponentFree>;

std::string Owned(char* text) {
    std::string out = text ? text : "";
    std::free(text);
    return out;
}

// A content line as one line: folds undone, the line end left off.
std::string LineOf(icalproperty* p) {
    const std::string folded = Owned(icalproperty_as_ical_string_r(p));
    std::string out;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        if (folded[i] == '\r' || folded[i] == '\n') {
            std::size_t j = i;
            while (j < folded.size() && (folded[j] == '\r' || folded[j] == '\n'))
                ++j;
            if (j < folded.size() && (folded[j] == ' ' || folded[j] == '\t'))
                ++j; // a fold: the line goes on
            else
                j = folded.size();
            i = j - 1;
            continue;
        }
        out += folded[i];
    }
    return out;
}

// A time as the program keeps it: a date, or a floating local time; times in UTC or
// in a named zone are turned into this machine's local time.
TICalTime LocalTime(icaltimetype t) {
    TICalTime out;
    if (t.is_date) {
        out.Year = t.year;
        out.Month = t.month;
        out.Day = t.day;
        out.IsDate = true;
        return out;
    }
    if (t.zone) {
        const std::time_t at = icaltime_as_timet_with_zone(t, t.zone);
        std::tm local{};
        localtime_r(&at, &local);
        out.Year = local.tm_year + 1900;
        out.Month = local.tm_mon + 1;
        out.Day = local.tm_mday;
        out.Hour = local.tm_hour;
        out.Minute = local.tm_min;
        out.Second = local.tm_sec;
        return out;
    }
    out.Year = t.year;
    out.Month = t.month;
    out.Day = t.day;
    out.Hour = t.hour;
    out.Minute = t.minute;
    out.Second = t.second;
    return out;
}

// A rule the program's recurrence can hold: a frequency from daily to yearly, an
// interval and at most an end day; nothing chosen by day, month or count.
bool IsPlainRule(const icalrecurrencetype& r) {
    if (r.freq < ICAL_DAILY_RECURRENCE || r.freq > ICAL_YEARLY_RECURRENCE || r.count != 0)
        return false;
    const short* lists[] = {r.by_second,   r.by_minute,  r.by_hour,  r.by_day,    r.by_month_day,
                            r.by_year_day, r.by_week_no, r.by_month, r.by_set_pos};
    for (const short* list : lists)
        if (list[0] != ICAL_RECURRENCE_ARRAY_MAX)
            return false;
    return true;
}

TICalFrequency FrequencyOf(icalrecurrencetype_frequency f) {
    switch (f) {
    case ICAL_WEEKLY_RECURRENCE:
        return TICalFrequency::Weekly;
    case ICAL_MONTHLY_RECURRENCE:
        return TICalFrequency::Monthly;
    case ICAL_YEARLY_RECURRENCE:
        return TICalFrequency::Yearly;
    default:
        return TICalFrequency::Daily;
    }
}

// The first alarm that shows a message at a time relative to the start.
bool ReadAlarm(icalcomponent* alarm, TICalEvent& e) {
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    icalproperty* action = icalcomponent_get_first_property(alarm, ICAL_ACTION_PROPERTY);
    if (!trigger || !action || icalproperty_get_action(action) != ICAL_ACTION_DISPLAY)
        return false;
    if (icalproperty_get_first_parameter(trigger, ICAL_RELATED_PARAMETER))
        return false; // relative to the end, which the program has not
    const icaltriggertype t = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(t.time))
        return false;
    e.Alarm = true;
    e.AlarmSeconds = icaldurationtype_as_int(t.duration);
    return true;
}

// The properties or components of a component, gathered first: libical walks them
// with one cursor per component, which its lookups move too.
std::vector<icalproperty*> PropertiesOf(icalcomponent* c) {
    std::vector<icalproperty*> out;
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY))
        out.push_back(p);
    return out;
}

std::vector<icalcomponent*> ComponentsOf(icalcomponent* c) {
    std::vector<icalcomponent*> out;
    for (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); a;
         a = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        out.push_back(a);
    return out;
}

TICalEvent ReadEvent(icalcomponent* c) {
    TICalEvent e;
    const char* uid = icalcomponent_get_uid(c);
    e.Uid = uid ? uid : "";
    const icaltimetype start = icalcomponent_get_dtstart(c);
    e.Start = LocalTime(start);
    const char* summary = icalcomponent_get_summary(c);
    e.Summary = summary ? summary : "";
    const char* description = icalcomponent_get_description(c);
    e.Description = description ? description : "";

    // Asked before the properties are walked: the lookups walk them too.
    const icaltimetype end = icalcomponent_get_dtend(c);
    int rules = 0;
    bool exceptions = false;
    const std::vector<icalproperty*> properties = PropertiesOf(c);
    for (icalproperty* p : properties) {
        const icalproperty_kind kind = icalproperty_isa(p);
        rules += kind == ICAL_RRULE_PROPERTY;
        exceptions = exceptions || kind == ICAL_EXDATE_PROPERTY || kind == ICAL_EXRULE_PROPERTY;
    }
    for (icalproperty* p : properties) {
        switch (icalproperty_isa(p)) {
        case ICAL_UID_PROPERTY:
        case ICAL_DTSTAMP_PROPERTY:
        case ICAL_DTSTART_PROPERTY:
        case ICAL_SUMMARY_PROPERTY:
        case ICAL_DESCRIPTION_PROPERTY:
            continue;
        case ICAL_PRIORITY_PROPERTY:
            e.Priority = icalproperty_get_priority(p);
            continue;
        case ICAL_STATUS_PROPERTY:
            if (icalproperty_get_status(p) == ICAL_STATUS_COMPLETED) {
                e.Completed = true;
                continue;
            }
            break;
        case ICAL_RRULE_PROPERTY: {
            // One plain rule without exceptions is the program's own kind of series.
            const icalrecurrencetype r = icalproperty_get_rrule(p);
            if (rules == 1 && !exceptions && IsPlainRule(r)) {
                TICalRule rule;
                rule.Frequency = FrequencyOf(r.freq);
                rule.Interval = r.interval > 0 ? r.interval : 1;
                if (!icaltime_is_null_time(r.until))
                    rule.Until = LocalTime(r.until);
                e.Rule = rule;
                continue;
            }
            break;
        }
        case ICAL_RDATE_PROPERTY: {
            const icaldatetimeperiodtype d = icalproperty_get_rdate(p);
            if (!exceptions && icalperiodtype_is_null_period(d.period) &&
                !icaltime_is_null_time(d.time)) {
                icaltimetype t = d.time;
                if (icalparameter* tz = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER))
                    t = icaltime_set_timezone(
                        &t, icalcomponent_get_timezone(icalcomponent_get_parent(c),
                                                       icalparameter_get_tzid(tz)));
                e.Dates.push_back(LocalTime(t));
                continue;
            }
            break;
        }
        case ICAL_DTEND_PROPERTY: {
            // Kept as a length, so that the end moves with a start moved here.
            if (!icaltime_is_null_time(end) && !icaltime_is_null_time(start)) {
                const icaldurationtype length = icaltime_subtract(end, start);
                e.Extra.push_back("DURATION:" + Owned(icaldurationtype_as_ical_string_r(length)));
                continue;
            }
            break;
        }
        default:
            break;
        }
        e.Extra.push_back(LineOf(p));
    }
    for (icalcomponent* a : ComponentsOf(c)) {
        if (icalcomponent_isa(a) == ICAL_VALARM_COMPONENT && !e.Alarm && ReadAlarm(a, e))
            continue;
        e.ExtraComponents.push_back(Owned(icalcomponent_as_ical_string_r(a)));
    }
    return e;
}

} // namespace

} // namespace tessaly

extern "C" __attribute__((visibility("default"))) bool
tessaly_read_icalendar(const std::string* text, tessaly::TICalCalendar* calendar,
                       std::string* error) {
    using namespace tessaly;
    TComponent root(icalparser_parse_string(text->c_str()));
    icalcomponent* vcalendar = root.get();
    if (vcalendar && icalcomponent_isa(vcalendar) != ICAL_VCALENDAR_COMPONENT)
        vcalendar = icalcomponent_get_first_component(vcalendar, ICAL_VCALENDAR_COMPONENT);
    if (!vcalendar) {
        *error = "it holds no iCalendar object";
        return false;
    }
    *calendar = TICalCalendar();
    for (icalcomponent* c : ComponentsOf(vcalendar)) {
        if (icalcomponent_isa(c) == ICAL_VEVENT_COMPONENT &&
            !icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY))
            calendar->Events.push_back(ReadEvent(c));
        else
            calendar->Extra.push_back(Owned(icalcomponent_as_ical_string_r(c)));
    }
    return true;
}
