#include "core/exchange/insertion_text.h"
#include "core/exchange/word_pro_edit.h"
#include "core/exchange/word_pro_file.h"
#include "core/exchange/word_pro_link.h"
#include "tests/support/fake_word_pro_desktop.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::ReadBytes;
using testing::TScratchDir;

std::vector<std::uint8_t> Bytes(std::string_view s) {
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

void WriteRaw(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// ---- the list and its file -------------------------------------------------------------------

TEST(WordProList, DefaultListIsTheNineThenTheLinuxOnesWithNoneSelected) {
    const TWordProList list = DefaultWordProcessors();
    ASSERT_EQ(list.Count(), 14);
    EXPECT_EQ(list.NameAt(0), "Microsoft Notepad");
    EXPECT_EQ(list.TitleAt(0), "Notepad");
    EXPECT_EQ(list.NameAt(7), "Symantec Q&A Write");
    EXPECT_EQ(list.NameAt(8), "Word Express");
    EXPECT_EQ(list.TitleAt(8), "WordExpress");
    EXPECT_EQ(list.NameAt(9), "LibreOffice Writer");
    EXPECT_EQ(list.TitleAt(9), "LibreOffice Writer");
    EXPECT_EQ(list.NameAt(13), "Mousepad");
    EXPECT_EQ(list.SelectedWordProcessor(), "Not Defined");
    EXPECT_FALSE(list.WordProcessorDefined());
}

TEST(WordProList, LookUpIsCaselessLastWinsAndARenameKeepsTheSelection) {
    TWordProList list;
    list.AddOrChangeWordProcessor("Kate", "Kate");
    list.AddOrChangeWordProcessor("KATE", "Second");
    EXPECT_EQ(list.TitleBarTextOf("kate"), "Second");
    EXPECT_EQ(list.TitleBarTextOf("Writer"), "");
    EXPECT_EQ(list.IndexOfName("kAtE"), 0);

    list.SelectWordProcessor("kate");
    EXPECT_EQ(list.AddOrChangeWordProcessor("Kate Editor", "Kate", 0), 0);
    EXPECT_EQ(list.SelectedWordProcessor(), "Kate Editor");
    // Changing an item that is not the selected one leaves the selection.
    list.AddOrChangeWordProcessor("Other", "Second", 1);
    EXPECT_EQ(list.SelectedWordProcessor(), "Kate Editor");
    EXPECT_EQ(list.AddOrChangeWordProcessor("New", "New"), 2);
}

TEST(WordProFile, ImageIsByteExact) {
    TWordProList list;
    list.Add(std::make_unique<TWordPro>("Kate", "Kate"));
    list.Add(nullptr); // an empty slot is not written
    list.Add(std::make_unique<TWordPro>("Ed", "ed"));
    list.SelectWordProcessor("Ed");
    const std::vector<std::uint8_t> expected =
        Bytes(std::string_view("\x05TS-V3"
                               "\x0d\x00"
                               "\x02\x00"
                               "\x03\x00"
                               "Ed\0"
                               "\x05\x00"
                               "Kate\0"
                               "\x05\x00"
                               "Kate\0"
                               "\x03\x00"
                               "Ed\0"
                               "\x03\x00"
                               "ed\0"
                               "\x05TS-V3",
                               6 + 2 + 2 + 5 + 7 + 7 + 5 + 5 + 6));
    EXPECT_EQ(WriteWordProImage(list), expected);
    const auto back = ParseWordProImage(expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Count(), 2);
    EXPECT_EQ(back->SelectedWordProcessor(), "Ed");
    EXPECT_EQ(WriteWordProImage(*back), expected);
}

TEST(WordProFile, AnAbsentTextStaysAbsentThroughTheFile) {
    TWordProList list;
    list.Selected = Text();
    list.Add(std::make_unique<TWordPro>());
    list.At(0)->TitleBarText = Text();
    const auto image = WriteWordProImage(list);
    // Selected and the title are absent (length 0), the name is an empty text (length 1).
    EXPECT_EQ(image, Bytes(std::string_view("\x05TS-V3\x0d\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00"
                                            "\x05TS-V3",
                                            6 + 2 + 2 + 2 + 3 + 2 + 6)));
    EXPECT_EQ(WriteWordProImage(*ParseWordProImage(image)), image);
}

TEST(WordProFile, DamagedFilesGiveTheDefaultList) {
    TScratchDir dir;
    const std::string path = dir.File("TESSALY.TPW");
    TWordProList list;
    list.AddOrChangeWordProcessor("Kate", "Kate");
    const auto good = WriteWordProImage(list);

    auto withoutTrailer = good;
    withoutTrailer.resize(good.size() - 6);
    auto badTrailer = good;
    badTrailer.back() = '4';
    auto badHead = good;
    badHead[1] = 'X';
    auto cutInItem = good;
    cutInItem.resize(good.size() - 9);
    for (const auto& damaged :
         {withoutTrailer, badTrailer, badHead, cutInItem, std::vector<std::uint8_t>()}) {
        WriteRaw(path, damaged);
        EXPECT_EQ(LoadWordProcessors(path), DefaultWordProcessors());
    }
    EXPECT_EQ(LoadWordProcessors(dir.File("MISSING.TPW")), DefaultWordProcessors());
    // A file that reads keeps exactly what it holds, even an empty list.
    WriteRaw(path, WriteWordProImage(TWordProList()));
    EXPECT_EQ(LoadWordProcessors(path).Count(), 0);
}

TEST(WordProFile, SaveIsCrashSafeAndAFailureIsReported) {
    TScratchDir dir;
    const std::string path = dir.File("TESSALY.TPW");
    TWordProList first = DefaultWordProcessors();
    first.SelectWordProcessor("Kate");
    ASSERT_TRUE(SaveWordProcessors(path, first).Ok);
    EXPECT_EQ(LoadWordProcessors(path), first);

    TWordProList second;
    second.AddOrChangeWordProcessor("Ed", "ed");
    testing::TFaultFileSystem faults;
    faults.DiskFullAfter(10);
    const TIoResult failed = SaveWordProcessors(path, second, faults);
    EXPECT_FALSE(failed.Ok);
    EXPECT_FALSE(failed.Error.empty());
    EXPECT_EQ(LoadWordProcessors(path), first); // the old file is whole

    // A name too long for its 16-bit length is refused before anything is written.
    second.AddOrChangeWordProcessor(std::string(70000, 'x'), "x");
    EXPECT_FALSE(SaveWordProcessors(path, second).Ok);
    EXPECT_EQ(LoadWordProcessors(path), first);
}

TEST(WordProEdit, EditorChecksInOrder) {
    TWordProList list = DefaultWordProcessors();
    TWordProCheck c = CheckWordProEdit(list, "  ", "x");
    EXPECT_EQ(c.Refusal->Text, kMsgWordProNameRequired);
    EXPECT_EQ(c.Refusal->Title, kMsgTitleRequiredField);
    EXPECT_EQ(c.Focus, TWordProField::Name);
    c = CheckWordProEdit(list, "Ed", " ");
    EXPECT_EQ(c.Refusal->Text, kMsgWordProTitleRequired);
    EXPECT_EQ(c.Focus, TWordProField::Title);
    c = CheckWordProEdit(list, " kate ", "K");
    ASSERT_TRUE(c.Refusal);
    EXPECT_EQ(c.Refusal->Text, "A Word Processor with the Name \"kate\" already exists \n\nPlease "
                               "choose another name before continuing");
    EXPECT_EQ(c.Refusal->Title, kMsgTitleValidationFailed);
    // Editing an item may keep its name in another case; not take another's.
    const int kate = list.IndexOfName("Kate");
    c = CheckWordProEdit(list, " KATE ", " Kate ", kate);
    EXPECT_FALSE(c.Refusal);
    EXPECT_EQ(c.Name, "KATE");
    EXPECT_EQ(c.Title, "Kate");
    EXPECT_TRUE(CheckWordProEdit(list, "Mousepad", "m", kate).Refusal);
    EXPECT_EQ(DeleteWordProQuestion("Kate").Text,
              "Word Processor:\tKate \n\nPlease confirm you wish to Delete the above Word "
              "Processor");
}

// ---- the insertion text ----------------------------------------------------------------------

struct InsertionCase : ::testing::Test {
    TRecord entry;
    TAddress address{1};
    TTemplate tmpl{1};
    TIndexList fields;

    std::string Insert(bool blanks = false, bool labels = false) {
        return InsertionText(entry, &address, &tmpl, fields, blanks, labels);
    }
    void Fields(std::initializer_list<int> codes) {
        fields.Clear();
        for (int c : codes)
            fields.AddKey(c, false);
    }
};

TEST_F(InsertionCase, NamePartsShareALineAndEveryOtherFieldStartsOne) {
    entry.SetNameField(kFieldTitle, "Mr");
    entry.SetNameField(kFieldFirstName, "John");
    entry.SetNameField(kFieldSurname, "Smith");
    address.SetField(kFieldPosition, "Manager");
    address.SetField(kFieldCompany, "Acme");
    address.SetField(kFieldAddress, "1 High St\r\nTown");
    Fields({0, 1, 2, 20, 21, 22});
    EXPECT_EQ(Insert(), "Mr John Smith\r\nManager\r\nAcme\r\n1 High St\r\nTown\r\n");

    // A name part after another field starts a new line; the next name part joins it.
    Fields({21, 2, 1, 20});
    EXPECT_EQ(Insert(), "Acme\r\nSmith John\r\nManager\r\n");
    // An empty name part is skipped whole: the surname still joins the title.
    entry.SetNameField(kFieldFirstName, "");
    Fields({0, 1, 2});
    EXPECT_EQ(Insert(), "Mr Smith\r\n");
}

TEST_F(InsertionCase, BlankFieldsGiveEmptyLinesOnlyWhenTheBookKeepsThem) {
    Fields({21, 20, 3, 22, 9});
    EXPECT_EQ(Insert(false), "");
    // Blanks on: an empty line for each field, so nothing to refuse.
    EXPECT_EQ(Insert(true), "\r\n\r\n\r\n\r\n\r\n");
    Fields({0, 1, 2});
    EXPECT_EQ(Insert(true), "  \r\n");
}

TEST_F(InsertionCase, AddressFormats) {
    address.SetField(kFieldAddress, "10 Main St\r\nSuite 5\r\nSpringfield\r\n\r\n12345");
    Fields({22});
    tmpl.AddressFormat = kFormatUS;
    EXPECT_EQ(Insert(), "10 Main St\r\nSuite 5\r\nSpringfield  ,  12345\r\n");
    address.SetField(kFieldAddress, "10 Main St\r\n\r\nSpringfield\r\nIL\r\n12345");
    EXPECT_EQ(Insert(), "10 Main St\r\nSpringfield  IL,  12345\r\n");
    EXPECT_EQ(Insert(true), "10 Main St\r\n\r\nSpringfield  IL,  12345\r\n");
    address.SetField(kFieldAddress, "1 Road\r\n\r\nTown\r\nCounty,\r\nAB1 2CD");
    EXPECT_EQ(Insert(), "1 Road\r\nTown  County,  AB1 2CD\r\n");

    tmpl.AddressFormat = kFormatUK;
    EXPECT_EQ(Insert(), "1 Road\r\nTown\r\nCounty,\r\nAB1 2CD\r\n");
    EXPECT_EQ(Insert(true), "1 Road\r\n\r\nTown\r\nCounty,\r\nAB1 2CD\r\n");
    tmpl.AddressFormat = kFormatFreeform;
    address.SetField(kFieldAddress, "Line one\r\n\r\nLine three");
    EXPECT_EQ(Insert(), "Line one\r\n\r\nLine three\r\n");
}

TEST_F(InsertionCase, TelephoneLabelsFollowTheTemplateAndTheFlag) {
    tmpl.SetCaption(3, "Home");
    tmpl.SetCaption(4, "Work");
    tmpl.Shown[7] = 1;
    tmpl.Shown[8] = 0;
    address.SetField(3, "0123");
    address.SetField(4, "0456");
    Fields({23, 24});
    EXPECT_EQ(Insert(false, true), "Home:\t0123\r\n0456\r\n");
    EXPECT_EQ(Insert(false, false), "0123\r\n0456\r\n");
}

TEST_F(InsertionCase, NotesGoAsTheyAreAndTheTextIsCapped) {
    entry.SetNameField(kFieldSurname, "Smith");
    entry.SetNotes("first\r\nsecond");
    Fields({9, 2});
    EXPECT_EQ(Insert(), "first\r\nsecond\r\nSmith\r\n");
    entry.SetNotes(std::string(40000, 'n'));
    EXPECT_EQ(Insert().size(), kInsertionCapacity);
    // Without an address the address fields read as empty.
    EXPECT_EQ(InsertionText(entry, nullptr, nullptr, fields, false, true).size(),
              kInsertionCapacity);
}

// ---- finding the word processor and sending the text ----------------------------------------

TEST(WordProLink, TheWindowChosenIsTheFirstMatchNeverAHelpWindowNorOurOwn) {
    const std::vector<TTopWindow> windows = {
        {1, "Tessaly - Kate notes", true},
        {2, "Kate Help - Handbook", false},
        {3, "letter.txt - kate", false},
        {4, "other - Kate", false},
    };
    EXPECT_EQ(FindWordProWindow(windows, "Kate"), 2u);
    EXPECT_EQ(FindWordProWindow(windows, "Handbook"), std::nullopt);
    EXPECT_EQ(FindWordProWindow(windows, "Writer"), std::nullopt);
    // An empty title bar text would match every window.
    EXPECT_EQ(FindWordProWindow(windows, ""), std::nullopt);
    // Only the first 256 characters of a title count.
    EXPECT_EQ(FindWordProWindow({{9, std::string(256, 'a') + "Kate", false}}, "Kate"),
              std::nullopt);
}

TEST(WordProLink, InsertionSteps) {
    TWordProList list = DefaultWordProcessors();
    list.SelectWordProcessor("kate");
    testing::TFakeWordProDesktop desktop;
    desktop.Windows = {{7, "Untitled - Kate", false}};

    EXPECT_EQ(InsertIntoWordProcessor(desktop, list, "Mr Smith\r\n"), std::nullopt);
    EXPECT_EQ(desktop.Clipboard, "Mr Smith\r\n");
    EXPECT_EQ(desktop.Forward, 7u);
    EXPECT_EQ(desktop.Pasted, 7u);

    // Not running: the message names the selection, and the clipboard stays.
    desktop = {};
    desktop.Windows = {{7, "Untitled - Mousepad", false}};
    auto refused = InsertIntoWordProcessor(desktop, list, "Mr Smith\r\n");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Text, "The Word Processor Specified, \"kate\", is not Running \n\nPlease "
                             "Start the Application and Retry the Request");
    EXPECT_EQ(refused->Title, kMsgTitleRequestDenied);
    EXPECT_EQ(refused->Kind, kMsgKindError);
    EXPECT_FALSE(desktop.Clipboard);

    // An item whose title bar text is empty is a word processor that is not running.
    list.AddOrChangeWordProcessor("Blank", "");
    list.SelectWordProcessor("Blank");
    refused = InsertIntoWordProcessor(desktop, list, "x\r\n");
    ASSERT_TRUE(refused);
    EXPECT_NE(refused->Text.find("\"Blank\", is not Running"), std::string::npos);
    EXPECT_FALSE(desktop.Pasted);

    list.SelectWordProcessor("Mousepad");
    refused = InsertIntoWordProcessor(desktop, list, "");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Text, kMsgNoEntryData);
    desktop.ClipboardWorks = false;
    refused = InsertIntoWordProcessor(desktop, list, "x\r\n");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Text, kMsgInsertionFailed);
    EXPECT_FALSE(desktop.Pasted);
}

TEST(WordProLink, WithoutADesktopToTypeIntoTheTextStillReachesTheClipboard) {
    TWordProList list = DefaultWordProcessors();
    list.SelectWordProcessor("Kate");
    testing::TFakeWordProDesktop desktop;
    desktop.Typing = false;
    const auto said = InsertIntoWordProcessor(desktop, list, "Smith\r\n");
    ASSERT_TRUE(said);
    EXPECT_EQ(said->Text, kMsgCannotType);
    EXPECT_EQ(said->Kind, kMsgKindInformation);
    EXPECT_EQ(desktop.Clipboard, "Smith\r\n");
    EXPECT_FALSE(desktop.Pasted);

    EXPECT_EQ(CopyEntryToClipboard(desktop, "Jones\r\n"), std::nullopt);
    EXPECT_EQ(desktop.Clipboard, "Jones\r\n");
    EXPECT_EQ(CopyEntryToClipboard(desktop, "")->Text, kMsgNoEntryData);
}

} // namespace
} // namespace tessaly
