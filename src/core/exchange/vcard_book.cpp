#include "core/exchange/vcard_book.h"

#include "core/access/entries.h"
#include "core/store/book.h"
#include "core/store/record.h"
#include "core/system/file_io.h"

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

bool ReadVCardFile(const std::string& path, TVCardReadResult& cards, std::string& why) {
    std::vector<std::uint8_t> bytes;
    const TIoResult read = ReadWholeFile(path, bytes);
    if (!read.Ok) {
        why = read.Error;
        return false;
    }
    cards = ReadVCards(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    return true;
}

TDialogMessage VCardsImportedMessage(int added, const std::string& fileName, int problems) {
    std::string text = std::to_string(added) + (added == 1 ? " entry was" : " entries were") +
                       " imported from \"" + fileName + "\".";
    if (problems > 0)
        text += "\n\n" + std::to_string(problems) +
                " parts of the cards could not be read and were left out.";
    return {kMsgTitleAccessError, text, kMsgKindInformation, kMsgButtonsOk};
}

TDialogMessage VCardFileUnreadMessage(const std::string& fileName, const std::string& why) {
    return {kMsgTitleAccessError, "The vCard file \"" + fileName + "\" could not be read: " + why,
            kMsgKindError, kMsgButtonsOk};
}

TDialogMessage VCardFileEmptyMessage(const std::string& fileName) {
    return {kMsgTitleAccessError,
            "The file \"" + fileName + "\" holds no vCard.\n\nNo entries were imported.",
            kMsgKindError, kMsgButtonsOk};
}

TDialogMessage VCardsNotWrittenMessage(const std::string& fileName, const std::string& why) {
    return {kMsgTitleAccessError, "The vCards could not be written to \"" + fileName + "\": " + why,
            kMsgKindError, kMsgButtonsOk};
}

} // namespace tessaly
