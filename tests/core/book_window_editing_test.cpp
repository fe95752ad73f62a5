// Editing in the book window, as decided outside the widgets: the edit-mode state
// machine with fast edit, focus placement, the category check, the delete walk,
// finding entries in the list, the Notes commands, tags and the Save As checks.

#include "core/book_window/delete_walk.h"
#include "core/book_window/dropped_files.h"
#include "core/book_window/edit_mode.h"
#include "core/book_window/entry_templates.h"
#include "core/book_window/find_entry.h"
#include "core/book_window/notes_text.h"
#include "core/book_window/save_as.h"
#include "core/book_window/tagging.h"
#include "core/store/book_file.h"
#include "tests/support/fake_clock.h"
#include "tests/support/every_kind_book.h"

#include <gtest/gtest.h>

using namespace tessaly;
using tessaly::testing::NoDefaultsFile;

// ---- edit mode ---------------------------------------------------------------------

TEST(EditModeTest, AddUpdateApplyAndCancelMoveThroughTheModes) {
    TEditMode m;
    EXPECT_TRUE(m.StartAdding());
    EXPECT_EQ(m.Mode(), kEditAdding);
    EXPECT_FALSE(m.StartUpdating(true)); // one edit at a time
    EXPECT_FALSE(m.StartAdding());
    const auto d = m.Apply(false, false);
    EXPECT_EQ(d.What, TEditMode::TApply::Store);
    EXPECT_EQ(d.Mode, kEditAdding);
    m.Finished();
    EXPECT_TRUE(m.Viewing());
    EXPECT_FALSE(m.StartUpdating(false)); // nothing selected
    EXPECT_TRUE(m.StartUpdating(true));
    EXPECT_EQ(m.Apply(false, false).Mode, kEditUpdating);
    m.Finished();
    EXPECT_EQ(m.Apply(false, false).What, TEditMode::TApply::Nothing); // viewing
}

TEST(EditModeTest, ALockedWindowNeverLeavesViewing) {
    TEditMode m;
    ASSERT_TRUE(m.StartUpdating(true));
    m.SetReadOnly(true);
    EXPECT_TRUE(m.Viewing());
    EXPECT_FALSE(m.StartAdding());
    EXPECT_FALSE(m.StartUpdating(true));
    EXPECT_EQ(m.Typing(true, true, true), TTypingAction::Redisplay);
    EXPECT_TRUE(m.Viewing());
}

TEST(EditModeTest, TypingStartsAnEditOnlyWithFastEdit) {
    {
        TEditMode m; // empty list: adding starts and the text stays
        EXPECT_EQ(m.Typing(true, false, true), TTypingAction::StartAdding);
        EXPECT_EQ(m.Mode(), kEditAdding);
        EXPECT_EQ(m.Typing(true, false, false), TTypingAction::Nothing); // already editing
    }
    {
        TEditMode m;
        EXPECT_EQ(m.Typing(true, true, true), TTypingAction::StartUpdating);
        EXPECT_EQ(m.Mode(), kEditUpdating);
    }
    {
        TEditMode m; // "Fast Edit" off: the entry is shown again
        EXPECT_EQ(m.Typing(false, true, true), TTypingAction::Redisplay);
        EXPECT_TRUE(m.Viewing());
        // ... unless the time stamp forces it for its one change.
        EXPECT_EQ(m.Typing(false, true, true, true), TTypingAction::StartUpdating);
    }
    {
        TEditMode m; // a disabled list means an edit is on its way
        EXPECT_EQ(m.Typing(true, true, false), TTypingAction::Nothing);
    }
}

TEST(EditModeTest, ForceCategoriesRefusesAnEntryWithoutCategoryAndKeepsTheEdit) {
    TEditMode m;
    ASSERT_TRUE(m.StartAdding());
    const auto refused = m.Apply(true, false);
    EXPECT_EQ(refused.What, TEditMode::TApply::Refused);
    ASSERT_TRUE(refused.Message);
    EXPECT_EQ(refused.Message->Title, kMsgTitleValidationFailed);
    EXPECT_EQ(refused.Message->Kind, kMsgKindError);
    EXPECT_EQ(refused.Message->Text,
              "A Category must be supplied for this entry.\n\nPlease select the required "
              "category or categories, before continuing.");
    EXPECT_EQ(refused.Page, 5);
    EXPECT_EQ(m.Mode(), kEditAdding);
    EXPECT_EQ(m.Apply(true, true).What, TEditMode::TApply::Store);
    EXPECT_EQ(m.Apply(false, false).What, TEditMode::TApply::Store);
}

