// Books synced through a CardDAV server held in memory: both directions, conflicts,
// deletions against changes, the fallbacks, rounds cut short and a lost state.

#include "core/exchange/vcard_kept.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/book_sync.h"
#include "core/sync/sync_state.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_dav_server.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace tessaly {
namespace {

using testing::TFakeDavServer;
using testing::TScratchDir;

class SyncBookTest : public ::testing::Test {
protected:
    std::string MakeBook(const std::string& name, const std::vector<std::string>& surnames) {
        const std::string path = dir.File(name + ".ADR");
        auto book = NewBook(path, testing::NoDefaultsFile());
        for (const auto& s : surnames) {
            auto e = std::make_unique<TRecord>();
            e->SetNameField(kFieldSurname, s);
            e->SetNameField(kFieldFirstName, "First " + s);
            book->Entries.Add(std::move(e));
        }
        EXPECT_TRUE(SaveBook(*book, false, testing::NoDefaultsFile()).Ok);
        return path;
    }

    template <class F> void Edit(const std::string& path, F change) {
        auto loaded = LoadBook(path, testing::NoDefaultsFile());
        ASSERT_TRUE(loaded.Book);
        change(*loaded.Book);
        ASSERT_TRUE(SaveBook(*loaded.Book, false, testing::NoDefaultsFile()).Ok);
    }

    static TRecord* BySurname(TBookData& book, const std::string& surname) {
        for (int i = 0; i < book.Entries.Count(); ++i)
            if (book.Entries.At(i)->NameField(kFieldSurname) == surname)
                return book.Entries.At(i);
        return nullptr;
    }

    void SetNotes(const std::string& path, const std::string& surname, const std::string& notes) {
        Edit(path, [&](TBookData& b) {
            TRecord* e = BySurname(b, surname);
            ASSERT_TRUE(e) << surname;
            e->SetNotes(notes);
        });
    }

    void Remove(const std::string& path, const std::string& surname) {
        Edit(path, [&](TBookData& b) {
            for (int i = 0; i < b.Entries.Count(); ++i)
                if (b.Entries.At(i)->NameField(kFieldSurname) == surname)
                    b.Entries.Delete(i);
        });
    }

    TSyncResult Sync(const std::string& path, const std::string& serverUrl = std::string()) {
        TSyncOptions options;
        options.Server = serverUrl;
        options.Settings = testing::NoDefaultsFile();
        options.FetchBatch = 7;
        options.StateSaveEvery = 5;
        return SyncBook(path, options, server);
    }

    // What each entry says, one line per entry: surname, first name, the user's notes
    // and whether it is a conflict copy; sorted, so two books compare.
    std::multiset<std::string> Contents(const std::string& path) {
        std::multiset<std::string> out;
        auto loaded = LoadBook(path, testing::NoDefaultsFile());
        EXPECT_TRUE(loaded.Book);
        if (!loaded.Book)
            return out;
        const int conflicts = loaded.Book->Categories.FindCategoryByName(kSyncConflictsCategory);
        const int id = loaded.Book->Categories.CategoryId(conflicts);
        for (int i = 0; i < loaded.Book->Entries.Count(); ++i) {
            const TRecord& e = *loaded.Book->Entries.At(i);
            const bool copy = conflicts >= 0 && e.CategoriesInUse.FindMembership(id) >= 0;
            std::string notes = NotesWithoutKept(e.Notes());
            while (!notes.empty() && (notes.back() == '\n' || notes.back() == '\r'))
                notes.pop_back();
            out.insert(e.NameField(kFieldSurname) + "|" + e.NameField(kFieldFirstName) + "|" +
                       notes + (copy ? "|conflict" : ""));
        }
        return out;
    }

    std::size_t Members() const {
        std::size_t n = 0;
        for (const auto& [path, c] : server.Collections)
            n += c.Members.size();
        return n;
    }

