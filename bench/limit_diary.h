#pragma once
// The diary the benchmarks work on: the file format's limit of 32,767 events over
// three years, most of them once only, with weekly, monthly, daily and yearly series
// among them, as a busy diary holds them.

#include "bench/limit_book.h"
#include "core/diary/diary.h"

#include <memory>
#include <string>

namespace tessaly::bench {

inline const char* const kEventNames[] = {"Site visit",     "Budget review", "Dentist",
                                          "Call supplier",  "Team lunch",    "Quarterly report",
                                          "Choir practice", "Invoice run"};

inline std::unique_ptr<TDiaryData> MakeLimitDiary(const std::string& path) {
    FakeClock clock(45000.5);
    auto diary = NewDiary(path, clock);
    const TDateTime first = EncodeDate(2023, 7, 1);
    for (int i = 0; i < kMaxListCount; ++i) {
        auto e = std::make_unique<TReminders>();
        e->When =
            first + (i * 7) % 1096 + (i % 4 == 0 ? 0.0 : EncodeTime(8 + i % 10, (i * 5) % 60, 0));
        e->NoTime = i % 4 == 0 ? 1 : 0;
        e->Frequency = kOnceOnly;
        e->Until = e->When;
        if (i % 10 == 0) {
            e->Frequency = kWeekly;
            e->Until = e->When + 180;
        } else if (i % 25 == 1) {
            e->Frequency = kMonthly;
            e->Until = e->When + 730;
        } else if (i % 50 == 2) {
            e->Frequency = kDaily;
            e->Interval = 3;
            e->Until = e->When + 60;
        } else if (i % 100 == 3) {
            e->Frequency = kYearly;
            e->Until = e->When + 3650;
        }
        e->Completed = i % 13 == 0 ? 1 : 0;
        e->AlarmSet = i % 3 == 0 ? 1 : 0;
        e->AlarmTime = e->When;
        e->Priority = static_cast<std::int16_t>(1 + i % 9);
        e->SetDescription(std::string(kEventNames[i % std::size(kEventNames)]) + " " +
                          std::to_string(i));
        e->SetNotes("Room " + std::to_string(i % 40));
        diary->Events.Add(std::move(e));
    }
    return diary;
}

} // namespace tessaly::bench
