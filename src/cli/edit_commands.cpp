#include "cli/edit_commands.h"

#include "cli/book_json.h"
#include "core/access/book_header.h"
#include "core/access/entries.h"
#include "core/store/book_file.h"

#include <iostream>
#include <iterator>
#include <sstream>

namespace tessaly {

namespace {

// Counts the change as the book window does, then writes the book.
int SaveChanged(TBookData& book, TCliStreams io) {
    MarkChanged(book);
    const TSaveResult saved = SaveBook(book, false, TStoreSettings());
    if (saved.Ok)
        return 0;
    io.Err << BookErrorMessage(book.FileName, "could not be written: " + saved.Error) << '\n';
    return 1;
}

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
    }
    if (i < 0)
        io.Err << BookErrorMessage(book.FileName, "has no " + what.str()) << '\n';
    return i;
}

} // namespace

int CommandAdd(const std::string& path, TCliStreams io) {
    const std::string text((std::istreambuf_iterator<char>(io.In)),
                           std::istreambuf_iterator<char>());
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    std::unique_ptr<TRecord> entry;
    try {
        const TJson given = ParseJsonText(text);
        if (!given.is_object())
            throw BookJsonError(std::string("entry: expected an object, found ") +
                                given.type_name());
        NewWorkRecord(*book);
        TJson merged = EntryToJson(*book->WorkRecord);
        for (const auto& field : given.items())
            merged[field.key()] = field.value();
        entry = EntryFromJson(merged);
    } catch (const BookJsonError& e) {
        io.Err << BookErrorMessage(path, "was not changed. The JSON is refused: ") << e.what()
               << '\n';
        return 1;
    }
    const int i = StoreEntry(*book, nullptr, entry.get(), UndoLimit(TStoreSettings()), false);
    if (const int status = SaveChanged(*book, io))
        return status;
    io.Out << EntryToJson(*book->Entries.At(i)).dump(2) << '\n';
    return io.Out.good() ? 0 : 1;
}

int CommandDelete(const std::string& path, const TEntrySelector& which, TCliStreams io) {
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    const int i = Selected(*book, which, io);
    if (i < 0)
        return 1;
    DeleteEntry(*book, i, false, UndoLimit(TStoreSettings()));
    return SaveChanged(*book, io);
}

int CommandTag(const std::string& path, const TEntrySelector& which, bool tagged, TCliStreams io) {
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    if (which.All) {
        book->Entries.SetTags(tagged);
    } else {
        const int i = Selected(*book, which, io);
        if (i < 0)
            return 1;
        book->Entries.At(i)->Tagged = tagged ? 1 : 0;
    }
    return SaveChanged(*book, io);
}

} // namespace tessaly
