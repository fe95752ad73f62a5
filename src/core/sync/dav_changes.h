#pragma once
// What changed in a collection since the last round, as every sync asks it: the
// sync-collection REPORT from the remembered token, falling back to the changes from
// the beginning when the token is refused, and to a listing of every member and its
// ETag when the server does not answer the REPORT at all.

#include "core/sync/carddav_client.h"

#include <map>
#include <string>
#include <vector>

namespace tessaly {

struct TDavListing {
    bool Ok = false;
    std::vector<TDavMember> Wanted;   // new, or changed from the ETag the state knows
    std::vector<std::string> Removed; // known to the state, gone from the server
    std::string Token;                // for the next round; empty after a listing
    std::string Failure;
};

// `token` is the state's (empty: none); `known` maps the URLs the state knows to
// their ETags (empty when not known, which counts as changed).
TDavListing ListChanges(TCardDavClient& dav, const std::string& token,
                        const std::map<std::string, std::string>& known);

} // namespace tessaly
