#include "cli/book_json.h"
#include "cli/sample_book.h"
#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

using testing::MakeEveryKindBook;
using testing::NoDefaultsFile;

// The book a file holds, as dump gives it.
TJson DumpImage(const std::vector<std::uint8_t>& image) {
    TLoadResult loaded = ParseBookImage(image, TStoreSettings(), "/tmp/x.ADR");
    EXPECT_TRUE(loaded.Book) << loaded.Message;
    return loaded.Book ? BookToJson(*loaded.Book) : TJson();
}

// dump, print, read back, load: the bytes load would write.
std::vector<std::uint8_t> ThroughJsonText(const std::vector<std::uint8_t>& image) {
    const std::string text = DumpImage(image).dump(2);
    auto book = BookFromJson(ParseJsonText(text));
    return WriteBookImage(*book);
}

TEST(BookJsonRoundTrip, EveryKindOfItemComesBackByteForByte) {
    auto book = MakeEveryKindBook();
    const auto image = WriteBookImage(*book);
    const auto again = ThroughJsonText(image);
    ASSERT_EQ(again.size(), image.size());
    EXPECT_TRUE(again == image);
}

TEST(BookJsonRoundTrip, SampleBookComesBackByteForByte) {
    FakeClock clock(46000.4);
    auto book = MakeSampleBook("/tmp/SAMPLE.ADR", clock);
    const auto image = WriteBookImage(*book);
    EXPECT_TRUE(ThroughJsonText(image) == image);
}

TEST(BookJsonRoundTrip, AwkwardDoublesSurviveTheText) {
    auto book = MakeEveryKindBook();
    TRecord* e = book->Entries.At(0);
    const double values[] = {0.1,
                             1.0 / 3.0,
                             -0.0,
                             5e-324,
                             std::numeric_limits<double>::max(),
                             -123456789.000000001,
                             std::nextafter(45000.5, 1e9)};
    for (double v : values) {
        e->Stamp = v;
        const auto image = WriteBookImage(*book);
        const auto again = ThroughJsonText(image);
        EXPECT_TRUE(again == image) << "stamp " << v;
        auto back = BookFromJson(ParseJsonText(DumpImage(image).dump()));
        EXPECT_EQ(std::signbit(back->Entries.At(0)->Stamp), std::signbit(v));
        EXPECT_EQ(back->Entries.At(0)->Stamp, v);
    }
}

TEST(BookJsonShape, TextsAreUtf8AndAbsentTextsNull) {
    const TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    const TJson& entry = j["Entries"][0];
    EXPECT_EQ(entry["NameFields"][1], "Ren\u00e9e");
    EXPECT_EQ(entry["NameFields"][2], "M\u00fcller \u0081\u008d\u008f\u0090\u009d");
    EXPECT_TRUE(entry["NameFields"][4].is_null());
    EXPECT_EQ(entry["NameFields"][7], "");
    EXPECT_EQ(j["PageCaptions"][0], "&Adresse \u20ac");
    EXPECT_TRUE(j["PageCaptions"][3].is_null());
    EXPECT_EQ(entry["Addresses"][0]["Fields"][1], "Acme \u201cQuotes\u201d");
    EXPECT_EQ(j["Searches"]["Items"][1]["Rules"][0]["Text"], std::string("M\u00fc\0x", 5));
}

