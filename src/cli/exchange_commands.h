#pragma once
// tessaly-cli "import" and "export": delimited text files in and out of books and
// diaries through the templates of the configuration folder.

#include "cli/commands.h"

#include <optional>
#include <string>

namespace tessaly {

// Imports INPUT into the book or diary through the named import template (by
// default the book or diary default), saves it as "add" does and prints the number
// of entries or events imported.
int CommandImport(const std::string& path, const std::string& input,
                  const std::optional<std::string>& templateName, const std::string& configDir,
                  TCliStreams io, const TWriteOptions& options = TWriteOptions());

struct TExportRequest {
    std::string Path;
    std::string Output; // "-": standard output
    std::optional<std::string> Template;
    std::string Selection = "all"; // all, tagged, list, entry
    std::optional<std::string> Entry;
    std::optional<std::string> Search;
    std::optional<std::string> From;
    std::optional<std::string> To;
    bool NoCompleted = false;
    std::string Addresses = "first"; // all, first or an address template's name
    std::string ConfigDir;
};

// Writes the book's entries, reminders or call logs (by the template's type), or the
// diary's events, to OUTPUT; prints the number of lines written unless OUTPUT is "-".
int CommandExport(const TExportRequest& request, TCliStreams io);

} // namespace tessaly
