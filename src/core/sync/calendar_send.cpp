#include "core/sync/calendar_send.h"

#include "core/sync/sync_round.h"

namespace tessaly {

namespace {

bool Stops(int status) {
    return status == 0 || status >= 500;
}

// The server holds another version than the state knows, or holds an event the state
// does not know at all (sent by a round cut short before it heard the answer). The
// token would tell only of what changes later, so it is forgotten: the next round lists
// every event and compares each ETag, learning those it lacks.
void Refuse(TCalendarSend& out, TCalendarState& state) {
    out.Refused = true;
    state.Token.clear();
}

} // namespace

TCalendarSend SendCalendarChanges(
    TCardDavClient& dav, const std::vector<TCalendarUpload>& uploads,
    const std::vector<std::string>& deletions, TCalendarState& state, TSyncResult& result,
    const std::function<bool(const std::string& text, const std::string& hash)>& sameEvent,
    const std::function<bool()>& save) {
    TCalendarSend out;
    const auto stop = [&](const std::string& why) {
        save();
        out.Ok = FailSync(result, why);
        return out;
    };
    for (const auto& up : uploads) {
        const std::string& ifMatch = up.Record.ETag;
        TDavPut put = dav.PutCard(up.Record.Url, up.Text, ifMatch);
        if (put.Status == 404 && !ifMatch.empty()) // gone there, changed here
            put = dav.PutCard(up.Record.Url, up.Text, std::string());
        if (put.Written()) {
            ++result.Uploaded;
            TCalendarRecord record = up.Record;
            record.ETag = put.ETag;
            if (record.ETag.empty()) {
                TDavCard got;
                TDavFailure failure;
                const int status = dav.GetCard(record.Url, got, failure);
                if (status == 200 && sameEvent(got.Data, record.Hash))
                    record.ETag = got.ETag;
                else if (Stops(status))
                    return (state.Events[up.Uid] = record, stop(failure.Text));
            }
            state.Events[up.Uid] = std::move(record);
        } else if (put.Status == 412) {
            Refuse(out, state);
            auto known = state.Events.find(up.Uid);
            if (known == state.Events.end()) {
                // Sent as new, but the name is taken: compared next round.
                TCalendarRecord record = up.Record;
                record.ETag.clear();
                record.Hash.clear();
                state.Events[up.Uid] = std::move(record);
            } else {
                known->second.ETag.clear();
            }
        } else if (Stops(put.Status)) {
            return stop(put.Failure.Text);
        } else {
            result.Notes.push_back("the server refused an event: " + put.Failure.Text);
        }
    }
    for (const auto& uid : deletions) {
        const auto known = state.Events.find(uid);
        if (known == state.Events.end())
            continue;
        TDavFailure failure;
        const int status = dav.DeleteCard(known->second.Url, known->second.ETag, failure);
        if ((status >= 200 && status <= 299) || status == 404) {
            if (status != 404)
                ++result.DeletedOnServer;
            state.Events.erase(known);
        } else if (status == 412) {
            Refuse(out, state);
            known->second.ETag.clear();
        } else if (Stops(status)) {
            return stop(failure.Text);
        } else {
            result.Notes.push_back("the server refused a deletion: " + failure.Text);
        }
    }
    if (!save())
        out.Ok = false;
    return out;
}

} // namespace tessaly
