// Saved searches: the test that decides whether an entry is listed, text matching,
// the list of searches and its active search, rules and their descriptions.

#include "core/common/upper_case.h"
#include "core/organise/rule_description.h"
#include "core/organise/search_match.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const TDateTime kToday = EncodeDate(2024, 3, 10);

TRecord Person(const std::string& first, const std::string& surname) {
    TRecord e;
    e.SetNameField(kFieldFirstName, first);
    e.SetNameField(kFieldSurname, surname);
    return e;
}

bool Matches(const TFilter& f, const TRecord& e, std::string_view sort = "x") {
    return EntryMatches(f, e, sort, kToday);
}

TFilter WithRule(std::unique_ptr<TRule> rule) {
    TFilter f("Rule");
    f.Rules.Add(std::move(rule));
    return f;
}

std::unique_ptr<TRule> TextRule(int field, std::string_view text, bool wholeWords = false,
                                bool matchCase = false, int templateNo = -1) {
    return MakeRule(field, templateNo, true, 0, 0, wholeWords, matchCase, text);
}

std::unique_ptr<TRule> DateRule(int field, TDateTime from, TDateTime to) {
    return MakeRule(field, -1, false, from, to, false, false, "");
}

TEST(OrgUpperCase, FoldsTheCodePageLetters) {
    EXPECT_EQ(UpperByte(0xE9), 0xC9); // e acute
    EXPECT_EQ(UpperByte(0xF7), 0xF7); // division sign
    EXPECT_EQ(UpperByte(0xFF), 0x9F); // y diaeresis
    EXPECT_EQ(UpperByte(0x9A), 0x8A); // s caron
    EXPECT_EQ(UpperByte(0xDF), 0xDF); // sharp s has no capital here
    EXPECT_EQ(CompareNoCase("\xE9t\xE9", "\xC9T\xC9"), 0);
    EXPECT_LT(CompareNoCase("Smith", "smithers"), 0);
    EXPECT_GT(CompareNoCase("b", "A"), 0);
    EXPECT_FALSE(StartsWithNoCase("Sm", "smi"));
}

TEST(OrgTextMatch, CaseAndAccents) {
    EXPECT_TRUE(TextMatches("Abernethy-Smithson", "SMITH", false, false));
    EXPECT_FALSE(TextMatches("Abernethy-Smithson", "SMITH", true, false));
    EXPECT_TRUE(TextMatches("Abernethy-Smithson", "Smith", true, false));
    EXPECT_TRUE(TextMatches("caf\xE9 noir", "CAF\xC9", false, false));
    EXPECT_FALSE(TextMatches("caf\xE9 noir", "CAF\xC9", true, false));
    // An empty field never matches; a text longer than the field cannot.
    EXPECT_FALSE(TextMatches("", "", false, false));
    EXPECT_FALSE(TextMatches("", "a", false, false));
    EXPECT_FALSE(TextMatches("Smit", "Smith", false, false));
    EXPECT_TRUE(TextMatches("xSmith", "smith", false, false)); // ends at the field's end
}

TEST(OrgTextMatch, WholeWordsAnywhereTheFirstWordIncluded) {
    // The first word of a field is found like any other.
    EXPECT_TRUE(TextMatches("Smith and Sons", "smith", false, true));
    EXPECT_TRUE(TextMatches("Smith", "smith", false, true));
    EXPECT_TRUE(TextMatches("Jane Smith-Jones", "smith", false, true)); // hyphen delimits
    EXPECT_TRUE(TextMatches("Jane Smith", "SMITH", false, true));
    EXPECT_FALSE(TextMatches("Smithson", "smith", false, true));
    EXPECT_FALSE(TextMatches("Goldsmith", "smith", false, true));
    EXPECT_FALSE(TextMatches("Smith2", "smith", false, true)); // digits are word characters
    // A later whole occurrence is found after a partial one.
    EXPECT_TRUE(TextMatches("Smithson, Smith", "smith", false, true));
    // Bytes above 127 are delimiters, even accented letters.
    EXPECT_TRUE(TextMatches("Caf\xE9", "caf", false, true));
    EXPECT_TRUE(TextMatches("\xABSmith\xBB", "smith", false, true));
    EXPECT_TRUE(TextMatches("M\xFCller", "ller", false, true));
    // Words of several parts.
    EXPECT_TRUE(TextMatches("Mr John Smith", "john smith", false, true));
    EXPECT_FALSE(TextMatches("Mr John Smithers", "john smith", false, true));
}

