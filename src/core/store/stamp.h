#pragma once
// Entry stamps: date-times unique within the run. The generator never repeats and
// never waits: when the clock has not moved past the last stamp (or has stepped
// back), the next stamp is the last one plus one millisecond.

#include "core/common/date_time.h"
#include "core/system/clock.h"

#include <mutex>

namespace tessaly {

// One millisecond as a fraction of a day.
constexpr double kOneMillisecond = 1.0 / 86400000.0;

class TStampGenerator {
public:
    explicit TStampGenerator(const IClock& clock = SystemClock::Instance()) : clock_(&clock) {}

    // A stamp greater than every stamp this generator handed out before.
    TDateTime Next();
    // Replaces the clock read by later calls (tests inject one that stands still).
    void SetClock(const IClock& clock);
    TDateTime Last() const;

private:
    mutable std::mutex mutex_;
    const IClock* clock_;
    TDateTime last_ = 0;
    bool any_ = false;
};

// The process-wide generator every new entry takes its stamp from.
TStampGenerator& StampGenerator();
// Shorthand for StampGenerator().Next().
TDateTime NewStamp();

} // namespace tessaly
