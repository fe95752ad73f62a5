// The messages the template, category, entry-address and search dialogs show before
// they store anything.

#include "core/organise/validation.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TTemplateList Templates() {
    TTemplateList list = TTemplateList::Defaults();
    TTemplateValues v;
    v.Name = "Work";
    list.AddTemplate(v);
    return list;
}

TEST(OrgValidation, TemplateNames) {
    const TTemplateList list = Templates();
    const auto empty = CheckTemplateName(list, "   ", -1);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Title, 1010);
    EXPECT_EQ(empty->Kind, kMsgKindError);
    EXPECT_EQ(empty->Buttons, kMsgButtonsOk);
    EXPECT_EQ(empty->Text, "A Name for the Template must be Specified.\n\nEach Template needs to "
                           "be assigned a unique name to identify that Template.");

    const auto taken = CheckTemplateName(list, "  work ", -1);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Title, 1004);
    EXPECT_EQ(taken->Text, "A Template Named \"work\" is already Defined.\n\nPlease Specify "
                           "another Name for the Template");

    // The template being edited may keep its name, in any case.
    EXPECT_FALSE(CheckTemplateName(list, "WORK", 2));
    EXPECT_TRUE(CheckTemplateName(list, "Work", 1));
    EXPECT_FALSE(CheckTemplateName(list, "Holiday", -1));
    // Template 0 has no name to clash with.
    EXPECT_FALSE(CheckTemplateName(list, "Address 2", -1));
}

TEST(OrgValidation, LeavingTheFreeformFormatAsks) {
    const auto q = FormatChangeQuestion(true, kFormatFreeform, kFormatUK);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->Title, 1007);
    EXPECT_EQ(q->Buttons, kMsgButtonsYesNo);
    EXPECT_EQ(q->Text,
              "You have selected to change the Address Format from \"Freeform Address\".\n\nIt "
              "should be noted that the new format only supports 5 lines of Address text. Any "
              "Address using this Template will be truncated to 5 lines.\n\nDo you wish to "
              "continue ?");
    EXPECT_FALSE(FormatChangeQuestion(false, kFormatFreeform, kFormatUK)); // a new template
    EXPECT_FALSE(FormatChangeQuestion(true, kFormatUS, kFormatUK));
    EXPECT_FALSE(FormatChangeQuestion(true, kFormatUS, kFormatFreeform));
    EXPECT_FALSE(FormatChangeQuestion(true, kFormatFreeform, kFormatFreeform));
}

TEST(OrgValidation, CategoryNamesDifferingOnlyInCaseAreRefused) {
    TCategoryList list = TCategoryList::Defaults();
    const auto clash = CheckCategoryName(list, "personal", 0);
    ASSERT_TRUE(clash);
    EXPECT_EQ(clash->Title, 1004);
    EXPECT_EQ(clash->Text, "A Category with the name \"personal\" is already Defined.\n\nPlease "
                           "specify a name that has not been used.");
    EXPECT_FALSE(CheckCategoryName(list, "PERSONAL", 1));
    const auto empty = CheckCategoryName(list, "", -1);
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Title, 1010);
    EXPECT_EQ(empty->Text, "A Name for the Category must be Specified.\n\nEach Category needs to "
                           "be assigned a unique name to identify that Category.");
}

TEST(OrgValidation, DeletingTemplatesAndCategories) {
    const TTemplateList list = Templates();
    const auto refused = TemplateDeleteRefusal(list, 1);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Title, 1000);
    EXPECT_EQ(refused->Text, "Unable to Delete the Address Template: \"Address 1\" \n\nThe first "
                             "Address Template of an Address Book cannot be deleted");
    EXPECT_TRUE(TemplateDeleteRefusal(list, 0));
    EXPECT_FALSE(TemplateDeleteRefusal(list, 2));

    // Number 1 is refused wherever it stands.
    TTemplateList moved = Templates();
    moved.Move(1, 2);
    EXPECT_TRUE(TemplateDeleteRefusal(moved, 2));

    const TDialogMessage t = TemplateDeletionQuestion("Work");
    EXPECT_EQ(t.Title, 1006);
    EXPECT_EQ(t.Kind, kMsgKindConfirmation);
    EXPECT_EQ(t.Buttons, kMsgButtonsOkCancel);
    EXPECT_EQ(t.Text, "Please Confirm the Deletion of Address Template: Work \n\nWarning: Any "
                      "Entries with Data Using this Address Template will lose that Data");
    EXPECT_EQ(CategoryDeletionQuestion("Golf %s").Text,
              "Please Confirm the Deletion of Category: Golf %s \n\nWarning: Any Entries "
              "associated with this Category will lose that association");
}

TEST(OrgValidation, AddressesOfAnEntry) {
    const TDialogMessage q = RemoveAddressQuestion("Home");
    EXPECT_EQ(q.Title, 1007);
    EXPECT_EQ(q.Buttons, kMsgButtonsYesNo);
    EXPECT_EQ(q.Text, "You have de-selected the Address Template: \"Home\"\n\nBy de-selecting "
                      "this Template, Tessaly will remove ALL Address Data stored under this "
                      "Template from the Current Entry \n\nAre you Sure you Wish to Continue ?");
    TAddressList addresses;
    const auto none = CheckEntryAddresses(addresses);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Title, 1004);
    EXPECT_EQ(none->Text, "At Least one Address Template must be Selected.");
    addresses.AddAddress(1);
    EXPECT_FALSE(CheckEntryAddresses(addresses));
}