    TScratchDir dir;
    TFakeDavServer server;
};

TEST_F(SyncBookTest, FirstSyncFindsOrMakesTheAddressBookAndBothBooksMeet) {
    const std::string a = MakeBook("Office", {"Adams", "Brown", "Clark"});
    TSyncResult r = Sync(a, TFakeDavServer::kOrigin);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_TRUE(r.CreatedCollection);
    EXPECT_EQ(r.Collection, std::string(TFakeDavServer::kOrigin) + "/dav/user/Office/");
    EXPECT_EQ(r.Uploaded, 3);
    EXPECT_EQ(Members(), 3u);
    EXPECT_EQ(server.Collections["/dav/user/Office/"].DisplayName, "Office");

    // A second book of the same name finds that address book; it has entries of its own.
    const std::string b = MakeBook("Office2", {"Dixon"});
    TSyncResult rb = Sync(b, r.Collection);
    ASSERT_TRUE(rb.Ok) << rb.Failure;
    EXPECT_FALSE(rb.CreatedCollection);
    EXPECT_EQ(rb.Downloaded, 3);
    EXPECT_EQ(rb.Uploaded, 1);
    ASSERT_TRUE(Sync(a).Ok); // the address is remembered
    EXPECT_EQ(Contents(a), Contents(b));
    EXPECT_EQ(Contents(a).size(), 4u);

    // Changes, additions and deletions on one side reach the other.
    SetNotes(b, "Adams", "moved to Leeds");
    Remove(b, "Brown");
    Edit(b, [](TBookData& book) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, "Evans");
        book.Entries.Add(std::move(e));
    });
    TSyncResult up = Sync(b);
    ASSERT_TRUE(up.Ok) << up.Failure;
    EXPECT_EQ(up.Uploaded, 2);
    EXPECT_EQ(up.DeletedOnServer, 1);
    TSyncResult down = Sync(a);
    ASSERT_TRUE(down.Ok) << down.Failure;
    EXPECT_EQ(down.Downloaded, 2);
    EXPECT_EQ(down.DeletedLocally, 1);
    EXPECT_EQ(Contents(a), Contents(b));
    EXPECT_EQ(Members(), 4u);

    // Nothing changed: nothing moves.
    TSyncResult idle = Sync(a);
    EXPECT_EQ(idle.Uploaded + idle.Downloaded + idle.DeletedLocally + idle.DeletedOnServer, 0);
}

// A book written by an older build may hold two entries with one stamp: each becomes a
// card of its own rather than the two overwriting one card.
TEST_F(SyncBookTest, EntriesSharingAStampBecomeCardsOfTheirOwn) {
    const std::string a = MakeBook("Twins", {"Adams", "Brown", "Clark"});
    Edit(a, [](TBookData& book) { book.Entries.At(2)->Stamp = book.Entries.At(0)->Stamp; });
    TSyncResult r = Sync(a, TFakeDavServer::kOrigin);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_EQ(r.Uploaded, 3);
    EXPECT_EQ(Members(), 3u);
    auto loaded = LoadBook(a, testing::NoDefaultsFile());
    ASSERT_TRUE(loaded.Book);
    EXPECT_NE(loaded.Book->Entries.StampAt(0), loaded.Book->Entries.StampAt(2));

    const std::string b = MakeBook("Twins2", {});
    ASSERT_TRUE(Sync(b, r.Collection).Ok);
    EXPECT_EQ(Contents(b), Contents(a));
    TSyncResult idle = Sync(a);
    EXPECT_EQ(idle.Uploaded + idle.Downloaded, 0);
}

TEST_F(SyncBookTest, BothSidesChangedKeepsTheLocalVersionAsATaggedCopy) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown"});
    const std::string b = MakeBook("B", {});
    ASSERT_TRUE(Sync(a, url).Ok);
    ASSERT_TRUE(Sync(b, url).Ok);
    SetNotes(a, "Adams", "from A");
    SetNotes(b, "Adams", "from B");
    ASSERT_TRUE(Sync(a).Ok);
    TSyncResult r = Sync(b);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_EQ(r.Conflicts, 1);
    const auto contents = Contents(b);
    EXPECT_EQ(contents.count("Adams|First Adams|from A"), 1u);
    EXPECT_EQ(contents.count("Adams|First Adams|from B|conflict"), 1u);
    auto loaded = LoadBook(b, testing::NoDefaultsFile());
    int tagged = 0;
    for (int i = 0; i < loaded.Book->Entries.Count(); ++i)
        tagged += loaded.Book->Entries.At(i)->Tagged;
    EXPECT_EQ(tagged, 1);
    ASSERT_TRUE(Sync(a).Ok);
    EXPECT_EQ(Contents(a), Contents(b));
    EXPECT_EQ(Members(), 3u);
}