TEST(BookJsonShape, NumbersAndListsAreAsStored) {
    const TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    EXPECT_EQ(j["WindowBounds"], TJson::parse("[-32768, -7, 32767, 0]"));
    EXPECT_EQ(j["ColumnWidths"], TJson::parse("[-1, 0, 32767, 9]"));
    EXPECT_EQ(j["LabelPhoneFields"], 255);
    EXPECT_TRUE(j["Created"].is_number_float());
    const TJson& entry = j["Entries"][0];
    EXPECT_EQ(entry["LastCalled"], -2.75);
    EXPECT_EQ(entry["CategoriesInUse"], TJson::parse(R"([{"CategoryId": 0}, {"CategoryId": -5}])"));
    EXPECT_EQ(entry["Keys"][1], TJson::parse(R"({"Code": 21, "SortBy": 0})"));
    const TJson& address = entry["Addresses"][0];
    EXPECT_EQ(address["AddressFlag"], 200);
    EXPECT_EQ(address["UseDefaultDialling"], TJson::parse("[0, 1, 1, 1]"));
    EXPECT_EQ(address["PrefixOn"], TJson::parse("[0, 1, 0, 0]"));
    EXPECT_EQ(address["ChargeCard"], TJson::parse("[0, 0, 1, 0]"));
    EXPECT_EQ(address["LogCall"], TJson::parse("[0, 0, 0, 1]"));
    EXPECT_TRUE(address["Prefix"][2].is_null());
    EXPECT_EQ(entry["Reminders"][0]["Priority"], 9);
    EXPECT_EQ(entry["Attachments"][1]["IsDocument"], 0);
    EXPECT_EQ(j["Templates"]["Items"][2]["ButtonKinds"], TJson::parse("[2, 0, 1, -3]"));
    EXPECT_EQ(j["Templates"]["Items"][2]["Shown"].size(), 11u);
    EXPECT_EQ(j["Categories"]["NextId"], 40);
    EXPECT_EQ(j["Searches"]["HeaderWidths"], TJson::parse("[120, -80]"));
    // Runtime fields are not part of the book's JSON.
    for (const char* runtime : {"Modified", "ChangeCount", "FileName", "WorkRecord", "UndoList"})
        EXPECT_FALSE(j.contains(runtime)) << runtime;
    EXPECT_FALSE(j["Templates"]["Items"][0].contains("Deleted"));
    EXPECT_FALSE(j["Categories"]["Items"][0].contains("Deleted"));
}

TEST(BookJsonShape, NewBookShowsTheBuiltInDefaults) {
    FakeClock clock(45123.5);
    auto book = NewBook("/tmp/NEW.ADR", NoDefaultsFile(), clock);
    const TJson j = DumpImage(WriteBookImage(*book));
    EXPECT_EQ(j["Version"], 13);
    EXPECT_EQ(j["AttachmentView"], 0);
    EXPECT_EQ(j["AttachmentsByDescription"], 1);
    EXPECT_EQ(j["ListWidth"], 170);
    EXPECT_EQ(j["TitleWidth"], 60);
    EXPECT_EQ(j["NamePanelWidth"], 122);
    EXPECT_EQ(j["Created"], 45123.5);
    EXPECT_EQ(j["LastUpdated"], 0.0);
    EXPECT_EQ(j["SortOrder"], 1);
    EXPECT_EQ(j["ShowCompleted"], 1);
    EXPECT_EQ(j["ShowNotes"], 1);
    EXPECT_EQ(j["WindowBounds"], TJson::parse("[5, 5, 500, 450]"));
    EXPECT_EQ(j["ColumnWidths"], TJson::parse("[22, 39, 120, 40]"));
    EXPECT_EQ(j["PageCaptions"],
              TJson::parse(R"(["&Address", "&Notes", "&Reminders", "&Others", "Attach&ments",
                               "&Categories"])"));
    EXPECT_EQ(j["Entries"], TJson::array());

    EXPECT_EQ(j["Searches"]["ActiveName"], "<Untitled>");
    EXPECT_EQ(j["Searches"]["HeaderWidths"], TJson::parse("[100, 100]"));
    ASSERT_EQ(j["Searches"]["Items"].size(), 1u);
    EXPECT_EQ(j["Searches"]["Items"][0]["Name"], "<Untitled>");
    EXPECT_EQ(j["Searches"]["Items"][0]["AnyCategory"], 1);

    EXPECT_EQ(j["Categories"], TJson::parse(R"({"NextId": 2, "Items": [
        {"Name": "Business", "Id": 0, "Default": 0},
        {"Name": "Personal", "Id": 1, "Default": 0}]})"));
    EXPECT_EQ(j["IndexKeys"], TJson::parse(R"([{"Code": 0, "SortBy": 1}, {"Code": 1, "SortBy": 1},
                                                {"Code": 2, "SortBy": 1}])"));
    EXPECT_EQ(j["InsertFields"],
              TJson::parse(R"([{"Code": 0, "SortBy": 0}, {"Code": 1, "SortBy": 0},
        {"Code": 2, "SortBy": 0}, {"Code": 20, "SortBy": 0}, {"Code": 21, "SortBy": 0},
        {"Code": 22, "SortBy": 0}])"));
    EXPECT_EQ(j["InsertBlankFields"], 0);
    EXPECT_EQ(j["LabelPhoneFields"], 0);

    const TJson& templates = j["Templates"];
    EXPECT_EQ(templates["NextId"], 2);
    EXPECT_EQ(templates["BaseIndex"], 1);
    ASSERT_EQ(templates["Items"].size(), 2u);
    const TJson& names = templates["Items"][0];
    EXPECT_EQ(names["Name"], "");
    EXPECT_EQ(names["Id"], 0);
    EXPECT_EQ(names["Captions"], TJson::parse(R"(["Title", "First Name", "Surname", "Salutation",
        "Undefined", "Undefined", "Undefined", "Undefined", "Undefined", "Notes"])"));
    const TJson& address = templates["Items"][1];
    EXPECT_EQ(address["Name"], "Address 1");
    EXPECT_EQ(address["Id"], 1);
    EXPECT_EQ(address["Captions"],
              TJson::parse(R"(["Position", "Company", "Address", "Home", "Work",
        "Fax", "E-Mail", "", "", ""])"));
    for (const TJson* t : {&names, &address}) {
        EXPECT_EQ((*t)["Shown"], TJson::parse("[1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0]"));
        EXPECT_EQ((*t)["ButtonKinds"], TJson::parse("[1, 1, 0, 2]"));
        EXPECT_EQ((*t)["IncludeForNew"], 1);
        EXPECT_EQ((*t)["AddressFormat"], 0);
        EXPECT_EQ((*t)["TemplateFlag"], 0);
    }
}

