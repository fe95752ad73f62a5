#include "core/exchange/export.h"

#include "core/common/codepage.h"
#include "core/diary/recurrence.h"
#include "core/diary/reminders.h"
#include "core/exchange/csv_file.h"
#include "core/exchange/exchange_fields.h"
#include "core/organise/entry_text.h"
#include "core/store/book.h"
#include "core/store/call_log.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace tessaly {

namespace {

// Walks the template's written columns: f(column, fieldNo).
template <class F> void ForEachColumn(const TExport& tpl, F&& f) {
    for (int c = 0; c < kWrittenExportColumns; ++c) {
        const int field = tpl.Columns[static_cast<std::size_t>(c)];
        if (field >= 0)
            f(c, field);
    }
}

bool Escapes(const TExport& tpl) {
    return !(tpl.ExportType == kExportEntries && tpl.MailMerge);
}

TCSVWriter WriterFor(const TExport& tpl) {
    return TCSVWriter(static_cast<char>(tpl.Quote), static_cast<char>(tpl.Separator), Escapes(tpl));
}

std::string HeaderCaption(const TBookData* book, const TExport& tpl, int field) {
    std::string caption = ExportFieldCaption(book, tpl.ExportType, field);
    if (caption.empty()) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "Field %.2d", field + 1);
        caption = buf;
    }
    if (tpl.MailMerge)
        std::replace(caption.begin(), caption.end(), ' ', '_');
    return caption;
}

void WriteHeader(TCSVWriter& w, const TBookData* book, const TExport& tpl) {
    if (!tpl.HeaderLine)
        return;
    ForEachColumn(tpl, [&](int, int field) {
        const std::string caption = HeaderCaption(book, tpl, field);
        if (tpl.ExportType == kExportEntries && field == kDataAddress && tpl.SplitsAddress()) {
            for (int n = 1; n <= tpl.AddressColumns; ++n)
                w.WriteField(caption + " " + std::to_string(n));
        } else {
            w.WriteField(caption);
        }
    });
    w.EndLine();
}

// The caption and a blank, for a column whose label flag is set.
std::string Prefix(const TBookData* book, const TExport& tpl, int column, int field) {
    if (!tpl.Labels[static_cast<std::size_t>(column)])
        return std::string();
    return ExportFieldCaption(book, tpl.ExportType, field) + " ";
}

// The prefix of every written column, built once for all lines.
std::vector<std::string> Prefixes(const TBookData* book, const TExport& tpl) {
    std::vector<std::string> out(kWrittenExportColumns);
    ForEachColumn(
        tpl, [&](int c, int f) { out[static_cast<std::size_t>(c)] = Prefix(book, tpl, c, f); });
    return out;
}

// Writes each record of `order` with `write` (which gives the lines it wrote), telling
// the caller's progress as it goes; stops, marked so, when the progress says stop.
template <class Record, class Write>
void WriteEach(const std::vector<Record>& order, const TExportOptions& options, TExportText& out,
               Write write) {
    if (options.Started)
        options.Started(static_cast<int>(order.size()));
    int done = 0;
    for (const Record& record : order) {
        out.Lines += write(record);
        if (options.Progress && !options.Progress(++done)) {
            out.Stopped = true;
            return;
        }
    }
}

// One line of the template's columns, `text(field)` giving each field's value.
template <class FieldText>
void WriteLine(TCSVWriter& w, const TExport& tpl, const std::vector<std::string>& prefixes,
               FieldText text) {
    ForEachColumn(
        tpl, [&](int c, int f) { w.WriteField(text(f), prefixes[static_cast<std::size_t>(c)]); });
    w.EndLine();
}

// The address indexes of an entry that give lines: from the first to before the second.
std::pair<int, int> AddressesToWrite(const TRecord& entry, TAddressChoice choice, int templateId) {
    switch (choice) {
    case TAddressChoice::First:
        return {0, 1};
    case TAddressChoice::Template:
        for (int i = 0; i < entry.Addresses.Count(); ++i)
            if (entry.Addresses.At(i)->TemplateId == templateId)
                return {i, i + 1};
        return {0, 0};
    case TAddressChoice::All:
    default:
        return {0, entry.Addresses.Count()};
    }
}

// Writes one line per sub-item of each record: `items(entry)` gives their count and
// `field(entry, i, fieldNo)` the text of a field.
template <class Count, class Field>
TExportText ExportSubItems(const TBookData& book, const std::vector<const TRecord*>& order,
                           const TExport& tpl, const TExportOptions& options, Count items,
                           Field field) {
    TExportText out;
    TCSVWriter w = WriterFor(tpl);
    WriteHeader(w, &book, tpl);
    const std::vector<std::string> prefixes = Prefixes(&book, tpl);
    WriteEach(order, options, out, [&](const TRecord* entry) {
        const std::string name = DisplayText(*entry, book.IndexKeys);
        const int count = items(*entry);
        for (int i = 0; i < count; ++i)
            WriteLine(w, tpl, prefixes, [&](int f) { return f == 0 ? name : field(*entry, i, f); });
        return count;
    });
    out.Text = w.TakeText();
    return out;
}

} // namespace

