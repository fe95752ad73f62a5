// The attachment dialogs driven as a user drives them: typing, ticking, switching
// pages and pressing OK, with the desktop replaced by one that records.

#include "app/attachments/attachment_dialog.h"
#include "app/attachments/remove_attachment_dialog.h"
#include "app/book/attachments_page.h"
#include "core/attachments/launch.h"
#include "core/settings/settings_access.h"
#include "core/store/book.h"
#include "platform/desktop_shell.h"
#include "platform/qt_text.h"
#include "platform/watched_launch.h"
#include "tests/app/test_support.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QUrl>

using namespace tessaly;

class TAttachmentsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void EmptyFieldsAreRefusedInOrderWithTheFocusOnTheField();
    void DescriptionFollowsTheFileNameAndTheChoiceIsRemembered();
    void MissingDocumentIsCreatedOnlyWhenTheUserSaysYes();
    void UrlPageRepeatsTheUrlAsDescription();
    void EditingShowsThePageOfTheAttachmentsKind();
    void RemoveWarnsOnlyWhileTheDiskFileIsToGo();
    void PageShowsEveryViewStyleAndKeepsTheAttachmentOfEachRow();
    void LaunchesThatFailAtOnceAreReported();
    void TheDesktopsOpenerAndTheBrowserReportTheirFailures();

private:
    static void ClickOk(QDialog& dlg) {
        auto* box = dlg.findChild<QDialogButtonBox*>();
        QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
    }
    MemorySettingsStore store_;
    std::unique_ptr<TSettingsAccess> access_;
    testing::TFakeDesktop desktop_;
};

void TAttachmentsTest::init() {
    store_ = MemorySettingsStore();
    access_ = std::make_unique<TSettingsAccess>(store_);
    desktop_ = testing::TFakeDesktop();
}

void TAttachmentsTest::EmptyFieldsAreRefusedInOrderWithTheFocusOnTheField() {
    TRecordingPresenter presenter;
    TAttachmentDlg dlg(*access_, desktop_, nullptr);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("Add Attachment to Entry"));
    auto* useName = dlg.findChild<QCheckBox*>("UseFileName");
    QTest::mouseClick(useName, Qt::LeftButton, {}, QPoint(4, useName->height() / 2));
    QVERIFY(!useName->isChecked());

    ClickOk(dlg);
    QVERIFY(dlg.isVisible());
    QCOMPARE(presenter.Requests.size(), size_t(1));
    QVERIFY(presenter.Requests[0].Text.startsWith("A File Name for this Document is required."));
    QCOMPARE(presenter.Requests[0].Title, QString("Required Field Missing or Invalid"));
    QCOMPARE(dlg.focusWidget(), dlg.findChild<QLineEdit*>("FileName"));

    desktop_.Files["/docs/plan.odt"] = {TPathKind::Regular, "Writer", false};
    QTest::keyClicks(dlg.findChild<QLineEdit*>("FileName"), "  /docs/plan.odt ");
    ClickOk(dlg);
    QCOMPARE(presenter.Requests.size(), size_t(2));
    QVERIFY(presenter.Requests[1].Text.startsWith("A Description for this Document is required."));
    QCOMPARE(dlg.focusWidget(), dlg.findChild<QLineEdit*>("DocDescription"));
    // The fields were trimmed when OK was pressed.
    QCOMPARE(dlg.findChild<QLineEdit*>("FileName")->text(), QString("/docs/plan.odt"));

    QTest::keyClicks(dlg.findChild<QLineEdit*>("DocDescription"), "Plan");
    ClickOk(dlg);
    QCOMPARE(presenter.Requests.size(), size_t(2));
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const TDocument d = dlg.Result();
    QCOMPARE(TextValue(d.Description), std::string("Plan"));
    QCOMPARE(TextValue(d.FileName), std::string("/docs/plan.odt"));
    QCOMPARE(int(d.IsDocument), 1);
}

