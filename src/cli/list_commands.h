#pragma once
// tessaly-cli "list" and "searches": the entry list of a book as the book window
// orders it, and the book's saved searches with their rules.

#include "cli/commands.h"

#include <optional>
#include <string>

namespace tessaly {

// One line per listed entry, in list order: its display text. The entries are those
// that pass the book's active search, or the saved search named by `search`.
int CommandList(const std::string& path, const std::optional<std::string>& search, TCliStreams io);
// One line per saved search ("* " before the active one, two blanks before the
// others), each followed by its rules, one a line, indented by four blanks:
// field, ": ", condition, a blank and value.
int CommandSearches(const std::string& path, TCliStreams io);

} // namespace tessaly
