#include "cli/list_commands.h"

#include "cli/utf8_pieces.h"
#include "core/common/codepage.h"
#include "core/organise/listing.h"
#include "core/organise/rule_description.h"
#include "core/store/book_file.h"

#include <ostream>

namespace tessaly {

namespace {

// The search a listing is built with: the named one, else the book's active search;
// nullptr when no search of that name is there.
const TFilter* ListSearch(const TBookData& book, const std::optional<std::string>& name) {
    if (!name)
        return book.Searches.ActiveSearch();
    return book.Searches.At(book.Searches.FindSearch(Utf8ToCp1252(*name)));
}

} // namespace

int CommandList(const std::string& path, const std::optional<std::string>& search, TCliStreams io) {
    // The lines are built while the book is read, and its entries dropped.
    TListing listing([&search](const TBookData& b) { return ListSearch(b, search); });
    auto book = LoadBookOrReport(path, io, &listing);
    const TBookHold hold(book);
    if (!book)
        return 1;
    if (search && !ListSearch(*book, search)) {
        io.Err << "No saved search is named \"" << *search << "\"\n";
        return 1;
    }
    TUtf8Pieces out(io.Out);
    for (std::size_t i = 0; i < listing.Count(); ++i) {
        out.Text() += listing.TextAt(i);
        out.Text() += '\n';
        out.Written();
    }
    out.Write();
    return FinishOutput(io);
}

int CommandSearches(const std::string& path, TCliStreams io) {
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    const TFilter* active = book->Searches.ActiveSearch();
    for (const auto& search : book->Searches) {
        io.Out << (search.get() == active ? "* " : "  ") << Cp1252ToUtf8(TextValue(search->Name))
               << '\n';
        for (const auto& rule : search->Rules) {
            const TRuleDescription d = RuleDescription(*rule, book->Templates);
            io.Out << "    " << Cp1252ToUtf8(d.Field) << ": " << d.Condition << ' '
                   << Cp1252ToUtf8(d.Value) << '\n';
        }
    }
    return FinishOutput(io);
}

} // namespace tessaly
