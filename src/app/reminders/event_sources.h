#pragma once
// The books and diaries open in the frame, as the reminder lists see them.

#include "core/diary/event_source.h"

#include <vector>

namespace tessaly {

class IFrame;

// One source per book or diary window, in the frame's child order; the owner is
// the window.
std::vector<TEventSource> OpenEventSources(const IFrame& frame);

} // namespace tessaly