TEST(OrgTextMatch, FieldsAreSearchedAsShortStringsExceptNotesAndAddress) {
    TRecord e;
    // A name field longer than 255 characters (possible in a file) is searched in its
    // first 255 only.
    e.NameFields[kFieldSurname] = std::string(255, 'a') + "Needle";
    e.NameFields[kFieldNotes] = std::string(400, ' ') + "Needle";
    e.Addresses.AddAddress(1);
    e.Addresses.At(0)->Fields[kFieldAddress] = std::string(300, '.') + "Street";
    e.Addresses.At(0)->Fields[kFieldCompany] = std::string(300, '.') + "Acme";
    EXPECT_FALSE(Matches(WithRule(TextRule(kFieldSurname, "needle")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kFieldNotes, "needle")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kFieldAddress, "street", false, false, 1)), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kFieldCompany, "acme", false, false, 1)), e));
}

TEST(OrgEntryMatches, StartsWithComparesTheSortTextWithoutCase) {
    TFilter f("S");
    f.StartsWithOn = 1;
    f.SetStartsWith("sm");
    const TRecord e;
    EXPECT_TRUE(Matches(f, e, "Smith John"));
    EXPECT_TRUE(Matches(f, e, "SMYTHE"));
    EXPECT_FALSE(Matches(f, e, "Jones"));
    EXPECT_FALSE(Matches(f, e, "S"));
    f.StartsWithOn = 0;
    EXPECT_TRUE(Matches(f, e, "Jones"));

    // Characters beyond 255 (a damaged file) are not compared.
    f.StartsWithOn = 1;
    f.StartsWith = std::string(255, 'a') + "zzz";
    EXPECT_TRUE(Matches(f, e, std::string(255, 'A')));
}

TEST(OrgEntryMatches, CategoriesAndOrNone) {
    TRecord none;
    TRecord one;
    one.CategoriesInUse.AddMembership(1);
    TRecord both;
    both.CategoriesInUse.AddMembership(2);
    both.CategoriesInUse.AddMembership(1);

    TFilter f("Cats");
    f.CategoriesOn = 1;
    // An empty list wants entries without any category.
    EXPECT_TRUE(Matches(f, none));
    EXPECT_FALSE(Matches(f, one));

    f.CategoriesInUse.AddMembership(1);
    f.CategoriesInUse.AddMembership(2);
    f.AnyCategory = 1; // OR
    EXPECT_TRUE(Matches(f, one));
    EXPECT_TRUE(Matches(f, both));
    EXPECT_FALSE(Matches(f, none));
    f.AnyCategory = 0; // AND
    EXPECT_FALSE(Matches(f, one));
    EXPECT_TRUE(Matches(f, both));
    EXPECT_FALSE(Matches(f, none));
}

TEST(OrgEntryMatches, TagsRemindersAndAttachments) {
    TRecord tagged;
    tagged.Tagged = 1;
    TRecord plain;
    TFilter f("Opts");
    f.ExcludeTagged = 1;
    EXPECT_FALSE(Matches(f, tagged));
    EXPECT_TRUE(Matches(f, plain));
    f.ExcludeTagged = 0;
    f.ExcludeUntagged = 1;
    EXPECT_TRUE(Matches(f, tagged));
    EXPECT_FALSE(Matches(f, plain));

    TFilter due("Due");
    due.ExcludeNoDueReminders = 1;
    auto reminderOn = [](TDateTime when, int advance) {
        TRecord e;
        auto r = std::make_unique<TReminders>();
        r->When = when;
        r->Frequency = kOnceOnly;
        r->AdvanceDays = static_cast<std::int16_t>(advance);
        e.Reminders.Add(std::move(r));
        return e;
    };
    EXPECT_FALSE(Matches(due, plain));
    EXPECT_TRUE(Matches(due, reminderOn(kToday - 3, 0)));    // overdue
    EXPECT_TRUE(Matches(due, reminderOn(kToday + 0.75, 0))); // due today
    EXPECT_TRUE(Matches(due, reminderOn(kToday + 5, 7)));    // pending
    EXPECT_FALSE(Matches(due, reminderOn(kToday + 30, 7)));  // not yet
    TRecord done = reminderOn(kToday - 3, 0);
    done.Reminders.At(0)->Completed = 1;
    EXPECT_FALSE(Matches(due, done));

    TFilter docs("Docs");
    docs.ExcludeNoAttachments = 1;
    EXPECT_FALSE(Matches(docs, plain));
    TRecord withDoc;
    withDoc.Attachments.AppendAttachment("Letter", "/tmp/letter.txt", true);
    EXPECT_TRUE(Matches(docs, withDoc));
}

