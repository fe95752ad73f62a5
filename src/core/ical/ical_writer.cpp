// The iCalendar writer: the calendar's plain values written as RFC 5545 text by
// libical. Linked only into the programs that write calendars.

#include "core/ical/ical_calendar.h"

#include <cstdlib>
#include <libical/ical.h>
#include <memory>

namespace tessaly {

namespace {

struct TComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using TComponent = std::unique_ptr<icalcomponent, TComponentFree>;

icaltimetype TimeValue(const TICalTime& time) {
    icaltimetype t = icaltime_null_date();
    t.year = time.Year;
    t.month = time.Month;
    t.day = time.Day;
    if (!time.IsDate) {
        t.is_date = 0;
        t.hour = time.Hour;
        t.minute = time.Minute;
        t.second = time.Second;
    }
    if (time.Utc)
        t.zone = icaltimezone_get_utc_timezone();
    return t;
}

void AddRecurrence(icalcomponent* event, const TICalEvent& e) {
    if (e.Rule) {
        icalrecurrencetype rule;
        icalrecurrencetype_clear(&rule);
        static const icalrecurrencetype_frequency kFrequencies[] = {
            ICAL_DAILY_RECURRENCE, ICAL_WEEKLY_RECURRENCE, ICAL_MONTHLY_RECURRENCE,
            ICAL_YEARLY_RECURRENCE};
        rule.freq = kFrequencies[static_cast<int>(e.Rule->Frequency)];
        rule.interval = static_cast<short>(e.Rule->Interval);
        rule.until = TimeValue(e.Rule->Until);
        icalcomponent_add_property(event, icalproperty_new_rrule(rule));
    }
    for (const TICalTime& day : e.Dates) {
        icaldatetimeperiodtype value{};
        value.time = TimeValue(day);
        value.period = icalperiodtype_null_period();
        icalproperty* rdate = icalproperty_new_rdate(value);
        if (day.IsDate)
            icalproperty_add_parameter(rdate, icalparameter_new_value(ICAL_VALUE_DATE));
        icalcomponent_add_property(event, rdate);
    }
}

icalcomponent* MakeEvent(const TICalEvent& e, const TICalTime& stamp) {
    icalcomponent* event = icalcomponent_new_vevent();
    icalcomponent_add_property(event, icalproperty_new_uid(e.Uid.c_str()));
    icalcomponent_add_property(event, icalproperty_new_dtstamp(TimeValue(stamp)));
    icalproperty* start = icalproperty_new_dtstart(TimeValue(e.Start));
    if (e.Start.IsDate)
        icalproperty_add_parameter(start, icalparameter_new_value(ICAL_VALUE_DATE));
    icalcomponent_add_property(event, start);
    icalcomponent_add_property(event, icalproperty_new_summary(e.Summary.c_str()));
    if (!e.Description.empty())
        icalcomponent_add_property(event, icalproperty_new_description(e.Description.c_str()));
    if (e.Priority >= 1 && e.Priority <= 9)
        icalcomponent_add_property(event, icalproperty_new_priority(e.Priority));
    if (e.Completed)
        icalcomponent_add_property(event, icalproperty_new_status(ICAL_STATUS_COMPLETED));
    AddRecurrence(event, e);
    if (e.Alarm) {
        icalcomponent* alarm = icalcomponent_new_valarm();
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(e.AlarmSeconds);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_property(alarm, icalproperty_new_description(e.Summary.c_str()));
        icalcomponent_add_component(event, alarm);
    }
    for (const std::string& line : e.Extra)
        if (icalproperty* p = icalproperty_new_from_string(line.c_str()))
            icalcomponent_add_property(event, p);
    for (const std::string& text : e.ExtraComponents)
        if (icalcomponent* c = icalcomponent_new_from_string(text.c_str()))
            icalcomponent_add_component(event, c);
    return event;
}

} // namespace

} // namespace tessaly

extern "C" __attribute__((visibility("default"))) void
tessaly_write_icalendar(const tessaly::TICalCalendar* calendar, std::string* text) {
    using namespace tessaly;
    TComponent vcalendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(vcalendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(vcalendar.get(),
                               icalproperty_new_prodid("-//Marrowby//Tessaly 3//EN"));
    for (const TICalEvent& e : calendar->Events)
        icalcomponent_add_component(vcalendar.get(), MakeEvent(e, calendar->Stamp));
    for (const std::string& text : calendar->Extra)
        if (icalcomponent* c = icalcomponent_new_from_string(text.c_str()))
            icalcomponent_add_component(vcalendar.get(), c);
    char* written = icalcomponent_as_ical_string_r(vcalendar.get());
    text->assign(written ? written : "");
    std::free(written);
}