void TAttachmentsTest::DescriptionFollowsTheFileNameAndTheChoiceIsRemembered() {
    desktop_.Files["/home/ann/Report 2024.final.odt"] = {TPathKind::Regular, "Writer", false};
    {
        TAttachmentDlg dlg(*access_, desktop_, nullptr);
        dlg.show();
        auto* description = dlg.findChild<QLineEdit*>("DocDescription");
        QVERIFY(dlg.findChild<QCheckBox*>("UseFileName")->isChecked()); // default on
        QVERIFY(!description->isEnabled());
        QTest::keyClicks(dlg.findChild<QLineEdit*>("FileName"), "/home/ann/Report 2024.final.odt");
        QCOMPARE(description->text(), QString("Report 2024.final"));
        auto* useName = dlg.findChild<QCheckBox*>("UseFileName");
        QTest::mouseClick(useName, Qt::LeftButton, {}, QPoint(4, useName->height() / 2));
        QVERIFY(description->isEnabled());
        ClickOk(dlg);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
    QCOMPARE(access_->ReadBool("Documents", "Use Filename", true), false);
    TAttachmentDlg again(*access_, desktop_, nullptr);
    QVERIFY(!again.findChild<QCheckBox*>("UseFileName")->isChecked());
}

void TAttachmentsTest::MissingDocumentIsCreatedOnlyWhenTheUserSaysYes() {
    TRecordingPresenter presenter;
    presenter.Answer = mrNo;
    desktop_.ApplicationsByExtension[".txt"] = "Text Editor";
    TAttachmentDlg dlg(*access_, desktop_, nullptr);
    dlg.show();
    QTest::keyClicks(dlg.findChild<QLineEdit*>("FileName"), "/new/notes.txt");
    ClickOk(dlg);
    QVERIFY(dlg.isVisible());
    QCOMPARE(presenter.Requests.size(), size_t(1));
    QCOMPARE(presenter.Requests[0].Title, QString("Create Required File ?"));
    QCOMPARE(desktop_.Files.count("/new/notes.txt"), size_t(0));

    presenter.Answer = mrYes;
    ClickOk(dlg);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(desktop_.Files.count("/new/notes.txt"), size_t(1));
}

void TAttachmentsTest::UrlPageRepeatsTheUrlAsDescription() {
    TAttachmentDlg dlg(*access_, desktop_, nullptr);
    dlg.show();
    auto* tabs = dlg.findChild<QTabWidget*>();
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClicks(dlg.findChild<QLineEdit*>("Url"), "www.example.com/menu");
    QCOMPARE(dlg.findChild<QLineEdit*>("UrlDescription")->text(), QString("www.example.com/menu"));
    ClickOk(dlg);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const TDocument d = dlg.Result();
    QCOMPARE(int(d.IsDocument), 0);
    QCOMPARE(TextValue(d.FileName), std::string("www.example.com/menu"));
    // A URL is never checked as a file.
    QVERIFY(desktop_.Files.empty());
}

void TAttachmentsTest::EditingShowsThePageOfTheAttachmentsKind() {
    const TDocument url("Caf\xE9 menu", "http://example.com/caf\xE9", false);
    TAttachmentDlg dlg(*access_, desktop_, &url);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QString("Edit Attachment Details"));
    QCOMPARE(dlg.findChild<QTabWidget*>()->currentIndex(), 1);
    QVERIFY(!dlg.findChild<QCheckBox*>("UseFileName")->isVisible());
    QVERIFY(!dlg.findChild<QCheckBox*>("UseUrl")->isVisible());
    auto* description = dlg.findChild<QLineEdit*>("UrlDescription");
    QCOMPARE(description->text(), QString::fromUtf8("Café menu"));
    QVERIFY(description->isEnabled());
    description->selectAll();
    QTest::keyClicks(description, "Menu");
    ClickOk(dlg);
    QCOMPARE(TextValue(dlg.Result().Description), std::string("Menu"));
    QCOMPARE(TextValue(dlg.Result().FileName), std::string("http://example.com/caf\xE9"));
}

void TAttachmentsTest::RemoveWarnsOnlyWhileTheDiskFileIsToGo() {
    TRemoveAttachmentDlg dlg(TDocument("Plan", "/docs/plan.odt", true));
    dlg.show();
    auto* care = dlg.findChild<QLabel*>("Care");
    QVERIFY(!care->isVisible());
    QVERIFY(!dlg.DeleteDiskFile());
    auto* withFile = dlg.findChild<QRadioButton*>("WithFile");
    QTest::mouseClick(withFile, Qt::LeftButton, {}, QPoint(4, withFile->height() / 2));
    QVERIFY(care->isVisible());
    QVERIFY(dlg.DeleteDiskFile());
    auto* only = dlg.findChild<QRadioButton*>("AssociationOnly");
    QTest::mouseClick(only, Qt::LeftButton, {}, QPoint(4, only->height() / 2));
    QVERIFY(!care->isVisible());

    TRemoveAttachmentDlg url(TDocument("Site", "http://example.com", false));
    QVERIFY(!url.findChild<QRadioButton*>("WithFile"));
    QVERIFY(!url.DeleteDiskFile());
}

