#pragma once
// tessaly-cli "add", "delete" and "tag": scripted changes to the entries of a book,
// made as the book window makes them and saved at once. Each holds the book's
// writers' lock from reading the book to writing it, and refuses to overwrite a book
// that a writer without the lock changed meanwhile, unless forced.

#include "cli/commands.h"

#include <functional>
#include <optional>
#include <string>

namespace tessaly {

// Which entries a command acts on: one by its position in "Entries" (as `dump` lists
// them, from 0) or by its Stamp, or, where allowed, all of them.
struct TEntrySelector {
    std::optional<int> Index;
    std::optional<double> Stamp;
    bool All = false;
};

// Fills the selector from the texts of the --index and --stamp options: a decimal
// index from 0, a decimal stamp. False after saying on Err what is wrong.
bool ParseEntrySelector(const std::optional<std::string>& index,
                        const std::optional<std::string>& stamp, TEntrySelector& which,
                        TCliStreams io);

// Reads, changes and writes the book under its writers' lock. `change` gives 0 when
// the book is to be saved, else the exit status after saying why not. Counted as the
// book window counts a change, then written at once.
int ChangeBook(const std::string& path, const TWriteOptions& options, TCliStreams io,
               const std::function<int(TBookData&)>& change);

// Adds the entry given as JSON on In: an object with the fields of an entry as `dump`
// prints them. Fields left out take the values of a new entry of the book (its
// default categories, keys and addresses, a fresh stamp). Created becomes now, and an
// entry whose stamp the book already has gets a fresh one. Prints the stored entry.
int CommandAdd(const std::string& path, TCliStreams io,
               const TWriteOptions& options = TWriteOptions());
// Deletes the selected entry.
int CommandDelete(const std::string& path, const TEntrySelector& which, TCliStreams io,
                  const TWriteOptions& options = TWriteOptions());
// Sets (or with `tagged` false clears) the tag of the selected entry or of all.
int CommandTag(const std::string& path, const TEntrySelector& which, bool tagged, TCliStreams io,
               const TWriteOptions& options = TWriteOptions());

} // namespace tessaly
