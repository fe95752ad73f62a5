#include "core/sync/contact_card.h"

#include "core/common/hash.h"
#include "core/common/text.h"
#include "core/exchange/vcard_entry.h"
#include "core/store/record.h"

#include <charconv>

namespace tessaly {

std::string StampUid(const TRecord& entry) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, entry.Stamp);
    return "tessaly-" + std::string(buf, r.ptr);
}

std::string CardUid(const TVCard& card) {
    for (const auto& p : card.Properties)
        if (p.Is("UID"))
            return Trim(UnescapeText(p.Value));
    return std::string();
}

TVCard ContactCard(const TRecord& entry, const TBookData& book) {
    TVCard card = EntryToVCard(entry, book, kVCard30);
    if (CardUid(card).empty()) {
        TVCardProperty uid;
        uid.Name = "UID";
        uid.Value = EscapeText(StampUid(entry));
        uid.Line = PropertyLine(uid);
        card.Properties.insert(card.Properties.begin(), std::move(uid));
    }
    return card;
}

std::string ContactHash(const TVCard& card) {
    std::string lines;
    for (const auto& p : card.Properties) {
        if (p.Is("X-TESSALY-DATES") || p.Is("X-TESSALY-STAMP") || p.Is("UID"))
            continue;
        lines += p.Line;
        lines += '\n';
    }
    return Fnv1a64(lines);
}

} // namespace tessaly