TEST(FocusTest, TheFirstVisibleFieldOfThePageTakesTheFocus) {
    TFieldVisibility v;
    v.Address.fill(true);
    v.Notes = true;
    v.Others.fill(true);
    EXPECT_EQ(FocusFieldFor(0, v), TFocusField::Title);
    v.Address[0] = v.Address[1] = v.Address[2] = false;
    EXPECT_EQ(FocusFieldFor(0, v), TFocusField::Position);
    v.Address.fill(false);
    v.Address[9] = true;
    EXPECT_EQ(FocusFieldFor(0, v), TFocusField::Phone4);
    EXPECT_EQ(FocusFieldFor(1, v), TFocusField::Notes);
    v.Others[0] = v.Others[1] = false;
    EXPECT_EQ(FocusFieldFor(3, v), TFocusField::Others3);
    EXPECT_EQ(FocusFieldFor(2, v), TFocusField::ReminderList);
    EXPECT_EQ(FocusFieldFor(4, v), TFocusField::AttachmentList);
    EXPECT_EQ(FocusFieldFor(5, v), TFocusField::CategoryList);
}

TEST(FocusTest, APageWithoutVisibleFieldsGivesString94) {
    TFieldVisibility none;
    EXPECT_EQ(FocusFieldFor(0, none), TFocusField::None);
    EXPECT_EQ(FocusFieldFor(1, none), TFocusField::None);
    EXPECT_EQ(FocusFieldFor(3, none), TFocusField::None);
    EXPECT_EQ(FocusFieldFor(5, none), TFocusField::CategoryList); // lists are always there
    const TDialogMessage m = NoDataFieldsMessage();
    EXPECT_EQ(m.Title, kMsgTitleRequestDenied);
    EXPECT_EQ(m.Kind, kMsgKindError);
    EXPECT_EQ(m.Text, "Tessaly is unable to locate any Data Entry fields. \n\nPlease ensure "
                      "that all fields have not been disabled and try again");
}

// ---- deleting ----------------------------------------------------------------------

TEST(DeleteWalkTest, QuestionNamesTheEntry) {
    const TDialogMessage one = DeleteEntryQuestion("Smith, Anne", false);
    EXPECT_EQ(one.Text, "Delete Address Book Entry for:\n\nSmith, Anne");
    EXPECT_EQ(one.Title, kMsgTitleDeletionRequested);
    EXPECT_EQ(one.Kind, kMsgKindConfirmation);
    EXPECT_EQ(one.Buttons, kMsgButtonsYesNo);
    EXPECT_EQ(DeleteEntryQuestion("%s", true).Buttons, kMsgButtonsYesNoCancelAll);
    EXPECT_EQ(DeleteEntryQuestion("%s", true).Text, "Delete Address Book Entry for:\n\n%s");
}

TEST(DeleteWalkTest, TaggedWalkGoesFromTheLastItemAndStopsAtCancel) {
    // Items 0, 2, 3 and 5 tagged; answers No, Yes, Cancel.
    TDeleteWalk walk({true, false, true, true, false, true}, TDeleteScope::AllTagged, true);
    std::vector<int> asked, deleted;
    const TDeleteAnswer answers[] = {TDeleteAnswer::No, TDeleteAnswer::Yes, TDeleteAnswer::Cancel};
    int k = 0;
    for (int i = walk.Next(); i >= 0; i = walk.Next()) {
        ASSERT_TRUE(walk.MustAsk());
        asked.push_back(i);
        if (walk.Answer(answers[k++]))
            deleted.push_back(i);
    }
    EXPECT_EQ(asked, (std::vector<int>{5, 3, 2}));
    EXPECT_EQ(deleted, (std::vector<int>{3}));
}

