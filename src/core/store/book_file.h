#pragma once
// The book file and the defaults file: loading, saving with a back-up copy, the
// signature checks, and the operations on a whole book that go with them.

#include "core/store/book.h"
#include "core/store/format.h"
#include "core/store/store_settings.h"
#include "core/store/stream.h"
#include "core/system/clock.h"
#include "core/system/file_system.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

struct TFileCheck {
    bool Valid = false;
    int Code = kCodeInvalid;
    std::string Message;
};

// Reads the 6-byte signature at the current position. When it is not there: with
// the old-version test the first word of the file tells an older layout (codes 12,
// 20, 25) from a foreign file (-1); without it the file is corrupt (-1).
TFileCheck CheckSignature(TStreamReader& r, bool oldVersionTest);
// Checks the last 6 bytes of the stream; the position is left where it was.
TFileCheck CheckTrailer(TStreamReader& r);

struct TLoadResult {
    std::unique_ptr<TBookData> Book; // null on failure
    int Code = kCodeValid;           // 30 ok; 12, 20, 25 an older version; -1 damaged; 0 unreadable
    // The text to show, e.g. "X.ADR Address Book File is Corrupt - Recover File from
    // Backup Copy". For code 0 the system's reason.
    std::string Message;
};

// Reads the file and parses it, a window of the file at a time. Older layouts (codes 12, 20, 25)
// are left to the converter of earlier files. The loaded book remembers the identity of the file it
// was read from. A watch is told of the entries as they are read.
TLoadResult LoadBook(const std::string& path, const TStoreSettings& settings,
                     IFileSystem& fs = RealFileSystem(), IEntryReadWatch* watch = nullptr);
// The same for a reader of the book's events only (an agenda, the due reminders):
// the texts of everything else are stepped over and read as absent, which builds the
// book in a fraction of the time and memory. The book is marked EventsOnly, and
// SaveBook refuses it.
TLoadResult LoadBookEvents(const std::string& path, const TStoreSettings& settings,
                           IFileSystem& fs = RealFileSystem());
// The verdict LoadBook gives on the file, its code and message, without building the
// book: the entries are read one at a time and dropped, their texts stepped over, so
// that a large book is checked in a fraction of the time and memory. A book that
// reads comes back without its entries, marked ListingOnly (never saved).
TLoadResult CheckBookFile(const std::string& path, const TStoreSettings& settings,
                          IFileSystem& fs = RealFileSystem());
// The same for a book image in memory.
TLoadResult CheckBookImage(std::span<const std::uint8_t> bytes, const TStoreSettings& settings,
                           const std::string& path = std::string());
// Parses a book image in memory; `path` names it in messages and becomes FileName.
TLoadResult ParseBookImage(std::span<const std::uint8_t> bytes, const TStoreSettings& settings,
                           const std::string& path = std::string());

// A new book for a path: header defaults, the defaults file (or the built-in
// defaults), Created now. Not written until the first save.
std::unique_ptr<TBookData> NewBook(const std::string& path, const TStoreSettings& settings,
                                   const IClock& clock = SystemClock::Instance());

struct TSaveResult {
    bool Ok = false;
    std::string Error;          // the reason, with the system's text
    bool ChangedOnDisk = false; // refused: another writer changed the file since
    bool BackupFailed = false;  // the book was saved but its ".BAK" copy was not
    std::string BackupError;
};

struct TSaveOptions {
    // Write even when the file was changed by another writer since it was read.
    bool Force = false;
    IFileSystem* FileSystem = nullptr; // the real one when null
};

// Whether the book's file was changed or replaced since this book read or wrote it.
// A file that is gone, or a book that never met its file, counts as unchanged.
bool BookChangedOnDisk(const TBookData& book, IFileSystem& fs = RealFileSystem());

// Signature, body, signature. Throws StreamError when the book cannot be written in
// this format (a list or text too long); SaveBook reports that as a failure.
std::vector<std::uint8_t> WriteBookImage(TBookData& book);
// The same into a writer, which may hand the bytes on as they come.
void WriteBookImage(TBookData& book, TStreamWriter& w);
// Writes the book to FileName atomically (WriteFileAtomically); clears Modified and
// ChangeCount and remembers the file's identity only when the file was written.
// Refuses, without writing, a file changed on disk since the book read or wrote it
// (ChangedOnDisk), unless forced. When closing with "Backup" on, copies the file to
// ".BAK" (never for a book whose extension is ".BAK").
TSaveResult SaveBook(TBookData& book, bool closing, const TStoreSettings& settings,
                     const TSaveOptions& options = TSaveOptions());

// A change made to a book on its way from its file back into it: `Head` to what precedes
// the entries (it may be empty), `Entry` to each entry in turn.
struct TBookRewrite {
    std::function<void(TBookData&)> Head;
    std::function<void(TRecord&)> Entry;
    // Every entry's tag set to this value after `Entry`. Without an `Entry` nothing else
    // of the entries changes, and their bytes are copied from the file with the tag byte
    // set, their texts never built; only an entry the file holds in a form a save does
    // not write (a layout of an earlier version, a value a read brings into range) is
    // built and written anew.
    std::optional<std::uint8_t> Tag;
};
struct TRewriteResult {
    bool Ok = false;
    // The book could not be read: the code and message a load gives (Book stays null).
    // The file is then left as it was.
    TLoadResult Load;
    // Refused: another writer changed the file since it was opened (not when forced).
    bool ChangedOnDisk = false;
    std::string SaveError; // read, but the new file could not be written
};
// Reads the book and writes it back crash-safe with the change made, holding one entry
// at a time: the file gets the bytes that LoadBook, the same change and SaveBook would
// give it, without the book ever being in memory whole. The caller holds the writers'
// lock. Nothing is written unless the whole book reads.
TRewriteResult RewriteBook(const std::string& path, const TStoreSettings& settings,
                           const TBookRewrite& change, const TSaveOptions& options = {});

// Reads the defaults file into the book; on any failure the built-in defaults are
// set instead. Returns true when the file was used.
bool LoadDefaults(TBookData& book, const TStoreSettings& settings);
// The same from an image in memory.
bool ParseDefaultsImage(TBookData& book, std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> WriteDefaultsImage(const TBookData& book);
TSaveResult SaveDefaults(const TBookData& book, const TStoreSettings& settings,
                         IFileSystem& fs = RealFileSystem());

struct TMergeResult {
    bool Ok = false;
    int Added = 0;
    std::string Message; // for a failure, the text to show
};
// Adds every category of another book whose name (case-insensitive) the book lacks,
// numbered from the book's NextId, with the source's default flag. The source is
// loaded in full first; nothing is added from a damaged file. The book's own file
// does nothing.
TMergeResult MergeCategoriesFromBook(TBookData& book, const std::string& path,
                                     const TStoreSettings& settings);

// Records a change: LastUpdated now, ChangeCount + 1, Modified 1. Returns the count.
int MarkChanged(TBookData& book, const IClock& clock = SystemClock::Instance());

// Replaces WorkRecord by a new entry: default categories, the book's keys, and an
// address for each template after the first that is included for new entries.
void NewWorkRecord(TBookData& book);

// "NAME.ADR message": the file name without directory, in upper case, a blank, and
// the message.
std::string BookErrorMessage(const std::string& path, const std::string& message);

} // namespace tessaly
