#include "core/sync/dav_changes.h"

#include <set>

namespace tessaly {

TDavListing ListChanges(TCardDavClient& dav, const std::string& token,
                        const std::map<std::string, std::string>& known) {
    TDavListing out;
    const auto changed = [&](const TDavMember& m) {
        const auto it = known.find(m.Url);
        return it == known.end() || it->second.empty() || it->second != m.ETag;
    };
    TDavChanges changes = dav.ChangesSince(token);
    // A token the server no longer takes: a fresh one comes with every member.
    if (changes.Refused && !token.empty())
        changes = dav.ChangesSince(std::string());
    if (changes.Ok && !token.empty()) {
        for (const auto& m : changes.Changed)
            if (changed(m))
                out.Wanted.push_back(m);
        out.Removed = changes.Removed;
    } else if (changes.Ok || changes.Refused) {
        // Every member, compared with what the state knows.
        std::vector<TDavMember> members;
        if (changes.Ok) {
            members = changes.Changed;
        } else {
            TDavFailure failure;
            if (!dav.ListMembers(members, failure)) {
                out.Failure = failure.Text;
                return out;
            }
        }
        std::set<std::string> present;
        for (const auto& m : members) {
            present.insert(m.Url);
            if (changed(m))
                out.Wanted.push_back(m);
        }
        for (const auto& [url, etag] : known)
            if (!present.count(url))
                out.Removed.push_back(url);
    } else {
        out.Failure = changes.Failure.Text;
        return out;
    }
    out.Token = changes.Ok ? changes.Token : std::string();
    out.Ok = true;
    return out;
}

} // namespace tessaly
