#include "cli/commands.h"

#include "cli/book_json.h"
#include "cli/sample_book.h"
#include "core/store/book_file.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>
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

int Save(TBookData& book, TCliStreams io) {
    const TSaveResult saved = SaveBook(book, false, TStoreSettings());
    if (saved.Ok)
        return 0;
    io.Err << BookErrorMessage(book.FileName, "could not be written: " + saved.Error) << '\n';
    return 1;
}

bool leaveBooksAtExit = false;

} // namespace

void LeaveBooksAtExit(bool leave) {
    leaveBooksAtExit = leave;
}

TBookHold::~TBookHold() {
    if (!leaveBooksAtExit || !book_)
        return;
    // Still reachable from here, so a leak checker does not count it.
    static std::vector<std::unique_ptr<TBookData>>* left =
        new std::vector<std::unique_ptr<TBookData>>;
    left->push_back(std::move(book_));
}

std::unique_ptr<TBookData> LoadBookOrReport(const std::string& path, TCliStreams io) {
    TLoadResult result = LoadBook(path, TStoreSettings());
    if (!result.Book)
        io.Err << (result.Code == kCodeUnreadable
                       ? BookErrorMessage(path, "could not be read: " + result.Message)
                       : result.Message)
               << '\n';
    return std::move(result.Book);
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

int CommandNew(const std::string& path, const std::string& configDir, bool force, TCliStreams io) {
    if (RefuseExisting(path, force, io))
        return 1;
    TStoreSettings settings;
    settings.ConfigDirectory = configDir;
    auto book = NewBook(path, settings);
    return Save(*book, io);
}

int CommandCheck(const std::string& path, TCliStreams io) {
    TLoadResult result = LoadBook(path, TStoreSettings());
    const TBookHold hold(result.Book);
    if (result.Book) {
        io.Out << "OK\n";
        return 0;
    }
    io.Out << LoadFailureMessage(result, path) << '\n';
    return 1;
}

int CommandDump(const std::string& path, TCliStreams io) {
    TLoadResult result = LoadBook(path, TStoreSettings());
    const TBookHold hold(result.Book);
    if (!result.Book) {
        io.Err << LoadFailureMessage(result, path) << '\n';
        return 1;
    }
    io.Out << BookToJson(*result.Book).dump(2) << '\n';
    return io.Out.good() ? 0 : 1;
}

int CommandLoad(const std::string& path, TCliStreams io) {
    const std::string text((std::istreambuf_iterator<char>(io.In)),
                           std::istreambuf_iterator<char>());
    std::unique_ptr<TBookData> book;
    try {
        book = BookFromJson(ParseJsonText(text));
    } catch (const BookJsonError& e) {
        io.Err << BookErrorMessage(path, "was not written. The JSON is refused: ") << e.what()
               << '\n';
        return 1;
    }
    book->FileName = path;
    return Save(*book, io);
}

int CommandSample(const std::string& path, bool force, TCliStreams io) {
    if (RefuseExisting(path, force, io))
        return 1;
    auto book = MakeSampleBook(path);
    return Save(*book, io);
}

int CommandDefaults(const std::string& path, const std::string& configDir, TCliStreams io) {
    const TLoadResult result = LoadBook(path, TStoreSettings());
    if (!result.Book) {
        io.Err << LoadFailureMessage(result, path) << '\n';
        return 1;
    }
    TStoreSettings settings;
    settings.ConfigDirectory = configDir;
    std::error_code ec;
    std::filesystem::create_directories(configDir, ec);
    const TSaveResult saved = SaveDefaults(*result.Book, settings);
    if (!saved.Ok) {
        io.Err << BookErrorMessage(settings.ConfigFile(".DEF"),
                                   "could not be written: " + saved.Error)
               << '\n';
        return 1;
    }
    return 0;
}

} // namespace tessaly
