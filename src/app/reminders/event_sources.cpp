#include "app/reminders/event_sources.h"

#include "app/widgets/frame.h"

namespace tessaly {

std::vector<TEventSource> OpenEventSources(const IFrame& frame) {
    std::vector<TEventSource> out;
    for (TChildWindow* child : frame.Children()) {
        TEventSource source;
        if (child->EventSource(source))
            out.push_back(source);
    }
    return out;
}

} // namespace tessaly