TEST_F(SyncBookTest, ADeletionNeverWinsOverAChange) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown"});
    const std::string b = MakeBook("B", {});
    ASSERT_TRUE(Sync(a, url).Ok);
    ASSERT_TRUE(Sync(b, url).Ok);
    // Changed on the server first, deleted here.
    SetNotes(a, "Adams", "still here");
    Remove(b, "Adams");
    ASSERT_TRUE(Sync(a).Ok);
    ASSERT_TRUE(Sync(b).Ok);
    EXPECT_EQ(Contents(b).count("Adams|First Adams|still here"), 1u);
    // Deleted on the server first, changed here.
    Remove(a, "Brown");
    SetNotes(b, "Brown", "changed");
    ASSERT_TRUE(Sync(a).Ok);
    ASSERT_TRUE(Sync(b).Ok);
    ASSERT_TRUE(Sync(a).Ok);
    EXPECT_EQ(Contents(a).count("Brown|First Brown|changed"), 1u);
    EXPECT_EQ(Contents(a), Contents(b));
    EXPECT_EQ(Members(), 2u);
}

TEST_F(SyncBookTest, RefusedOrStaleTokensFallBackToComparingETags) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown", "Clark"});
    const std::string b = MakeBook("B", {});
    server.RefuseSyncCollection = true;
    ASSERT_TRUE(Sync(a, url).Ok);
    ASSERT_TRUE(Sync(b, url).Ok);
    SetNotes(a, "Clark", "one");
    Remove(a, "Brown");
    ASSERT_TRUE(Sync(a).Ok);
    TSyncResult r = Sync(b);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_EQ(r.Downloaded, 1);
    EXPECT_EQ(r.DeletedLocally, 1);
    EXPECT_EQ(Contents(a), Contents(b));

    server.RefuseSyncCollection = false;
    ASSERT_TRUE(Sync(b).Ok); // takes a token
    SetNotes(a, "Clark", "two");
    ASSERT_TRUE(Sync(a).Ok);
    server.ForgetLog(); // B's token is now refused
    r = Sync(b);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_EQ(r.Downloaded, 1);
    EXPECT_EQ(r.Conflicts, 0);
    EXPECT_EQ(Contents(a), Contents(b));
}

TEST_F(SyncBookTest, APutWithoutETagIsConfirmedAndAPreconditionFailureIsAConflict) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown"});
    server.PutWithoutETag = true;
    ASSERT_TRUE(Sync(a, url).Ok);
    TSyncState state;
    std::string why;
    ASSERT_EQ(ReadSyncState(SyncStatePath(a), state, why), TSyncStateRead::Read);
    ASSERT_EQ(state.Entries.size(), 2u);
    for (const auto& [stamp, record] : state.Entries) {
        EXPECT_FALSE(record.ETag.empty());
        EXPECT_EQ(record.ETag,
                  server.Collections["/dav/user/Shared/"]
                      .Members[record.Url.substr(std::string(TFakeDavServer::kOrigin).size())]
                      .ETag);
    }
    TSyncResult idle = Sync(a);
    EXPECT_EQ(idle.Uploaded + idle.Downloaded, 0);

    // Another client writes the card between this round's listing and its PUT.
    server.PutWithoutETag = false;
    SetNotes(a, "Adams", "mine");
    std::string adams;
    for (const auto& [path, m] : server.Collections["/dav/user/Shared/"].Members)
        if (m.Data.find("Adams") != std::string::npos)
            adams = TFakeDavServer::kOrigin + path;
    const std::string theirs =
        server.Collections["/dav/user/Shared/"].Members[adams.substr(15)].Data;
    std::string changed = theirs;
    changed.replace(changed.find("First Adams"), 11, "Anne");
    server.BeforeAnswer = [&](const THttpRequest& request) {
        if (request.Method == "PUT" && request.Url == adams) {
            server.BeforeAnswer = nullptr;
            server.PutDirect(adams, changed);
        }
    };
    TSyncResult r = Sync(a);
    ASSERT_TRUE(r.Ok) << r.Failure;
    EXPECT_EQ(r.Conflicts, 1);
    const auto contents = Contents(a);
    EXPECT_EQ(contents.count("Adams|Anne|"), 1u);
    EXPECT_EQ(contents.count("Adams|First Adams|mine|conflict"), 1u);
    EXPECT_EQ(Members(), 3u); // the copy went up in a further round
}

