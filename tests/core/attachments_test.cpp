// Attachments without a screen: the menu state, the dialog's checks in order, the file
// check with its question, the URLs that may reach the browser, opening documents
// safely and removing the disk file only when it can really go.

#include "core/attachments/attachment_commands.h"
#include "core/attachments/attachment_form.h"
#include "core/attachments/launch.h"
#include "tests/support/fake_desktop.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TFakeDesktop;

TEST(AttachmentMenu, CommandsFollowThePageTheLockAndTheSelection) {
    TAttachmentMenuInput in;
    in.HasSelection = true;
    TAttachmentMenuState s = AttachmentMenuState(in);
    EXPECT_FALSE(s.Add || s.Edit || s.Remove || s.Open || s.Properties);

    in.AttachmentsPageShown = true;
    s = AttachmentMenuState(in);
    EXPECT_TRUE(s.Add && s.Edit && s.Remove && s.Open && s.Properties);

    in.ReadOnly = true; // a locked book can still open and inspect
    s = AttachmentMenuState(in);
    EXPECT_FALSE(s.Add || s.Edit || s.Remove);
    EXPECT_TRUE(s.Open && s.Properties);

    in.ReadOnly = false;
    in.HasSelection = false;
    s = AttachmentMenuState(in);
    EXPECT_TRUE(s.Add);
    EXPECT_FALSE(s.Edit || s.Remove || s.Open || s.Properties);
}

TEST(AttachmentMenu, ViewItemsShowTheBooksSortKeyAndStyle) {
    TAttachmentMenuInput in;
    in.ByDescription = false;
    in.ViewStyle = kAttachmentViewSmallIcons;
    TAttachmentMenuState s = AttachmentMenuState(in);
    EXPECT_FALSE(s.ByDescriptionChecked);
    EXPECT_TRUE(s.ByFileNameChecked);
    EXPECT_EQ(s.ViewChecked, (std::array<bool, 4>{false, true, false, false}));
    in.ViewStyle = 7; // out of range in a damaged file
    EXPECT_EQ(AttachmentMenuState(in).ViewChecked, (std::array<bool, 4>{}));
}

TEST(AttachmentForm, DescriptionFollowsTheFileNameWithoutFolderOrExtension) {
    EXPECT_EQ(DescriptionFromFileName("/home/ann/Letters/To the bank.2024.odt"),
              "To the bank.2024");
    EXPECT_EQ(DescriptionFromFileName("README"), "README");
    EXPECT_EQ(DescriptionFromFileName("/home/ann/"), "");
}

TEST(AttachmentForm, FileNameIsCheckedBeforeTheDescriptionAndBothAreTrimmed) {
    std::string description = "   ";
    std::string fileName = "  \t";
    TAttachmentCheck check = CheckAttachmentFields(description, fileName);
    ASSERT_TRUE(check.Message);
    EXPECT_EQ(check.Focus, TAttachmentFocus::FileName);
    EXPECT_EQ(check.Message->Title, kMsgTitleRequiredField);
    EXPECT_EQ(check.Message->Text.substr(0, 43), "A File Name for this Document is required.\n");

    fileName = "  /tmp/a.txt ";
    check = CheckAttachmentFields(description, fileName);
    EXPECT_EQ(fileName, "/tmp/a.txt");
    ASSERT_TRUE(check.Message);
    EXPECT_EQ(check.Focus, TAttachmentFocus::Description);
    EXPECT_EQ(check.Message->Text,
              "A Description for this Document is required.\n\nPlease specify a suitable "
              "description before continuing");

    description = " Letter ";
    check = CheckAttachmentFields(description, fileName);
    EXPECT_FALSE(check.Message);
    EXPECT_EQ(description, "Letter");
}

