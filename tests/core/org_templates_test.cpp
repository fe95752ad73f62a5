// Template and category lists: numbering, the include-for-new rule, marking, purging
// and the copies the dialogs edit.

#include "core/store/book_file.h"
#include "core/store/category.h"
#include "core/store/template.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TStoreSettings NoDefaultsFile() {
    TStoreSettings s;
    s.ConfigDirectory = "/nonexistent-tessaly-org-config";
    return s;
}

TTemplateValues Values(const std::string& name, bool include = false) {
    TTemplateValues v;
    v.Name = name;
    v.Captions[0] = "Role";
    v.Captions[2] = "Street";
    v.IncludeForNew = include;
    return v;
}

// Defaults plus "Work" (index 2, number 2) and "Holiday" (index 3, number 3).
TTemplateList FourTemplates() {
    TTemplateList list = TTemplateList::Defaults();
    EXPECT_EQ(list.AddTemplate(Values("Work")), 2);
    EXPECT_EQ(list.AddTemplate(Values("Holiday")), 3);
    return list;
}

TEST(OrgTemplates, AddTakesTheNextNumberAndAppliesTheValues) {
    TTemplateList list = TTemplateList::Defaults();
    TTemplateValues v = Values("  Work  ");
    v.Shown = {1, 0, 1, 0, 1, 1, 0};
    v.AddressFormat = kFormatUK;
    v.ButtonKinds = {kButtonMail, kButtonNone, kButtonDial, kButtonDial};
    v.Captions[9] = std::string(300, 'c');

    const int i = list.AddTemplate(v);
    ASSERT_EQ(i, 2);
    EXPECT_EQ(list.NextId, 3);
    const TTemplate* t = list.At(i);
    EXPECT_EQ(t->Id, 2);
    EXPECT_EQ(list.TemplateName(i), "Work");
    EXPECT_EQ(list.TemplateCaption(i, 9).size(), 255u);
    EXPECT_EQ(list.TemplateShown(i, 1), 0);
    // Fields 7-9 of a new template stay shown; entry 10 stays off.
    EXPECT_EQ(list.TemplateShown(i, 8), 1);
    EXPECT_EQ(list.TemplateShown(i, 10), 0);
    EXPECT_EQ(list.TemplateFormat(i), kFormatUK);
    EXPECT_EQ(t->ButtonKinds, (std::array<std::int16_t, 4>{2, 0, 1, 1}));
    EXPECT_EQ(list.ValuesOf(i).Shown, v.Shown);
    EXPECT_FALSE(list.UpdateTemplate(9, v, false));
}

TEST(OrgTemplates, NumbersAreNeverReusedAndNeverWrap) {
    TTemplateList list = FourTemplates();
    ASSERT_TRUE(list.SetDeleted(3, true));
    list.PurgeTemplates();
    EXPECT_EQ(list.AddTemplate(Values("Again")), 3);
    EXPECT_EQ(list.At(3)->Id, 4); // 3 went with "Holiday"

    list.NextId = 32766;
    EXPECT_EQ(list.AddTemplate(Values("Last")), 4);
    EXPECT_EQ(list.At(4)->Id, 32766);
    EXPECT_EQ(list.NextId, 32767);
    EXPECT_EQ(list.AddTemplate(Values("Too many")), -1);
    EXPECT_EQ(list.NextId, 32767);
    EXPECT_EQ(list.Count(), 5);

    list.NextId = -5; // a damaged counter hands out nothing
    EXPECT_EQ(list.AddTemplate(Values("Damaged")), -1);
}

TEST(OrgTemplates, FindSkipsTheNameFieldTemplate) {
    TTemplateList list = FourTemplates();
    list.At(0)->SetName("Names");
    EXPECT_EQ(list.FindTemplateByName("names"), -1);
    EXPECT_EQ(list.FindTemplateById(0), -1);
    EXPECT_EQ(list.FindTemplateByName("HOLIDAY"), 3);
    EXPECT_EQ(list.FindTemplateById(2), 2);
}

