#pragma once
// Synchronising a book with an address book on a CardDAV server.
//
// A round: the server's changes since the last round are asked for (the
// sync-collection REPORT from the remembered token, else a listing of every card and
// its ETag) and fetched in batches; the book is then read, changed and written under
// its writers' lock as tessaly-cli "add" writes it; the sync state is written after
// the book; then the entries changed here go up (PUT with If-Match, or If-None-Match
// for new ones) and the deletions made here (DELETE with If-Match), the state being
// written as they go.
//
// Entries are known by their stamps; a card by its URL, ETag and the hash of what it
// says (ContactHash). Since the hashes show whether an entry already is what the
// server holds, a round cut short anywhere (a dropped request, a killed process)
// is finished by the next one without losing or doubling an entry, and a state file
// that is missing or damaged makes a round that pairs cards and entries by UID and
// by content. When both sides changed an entry, the server's version becomes the
// entry and the local one is kept as a tagged copy in the category "Sync
// Conflicts"; when one side deleted an entry the other changed, the changed one stays.

#include "core/ical/ical_calendar.h"
#include "core/store/store_settings.h"
#include "core/sync/http_client.h"
#include "core/system/clock.h"
#include "core/system/file_system.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tessaly {

inline constexpr const char* kSyncConflictsCategory = "Sync Conflicts";

struct TSyncOptions {
    // The server's address or an address book's; empty: the one the state remembers.
    // Another address than the remembered one starts afresh with that server.
    std::string Server;
    // The user name the client logs in as, remembered with the server so that later
    // rounds need only the book; empty: the one the state remembers.
    std::string User;
    TStoreSettings Settings;           // how the book is read and written
    int LockWaitSeconds = 10;          // for another writer of the book to finish
    std::size_t FetchBatch = 100;      // cards asked for in one addressbook-multiget
    std::size_t StateSaveEvery = 1000; // uploads between two writes of the state
    IFileSystem* FileSystem = nullptr; // the real one when null
    const IClock* Clock = nullptr;     // the system's when null
    // With a writer, the entries' reminders go to a calendar of the same server as
    // well, after the cards (SyncBookReminders).
    TICalWriter ICalWriter = nullptr;
};

struct TSyncResult {
    bool Ok = false;
    // Why the round stopped, when not Ok; what was done before is kept (the book and
    // state are consistent), and the next round goes on from there.
    std::string Failure;
    // What went right but deserves a word: a damaged state file set aside, a card
    // the server refused or one that could not be read.
    std::vector<std::string> Notes;
    std::string Collection; // the address book's URL
    bool CreatedCollection = false;
    int Uploaded = 0;        // cards written to the server
    int Downloaded = 0;      // entries added or changed from the server's cards
    int DeletedLocally = 0;  // entries removed because the server's card was gone
    int DeletedOnServer = 0; // cards removed because the entry was gone
    int Conflicts = 0;       // entries kept as copies in "Sync Conflicts"
    // The reminders' calendar, and the events written to it and removed from it.
    std::string RemindersCalendar;
    int RemindersUploaded = 0;
    int RemindersDeleted = 0;
};

// Synchronises the book at `bookPath` with its address book through `http`, keeping
// the state in SyncStatePath(bookPath). The first sync of a book needs
// options.Server; the address book is found (or made, named after the book's file
// name without its extension) as DiscoverAddressBook does.
TSyncResult SyncBook(const std::string& bookPath, const TSyncOptions& options, IHttpClient& http);

// What a round did, as its user reads it: "Uploaded N, downloaded N, deleted here N,
// deleted on the server N, conflicts N", then a line for the reminders' calendar when
// the round had one.
std::string SyncResultText(const TSyncResult& result);

} // namespace tessaly