TEST(DeleteWalkTest, YesToAllDeletesTheRestWithoutAsking) {
    TDeleteWalk walk({false, true, false, true}, TDeleteScope::AllListed, true);
    std::vector<int> deleted;
    int questions = 0;
    for (int i = walk.Next(); i >= 0; i = walk.Next()) {
        bool yes = true;
        if (walk.MustAsk()) {
            ++questions;
            yes = walk.Answer(TDeleteAnswer::YesToAll);
        }
        if (yes)
            deleted.push_back(i);
    }
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(deleted, (std::vector<int>{3, 2, 1, 0}));
    // Without confirmation nothing is asked; the selected-entry scope does not walk.
    TDeleteWalk quiet({true, true}, TDeleteScope::AllTagged, false);
    EXPECT_EQ(quiet.Next(), 1);
    EXPECT_FALSE(quiet.MustAsk());
    EXPECT_EQ(TDeleteWalk({true}, TDeleteScope::SelectedEntry, true).Next(), -1);
}

// ---- find an entry -------------------------------------------------------------------

namespace {

struct ListedBook {
    ListedBook(std::initializer_list<const char*> surnames) {
        book = NewBook("/tmp/find.ADR", NoDefaultsFile(), clock);
        for (const char* s : surnames) {
            auto e = std::make_unique<TRecord>();
            e->SetNameField(kFieldSurname, s);
            book->Entries.Add(std::move(e));
        }
        list = std::make_unique<TEntryList>(*book, clock);
        list->Rebuild();
    }
    FakeClock clock{45000.5};
    std::unique_ptr<TBookData> book;
    std::unique_ptr<TEntryList> list;
};

} // namespace

TEST(FindEntryTest, SearchesTheListFromTheStartInEitherDirection) {
    ListedBook b{"Baker", "Abbot", "Cooper", "Barker"}; // listed Abbot Baker Barker Cooper
    TFindMemory memory;
    SetFindRule(memory, "bar", false, false, true);
    EXPECT_EQ(FindEntry(memory, *b.list, 0, 45000), 2);
    EXPECT_EQ(memory.Text, "bar");
    EXPECT_EQ(FindNextStart(memory, 2), 3);
    // Past the last match the text is forgotten, so the next "Find Next" asks again.
    EXPECT_EQ(FindEntry(memory, *b.list, 3, 45000), -1);
    EXPECT_EQ(memory.Text, "");
    EXPECT_TRUE(FindNextNeedsDialog(memory));
    // Up from the last item; whole words and case.
    SetFindRule(memory, "BAKER", true, true, false);
    EXPECT_EQ(FindEntry(memory, *b.list, 3, 45000), -1);
    SetFindRule(memory, "Baker", true, true, false);
    EXPECT_EQ(FindEntry(memory, *b.list, 3, 45000), 1);
    EXPECT_EQ(FindNextStart(memory, 1), 0);
    EXPECT_EQ(FindEntryInList(*b.list, memory.Rule, -1, false, 45000), -1);
    EXPECT_EQ(FindEntryInList(*b.list, memory.Rule, 4, true, 45000), -1);
}

TEST(FindEntryTest, OnlyListedEntriesAreSearched) {
    ListedBook b{"Hidden", "Shown"};
    b.list->RemoveEntry(b.list->EntryAt(0)); // "Hidden" is out of the list
    TFindMemory memory;
    SetFindRule(memory, "hidden", false, false, true);
    EXPECT_EQ(FindEntry(memory, *b.list, 0, 45000), -1);
    const TDialogMessage m = EntryNotFoundMessage();
    EXPECT_EQ(m.Title, kMsgTitleSearchFailed);
    EXPECT_EQ(m.Kind, kMsgKindInformation);
    EXPECT_NE(m.Text.find("\"View|Search\" command."), std::string::npos);
}

// ---- the Notes commands ---------------------------------------------------------------

TEST(NotesTextTest, TimestampGoesFirstOrLastWithAnEmptyLine) {
    const TStampedNotes top = AddTimestamp("Called back", "09/12/2026 10:00", true);
    EXPECT_EQ(top.Text, "09/12/2026 10:00\n\nCalled back");
    EXPECT_EQ(top.Caret, std::string("09/12/2026 10:00\n\n").size());
    const TStampedNotes last = AddTimestamp("Called back", "T", false);
    EXPECT_EQ(last.Text, "Called back\nT\n\n");
    EXPECT_EQ(last.Caret, last.Text.size());
    EXPECT_EQ(AddTimestamp("", "T", false).Text, "T\n\n");
    EXPECT_EQ(AddTimestamp("a\n", "T", false).Text, "a\nT\n\n");
}