// The server answers some request of a round with nothing (before or after doing
// it); the next round finishes the work: both books end equal, nothing doubled.
TEST_F(SyncBookTest, ARoundCutShortAtAnyRequestIsFinishedByTheNext) {
    for (bool after : {false, true}) {
        for (int n = 1; n <= 14; ++n) {
            SCOPED_TRACE("request " + std::to_string(n) + (after ? " done, answer lost" : ""));
            server = TFakeDavServer();
            const std::string url = server.AddBook("Shared");
            const std::string a = MakeBook("A" + std::to_string(n) + std::to_string(after),
                                           {"Adams", "Brown", "Clark"});
            const std::string b =
                MakeBook("B" + std::to_string(n) + std::to_string(after), {"Dixon"});
            ASSERT_TRUE(Sync(a, url).Ok);
            ASSERT_TRUE(Sync(b, url).Ok);
            SetNotes(a, "Adams", "a");
            SetNotes(b, "Adams", "b");
            Remove(a, "Brown");
            SetNotes(b, "Clark", "c");
            Edit(b, [](TBookData& book) {
                auto e = std::make_unique<TRecord>();
                e->SetNameField(kFieldSurname, "Evans");
                book.Entries.Add(std::move(e));
            });
            ASSERT_TRUE(Sync(a).Ok);
            server.DropRequest(n, after);
            Sync(b);             // may fail at the dropped request
            server.CancelDrop(); // a round of fewer requests met none
            const TSyncResult again = Sync(b);
            ASSERT_TRUE(again.Ok) << again.Failure;
            ASSERT_TRUE(Sync(a).Ok);
            ASSERT_TRUE(Sync(b).Ok);
            const auto contents = Contents(b);
            EXPECT_EQ(Contents(a), contents);
            EXPECT_EQ(contents, (std::multiset<std::string>{
                                    "Adams|First Adams|a", "Adams|First Adams|b|conflict",
                                    "Clark|First Clark|c", "Dixon|First Dixon|", "Evans||"}));
            EXPECT_EQ(Members(), 5u);
        }
    }
}

// The process dies after writing the book and before writing the state: the next
// round recognises what the book already has.
TEST_F(SyncBookTest, ABookWrittenWithoutItsStateIsNotDoubled) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown"});
    const std::string b = MakeBook("B", {"Clark"});
    ASSERT_TRUE(Sync(a, url).Ok);
    ASSERT_TRUE(Sync(b, url).Ok);
    SetNotes(a, "Adams", "new");
    Edit(a, [](TBookData& book) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, "Evans");
        book.Entries.Add(std::move(e));
    });
    ASSERT_TRUE(Sync(a).Ok);
    const auto before = testing::ReadBytes(SyncStatePath(b));
    ASSERT_TRUE(Sync(b).Ok);
    testing::WriteBytes(SyncStatePath(b), before);
    TSyncResult again = Sync(b);
    ASSERT_TRUE(again.Ok) << again.Failure;
    EXPECT_EQ(again.Conflicts, 0);
    EXPECT_EQ(again.Uploaded, 0);
    EXPECT_EQ(Contents(a), Contents(b));
    EXPECT_EQ(Contents(b).size(), 4u);
}

TEST_F(SyncBookTest, ADamagedStateIsSetAsideAndTheCardsCompared) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Adams", "Brown"});
    ASSERT_TRUE(Sync(a, url).Ok);
    testing::WriteBytes(SyncStatePath(a), {'{', '"', 'x'});
    TSyncResult lost = Sync(a);
    EXPECT_FALSE(lost.Ok); // the address is gone with the state
    EXPECT_NE(lost.Failure.find("server"), std::string::npos) << lost.Failure;
    SetNotes(a, "Brown", "edited meanwhile");
    TSyncResult r = Sync(a, url);
    ASSERT_TRUE(r.Ok) << r.Failure;
    ASSERT_EQ(r.Notes.size(), 1u);
    EXPECT_NE(r.Notes[0].find("A.ADR.sync"), std::string::npos) << r.Notes[0];
    EXPECT_EQ(r.Conflicts, 1); // no common past: both versions kept
    EXPECT_EQ(Contents(a).size(), 3u);
    EXPECT_EQ(Members(), 3u);

    TSyncState state;
    std::string why;
    testing::WriteBytes(SyncStatePath(a), {'{', '}'});
    EXPECT_EQ(ReadSyncState(SyncStatePath(a), state, why), TSyncStateRead::Damaged);
    const std::string newer =
        R"({"format":"tessaly-sync","version":2,"server":"","collection":"","token":"","entries":[]})";
    testing::WriteBytes(SyncStatePath(a), std::vector<std::uint8_t>(newer.begin(), newer.end()));
    EXPECT_EQ(ReadSyncState(SyncStatePath(a), state, why), TSyncStateRead::Damaged);
    EXPECT_NE(why.find("version 2"), std::string::npos) << why;
}

