#include "core/exchange/import.h"

#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/diary/diary.h"
#include "core/exchange/exchange_fields.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "core/store/stamp.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

namespace tessaly {

namespace {

constexpr std::string_view kImportedText = "Imported";
constexpr std::string_view kUnknownText = "Unknown";

// Reads the text in place: the caller keeps it for as long as the reader is used.
TCSVReader ReaderFor(const TDecodedText& text, const TImport& tpl) {
    return TCSVReader::Over(text.Text, static_cast<char>(tpl.Quote),
                            static_cast<char>(tpl.Separator), true);
}

// The fields of the header line, in order, up to the first absent one.
std::vector<std::string> HeaderFields(const TCSVReader& reader) {
    std::vector<std::string> out;
    for (int n = 1;; ++n) {
        auto f = reader.Field(n);
        if (!f)
            return out;
        out.push_back(CleanShort(*f));
    }
}

// The present values of the columns mapped to a slot, joined by `glue` (empty values
// add nothing), cut to `limit` bytes. A value alone is given as the reader holds it;
// values joined are built in `joined`.
std::string_view JoinedSlot(const TCSVReader& reader, const TLinkedFieldList& columns,
                            std::string_view glue, std::size_t limit, std::string& joined) {
    joined.clear();
    std::optional<std::string_view> first;
    for (const auto& column : columns) {
        const auto value = reader.FieldView(column->FieldNo + 1, limit);
        if (!value || value->empty())
            continue;
        if (!first) {
            first = value;
            continue;
        }
        if (joined.empty())
            joined = *first;
        if (joined.size() >= limit)
            break;
        joined += glue;
        joined += *value;
    }
    if (joined.empty())
        return first.value_or(std::string_view());
    if (joined.size() > limit)
        joined.resize(limit);
    return joined;
}

const std::string* DescriptionOf(const std::vector<std::string>& header, int column) {
    if (column < 0 || column >= static_cast<int>(header.size()) || header[column].empty())
        return nullptr;
    return &header[static_cast<std::size_t>(column)];
}

bool Continue(const TImportOptions& options, int done) {
    return !options.Progress || options.Progress(done);
}

TDateTime NowOf(const TImportOptions& options) {
    return options.Now != 0 ? options.Now : SystemClock::Instance().Now();
}

TImportResult Failed(const std::string& path) {
    TImportResult r;
    r.Message = ImportFailureMessage(path);
    return r;
}

// An entry without a display text is given a key of its own: the company when its
// keys held the surname already, else the surname.
void GiveOwnKey(TRecord& entry, const TIndexList& bookKeys) {
    if (!ShowsNoIndex(entry, bookKeys))
        return;
    const bool hadSurname = EffectiveKeys(entry, bookKeys).HasCode(kFieldSurname);
    entry.Keys.Clear();
    entry.Keys.AddKey(hadSurname ? kAddressKeyBase + 1 : kFieldSurname, true);
    entry.UseDefaultKeys = 0;
}

// Fills the entry from the slots of the current line.
void FillEntry(TRecord& entry, const TCSVReader& reader, const TImport& tpl,
               const std::vector<std::string>& header, const TImportOptions& options,
               const TBookData& book) {
    std::string joined;
    for (int slot = 0; slot < kEntryImportSlots; ++slot) {
        const TLinkedFieldList& columns = tpl.Mappings[static_cast<std::size_t>(slot)];
        if (columns.Empty())
            continue;
        if (slot == kImportReminderSlot) {
            for (const auto& column : columns) {
                const auto when = reader.DateTimeField(column->FieldNo + 1, options.Format,
                                                       DateOf(NowOf(options)));
                if (!when)
                    continue;
                auto r = std::make_unique<TReminders>();
                r->When = *when;
                r->Until = *when;
                r->NoTime = TimeOf(*when) == 0 ? 1 : 0;
                r->Frequency = kOnceOnly;
                r->AdvanceDays = static_cast<std::int16_t>(
                    std::clamp(options.AdvanceWarning, 0, kMaxAdvanceDays));
                const std::string* d = DescriptionOf(header, column->FieldNo);
                r->SetDescription(d ? *d : std::string(kUnknownText));
                r->SetNotes(std::string(kImportedText));
                entry.Reminders.Add(std::move(r));
            }
            continue;
        }
        const bool multiLine = slot == kDataAddress || slot == kDataNotes;
        const std::string_view value =
            multiLine ? JoinedSlot(reader, columns, "\r\n", kLongValueLength, joined)
                      : JoinedSlot(reader, columns, " ", kShortValueLength, joined);
        if (slot <= kDataSurname) {
            entry.SetNameField(slot, value);
        } else if (slot >= kDataOtherName && slot < kDataNotes) {
            entry.SetNameField(slot - kDataOtherName + kFieldSalutation, value);
        } else if (slot == kDataNotes) {
            entry.SetNotes(value);
        } else {
            if (entry.Addresses.Empty())
                entry.Addresses.AddAddress(book.Templates.TemplateId(1));
            // Slots 3, 4 are fields 0, 1; 5 the address text (field 2); 6-9 fields 3-6.
            entry.Addresses.At(0)->SetField(slot - kDataPosition, value);
        }
    }
}

int FrequencyOfName(std::string_view name) {
    for (int f = kNoteOnly; f <= kYearly; ++f)
        if (SameText(Trim(name), FrequencyName(f)))
            return f;
    return kOnceOnly;
}

// The diary event of the current line, or nothing when its date does not convert.
std::unique_ptr<TReminders> EventOfLine(const TCSVReader& reader, const TImport& tpl,
                                        const TImportOptions& options) {
    const TDateTime today = DateOf(NowOf(options));
    const auto field = [&](int slot) { return tpl.FirstColumn(slot) + 1; };
    const auto mapped = [&](int slot) { return tpl.FirstColumn(slot) >= 0; };
    if (!mapped(0))
        return nullptr;
    const auto date = reader.DateTimeField(field(0), options.Format, today);
    if (!date)
        return nullptr;
    auto e = std::make_unique<TReminders>();
    const auto time = mapped(1) ? reader.DateTimeField(field(1), options.Format, today)
                                : std::optional<TDateTime>();
    const TDateTime timeOfDay = time ? TimeOf(*time) : mapped(1) ? 0 : TimeOf(*date);
    e->When = DateOf(*date) + timeOfDay;
    e->NoTime = !time && timeOfDay == 0 ? 1 : 0;

    const auto integer = [&](int slot, long fallback, long lo, long hi) {
        const auto v = mapped(slot) ? reader.IntegerField(field(slot)) : std::optional<long>();
        return static_cast<std::int16_t>(std::clamp(v.value_or(fallback), lo, hi));
    };
    e->Priority = integer(2, 5, kMinPriority, kMaxPriority);
    e->Interval = integer(5, 1, kMinInterval, kMaxInterval);
    e->AdvanceDays =
        integer(7, std::clamp(options.AdvanceWarning, 0, kMaxAdvanceDays), 0, kMaxAdvanceDays);

    const auto description = mapped(3) ? reader.Field(field(3)) : std::optional<std::string>();
    const std::string cleaned = description ? CleanShort(*description) : std::string();
    e->SetDescription(cleaned.empty() ? std::string(kImportedText) : cleaned);

    if (!mapped(4)) {
        e->Frequency = kOnceOnly;
    } else {
        const auto name = reader.Field(field(4));
        e->Frequency = static_cast<std::int16_t>(name ? FrequencyOfName(*name) : kDaily);
    }

    const auto until = mapped(6) ? reader.DateTimeField(field(6), options.Format, today)
                                 : std::optional<TDateTime>();
    e->Until = until ? DateOf(*until) + TimeOf(e->When) : e->When;
    e->KeepUntilInRange();

    const auto state = mapped(8) ? reader.Field(field(8)) : std::optional<std::string>();
    e->Completed = state && SameText(Trim(*state), "Completed") ? 1 : 0;

    const TLinkedFieldList& notes = tpl.Mappings[9];
    if (!notes.Empty()) {
        std::string joined;
        e->SetNotes(std::string(JoinedSlot(reader, notes, " ", kShortValueLength, joined)));
    }
    return e;
}

} // namespace

std::string ImportFailureMessage(const std::string& path) {
    std::string text = kMsgImportFailed;
    text.replace(text.find("%s"), 2, path);
    return text;
}

bool ReadImportText(const std::string& path, TDecodedText& out, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, fs).Ok)
        return false;
    out = DecodeInputText(bytes);
    return true;
}

