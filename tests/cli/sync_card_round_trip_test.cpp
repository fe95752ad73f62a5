// The cards the sync sends, read back as a CardDAV server hands them out once it has
// re-serialised them: an entry nobody changed must hash the same on both sides, or a
// round cut short would make conflict copies of entries neither side changed.

#include "cli/sample_book.h"
#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/store/record.h"
#include "core/sync/contact_card.h"
#include "tests/support/fake_clock.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

// A value as a server keeps a property it knows nothing of: one text value, so a
// bare ';' is escaped and a bare ',' ends it.
std::string AsUnknownText(const std::string& v) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            out += v.substr(i, 2);
            ++i;
        } else if (v[i] == ',') {
            break;
        } else if (v[i] == ';') {
            out += "\\;";
        } else {
            out += v[i];
        }
    }
    return out;
}

// The card as such a server writes it out again: VERSION and UID first, the other
// properties sorted by name, unknown X- values as text, lines folded at 75.
std::string Reserialised(const std::string& text) {
    const TVCardReadResult read = ReadVCards(text);
    EXPECT_EQ(read.Cards.size(), 1u);
    std::vector<TVCardProperty> props = read.Cards.front().Properties;
    std::stable_sort(props.begin(), props.end(),
                     [](const TVCardProperty& a, const TVCardProperty& b) {
                         const auto rank = [](const TVCardProperty& p) {
                             return p.Is("VERSION") ? 0 : p.Is("UID") ? 1 : 2;
                         };
                         if (rank(a) != rank(b))
                             return rank(a) < rank(b);
                         return a.Name < b.Name;
                     });
    std::string out = "BEGIN:VCARD\r\n";
    for (TVCardProperty p : props) {
        if (p.Name.size() > 2 && p.Name.compare(0, 2, "X-") == 0)
            p.Value = AsUnknownText(p.Value);
        const std::string line = PropertyLine(p);
        for (std::size_t at = 0; at < line.size(); at += at == 0 ? 75 : 74)
            out += (at == 0 ? "" : " ") + line.substr(at, at == 0 ? 75 : 74) + "\r\n";
    }
    return out + "END:VCARD\r\n";
}

std::string HashOfServersCard(const std::string& text, TDateTime stamp, TBookData& book,
                              const IClock& clock) {
    const TVCardReadResult read = ReadVCards(text);
    EXPECT_EQ(read.Cards.size(), 1u);
    if (read.Cards.empty())
        return std::string();
    TVCardImportOptions options;
    options.Today = clock.Now();
    auto back = VCardToEntry(read.Cards.front(), book, options);
    back->Stamp = stamp;
    return ContactHash(ContactCard(*back, book));
}

TEST(SyncCardRoundTrip, SampleEntriesHashTheSameOnceAServerRewroteThem) {
    FakeClock clock(46000.5);
    auto book = MakeSampleBook("SAMPLE.ADR", clock);
    ASSERT_TRUE(book);
    ASSERT_GT(book->Entries.Count(), 0);
    for (int i = 0; i < book->Entries.Count(); ++i) {
        const TRecord& entry = *book->Entries.At(i);
        const TVCard sent = ContactCard(entry, *book);
        const std::string text = WriteVCard(sent);
        const std::string local = ContactHash(sent);
        EXPECT_EQ(HashOfServersCard(text, entry.Stamp, *book, clock), local) << text;
        const std::string rewritten = Reserialised(text);
        EXPECT_EQ(HashOfServersCard(rewritten, entry.Stamp, *book, clock), local) << rewritten;
        // Rewritten twice is rewritten once: nothing is cut further.
        EXPECT_EQ(Reserialised(rewritten), rewritten);
    }
}

} // namespace
} // namespace tessaly