std::string ReminderFieldText(const TReminders& r, int field, const TFormatSettings& fs) {
    switch (field) {
    case 1:
        return FormatDateTime("ddddd", r.When, fs);
    case 2:
        return r.NoTime ? std::string() : FormatDateTime("t", r.When, fs);
    case 3:
        return std::to_string(r.Priority);
    case 4:
        return std::string(TextValue(r.Description));
    case 5:
        return FrequencyName(r.Frequency);
    case 6:
        return std::to_string(r.Interval);
    case 7:
        return FormatDateTime("ddddd", r.Until, fs);
    case 8:
        return std::to_string(r.AdvanceDays);
    case 9:
        return r.Completed ? "Completed" : "Outstanding";
    case 10:
        return std::string(TextValue(r.Notes));
    default:
        return std::string();
    }
}

TEntryLines::TEntryLines(const TBookData& book, const TExport& tpl, TAddressChoice choice,
                         int templateId)
    : book_(book), tpl_(tpl), choice_(choice), templateId_(templateId), csv_(WriterFor(tpl)),
      prefixes_(Prefixes(&book, tpl)) {
    WriteHeader(csv_, &book, tpl);
}

int TEntryLines::Write(const TRecord& entry) {
    int lines = 0;
    const auto [first, end] = AddressesToWrite(entry, choice_, templateId_);
    for (int address = first; address < end; ++address) {
        ForEachColumn(tpl_, [&](int c, int f) {
            const std::string& prefix = prefixes_[static_cast<std::size_t>(c)];
            if (const auto stored = StoredFieldView(entry, f, address)) {
                csv_.WriteField(*stored, prefix);
                return;
            }
            const Text value = FieldValue(entry, f, address, book_);
            if (f == kDataAddress && tpl_.SplitsAddress()) {
                for (int n = 1; n <= tpl_.AddressColumns; ++n)
                    csv_.WriteField(AddressLine(TextValue(value), n), prefix);
            } else {
                csv_.WriteField(TextValue(value), prefix);
            }
        });
        csv_.EndLine();
        ++lines;
    }
    return lines;
}

TExportText ExportEntries(const TBookData& book, const std::vector<const TRecord*>& order,
                          const TExport& tpl, TAddressChoice choice, int templateId,
                          const TExportOptions& options) {
    TExportText out;
    TEntryLines lines(book, tpl, choice, templateId);
    WriteEach(order, options, out, [&](const TRecord* entry) { return lines.Write(*entry); });
    out.Text = lines.TakeText();
    return out;
}

TExportText ExportReminders(const TBookData& book, const std::vector<const TRecord*>& order,
                            const TExport& tpl, const TExportOptions& options) {
    return ExportSubItems(
        book, order, tpl, options, [](const TRecord& e) { return e.Reminders.Count(); },
        [&](const TRecord& e, int i, int f) {
            return ReminderFieldText(*e.Reminders.At(i), f, options.Format);
        });
}

TExportText ExportCallLogs(const TBookData& book, const std::vector<const TRecord*>& order,
                           const TExport& tpl, const TExportOptions& options) {
    return ExportSubItems(
        book, order, tpl, options, [](const TRecord& e) { return e.CallLogs.Count(); },
        [&](const TRecord& e, int i, int f) {
            return f < kLogColumns ? LogColumnText(*e.CallLogs.At(i), f, {}, options.Format)
                                   : std::string();
        });
}

TExportText ExportDiaryEvents(const std::vector<const TReminders*>& events, const TExport& tpl,
                              const TExportOptions& options) {
    TExportText out;
    TCSVWriter w = WriterFor(tpl);
    WriteHeader(w, nullptr, tpl);
    const std::vector<std::string> prefixes = Prefixes(nullptr, tpl);
    WriteEach(events, options, out, [&](const TReminders* e) {
        WriteLine(w, tpl, prefixes,
                  [&](int f) { return ReminderFieldText(*e, f + 1, options.Format); });
        return 1;
    });
    out.Text = w.TakeText();
    return out;
}

std::string ExportBytes(const std::string& text, bool utf8) {
    return utf8 ? Cp1252ToUtf8(text) : text;
}

std::string ExportFailureMessage(const std::string& path) {
    std::string text = kMsgExportFailed;
    text.replace(text.find("%s"), 2, path);
    return text;
}

std::string WriteExportFile(const std::string& path, const std::string& bytes, IFileSystem& fs) {
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return WriteFileAtomically(path, data, fs).Ok ? std::string() : ExportFailureMessage(path);
}

std::string WriteExportFile(const std::string& path, const TByteSource& bytes, IFileSystem& fs) {
    return WriteFileAtomically(path, bytes, fs).Ok ? std::string() : ExportFailureMessage(path);
}

} // namespace tessaly