TEST(NotesTextTest, FindHonoursCaseWholeWordAndDirection) {
    const std::string text = "cat Cat concat cat";
    EXPECT_EQ(FindInText(text, "cat", 0, {}), 0u);
    EXPECT_EQ(FindInText(text, "cat", 1, {}), 4u);
    EXPECT_EQ(FindInText(text, "cat", 1, {true, false, true}), 11u);
    EXPECT_EQ(FindInText(text, "cat", 5, {false, true, true}), 15u);
    EXPECT_EQ(FindInText(text, "cat", text.size(), {false, false, false}), 15u);
    EXPECT_EQ(FindInText(text, "cat", 14, {false, false, false}), 11u);
    EXPECT_EQ(FindInText(text, "cat", 2, {false, false, false}), std::string::npos);
    EXPECT_EQ(FindInText(text, "dog", 0, {}), std::string::npos);
    EXPECT_EQ(FindInText(text, "", 0, {}), std::string::npos);
    EXPECT_TRUE(SelectionIsFindText("CAT", "cat", false));
    EXPECT_FALSE(SelectionIsFindText("CAT", "cat", true));
    EXPECT_FALSE(SelectionIsFindText("cats", "cat", false));
}

TEST(NotesTextTest, ReplaceAllIsOnePassThatCannotLoop) {
    std::string text = "ab AB ab";
    EXPECT_EQ(ReplaceAllInText(text, "ab", "abab", {}), 3);
    EXPECT_EQ(text, "abab abab abab");
    std::string cased = "ab AB ab";
    EXPECT_EQ(ReplaceAllInText(cased, "ab", "x", {true, false, true}), 2);
    EXPECT_EQ(cased, "x AB x");
    std::string words = "cat concat cat";
    EXPECT_EQ(ReplaceAllInText(words, "cat", "dog", {false, true, true}), 2);
    EXPECT_EQ(words, "dog concat dog");
    EXPECT_EQ(NotesTextNotFoundMessage("dog").Text,
              "The Search string \"dog\" could not be located");
}

// ---- tags -------------------------------------------------------------------------------

TEST(TaggingTest, DialogCaptionsAndTheSelectedChoice) {
    EXPECT_EQ(TagDialogCaption(false), "Tag Entries");
    EXPECT_EQ(TagDialogGroup(false), "Add Tags to:");
    EXPECT_EQ(TagDialogCaption(true), "Remove Tags from Entries");
    EXPECT_EQ(TagDialogGroup(true), "Remove tags from:");
    EXPECT_TRUE(SelectedTagChoiceEnabled(false, false));
    EXPECT_FALSE(SelectedTagChoiceEnabled(false, true));
    EXPECT_TRUE(SelectedTagChoiceEnabled(true, true));
    EXPECT_FALSE(SelectedTagChoiceEnabled(true, false));
}

TEST(TaggingTest, ScopesTagTheSelectedTheListedOrEveryEntry) {
    ListedBook b{"a", "b", "c"};
    b.list->RemoveEntry(b.list->EntryAt(2)); // "c" is not listed
    TRecord* a = b.list->EntryAt(0);
    EXPECT_FALSE(ApplyTagChoice(*b.book, *b.list, a, TTagScope::SelectedEntry, false));
    EXPECT_EQ(a->Tagged, 1);
    EXPECT_EQ(b.book->Entries.CountTagged(), 1);
    EXPECT_TRUE(ApplyTagChoice(*b.book, *b.list, a, TTagScope::AllListed, false));
    EXPECT_EQ(b.book->Entries.CountTagged(), 2);
    EXPECT_TRUE(ApplyTagChoice(*b.book, *b.list, a, TTagScope::AllInBook, false));
    EXPECT_EQ(b.book->Entries.CountTagged(), 3);
    EXPECT_TRUE(ApplyTagChoice(*b.book, *b.list, a, TTagScope::AllListed, true));
    EXPECT_EQ(b.book->Entries.CountTagged(), 1);
}