TEST(AttachmentForm, FileCheckAsksToCreateAndLeavesNothingBehindWhenNothingOpensIt) {
    TFakeDesktop desktop;
    std::vector<TDialogMessage> asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const TDialogMessage& q) {
            asked.push_back(q);
            return yes;
        };
    };

    // An existing file needs an application.
    desktop.Files["/d/notes.txt"] = {TPathKind::Regular, "Text Editor", false};
    desktop.Files["/d/blob.xyz"] = {TPathKind::Regular, "", false};
    EXPECT_TRUE(CheckDocumentFile("/d/notes.txt", desktop, answer(true)).Passed);
    TDocumentFileCheck blob = CheckDocumentFile("/d/blob.xyz", desktop, answer(true));
    EXPECT_FALSE(blob.Passed);
    ASSERT_TRUE(blob.Message);
    EXPECT_EQ(blob.Message->Text, "The file specified is not associated with any application");
    EXPECT_TRUE(asked.empty());

    // A missing file: No fails quietly, Yes creates it.
    TDocumentFileCheck no = CheckDocumentFile("/d/new.txt", desktop, answer(false));
    EXPECT_FALSE(no.Passed);
    EXPECT_FALSE(no.Message);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Text, "The file specified does not exist. \nDo you wish to Create it ?");
    EXPECT_EQ(asked[0].Buttons, kMsgButtonsYesNo);
    EXPECT_EQ(desktop.Files.count("/d/new.txt"), 0u);

    desktop.ApplicationsByExtension[".txt"] = "Text Editor";
    EXPECT_TRUE(CheckDocumentFile("/d/new.txt", desktop, answer(true)).Passed);
    EXPECT_EQ(desktop.Files.count("/d/new.txt"), 1u);

    // Created, but nothing opens it: the empty file is removed again.
    TDocumentFileCheck orphan = CheckDocumentFile("/d/new.qqq", desktop, answer(true));
    EXPECT_FALSE(orphan.Passed);
    EXPECT_EQ(desktop.Files.count("/d/new.qqq"), 0u);
    EXPECT_EQ(desktop.Removed, std::vector<std::string>{"/d/new.qqq"});

    desktop.FailCreate = true;
    TDocumentFileCheck invalid = CheckDocumentFile("/nowhere/x.txt", desktop, answer(true));
    EXPECT_FALSE(invalid.Passed);
    ASSERT_TRUE(invalid.Message);
    EXPECT_EQ(invalid.Message->Title, 1003);
}

TEST(AttachmentForm, RememberedExtensionsMoveToTheFrontAndKeepTen) {
    std::vector<std::string> exts;
    RememberExtension(exts, "/a/b.odt");
    RememberExtension(exts, "/a/c.PDF");
    RememberExtension(exts, "/a/d.Odt");
    RememberExtension(exts, "/a/no-extension");
    EXPECT_EQ(exts, (std::vector<std::string>{"ODT", "PDF"}));
    for (int i = 0; i < 12; ++i)
        RememberExtension(exts, "/x.e" + std::to_string(i));
    EXPECT_EQ(exts.size(), kRememberedExtensions);
    EXPECT_EQ(exts.front(), "E11");
    EXPECT_EQ(DocumentExtPattern("/a/b.odt"), "*.odt");
    EXPECT_EQ(DocumentFilters({"ODT"}),
              (std::vector<std::string>{"All Files (*)", "ODT Files (*.ODT)"}));
}

TEST(LaunchUrl, WebAddressesAndMailOnly) {
    EXPECT_EQ(CheckLaunchUrl("  www.example.com/a?b=1 ").Url, "http://www.example.com/a?b=1");
    EXPECT_EQ(CheckLaunchUrl("HTTPS://example.com").Url, "HTTPS://example.com");
    EXPECT_EQ(CheckLaunchUrl("ftp://files.example.com/x").Url, "ftp://files.example.com/x");
    EXPECT_EQ(CheckLaunchUrl("example.com:8080/path").Url, "http://example.com:8080/path");
    EXPECT_TRUE(CheckLaunchUrl("mailto:ann@example.com").Ok);

    for (const char* refused :
         {"javascript:alert(1)", "JavaScript:alert(1)", "file:///usr/bin/xterm", "file:/bin/sh",
          "data:text/html,<b>x</b>", "-e/bin/sh", "--new-window", "http://a.com/\x01x",
          "http://a.com/a b", "http://a.com/\x7F", "", "   ", "http:", "vbscript:x"}) {
        SCOPED_TRACE(refused);
        const TUrlCheck check = CheckLaunchUrl(refused);
        EXPECT_FALSE(check.Ok);
        EXPECT_FALSE(check.Refusal.empty());
    }
    const TDialogMessage m = UrlRefusalMessage(CheckLaunchUrl("javascript:alert(1)"));
    EXPECT_EQ(m.Title, 1011);
    EXPECT_NE(m.Text.find("\"javascript:alert(1)\""), std::string::npos);
}

