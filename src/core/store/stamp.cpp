#include "core/store/stamp.h"

namespace tessaly {

TDateTime TStampGenerator::Next() {
    std::lock_guard lock(mutex_);
    const TDateTime now = clock_->Now();
    // Never wait for the clock: step one millisecond past the last stamp instead.
    last_ = (any_ && !(now > last_)) ? last_ + kOneMillisecond : now;
    any_ = true;
    return last_;
}

void TStampGenerator::SetClock(const IClock& clock) {
    std::lock_guard lock(mutex_);
    clock_ = &clock;
}

TDateTime TStampGenerator::Last() const {
    std::lock_guard lock(mutex_);
    return last_;
}

TStampGenerator& StampGenerator() {
    static TStampGenerator generator;
    return generator;
}

TDateTime NewStamp() {
    return StampGenerator().Next();
}

} // namespace tessaly
