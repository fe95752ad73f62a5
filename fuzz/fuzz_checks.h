#pragma once
// What the fuzz targets demand of the book, defaults, diary, word processor, exchange,
// printing and vCard readers, shared with the test that replays the seed corpus: any bytes are
// either refused with a reason or read; what was read writes again, reads back equal and writes the
// same bytes.

#include "core/diary/diary.h"
#include "core/exchange/csv_file.h"
#include "core/exchange/export_template.h"
#include "core/exchange/import_template.h"
#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/exchange/word_pro_file.h"
#include "core/printing/catalogues.h"
#include "core/printing/label_templates.h"
#include "core/printing/layout_objects.h"
#include "core/printing/object_text.h"
#include "core/printing/print_run.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::fuzz {

enum class TOutcome {
    Refused,       // not a readable file, reported as such
    Accepted,      // read, written again, read back equal
    BadRefusal,    // refused without a message or with an unknown code
    RewriteFailed, // a file that was read cannot be written
    ReparseFailed, // the rewritten file is not readable
    Changed,       // the rewritten file reads back different, or writes other bytes
    CheckDiffers,  // a check without building the book gives another verdict
    CopyDiffers,   // a rewrite that copies the entries gives other bytes than a save
};

inline bool IsFault(TOutcome o) {
    return o != TOutcome::Refused && o != TOutcome::Accepted;
}