TEST(LaunchUrl, MailtoTakesTheAddressAndNothingThatCouldBeAnOption) {
    EXPECT_EQ(MailtoUrl(" ann@example.com ").Url, "mailto:ann@example.com");
    EXPECT_FALSE(MailtoUrl("").Ok);
    EXPECT_FALSE(MailtoUrl("-oProxyCommand=x").Ok);
    EXPECT_FALSE(MailtoUrl("ann@example.com\r\nBcc: x@y").Ok);
}

TEST(LaunchBrowser, NoBrowserKnownGivesTheHintAndStartsNothing) {
    TFakeDesktop desktop;
    const auto hint = OpenInBrowser("", "mailto:ann@example.com", desktop);
    ASSERT_TRUE(hint);
    EXPECT_EQ(hint->Title, 1011);
    EXPECT_EQ(hint->Text.rfind("Tessaly could not determine your Internet Browser", 0), 0u);
    EXPECT_NE(hint->Text.find("\"Tools|Options\""), std::string::npos);
    EXPECT_TRUE(desktop.Started.empty());

    EXPECT_FALSE(OpenInBrowser("/usr/bin/firefox", "http://a.com", desktop));
    EXPECT_EQ(desktop.Started, (std::vector<std::pair<std::string, std::string>>{
                                   {"/usr/bin/firefox", "http://a.com"}}));
    desktop.FailStart = true;
    const auto failed = OpenInBrowser("/usr/bin/firefox", "http://a.com", desktop);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->Text, "Tessaly Failed to launch your Internet Browser");
    EXPECT_EQ(failed->Title, 1001);
}

class OpenAttachmentTest : public ::testing::Test {
protected:
    std::optional<TDialogMessage> Open(const TDocument& d) {
        TDocumentOpenHooks hooks;
        hooks.OpenInProgram = [this](const std::string& p) { inProgram.push_back(p); };
        hooks.Ask = [this](const TDialogMessage& q) {
            asked.push_back(q);
            return answer;
        };
        return OpenAttachment(d, "/usr/bin/browser", desktop, hooks);
    }
    TFakeDesktop desktop;
    std::vector<std::string> inProgram;
    std::vector<TDialogMessage> asked;
    bool answer = false;
};

TEST_F(OpenAttachmentTest, OurOwnBooksAndDiariesOpenInThisProgram) {
    desktop.Files["/b/Friends.adr"] = {TPathKind::Regular, "Tessaly", false};
    desktop.Files["/b/Plans.TDY"] = {TPathKind::Regular, "", false};
    EXPECT_FALSE(Open(TDocument("Friends", "/b/Friends.adr", true)));
    EXPECT_FALSE(Open(TDocument("Plans", "/b/Plans.TDY", true)));
    EXPECT_EQ(inProgram, (std::vector<std::string>{"/b/Friends.adr", "/b/Plans.TDY"}));
    EXPECT_TRUE(desktop.Opened.empty());
}

TEST_F(OpenAttachmentTest, DocumentsOpenWithTheirApplicationAndFailuresSayWhy) {
    desktop.Files["/d/letter.odt"] = {TPathKind::Regular, "Writer", false};
    desktop.Files["/d/blob.xyz"] = {TPathKind::Regular, "", false};
    EXPECT_FALSE(Open(TDocument("Letter", "/d/letter.odt", true)));
    EXPECT_EQ(desktop.Opened, std::vector<std::string>{"/d/letter.odt"});

    const auto none = Open(TDocument("Blob", "/d/blob.xyz", true));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Text, "Document File: \tblob.xyz \nFile Location: \t/d\n\nError: 31 -- "
                          "Document is not associated with any Application.");
    const auto missing = Open(TDocument("Gone", "/d/gone.odt", true));
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Text, "Document File: \tgone.odt \nFile Location: \t/d\n\nError: 2 -- "
                             "Document Selected could not be located.");
    EXPECT_EQ(missing->Title, 1001);
    EXPECT_EQ(desktop.Opened.size(), 1u);
}

