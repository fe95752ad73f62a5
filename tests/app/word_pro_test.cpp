// The word processor links driven with the mouse and the keyboard: the options
// dialog's "Word Processor" page with its editor and messages, the file written on OK
// and the list put back on Cancel, and the book window's two commands with their
// enabling rules, sending the entry's text to a desktop the test keeps.

#include "app/book/book.h"
#include "app/exchange/word_pro_dlg.h"
#include "app/exchange/word_pro_page.h"
#include "app/frame/options_dialog.h"
#include "core/exchange/word_pro_edit.h"
#include "core/exchange/word_pro_file.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_word_pro_desktop.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace tessaly;

namespace {

void ClickRow(QListWidget* list, int row, bool twice = false) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList Names(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// A book whose entry Mr John Smith of Acme has a freeform address.
QString MakeSmithBook(const QString& path) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldTitle, "Mr");
    e->SetNameField(kFieldFirstName, "John");
    e->SetNameField(kFieldSurname, "Smith");
    const int a = e->Addresses.AddAddress(book->Templates.TemplateId(1));
    e->Addresses.SetFieldOf(a, kFieldCompany, "Acme");
    e->Addresses.SetFieldOf(a, kFieldAddress, "1 High St\r\nTown");
    book->Entries.Add(std::move(e));
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

} // namespace

class TWordProTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() { End(); }
    void PageAddsEditsSelectsAndDeletesAndOkWritesTheFile();
    void CancelPutsTheListBack();
    void AFailedSaveIsReportedAndTheEditsKept();
    void BookCommandsSendTheEntryText();
    void WithoutAnX11SessionTheTextIsLeftOnTheClipboard();

private:
    // A run whose word processor desktop is the test's.
    std::unique_ptr<TTestRun> Run() {
        QDir().mkpath(Path("cfg"));
        auto run = std::make_unique<TTestRun>(*store_, Path("cfg"));
        return run;
    }
};

