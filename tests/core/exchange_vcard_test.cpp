// vCards: the reader and writer of the text, and entries through cards and back.

#include "core/exchange/csv_file.h"
#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/exchange/vcard_kept.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"

#include <chrono>
#include <gtest/gtest.h>
#include <random>

namespace tessaly {
namespace {

using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;

const TVCardProperty* Find(const TVCard& card, std::string_view name) {
    for (const auto& p : card.Properties)
        if (p.Is(name))
            return &p;
    return nullptr;
}

std::vector<std::string> Lines(const TVCard& card) {
    std::vector<std::string> out;
    for (const auto& p : card.Properties)
        out.push_back(p.Line);
    return out;
}

TVCard ReadOne(std::string_view text) {
    auto result = ReadVCards(text);
    EXPECT_EQ(result.Cards.size(), 1u);
    return result.Cards.empty() ? TVCard() : result.Cards[0];
}

// An entry as a card reads it back: absent texts become empty ones, and every line
// break is CRLF, the entry's own form.
void Normalise(TRecord& e) {
    const auto fix = [](Text& t) {
        std::string s(t.view()), out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '\r' || s[i] == '\n') {
                if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')
                    ++i;
                out += "\r\n";
            } else {
                out += s[i];
            }
        }
        t = out;
    };
    for (auto& t : e.NameFields)
        fix(t);
    for (auto& a : e.Addresses) {
        for (auto& t : a->Fields)
            fix(t);
        for (auto& t : a->Prefix)
            fix(t);
    }
    for (auto& r : e.Reminders) {
        fix(r->Description);
        fix(r->Notes);
    }
    for (auto& d : e.Attachments) {
        fix(d->Description);
        fix(d->FileName);
    }
    for (auto& l : e.CallLogs) {
        fix(l->Number);
        fix(l->Comment);
    }
}

TEST(VCardText, ReadsTheFormsOfThreeVersions) {
    // 4.0 as its RFC writes it: folded lines, escapes, a group, quoted parameters.
    const TVCard v4 =
        ReadOne("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Simon Perreault\r\n"
                "N:Perreault;Simon;;;ing. jr,M.Sc.\r\n"
                "ADR;TYPE=work;LABEL=\"Simon Perreault\\n2875 boul. Laurier, suite 400\":"
                ";Suite D2-630;2875 Laurier;\r\n Quebec;QC;G1V 2M2;Canada\r\n"
                "item1.EMAIL;TYPE=work:simon.perreault@viagenie.ca\r\n"
                "item1.X-ABLABEL:Office\r\nNOTE:a\\, b\\; c\\nd\\\\e\r\nEND:VCARD\r\n");
    EXPECT_EQ(v4.Version, kVCard40);
    ASSERT_EQ(v4.Properties.size(), 6u);
    const TVCardProperty& adr = v4.Properties[2];
    EXPECT_EQ(adr.ParamValues("LABEL"),
              std::vector<std::string>{"Simon Perreault\\n2875 boul. Laurier, suite 400"});
    const auto parts = SplitStructured(adr.Value);
    ASSERT_EQ(parts.size(), 7u);
    EXPECT_EQ(parts[3][0], "Quebec"); // the fold removed its CRLF and one blank only
    EXPECT_EQ(v4.Properties[3].Group, "item1");
    EXPECT_EQ(v4.Properties[3].Name, "EMAIL");
    EXPECT_EQ(UnescapeText(v4.Properties[5].Value), "a, b; c\nd\\e");
    EXPECT_EQ(SplitStructured(v4.Properties[1].Value)[4],
              (std::vector<std::string>{"ing. jr", "M.Sc."}));

    // 2.1: unnamed parameters, quoted-printable with soft breaks, a character set.
    const TVCard v21 =
        ReadOne("BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=ISO-8859-1:M\xFCller;J\xFCrgen\n"
                "TEL;WORK;VOICE:+49 30 1234\n"
                "NOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Zeile eins=0D=0AZ=\n"
                "eile zwei, =E6=9D=8E\n"
                "ADR;HOME;QUOTED-PRINTABLE:;;Stra=DFe 1;Berlin\n"
                "END:VCARD\n");
    EXPECT_EQ(v21.Version, kVCard21);
    ASSERT_EQ(v21.Properties.size(), 4u);
    EXPECT_EQ(v21.Properties[0].Value, "M\xC3\xBCller;J\xC3\xBCrgen");
    EXPECT_EQ(v21.Properties[0].Line, "N:M\xC3\xBCller;J\xC3\xBCrgen");
    EXPECT_EQ(v21.Properties[1].ParamValues("TYPE"), (std::vector<std::string>{"WORK", "VOICE"}));
    EXPECT_EQ(v21.Properties[1].Line, "TEL;TYPE=WORK,VOICE:+49 30 1234");
    EXPECT_EQ(UnescapeText(v21.Properties[2].Value), "Zeile eins\nZeile zwei, \xE6\x9D\x8E");
    EXPECT_EQ(v21.Properties[2].Line, "NOTE:Zeile eins\\nZeile zwei\\, \xE6\x9D\x8E");
    // No character set: not UTF-8, so Windows-1252.
    EXPECT_EQ(SplitStructured(v21.Properties[3].Value)[2][0], "Stra\xC3\x9F"
                                                              "e 1");

    // Only 2.1 has soft breaks: a folded 3.0 line that ends in "=" keeps its fold.
    const TVCard folded = ReadOne("BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE;X-A=QUOTED-PRINTABLE:a=\r\n"
                                  " 0D\r\nEND:VCARD\r\n");
    EXPECT_EQ(folded.Properties[0].Value, "a=0D");

    // 3.0 with bare LF and a value that is not UTF-8: read as Windows-1252.
    const TVCard v3 = ReadOne("begin:vcard\nversion:3.0\nFN:Caf\xE9\nend:vcard\n");
    EXPECT_EQ(v3.Version, kVCard30);
    EXPECT_EQ(v3.Properties[0].Value, "Caf\xC3\xA9");
}

