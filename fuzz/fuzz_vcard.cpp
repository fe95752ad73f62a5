// Reads arbitrary bytes as vCards. Every card that reads becomes an entry of a new
// book; the entry's card must read back as one card of the same lines, and that card
// must make the same entry again, whose card is the same text.

#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/store/book_file.h"
#include "core/store/record.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TStoreSettings settings;
    settings.ConfigDirectory = "/nonexistent";
    auto book = NewBook("/nonexistent/FUZZ.ADR", settings);
    TVCardImportOptions options;
    options.Today = 46000;
    for (const auto& card : ReadVCards(text).Cards) {
        auto entry = VCardToEntry(card, *book, options);
        for (int version : {kVCard30, kVCard40}) {
            const TVCard out = EntryToVCard(*entry, *book, version);
            const std::string written = WriteVCard(out);
            const auto again = ReadVCards(written);
            if (again.Cards.size() != 1 ||
                again.Cards[0].Properties.size() != out.Properties.size())
                std::abort();
            for (std::size_t i = 0; i < out.Properties.size(); ++i)
                if (again.Cards[0].Properties[i].Line != out.Properties[i].Line)
                    std::abort();
            auto second = VCardToEntry(again.Cards[0], *book, options);
            if (WriteVCard(EntryToVCard(*second, *book, version)) != written)
                std::abort();
        }
    }
    return 0;
}
