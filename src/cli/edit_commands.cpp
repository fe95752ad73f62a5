#include "cli/edit_commands.h"

#include "cli/book_json.h"
#include "core/access/book_header.h"
#include "core/access/entries.h"
#include "core/store/book_file.h"
#include "core/store/stream.h"
#include "core/system/file_lock.h"

#include <cmath>
#include <functional>
#include <iostream>
#include <iterator>
#include <regex>
#include <sstream>

namespace tessaly {

namespace {

// The index of the selected entry, or -1 after saying why there is none.
int Selected(const TBookData& book, const TEntrySelector& which, TCliStreams io) {
    int i = -1;
    std::ostringstream what;
    if (which.Index) {
        i = book.Entries.InRange(*which.Index) ? *which.Index : -1;
        what << "entry " << *which.Index << " (it has " << book.Entries.Count() << ")";
    } else if (which.Stamp) {
        i = book.Entries.FindStamp(*which.Stamp);
        what.precision(17);
        what << "entry with the stamp " << *which.Stamp;
    } else {
        what << "entry chosen: give --index or --stamp";
    }
    if (i < 0)
        io.Err << BookErrorMessage(book.FileName, "has no " + what.str()) << '\n';
    return i;
}

} // namespace

int ChangeBook(const std::string& path, const TWriteOptions& options, TCliStreams io,
               const std::function<int(TBookData&)>& change) {
    if (RefuseDiaryName(path, io))
        return 1;
    TFileLock lock;
    if (!LockBookOrReport(lock, path, options, io))
        return 1;
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    if (const int status = change(*book))
        return status;
    // Counted as the book window counts a change, then written at once.
    MarkChanged(*book);
    return SaveBookOrReport(*book, options, io);
}

bool ParseEntrySelector(const std::optional<std::string>& index,
                        const std::optional<std::string>& stamp, TEntrySelector& which,
                        TCliStreams io) {
    if (index) {
        long long value = 0;
        if (!ParseDecimal(*index, 0, kMaxListCount, value)) {
            io.Err << "--index must be a decimal entry number from 0 to " << kMaxListCount
                   << ", not \"" << *index << "\"\n";
            return false;
        }
        which.Index = static_cast<int>(value);
    }
    if (stamp) {
        static const std::regex decimal(R"(-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?)");
        const double value =
            std::regex_match(*stamp, decimal) ? std::strtod(stamp->c_str(), nullptr) : NAN;
        if (!std::isfinite(value)) {
            io.Err << "--stamp must be a decimal number as dump prints it, not \"" << *stamp
                   << "\"\n";
            return false;
        }
        which.Stamp = value;
    }
    return true;
}

int CommandAdd(const std::string& path, TCliStreams io, const TWriteOptions& options) {
    const std::string text((std::istreambuf_iterator<char>(io.In)),
                           std::istreambuf_iterator<char>());
    const auto refused = [&](const std::string& why) {
        io.Err << BookErrorMessage(path, "was not changed. The JSON is refused: ") << why << '\n';
        return 1;
    };
    // Parsed before the book is locked: a mistake in it keeps no other writer waiting.
    TJson given;
    try {
        given = ParseJsonText(text);
        if (!given.is_object())
            throw BookJsonError(std::string("entry: expected an object, found ") +
                                given.type_name());
    } catch (const BookJsonError& e) {
        return refused(e.what());
    }
    const auto add = [&](TBookData& book) {
        if (book.Entries.Count() >= kMaxListCount) {
            io.Err << BookErrorMessage(path, "is full: a book holds at most " +
                                                 std::to_string(kMaxListCount) +
                                                 " entries. The entry was not added.")
                   << '\n';
            return 1;
        }
        std::unique_ptr<TRecord> entry;
        try {
            NewWorkRecord(book);
            TJson merged = EntryToJson(*book.WorkRecord);
            for (const auto& field : given.items())
                merged[field.key()] = field.value();
            entry = EntryFromJson(merged);
        } catch (const BookJsonError& e) {
            return refused(e.what());
        } catch (const TJson::exception& e) {
            return refused(e.what());
        }
        const int stored =
            StoreEntry(book, nullptr, entry.get(), UndoLimit(TStoreSettings()), false);
        // Printed before the book is written, and written only once it is printed: a
        // failure then always means that nothing was added.
        io.Out << EntryToJson(*book.Entries.At(stored)).dump(2) << '\n';
        if (io.Out.flush())
            return 0;
        io.Err << BookErrorMessage(path, "was not changed: the new entry could not be printed")
               << '\n';
        return 1;
    };
    return ChangeBook(path, options, io, add);
}

int CommandDelete(const std::string& path, const TEntrySelector& which, TCliStreams io,
                  const TWriteOptions& options) {
    return ChangeBook(path, options, io, [&](TBookData& book) {
        const int i = Selected(book, which, io);
        if (i < 0)
            return 1;
        DeleteEntry(book, i, false, UndoLimit(TStoreSettings()));
        return 0;
    });
}

namespace {

// Every entry's tag, set as the book is copied entry by entry into its new file: the
// book is never held whole, and its bytes are those of a load, change and save.
int TagAll(const std::string& path, bool tagged, TCliStreams io, const TWriteOptions& options) {
    TBookRewrite change;
    change.Head = [](TBookData& book) { MarkChanged(book); };
    change.Tag = tagged ? 1 : 0;
    return RewriteBookOrReport(path, change, options, io);
}

} // namespace

int CommandTag(const std::string& path, const TEntrySelector& which, bool tagged, TCliStreams io,
               const TWriteOptions& options) {
    if (which.All)
        return TagAll(path, tagged, io, options);
    return ChangeBook(path, options, io, [&](TBookData& book) {
        const int i = Selected(book, which, io);
        if (i < 0)
            return 1;
        book.Entries.At(i)->Tagged = tagged ? 1 : 0;
        return 0;
    });
}

} // namespace tessaly
