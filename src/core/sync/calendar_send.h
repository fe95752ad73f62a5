#pragma once
// Sending a round's changes to a calendar: PUT with If-Match (or If-None-Match: * for
// a new event), DELETE with If-Match, the ETag of a PUT answered without one fetched
// again, and the state's records kept up to date as each request is answered.

#include "core/sync/book_sync.h"
#include "core/sync/calendar_state.h"
#include "core/sync/carddav_client.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

struct TCalendarUpload {
    std::string Uid;
    std::string Text;
    TCalendarRecord Record; // what the state holds once the event is written (Url, IfMatch = ETag)
};

struct TCalendarSend {
    bool Ok = true;
    // Refused because the server's event is not the one the state knows (412): its
    // record's ETag and the state's token are forgotten, so that another round lists
    // every event and compares the two.
    bool Refused = false;
};

// `sameEvent` tells whether a server's text is the event sent (for a PUT answered
// without an ETag); `save` writes the state, false stopping the round.
TCalendarSend SendCalendarChanges(
    TCardDavClient& dav, const std::vector<TCalendarUpload>& uploads,
    const std::vector<std::string>& deletions, TCalendarState& state, TSyncResult& result,
    const std::function<bool(const std::string& text, const std::string& hash)>& sameEvent,
    const std::function<bool()>& save);

} // namespace tessaly
