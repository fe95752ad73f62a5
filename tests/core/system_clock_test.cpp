// The system clock works the local time out once a second and adds the milliseconds:
// what it reads must be the local time of the moment, the same value a whole reading
// gives, and it must move on when the second does.

#include "core/common/date_time.h"
#include "core/system/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

namespace tessaly {
namespace {

// The local time of `secs` and `ms`, encoded afresh.
TDateTime LocalTimeOf(std::time_t secs, int ms) {
    std::tm local{};
    localtime_r(&secs, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, ms);
}

TEST(SystemClock, ReadsTheLocalTimeAsAWholeReadingWould) {
    const SystemClock& clock = SystemClock::Instance();
    for (int i = 0; i < 2000; ++i) {
        const std::time_t before = std::time(nullptr);
        const TDateTime now = clock.Now();
        const std::time_t after = std::time(nullptr);
        if (before != after)
            continue; // the second turned in between
        const TTimeParts parts = DecodeTime(now);
        EXPECT_EQ(now, LocalTimeOf(before, parts.Millisecond)) << "reading " << i;
    }
}

TEST(SystemClock, MovesOnWithTheSecond) {
    const SystemClock& clock = SystemClock::Instance();
    const TDateTime first = clock.Now();
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    const TDateTime second = clock.Now();
    const double seconds = (second - first) * 86400.0;
    EXPECT_GT(seconds, 1.25);
    EXPECT_LT(seconds, 3.0);
}

} // namespace
} // namespace tessaly