TEST(VCardText, FoldsAt75OctetsWithoutSplittingACharacter) {
    std::string line = "NOTE:";
    for (int i = 0; i < 120; ++i)
        line += i % 3 ? "\xC3\xA9" : "\xE6\x9D\x8E"; // two- and three-octet characters
    const std::string folded = FoldLine(line);
    std::size_t start = 0;
    std::string unfolded;
    int physical = 0;
    while (start < folded.size()) {
        const std::size_t end = folded.find("\r\n", start);
        ASSERT_NE(end, std::string::npos);
        std::string_view piece(folded.data() + start, end - start);
        EXPECT_LE(piece.size(), 75u);
        if (physical++) {
            ASSERT_EQ(piece[0], ' ');
            piece.remove_prefix(1);
            // A piece never starts inside a character.
            EXPECT_NE(static_cast<unsigned char>(piece[0]) & 0xC0, 0x80);
        }
        EXPECT_TRUE(IsValidUtf8(piece));
        unfolded += piece;
        start = end + 2;
    }
    EXPECT_GT(physical, 2);
    EXPECT_EQ(unfolded, line);
    // And the reader unfolds it back.
    const TVCard card = ReadOne("BEGIN:VCARD\r\nVERSION:4.0\r\n" + folded + "END:VCARD\r\n");
    EXPECT_EQ(card.Properties[0].Line, line);
    EXPECT_EQ(FoldLine("FN:short"), "FN:short\r\n");
}