TEST(OrgEntryMatches, EveryRuleMustHold) {
    TRecord e = Person("Ann", "Smith");
    TFilter f("Two");
    f.Rules.Add(TextRule(kFieldFirstName, "ann"));
    f.Rules.Add(TextRule(kFieldSurname, "smith"));
    EXPECT_TRUE(Matches(f, e));
    f.Rules.Add(TextRule(kFieldSurname, "jones"));
    EXPECT_FALSE(Matches(f, e));
    EXPECT_TRUE(Matches(TFilter("None"), e));
}

TEST(OrgEntryMatches, AddressRulesLookInTheFirstAddressOfTheirTemplate) {
    TRecord e = Person("Ann", "Smith");
    e.Addresses.AddAddress(1);
    e.Addresses.AddAddress(2);
    e.Addresses.AddAddress(2);
    e.Addresses.SetFieldOf(0, kFieldCompany, "Acme");
    e.Addresses.SetFieldOf(1, kFieldCompany, "Widgets");
    e.Addresses.SetFieldOf(2, kFieldCompany, "Gadgets");
    e.Addresses.SetFieldOf(1, 5, "0123 4567");

    EXPECT_TRUE(Matches(WithRule(TextRule(kFieldCompany, "widgets", false, false, 2)), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kFieldCompany, "gadgets", false, false, 2)), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kFieldCompany, "acme", false, false, 2)), e));
    // Field -1 searches every field of that address.
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleAllFields, "4567", false, false, 2)), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kRuleAllFields, "acme", false, false, 2)), e));
    // No address of template 3: fails whatever the field.
    for (int field : {-1, 0, 1, 6, 7})
        EXPECT_FALSE(Matches(WithRule(TextRule(field, "a", false, false, 3)), e)) << field;
    EXPECT_FALSE(Matches(WithRule(TextRule(7, "a", false, false, 1)), e));
}

TEST(OrgEntryMatches, DateRulesCompareWholeDays) {
    TRecord e;
    const TDateTime march1 = EncodeDate(2024, 3, 1);
    e.Created = march1 + EncodeTime(23, 59, 0);
    e.Updated = march1 + 5.5;
    e.LastCalled = 0;
    EXPECT_TRUE(Matches(WithRule(DateRule(kRuleCreated, march1, march1)), e));
    EXPECT_TRUE(Matches(WithRule(DateRule(kRuleCreated, march1 + 0.99, march1 + 0.5)), e));
    EXPECT_FALSE(Matches(WithRule(DateRule(kRuleCreated, march1 + 1, march1 + 9)), e));
    EXPECT_FALSE(Matches(WithRule(DateRule(kRuleCreated, march1 - 9, march1 - 1)), e));
    EXPECT_TRUE(Matches(WithRule(DateRule(kRuleLastModified, march1, march1 + 6)), e));
    EXPECT_FALSE(Matches(WithRule(DateRule(kRuleLastModified, march1, march1 + 4)), e));
    EXPECT_FALSE(Matches(WithRule(DateRule(kRuleLastCalled, march1, march1 + 4)), e));

    auto r = std::make_unique<TReminders>();
    r->When = march1 + 2.75;
    e.Reminders.Add(std::move(r));
    EXPECT_TRUE(Matches(WithRule(DateRule(kRuleReminders, march1 + 2, march1 + 2)), e));
    EXPECT_FALSE(Matches(WithRule(DateRule(kRuleReminders, march1 + 3, march1 + 4)), e));
}