TEST_F(OpenAttachmentTest, TheBooksCodePageNameFindsTheFileSystemsName) {
    desktop.Files["/d/caf\xC3\xA9.txt"] = {TPathKind::Regular, "Editor", false};
    EXPECT_FALSE(Open(TDocument("Menu", "/d/caf\xE9.txt", true)));
    EXPECT_EQ(desktop.Opened, std::vector<std::string>{"/d/caf\xC3\xA9.txt"});
}

TEST_F(OpenAttachmentTest, AProgramOrLauncherRunsOnlyAfterTheUserAgrees) {
    desktop.Files["/d/setup.desktop"] = {TPathKind::Regular, "Launcher", true};
    EXPECT_FALSE(Open(TDocument("Setup", "/d/setup.desktop", true)));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Kind, kMsgKindConfirmation);
    EXPECT_TRUE(desktop.Opened.empty());
    answer = true;
    EXPECT_FALSE(Open(TDocument("Setup", "/d/setup.desktop", true)));
    EXPECT_EQ(desktop.Opened, std::vector<std::string>{"/d/setup.desktop"});
}

TEST_F(OpenAttachmentTest, UrlsGoToTheBrowserOnlyWhenSafe) {
    EXPECT_FALSE(Open(TDocument("Site", "www.example.com", false)));
    const auto refused = Open(TDocument("Bad", "javascript:alert(1)", false));
    ASSERT_TRUE(refused);
    EXPECT_EQ(desktop.Started, (std::vector<std::pair<std::string, std::string>>{
                                   {"/usr/bin/browser", "http://www.example.com"}}));
}

TEST(RemoveAttachment, DiskFileGoesOnlyWhenItCanAndTheAttachmentStaysOtherwise) {
    TFakeDesktop desktop;
    desktop.Files["/d/a.txt"] = {TPathKind::Regular, "Editor", false};
    desktop.Files["/d/folder.txt"] = {TPathKind::Other, "", false};

    // Association only: the file stays.
    EXPECT_TRUE(
        RemoveAttachmentFile(TDocument("A", "/d/a.txt", true), false, desktop).RemoveAttachment);
    EXPECT_TRUE(desktop.Removed.empty());

    // A URL never touches the disk.
    EXPECT_TRUE(
        RemoveAttachmentFile(TDocument("U", "/d/a.txt", false), true, desktop).RemoveAttachment);
    EXPECT_TRUE(desktop.Removed.empty());

    // Something that is not a regular file is never deleted.
    TRemoveAttachmentOutcome other =
        RemoveAttachmentFile(TDocument("F", "/d/folder.txt", true), true, desktop);
    EXPECT_FALSE(other.RemoveAttachment);
    ASSERT_TRUE(other.Message);
    EXPECT_EQ(other.Message->Text, "File: /d/folder.txt \n\nUnable to Delete the specified file "
                                   "due to an Unknown Error !");
    EXPECT_TRUE(desktop.Removed.empty());

    desktop.FailRemove = true;
    TRemoveAttachmentOutcome failed =
        RemoveAttachmentFile(TDocument("A", "/d/a.txt", true), true, desktop);
    EXPECT_FALSE(failed.RemoveAttachment);
    EXPECT_EQ(failed.Message->Title, 1005);

    desktop.FailRemove = false;
    EXPECT_TRUE(
        RemoveAttachmentFile(TDocument("A", "/d/a.txt", true), true, desktop).RemoveAttachment);
    EXPECT_EQ(desktop.Removed, std::vector<std::string>{"/d/a.txt"});
    // Already gone: the attachment goes without a word.
    TRemoveAttachmentOutcome gone =
        RemoveAttachmentFile(TDocument("A", "/d/a.txt", true), true, desktop);
    EXPECT_TRUE(gone.RemoveAttachment);
    EXPECT_FALSE(gone.Message);
}

} // namespace
} // namespace tessaly
