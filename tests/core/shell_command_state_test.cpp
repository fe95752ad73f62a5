// The enabling rules of the book window's commands.

#include "core/book_window/command_state.h"

#include <gtest/gtest.h>

using namespace tessaly;

namespace {
TCommandInputs Viewing(int listed = 3) {
    TCommandInputs in;
    in.ListCount = listed;
    in.EntrySelected = listed > 0;
    in.HasEntries = listed > 0;
    in.TemplateTabSelected = true;
    return in;
}
} // namespace

TEST(CommandStateTest, ViewingAWritableBookOpensTheEntryCommands) {
    const TCommandState s = UpdateCommandState(Viewing());
    EXPECT_TRUE(s.UpdateEntry);
    EXPECT_TRUE(s.DeleteEntry);
    EXPECT_TRUE(s.DuplicateEntry);
    EXPECT_TRUE(s.AddEntry);
    EXPECT_FALSE(s.ApplyUpdate);
    EXPECT_FALSE(s.CancelUpdate);
    EXPECT_TRUE(s.DefineIndexKeys);
    EXPECT_TRUE(s.SelectTemplates);
    EXPECT_TRUE(s.Search);
    EXPECT_TRUE(s.SaveAs);
    EXPECT_TRUE(s.ListEnabled);
    EXPECT_TRUE(s.AcceptDrops);
    EXPECT_TRUE(s.LockBook);
    EXPECT_EQ(s.TagCaption, "&Tag Entry");
}

TEST(CommandStateTest, EditingClosesEverythingButApplyAndCancel) {
    for (int mode : {kEditAdding, kEditUpdating}) {
        TCommandInputs in = Viewing();
        in.EditMode = mode;
        in.UndoAvailable = true;
        in.WordProcessorDefined = true;
        in.PhoneFilled = {true, true, true, true};
        const TCommandState s = UpdateCommandState(in);
        EXPECT_FALSE(s.UpdateEntry) << mode;
        EXPECT_FALSE(s.DeleteEntry) << mode;
        EXPECT_FALSE(s.AddEntry) << mode;
        EXPECT_FALSE(s.Undo) << mode;
        EXPECT_FALSE(s.InsertToWordProcessor) << mode;
        EXPECT_FALSE(s.Search) << mode;
        EXPECT_FALSE(s.RemoveSearch) << mode;
        EXPECT_FALSE(s.SaveAs) << mode;
        EXPECT_FALSE(s.ListEnabled) << mode;
        EXPECT_FALSE(s.LockBook) << mode;
        EXPECT_FALSE(s.TagCommands) << mode;
        EXPECT_TRUE(s.ApplyUpdate) << mode;
        EXPECT_TRUE(s.CancelUpdate) << mode;
        // Keys and templates follow Cancel Update while editing.
        EXPECT_TRUE(s.DefineIndexKeys) << mode;
        EXPECT_TRUE(s.SelectTemplates) << mode;
        for (bool phone : s.Phone)
            EXPECT_FALSE(phone) << mode;
        EXPECT_FALSE(s.DialMenu) << mode;
    }
}

TEST(CommandStateTest, LockedBookRefusesChangesButNotViewing) {
    TCommandInputs in = Viewing();
    in.ReadOnly = true;
    in.UndoAvailable = true;
    const TCommandState s = UpdateCommandState(in);
    EXPECT_FALSE(s.AddEntry);
    EXPECT_FALSE(s.UpdateEntry);
    EXPECT_FALSE(s.DeleteEntry);
    EXPECT_FALSE(s.Undo);
    EXPECT_FALSE(s.AcceptDrops);
    EXPECT_FALSE(s.Import);
    EXPECT_FALSE(s.ConfigureBook);
    EXPECT_FALSE(s.DefineIndexKeys);
    EXPECT_TRUE(s.Search);
    EXPECT_TRUE(s.PrintAndExport);
    EXPECT_TRUE(s.LockBook); // unlocking stays possible
}

TEST(CommandStateTest, EmptyListAllowsOnlyAdding) {
    const TCommandState s = UpdateCommandState(Viewing(0));
    EXPECT_TRUE(s.AddEntry);
    EXPECT_FALSE(s.UpdateEntry);
    EXPECT_FALSE(s.DeleteEntry);
    EXPECT_FALSE(s.InsertToClipboard);
    EXPECT_FALSE(s.TagCommands);
    EXPECT_FALSE(s.PrintAndExport);
    EXPECT_FALSE(s.AcceptDrops);
}

TEST(CommandStateTest, UndoNeedsARecordAndAWritableBook) {
    TCommandInputs in = Viewing();
    EXPECT_FALSE(UpdateCommandState(in).Undo);
    in.UndoAvailable = true;
    EXPECT_TRUE(UpdateCommandState(in).Undo);
}

TEST(CommandStateTest, DialButtonsFollowTheirPhoneFields) {
    TCommandInputs in = Viewing();
    in.PhoneFilled = {false, true, false, false};
    TCommandState s = UpdateCommandState(in);
    EXPECT_FALSE(s.Phone[0]);
    EXPECT_TRUE(s.Phone[1]);
    EXPECT_FALSE(s.Phone[2]);
    EXPECT_TRUE(s.DialNumber);
    EXPECT_TRUE(s.DialMenu);
    in.PhoneFilled = {};
    EXPECT_FALSE(UpdateCommandState(in).DialNumber);
    in.PhoneFilled = {true, true, true, true};
    in.TemplateTabSelected = false;
    s = UpdateCommandState(in);
    EXPECT_FALSE(s.DialNumber);
    EXPECT_FALSE(s.Phone[0]);
}

TEST(CommandStateTest, WordProcessorNeedsOneDefined) {
    TCommandInputs in = Viewing();
    EXPECT_FALSE(UpdateCommandState(in).InsertToWordProcessor);
    in.WordProcessorDefined = true;
    EXPECT_TRUE(UpdateCommandState(in).InsertToWordProcessor);
    EXPECT_TRUE(UpdateCommandState(in).InsertMenu);
}

TEST(CommandStateTest, MenusFollowTheBookAndThePage) {
    TCommandInputs in = Viewing();
    EXPECT_FALSE(UpdateCommandState(in).Save);
    in.Modified = true;
    EXPECT_TRUE(UpdateCommandState(in).Save);
    EXPECT_FALSE(UpdateCommandState(in).RemindersMenu);
    in.Page = 2;
    EXPECT_TRUE(UpdateCommandState(in).RemindersMenu);
    in.EntryTagged = true;
    EXPECT_EQ(UpdateCommandState(in).TagCaption, "Remove &Tag");
}
