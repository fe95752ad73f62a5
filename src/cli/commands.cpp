#include "cli/commands.h"

#include "cli/book_json.h"
#include "cli/heap_warmup.h"
#include "cli/sample_book.h"
#include "core/common/file_paths.h"
#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/store/format.h"
#include "core/system/file_io.h"
#include "core/system/file_lock.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace tessaly {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// The message for a book that could not be read at all.
std::string UnreadableMessage(const std::string& path, const std::string& reason) {
    if (!Exists(path))
        return "Address Book " + path + " could not be located";
    return BookErrorMessage(path, "could not be read: " + reason);
}

std::string ChangedOnDiskMessage(const std::string& path) {
    return BookErrorMessage(path, "was changed by another user or program since it was read; "
                                  "it was not changed. Give --force to overwrite those changes.");
}

// The message for any failed load: the store's text for a damaged or older file.
std::string LoadFailureMessage(const TLoadResult& result, const std::string& path) {
    if (result.Code == kCodeUnreadable)
        return UnreadableMessage(path, result.Message);
    return result.Message;
}

bool RefuseExisting(const std::string& path, bool force, TCliStreams io) {
    if (force || !Exists(path))
        return false;
    io.Err << BookErrorMessage(path, "already exists - give --force to replace it") << '\n';
    return true;
}

IFileSystem& Files(TCliStreams io) {
    return io.Files ? *io.Files : RealFileSystem();
}

// What an existing file holds, told by its first six bytes: a book, a diary, or
// neither (no such file, a shorter one, or another kind of file).
std::optional<TFileKind> HeldKind(const std::string& path, IFileSystem& fs) {
    TFileStat st;
    TIoResult failure;
    const int fd = OpenForReading(path, st, failure, fs);
    if (fd < 0)
        return std::nullopt;
    std::array<std::uint8_t, kSignatureSize> head{};
    const long n = fs.ReadAt(fd, head.data(), head.size(), 0);
    fs.Close(fd);
    if (n != static_cast<long>(head.size()))
        return std::nullopt;
    if (head == kSignature)
        return TFileKind::Book;
    if (head == kDiarySignature)
        return TFileKind::Diary;
    return std::nullopt;
}

// A diary is not replaced by a book, nor a book by a diary, whatever their names.
bool RefuseOtherKind(const std::string& path, TFileKind writing, TCliStreams io) {
    const std::optional<TFileKind> held = HeldKind(path, Files(io));
    if (!held || *held == writing)
        return false;
    io.Err << BookErrorMessage(path, writing == TFileKind::Book
                                         ? "holds a diary; an address book is not written over it"
                                         : "holds an address book; a diary is not written over it")
           << '\n';
    return true;
}

// Writes a whole book that was not read first (new, sample, load) under the lock.
int WriteNewBook(TBookData& book, const TWriteOptions& options, TCliStreams io) {
    if (RefuseDiaryName(book.FileName, io))
        return 1;
    TFileLock lock;
    if (!LockBookOrReport(lock, book.FileName, options, io))
        return 1;
    if (RefuseOtherKind(book.FileName, TFileKind::Book, io))
        return 1;
    return SaveBookOrReport(book, options, io);
}

bool IsDiary(const std::string& path) {
    return FileKindOf(path) == TFileKind::Diary;
}

// The message for a diary that could not be read.
std::string DiaryFailureMessage(const TDiaryLoad& result, const std::string& path) {
    if (!result.Unreadable)
        return result.Message;
    if (!Exists(path))
        return "Diary " + path + " could not be located";
    return BookErrorMessage(path, "could not be read: " + result.Message);
}

int SaveDiaryFile(TDiaryData& diary, TCliStreams io) {
    if (RefuseOtherKind(diary.FileName, TFileKind::Diary, io))
        return 1;
    const TDiarySave saved = SaveDiary(diary, false, TStoreSettings());
    if (saved.Ok)
        return 0;
    io.Err << BookErrorMessage(diary.FileName, "could not be written: " + saved.Error) << '\n';
    return 1;
}

int CheckDiary(const std::string& path, TCliStreams io) {
    const TDiaryLoad result = LoadDiary(path);
    io.Out << (result.Diary ? std::string("OK") : DiaryFailureMessage(result, path)) << '\n';
    if (const int status = FinishOutput(io))
        return status;
    return result.Diary ? 0 : 1;
}

int DumpDiary(const std::string& path, TCliStreams io) {
    const TDiaryLoad result = LoadDiary(path);
    if (!result.Diary) {
        io.Err << DiaryFailureMessage(result, path) << '\n';
        return 1;
    }
    io.Out << DiaryToJson(*result.Diary).dump(2) << '\n';
    return FinishOutput(io);
}

