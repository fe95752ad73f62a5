#pragma once
// A clock that stands still until the test moves it.

#include "core/system/clock.h"

namespace tessaly {

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
