// tessaly-cli list and searches on a small book written for the purpose.

#include "cli/list_commands.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using clitest::TRun;

class OrgListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        FakeClock clock(EncodeDate(2024, 3, 10));
        auto book = NewBook(path, testing::NoDefaultsFile(), clock);
        auto add = [&](const char* first, const char* surname, int category) {
            TRecord e;
            e.SetNameField(kFieldFirstName, first);
            e.SetNameField(kFieldSurname, surname);
            if (category >= 0)
                e.CategoriesInUse.AddMembership(category);
            book->Entries.AddEntryCopy(e, clock);
        };
        add("zoe", "Adams", 0);
        add("\xC9mile", "Zola", -1); // E acute, printed as UTF-8
        add("Ann", "Smith-Jones", 1);
        add("ann", "smith", 0);

        book->Searches.SelectSearch("Business");
        TFilter* business = book->Searches.ActiveSearch();
        business->CategoriesOn = 1;
        business->CategoriesInUse.AddMembership(0);
        book->Searches.SelectSearch("Smiths");
        TFilter* smiths = book->Searches.ActiveSearch();
        smiths->Rules.Add(MakeRule(kFieldSurname, -1, true, 0, 0, true, false, "smith"));
        smiths->Rules.Add(MakeRule(kRuleCreated, -1, false, EncodeDate(2024, 3, 1),
                                   EncodeDate(2024, 3, 31), false, false, ""));
        ASSERT_TRUE(SaveBook(*book, false, testing::NoDefaultsFile()).Ok);
    }

    testing::TScratchDir dir;
    std::string path = dir.File("PEOPLE.ADR");
};

TEST_F(OrgListCommands, ListUsesTheActiveSearchOrTheNamedOne) {
    TRun active;
    ASSERT_EQ(CommandList(path, std::nullopt, active.Streams()), 0) << active.Err.str();
    EXPECT_EQ(active.Out.str(), "ann smith\nAnn Smith-Jones\n");

    TRun named;
    ASSERT_EQ(CommandList(path, std::string("business"), named.Streams()), 0);
    EXPECT_EQ(named.Out.str(), "ann smith\nzoe Adams\n");

    TRun all;
    ASSERT_EQ(CommandList(path, std::string("<Untitled>"), all.Streams()), 0);
    EXPECT_EQ(all.Out.str(), "ann smith\nAnn Smith-Jones\nzoe Adams\n\xC3\x89mile Zola\n");

    TRun unknown;
    EXPECT_EQ(CommandList(path, std::string("Golf"), unknown.Streams()), 1);
    EXPECT_EQ(unknown.Out.str(), "");
    EXPECT_EQ(unknown.Err.str(), "No saved search is named \"Golf\"\n");
}

TEST_F(OrgListCommands, SearchesShowsTheActiveOneAndTheRules) {
    TRun run;
    ASSERT_EQ(CommandSearches(path, run.Streams()), 0) << run.Err.str();
    EXPECT_EQ(run.Out.str(),
              "  <Untitled>\n"
              "  Business\n"
              "* Smiths\n"
              "    Surname: Containing Word \"smith\"\n"
              "    Entry Created: Between Dates \"01/03/2024\" and \"31/03/2024\"\n");
}

TEST_F(OrgListCommands, AnUnreadableBookFails) {
    TRun run;
    EXPECT_EQ(CommandList(dir.File("MISSING.ADR"), std::nullopt, run.Streams()), 1);
    EXPECT_EQ(run.Out.str(), "");
    EXPECT_NE(run.Err.str().find("MISSING.ADR"), std::string::npos);
    TRun searches;
    EXPECT_EQ(CommandSearches(dir.File("MISSING.ADR"), searches.Streams()), 1);
}

} // namespace
} // namespace tessaly
