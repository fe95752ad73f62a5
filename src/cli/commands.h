#pragma once
// The subcommands of tessaly-cli. Each returns the exit status: 0 done, 1 refused or
// failed (with a message on the given streams).

#include <iosfwd>
#include <memory>
#include <string>

namespace tessaly {

class TBookData;
class TDiaryData;

struct TCliStreams {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
};

// Loads the book for a command that changes or lists it, or prints on Err why it
// cannot be read and gives nullptr.
std::unique_ptr<TBookData> LoadBookOrReport(const std::string& path, TCliStreams io);

// The same for a diary (".TDY").
std::unique_ptr<TDiaryData> LoadDiaryOrReport(const std::string& path, TCliStreams io);

// The program's configuration folder for this user, where TESSALY.DEF is looked for:
// $TESSALY_CONFIG_DIR when set (as the program itself honours it), else
// $XDG_CONFIG_HOME/Marrowby/Tessaly, else ~/.config/Marrowby/Tessaly.
std::string DefaultConfigDirectory();

// Creates a new book from the defaults file in `configDir` (or the built-in
// defaults) and saves it. An existing file is replaced only with `force`.
int CommandNew(const std::string& path, const std::string& configDir, bool force, TCliStreams io);
// check, dump and load take a diary in place of a book when the file's extension is
// ".TDY" (in any case).
// "OK" for a readable book; otherwise the file's name and what is wrong with it.
int CommandCheck(const std::string& path, TCliStreams io);
// The whole book as JSON on Out.
int CommandDump(const std::string& path, TCliStreams io);
// Writes the book from the JSON on In. Bad JSON leaves the file as it was.
int CommandLoad(const std::string& path, TCliStreams io);
// Writes the sample book. An existing file is replaced only with `force`.
int CommandSample(const std::string& path, bool force, TCliStreams io);
// Writes the defaults file in `configDir` from a book's templates, index keys,
// categories, insert fields and page captions.
int CommandDefaults(const std::string& path, const std::string& configDir, TCliStreams io);

} // namespace tessaly