// The book or diary `fromJson` makes of `text`; null, with the reason said, when the
// JSON is refused and so `path` is not written.
template <class FromJson>
auto ReadJsonFor(const std::string& path, const std::string& text, FromJson fromJson,
                 TCliStreams io) -> decltype(fromJson(TJson())) {
    const auto refused = [&](const char* why) {
        io.Err << BookErrorMessage(path, "was not written. The JSON is refused: ") << why << '\n';
    };
    try {
        return fromJson(ParseJsonText(text));
    } catch (const BookJsonError& e) {
        refused(e.what());
    } catch (const TJson::exception& e) {
        refused(e.what());
    }
    return nullptr;
}

int LoadDiaryJson(const std::string& path, const std::string& text, TCliStreams io) {
    std::unique_ptr<TDiaryData> diary = ReadJsonFor(path, text, DiaryFromJson, io);
    if (!diary)
        return 1;
    diary->FileName = path;
    return SaveDiaryFile(*diary, io);
}

bool leaveBooksAtExit = false;

} // namespace

void LeaveBooksAtExit(bool leave) {
    leaveBooksAtExit = leave;
}

namespace {

template <class T> void LetGoOf(std::unique_ptr<T>& file) {
    if (!leaveBooksAtExit || !file) {
        file.reset();
        return;
    }
    // Still reachable from here, so a leak checker does not count it.
    static std::vector<std::unique_ptr<T>>* left = new std::vector<std::unique_ptr<T>>;
    left->push_back(std::move(file));
}

} // namespace

void LetGo(std::unique_ptr<TBookData>& book) {
    LetGoOf(book);
}

void LetGo(std::unique_ptr<TDiaryData>& diary) {
    LetGoOf(diary);
}

TBookHold::~TBookHold() {
    if (leaveBooksAtExit)
        LetGo(book_);
}

std::unique_ptr<TDiaryData> LoadDiaryOrReport(const std::string& path, TCliStreams io) {
    const THeapWarmup warmup(THeapWarmup::ForFile(path, 2));
    TDiaryLoad result = LoadDiary(path);
    if (!result.Diary)
        io.Err << DiaryFailureMessage(result, path) << '\n';
    return std::move(result.Diary);
}

namespace {

std::unique_ptr<TBookData> LoadOrReport(const std::string& path, TCliStreams io, bool eventsOnly,
                                        IEntryReadWatch* watch = nullptr) {
    // The size is only a hint, so it is taken from the real file even when the book is
    // read through another file system. Without the texts (for events), the heap a
    // book is built in is about its file's size; more set aside is only faulted in for
    // nothing. A watch that keeps no entry (a listing) needs next to none.
    const bool entriesKept = !watch || watch->KeepsEntries();
    const THeapWarmup warmup(entriesKept ? THeapWarmup::ForFile(path, eventsOnly || watch ? 1 : 3)
                                         : 0);
    TLoadResult result = eventsOnly ? LoadBookEvents(path, TStoreSettings(), Files(io))
                                    : LoadBook(path, TStoreSettings(), Files(io), watch);
    if (!result.Book)
        io.Err << LoadFailureMessage(result, path) << '\n';
    return std::move(result.Book);
}

} // namespace

std::unique_ptr<TBookData> LoadBookOrReport(const std::string& path, TCliStreams io,
                                            IEntryReadWatch* watch) {
    return LoadOrReport(path, io, false, watch);
}

std::unique_ptr<TBookData> LoadBookEventsOrReport(const std::string& path, TCliStreams io) {
    return LoadOrReport(path, io, true);
}

bool RefuseDiaryName(const std::string& path, TCliStreams io) {
    if (FileKindOf(path) != TFileKind::Diary && !IsDiaryBackupPath(path))
        return false;
    io.Err << BookErrorMessage(path, "is a diary's name; an address book is not written to it")
           << '\n';
    return true;
}

bool LockBookOrReport(TFileLock& lock, const std::string& path, const TWriteOptions& options,
                      TCliStreams io) {
    if (lock.Acquire(path, std::chrono::seconds(options.WaitSeconds)))
        return true;
    io.Err << BookErrorMessage(path, "is being changed by another program; it was not changed. "
                                     "Try again later.")
           << '\n';
    return false;
}

int SaveBookOrReport(TBookData& book, const TWriteOptions& options, TCliStreams io) {
    TSaveOptions save;
    save.Force = options.Force;
    save.FileSystem = &Files(io);
    const TSaveResult saved = SaveBook(book, false, TStoreSettings(), save);
    if (saved.Ok)
        return 0;
    if (saved.ChangedOnDisk)
        io.Err << ChangedOnDiskMessage(book.FileName) << '\n';
    else
        io.Err << BookErrorMessage(book.FileName, "could not be written: " + saved.Error) << '\n';
    return 1;
}

