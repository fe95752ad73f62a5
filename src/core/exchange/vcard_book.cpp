#include "core/exchange/vcard_book.h"

#include "core/access/entries.h"
#include "core/store/book.h"
#include "core/store/record.h"

namespace tessaly {

int AddVCardEntries(TBookData& book, const std::vector<TVCard>& cards,
                    const TVCardImportOptions& options, int undoLimit, bool recordUndo,
                    std::vector<std::string>* problems, const IClock& clock) {
    int added = 0;
    for (std::size_t c = 0; c < cards.size() && book.Entries.Count() < kMaxListCount; ++c) {
        std::vector<std::string> left;
        const auto entry = VCardToEntry(cards[c], book, options, &left);
        if (problems)
            for (const auto& problem : left)
                problems->push_back("card " + std::to_string(c + 1) + ": " + problem);
        if (StoreEntry(book, nullptr, entry.get(), undoLimit, recordUndo, clock) >= 0)
            ++added;
    }
    return added;
}

std::string VCardsOfEntries(const TBookData& book, const std::vector<const TRecord*>& entries,
                            int version) {
    std::string out;
    for (const TRecord* entry : entries)
        if (entry)
            out += WriteVCard(EntryToVCard(*entry, book, version));
    return out;
}

} // namespace tessaly