TEST(OrgTemplates, ClearingTheOnlyIncludeFlagGivesItToIndexOne) {
    TTemplateList list = FourTemplates();
    list.SetIncludeForNew(1, false);
    EXPECT_EQ(list.TemplateIncludeForNew(1), 1);

    // Another template with the flag lets index 1 lose it.
    list.SetIncludeForNew(3, true);
    list.SetIncludeForNew(1, false);
    EXPECT_EQ(list.TemplateIncludeForNew(1), 0);
    EXPECT_EQ(list.TemplateIncludeForNew(3), 1);

    // Clearing the last flag elsewhere brings it back to index 1.
    list.SetIncludeForNew(3, false);
    EXPECT_EQ(list.TemplateIncludeForNew(3), 0);
    EXPECT_EQ(list.TemplateIncludeForNew(1), 1);
}

TEST(OrgTemplates, AFlagOnAMarkedTemplateDoesNotCount) {
    TTemplateList list = FourTemplates();
    list.SetIncludeForNew(2, true);
    list.SetIncludeForNew(1, false);
    ASSERT_EQ(list.TemplateIncludeForNew(1), 0);

    // Marking clears the flag first, so index 1 takes it over.
    ASSERT_TRUE(list.SetDeleted(2, true));
    EXPECT_EQ(list.TemplateIncludeForNew(2), 0);
    EXPECT_EQ(list.TemplateIncludeForNew(1), 1);

    // A marked template that somehow kept its flag is not counted either.
    list.At(2)->IncludeForNew = 1;
    list.SetIncludeForNew(1, false);
    EXPECT_EQ(list.TemplateIncludeForNew(1), 1);
}

TEST(OrgTemplates, UpdateGoesThroughTheRules) {
    TTemplateList list = FourTemplates();
    TTemplateValues v = list.ValuesOf(1);
    v.IncludeForNew = false;
    v.Name = "Home";
    ASSERT_TRUE(list.UpdateTemplate(1, v, false));
    EXPECT_EQ(list.TemplateName(1), "Home");
    EXPECT_EQ(list.TemplateIncludeForNew(1), 1); // the only one: kept by the rule

    v = list.ValuesOf(3);
    v.IncludeForNew = true;
    list.BaseIndex = 3;
    ASSERT_TRUE(list.UpdateTemplate(3, v, true));
    EXPECT_EQ(list.TemplateDeleted(3), 1);
    EXPECT_EQ(list.TemplateIncludeForNew(3), 0); // marking cleared it
    EXPECT_EQ(list.BaseIndex, 1);                // the base moved off the marked one

    ASSERT_TRUE(list.UpdateTemplate(3, v, false)); // restored
    EXPECT_EQ(list.TemplateDeleted(3), 0);
}

TEST(OrgTemplates, TheFirstTwoTemplatesAreNeverMarked) {
    TTemplateList list = FourTemplates();
    EXPECT_FALSE(list.SetDeleted(0, true));
    EXPECT_FALSE(list.SetDeleted(1, true));
    EXPECT_FALSE(list.SetDeleted(7, true));
    EXPECT_EQ(list.TemplateDeleted(0), 0);
    EXPECT_EQ(list.TemplateDeleted(1), 0);
}

TEST(OrgTemplates, PurgeRemovesAdjacentMarksAndKeepsTheBase) {
    TTemplateList list = FourTemplates();
    ASSERT_EQ(list.AddTemplate(Values("Club")), 4);
    list.SetBaseIndex(4);
    list.SetDeleted(2, true);
    list.SetDeleted(3, true);
    list.PurgeTemplates();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.TemplateName(2), "Club");
    EXPECT_EQ(list.BaseIndex, 2); // still "Club"
    EXPECT_EQ(list.NextId, 5);

    // A base that is removed by hand-set marks falls back to index 1.
    list.At(2)->Deleted = 1;
    list.PurgeTemplates();
    EXPECT_EQ(list.BaseIndex, 1);
    EXPECT_EQ(list.Count(), 2);
}

TEST(OrgTemplates, CopyLeavesOutMarkedTemplates) {
    TTemplateList list = FourTemplates();
    list.SetBaseIndex(3);
    list.SetDeleted(2, true);
    const TTemplateList copy = list.Copy();
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.TemplateName(2), "Holiday");
    EXPECT_EQ(copy.BaseIndex, 2);
    EXPECT_EQ(copy.NextId, list.NextId);
    // The original is untouched and independent.
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.TemplateDeleted(2), 1);
    copy.At(1)->SetName("Changed");
    EXPECT_EQ(list.TemplateName(1), "Address 1");
}