TEST(OrgValidation, SearchOptions) {
    const auto chars = CheckSearchOptions(true, "  ", false, false);
    ASSERT_TRUE(chars);
    EXPECT_EQ(chars->Title, 1004);
    EXPECT_EQ(chars->Kind, kMsgKindError);
    EXPECT_EQ(chars->Text, "If the Display is to be Restricted to the Specified Index Characters, "
                           "at least one Index Character must be entered. \n\nPlease Re-specify");
    const auto tags = CheckSearchOptions(false, "", true, true);
    ASSERT_TRUE(tags);
    EXPECT_EQ(tags->Text, "Both the \"Exclude Tagged\" and \"Exclude Not Tagged\" options cannot "
                          "be selected, as this would result in no entries being eligible for "
                          "display. \n\nPlease Re-specify");
    EXPECT_FALSE(CheckSearchOptions(true, "Sm", true, false));
    EXPECT_FALSE(CheckSearchOptions(false, "", false, true));
}

TEST(OrgValidation, RuleTextAndDates) {
    const auto text = CheckRuleText(" \t");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->Title, 1010);
    EXPECT_EQ(text->Text, "Search Text is Required.\n\nPlease specify the text to be searched "
                          "for, before continuing");
    EXPECT_FALSE(CheckRuleText("x"));

    const std::string range = "Date Entered is Outside the Supported Date Range \n\nPlease Enter "
                              "a Date the falls between the years 1900 and 2100";
    const std::string order =
        "The \"First\" Date may not be after the \"Last\" Date\n\nNote: If entering dates that "
        "cross centuries, Windows needs to be configured to use four year digits (yyyy). Use "
        "Windows Control Panel to change its date formats";
    EXPECT_FALSE(CheckRuleDates(EncodeDate(1900, 1, 1), EncodeDate(2100, 12, 31) + 0.99));
    EXPECT_EQ(CheckRuleDates(EncodeDate(1899, 12, 31), EncodeDate(1950, 1, 1))->Text, range);
    EXPECT_EQ(CheckRuleDates(EncodeDate(1950, 1, 1), EncodeDate(2101, 1, 1))->Text, range);
    EXPECT_EQ(CheckRuleDates(EncodeDate(2000, 3, 2), EncodeDate(2000, 3, 1))->Text, order);
    EXPECT_EQ(CheckRuleDates(EncodeDate(2000, 3, 2), EncodeDate(2000, 3, 1))->Title, 1004);
    // "On the Date": both dates the same day.
    EXPECT_FALSE(CheckRuleDates(EncodeDate(2000, 3, 1) + 0.9, EncodeDate(2000, 3, 1)));
}

TEST(OrgValidation, RuleDatesReadFromTheirBoxes) {
    TFormatSettings fs;
    fs.ShortDateFormat = "dd/mm/yyyy";
    const FakeClock clock(EncodeDate(2024, 6, 15) + 0.5);

    TRuleDates ok = ReadRuleDates("1/3/2024", " 5/3 ", fs, clock);
    EXPECT_FALSE(ok.Message);
    EXPECT_EQ(ok.Box, -1);
    EXPECT_EQ(ok.FromDate, EncodeDate(2024, 3, 1));
    EXPECT_EQ(ok.ToDate, EncodeDate(2024, 3, 5)); // the year taken from today

    TRuleDates bad = ReadRuleDates("1/3/2024", "31/2/2024", fs, clock);
    ASSERT_TRUE(bad.Message);
    EXPECT_EQ(bad.Box, 1);
    EXPECT_EQ(bad.Message->Title, 1004);
    EXPECT_EQ(bad.Message->Text, "Date Entered is Invalid \n\nPlease Re-specify in the Format "
                                 "DD/MM/YYYY");

    TRuleDates early = ReadRuleDates("1/3/1850", "1/3/2024", fs, clock);
    ASSERT_TRUE(early.Message);
    EXPECT_EQ(early.Box, 0);
    EXPECT_NE(early.Message->Text.find("Outside the Supported Date Range"), std::string::npos);

    TRuleDates reversed = ReadRuleDates("2/3/2024", "1/3/2024", fs, clock);
    ASSERT_TRUE(reversed.Message);
    EXPECT_EQ(reversed.Message->Text.rfind("The \"First\" Date may not be after", 0), 0u);
}

TEST(OrgValidation, SavedSearchNamesAndDeletion) {
    TFilterList list = TFilterList::Defaults();
    list.SelectSearch("Golfers");
    list.SelectSearch("Chess");

    const auto empty = CheckSearchName(list, " ", "Chess");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->Title, 1010);
    EXPECT_EQ(empty->Text, "A Name for the Search must be Specified.\n\nEach Saved Search needs "
                           "to be assigned a unique name to identify that Search.");
    const auto taken = CheckSearchName(list, "golfers", "Chess");
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->Title, 1004);
    EXPECT_EQ(taken->Text, "A Saved Search Named \"golfers\" is already Defined.\n\nPlease "
                           "Specify another Name for the Search");
    EXPECT_FALSE(CheckSearchName(list, "Chess", "Chess"));
    EXPECT_FALSE(CheckSearchName(list, "CHESS", "Chess")); // only the case changes
    EXPECT_FALSE(CheckSearchName(list, "Bridge", "Chess"));
    EXPECT_TRUE(CheckSearchName(list, "<untitled>", ""));

    const TDialogMessage del = SearchDeletionQuestion("Golfers");
    EXPECT_EQ(del.Title, 1006);
    EXPECT_EQ(del.Kind, kMsgKindConfirmation);
    EXPECT_EQ(del.Buttons, kMsgButtonsYesNo);
    EXPECT_EQ(del.Text,
              "Saved Search: \"Golfers\" \n\nAre you Sure you Wish to Delete this Saved Search");
}

} // namespace
} // namespace tessaly
