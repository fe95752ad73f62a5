#pragma once
// What the fuzz targets demand of the book, defaults, diary and vCard readers, shared with the test
// that replays the seed corpus: any bytes are either refused with a reason or read;
// what was read writes again, reads back equal and writes the same bytes.

#include "core/diary/diary.h"
#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/store/book_file.h"
#include "core/store/record.h"

#include <cstdint>
#include <span>
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

} // namespace tessaly::fuzz