inline TOutcome CheckBookBytes(std::span<const std::uint8_t> bytes) {
    const TStoreSettings settings;
    TLoadResult first = ParseBookImage(bytes, settings, "FUZZ.ADR");
    const TLoadResult checked = CheckBookImage(bytes, settings, "FUZZ.ADR");
    if (!checked.Book != !first.Book || checked.Code != first.Code ||
        checked.Message != first.Message)
        return TOutcome::CheckDiffers;
    if (!first.Book) {
        const bool known = first.Code == kCodeInvalid || first.Code == kCodeVersion12 ||
                           first.Code == kCodeVersion20 || first.Code == kCodeVersion25;
        return known && !first.Message.empty() ? TOutcome::Refused : TOutcome::BadRefusal;
    }
    std::vector<std::uint8_t> image;
    try {
        image = WriteBookImage(*first.Book);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    TLoadResult second = ParseBookImage(image, settings, "FUZZ.ADR");
    if (!second.Book)
        return TOutcome::ReparseFailed;
    if (!(*second.Book == *first.Book))
        return TOutcome::Changed;
    if (WriteBookImage(*second.Book) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

// A rewrite that sets every entry's tag, copying the entries' bytes, must give the file
// the bytes of a load, the same change and a save, or, for bytes that do not read or
// cannot be saved, fail and leave them as they were. The bytes go through a file of
// `folder`.
inline TOutcome CheckTagRewriteBytes(std::span<const std::uint8_t> bytes,
                                     const std::string& folder) {
    const TStoreSettings settings;
    const std::string path = folder + "/FUZZ.ADR";
    const auto put = [&](std::span<const std::uint8_t> image) {
        return WriteFileAtomically(path, image).Ok;
    };
    if (!put(bytes))
        return TOutcome::Refused; // no file to be had: nothing to compare
    TBookRewrite change;
    change.Head = [](TBookData& book) { book.LastUpdated = 46000.25; };
    change.Tag = 1;
    TLoadResult loaded = ParseBookImage(bytes, settings, path);
    std::vector<std::uint8_t> expected;
    if (loaded.Book) {
        change.Head(*loaded.Book);
        for (const auto& entry : loaded.Book->Entries)
            entry->Tagged = *change.Tag;
        try {
            expected = WriteBookImage(*loaded.Book);
        } catch (const StreamError&) {
            loaded.Book.reset();
        }
    }
    const TRewriteResult rewritten = RewriteBook(path, settings, change);
    std::vector<std::uint8_t> after;
    if (!ReadWholeFile(path, after).Ok)
        return TOutcome::CopyDiffers;
    if (!loaded.Book) {
        const bool kept = std::equal(after.begin(), after.end(), bytes.begin(), bytes.end());
        return !rewritten.Ok && kept ? TOutcome::Refused : TOutcome::CopyDiffers;
    }
    return rewritten.Ok && after == expected ? TOutcome::Accepted : TOutcome::CopyDiffers;
}

inline TOutcome CheckDefaultsBytes(std::span<const std::uint8_t> bytes) {
    TBookData book;
    if (!ParseDefaultsImage(book, bytes)) {
        // A refused defaults file leaves the built-in defaults, nothing half read.
        TBookData builtIn;
        builtIn.SetBuiltInDefaults();
        return book == builtIn ? TOutcome::Refused : TOutcome::BadRefusal;
    }
    std::vector<std::uint8_t> image;
    try {
        image = WriteDefaultsImage(book);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    TBookData again;
    if (!ParseDefaultsImage(again, image))
        return TOutcome::ReparseFailed;
    if (!(again == book) || WriteDefaultsImage(again) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

inline TOutcome CheckWordProBytes(std::span<const std::uint8_t> bytes) {
    const auto list = ParseWordProImage(bytes);
    if (!list)
        return TOutcome::Refused; // the default list then, which needs no reason
    std::vector<std::uint8_t> image;
    try {
        image = WriteWordProImage(*list);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    const auto again = ParseWordProImage(image);
    if (!again)
        return TOutcome::ReparseFailed;
    if (!(*again == *list) || WriteWordProImage(*again) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

inline TOutcome CheckDiaryBytes(std::span<const std::uint8_t> bytes) {
    TDiaryLoad first = ParseDiaryImage(bytes, "FUZZ.TDY");
    if (!first.Diary)
        return first.Message.empty() ? TOutcome::BadRefusal : TOutcome::Refused;
    std::vector<std::uint8_t> image;
    try {
        image = WriteDiaryImage(*first.Diary);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    TDiaryLoad second = ParseDiaryImage(image, "FUZZ.TDY");
    if (!second.Diary)
        return TOutcome::ReparseFailed;
    if (!(*second.Diary == *first.Diary) || WriteDiaryImage(*second.Diary) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

// vCards: every card that reads becomes an entry of a new book; the entry's card reads
// back as one card of the same lines, and that card makes the same entry again, whose
// card is the same text, in both versions. Any bytes either hold no card (Refused) or
// pass.
inline TOutcome CheckVCardBytes(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    TStoreSettings settings;
    settings.ConfigDirectory = "/nonexistent";
    auto book = NewBook("/nonexistent/FUZZ.ADR", settings);
    TVCardImportOptions options;
    options.Today = 46000;
    const auto cards = ReadVCards(text).Cards;
    for (const auto& card : cards) {
        auto entry = VCardToEntry(card, *book, options);
        for (int version : {kVCard30, kVCard40}) {
            const TVCard out = EntryToVCard(*entry, *book, version);
            const std::string written = WriteVCard(out);
            const auto again = ReadVCards(written);
            if (again.Cards.size() != 1 ||
                again.Cards[0].Properties.size() != out.Properties.size())
                return TOutcome::ReparseFailed;
            for (std::size_t i = 0; i < out.Properties.size(); ++i)
                if (again.Cards[0].Properties[i].Line != out.Properties[i].Line)
                    return TOutcome::ReparseFailed;
            auto second = VCardToEntry(again.Cards[0], *book, options);
            if (WriteVCard(EntryToVCard(*second, *book, version)) != written)
                return TOutcome::Changed;
        }
    }
    return cards.empty() ? TOutcome::Refused : TOutcome::Accepted;
}

// A printing file (papers, layouts, a layout's objects, quick reports) of type T,
// read by `parse` and written by `write`. A refused file leaves the list as it was.
template <class T>
TOutcome CheckPrintingBytes(std::span<const std::uint8_t> bytes,
                            bool (*parse)(std::span<const std::uint8_t>, T&),
                            std::vector<std::uint8_t> (*write)(const T&), const T& sentinel) {
    T first = sentinel;
    if (!parse(bytes, first))
        return first == sentinel ? TOutcome::Refused : TOutcome::BadRefusal;
    std::vector<std::uint8_t> image;
    try {
        image = write(first);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    T second;
    if (!parse(image, second))
        return TOutcome::ReparseFailed;
    if (!(second == first) || write(second) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

// A template file that reads writes again to the same bytes (it was written with
// the current version) or to a file that reads back equal (an older version).
template <class List, class Parse, class Write>
TOutcome CheckTemplateBytes(std::span<const std::uint8_t> bytes, Parse parse, Write write) {
    List first;
    if (!parse(bytes, first))
        return first.Empty() ? TOutcome::Refused : TOutcome::BadRefusal;
    std::vector<std::uint8_t> image;
    try {
        image = write(first);
    } catch (const StreamError&) {
        return TOutcome::RewriteFailed;
    }
    List second;
    if (!parse(image, second))
        return TOutcome::ReparseFailed;
    if (!(second == first) || write(second) != image)
        return TOutcome::Changed;
    return TOutcome::Accepted;
}

inline TOutcome CheckImportTemplateBytes(std::span<const std::uint8_t> bytes) {
    return CheckTemplateBytes<TImportList>(bytes, ParseImportTemplates, WriteImportTemplates);
}

inline TOutcome CheckExportTemplateBytes(std::span<const std::uint8_t> bytes) {
    return CheckTemplateBytes<TExportList>(bytes, ParseExportTemplates, WriteExportTemplates);
}

// Any bytes are a delimited file: every record read, written again with its fields
// quoted, reads back as the same fields.
inline TOutcome CheckCsvBytes(std::span<const std::uint8_t> bytes) {
    const TDecodedText text = DecodeInputText(bytes);
    TCSVReader reader(text.Text, '"', ',', false);
    int records = 0;
    while (reader.ReadLine() && records++ < 10000) {
        TCSVWriter writer('"', ',', false);
        std::vector<std::string> fields;
        for (int n = 1; n <= reader.FieldCount(); ++n) {
            fields.push_back(*reader.Field(n, kLongValueLength));
            writer.WriteField(fields.back());
        }
        writer.EndLine();
        TCSVReader again(writer.Text(), '"', ',', false);
        if (!fields.empty() && !again.ReadLine())
            return TOutcome::ReparseFailed;
        for (int n = 1; n <= static_cast<int>(fields.size()); ++n)
            if (again.Field(n, kLongValueLength) != fields[static_cast<std::size_t>(n - 1)])
                return TOutcome::Changed;
    }
    return TOutcome::Accepted;
}

inline TOutcome CheckPaperBytes(std::span<const std::uint8_t> bytes) {
    TPaperList sentinel;
    sentinel.NextNumber = 7;
    return CheckPrintingBytes<TPaperList>(bytes, ParsePapersImage, WritePapersImage, sentinel);
}

inline TOutcome CheckLayoutBytes(std::span<const std::uint8_t> bytes) {
    TLayoutList sentinel;
    sentinel.ReturnAddress = "sentinel";
    return CheckPrintingBytes<TLayoutList>(bytes, ParseLayoutsImage, WriteLayoutsImage, sentinel);
}

// The objects of a layout that reads are planned onto every kind of paper for every
// data source, with a small book and diary: whatever the file holds (formats, fonts,
// sizes, field numbers), the run must end with pages or a reason.
inline bool PlansEveryWay(const TLayoutObjects& objects) {
    TBookData book;
    book.SetBuiltInDefaults();
    TRecord entry;
    entry.SetNameField(2, "Ames");
    const int a = entry.Addresses.AddAddress(1);
    entry.Addresses.SetFieldOf(a, 2, "1 Road\r\nTown");
    auto reminder = std::make_unique<TReminders>();
    reminder->When = 45000.5;
    entry.Reminders.Add(std::move(reminder));
    entry.CallLogs.AddLog("0123", "Hello", 45000.5, 45000.6);
    entry.Created = 45000.25;
    book.Entries.Add(std::make_unique<TRecord>(entry));
    TDiaryData diary;
    auto event = std::make_unique<TReminders>();
    event->When = 45001.75;
    diary.Events.Add(std::move(event));
    for (int type : {kPaperEnvelope, kPaperLabel, kPaperListing})
        for (int source = kSourceEntries; source <= kSourceDiary; ++source) {
            TPaper paper;
            paper.Type = type;
            paper.Width = 210;
            paper.Height = 297;
            paper.LabelWidth = 60;
            paper.LabelHeight = 30;
            paper.LabelsAcross = 3;
            paper.LabelsDown = 9;
            TLayout layout;
            layout.Source = source;
            layout.Headers = layout.Footers = true;
            TPrintRequest request;
            request.Parameters.Selection = kSelectAll;
            request.Layout = &layout;
            request.Paper = &paper;
            request.Objects = &objects;
            request.ReturnAddress = "Home\r\nStreet";
            request.Now = 45002.5;
            request.MaxPages = 50;
            TPrintSource from;
            from.Book = &book;
            from.Diary = &diary;
            const TPlanResult r = PlanPrintRun(request, from);
            if (!r.Ok && r.Message.empty())
                return false;
            for (const auto& page : r.Plan.Pages)
                for (const auto& item : page.Items)
                    if (item.Text.size() > kObjectTextMax)
                        return false;
        }
    return true;
}

inline TOutcome CheckLayoutObjectBytes(std::span<const std::uint8_t> bytes) {
    TLayoutObjects sentinel;
    sentinel.Footer.emplace_back();
    const TOutcome outcome =
        CheckPrintingBytes<TLayoutObjects>(bytes, ParseLayoutObjects, WriteLayoutObjects, sentinel);
    if (outcome == TOutcome::Accepted) {
        TLayoutObjects objects;
        ParseLayoutObjects(bytes, objects);
        if (!PlansEveryWay(objects))
            return TOutcome::Changed;
    }
    return outcome;
}

inline TOutcome CheckQuickReportBytes(std::span<const std::uint8_t> bytes) {
    TQReportList sentinel;
    sentinel.Create("sentinel");
    return CheckPrintingBytes<TQReportList>(bytes, ParseReportsImage, WriteReportsImage, sentinel);
}

// Label-template XML: whatever the bytes, every sheet read is one the print run can lay
// out: a grid of at least one label, finite sizes above 0, gaps and margins of 0 or
// more, and a name of 1 to 255 characters. Accepted when a sheet was read.
inline TOutcome CheckLabelTemplateBytes(std::span<const std::uint8_t> bytes) {
    const auto sheets = ReadLabelTemplates(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    for (const TLabelSheet& s : sheets) {
        for (double v : {s.PageWidth, s.PageHeight, s.LabelWidth, s.LabelHeight})
            if (!(v > 0 && v < 1e300))
                return TOutcome::Changed;
        for (double v : {s.LeftMargin, s.TopMargin, s.HorizontalGap, s.VerticalGap})
            if (!(v >= 0 && v < 1e300))
                return TOutcome::Changed;
        if (s.Across < 1 || s.Down < 1 || s.Name.empty() || s.Name.size() > 255)
            return TOutcome::Changed;
    }
    return sheets.empty() ? TOutcome::Refused : TOutcome::Accepted;
}

} // namespace tessaly::fuzz
