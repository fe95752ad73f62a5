#include "core/system/clock.h"

#include <chrono>
#include <ctime>

namespace tessaly {

TDateTime SystemClock::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t secs = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    // The local time is worked out once a second: an import asks for the time of each
    // of thousands of entries, and the time zone's rules are most of what it costs.
    thread_local std::time_t cachedSecs = -1;
    thread_local TDateTime cachedDate = 0;
    thread_local int cachedMsOfDay = 0;
    if (secs != cachedSecs) {
        std::tm local{};
        localtime_r(&secs, &local);
        cachedDate = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
        cachedMsOfDay = ((local.tm_hour * 60 + local.tm_min) * 60 + local.tm_sec) * 1000;
        cachedSecs = secs;
    }
    // The milliseconds of the day in one count, as EncodeTime divides them.
    return cachedDate + EncodeTime(0, 0, 0, cachedMsOfDay + static_cast<int>(ms));
}

std::int64_t SystemClock::MonotonicMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const SystemClock& SystemClock::Instance() {
    static const SystemClock clock;
    return clock;
}

} // namespace tessaly
