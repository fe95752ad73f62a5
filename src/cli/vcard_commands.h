#pragma once
// tessaly-cli "vcard export" and "vcard import": the entries of a book as vCards on
// standard output, and the cards of a file added to a book as `add` adds an entry.

#include "cli/commands.h"

#include <optional>
#include <string>

namespace tessaly {

struct TVCardExportOptions {
    std::string Selection = "all";    // "all", "tagged" or "entry"
    std::optional<std::string> Entry; // with "entry": its position in Entries, from 0
    std::string Version = "3";        // "3" or "4"
};

// The selected entries, in the order of Entries, as vCards on Out.
int CommandVCardExport(const std::string& path, const TVCardExportOptions& options, TCliStreams io);
// Adds every card of the file to the book as a new entry (Created now, a fresh stamp
// where the card's is taken) and saves it under the book's writers' lock; prints the
// number of entries added. A file without a card, or more cards than the book has
// room for, leaves the book as it was.
int CommandVCardImport(const std::string& path, const std::string& file, TCliStreams io,
                       const TWriteOptions& options = TWriteOptions());

} // namespace tessaly