// ---- Save As and dropped files ------------------------------------------------------------

TEST(SaveAsTest, RefusesAnOpenBookAndChecksTheTargetBeforeWriting) {
    const TSaveAsPlan open = PlanSaveAs("/data/Home.ADR", true, false);
    ASSERT_TRUE(open.Refusal);
    EXPECT_EQ(open.Refusal->Text,
              "/data/Home.ADR is Currently Open and therefore can not be Replaced");
    EXPECT_EQ(open.Refusal->Title, kMsgTitleRequestDenied);
    EXPECT_TRUE(PlanSaveAs("/data/x.adr", false, true).LockedTarget);
    EXPECT_TRUE(PlanSaveAs("/data/x.bak", false, false).BackupName);
    EXPECT_TRUE(PlanSaveAs("/data/x.Bak", false, false).BackupName);
    EXPECT_FALSE(PlanSaveAs("/data/x.ADR", false, false).BackupName);
    EXPECT_FALSE(IsBackupName("/data.bak/x"));
    EXPECT_FALSE(IsBackupName("/data/xbak"));
    EXPECT_FALSE(IsBackupName("/data/x.bake"));
}

TEST(DroppedFilesTest, QuestionCountsTheFiles) {
    const TDialogMessage m = DroppedFilesQuestion("HOME.ADR", "50%d off", 3);
    EXPECT_EQ(m.Text, "Address Book: HOME.ADR \nEntry: 50%d off \n\nDo you wish to add the 3 "
                      "dropped file(s) to this entry ?");
    EXPECT_EQ(m.Title, kMsgTitleAttachmentManagement);
    EXPECT_EQ(m.Buttons, kMsgButtonsYesNo);
}

// ---- address templates of an entry ------------------------------------------------------------

TEST(EntryTemplatesTest, RowsKeepTheEntrysOrderAndOfferTheOtherTemplates) {
    auto book = NewBook("/tmp/tpl.ADR", NoDefaultsFile());
    const int first = book->Templates.TemplateId(1);
    TTemplateValues holiday;
    holiday.Name = "Holiday";
    const int second = book->Templates.AddTemplate(holiday);
    const int secondId = book->Templates.TemplateId(second);
    TAddressList addresses;
    addresses.AddAddress(secondId);
    addresses.SetFieldOf(0, kFieldCompany, "Villa");
    TEntryTemplates edit(book->Templates, addresses);
    ASSERT_EQ(edit.Rows().size(), 2u);
    EXPECT_EQ(edit.Rows()[0].TemplateId, secondId);
    EXPECT_TRUE(edit.Rows()[0].Selected);
    EXPECT_EQ(edit.Rows()[1].TemplateId, first);
    EXPECT_FALSE(edit.Rows()[1].Selected);
    // Ticking needs no question; unticking an address with data does.
    EXPECT_FALSE(edit.DeselectQuestion(1));
    edit.Select(1, true);
    EXPECT_FALSE(edit.DeselectQuestion(1)); // a new address has nothing to lose
    const auto question = edit.DeselectQuestion(0);
    ASSERT_TRUE(question);
    EXPECT_EQ(question->Title, kMsgTitleDataLossPossible);
    EXPECT_NE(question->Text.find("\"Holiday\""), std::string::npos);
    // Moving changes the order of the addresses; kept data stays with its address.
    EXPECT_TRUE(edit.MoveDown(0));
    EXPECT_FALSE(edit.MoveDown(1));
    EXPECT_FALSE(edit.MoveUp(0));
    const TAddressList result = edit.Result();
    ASSERT_EQ(result.Count(), 2);
    EXPECT_EQ(result.AddressTemplateId(0), first);
    EXPECT_EQ(result.AddressTemplateId(1), secondId);
    EXPECT_EQ(result.FieldOf(1, kFieldCompany), "Villa");
    EXPECT_FALSE(edit.Check());
    // None left: refused.
    edit.Select(0, false);
    edit.Select(1, false);
    ASSERT_TRUE(edit.Check());
    EXPECT_EQ(edit.Check()->Text, "At Least one Address Template must be Selected.");
}
