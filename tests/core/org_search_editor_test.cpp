// The search dialog's working state: field choices, storing the basic options with
// their checks, the rule editor, switching, saving, renaming and deleting searches,
// and Cancel putting the list back exactly. Also the name dialog's check by mode.

#include "core/organise/item_name_check.h"
#include "core/organise/search_editor.h"
#include "tests/support/fake_clock.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

struct Fixture {
    TFilterList searches = TFilterList::Defaults();
    TTemplateList templates = TTemplateList::Defaults();
    TCategoryList categories;
    FakeClock clock{EncodeDate(2024, 3, 5)};
    Fixture() {
        categories.AddCategory("Family", false);
        categories.AddCategory("Work", false);
        searches.SelectSearch("Saved");
        searches.SelectSearch(kUntitledSearch);
    }
    TSearchEditor Editor() {
        return TSearchEditor(searches, templates, categories, DefaultFormatSettings(), clock);
    }
};

int ChoiceOf(const TSearchEditor& e, int templateNo, int fieldNo) {
    return FindFieldChoice(e.Choices(), templateNo, fieldNo);
}

TEST(OrgSearchEditor, FieldChoicesNameEveryFieldAndItsKind) {
    Fixture f;
    TSearchEditor e = f.Editor();
    const auto& c = e.Choices();
    ASSERT_EQ(c.size(), 1u + 10u + 7u + 7u); // "Address 1" is the one address template
    EXPECT_EQ(c[0].Text, "-1 -1 <All Fields>");
    EXPECT_FALSE(c[0].IsDate);
    EXPECT_EQ(c[11].Text, "-1 10 Reminders");
    EXPECT_TRUE(c[11].IsDate);
    EXPECT_EQ(c[14].Text, "-1 13 Entry Created");
    EXPECT_TRUE(c[14].IsDate);
    EXPECT_FALSE(c[12].IsDate); // reminder descriptions are text
    EXPECT_EQ(c[18].TemplateNo, f.templates.TemplateId(1));
    EXPECT_EQ(c[18].Text.rfind("1 0 [Address 1]  ", 0), 0u) << c[18].Text;
    // An unlabelled general field.
    f.templates.At(0)->SetCaption(9, "");
    EXPECT_EQ(SearchFieldChoices(f.templates)[10].Text, "-1 9 Field: 10 - Unlabled");
    // The list shows the texts without the numbers, blanks inside kept.
    EXPECT_EQ(ChoiceCaption(c[0]), "<All Fields>");
    EXPECT_EQ(ChoiceCaption(c[14]), "Entry Created");
    EXPECT_EQ(ChoiceCaption(c[18]).rfind("[Address 1]  ", 0), 0u) << ChoiceCaption(c[18]);
    EXPECT_EQ(ChoiceCaption(SearchFieldChoices(f.templates)[10]), "Field: 10 - Unlabled");
}

TEST(OrgSearchEditor, StoringChecksTheOptionsAndStoresNothingOnARefusal) {
    Fixture f;
    const TFilterList before = f.searches;
    TSearchEditor e = f.Editor();
    TSearchOptions o;
    o.StartsWithOn = true;
    o.StartsWith = "  ";
    auto fault = e.Store(o);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->Focus, TSearchFocus::StartsWith);
    EXPECT_EQ(fault->Message.Title, kMsgTitleValidationFailed);
    o.StartsWith = "sm";
    o.ExcludeTagged = o.ExcludeUntagged = true;
    fault = e.Store(o);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->Focus, TSearchFocus::NotTagged);
    EXPECT_NE(fault->Message.Text.find("Exclude Not Tagged"), std::string::npos);
    EXPECT_EQ(f.searches, before);

    o.ExcludeTagged = false;
    o.CategoriesOn = true;
    o.AnyCategory = false;
    o.Categories = {"work", "Nobody"};
    EXPECT_FALSE(e.Store(o));
    const TFilter* s = f.searches.ActiveSearch();
    EXPECT_EQ(TextValue(s->StartsWith), "sm");
    EXPECT_EQ(s->ExcludeUntagged, 1);
    EXPECT_EQ(s->AnyCategory, 0);
    ASSERT_EQ(s->CategoriesInUse.Count(), 1);
    EXPECT_EQ(s->CategoriesInUse.At(0)->CategoryId, f.categories.CategoryId(1));
    // Shown again upper case, the category by its book name.
    const TSearchOptions shown = e.Options();
    EXPECT_EQ(shown.StartsWith, "SM");
    EXPECT_EQ(shown.Categories, std::vector<std::string>{"Work"});
}

