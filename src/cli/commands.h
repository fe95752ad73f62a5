#pragma once
// The subcommands of tessaly-cli. Each returns the exit status: 0 done, 1 refused or
// failed (with a message on the given streams).

#include <iosfwd>
#include <memory>
#include <string>

namespace tessaly {

class TBookData;
struct TBookRewrite;
class TFileLock;
class IFileSystem;
class TDiaryData;
class IEntryReadWatch;

struct TCliStreams {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
    IFileSystem* Files = nullptr; // where books are read and written; the real one if null
};

// How a command that writes a book treats other writers of it.
struct TWriteOptions {
    // Overwrite a book that another writer changed since this command read it.
    bool Force = false;
    // How long to wait while another writer holds the book's lock.
    int WaitSeconds = 10;
};

// Whether the books the commands are done with are freed (the default) or left for
// the system to take back when the process ends, as tessaly-cli asks: freeing a
// large book block by block costs a good part of the time it took to load it.
void LeaveBooksAtExit(bool leave);
// Frees a book or diary now, or leaves it to the process's end, as LeaveBooksAtExit
// says; the pointer is empty afterwards.
void LetGo(std::unique_ptr<TBookData>& book);
void LetGo(std::unique_ptr<TDiaryData>& diary);

// Holds a command's book to the end of the command: declared after the book, it
// takes the book over as the command ends, and frees it or leaves it to the
// process's end as LeaveBooksAtExit says.
class TBookHold {
public:
    explicit TBookHold(std::unique_ptr<TBookData>& book) : book_(book) {}
    ~TBookHold();
    TBookHold(const TBookHold&) = delete;
    TBookHold& operator=(const TBookHold&) = delete;

private:
    std::unique_ptr<TBookData>& book_;
};

// Loads the book for a command that changes or lists it, or prints on Err why it
// cannot be read and gives nullptr.
std::unique_ptr<TBookData> LoadBookOrReport(const std::string& path, TCliStreams io,
                                            IEntryReadWatch* watch = nullptr);
// The same for a command that reads only the book's events (LoadBookEvents).
std::unique_ptr<TBookData> LoadBookEventsOrReport(const std::string& path, TCliStreams io);
// Whether `path` is a diary's name (".TDY", or its back-up's ".BKD"), to which no
// address book is written; says so on Err when it is.
bool RefuseDiaryName(const std::string& path, TCliStreams io);
// Takes the writers' lock of a book for a read-change-write, or says on Err that
// another writer kept it.
bool LockBookOrReport(TFileLock& lock, const std::string& path, const TWriteOptions& options,
                      TCliStreams io);
// Saves the book, or says on Err why it was not written (one line) and gives 1.
int SaveBookOrReport(TBookData& book, const TWriteOptions& options, TCliStreams io);
// Changes the book on its way from its file back into it (RewriteBook) under the
// writers' lock: 0, or 1 after saying on Err why nothing was changed.
int RewriteBookOrReport(const std::string& path, const TBookRewrite& change,
                        const TWriteOptions& options, TCliStreams io);
// Flushes Out; 0 when all of it was written, else 1 after saying so on Err.
int FinishOutput(TCliStreams io);
// A whole decimal number from lo to hi: digits only, an optional leading minus when
// lo is negative; no blanks, signs, hexadecimal or exponents.
bool ParseDecimal(const std::string& text, long long lo, long long hi, long long& value);

// Runs the program `name` from this program's folder in place of this process, with
// the same arguments, for a command that needs what only that program links. The
// variable `handedOver` is set for it, so that it never hands over again. Returns only
// on failure, with the reason.
std::string RunProgramBeside(const char* name, const char* handedOver, char** argv);

// The same for a diary (".TDY").
std::unique_ptr<TDiaryData> LoadDiaryOrReport(const std::string& path, TCliStreams io);

// The program's configuration folder for this user, where TESSALY.DEF is looked for:
// $TESSALY_CONFIG_DIR when set (as the program itself honours it), else
// $XDG_CONFIG_HOME/Marrowby/Tessaly, else ~/.config/Marrowby/Tessaly.
std::string DefaultConfigDirectory();

// Creates a new book from the defaults file in `configDir` (or the built-in
// defaults) and saves it. An existing file is replaced only with `force`.
int CommandNew(const std::string& path, const std::string& configDir, bool force, TCliStreams io,
               const TWriteOptions& options = TWriteOptions());
// check, dump and load take a diary in place of a book when the file's extension is
// ".TDY" (in any case).
// "OK" for a readable book; otherwise the file's name and what is wrong with it.
int CommandCheck(const std::string& path, TCliStreams io);
// The whole book as JSON on Out.
int CommandDump(const std::string& path, TCliStreams io);
// Writes the book from the JSON on In. Bad JSON leaves the file as it was.
int CommandLoad(const std::string& path, TCliStreams io,
                const TWriteOptions& options = TWriteOptions());
// Writes the sample book. An existing file is replaced only with `force`.
int CommandSample(const std::string& path, bool force, TCliStreams io,
                  const TWriteOptions& options = TWriteOptions());
// Writes the defaults file in `configDir` from a book's templates, index keys,
// categories, insert fields and page captions.
int CommandDefaults(const std::string& path, const std::string& configDir, TCliStreams io);

} // namespace tessaly
