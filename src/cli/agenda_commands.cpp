#include "cli/agenda_commands.h"

#include "cli/ical_export.h"
#include "core/common/codepage.h"
#include "core/common/file_paths.h"
#include "core/diary/agenda.h"
#include "core/store/book_file.h"

#include <cctype>
#include <ctime>
#include <ostream>

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
    std::string out;
    AppendAgendaLines(out, lines);
    io.Out << Cp1252ToUtf8(out);
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

bool LoadEventFiles(const std::vector<std::string>& paths, TEventFiles& files, TCliStreams io) {
    for (const auto& path : paths) {
        if (FileKindOf(path) == TFileKind::Diary) {
            auto diary = LoadDiaryOrReport(path, io);
            if (!diary)
                return false;
            files.Sources.push_back(TEventSource{diary.get(), nullptr, diary.get()});
            files.Diaries.push_back(std::move(diary));
        } else {
            auto book = LoadBookOrReport(path, io);
            if (!book)
                return false;
            files.Sources.push_back(TEventSource{book.get(), book.get(), nullptr});
            files.Books.push_back(std::move(book));
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
    TEventFiles files;
    if (!LoadEventFiles(paths, files, io))
        return 1;
    return PrintLines(AgendaLines(files.Sources, *first, *last), io);
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
                const std::optional<std::string>& to, TCliStreams io) {
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
    TEventFiles files;
    if (!LoadEventFiles(paths, files, io))
        return 1;
    // DTSTAMP is the moment of writing in UTC.
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    options.Stamp = EncodeDate(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday) +
                    EncodeTime(utc.tm_hour, utc.tm_min, utc.tm_sec);
    io.Out << ExportICalendar(files.Sources, options);
    return io.Out.good() ? 0 : 1;
}

} // namespace tessaly