// A valid JSON book, changed by `edit`, must be refused with a message that names
// the place and the fault.
struct TRefusal {
    const char* Name;
    std::function<void(TJson&)> Edit;
    const char* Message;
};

void PrintTo(const TRefusal& r, std::ostream* os) {
    *os << r.Name;
}

class BookJsonRefusal : public ::testing::TestWithParam<TRefusal> {};

TEST_P(BookJsonRefusal, IsRefusedWithItsPlaceNamed) {
    TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    ASSERT_NO_THROW(BookFromJson(j)); // the unchanged book is accepted
    GetParam().Edit(j);
    try {
        BookFromJson(j);
        FAIL() << "accepted";
    } catch (const BookJsonError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Message);
    }
}

const TRefusal kRefusals[] = {
    {"StringForInt16", [](TJson& j) { j["Version"] = "13"; },
     "Version: expected an integer (-32768 to 32767), found string"},
    {"Int16TooLarge", [](TJson& j) { j["ListWidth"] = 32768; },
     "ListWidth: 32768 is out of range (-32768 to 32767)"},
    {"Int16TooSmall", [](TJson& j) { j["Entries"][0]["Keys"][0]["Code"] = -32769; },
     "Entries[0].Keys[0].Code: -32769 is out of range (-32768 to 32767)"},
    {"ByteTooLarge", [](TJson& j) { j["Entries"][1]["Tagged"] = 256; },
     "Entries[1].Tagged: 256 is out of range (0 to 255)"},
    {"NegativeByte", [](TJson& j) { j["Templates"]["Items"][1]["Shown"][10] = -1; },
     "Templates.Items[1].Shown[10]: -1 is out of range (0 to 255)"},
    {"HugeUnsigned", [](TJson& j) { j["WindowState"] = 18446744073709551615ull; },
     "WindowState: 18446744073709551615 is out of range (0 to 255)"},
    {"FloatForInteger", [](TJson& j) { j["SortOrder"] = 2.0; },
     "SortOrder: expected an integer (-32768 to 32767), found number"},
    {"BoolForByte", [](TJson& j) { j["ShowNotes"] = true; },
     "ShowNotes: expected an integer (0 to 255), found boolean"},
    {"WindowBoundsBeyond16Bits", [](TJson& j) { j["WindowBounds"][2] = 70000; },
     "WindowBounds[2]: 70000 is out of range (-32768 to 32767)"},
    {"StringForDate", [](TJson& j) { j["Entries"][0]["Created"] = "2020-01-01"; },
     "Entries[0].Created: expected a number, found string"},
    {"NullForDate", [](TJson& j) { j["Entries"][0]["Stamp"] = nullptr; },
     "Entries[0].Stamp: expected a number, found null"},
    {"NumberForText", [](TJson& j) { j["Entries"][0]["NameFields"][2] = 5; },
     "Entries[0].NameFields[2]: expected a string or null, found number"},
    {"NullForRuleText", [](TJson& j) { j["Searches"]["Items"][1]["Rules"][0]["Text"] = nullptr; },
     "Searches.Items[1].Rules[0].Text: expected a string, found null"},
    {"CharacterOutsideTheCodePage", [](TJson& j) { j["Entries"][0]["NameFields"][1] = "\u4e2d"; },
     "Entries[0].NameFields[1]: holds a character that Windows-1252 cannot store"},
    {"C1ControlThatIsNotUndefined", [](TJson& j) { j["PageCaptions"][1] = "\u0080"; },
     "PageCaptions[1]: holds a character that Windows-1252 cannot store"},
    {"NulInsideText",
     [](TJson& j) { j["Categories"]["Items"][0]["Name"] = std::string("a\0b", 3); },
     "Categories.Items[0].Name: holds a NUL character, which a stored text cannot"},
    {"TextTooLong", [](TJson& j) { j["Entries"][0]["NameFields"][9] = std::string(65535, 'x'); },
     "Entries[0].NameFields[9]: is 65535 characters long; a stored text holds at most 65534"},
    {"RuleTextTooLong",
     [](TJson& j) { j["Searches"]["Items"][1]["Rules"][0]["Text"] = std::string(256, 'x'); },
     "Searches.Items[1].Rules[0].Text: is 256 characters long; this field holds at most 255"},
    {"FixedArrayTooShort", [](TJson& j) { j["Entries"][0]["NameFields"].erase(9); },
     "Entries[0].NameFields: expected an array of 10 values"},
    {"FixedArrayTooLong", [](TJson& j) { j["ColumnWidths"].push_back(1); },
     "ColumnWidths: expected an array of 4 values"},
    {"ObjectForList", [](TJson& j) { j["IndexKeys"] = TJson::object(); },
     "IndexKeys: expected an array, found object"},
    {"ArrayForHeaderList", [](TJson& j) { j["Categories"] = TJson::array(); },
     "Categories: expected an object, found array"},
    {"ItemNotAnObject", [](TJson& j) { j["Entries"][0]["CallLogs"][0] = 3; },
     "Entries[0].CallLogs[0]: expected an object, found number"},
    {"ListTooLong",
     [](TJson& j) {
         TJson& list = j["Entries"][0]["CategoriesInUse"];
         list = TJson::array();
         for (int i = 0; i < 32768; ++i)
             list.push_back(TJson{{"CategoryId", 1}});
     },
     "Entries[0].CategoriesInUse: has 32768 items; a stored list holds at most 32767"},
    {"MissingField", [](TJson& j) { j["Entries"][0]["Addresses"][0].erase("Prefix"); },
     "Entries[0].Addresses[0].Prefix: is missing"},
    {"MissingItems", [](TJson& j) { j["Templates"].erase("Items"); },
     "Templates.Items: is missing"},
    {"MisspeltField", [](TJson& j) { j["Entries"][0]["Reminders"][0]["Priorty"] = 1; },
     "Entries[0].Reminders[0].Priorty: is not a stored field"},
    {"RuntimeFieldGiven", [](TJson& j) { j["Modified"] = 1; }, "Modified: is not a stored field"},
    {"BookNotAnObject", [](TJson& j) { j = TJson::array(); },
     "the book: expected an object, found array"},
};

