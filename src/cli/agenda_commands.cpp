#include "cli/agenda_commands.h"

#include "cli/heap_warmup.h"
#include "cli/ical_export.h"
#include "cli/utf8_pieces.h"
#include "core/common/codepage.h"
#include "core/common/file_paths.h"
#include "core/diary/agenda.h"
#include "core/ical/ical_events.h"
#include "core/store/book_file.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <exception>
#include <functional>
#include <ostream>
#include <span>
#include <sstream>
#include <system_error>
#include <thread>

namespace tessaly {

namespace {

// Reads exactly `width` digits at `pos`.
std::optional<int> Digits(const std::string& text, std::size_t pos, std::size_t width) {
    if (pos + width > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int PrintLines(const std::vector<TAgendaLine>& lines, TCliStreams io) {
    // Some hundreds of lines make a piece.
    constexpr std::size_t kLinesAtOnce = 512;
    TUtf8Pieces out(io.Out);
    const std::span<const TAgendaLine> all(lines);
    for (std::size_t i = 0; i < all.size(); i += kLinesAtOnce) {
        AppendAgendaLines(out.Text(), all.subspan(i, std::min(kLinesAtOnce, all.size() - i)));
        out.Written();
    }
    out.Write();
    return io.Out.good() ? 0 : 1;
}

bool BadDate(const std::string& option, const std::string& text, const char* form, TCliStreams io) {
    io.Err << option << " \"" << text << "\" is not a date of the form " << form << '\n';
    return false;
}

} // namespace

std::optional<TDateTime> ParseIsoDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
    if (!y || !m || !d || !IsValidDate(*y, *m, *d))
        return std::nullopt;
    return EncodeDate(*y, *m, *d);
}

std::optional<TDateTime> ParseIsoMinute(const std::string& text) {
    if (text.size() != 16 || text[10] != ' ' || text[13] != ':')
        return std::nullopt;
    const auto day = ParseIsoDate(text.substr(0, 10));
    const auto h = Digits(text, 11, 2), n = Digits(text, 14, 2);
    if (!day || !h || !n || *h > 23 || *n > 59)
        return std::nullopt;
    return ComposeDateTime(*day, EncodeTime(*h, *n, 0));
}

TEventFiles::~TEventFiles() {
    for (auto& book : Books)
        LetGo(book);
    for (auto& diary : Diaries)
        LetGo(diary);
}

namespace {

// One file of the command line, loaded on a thread of its own.
struct TLoading {
    std::unique_ptr<TBookData> Book;
    std::unique_ptr<TDiaryData> Diary;
    std::ostringstream Err; // why it could not be read
    std::exception_ptr Fault;
};

void LoadOne(std::size_t index, const std::string& path, TLoading& loading, TCliStreams io,
             const TLoadedFile& loaded) {
    try {
        const TCliStreams own{io.In, io.Out, loading.Err, io.Files};
        if (FileKindOf(path) == TFileKind::Diary)
            loading.Diary = LoadDiaryOrReport(path, own);
        else
            loading.Book = LoadBookEventsOrReport(path, own);
        if (loaded && loading.Diary)
            loaded(index, TEventSource{loading.Diary.get(), nullptr, loading.Diary.get()});
        if (loaded && loading.Book)
            loaded(index, TEventSource{loading.Book.get(), loading.Book.get(), nullptr});
    } catch (...) {
        loading.Fault = std::current_exception();
    }
}

} // namespace

bool LoadEventFiles(const std::vector<std::string>& paths, TEventFiles& files, TCliStreams io,
                    const TLoadedFile& loaded) {
    // The files are independent: each is read and built on its own thread (the first on
    // this one), which shares nothing with the others but the file system and the heap.
    std::vector<TLoading> loads(paths.size());
    std::vector<std::thread> threads;
    threads.reserve(paths.size());
    const int arena = CurrentHeapArena();
    for (std::size_t i = 1; i < paths.size(); ++i) {
        try {
            threads.emplace_back([&, i] {
                UseHeapArena(arena);
                LoadOne(i, paths[i], loads[i], io, loaded);
            });
        } catch (const std::system_error&) {
            LoadOne(i, paths[i], loads[i], io, loaded); // no thread to be had: here, then
        }
    }
    if (!paths.empty())
        LoadOne(0, paths[0], loads[0], io, loaded);
    for (auto& thread : threads)
        thread.join();
    // Whatever else went wrong, the first unreadable file is the one reported, as if
    // they were read one after the other.
    for (auto& loading : loads) {
        if (loading.Fault)
            std::rethrow_exception(loading.Fault);
        if (loading.Diary) {
            files.Sources.push_back(
                TEventSource{loading.Diary.get(), nullptr, loading.Diary.get()});
            files.Diaries.push_back(std::move(loading.Diary));
        } else if (loading.Book) {
            files.Sources.push_back(TEventSource{loading.Book.get(), loading.Book.get(), nullptr});
            files.Books.push_back(std::move(loading.Book));
        } else {
            io.Err << loading.Err.str();
            return false;
        }
    }
    return true;
}

int CommandAgenda(const std::vector<std::string>& paths, const std::string& from,
                  const std::string& to, TCliStreams io) {
    const auto first = ParseIsoDate(from);
    const auto last = ParseIsoDate(to);
    if (!first)
        return BadDate("--from", from, "YYYY-MM-DD", io), 1;
    if (!last)
        return BadDate("--to", to, "YYYY-MM-DD", io), 1;
    if (*last < *first) {
        io.Err << "--to " << to << " is before --from " << from << '\n';
        return 1;
    }
    // Each file's lines are gathered and sorted on its loading thread, while a larger
    // file may still be being read; then they are merged.
    std::vector<std::vector<TAgendaLine>> found(paths.size());
    TEventFiles files;
    if (!LoadEventFiles(paths, files, io, [&](std::size_t i, const TEventSource& source) {
            CollectAgendaLines(source, *first, *last, found[i]);
            SortAgendaLines(found[i]);
        }))
        return 1;
    const std::vector<TAgendaLine> lines = MergeAgendaLines(std::move(found));
    return PrintLines(lines, io);
}

int CommandDue(const std::vector<std::string>& paths, const std::string& now, TCliStreams io) {
    const auto moment = ParseIsoMinute(now);
    if (!moment)
        return BadDate("--now", now, "\"YYYY-MM-DD HH:MM\"", io), 1;
    TEventFiles files;
    if (!LoadEventFiles(paths, files, io))
        return 1;
    return PrintLines(DueLines(files.Sources, *moment), io);
}

int CommandICal(const std::vector<std::string>& paths, const std::optional<std::string>& from,
                const std::optional<std::string>& to, TCliStreams io, TICalWriter writer) {
    TICalOptions options;
    if (from) {
        options.From = ParseIsoDate(*from);
        if (!options.From)
            return BadDate("--from", *from, "YYYY-MM-DD", io), 1;
    }
    if (to) {
        options.To = ParseIsoDate(*to);
        if (!options.To)
            return BadDate("--to", *to, "YYYY-MM-DD", io), 1;
    }
    if (!writer)
        writer = LinkedICalWriter();
    if (!writer) {
        io.Err << "tessaly-cli: the iCalendar export cannot be loaded: " << kICalProgramName
               << " is not linked in\n";
        return 1;
    }
    TEventFiles files;
    if (!LoadEventFiles(paths, files, io))
        return 1;
    // DTSTAMP is the moment of writing in UTC.
    options.Stamp = UtcNow();
    std::string text;
    const TICalCalendar calendar = ICalendarOf(files.Sources, options);
    writer(&calendar, &text);
    io.Out << text;
    return io.Out.good() ? 0 : 1;
}

} // namespace tessaly
