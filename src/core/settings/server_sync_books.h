#pragma once
// The books the user has synchronised with a contacts server from the program, in the
// settings section "Server Sync": for each the user name it logs in with and whether
// the frame's timer synchronises it on its own. The server itself is kept beside the
// book (its sync state); passwords are never kept here.

#include "core/settings/settings_access.h"

#include <string>
#include <vector>

namespace tessaly {

struct TServerSyncBook {
    std::string Path;
    std::string User;
    bool Automatic = false;
    bool operator==(const TServerSyncBook&) const = default;
};

std::vector<TServerSyncBook> LoadServerSyncBooks(const TSettingsAccess& access);
// Replaces the section. Throws TSettingsWriteError.
void SaveServerSyncBooks(TSettingsAccess& access, const std::vector<TServerSyncBook>& books);

// The book's record, null when it has none. Paths are compared as written.
const TServerSyncBook* FindServerSyncBook(const std::vector<TServerSyncBook>& books,
                                          const std::string& path);
// Puts the record in the list, in place of the book's earlier one.
void SetServerSyncBook(std::vector<TServerSyncBook>& books, const TServerSyncBook& book);

} // namespace tessaly
