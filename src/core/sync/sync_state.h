#pragma once
// What a book remembers of its last sync, in "BOOK.ADR.sync" beside it: the server
// and address book, the user name it logs in as, the sync token, and for each entry (known by its
// stamp) the card's URL on the server, its ETag and the hash of the card as last synced. An entry
// the state knows that the book no longer has is a deletion not yet confirmed by the server (a
// tombstone): the record stays until the server's card is gone.
//
// The file is JSON: {"format": "tessaly-sync", "version": 1, "server": ..., "user": ...,
// "collection": ..., "token": ..., "entries": [{"stamp", "href", "etag", "hash", "stored"}]}.

#include "core/common/date_time.h"
#include "core/sync/state_file.h"
#include "core/system/file_system.h"

#include <map>
#include <string>

namespace tessaly {

inline constexpr int kSyncStateVersion = 1;

struct TSyncRecord {
    std::string Url;  // the card's absolute URL
    std::string ETag; // empty: not known (the next round asks the server)
    std::string Hash; // ContactHash of the entry as last synced
    // A fingerprint of the entry as stored, with what of the book its card draws on,
    // when its card was last found to be the synced one; empty: not known. While it
    // holds, the card need not be made again to know that it has not changed.
    std::string Stored;
    bool operator==(const TSyncRecord&) const = default;
};

struct TSyncState {
    std::string Server;     // as given to --server
    std::string User;       // empty: no log-in (a state written before it was kept)
    std::string Collection; // the address book's URL
    std::string Token;      // empty: no token (the next round lists every card)
    std::map<TDateTime, TSyncRecord> Entries;
    bool operator==(const TSyncState&) const = default;
};

// "BOOK.ADR.sync" for "BOOK.ADR".
std::string SyncStatePath(const std::string& bookPath);

using TSyncStateRead = TStateFileRead;

// Reads the state file; `why` says what is wrong with a damaged one (or the
// system's reason when it cannot be read, also reported as Damaged).
TSyncStateRead ReadSyncState(const std::string& path, TSyncState& state, std::string& why,
                             IFileSystem& fs = RealFileSystem());
// Writes it crash-safe (WriteFileAtomically); false with `why` on failure.
bool WriteSyncState(const std::string& path, const TSyncState& state, std::string& why,
                    IFileSystem& fs = RealFileSystem());

// The text of the state file and its reading, for the two above.
std::string SyncStateText(const TSyncState& state);
bool ParseSyncState(const std::string& text, TSyncState& state, std::string& why);

} // namespace tessaly