TEST(VCardText, HostileInputIsReadWithinBounds) {
    // Unclosed quotes, no colons, a card in a card, a card without an end, a line
    // over the limit, and random bytes: no crash, and what can be read is.
    TVCardLimits limits;
    limits.MaxLineBytes = 1000;
    limits.MaxCards = 3;
    std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nTEL;TYPE=\"home:1\r\nno colon here\r\n"
                       "BEGIN:VCARD\r\nFN:inner\r\nEND:VCARD\r\nNOTE:" +
                       std::string(5000, 'x') + "\r\nFN:kept\r\nEND:VCARD\r\n";
    for (int i = 0; i < 5; ++i)
        text += "BEGIN:VCARD\r\nFN:" + std::to_string(i) + "\r\nEND:VCARD\r\n";
    text += "BEGIN:VCARD\r\nFN:never ends\r\n";
    const auto result = ReadVCards(text, limits);
    ASSERT_EQ(result.Cards.size(), 3u);
    ASSERT_EQ(result.Cards[0].Properties.size(), 1u);
    EXPECT_EQ(result.Cards[0].Properties[0].Value, "kept");
    EXPECT_GE(result.Problems.size(), 5u);

    TBookData& book = *NewBook("/tmp/x.ADR", NoDefaultsFile()).release();
    std::unique_ptr<TBookData> owner(&book);
    std::mt19937 rng(29);
    const char* pieces[] = {"BEGIN:VCARD\r\n",
                            "END:VCARD\r\n",
                            "VERSION:2.1\r\n",
                            "X-TESSALY-",
                            "ADDRESS:",
                            "REMINDER:",
                            ";",
                            ",",
                            "\\",
                            "=",
                            "\r\n ",
                            "\"",
                            ":",
                            "QUOTED-PRINTABLE",
                            "item1.",
                            "TEL",
                            "BDAY:--0229",
                            "\xE6",
                            "\x80"};
    const auto began = std::chrono::steady_clock::now();
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const int n = static_cast<int>(rng() % 200);
        for (int i = 0; i < n; ++i)
            input += rng() % 4 ? pieces[rng() % std::size(pieces)]
                               : std::string(1, static_cast<char>(rng() % 256));
        for (const auto& card : ReadVCards(input).Cards) {
            TVCardImportOptions options;
            options.Today = 46000;
            options.AddCategories = false;
            auto entry = VCardToEntry(card, book, options);
            ASSERT_NE(entry, nullptr);
            // What is written reads back as written, and makes the same card again.
            const std::string written = WriteVCard(EntryToVCard(*entry, book, kVCard40));
            const auto again = ReadVCards(written);
            ASSERT_EQ(again.Cards.size(), 1u) << input;
            auto second = VCardToEntry(again.Cards[0], book, options);
            ASSERT_EQ(WriteVCard(EntryToVCard(*second, book, kVCard40)), written) << input;
        }
    }
    // A long run of soft breaks and folds stays linear.
    std::string longLine = "BEGIN:VCARD\r\nVERSION:2.1\r\nNOTE;QUOTED-PRINTABLE:";
    for (int i = 0; i < 200000; ++i)
        longLine += "ab=\r\n";
    longLine += "c\r\nEND:VCARD\r\n";
    const auto big = ReadVCards(longLine);
    ASSERT_EQ(big.Cards.size(), 1u);
    EXPECT_EQ(big.Cards[0].Properties[0].Value.size(), 400001u);
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(20));
}

TEST(VCardEntry, EveryKindOfEntryComesBackFromItsCard) {
    auto book = MakeEveryKindBook();
    // A birthday among the reminders, and an entry with an address laid out by a
    // template that no longer exists.
    auto birthday = std::make_unique<TReminders>();
    birthday->When = EncodeDate(2027, 3, 5);
    birthday->Until = EncodeDate(2100, 12, 31);
    birthday->Frequency = kYearly;
    birthday->SetDescription("Birthday of Ren\xE9"
                             "e");
    book->Entries.At(0)->Reminders.Add(std::move(birthday));
    book->Entries.At(1)->Addresses.AddAddress(77);
    book->Entries.At(1)->Addresses.SetFieldOf(0, 4, "www.example.invalid/a,b");
    for (int version : {kVCard30, kVCard40}) {
        for (const auto& original : *&book->Entries) {
            const std::string text = WriteVCard(EntryToVCard(*original, *book, version));
            const TVCard card = ReadOne(text);
            TVCardImportOptions options;
            options.Today = 46000;
            auto back = VCardToEntry(card, *book, options);
            TRecord expected = *original;
            Normalise(expected);
            EXPECT_EQ(*back, expected) << text;
            // A card of our own leaves nothing to be kept: the entry holds it all.
            EXPECT_EQ(back->Notes(), expected.Notes());
        }
    }
    const TVCard card = EntryToVCard(*book->Entries.At(0), *book, kVCard40);
    ASSERT_NE(Find(card, "BDAY"), nullptr);
    EXPECT_EQ(Find(card, "BDAY")->Value, "--0305");
    EXPECT_EQ(Find(card, "CATEGORIES")->Value, "Business");
    EXPECT_EQ(Find(card, "N")->Value, "M\xC3\xBCller \xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D;"
                                      "Ren\xC3\xA9"
                                      "e;;Dr;");
}

constexpr std::string_view kForeignCard =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nPRODID:-//Someone//Else//EN\r\n"
    "N:Li;Wei;Q.;Prof.;\r\nFN:Prof. Wei Q. Li\r\n"
    "ORG:Example Ltd;Research\r\nTITLE:Chief \xE6\x9D\x8E\r\n"
    "item1.TEL;TYPE=work,voice:+44 20 7946 0000\r\nitem1.X-ABLABEL:Desk\r\n"
    "TEL;TYPE=home:+44 20 7946 0001\r\nEMAIL;TYPE=internet;X-CUSTOM=\"a;b\":wei@example.com\r\n"
    "ADR;TYPE=work:;;1 High St;London;;EC1A 1AA;UK\r\n"
    "CATEGORIES:Friends,Business\r\nBDAY:1970-02-28\r\n"
    "X-SOCIAL;TYPE=x:@wei\r\nNOTE:Met at the fair\\, 2019\r\nUID:urn:uuid:1234\r\n"
    "END:VCARD\r\n";

