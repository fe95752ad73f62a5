#include "app/reminders/event_sources.h"

#include "app/shell/main_form.h"

namespace tessaly {

std::vector<TEventSource> OpenEventSources(const TMainForm& frame) {
    std::vector<TEventSource> out;
    for (TChildWindow* child : frame.Children()) {
        TEventSource source;
        if (child->EventSource(source))
            out.push_back(source);
    }
    return out;
}

} // namespace tessaly