TEST(OrgSearchEditor, RuleEditorValidatesAddsUpdatesAndDeletes) {
    Fixture f;
    TSearchEditor e = f.Editor();
    TRuleInput in;
    in.Choice = 0;
    in.Text = "   ";
    auto fault = e.AddRule(in);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->Focus, TSearchFocus::RuleText);
    EXPECT_EQ(fault->Message.Title, kMsgTitleRequiredField);
    in.Text = "smith";
    in.WholeWords = true;
    EXPECT_FALSE(e.AddRule(in));

    in.Choice = ChoiceOf(e, -1, kRuleCreated);
    in.FromText = "06/03/2024";
    in.ToText = "05/03/2024";
    fault = e.AddRule(in);
    ASSERT_TRUE(fault);
    EXPECT_NE(fault->Message.Text.find("\"First\" Date may not be after"), std::string::npos);
    in.ToText = "01/01/2101";
    fault = e.AddRule(in);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->Focus, TSearchFocus::ToDate);
    in.ToText = "31/12";
    fault = e.AddRule(in);
    EXPECT_FALSE(fault);
    ASSERT_EQ(e.Rules().Count(), 2);
    EXPECT_EQ(e.Rules().At(1)->IsText, 0);
    EXPECT_EQ(e.Rules().At(1)->ToDate, EncodeDate(2024, 12, 31)); // year from today
    EXPECT_EQ(e.RuleTexts(0),
              (std::vector<std::string>{"<All Fields>", "Containing Word", "\"smith\""}));

    const TRuleInput loaded = e.RuleInput(1);
    EXPECT_EQ(loaded.Choice, in.Choice);
    EXPECT_EQ(loaded.FromText, "06/03/2024");
    in = e.RuleInput(0);
    in.Text = "jones";
    EXPECT_FALSE(e.UpdateRule(0, in));
    EXPECT_EQ(e.Rules().At(0)->Text, "jones");
    in.Text = "";
    EXPECT_TRUE(e.UpdateRule(0, in));
    EXPECT_EQ(e.Rules().At(0)->Text, "jones"); // a refused update leaves the rule
    EXPECT_TRUE(e.DeleteRule(1));
    EXPECT_FALSE(e.DeleteRule(5));
    // Rules reach the search only when stored.
    EXPECT_EQ(f.searches.ActiveSearch()->Rules.Count(), 0);
    EXPECT_FALSE(e.Store({}));
    EXPECT_EQ(f.searches.ActiveSearch()->Rules.Count(), 1);
}

TEST(OrgSearchEditor, SaveAsSwitchRenameDeleteAndCancelRestoresExactly) {
    Fixture f;
    const TFilterList before = f.searches;
    TSearchEditor e = f.Editor();
    TRuleInput in;
    in.Text = "smith";
    ASSERT_FALSE(e.AddRule(in));
    TSearchOptions o;
    o.ExcludeTagged = true;
    ASSERT_FALSE(e.SaveAs("Smiths", o));
    EXPECT_EQ(e.Names(), (std::vector<std::string>{"<Untitled>", "Saved", "Smiths"}));
    EXPECT_EQ(e.Current(), 2);
    EXPECT_EQ(f.searches.At(2)->Rules.Count(), 1);
    EXPECT_EQ(f.searches.At(2)->ExcludeTagged, 1);

    // "<Untitled>" is never offered; the active search is not deleted.
    EXPECT_FALSE(e.CanDelete(0));
    EXPECT_FALSE(e.CanRename(0));
    EXPECT_FALSE(e.CanDelete(2));
    EXPECT_TRUE(e.CanRename(2));
    EXPECT_TRUE(e.CanDelete(1));
    EXPECT_EQ(e.Delete(0), -1);
    EXPECT_EQ(f.searches.Count(), 3);

    EXPECT_FALSE(e.CheckRename(2, "smiths"));
    const auto taken = e.CheckRename(2, "saved");
    ASSERT_TRUE(taken);
    EXPECT_NE(taken->Text.find("\"saved\" is already Defined"), std::string::npos);
    EXPECT_TRUE(e.Rename(2, "Smith family"));
    EXPECT_EQ(TextValue(f.searches.ActiveName), "Smith family");

    // Switching stores first: a refusal keeps the current search.
    TSearchOptions bad;
    bad.ExcludeTagged = bad.ExcludeUntagged = true;
    EXPECT_TRUE(e.ChooseActive(1, bad));
    EXPECT_EQ(e.Current(), 2);
    EXPECT_FALSE(e.ChooseActive(1, o));
    EXPECT_EQ(e.Current(), 1);
    EXPECT_EQ(e.Rules().Count(), 0);
    EXPECT_EQ(e.Delete(2), 1);
    EXPECT_EQ(f.searches.Count(), 2);

    e.Cancel();
    EXPECT_EQ(f.searches, before);
}

TEST(OrgSearchEditor, NameDialogCheckByMode) {
    const std::vector<std::string> names = {"Letters", "Labels"};
    EXPECT_EQ(NameDialogCaption(TNameMode::Search, false), "Save Search As");
    EXPECT_EQ(NameDialogCaption(TNameMode::Import, true), "Rename Import Template");
    EXPECT_EQ(NameDialogCaption(TNameMode::QReport, false), "Save Quick Report As");
    auto m = CheckItemName(TNameMode::QReport, names, " ", "");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Title, kMsgTitleRequiredField);
    EXPECT_NE(m->Text.find("Quick Report must be Specified"), std::string::npos);
    m = CheckItemName(TNameMode::Export, names, "labels", "Letters");
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Title, kMsgTitleValidationFailed);
    EXPECT_NE(m->Text.find("A Template Named \"labels\""), std::string::npos);
    EXPECT_FALSE(CheckItemName(TNameMode::Export, names, "LETTERS", "Letters"));
    EXPECT_FALSE(CheckItemName(TNameMode::Import, names, " Letters ", "Letters"));
    EXPECT_FALSE(CheckItemName(TNameMode::Search, names, "New", ""));
}

} // namespace
} // namespace tessaly