TEST(VCardEntry, AForeignCardIsLaidOutAndGoesBackUnchanged) {
    auto book = NewBook("/tmp/f.ADR", NoDefaultsFile());
    TVCardImportOptions options;
    options.Today = EncodeDate(2026, 12, 10);
    std::vector<std::string> problems;
    const TVCard card = ReadOne(kForeignCard);
    auto entry = VCardToEntry(card, *book, options, &problems);
    EXPECT_EQ(entry->NameField(kFieldTitle), "Prof.");
    EXPECT_EQ(entry->NameField(kFieldFirstName), "Wei");
    EXPECT_EQ(entry->NameField(kFieldSurname), "Li");
    ASSERT_EQ(entry->Addresses.Count(), 1);
    const int home = 3, work = 4, email = 6;
    EXPECT_EQ(entry->Addresses.FieldOf(0, kFieldCompany), "Example Ltd, Research");
    EXPECT_EQ(entry->Addresses.FieldOf(0, kFieldPosition), "Chief ?"); // outside the code page
    EXPECT_EQ(entry->Addresses.FieldOf(0, work), "+44 20 7946 0000");
    EXPECT_EQ(entry->Addresses.FieldOf(0, home), "+44 20 7946 0001");
    EXPECT_EQ(entry->Addresses.FieldOf(0, email), "wei@example.com");
    EXPECT_EQ(entry->Addresses.FieldOf(0, kFieldAddress), "1 High St\r\nLondon\r\nEC1A 1AA\r\nUK");
    EXPECT_EQ(NotesWithoutKept(entry->Notes()), "Met at the fair, 2019");
    // "Friends" was added to the book; "Business" was there.
    ASSERT_EQ(entry->CategoriesInUse.Count(), 2);
    EXPECT_EQ(book->Categories.NameOfId(entry->CategoriesInUse.Membership(0)), "Friends");
    EXPECT_EQ(entry->CategoriesInUse.Membership(1), 0);
    ASSERT_EQ(entry->Reminders.Count(), 1);
    EXPECT_EQ(entry->Reminders.At(0)->When, EncodeDate(2027, 2, 28));
    EXPECT_EQ(entry->Reminders.At(0)->Frequency, kYearly);
    EXPECT_EQ(entry->Reminders.At(0)->Description, "Birthday");

    // Through a save and a load of the book, and out again: every line of the card
    // that the entry could not make is written back as it was read.
    book->Entries.AddEntryCopy(*entry);
    const auto image = WriteBookImage(*book);
    auto loaded = ParseBookImage(image, NoDefaultsFile(), "/tmp/f.ADR");
    ASSERT_NE(loaded.Book, nullptr);
    for (int version : {kVCard30, kVCard40}) {
        const TVCard out = EntryToVCard(*loaded.Book->Entries.At(0), *loaded.Book, version);
        const auto lines = Lines(out);
        for (const auto& p : card.Properties) {
            if (p.Is("CATEGORIES"))
                continue; // the entry's own: the two names, in the card's order
            EXPECT_NE(std::find(lines.begin(), lines.end(), p.Line), lines.end())
                << version << " lost " << p.Line;
        }
        EXPECT_EQ(Find(out, "CATEGORIES")->Value, "Friends,Business");
    }

    // A value changed in the entry goes out as the entry has it; what the card had
    // beside it stays.
    TRecord& stored = *loaded.Book->Entries.At(0);
    stored.Addresses.SetFieldOf(0, kFieldPosition, "Chief Engineer");
    stored.Reminders.At(0)->When = EncodeDate(2027, 3, 1);
    const auto lines = Lines(EntryToVCard(stored, *loaded.Book, kVCard40));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("TITLE", 0) == 0; }),
              1);
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) {
                               return l.rfind("TITLE;", 0) == 0 &&
                                      l.find(":Chief Engineer") != std::string::npos;
                           }),
              lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "BDAY:--0301"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "item1.X-ABLABEL:Desk"), lines.end());
}