TEST(OrgTemplates, NewTemplatesStartFromTheBase) {
    TTemplateList list = FourTemplates();
    TTemplateValues v = Values("Work");
    v.AddressFormat = kFormatUS;
    list.UpdateTemplate(2, v, false);
    list.SetBaseIndex(2);
    const TTemplateValues fresh = list.NewTemplateValues();
    EXPECT_EQ(fresh.Name, "");
    EXPECT_EQ(fresh.AddressFormat, kFormatUS);
    EXPECT_EQ(fresh.Captions[2], "Street");

    list.SetBaseIndex(0); // template 0 is never a base
    EXPECT_EQ(list.BaseIndex, 2);

    EXPECT_EQ(NextButtonKind(kButtonNone), kButtonDial);
    EXPECT_EQ(NextButtonKind(kButtonDial), kButtonMail);
    EXPECT_EQ(NextButtonKind(kButtonMail), kButtonNone);
}

TEST(OrgCategories, AddUpdateAndNumbers) {
    TCategoryList list = TCategoryList::Defaults();
    EXPECT_EQ(list.AddCategory(" Golf ", true), 2);
    EXPECT_EQ(list.CategoryName(2), "Golf");
    EXPECT_EQ(list.CategoryId(2), 2);
    EXPECT_EQ(list.NextId, 3);
    EXPECT_TRUE(list.UpdateCategory(2, "  Tennis", false));
    EXPECT_EQ(list.CategoryName(2), "Tennis");
    EXPECT_EQ(list.CategoryDefault(2), 0);
    EXPECT_FALSE(list.UpdateCategory(3, "x", true));

    list.NextId = 32767;
    EXPECT_EQ(list.AddCategory("Full", false), -1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.NextId, 32767);
}

TEST(OrgCategories, MarkingClearsTheDefaultAndPurgeRemoves) {
    TCategoryList list = TCategoryList::Defaults();
    list.AddCategory("Golf", true);
    list.AddCategory("Chess", true);
    ASSERT_TRUE(list.SetDeleted(2, true));
    EXPECT_EQ(list.CategoryDefault(2), 0);
    EXPECT_EQ(list.CategoryDeleted(2), 1);
    ASSERT_TRUE(list.SetDeleted(2, false)); // restoring does not bring the default back
    EXPECT_EQ(list.CategoryDefault(2), 0);
    EXPECT_FALSE(list.SetDeleted(-1, true));

    list.SetDeleted(0, true);
    list.SetDeleted(1, true);
    const TCategoryList copy = list.Copy();
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.CategoryName(0), "Golf");
    EXPECT_EQ(copy.NextId, 4);
    EXPECT_EQ(list.Count(), 4);

    list.PurgeCategories();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.CategoryName(1), "Chess");
    EXPECT_EQ(list.CategoryDefault(1), 1);
    EXPECT_EQ(list.AddCategory("New", false), 2);
    EXPECT_EQ(list.CategoryId(2), 4); // 0 and 1 are not given out again
}

TEST(OrgCategories, MergeStopsWhenNumbersRunOut) {
    auto source = NewBook("/tmp/org-merge-source.ADR", NoDefaultsFile());
    source->Categories.AddCategory("Golf", false);
    source->Categories.AddCategory("Chess", false);
    const std::string path = ::testing::TempDir() + "org-merge-source.ADR";
    source->FileName = path;
    ASSERT_TRUE(SaveBook(*source, false, NoDefaultsFile()).Ok);

    auto book = NewBook("/tmp/org-merge-target.ADR", NoDefaultsFile());
    book->Categories.NextId = 32766;
    const TMergeResult merged = MergeCategoriesFromBook(*book, path, NoDefaultsFile());
    EXPECT_TRUE(merged.Ok);
    EXPECT_EQ(merged.Added, 1);
    EXPECT_EQ(book->Categories.Count(), 3);
    EXPECT_EQ(book->Categories.CategoryId(2), 32766);
}

} // namespace
} // namespace tessaly
