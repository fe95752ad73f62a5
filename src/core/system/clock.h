#pragma once
// The clock the core reads: local date-time for stamps and dates, and a monotonic
// millisecond counter for intervals.

#include "core/common/date_time.h"

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

} // namespace tessaly