TEST(VCardEntry, ACardReadAgainFillsTheSameFields) {
    // Two numbers of one kind: the second goes to the next free field. The card made
    // from the entry must put them back where they were, round after round.
    auto book = NewBook("/tmp/t.ADR", NoDefaultsFile());
    TVCardImportOptions options;
    options.Today = 46000;
    const TVCard card = ReadOne("BEGIN:VCARD\nVERSION:2.1\nN:Weber;Jo\nTEL;WORK;VOICE:111\n"
                                "TEL;WORK;VOICE:222\nEND:VCARD\n");
    auto first = VCardToEntry(card, *book, options);
    EXPECT_EQ(first->Addresses.FieldOf(0, 4), "111"); // Work
    EXPECT_EQ(first->Addresses.FieldOf(0, 3), "222"); // Home, the first left
    std::string text = WriteVCard(EntryToVCard(*first, *book, kVCard30));
    for (int round = 0; round < 3; ++round) {
        auto again = VCardToEntry(ReadOne(text), *book, options);
        EXPECT_EQ(again->Addresses, first->Addresses);
        EXPECT_EQ(WriteVCard(EntryToVCard(*again, *book, kVCard30)), text);
    }
    // Two equal reminders written otherwise than the entry writes them: each round
    // gives two again, never one more.
    const std::string rem = "X-TESSALY-REMINDER:46000;00;0;5;1;0;0;1;46000;5;Call;\r\n";
    std::string twice =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Weber;Jo\r\n" + rem + rem + "END:VCARD\r\n";
    for (int round = 0; round < 3; ++round) {
        auto e = VCardToEntry(ReadOne(twice), *book, options);
        EXPECT_EQ(e->Reminders.Count(), 2);
        twice = WriteVCard(EntryToVCard(*e, *book, kVCard40));
    }

    // Addresses numbered otherwise than the entry numbers them, with a line the entry
    // keeps (its value has a character the code page lacks): the value stays in its
    // address.
    std::string numbered =
        "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Weber;Jo\r\n"
        "X-TESSALY-ADDRESS:2;1;Address 1;0;1,0,0,0,;1,0,0,0,;1,0,0,0,;1,0,0,0,\r\n"
        "X-TESSALY-ADDRESS:1;1;Address 1;0;1,0,0,0,;1,0,0,0,;1,0,0,0,;1,0,0,0,\r\n"
        "ORG;X-TESSALY-FIELD=1.1:Acme \xE6\x9D\x8E\r\nEND:VCARD\r\n";
    for (int round = 0; round < 3; ++round) {
        auto e = VCardToEntry(ReadOne(numbered), *book, options);
        ASSERT_EQ(e->Addresses.Count(), 2);
        EXPECT_EQ(e->Addresses.FieldOf(1, kFieldCompany), "Acme ?") << numbered;
        numbered = WriteVCard(EntryToVCard(*e, *book, kVCard40));
        EXPECT_NE(numbered.find(":Acme \xE6\x9D\x8E\r\n"), std::string::npos);
    }

    // Two CATEGORIES, one of them just what the entry makes: both go out again, or
    // the next reading loses a category.
    const TVCard two = ReadOne("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Weber;Jo\r\nCATEGORIES:Friends,\r\n"
                               "CATEGORIES:Friends,Business\r\nEND:VCARD\r\n");
    auto member = VCardToEntry(two, *book, options);
    ASSERT_EQ(member->CategoriesInUse.Count(), 2);
    for (int version : {kVCard30, kVCard40}) {
        auto again = VCardToEntry(ReadOne(WriteVCard(EntryToVCard(*member, *book, version))), *book,
                                  options);
        EXPECT_EQ(again->CategoriesInUse, member->CategoriesInUse);
    }
}

TEST(VCardEntry, KeptLinesReadBackExactly) {
    const std::vector<TVCardKept> kept = {
        {"", "X-A:\xE6\x9D\x8E &#38; & #\x01 \xC3\xA9\xF0\x9F\x98\x80"},
        {"0a1b2c3d", "item2.TEL;X-Y=\"1,2\":&#"},
        {"", "X-LAST:ends in blanks  "}};
    const std::string notes = NotesWithKept("My notes\r\n\r\n", kept);
    EXPECT_EQ(notes.find('\x01'), std::string::npos);
    EXPECT_EQ(notes.rfind("My notes\r\n\r\n", 0), 0u);
    EXPECT_EQ(NotesWithoutKept(notes), "My notes");
    EXPECT_EQ(KeptOfNotes(notes), kept);
    // Lines past the longest text a book holds are dropped whole.
    std::vector<TVCardKept> many(3000, {"", "X-LONG:" + std::string(40, 'z')});
    int dropped = 0;
    const std::string full = NotesWithKept("", many, &dropped);
    EXPECT_LE(full.size(), kMaxTextLength);
    EXPECT_GT(dropped, 0);
    EXPECT_EQ(KeptOfNotes(full).size() + static_cast<std::size_t>(dropped), many.size());
}

} // namespace
} // namespace tessaly