TEST(OrgEntryMatches, ReminderAttachmentAndAllFieldRules) {
    TRecord e = Person("Ann", "Smith");
    auto r = std::make_unique<TReminders>();
    r->SetDescription("Birthday party");
    r->SetNotes("Bring cake");
    e.Reminders.Add(std::move(r));
    e.Attachments.AppendAttachment("Contract draft", "/tmp/c.txt", true);
    e.Addresses.AddAddress(4);
    e.Addresses.SetFieldOf(0, kFieldAddress, "1 High St\r\nLeeds");

    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleReminderDescriptions, "party")), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kRuleReminderDescriptions, "cake")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleReminderNotes, "cake")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleAttachmentDescriptions, "draft")), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kRuleAttachmentDescriptions, "cake")), e));

    // All fields: name fields, attachments and every address, but no reminders.
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleAllFields, "smith")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleAllFields, "contract")), e));
    EXPECT_TRUE(Matches(WithRule(TextRule(kRuleAllFields, "leeds", true)), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(kRuleAllFields, "party")), e));

    // Unknown field numbers never hold.
    EXPECT_FALSE(Matches(WithRule(TextRule(17, "a")), e));
    EXPECT_FALSE(Matches(WithRule(TextRule(-2, "a")), e));
}

TEST(OrgSearches, ActiveSearchFallsBackToUntitled) {
    TFilterList list = TFilterList::Defaults();
    ASSERT_EQ(list.SelectSearch("  Golfers "), 1);
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("Golfers"));
    EXPECT_EQ(list.ActiveSearch(), list.At(1));
    EXPECT_EQ(list.SelectSearch("GOLFERS"), 1); // found, not added again
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("Golfers"));
    EXPECT_EQ(list.SelectSearch("   "), -1);
    EXPECT_EQ(list.Count(), 2);

    // A name that matches no search (a damaged file) falls back to "<Untitled>".
    list.ActiveName = std::string("Gone");
    EXPECT_EQ(list.ActiveSearch(), list.At(0));
    list.ActiveName = std::nullopt;
    EXPECT_EQ(list.ActiveSearch(), list.At(0));
    EXPECT_TRUE(list.EnsureUntitled());
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("<Untitled>"));
    EXPECT_FALSE(list.EnsureUntitled());
}

TEST(OrgSearches, UntitledStaysFirstAndCannotBeRenamedOrDeleted) {
    TFilterList list = TFilterList::Defaults();
    list.SelectSearch("Golfers");
    list.SelectSearch("Chess");
    EXPECT_FALSE(list.RenameSearch(0, "Mine"));
    EXPECT_FALSE(list.DeleteSearch(0));
    EXPECT_EQ(list.Count(), 3);

    // A list without it (a damaged file) gets it back at index 0.
    TFilterList damaged;
    damaged.Add(std::make_unique<TFilter>("Golfers"));
    damaged.Add(std::make_unique<TFilter>("<untitled>"));
    damaged.ActiveName = std::string("Golfers");
    EXPECT_TRUE(damaged.EnsureUntitled());
    EXPECT_EQ(TextValue(damaged.At(0)->Name), "<untitled>");
    EXPECT_EQ(damaged.Count(), 2);
    TFilterList empty;
    empty.ActiveName = std::string("X");
    EXPECT_EQ(empty.ActiveSearch(), nullptr);
    empty.EnsureUntitled();
    ASSERT_EQ(empty.Count(), 1);
    EXPECT_EQ(TextValue(empty.At(0)->Name), "<Untitled>");
    EXPECT_EQ(empty.ActiveSearch(), empty.At(0));
}

TEST(OrgSearches, RenameAndDelete) {
    TFilterList list = TFilterList::Defaults();
    list.SelectSearch("Golfers");
    list.SelectSearch("Chess");                  // active
    EXPECT_FALSE(list.RenameSearch(1, "chess")); // another search's name
    EXPECT_FALSE(list.RenameSearch(1, "<UNTITLED>"));
    EXPECT_FALSE(list.RenameSearch(1, " "));
    EXPECT_FALSE(list.RenameSearch(5, "X"));
    EXPECT_TRUE(list.RenameSearch(1, "golfers")); // its own name in another case
    EXPECT_EQ(TextValue(list.At(1)->Name), "golfers");
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("Chess"));

    // Renaming the active search carries the active name along.
    EXPECT_TRUE(list.RenameSearch(2, " Bridge "));
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("Bridge"));
    EXPECT_EQ(list.ActiveSearch(), list.At(2));

    EXPECT_TRUE(list.DeleteSearch(1));
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("Bridge"));
    // Deleting the active search makes "<Untitled>" active.
    EXPECT_TRUE(list.DeleteSearch(1));
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("<Untitled>"));
    EXPECT_EQ(list.Count(), 1);
}