int RewriteBookOrReport(const std::string& path, const TBookRewrite& change,
                        const TWriteOptions& options, TCliStreams io) {
    if (RefuseDiaryName(path, io))
        return 1;
    TFileLock lock;
    if (!LockBookOrReport(lock, path, options, io))
        return 1;
    TSaveOptions save;
    save.Force = options.Force;
    save.FileSystem = &Files(io);
    const TRewriteResult rewritten = RewriteBook(path, TStoreSettings(), change, save);
    if (rewritten.Ok)
        return 0;
    if (rewritten.ChangedOnDisk)
        io.Err << ChangedOnDiskMessage(path) << '\n';
    else if (rewritten.SaveError.empty())
        io.Err << LoadFailureMessage(rewritten.Load, path) << '\n';
    else
        io.Err << BookErrorMessage(path, "could not be written: " + rewritten.SaveError) << '\n';
    return 1;
}

int FinishOutput(TCliStreams io) {
    if (io.Out.flush())
        return 0;
    io.Err << "tessaly-cli: the output could not be written completely\n";
    return 1;
}

bool ParseDecimal(const std::string& text, long long lo, long long hi, long long& value) {
    std::size_t digits = 0;
    const bool negative = !text.empty() && text[0] == '-' && lo < 0;
    for (std::size_t i = negative ? 1 : 0; i < text.size(); ++i, ++digits)
        if (text[i] < '0' || text[i] > '9')
            return false;
    if (digits == 0 || digits > 18)
        return false;
    const long long v = std::stoll(text);
    if (v < lo || v > hi)
        return false;
    value = v;
    return true;
}

std::string RunProgramBeside(const char* name, const char* handedOver, char** argv) {
    // Handed over once only: a program that lacks what it was run for after all does
    // not run itself again.
    if (std::getenv(handedOver))
        return std::string(name) + " cannot do it either";
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return "the program's own folder is unknown: " + ec.message();
    const std::string path = (program.parent_path() / name).string();
    if (::setenv(handedOver, "1", 1) != 0)
        return std::strerror(errno);
    ::execv(path.c_str(), argv);
    const int error = errno;
    ::unsetenv(handedOver);
    return path + ": " + std::strerror(error);
}

std::string DefaultConfigDirectory() {
    if (std::string dir = Env("TESSALY_CONFIG_DIR"); !dir.empty())
        return dir;
    std::filesystem::path base = Env("XDG_CONFIG_HOME");
    if (base.empty() || !base.is_absolute()) {
        const std::string home = Env("HOME");
        base = std::filesystem::path(home.empty() ? "." : home) / ".config";
    }
    return (base / "Marrowby" / "Tessaly").string();
}

int CommandNew(const std::string& path, const std::string& configDir, bool force, TCliStreams io,
               const TWriteOptions& options) {
    if (RefuseExisting(path, force, io))
        return 1;
    // A diary is made by its extension, as check, dump and load read it.
    if (IsDiary(path)) {
        auto diary = NewDiary(path);
        return SaveDiaryFile(*diary, io);
    }
    TStoreSettings settings;
    settings.ConfigDirectory = configDir;
    auto book = NewBook(path, settings);
    return WriteNewBook(*book, options, io);
}

int CommandCheck(const std::string& path, TCliStreams io) {
    if (IsDiary(path))
        return CheckDiary(path, io);
    // The verdict alone: the entries are read and dropped, so little memory is touched
    // and a warm-up would not pay.
    TLoadResult result = CheckBookFile(path, TStoreSettings(), Files(io));
    const TBookHold hold(result.Book);
    io.Out << (result.Book ? std::string("OK") : LoadFailureMessage(result, path)) << '\n';
    if (const int status = FinishOutput(io))
        return status;
    return result.Book ? 0 : 1;
}

int CommandDump(const std::string& path, TCliStreams io) {
    if (IsDiary(path))
        return DumpDiary(path, io);
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    io.Out << BookToJson(*book).dump(2) << '\n';
    return FinishOutput(io);
}

int CommandLoad(const std::string& path, TCliStreams io, const TWriteOptions& options) {
    const std::string text((std::istreambuf_iterator<char>(io.In)),
                           std::istreambuf_iterator<char>());
    if (IsDiary(path))
        return LoadDiaryJson(path, text, io);
    std::unique_ptr<TBookData> book = ReadJsonFor(path, text, BookFromJson, io);
    if (!book)
        return 1;
    book->FileName = path;
    return WriteNewBook(*book, options, io);
}

int CommandSample(const std::string& path, bool force, TCliStreams io,
                  const TWriteOptions& options) {
    if (RefuseExisting(path, force, io))
        return 1;
    auto book = MakeSampleBook(path);
    return WriteNewBook(*book, options, io);
}

int CommandDefaults(const std::string& path, const std::string& configDir, TCliStreams io) {
    const auto book = LoadBookOrReport(path, io);
    if (!book)
        return 1;
    TStoreSettings settings;
    settings.ConfigDirectory = configDir;
    std::error_code ec;
    std::filesystem::create_directories(configDir, ec);
    const TSaveResult saved = SaveDefaults(*book, settings, Files(io));
    if (!saved.Ok) {
        io.Err << BookErrorMessage(settings.ConfigFile(".DEF"),
                                   "could not be written: " + saved.Error)
               << '\n';
        return 1;
    }
    return 0;
}

} // namespace tessaly
