// Two books editing the same people at random, with sync rounds through a Radicale
// server in between. A model of what each side and the server hold says what must
// come of every round: in the end both books hold exactly the entries the model
// expects, and every entry changed on both sides between two rounds left its local
// version as a copy in "Sync Conflicts".

#include "core/exchange/vcard_kept.h"
#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/book_sync.h"
#include "platform/qt_http_client.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"
#include "tests/sync/radicale_test.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace tessaly {
namespace {

using testing::TRadicaleServer;
using testing::TScratchDir;

struct TVersion {
    int Number = 0;
    std::string Text; // the entry's notes
};

// What one book holds and what it last agreed on with the server.
struct TSide {
    std::string Path;
    std::map<std::string, std::string> Live; // surname -> notes
    std::map<std::string, int> Base;         // surname -> server version at the last round
    std::set<std::string> Dirty;             // changed or added since the last round
    std::set<std::string> Deleted;           // deleted since the last round, once synced
};

class RandomEditsTest : public testing::TRadicaleTest {
protected:
    void SetUp() override {
        TRadicaleTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        THttpClientOptions login;
        login.User = "ann";
        http_ = std::make_unique<TQtHttpClient>(login);
    }

    std::string NewBookFile(const std::string& relative) {
        const std::string path = dir_.File(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        auto book = NewBook(path, testing::NoDefaultsFile());
        EXPECT_TRUE(SaveBook(*book, false, testing::NoDefaultsFile()).Ok);
        return path;
    }

    template <class F> void Edit(const std::string& path, F change) {
        auto loaded = LoadBook(path, testing::NoDefaultsFile());
        ASSERT_TRUE(loaded.Book);
        change(*loaded.Book);
        ASSERT_TRUE(SaveBook(*loaded.Book, false, testing::NoDefaultsFile()).Ok);
    }

    static bool IsCopy(const TBookData& book, const TRecord& e) {
        const int index = book.Categories.FindCategoryByName(kSyncConflictsCategory);
        return index >= 0 &&
               e.CategoriesInUse.FindMembership(book.Categories.CategoryId(index)) >= 0;
    }

    // The entry of that name that is not a conflict copy.
    static int Original(const TBookData& book, const std::string& surname) {
        for (int i = 0; i < book.Entries.Count(); ++i)
            if (book.Entries.At(i)->NameField(kFieldSurname) == surname &&
                !IsCopy(book, *book.Entries.At(i)))
                return i;
        return -1;
    }

    static std::string Line(const std::string& surname, const std::string& notes, bool copy) {
        return surname + "|" + notes + (copy ? "|conflict" : "");
    }

    std::multiset<std::string> Contents(const std::string& path) {
        std::multiset<std::string> out;
        auto loaded = LoadBook(path, testing::NoDefaultsFile());
        EXPECT_TRUE(loaded.Book);
        if (!loaded.Book)
            return out;
        for (int i = 0; i < loaded.Book->Entries.Count(); ++i) {
            const TRecord& e = *loaded.Book->Entries.At(i);
            std::string notes = NotesWithoutKept(e.Notes());
            while (!notes.empty() && (notes.back() == '\n' || notes.back() == '\r'))
                notes.pop_back();
            out.insert(Line(e.NameField(kFieldSurname), notes, IsCopy(*loaded.Book, e)));
        }
        return out;
    }

    // A round of the book, and what the model says it does: the server's changes come
    // in, an entry changed on both sides keeps its local version as a copy, an entry
    // deleted on one side and changed on the other stays, the rest goes up.
    void Round(TSide& side) {
        TSyncOptions options;
        options.Server = server_->Url("/ann/");
        options.Settings = testing::NoDefaultsFile();
        const TSyncResult result = SyncBook(side.Path, options, *http_);
        ASSERT_TRUE(result.Ok) << result.Failure;
        conflictsReported_ += result.Conflicts;

        const auto upload = [&](const std::string& name) {
            served_[name] = {++version_, side.Live[name]};
            side.Base[name] = version_;
        };
        for (const auto& [name, there] : served_) {
            const auto base = side.Base.find(name);
            const bool changedThere = base == side.Base.end() || base->second != there.Number;
            if (!changedThere)
                continue;
            if (side.Live.count(name) && side.Dirty.count(name) && base != side.Base.end()) {
                copies_.insert(Line(name, side.Live[name], true));
                side.Dirty.erase(name);
            }
            side.Deleted.erase(name); // changed there: it comes back
            side.Live[name] = there.Text;
            side.Base[name] = there.Number;
        }
        for (auto it = side.Base.begin(); it != side.Base.end();) {
            const std::string name = it->first;
            if (served_.count(name)) {
                ++it;
                continue;
            }
            it = side.Base.erase(it);
            side.Deleted.erase(name);
            if (!side.Live.count(name))
                continue;
            if (side.Dirty.count(name))
                continue; // changed here, deleted there: sent again below
            side.Live.erase(name);
        }
        for (const auto& name : side.Deleted) {
            served_.erase(name);
            side.Base.erase(name);
        }
        side.Deleted.clear();
        for (const auto& name : side.Dirty)
            upload(name);
        side.Dirty.clear();
    }

    void Change(TSide& side, std::mt19937& random, int step) {
        const int kind = static_cast<int>(random() % 20);
        const bool few = side.Live.size()<4, many = side.Live.size()> 9;
        if (side.Live.empty() || (few && kind < 10) || kind < 3) {
            const std::string name = "N" + std::to_string(++added_);
            const std::string notes = "added at " + std::to_string(step);
            Edit(side.Path, [&](TBookData& book) {
                auto e = std::make_unique<TRecord>();
                e->SetNameField(kFieldSurname, name);
                e->SetNotes(notes);
                book.Entries.Add(std::move(e));
            });
            side.Live[name] = notes;
            side.Dirty.insert(name);
            return;
        }
        auto pick = side.Live.begin();
        std::advance(pick, static_cast<long>(random() % side.Live.size()));
        const std::string name = pick->first;
        if (kind < 17 && !many) {
            const std::string notes = "changed at " + std::to_string(step);
            Edit(side.Path, [&](TBookData& book) {
                const int i = Original(book, name);
                ASSERT_GE(i, 0) << name;
                book.Entries.At(i)->SetNotes(notes);
            });
            side.Live[name] = notes;
            side.Dirty.insert(name);
            return;
        }
        Edit(side.Path, [&](TBookData& book) {
            const int i = Original(book, name);
            ASSERT_GE(i, 0) << name;
            book.Entries.Delete(i);
        });
        side.Live.erase(name);
        side.Dirty.erase(name);
        if (side.Base.count(name))
            side.Deleted.insert(name);
    }

    std::multiset<std::string> Expected() const {
        std::multiset<std::string> out = copies_;
        for (const auto& [name, there] : served_)
            out.insert(Line(name, there.Text, false));
        return out;
    }

    std::unique_ptr<TQtHttpClient> http_;
    std::map<std::string, TVersion> served_;
    std::multiset<std::string> copies_;
    int version_ = 0;
    int added_ = 0;
    int conflictsReported_ = 0;
};

TEST_F(RandomEditsTest, AThousandEditsOnBothSidesEndTheSameWithEveryConflictKept) {
    // Two books of one name, so that both find the one address book.
    TSide sides[2];
    sides[0].Path = NewBookFile("Shared.ADR");
    sides[1].Path = NewBookFile("Other/Shared.ADR");
    std::mt19937 random(1729);
    for (int step = 1; step <= 1000; ++step) {
        TSide& side = sides[random() % 2];
        ASSERT_NO_FATAL_FAILURE(Change(side, random, step));
        if (step % 12 == 0) {
            ASSERT_NO_FATAL_FAILURE(Round(sides[random() % 2]));
        }
    }
    for (int twice = 0; twice < 2; ++twice)
        for (TSide& side : sides)
            ASSERT_NO_FATAL_FAILURE(Round(side));

    EXPECT_GT(copies_.size(), 10u) << "too few conflicts to show anything";
    EXPECT_EQ(conflictsReported_, static_cast<int>(copies_.size()));
    const auto expected = Expected();
    EXPECT_EQ(Contents(sides[0].Path), expected);
    EXPECT_EQ(Contents(sides[1].Path), expected);
}

} // namespace
} // namespace tessaly