void TAttachmentsTest::PageShowsEveryViewStyleAndKeepsTheAttachmentOfEachRow() {
    TBookData book;
    TRecord entry;
    entry.Attachments.AppendAttachment("Zebra", "/a/alpha.txt", true);
    entry.Attachments.AppendAttachment("apple", "/z/zulu.txt", true);
    entry.Attachments.AppendAttachment("Mango", "http://m.example.com", false);
    TAttachmentsPage page;
    page.resize(400, 300);
    page.show();

    book.AttachmentsByDescription = 1;
    book.AttachmentView = 3;
    page.Fill(entry, book);
    auto* detail = page.findChild<QTreeWidget*>("Doc_Detail");
    QCOMPARE(page.List(), static_cast<QAbstractItemView*>(detail));
    QCOMPARE(detail->topLevelItem(0)->text(0), QString("apple"));
    QCOMPARE(detail->topLevelItem(2)->text(0), QString("Zebra"));
    // A click on a row selects that row's attachment.
    QTest::mouseClick(detail->viewport(), Qt::LeftButton, {},
                      detail->visualItemRect(detail->topLevelItem(2)).center());
    QCOMPARE(page.SelectedAttachment(), 0);

    for (int style : {0, 1, 2}) {
        book.AttachmentView = static_cast<std::int16_t>(style);
        book.AttachmentsByDescription = 0; // by file name: /a/alpha first
        page.Fill(entry, book);
        auto* list = page.findChild<QListWidget*>("Doc_List");
        QCOMPARE(page.List(), static_cast<QAbstractItemView*>(list));
        QCOMPARE(list->item(0)->text(), QString("/a/alpha.txt"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(page.SelectedAttachment(), 1); // "/z/zulu.txt"
    }
    page.SelectAttachment(7); // gone: the last row, the URL
    QCOMPARE(page.SelectedAttachment(), 2);
}

namespace {

QString Script(const QTemporaryDir& dir, const QString& name, const QByteArray& body) {
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

void TAttachmentsTest::LaunchesThatFailAtOnceAreReported() {
    QTemporaryDir dir;
    const QString said = dir.filePath("said");
    const std::string fails = PathToCore(Script(dir, "fails", "exit 3"));
    const std::string works =
        PathToCore(Script(dir, "works", "pwd > \"$2\"; echo \"$1\" >> \"$2\""));
    const std::string stays = PathToCore(Script(dir, "stays", "sleep 5"));
    QVERIFY(!StartWatched(fails, {}, {}));
    QVERIFY(!StartWatched(PathToCore(dir.filePath("none")), {}, {}));
    QDir().mkpath(dir.filePath("home"));
    QVERIFY(StartWatched(works, {"-x y", PathToCore(said)}, PathToCore(dir.filePath("home"))));
    QCOMPARE(FileBytes(said), (dir.filePath("home") + "\n-x y\n").toLocal8Bit());
    // A program still running after the watch is left running, and reported started.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(StartWatched(stays, {}, {}, 200));
    QVERIFY(clock.elapsed() < 2000);
}

void TAttachmentsTest::TheDesktopsOpenerAndTheBrowserReportTheirFailures() {
    QTemporaryDir dir;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit());
    TDesktopShell shell;
    const QString doc = dir.filePath("plan.odt");
    QFile(doc).open(QIODevice::WriteOnly);
    // The opener finds no application for the file: it says so by its status.
    Script(dir, "xdg-open", "exit 4");
    QVERIFY(!shell.OpenDocument(PathToCore(doc)));
    Script(dir, "xdg-open", "[ \"$1\" = \"" + QUrl::fromLocalFile(doc).toEncoded() + "\" ]");
    QVERIFY(shell.OpenDocument(PathToCore(doc)));
    // A browser that gives up at once: string 460.
    const std::string browser = PathToCore(Script(dir, "browser", "exit 1"));
    const auto failure = OpenInBrowser(browser, "http://www.example.com", shell);
    QVERIFY(failure);
    QCOMPARE(failure->Text, std::string("Tessaly Failed to launch your Internet Browser"));
    QCOMPARE(failure->Title, kMsgTitleAccessError);
    qputenv("PATH", path);
}

QTEST_MAIN(TAttachmentsTest)
#include "attachments_test.moc"