INSTANTIATE_TEST_SUITE_P(Faults, BookJsonRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(BookJsonText, DuplicateKeysAndBrokenTextAreRefused) {
    EXPECT_THROW(ParseJsonText(R"({"Version": 13, "Version": 12})"), BookJsonError);
    EXPECT_THROW(ParseJsonText(R"({"a": {"b": 1, "b": 1}})"), BookJsonError);
    // The same key in two different objects is fine.
    EXPECT_NO_THROW(ParseJsonText(R"({"a": {"b": 1}, "c": {"b": 1}})"));
    try {
        ParseJsonText("{\"Version\": 13,");
        FAIL() << "accepted";
    } catch (const BookJsonError& e) {
        const std::string what = e.what();
        EXPECT_TRUE(what.starts_with("not valid JSON: parse error at line 1")) << what;
    }
    // Malformed UTF-8 is not JSON.
    EXPECT_THROW(ParseJsonText("{\"a\": \"\xff\"}"), BookJsonError);
}

TEST(BookJsonLoad, ValuesAtTheEdgesOfTheirRangesAreAccepted) {
    TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    j["ListWidth"] = -32768;
    j["TitleWidth"] = 32767;
    j["Entries"][0]["Tagged"] = 255;
    j["Entries"][0]["NameFields"][9] = std::string(65534, 'n');
    j["Searches"]["Items"][1]["Rules"][0]["Text"] = std::string(255, 'r');
    j["Entries"][0]["Created"] = 44000; // an integer is a number too
    auto book = BookFromJson(j);
    EXPECT_EQ(book->ListWidth, -32768);
    EXPECT_EQ(book->TitleWidth, 32767);
    EXPECT_EQ(book->Entries.At(0)->Tagged, 255);
    EXPECT_EQ(book->Entries.At(0)->Notes().size(), 65534u);
    EXPECT_EQ(book->Searches.At(1)->Rules.At(0)->Text.size(), 255u);
    EXPECT_EQ(book->Entries.At(0)->Created, 44000.0);
    EXPECT_NO_THROW(WriteBookImage(*book));
}

TEST(BookJsonLoad, HeaderValuesOutOfRangeAreBroughtInAsAReadWould) {
    // What load writes must read back as it was written: the reader would otherwise
    // move these values and a dump of the file would differ from the JSON loaded.
    TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    j["Templates"]["BaseIndex"] = j["Templates"]["Items"].size();
    j["SortOrder"] = 9;
    j["ActivePage"] = -1;
    j["ListTopIndex"] = -5;
    const auto image = WriteBookImage(*BookFromJson(j));
    TLoadResult back = ParseBookImage(image, TStoreSettings(), "/tmp/x.ADR");
    ASSERT_TRUE(back.Book) << back.Message;
    EXPECT_EQ(WriteBookImage(*back.Book), image);
    EXPECT_EQ(back.Book->Templates.BaseIndex, 1);
    EXPECT_EQ(back.Book->SortOrder, 1);
    EXPECT_EQ(back.Book->ListTopIndex, 0);
}

TEST(BookJsonLoad, ARepeatUntilBeforeItsEventIsBroughtInAsAReadWould) {
    // An entry's reminder, a diary's event and the reminder of an added entry, each
    // given an Until two days before its When.
    TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    TJson* reminder = nullptr;
    for (auto& entry : j["Entries"])
        if (!entry["Reminders"].empty())
            reminder = &entry["Reminders"][0];
    ASSERT_TRUE(reminder);
    const double when = (*reminder)["When"].get<double>();
    (*reminder)["Until"] = when - 2;
    const auto image = WriteBookImage(*BookFromJson(j));
    TLoadResult back = ParseBookImage(image, TStoreSettings(), "/tmp/x.ADR");
    ASSERT_TRUE(back.Book) << back.Message;
    EXPECT_EQ(WriteBookImage(*back.Book), image);
    EXPECT_EQ(BookToJson(*back.Book), BookToJson(*BookFromJson(j)));

    TDiaryData diary;
    auto event = std::make_unique<TReminders>();
    event->When = 45000.75;
    event->Until = 45000.25; // the same day: kept as given
    diary.Events.Add(std::move(event));
    TJson d = DiaryToJson(diary);
    d["Events"].push_back(d["Events"][0]);
    d["Events"][1]["Until"] = 44990.5;
    auto loaded = DiaryFromJson(d);
    EXPECT_EQ(loaded->Events.At(0)->Until, 45000.25);
    EXPECT_EQ(loaded->Events.At(1)->Until, 45000.75);
    const auto diaryImage = WriteDiaryImage(*loaded);
    TDiaryLoad diaryBack = ParseDiaryImage(diaryImage, "/tmp/x.TDY");
    ASSERT_TRUE(diaryBack.Diary) << diaryBack.Message;
    EXPECT_EQ(WriteDiaryImage(*diaryBack.Diary), diaryImage);

    TJson added = (*reminder);
    TJson entry = EntryToJson(*BookFromJson(j)->Entries.At(0));
    entry["Reminders"] = TJson::array({added});
    EXPECT_EQ(EntryFromJson(entry)->Reminders.At(0)->Until, when);
}

TEST(BookJsonLoad, TextsAreStoredAsGivenWithoutCleaning) {
    TJson j = DumpImage(WriteBookImage(*MakeEveryKindBook()));
    // The program trims names when they are typed; a loaded book keeps what it is given.
    j["Entries"][0]["NameFields"][1] = "  padded  ";
    j["Categories"]["Items"][0]["Name"] = nullptr;
    auto book = BookFromJson(j);
    EXPECT_EQ(book->Entries.At(0)->NameFields[1], std::string("  padded  "));
    EXPECT_FALSE(book->Categories.At(0)->Name.has_value());
}

} // namespace
} // namespace tessaly