// A round passes over entries as stored when last synced without making their cards;
// what else a card says (the names of its categories) still sends it again.
TEST_F(SyncBookTest, OnlyEntriesWhoseCardsChangedGoUpAgain) {
    const std::string url = server.AddBook("Shared");
    const std::string a = MakeBook("A", {"Ames", "Bell", "Cole"});
    Edit(a, [](TBookData& book) {
        const int id = book.Categories.CategoryId(book.Categories.AddCategory("Friends", false));
        BySurname(book, "Ames")->CategoriesInUse.AddMembership(id);
        BySurname(book, "Bell")->CategoriesInUse.AddMembership(id);
    });
    ASSERT_EQ(Sync(a, url).Uploaded, 3);
    EXPECT_EQ(Sync(a).Uploaded, 0);
    SetNotes(a, "Cole", "moved");
    EXPECT_EQ(Sync(a).Uploaded, 1);
    Edit(a, [](TBookData& book) {
        const int i = book.Categories.FindCategoryByName("Friends");
        ASSERT_TRUE(book.Categories.UpdateCategory(i, "Old Friends", false));
    });
    EXPECT_EQ(Sync(a).Uploaded, 2);
    EXPECT_EQ(Sync(a).Uploaded, 0);

    const std::string b = MakeBook("B", {});
    ASSERT_TRUE(Sync(b, url).Ok);
    EXPECT_EQ(Contents(b), Contents(a));
}

// Random edits on two books with rounds in between: in the end both hold the same
// entries, every entry added and never deleted is there, and every conflict reported
// is a copy in both books.
TEST_F(SyncBookTest, RandomEditsOnTwoBooksEndTheSame) {
    const std::string url = server.AddBook("Shared");
    const std::string books[2] = {MakeBook("A", {"Seed1", "Seed2"}), MakeBook("B", {})};
    ASSERT_TRUE(Sync(books[0], url).Ok);
    ASSERT_TRUE(Sync(books[1], url).Ok);
    std::mt19937 random(29);
    int added = 0, conflicts = 0;
    std::set<std::string> deleted;
    for (int step = 0; step < 300; ++step) {
        const std::string& path = books[random() % 2];
        const int kind = static_cast<int>(random() % 10);
        Edit(path, [&](TBookData& book) {
            if (kind < 3 || book.Entries.Count() == 0) {
                auto e = std::make_unique<TRecord>();
                e->SetNameField(kFieldSurname, "N" + std::to_string(++added));
                book.Entries.Add(std::move(e));
            } else if (kind < 9) {
                TRecord* e = book.Entries.At(static_cast<int>(random() % book.Entries.Count()));
                e->SetNotes("edit " + std::to_string(step));
            } else {
                const int i = static_cast<int>(random() % book.Entries.Count());
                deleted.insert(book.Entries.At(i)->NameField(kFieldSurname));
                book.Entries.Delete(i);
            }
        });
        if (random() % 8 == 0) {
            const TSyncResult r = Sync(path);
            ASSERT_TRUE(r.Ok) << r.Failure;
            conflicts += r.Conflicts;
        }
    }
    for (int round = 0; round < 2; ++round)
        for (const auto& path : books) {
            const TSyncResult r = Sync(path);
            ASSERT_TRUE(r.Ok) << r.Failure;
            conflicts += r.Conflicts;
        }
    const auto a = Contents(books[0]);
    EXPECT_EQ(a, Contents(books[1]));
    EXPECT_EQ(a.size(), Members());
    std::set<std::string> surnames;
    int copies = 0;
    for (const auto& line : a) {
        surnames.insert(line.substr(0, line.find('|')));
        copies += line.ends_with("|conflict") ? 1 : 0;
    }
    for (int n = 1; n <= added; ++n) {
        if (!deleted.count("N" + std::to_string(n))) {
            EXPECT_TRUE(surnames.count("N" + std::to_string(n))) << n;
        }
    }
    EXPECT_GT(conflicts, 0);
    EXPECT_GE(copies, 1);
}

} // namespace
} // namespace tessaly