TEST(OrgSearches, ClearAndIsActive) {
    TFilterList list = TFilterList::Defaults();
    EXPECT_FALSE(list.SearchIsActive(false));
    TFilter* untitled = list.At(0);
    untitled->Rules.Add(TextRule(kFieldSurname, "x"));
    EXPECT_TRUE(list.SearchIsActive(false));
    EXPECT_FALSE(list.SearchIsActive(true)); // rules are not basic options
    untitled->ExcludeNoAttachments = 1;
    EXPECT_TRUE(list.SearchIsActive(true));

    list.SelectSearch("Golfers");
    list.At(1)->CategoriesOn = 1;
    EXPECT_TRUE(list.SearchIsActive(true));
    list.ClearSearch();
    EXPECT_EQ(list.ActiveName, std::optional<std::string>("<Untitled>"));
    EXPECT_EQ(list.Count(), 2); // the saved search stays
    EXPECT_EQ(*list.At(0), TFilter("<Untitled>"));
    EXPECT_FALSE(list.SearchIsActive(false));
}

TEST(OrgRules, MakeAndUpdate) {
    auto rule = MakeRule(kFieldSurname, -1, true, 100, 200, true, false, std::string(300, 'x'));
    EXPECT_EQ(rule->FromDate, 0); // a text rule has no dates
    EXPECT_EQ(rule->ToDate, 0);
    EXPECT_EQ(rule->Text.size(), 255u);
    UpdateRule(*rule, kRuleCreated, -1, false, 100, 200, false, true, "");
    EXPECT_EQ(*rule, *MakeRule(kRuleCreated, -1, false, 100, 200, false, true, ""));
    EXPECT_EQ(rule->FromDate, 100);
    EXPECT_EQ(rule->MatchCase, 1);
}

TEST(OrgRules, Descriptions) {
    TTemplateList templates = TTemplateList::Defaults();
    templates.At(0)->SetCaption(2, "&Surname");
    templates.At(1)->SetName("Ho&me");
    TFormatSettings fs;
    fs.ShortDateFormat = "dd/mm/yyyy";

    auto d = RuleDescription(*TextRule(kFieldSurname, "smith", true), templates, fs);
    EXPECT_EQ(d.Field, "Surname");
    EXPECT_EQ(d.Condition, "Containing Word");
    EXPECT_EQ(d.Value, "\"smith\"");
    d = RuleDescription(*TextRule(kRuleAllFields, "x"), templates, fs);
    EXPECT_EQ(d.Field, "<All Fields>");
    EXPECT_EQ(d.Condition, "Containing Text");
    d = RuleDescription(*TextRule(kFieldCompany, "acme", false, false, 1), templates, fs);
    EXPECT_EQ(d.Field, "[Home] Company");

    const TDateTime march1 = EncodeDate(2024, 3, 1);
    d = RuleDescription(*DateRule(kRuleCreated, march1, march1 + 0.5), templates, fs);
    EXPECT_EQ(d.Field, "Entry Created");
    EXPECT_EQ(d.Condition, "On the Date");
    EXPECT_EQ(d.Value, "\"01/03/2024\"");
    d = RuleDescription(*DateRule(kRuleReminders, march1, march1 + 4), templates, fs);
    EXPECT_EQ(d.Field, "Reminders");
    EXPECT_EQ(d.Condition, "Between Dates");
    EXPECT_EQ(d.Value, "\"01/03/2024\" and \"05/03/2024\"");

    const char* names[] = {
        "Reminders",           "Reminder Descriptions", "Reminder Notes",         "Entry Created",
        "Entry Last Modified", "Entry Last Called",     "Attachment Descriptions"};
    for (int f = kRuleReminders; f <= kRuleAttachmentDescriptions; ++f)
        EXPECT_EQ(RuleFieldName(f), names[f - kRuleReminders]);
    EXPECT_EQ(RuleFieldName(17), "");
}

} // namespace
} // namespace tessaly
