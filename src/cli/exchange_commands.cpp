#include "cli/exchange_commands.h"

#include "cli/agenda_commands.h"
#include "cli/edit_commands.h"
#include "core/common/codepage.h"
#include "core/common/file_paths.h"
#include "core/diary/diary.h"
#include "core/exchange/export.h"
#include "core/exchange/import.h"
#include "core/exchange/record_order.h"
#include "core/exchange/streamed_export.h"
#include "core/organise/entry_list.h"
#include "core/store/book_file.h"
#include "core/system/file_attributes.h"

#include <ostream>

namespace tessaly {

namespace {

TStoreSettings SettingsIn(const std::string& configDir) {
    TStoreSettings s;
    s.ConfigDirectory = configDir;
    return s;
}

bool IsDiaryPath(const std::string& path) {
    return FileKindOf(path) == TFileKind::Diary;
}

bool RefuseReadOnly(const std::string& path, TCliStreams io) {
    if (IsFileReadOnly(path).value_or(false)) {
        io.Err << BookErrorMessage(path, "is locked (read-only); nothing was imported") << '\n';
        return true;
    }
    return false;
}

void SayReplaced(int replaced, TCliStreams io) {
    if (replaced > 0)
        io.Err << replaced << " character" << (replaced == 1 ? "" : "s")
               << " outside Windows-1252 were read as \"?\"\n";
}

// The template of the name, of the wanted type(s); null after saying why not.
template <class List, class Ok>
auto* FindTemplate(const List& list, const std::string& name, Ok fits, TCliStreams io) {
    const auto* t = list.At(list.Find(Utf8ToCp1252(name)));
    if (!t)
        io.Err << "No template is named \"" << name << "\"\n";
    else if (!fits(*t))
        io.Err << "The template \"" << name << "\" is not for this kind of file\n";
    return t && fits(*t) ? t : nullptr;
}

int ImportIntoDiaryFile(const std::string& path, const TDecodedText& text, const TImport& tpl,
                        const TImportOptions& options, TCliStreams io) {
    if (RefuseReadOnly(path, io))
        return 1;
    auto diary = LoadDiaryOrReport(path, io);
    if (!diary)
        return 1;
    const TImportResult r = ImportTextIntoDiary(*diary, text, tpl, options);
    int status = 0;
    if (r.Imported > 0) {
        const TDiarySave saved = SaveDiary(*diary, false, TStoreSettings());
        if (!saved.Ok) {
            io.Err << BookErrorMessage(path, "could not be written: " + saved.Error) << '\n';
            status = 1;
        }
    }
    if (status == 0) {
        io.Out << r.Imported << '\n';
        if (r.Full)
            io.Err << BookErrorMessage(path, "is full; the rest of the file was not imported")
                   << '\n';
        SayReplaced(r.Replaced, io);
    }
    LetGo(diary);
    return status ? status : FinishOutput(io);
}

} // namespace

int CommandImport(const std::string& path, const std::string& input,
                  const std::optional<std::string>& templateName, const std::string& configDir,
                  TCliStreams io, const TWriteOptions& options) {
    const bool diary = IsDiaryPath(path);
    const TStoreSettings settings = SettingsIn(configDir);
    const TImportList templates = LoadImportTemplates(settings.ConfigFile(".TPI"));
    const int type = diary ? kImportDiaryEvents : kImportEntries;
    const std::string name =
        templateName.value_or(std::string(diary ? kDefaultDiaryImport : kDefaultBookImport));
    const TImport* tpl = FindTemplate(
        templates, name, [&](const TImport& t) { return t.ImportType == type; }, io);
    if (!tpl)
        return 1;
    TDecodedText text;
    if (!ReadImportText(input, text)) {
        io.Err << ImportFailureMessage(input) << '\n';
        return 1;
    }
    TImportOptions importing;
    importing.Now = SystemClock::Instance().Now();
    if (diary)
        return ImportIntoDiaryFile(path, text, *tpl, importing, io);

    TImportResult result;
    const int status = ChangeBook(path, options, io, [&](TBookData& book) {
        if (RefuseReadOnly(path, io))
            return 1;
        result = ImportTextIntoBook(book, text, *tpl, importing);
        return 0;
    });
    if (status)
        return status;
    io.Out << result.Imported << '\n';
    if (result.Full)
        io.Err << BookErrorMessage(path, "is full; the rest of the file was not imported") << '\n';
    SayReplaced(result.Replaced, io);
    return FinishOutput(io);
}

namespace {

int BadOption(const std::string& what, TCliStreams io) {
    io.Err << what << '\n';
    return 1;
}

// Hands the export's bytes to their place: standard output, or the file, written
// crash-safe; then says how many lines went into the file.
int Deliver(const TExportRequest& request, int lines, const TByteSource& bytes, TCliStreams io) {
    if (request.Output == "-") {
        bytes([&](std::span<const std::uint8_t> piece) {
            io.Out.write(reinterpret_cast<const char*>(piece.data()),
                         static_cast<std::streamsize>(piece.size()));
            return static_cast<bool>(io.Out);
        });
        return FinishOutput(io);
    }
    const std::string failure = WriteExportFile(request.Output, bytes);
    if (!failure.empty())
        return BadOption(failure, io);
    io.Out << lines << '\n';
    return FinishOutput(io);
}

int Deliver(const TExportRequest& request, const TExportText& out, TCliStreams io) {
    const auto bytes =
        std::span(reinterpret_cast<const std::uint8_t*>(out.Text.data()), out.Text.size());
    return Deliver(
        request, out.Lines, [bytes](const TByteSink& put) { return put(bytes); }, io);
}

int ExportDiary(const TExportRequest& request, const TExport& tpl, TCliStreams io) {
    std::optional<TDateTime> first;
    std::optional<TDateTime> last;
    if (request.From && !(first = ParseIsoDate(*request.From)))
        return BadOption("--from must be a day YYYY-MM-DD, not \"" + *request.From + "\"", io);
    if (request.To && !(last = ParseIsoDate(*request.To)))
        return BadOption("--to must be a day YYYY-MM-DD, not \"" + *request.To + "\"", io);
    if (first.has_value() != last.has_value())
        return BadOption("--from and --to go together", io);
    auto diary = LoadDiaryOrReport(request.Path, io);
    if (!diary)
        return 1;
    const auto events =
        DiaryEventOrder(*diary, !first, !request.NoCompleted, first.value_or(0), last.value_or(0));
    const int status = Deliver(request, ExportDiaryEvents(events, tpl), io);
    LetGo(diary);
    return status;
}

// The entries of the selection, or nothing after saying why.
std::optional<std::vector<const TRecord*>> Selection(const TExportRequest& request, TBookData& book,
                                                     TCliStreams io) {
    if (request.Selection == "all")
        return EntryOrder(book, TEntrySelection::All, {}, nullptr);
    if (request.Selection == "tagged")
        return EntryOrder(book, TEntrySelection::Tagged, {}, nullptr);
    if (request.Selection == "entry") {
        long long i = 0;
        if (!request.Entry || !ParseDecimal(*request.Entry, 0, book.Entries.Count() - 1, i)) {
            BadOption("--selection entry needs --entry N, an entry from 0 to " +
                          std::to_string(book.Entries.Count() - 1),
                      io);
            return std::nullopt;
        }
        return EntryOrder(book, TEntrySelection::SelectedEntry, {},
                          book.Entries.At(static_cast<int>(i)));
    }
    if (request.Selection == "list") {
        const TFilter* filter = book.Searches.ActiveSearch();
        if (request.Search) {
            filter = book.Searches.At(book.Searches.FindSearch(Utf8ToCp1252(*request.Search)));
            if (!filter) {
                BadOption("No saved search is named \"" + *request.Search + "\"", io);
                return std::nullopt;
            }
        }
        TEntryList list(book);
        list.Rebuild(filter);
        std::vector<const TRecord*> listed;
        for (int i = 0; i < list.Count(); ++i)
            listed.push_back(list.EntryAt(i));
        return EntryOrder(book, TEntrySelection::IndexList, listed, nullptr);
    }
    BadOption("--selection must be all, tagged, list or entry, not \"" + request.Selection + "\"",
              io);
    return std::nullopt;
}

// The addresses --addresses names, of the book's address templates; nothing for a
// name none of them has.
std::optional<TStreamedExport::TAddresses> AddressesOf(const TExportRequest& request,
                                                       const TBookData& book) {
    if (request.Addresses == "all")
        return TStreamedExport::TAddresses{TAddressChoice::All, 0};
    if (request.Addresses == "first")
        return TStreamedExport::TAddresses{TAddressChoice::First, 0};
    const int i = book.Templates.FindTemplateByName(Utf8ToCp1252(request.Addresses));
    if (i < 0)
        return std::nullopt;
    return TStreamedExport::TAddresses{TAddressChoice::Template, book.Templates.TemplateId(i)};
}

int BadAddresses(const TExportRequest& request, TCliStreams io) {
    return BadOption("--addresses must be all, first or an address template's name, not \"" +
                         request.Addresses + "\"",
                     io);
}

int ExportWhileReading(const TExportRequest& request, const TExport& tpl, TCliStreams io) {
    TStreamedExport exported(tpl, request.Selection == "tagged",
                             [&](const TBookData& book) { return AddressesOf(request, book); });
    auto book = LoadBookOrReport(request.Path, io, &exported);
    const TBookHold hold(book);
    if (!book)
        return 1;
    if (!exported.Complete())
        return BadAddresses(request, io);
    return Deliver(
        request, exported.Lines(), [&](const TByteSink& put) { return exported.WriteTo(put); }, io);
}

} // namespace

int CommandExport(const TExportRequest& request, TCliStreams io) {
    const bool diary = IsDiaryPath(request.Path);
    const TExportList templates =
        LoadExportTemplates(SettingsIn(request.ConfigDir).ConfigFile(".TPE"));
    const std::string name = request.Template.value_or(
        std::string(TExportList::DefaultName(diary ? kExportDiaryEvents : kExportEntries)));
    const TExport* tpl = FindTemplate(
        templates, name,
        [&](const TExport& t) {
            return diary ? t.ExportType == kExportDiaryEvents
                         : t.ExportType >= kExportEntries && t.ExportType <= kExportCallLogs;
        },
        io);
    if (!tpl)
        return 1;
    if (diary)
        return ExportDiary(request, *tpl, io);
    if (request.From || request.To || request.NoCompleted)
        return BadOption("--from, --to and --no-completed are for diaries", io);

    // All or the tagged entries are exported as the book is read, never holding it whole.
    if (tpl->ExportType == kExportEntries &&
        (request.Selection == "all" || request.Selection == "tagged"))
        return ExportWhileReading(request, *tpl, io);
    auto book = LoadBookOrReport(request.Path, io);
    const TBookHold hold(book);
    if (!book)
        return 1;
    const auto order = Selection(request, *book, io);
    if (!order)
        return 1;
    if (tpl->ExportType == kExportReminders)
        return Deliver(request, ExportReminders(*book, *order, *tpl), io);
    if (tpl->ExportType == kExportCallLogs)
        return Deliver(request, ExportCallLogs(*book, *order, *tpl), io);
    const auto addresses = AddressesOf(request, *book);
    if (!addresses)
        return BadAddresses(request, io);
    return Deliver(
        request, ExportEntries(*book, *order, *tpl, addresses->Choice, addresses->TemplateId), io);
}

} // namespace tessaly