TImportResult ImportTextIntoBook(TBookData& book, const TDecodedText& text, const TImport& tpl,
                                 const TImportOptions& options) {
    TImportResult result;
    result.Replaced = text.Replaced;
    TCSVReader reader = ReaderFor(text, tpl);
    std::vector<std::string> header;
    if (tpl.HeaderLine && reader.ReadLine()) {
        header = HeaderFields(reader);
        if (tpl.UseDescriptions)
            for (int slot = 0; slot <= kDataNotes; ++slot)
                if (const std::string* d = DescriptionOf(header, tpl.FirstColumn(slot)))
                    SetEntryFieldCaption(book, slot, *d);
    }
    NewWorkRecord(book);
    const TRecord prototype = *book.WorkRecord;
    const TDateTime now = NowOf(options);
    // New stamps rise above every stamp of this run; only the book's own stamps,
    // which may come from another run, can meet one.
    std::unordered_set<TDateTime> stamps;
    TDateTime highest = 0;
    for (const auto& e : book.Entries) {
        stamps.insert(e->Stamp);
        highest = std::max(highest, e->Stamp);
    }
    int done = 0;
    while (reader.ReadLine()) {
        if (book.Entries.Count() >= kMaxListCount) {
            result.Full = true;
            break;
        }
        auto entry = std::make_unique<TRecord>(prototype);
        do
            entry->Stamp = NewStamp();
        while (entry->Stamp <= highest && stamps.contains(entry->Stamp));
        entry->Created = now;
        entry->Updated = now;
        FillEntry(*entry, reader, tpl, header, options, book);
        GiveOwnKey(*entry, book.IndexKeys);
        book.Entries.Add(std::move(entry));
        ++result.Imported;
        if (!Continue(options, ++done)) {
            result.Stopped = true;
            break;
        }
    }
    if (result.Imported > 0)
        MarkChanged(book);
    result.Ok = true;
    return result;
}

