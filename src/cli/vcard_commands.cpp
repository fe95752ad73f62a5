#include "cli/vcard_commands.h"

#include "cli/edit_commands.h"
#include "core/access/book_header.h"
#include "core/exchange/vcard_book.h"
#include "core/exchange/vcard_format.h"
#include "core/store/book_file.h"
#include "core/system/clock.h"

#include <iostream>

namespace tessaly {

int CommandVCardExport(const std::string& path, const TVCardExportOptions& options,
                       TCliStreams io) {
    if (options.Version != "3" && options.Version != "4") {
        io.Err << "--version must be 3 or 4, not \"" << options.Version << "\"\n";
        return 1;
    }
    const bool one = options.Selection == "entry";
    if (!one && options.Selection != "all" && options.Selection != "tagged") {
        io.Err << "--selection must be all, tagged or entry, not \"" << options.Selection << "\"\n";
        return 1;
    }
    if (one != options.Entry.has_value()) {
        io.Err << (one ? "--selection entry needs --entry N"
                       : "--entry goes with --selection entry")
               << '\n';
        return 1;
    }
    long long index = 0;
    if (one && !ParseDecimal(*options.Entry, 0, kMaxListCount, index)) {
        io.Err << "--entry must be a decimal entry number from 0 to " << kMaxListCount << ", not \""
               << *options.Entry << "\"\n";
        return 1;
    }
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    if (one && !book->Entries.InRange(static_cast<int>(index))) {
        io.Err << BookErrorMessage(path, "has no entry " + std::to_string(index) + " (it has " +
                                             std::to_string(book->Entries.Count()) + ")")
               << '\n';
        return 1;
    }
    const int version = options.Version == "4" ? kVCard40 : kVCard30;
    std::vector<const TRecord*> chosen;
    for (int i = 0; i < book->Entries.Count(); ++i) {
        const TRecord* entry = book->Entries.At(i);
        if ((!one || i == index) && (options.Selection != "tagged" || entry->Tagged))
            chosen.push_back(entry);
    }
    io.Out << VCardsOfEntries(*book, chosen, version);
    return FinishOutput(io);
}

int CommandVCardImport(const std::string& path, const std::string& file, TCliStreams io,
                       const TWriteOptions& options) {
    // The cards are read before the book is locked: a bad file keeps no writer waiting.
    TVCardReadResult read;
    std::string why;
    if (!ReadVCardFile(file, read, why)) {
        io.Err << file << " cannot be read: " << why << ". "
               << BookErrorMessage(path, "was not changed.") << '\n';
        return 1;
    }
    for (const auto& problem : read.Problems)
        io.Err << file << ": " << problem << '\n';
    if (read.Cards.empty()) {
        io.Err << file << " holds no vCard. " << BookErrorMessage(path, "was not changed.") << '\n';
        return 1;
    }
    int added = 0;
    const int status = ChangeBook(path, options, io, [&](TBookData& book) {
        if (book.Entries.Count() + static_cast<long long>(read.Cards.size()) > kMaxListCount) {
            io.Err << BookErrorMessage(
                          path, "has room for " +
                                    std::to_string(kMaxListCount - book.Entries.Count()) +
                                    " more entries, not " + std::to_string(read.Cards.size()) +
                                    ". Nothing was imported.")
                   << '\n';
            return 1;
        }
        TVCardImportOptions mapping;
        mapping.Today = SystemClock::Instance().Now();
        std::vector<std::string> problems;
        added = AddVCardEntries(book, read.Cards, mapping, UndoLimit(TStoreSettings()), false,
                                &problems);
        for (const auto& problem : problems)
            io.Err << file << ": " << problem << '\n';
        return 0;
    });
    if (status)
        return status;
    io.Out << added << '\n';
    return FinishOutput(io);
}

} // namespace tessaly