void TWordProTest::PageAddsEditsSelectsAndDeletesAndOkWritesTheFile() {
    auto run = Run();
    {
        TOptionsDlg dlg(*run->Frame, 4);
        QCOMPARE(dlg.Pages()->tabText(dlg.Pages()->currentIndex()), QString("Word Processor"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        TWordProPage* page = dlg.WordProcessors();
        QListWidget* list = page->List();
        QCOMPARE(list->count(), 14);
        QCOMPARE(list->item(0)->text(), QString("Microsoft Notepad"));
        QCOMPARE(page->SelectedLabel()->text(), QString("Not Defined"));

        // Add: each refusal keeps the editor open with the focus on the box to correct.
        OnModalDialog("Add New Word Processor", [&](QDialog* d) {
            auto* e = qobject_cast<TWordProDlg*>(d);
            ClickDialogButton(d, "OK");
            QVERIFY(d->isVisible());
            QCOMPARE(FromQString(messages_->Requests.back().Text),
                     std::string(kMsgWordProNameRequired));
            QCOMPARE(messages_->Requests.back().TitleNumber, int(mtRequiredField));
            QCOMPARE(d->focusWidget(), e->NameEdit());
            QTest::keyClicks(e->NameEdit(), "  kate ");
            ClickDialogButton(d, "OK");
            QCOMPARE(FromQString(messages_->Requests.back().Text),
                     std::string(kMsgWordProTitleRequired));
            QCOMPARE(d->focusWidget(), e->TitleEdit());
            QTest::keyClicks(e->TitleEdit(), "Kate");
            ClickDialogButton(d, "OK");
            QCOMPARE(messages_->Requests.back().TitleNumber, int(mtValidationFailed));
            QVERIFY(messages_->Requests.back().Text.startsWith(
                "A Word Processor with the Name \"kate\" already exists"));
            QCOMPARE(d->focusWidget(), e->NameEdit());
            ReplaceText(e->NameEdit(), " Ted ");
            ReplaceText(e->TitleEdit(), " ted ");
            ClickDialogButton(d, "OK");
            QVERIFY(!d->isVisible());
        });
        QTest::mouseClick(page->AddButton(), Qt::LeftButton);
        QCOMPARE(list->count(), 15);
        QCOMPARE(list->currentItem()->text(), QString("Ted"));

        // Select with a double click; a rename of the selected one keeps it selected.
        ClickRow(list, 14, true);
        QCOMPARE(page->SelectedLabel()->text(), QString("Ted"));
        OnModalDialog("Edit Word Processor", [&](QDialog* d) {
            auto* e = qobject_cast<TWordProDlg*>(d);
            QCOMPARE(e->NameEdit()->text(), QString("Ted"));
            QCOMPARE(e->TitleEdit()->text(), QString("ted"));
            ReplaceText(e->NameEdit(), "TED Editor");
            ClickDialogButton(d, "OK");
        });
        QTest::mouseClick(page->EditButton(), Qt::LeftButton);
        QCOMPARE(list->item(14)->text(), QString("TED Editor"));
        QCOMPARE(page->SelectedLabel()->text(), QString("TED Editor"));

        // Delete asks; No keeps the item, Yes removes it and keeps the row.
        ClickRow(list, 2);
        messages_->Answer = mrNo;
        QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
        QCOMPARE(messages_->Requests.back().Text,
                 QString("Word Processor:\tMicrosoft WordPad \n\nPlease confirm you wish to "
                         "Delete the above Word Processor"));
        QCOMPARE(messages_->Requests.back().TitleNumber, int(mtDeletionRequested));
        QCOMPARE(list->count(), 15);
        messages_->Answer = mrYes;
        QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
        QCOMPARE(list->count(), 14);
        QCOMPARE(list->currentRow(), 2);
        QCOMPARE(list->currentItem()->text(), QString("Microsoft Works"));
        ClickRow(list, 13);
        QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
        QCOMPARE(list->currentRow(), 12); // past the end: the last row

        const int before = int(messages_->Requests.size());
        ClickDialogButton(&dlg, "OK");
        QCOMPARE(int(messages_->Requests.size()), before);
        const QByteArray file = FileBytes(Path("cfg/TESSALY.TPW"));
        const auto saved = ParseWordProImage(std::vector<std::uint8_t>(file.begin(), file.end()));
        QVERIFY(saved);
        QCOMPARE(saved->Count(), 13);
        QCOMPARE(saved->SelectedWordProcessor(), std::string("TED Editor"));
        QCOMPARE(run->Frame->WordProcessors(), *saved);
    }

    // The next run reads the file back.
    run.reset();
    auto next = Run();
    QCOMPARE(next->Frame->WordProcessors().SelectedWordProcessor(), std::string("TED Editor"));
}

void TWordProTest::CancelPutsTheListBack() {
    auto run = Run();
    const TWordProList before = run->Frame->WordProcessors();
    TOptionsDlg dlg(*run->Frame, 4);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    TWordProPage* page = dlg.WordProcessors();
    messages_->Answer = mrYes;
    ClickRow(page->List(), 0);
    QTest::mouseClick(page->DeleteButton(), Qt::LeftButton);
    ClickRow(page->List(), 0, true);
    QCOMPARE(page->SelectedLabel()->text(), QString("Microsoft Word for Windows"));
    ClickDialogButton(&dlg, "Cancel");
    QCOMPARE(run->Frame->WordProcessors(), before);
    QVERIFY(!QFile::exists(Path("cfg/TESSALY.TPW")));
}

void TWordProTest::AFailedSaveIsReportedAndTheEditsKept() {
    auto run = Run();
    // A file this user may not write (the bits hold for the superuser too).
    QFile file(Path("cfg/TESSALY.TPW"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    const auto image = WriteWordProImage(DefaultWordProcessors());
    file.write(reinterpret_cast<const char*>(image.data()), qint64(image.size()));
    file.close();
    QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    {
        TOptionsDlg dlg(*run->Frame, 4);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        ClickRow(dlg.WordProcessors()->List(), 12, true); // Kate
        ClickDialogButton(&dlg, "OK");
        QVERIFY(!dlg.isVisible());
    }
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(messages_->Requests[0].Text.startsWith("The Word Processor list could not be saved"));
    QCOMPARE(messages_->Requests[0].TitleNumber, int(mtAccessError));
    // The edit stays for this run; the file keeps what it held.
    QCOMPARE(run->Frame->WordProcessors().SelectedWordProcessor(), std::string("Kate"));
    QCOMPARE(FileBytes(Path("cfg/TESSALY.TPW")),
             QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size())));
}

void TWordProTest::BookCommandsSendTheEntryText() {
    QDir().mkpath(Path("cfg"));
    TTestRun run(*store_, Path("cfg"));
    auto desktop = std::make_unique<testing::TFakeWordProDesktop>();
    testing::TFakeWordProDesktop& fake = *desktop;
    run.Context.WordProDesktop = std::move(desktop);
    fake.Windows = {
        {1, "Tessaly - Kate", true}, {2, "Kate Help", false}, {3, "letter - Kate", false}};
    TBook* book = OpenShownBook(run, MakeSmithBook(Path("Smith.ADR")));
    QVERIFY(book);
    QAction* insert = MenuAction(*book, "&Insert into Word Processor");
    QAction* clipboard = MenuAction(*book, "Insert to &Windows Clipboard");
    QToolButton* tool = run.Frame->ToolButton(1, "Insert to Word Processor");
    QVERIFY(insert && clipboard && tool);
    // No word processor selected: only the clipboard command is open.
    QVERIFY(!insert->isEnabled());
    QVERIFY(clipboard->isEnabled());
    clipboard->trigger();
    QCOMPARE(fake.Clipboard,
             std::optional<std::string>("Mr John Smith\r\nAcme\r\n1 High St\r\nTown\r\n"));
    QVERIFY(!fake.Pasted);

    // Kate is chosen on the options page: the commands open at once.
    OnModalDialog("General Options", [](QDialog* d) {
        auto* options = qobject_cast<TOptionsDlg*>(d);
        ClickRow(options->WordProcessors()->List(), 12, true);
        ClickDialogButton(d, "OK");
    });
    run.Frame->ShowOptions(4);
    QCOMPARE(run.Frame->WordProcessors().SelectedWordProcessor(), std::string("Kate"));
    QVERIFY(insert->isEnabled());
    QVERIFY(tool->isEnabled());
    fake.Clipboard.reset();
    QTest::mouseClick(tool, Qt::LeftButton);
    QCOMPARE(fake.Pasted, std::optional<std::uint64_t>(3)); // not our own, not the help
    QCOMPARE(fake.Forward, std::optional<std::uint64_t>(3));
    QVERIFY(fake.Clipboard && fake.Clipboard->starts_with("Mr John Smith\r\n"));
    QVERIFY(messages_->Requests.empty());

    // Not running: the message, and nothing typed.
    fake.Windows = {{3, "letter - Mousepad", false}};
    fake.Pasted.reset();
    QTest::mouseClick(tool, Qt::LeftButton);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Text,
             QString("The Word Processor Specified, \"Kate\", is not Running \n\nPlease Start the "
                     "Application and Retry the Request"));
    QVERIFY(!fake.Pasted);

    // While an entry is edited neither command is open.
    QTest::mouseClick(run.Frame->ToolButton(1, "Update Entry"), Qt::LeftButton);
    QVERIFY(book->EditMode() != kEditViewing);
    QVERIFY(!insert->isEnabled());
    QVERIFY(!clipboard->isEnabled());
}

void TWordProTest::WithoutAnX11SessionTheTextIsLeftOnTheClipboard() {
    // The program's own desktop, with no X11 display to reach.
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    QDir().mkpath(Path("cfg"));
    {
        TTestRun run(*store_, Path("cfg"));
        TBook* book = OpenShownBook(run, MakeSmithBook(Path("Smith.ADR")));
        QVERIFY(book);
        run.Frame->WordProcessors().SelectWordProcessor("Kate");
        book->ShowCurrentEntry();
        run.Frame->TimerTick();
        QApplication::clipboard()->clear();
        QTest::mouseClick(run.Frame->ToolButton(1, "Insert to Word Processor"), Qt::LeftButton);
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QCOMPARE(FromQString(messages_->Requests[0].Text), std::string(kMsgCannotType));
        QCOMPARE(messages_->Requests[0].Kind, int(mkInformation));
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("Mr John Smith\r\nAcme\r\n1 High St\r\nTown\r\n"));
    }
    if (!display.isNull())
        qputenv("DISPLAY", display);
}

QTEST_MAIN(TWordProTest)
#include "word_pro_test.moc"
