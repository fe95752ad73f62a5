#include "diary/reminders.h"

namespace tessaly {

void TReminders::SetDescription(const std::string& s) {
    Description = CutShort(s);
}

void TReminders::SetNotes(const std::string& s) {
    Notes = CutShort(s);
}

std::unique_ptr<TReminders> TReminders::Read(TStreamReader& r, int version) {
    auto e = std::make_unique<TReminders>();
    e->When = r.ReadDateTime();
    e->Until = r.ReadDateTime();
    // A repeat-until day before the event's own day means "until the event".
    if (DateOf(e->Until) < DateOf(e->When))
        e->Until = e->When;
    e->Completed = r.ReadByte();
    e->Frequency = r.ReadInt16();
    e->Interval = r.ReadInt16();
    e->AdvanceDays = r.ReadInt16();
    e->AlarmSet = r.ReadByte();
    if (version >= 13) {
        e->NoTime = r.ReadByte();
        e->AlarmTime = r.ReadDateTime();
    } else {
        e->NoTime = e->AlarmSet ? 0 : 1;
        e->AlarmTime = e->When;
    }
    e->Description = r.ReadText();
    if (version >= 1) {
        e->Notes = r.ReadText();
        e->Priority = r.ReadInt16();
    } else {
        e->Notes = std::string();
        e->Priority = 0;
    }
    return e;
}

void TReminders::Write(TStreamWriter& w, int /*version*/) const {
    // Always the current layout, whatever version the record was read with.
    w.WriteDateTime(When);
    w.WriteDateTime(Until);
    w.WriteByte(Completed);
    w.WriteInt16(Frequency);
    w.WriteInt16(Interval);
    w.WriteInt16(AdvanceDays);
    w.WriteByte(AlarmSet);
    w.WriteByte(NoTime);
    w.WriteDateTime(AlarmTime);
    w.WriteText(Description);
    w.WriteText(Notes);
    w.WriteInt16(Priority);
}

int ReminderStatus(const TReminders& r, TDateTime today) {
    if (r.Completed || r.Frequency == 0)
        return 2;
    const TDateTime day = DateOf(r.When);
    const TDateTime now = DateOf(today);
    if (day < now)
        return -1;
    if (day == now)
        return 0;
    if (now + r.AdvanceDays >= day)
        return 1;
    return 2;
}

} // namespace tessaly
