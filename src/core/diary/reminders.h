#pragma once
// TReminders: one diary event or one reminder of an address-book entry, with its
// owning list. The same bytes stand in diary files and inside book files.

#include "common/date_time.h"
#include "common/text.h"
#include "store/my_list.h"

#include <cstdint>
#include <memory>

namespace tessaly {

class TReminders {
public:
    TDateTime AlarmTime = 0;
    TDateTime When = 0;
    TDateTime Until = 0;
    std::uint8_t Completed = 0;
    std::uint8_t AlarmSet = 0;
    std::uint8_t NoTime = 0;
    std::int16_t Frequency = 0; // 0 note only, 1 once, 2 daily, 3 weekly, 4 monthly, 5 yearly
    std::int16_t Interval = 1;
    std::int16_t AdvanceDays = 0;
    std::int16_t Priority = 5;
    Text Description = std::string();
    Text Notes = std::string();

    // Descriptions and notes hold at most 255 characters.
    void SetDescription(const std::string& s);
    void SetNotes(const std::string& s);

    static std::unique_ptr<TReminders> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;

    bool operator==(const TReminders&) const = default;
};

class TRemindersList : public TMyList<TReminders> {};

// Urgency of one reminder on `today` (whole days): -1 overdue, 0 due today,
// 1 inside its advance warning, 2 otherwise (and always for completed events and notes).
int ReminderStatus(const TReminders& r, TDateTime today);

} // namespace tessaly
