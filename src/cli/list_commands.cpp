#include "cli/list_commands.h"

#include "core/common/codepage.h"
#include "core/organise/entry_list.h"
#include "core/organise/rule_description.h"
#include "core/store/book_file.h"

#include <ostream>

namespace tessaly {

int CommandList(const std::string& path, const std::optional<std::string>& search, TCliStreams io) {
    auto book = LoadBookOrReport(path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    const TFilter* filter = book->Searches.ActiveSearch();
    if (search) {
        const std::string name = Utf8ToCp1252(*search);
        filter = book->Searches.At(book->Searches.FindSearch(name));
        if (!filter) {
            io.Err << "No saved search is named \"" << *search << "\"\n";
            return 1;
        }
    }
    TEntryList list(*book);
    list.Rebuild(filter);
    // The lines are written a piece at a time through two buffers used over and over:
    // a stream write per line costs more than building the line, and one text of the
    // whole listing, twice over with its UTF-8, would be fresh memory to touch.
    constexpr std::size_t kPiece = std::size_t{64} << 10;
    std::string lines;
    std::string utf8;
    lines.reserve(kPiece + 1024);
    utf8.reserve(2 * lines.capacity());
    const auto writeLines = [&] {
        utf8.clear();
        AppendCp1252AsUtf8(utf8, lines);
        io.Out.write(utf8.data(), static_cast<std::streamsize>(utf8.size()));
        lines.clear();
    };
    for (int i = 0; i < list.Count(); ++i) {
        list.AppendDisplayTextAt(lines, i);
        lines += '\n';
        if (lines.size() >= kPiece)
            writeLines();
    }
    writeLines();
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
