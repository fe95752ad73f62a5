#pragma once
// A small book of made-up people and firms to start the program on: a dozen entries
// with addresses, categories, reminders, attachments and call logs.

#include "core/store/book.h"
#include "core/system/clock.h"

#include <memory>
#include <string>

namespace tessaly {

// Built from the built-in defaults, whatever the defaults file holds, so that the
// addresses always find their templates. Reminders fall around the clock's today.
std::unique_ptr<TBookData> MakeSampleBook(const std::string& path,
                                          const IClock& clock = SystemClock::Instance());

} // namespace tessaly