TImportResult ImportIntoBook(TBookData& book, const std::string& path, const TImport& tpl,
                             const TImportOptions& options, IFileSystem& fs) {
    TDecodedText text;
    if (!ReadImportText(path, text, fs))
        return Failed(path);
    try {
        return ImportTextIntoBook(book, text, tpl, options);
    } catch (const std::exception&) {
        return Failed(path);
    }
}

TImportResult ImportTextIntoDiary(TDiaryData& diary, const TDecodedText& text, const TImport& tpl,
                                  const TImportOptions& options) {
    TImportResult result;
    result.Replaced = text.Replaced;
    TCSVReader reader = ReaderFor(text, tpl);
    if (tpl.HeaderLine)
        reader.ReadLine();
    int done = 0;
    while (reader.ReadLine()) {
        if (auto event = EventOfLine(reader, tpl, options)) {
            if (!AddEvent(diary, std::move(event))) {
                result.Full = true;
                break;
            }
            ++result.Imported;
        }
        if (!Continue(options, ++done)) {
            result.Stopped = true;
            break;
        }
    }
    // An import is a change like any other: the diary is saved when it closes.
    if (result.Imported > 0)
        MarkChanged(diary);
    result.Ok = true;
    return result;
}

TImportResult ImportIntoDiary(TDiaryData& diary, const std::string& path, const TImport& tpl,
                              const TImportOptions& options, IFileSystem& fs) {
    TDecodedText text;
    if (!ReadImportText(path, text, fs))
        return Failed(path);
    try {
        return ImportTextIntoDiary(diary, text, tpl, options);
    } catch (const std::exception&) {
        return Failed(path);
    }
}

int CountImportableText(const std::string& text, const TImport& tpl) {
    TCSVReader reader = TCSVReader::Over(text, static_cast<char>(tpl.Quote),
                                         static_cast<char>(tpl.Separator), false);
    const int lines = reader.CountLines();
    return tpl.HeaderLine && lines > 0 ? lines - 1 : lines;
}

int CountImportable(const std::string& path, const TImport& tpl, IFileSystem& fs) {
    TDecodedText text;
    if (!ReadImportText(path, text, fs))
        return -1;
    return CountImportableText(text.Text, tpl);
}

std::vector<std::string> ImportFieldList(const std::string& text, const TImport& tpl) {
    TCSVReader reader = TCSVReader::Over(text, static_cast<char>(tpl.Quote),
                                         static_cast<char>(tpl.Separator), false);
    std::vector<std::string> out;
    if (!reader.ReadLine())
        return out;
    char number[16];
    for (int n = 1; n <= reader.FieldCount(); ++n) {
        std::snprintf(number, sizeof number, "%.2d", n - 1);
        if (tpl.HeaderLine)
            out.push_back(std::string(number) + " " + CleanShort(*reader.Field(n)));
        else
            out.push_back(std::string("Field ") + number);
    }
    return out;
}

} // namespace tessaly
