#pragma once
// The clock the core reads: local date-time for stamps and dates, and a monotonic
// millisecond counter for intervals. Tests use FakeClock.

#include "common/date_time.h"

#include <cstdint>

namespace tessaly {

class IClock {
public:
    virtual ~IClock() = default;
    // Local date and time, millisecond resolution.
    virtual TDateTime Now() const = 0;
    // Milliseconds from an arbitrary start; never goes back.
    virtual std::int64_t MonotonicMs() const = 0;
};

class SystemClock final : public IClock {
public:
    TDateTime Now() const override;
    std::int64_t MonotonicMs() const override;
    // The process-wide system clock.
    static const SystemClock& Instance();
};

class FakeClock final : public IClock {
public:
    explicit FakeClock(TDateTime now = 0, std::int64_t ms = 0) : now_(now), ms_(ms) {}
    TDateTime Now() const override { return now_; }
    std::int64_t MonotonicMs() const override { return ms_; }
    void SetNow(TDateTime now) { now_ = now; }
    void AdvanceMs(std::int64_t ms) {
        ms_ += ms;
        now_ += static_cast<double>(ms) / 86400000.0;
    }

private:
    TDateTime now_;
    std::int64_t ms_;
};

} // namespace tessaly
