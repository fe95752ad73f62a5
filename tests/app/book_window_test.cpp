// The book window: the entry list in sort order with the saved selection, locked
// books (read-only files, back-up copies), re-reading a locked book, the enabling
// rules in viewing and editing, saving that never fails silently, the notes kept
// whole across page changes, type-ahead find, and the time to open a large book.

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_page.h"
#include "app/book/others_page.h"
#include "app/book/reminders_page.h"
#include "core/store/book_file.h"
#include "core/system/file_lock.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>

using namespace tessaly;

namespace {

// A book whose entries carry the given surnames, in that order in the file.
QString MakeNamedBook(const QString& path, const QStringList& surnames, int selected = 0) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (const QString& name : surnames) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(name));
        book->Entries.Add(std::move(e));
    }
    book->ListItemIndex = static_cast<std::int16_t>(selected);
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

// Another copy of the program adds an entry and writes the file; its time moves on so
// that the change shows even within the same second.
void SecondWriterAdds(const QString& path, const QString& surname) {
    TStoreSettings settings;
    TLoadResult r = LoadBook(PathToCore(path), settings);
    QVERIFY(r.Book);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldSurname, FromQString(surname));
    r.Book->Entries.Add(std::move(e));
    QVERIFY(SaveBook(*r.Book, false, settings).Ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
}

} // namespace

class TBookWindowTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void OpensInSortOrderWithTheSavedSelection();
    void SavedSelectionBeyondTheListSelectsTheFirst();
    void EmptyBookShowsNoEntry();
    void ReadOnlyFileOpensLocked();
    void BackupBookIsLockedWithItsMessage();
    void LockCommandSetsAndClearsTheAttribute();
    void LockedBookIsReReadAfterASecondWriter();
    void FailedReReadKeepsTheBookShown();
    void CommandStateInViewingAndEditing();
    void NotesAreNeverCutByAPageChange();
    void FailedSaveIsReportedAndTheEditsAreAskedFor();
    void ChangedFileIsNotOverwrittenWithoutAsking();
    void ReplacedFileWithTheSameTimeAndSizeIsNoticed();
    void SaveWaitsForAnotherWritersLockThenSaysSo();
    void AutoSaveAfterTheChangeCount();
    void TypingFindsAnEntry();
    void PagesAndCaptionsFromTheBook();
    void PagesShowTheEntry();
    void ShiftPageKeysScrollTheFieldBox();
    void NamePanelHoldsTitleAndFirstName();
    void ListAndPagesLookAsStated();
    void TabGoesFromFieldToVisibleField();
    void OthersPageFitsTheWindowAtItsFirstSize();
    void AddressRowsStayTogetherOnEveryTemplateTab();
    void LargeBookOpensQuickly();
    void LargeBookIsWrittenOnceItsListIsShown();

private:
    TBook* Open(TTestRun& run, const QString& path, bool readOnly = false) {
        if (!run.Frame->OpenBookFile(path, true, readOnly))
            return nullptr;
        return qobject_cast<TBook*>(run.Frame->ActiveChild());
    }
};

void TBookWindowTest::init() {
    Begin();
}

void TBookWindowTest::cleanup() {
    End();
}

void TBookWindowTest::OpensInSortOrderWithTheSavedSelection() {
    TTestRun run(*store_, Path("cfg"));
    MakeNamedBook(Path("Home.ADR"), {"Zeta", "alpha", "Mike", "beta"}, 2);
    TBook* book = Open(run, Path("Home.ADR"));
    QVERIFY(book);
    QCOMPARE(ListedSurnames(*book), QStringList({"alpha", "beta", "Mike", "Zeta"}));
    QCOMPARE(book->ListBox()->SelectedRow(), 2);
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Mike"));
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("4 of 4"));
    QCOMPARE(run.Frame->SearchIndicator()->text(), QString("All Entries"));
    QVERIFY(run.Frame->InfoLabel()->text().contains("Mike"));
    // The selection is kept with the book at close and comes back with it.
    book->ListBox()->SelectRow(3);
    book->ShowCurrentEntry();
    book->SubWindow()->close();
    QCoreApplication::processEvents();
    book = Open(run, Path("Home.ADR"));
    QVERIFY(book);
    QCOMPARE(book->ListBox()->SelectedRow(), 3);
    QVERIFY(QFile::exists(Path("Home.BAK"))); // "Backup" is on by default
}

void TBookWindowTest::SavedSelectionBeyondTheListSelectsTheFirst() {
    TTestRun run(*store_, Path("cfg"));
    MakeNamedBook(Path("Few.ADR"), {"b", "a"}, 9);
    TBook* book = Open(run, Path("Few.ADR"));
    QVERIFY(book);
    QCOMPARE(book->ListBox()->SelectedRow(), 0);
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("a"));
}

void TBookWindowTest::EmptyBookShowsNoEntry() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeBook(Path("Empty.ADR")));
    QVERIFY(book);
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("0 of 0"));
    QCOMPARE(run.Frame->InfoLabel()->text(), QString());
    QVERIFY(!book->CommandState().UpdateEntry);
    QVERIFY(!book->CommandState().DeleteEntry);
    QVERIFY(book->CommandState().AddEntry);
    QVERIFY(book->Book()->WorkRecord); // a blank working entry
}

void TBookWindowTest::ReadOnlyFileOpensLocked() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Shared.ADR"), {"a"});
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    TBook* book = Open(run, path);
    QVERIFY(book && book->ReadOnly());
    QCOMPARE(book->windowTitle(), QString("SHARED (Locked)"));
    QVERIFY(!book->CommandState().AddEntry);
    QVERIFY(!book->CommandState().UpdateEntry);
    QCOMPARE(book->LockAction()->text(), QString("Un&lock Address Book"));
    QVERIFY(messages_->Requests.empty());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TBookWindowTest::BackupBookIsLockedWithItsMessage() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Home.BAK"), {"a"}));
    QVERIFY(book && book->ReadOnly());
    QCOMPARE(book->windowTitle(), QString("HOME (Locked)"));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    const TMessageRequest& m = messages_->Requests[0];
    QCOMPARE(m.Title, QString("Access Error"));
    QCOMPARE(m.Kind, int(mkInformation));
    QCOMPARE(m.Text, QString("The Address Book opened is a Back-up File of another Address Book. "
                             "To protect against data loss, this Book has been locked against "
                             "updates.\n\nTo update this Book, use the Save As command and save "
                             "it using with a different name and file extension"));
}

void TBookWindowTest::LockCommandSetsAndClearsTheAttribute() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Lock.ADR"), {"a"});
    TBook* book = Open(run, path);
    QVERIFY(book && !book->ReadOnly());
    book->ToggleLock();
    QVERIFY(book->ReadOnly());
    QVERIFY(!(QFileInfo(path).permissions() & QFileDevice::WriteOwner));
    QCOMPARE(book->windowTitle(), QString("LOCK (Locked)"));
    book->ToggleLock();
    QVERIFY(!book->ReadOnly());
    QVERIFY(QFileInfo(path).permissions() & QFileDevice::WriteOwner);
    QCOMPARE(book->windowTitle(), QString("LOCK"));
}

void TBookWindowTest::LockedBookIsReReadAfterASecondWriter() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Net.ADR"), {"c", "a", "b"});
    TBook* book = Open(run, path, true);
    QVERIFY(book && book->ReadOnly());
    book->ListBox()->SelectRow(1);
    book->ShowCurrentEntry();
    // Nothing changed: nothing is read.
    TBookData* before = book->Book();
    book->Synchronise();
    QCOMPARE(book->Book(), before);
    SecondWriterAdds(path, "z");
    book->Synchronise();
    QCOMPARE(ListedSurnames(*book), QStringList({"a", "b", "c", "z"}));
    QCOMPARE(book->ListBox()->SelectedRow(), 1);
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("b"));
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("4 of 4"));
}

void TBookWindowTest::FailedReReadKeepsTheBookShown() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Net.ADR"), {"a", "b"});
    TBook* book = Open(run, path, true);
    QVERIFY(book);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("half a book");
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    }
    book->Synchronise();
    QCOMPARE(ListedSurnames(*book), QStringList({"a", "b"}));
    QVERIFY(book->Book()->WorkRecord);
}

void TBookWindowTest::CommandStateInViewingAndEditing() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Edit.ADR"), {"a", "b"}));
    QVERIFY(book);
    QVERIFY(book->CommandState().UpdateEntry);
    QVERIFY(book->CommandState().AddEntry);
    QVERIFY(!book->CommandState().ApplyUpdate);
    QVERIFY(book->ListBox()->isEnabled());
    book->SetEditMode(kEditUpdating);
    QVERIFY(!book->CommandState().UpdateEntry);
    QVERIFY(!book->CommandState().AddEntry);
    QVERIFY(book->CommandState().ApplyUpdate);
    QVERIFY(book->CommandState().CancelUpdate);
    QVERIFY(!book->ListBox()->isEnabled());
    QVERIFY(!book->LockAction()->isEnabled());
    QVERIFY(!book->NotesPage()->Editor()->isReadOnly());
    // Closing while editing asks string 89; No keeps the window.
    messages_->Answer = mrNo;
    QVERIFY(!book->SubWindow()->close());
    QCOMPARE(messages_->Requests.back().Title, QString("Caution - Data Loss Possible"));
    QVERIFY(messages_->Requests.back().Text.startsWith(
        QString("Address Book %1 is being Updated").arg(Path("Edit.ADR"))));
    book->SetEditMode(kEditViewing);
    QVERIFY(book->ListBox()->isEnabled());
    // A writable book's fields take typing while viewing too: typing starts an edit.
    QVERIFY(!book->NotesPage()->Editor()->isReadOnly());
    // The reminders menu opens only with the reminders page.
    QVERIFY(!book->CommandState().RemindersMenu);
    book->ShowPage(2);
    QVERIFY(book->CommandState().RemindersMenu);
}

void TBookWindowTest::NotesAreNeverCutByAPageChange() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Notes.ADR"), {"a"}));
    QVERIFY(book);
    book->SetEditMode(kEditUpdating);
    book->ShowPage(1);
    const QString longNotes = QString(40000, 'n') + "end";
    book->NotesPage()->Editor()->setPlainText(longNotes);
    book->NotesPage()->Editor()->document()->setModified(true);
    book->ShowPage(0);
    QCOMPARE(book->Book()->WorkRecord->Notes().size(), std::size_t(40003));
    book->ShowPage(1);
    QCOMPARE(book->NotesPage()->Editor()->toPlainText(), longNotes);
}

void TBookWindowTest::FailedSaveIsReportedAndTheEditsAreAskedFor() {
    TTestRun run(*store_, Path("cfg"));
    QDir().mkpath(Path("gone"));
    TBook* book = Open(run, MakeNamedBook(Path("gone/Lost.ADR"), {"a"}));
    QVERIFY(book && !book->ReadOnly());
    // The folder disappears under the open book: the next write cannot succeed.
    QVERIFY(QDir(Path("gone")).removeRecursively());
    book->RecordChange();
    QVERIFY(book->Book()->Modified);
    messages_->Requests.clear();
    QVERIFY(!book->Save(false));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Access Error"));
    QVERIFY(messages_->Requests[0].Text.contains("could not be saved"));
    QVERIFY(book->Book()->Modified);
    QVERIFY(book->ReadOnly());
    QVERIFY(book->windowTitle().endsWith(" (Locked)"));
    // At close the lost edits are asked about; No keeps the window open.
    messages_->Answer = mrNo;
    QVERIFY(!book->SubWindow()->close());
    QVERIFY(messages_->Requests.back().Text.contains("could not be saved"));
    messages_->Answer = mrYes;
    QVERIFY(book->SubWindow()->close());
}

void TBookWindowTest::ChangedFileIsNotOverwrittenWithoutAsking() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Two.ADR"), {"a"});
    TBook* book = Open(run, path);
    QVERIFY(book && !book->ReadOnly());
    SecondWriterAdds(path, "other");
    messages_->Answer = mrNo;
    QVERIFY(!book->Save(false));
    QCOMPARE(messages_->Requests.back().Title, QString("Caution - Data Loss Possible"));
    TLoadResult onDisk = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(onDisk.Book);
    QCOMPARE(onDisk.Book->Entries.Count(), 2); // the other copy's entry is still there
    QVERIFY(!book->ReadOnly());
    messages_->Answer = mrYes;
    QVERIFY(book->Save(false));
    onDisk = LoadBook(PathToCore(path), TStoreSettings());
    QCOMPARE(onDisk.Book->Entries.Count(), 1);
}

// A writer that replaces the file keeping its size and modification time is still
// noticed: the store compares the file's inode too.
void TBookWindowTest::ReplacedFileWithTheSameTimeAndSizeIsNoticed() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Same.ADR"), {"a", "b"});
    TBook* book = Open(run, path);
    QVERIFY(book && !book->ReadOnly());
    const QDateTime time = QFileInfo(path).lastModified();
    TLoadResult other = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(other.Book);
    other.Book->Entries.At(0)->Tagged = 1; // same size
    TSaveOptions force;
    force.Force = true;
    QVERIFY(SaveBook(*other.Book, false, TStoreSettings(), force).Ok);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
    f.close();
    messages_->Answer = mrNo;
    const int asked = static_cast<int>(messages_->Requests.size());
    QVERIFY(!book->Save(false));
    QCOMPARE(static_cast<int>(messages_->Requests.size()), asked + 1);
    QCOMPARE(messages_->Requests.back().Title, QString("Caution - Data Loss Possible"));
    QCOMPARE(LoadBook(PathToCore(path), TStoreSettings()).Book->Entries.CountTagged(), 1);
}

// tessaly-cli (or another copy) holds the book's lock: the window waits a little, then
// reports the save as failed and leaves the file alone.
void TBookWindowTest::SaveWaitsForAnotherWritersLockThenSaysSo() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Busy.ADR"), {"a"});
    TBook* book = Open(run, path);
    QVERIFY(book && !book->ReadOnly());
    const QByteArray before = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    TFileLock other;
    QVERIFY(other.Acquire(PathToCore(path), std::chrono::milliseconds(0)));
    QVERIFY(!book->Save(false));
    QCOMPARE(messages_->Requests.back().Title, QString("Access Error"));
    QVERIFY(messages_->Requests.back().Text.contains(
        "Another user or program is saving the book. Try again later."));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void TBookWindowTest::AutoSaveAfterTheChangeCount() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().AutoSaveInterval = 2;
    const QString path = MakeNamedBook(Path("Auto.ADR"), {"a", "b"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    const auto surnamesOnDisk = [&] {
        TLoadResult r = LoadBook(PathToCore(path), TStoreSettings());
        QStringList out;
        for (int i = 0; i < r.Book->Entries.Count(); ++i)
            out << ToQString(r.Book->Entries.At(i)->NameField(kFieldSurname));
        return out;
    };
    // An update of the selected entry: its surname changes.
    const auto rename = [&](const QString& surname) {
        book->StartUpdating();
        auto* name = book->AddressPage()->findChild<QLineEdit*>("F_Name");
        name->setText(surname);
        name->setModified(true);
        book->ApplyEdit();
    };
    rename("a2");
    QVERIFY(book->Book()->Modified);
    QVERIFY(book->CommandState().Save);
    QCOMPARE(surnamesOnDisk(), QStringList({"a", "b"})); // one change: not yet written
    rename("a3");                                        // the second change reaches the count
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(surnamesOnDisk(), QStringList({"a3", "b"}));
    // A tag is not a change of the book: nothing is counted and nothing written.
    book->ToggleTag();
    QVERIFY(!book->Book()->Modified);
}

void TBookWindowTest::TypingFindsAnEntry() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Find.ADR"), {"Mills", "Adams", "Miller", "Brown"}));
    QVERIFY(book);
    QTest::keyClicks(book->ListBox(), "mille");
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Miller"));
    QTest::keyClick(book->ListBox(), Qt::Key_Backspace);
    QTest::keyClick(book->ListBox(), Qt::Key_Backspace);
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Miller"));
    QTest::keyClick(book->ListBox(), Qt::Key_S); // "mils" matches nothing: beep, no move
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Miller"));
    QVERIFY(book->ListBox()->TypeAhead().Prefix().empty());
}

void TBookWindowTest::PagesAndCaptionsFromTheBook() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Pages.ADR"), {"a"}));
    QVERIFY(book);
    for (int page = 0; page < TBook::kPages; ++page) {
        QVERIFY(!book->Tabs()->tabText(page).isEmpty());
        QCOMPARE(book->PageAction(page)->text(), book->Tabs()->tabText(page) + " Page");
    }
    QCOMPARE(book->PageAction(0)->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(book->PageAction(5)->shortcut(), QKeySequence(Qt::Key_F4));
    book->ShowPage(3);
    book->SubWindow()->close();
    QCoreApplication::processEvents();
    TLoadResult r = LoadBook(PathToCore(Path("Pages.ADR")), TStoreSettings());
    QCOMPARE(int(r.Book->ActivePage), 3);
    // The book's menus stand in for the frame's while it is active.
    book = Open(run, Path("Pages.ADR"));
    QVERIFY(book);
    QCOMPARE(book->CurrentPage(), 3);
    QVERIFY(run.Frame->FileMenu()->menuAction()->isVisible() == false);
}

void TBookWindowTest::ShiftPageKeysScrollTheFieldBox() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Scroll.ADR"), {"a"}));
    QVERIFY(book);
    run.Frame->show();
    QApplication::setActiveWindow(run.Frame.get());
    QVERIFY(QTest::qWaitForWindowActive(run.Frame.get()));
    // Small enough that the fields of the Others page do not fit.
    book->SubWindow()->resize(420, 200);
    book->ShowPage(3);
    QTest::qWait(50);
    auto* box = book->findChild<QScrollArea*>("OthersScrollBox");
    QVERIFY(box);
    QVERIFY(box->verticalScrollBar()->maximum() >= 20);
    book->ListBox()->setFocus();
    QTest::keyClick(book->ListBox(), Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(box->verticalScrollBar()->value(), 10);
    QTest::keyClick(book->ListBox(), Qt::Key_PageDown, Qt::ShiftModifier);
    QTest::keyClick(book->ListBox(), Qt::Key_PageUp, Qt::ShiftModifier);
    QCOMPARE(box->verticalScrollBar()->value(), 10);
    // On the Notes page the keys scroll nothing.
    book->ShowPage(1);
    book->ListBox()->setFocus();
    QTest::keyClick(book->ListBox(), Qt::Key_PageDown, Qt::ShiftModifier);
    QCOMPARE(box->verticalScrollBar()->value(), 10);
}

void TBookWindowTest::PagesShowTheEntry() {
    TTestRun run(*store_, Path("cfg"));
    TStoreSettings settings;
    auto data = NewBook(PathToCore(Path("Full.ADR")), settings);
    // A second, structured template with a city/state/zip layout.
    TTemplateValues us = data->Templates.NewTemplateValues();
    us.Name = "Work";
    us.AddressFormat = kFormatUS;
    us.ButtonKinds = {kButtonDial, kButtonNone, kButtonNone, kButtonMail};
    const int usIndex = data->Templates.AddTemplate(us);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldTitle, "Dr");
    e->Created = EncodeDate(2024, 3, 1);
    e->SetNameField(kFieldFirstName, "Ada");
    e->SetNameField(kFieldSurname, "Lovelace");
    e->SetNameField(4, "Analyst");
    e->SetNotes("Met at the engine exhibition.");
    e->Addresses.AddAddress(data->Templates.TemplateId(1));
    e->Addresses.SetFieldOf(0, kFieldCompany, "Engines Ltd and Analytical Calculating Machinery");
    e->Addresses.SetFieldOf(0, kFieldAddress, "12 Square\r\nLondon");
    e->Addresses.SetFieldOf(0, kFirstPhoneField, "020 7946 0000");
    e->Addresses.AddAddress(data->Templates.TemplateId(usIndex));
    e->Addresses.SetFieldOf(1, kFieldAddress, "1 Main St\r\n\r\nSpringfield\r\nIL\r\n62701");
    e->CategoriesInUse.AddMembership(data->Categories.CategoryId(1));
    const TDateTime today = DateOf(SystemClock::Instance().Now());
    for (int i = 0; i < 3; ++i) {
        auto r = std::make_unique<TReminders>();
        r->When = today + i - 1;
        r->Frequency = 1;
        r->AlarmSet = 1;
        r->Priority = static_cast<std::int16_t>(i + 1);
        r->SetDescription(i == 2 ? "Done already" : "Call about the engine");
        r->Completed = i == 2;
        e->Reminders.Add(std::move(r));
    }
    data->Entries.Add(std::move(e));
    data->ShowCompleted = 0;
    QVERIFY(SaveBook(*data, false, settings).Ok);

    run.Frame->resize(900, 620);
    run.Frame->show();
    TBook* book = Open(run, Path("Full.ADR"));
    QVERIFY(book);
    book->SubWindow()->showMaximized();
    QCOMPARE(book->findChild<QLineEdit*>("F_Surname") ? 1 : 0, 0); // fields go by the names below
    QCOMPARE(book->findChild<QLineEdit*>("F_Name")->text(), QString("Lovelace"));
    QCOMPARE(book->findChild<QLineEdit*>("F_Company")->text(),
             QString("Engines Ltd and Analytical Calculating Machinery"));
    // A long value is shown from its start.
    QCOMPARE(book->findChild<QLineEdit*>("F_Company")->cursorPosition(), 0);
    QCOMPARE(book->findChild<QLineEdit*>("F_Phone1")->text(), QString("020 7946 0000"));
    QVERIFY(book->findChild<QPushButton*>("B_Phone1")->isVisibleTo(book));
    QVERIFY(!book->findChild<QPushButton*>("B_Phone3")->isVisibleTo(book));
    QVERIFY(book->CommandState().DialNumber);
    QVERIFY(book->findChild<QPlainTextEdit*>("F_Address")->isVisibleTo(book));
    // The structured template's tab shows the five lines, city and state on one row.
    book->AddressPage()->SetTemplateTab(1);
    QVERIFY(!book->findChild<QPlainTextEdit*>("F_Address")->isVisibleTo(book));
    QCOMPARE(book->findChild<QLineEdit*>("F_Address_3")->text(), QString("Springfield"));
    QCOMPARE(book->findChild<QLineEdit*>("F_Address_5")->text(), QString("62701"));
    QVERIFY(!book->CommandState().DialNumber);
    book->AddressPage()->SetTemplateTab(0);
    // Reminders: the completed one is left out until "Show Completed Events" is on.
    book->ShowPage(2);
    QTreeWidget* reminders = book->findChild<QTreeWidget*>("Reminders");
    QCOMPARE(reminders->topLevelItemCount(), 2);
    QCOMPARE(reminders->currentItem(), reminders->topLevelItem(0));
    QCOMPARE(reminders->topLevelItem(0)->data(0, Qt::UserRole + 2).toString(), QString("Alert1"));
    QCOMPARE(reminders->topLevelItem(1)->data(0, Qt::UserRole + 2).toString(), QString("Alert2"));
    book->Book()->ShowCompleted = 1;
    book->ShowPage(0);
    book->ShowPage(2);
    QCOMPARE(reminders->topLevelItemCount(), 3);
    // A refill from the menu selects the first item again.
    reminders->setCurrentItem(reminders->topLevelItem(2));
    for (QAction* a : book->RemindersPage()->Menu()->actions())
        if (a->text() == "Show Event &Notes")
            a->trigger();
    QCOMPARE(reminders->currentItem(), reminders->topLevelItem(0));
    // "Reminder Options..." opens the general options on their "Reminders" page.
    QString optionsPage;
    QTimer::singleShot(0, [&optionsPage] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (auto* tabs = d->findChild<QTabWidget*>())
                optionsPage = tabs->tabText(tabs->currentIndex());
            d->reject();
        }
    });
    for (QAction* a : book->RemindersPage()->Menu()->actions())
        if (a->text() == "Reminder Options...")
            a->trigger();
    QCOMPARE(optionsPage, QString("Reminders"));
    book->ShowPage(3);
    QCOMPARE(book->findChild<QLineEdit*>("F_Others2")->text(), QString("Analyst"));
    QVERIFY(!book->OthersPage()->DateText(0).isEmpty());
    book->ShowPage(5);
    QCOMPARE(book->CategoriesPage()->Ticked(),
             QStringList({ToQString(book->Book()->Categories.CategoryName(1))}));
    QVERIFY(run.Frame->findChild<QLabel*>("Entry has Reminders")->isVisibleTo(run.Frame.get()));
    QVERIFY(run.Frame->findChild<QLabel*>("Entry has Notes")->isVisibleTo(run.Frame.get()));
    book->ShowPage(0);
    if (const QByteArray shot = qgetenv("TESSALY_SCREENSHOT"); !shot.isEmpty())
        for (int page : {0, 2, 5}) {
            book->ShowPage(page);
            QCoreApplication::processEvents();
            run.Frame->grab().save(QString::fromLocal8Bit(shot) + QString("_page%1.png").arg(page));
        }
}

// The entry list's background while an entry is edited, the Categories page's
// columns and the reminder rows' height.
void TBookWindowTest::ListAndPagesLookAsStated() {
    TTestRun run(*store_, Path("cfg"));
    TStoreSettings settings;
    auto data = NewBook(PathToCore(Path("Look.ADR")), settings);
    for (const char* name : {"Golf Club Members", "Al", "Suppliers", "Bee", "Chess", "Dance",
                             "Eels", "Film", "Gin", "Hat", "Ink", "Jam", "Kite", "Lime"})
        data->Categories.AddCategory(name, false);
    for (const char* surname : {"Adams", "Brown"}) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, surname);
        auto r = std::make_unique<TReminders>();
        r->When = EncodeDate(2030, 1, 2);
        r->SetDescription("Call Ann");
        r->SetNotes("Bring the plans");
        e->Reminders.Add(std::move(r));
        data->Entries.Add(std::move(e));
    }
    data->ShowNotes = 1;
    data->ColumnWidths = {22, 39, 500, 40}; // a time column kept far too wide
    QVERIFY(SaveBook(*data, false, settings).Ok);
    TBook* book = OpenShownBook(run, Path("Look.ADR"));
    QVERIFY(book);
    run.Frame->resize(900, 620);
    book->SubWindow()->showMaximized();
    QCoreApplication::processEvents();

    // Editing: the list is disabled and drawn on the button face, rows and the room
    // below them alike.
    const QColor face = QApplication::palette().color(QPalette::Button);
    QVERIFY(face != QApplication::palette().color(QPalette::Base));
    QLineEdit* name = book->findChild<QLineEdit*>("F_Name");
    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(name->width() - 4, name->height() / 2));
    QTest::keyClicks(name, "s");
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QVERIFY(!book->ListBox()->isEnabled());
    const QImage list = book->ListBox()->viewport()->grab().toImage();
    const QRect row1 = book->ListBox()->visualRect(book->EntryModel()->index(1));
    QCOMPARE(list.pixelColor(row1.right() - 2, row1.center().y()), face);
    QCOMPARE(list.pixelColor(4, list.height() - 4), face);
    QTest::keyClick(name, Qt::Key_Escape);

    // Categories: columns as wide as the list's width divided by the widest name
    // plus 50 pixels, the names in rows across them.
    book->ShowPage(5);
    QCoreApplication::processEvents();
    auto* cats = book->findChild<QListWidget*>("CatList");
    QVERIFY(cats && cats->isVisible());
    const int widest = cats->fontMetrics().horizontalAdvance("Golf Club Members");
    const auto checkColumns = [&](int& columns) {
        const int width = cats->viewport()->width();
        const QRect first = cats->visualItemRect(cats->item(0));
        columns = 1;
        while (cats->visualItemRect(cats->item(columns)).top() == first.top())
            ++columns;
        const int cell = cats->visualItemRect(cats->item(1)).left() - first.left();
        QVERIFY2(columns >= 2, qPrintable(QString::number(width)));
        QVERIFY(cell >= widest + 50);
        QVERIFY(cell * columns <= width);
        QVERIFY2(cell * (columns + 1) > width,
                 qPrintable(QString("%1 %2 %3").arg(cell).arg(columns).arg(width))); // no room left
                                                                                     // for one more
        QVERIFY(width / columns - cell <= 20); // the width shared out
        QCOMPARE(cats->visualItemRect(cats->item(columns)).left(), first.left());
        QVERIFY(cats->visualItemRect(cats->item(columns)).top() > first.top());
    };
    int columns = 0;
    checkColumns(columns);
    const int narrow = columns;
    // The columns follow a change of the window's width.
    run.Frame->resize(1200, 620);
    QCoreApplication::processEvents();
    checkColumns(columns);
    QVERIFY(columns > narrow);

    // Reminders: rows of 40 pixels with the notes shown, 20 without.
    book->ShowPage(2);
    QCoreApplication::processEvents();
    auto* reminders = book->findChild<QTreeWidget*>("Reminders");
    QCOMPARE(reminders->visualItemRect(reminders->topLevelItem(0)).height(), 40);
    for (QAction* a : book->RemindersPage()->Menu()->actions())
        if (a->text() == "Show Event &Notes")
            a->trigger();
    QCoreApplication::processEvents();
    QCOMPARE(reminders->visualItemRect(reminders->topLevelItem(0)).height(), 20);
    // In the window's first size the time column's kept width leaves no room: priority,
    // date and time are as wide as their texts, the description takes the rest.
    book->SubWindow()->showNormal();
    run.Frame->resize(584, 562);
    QCoreApplication::processEvents();
    QCOMPARE(CutColumn(reminders, 0, 3), QString());
    // Given the room, the kept width is shown again.
    run.Frame->resize(1400, 620);
    book->SubWindow()->showMaximized();
    QCoreApplication::processEvents();
    QCOMPARE(reminders->header()->sectionSize(2), 500);
    QCOMPARE(CutColumn(reminders, 0, 3), QString());
}

// Tab from field to field on the Address page stops only at what can be seen and
// typed into: from the surname straight to the position, no keys lost on the way.
void TBookWindowTest::TabGoesFromFieldToVisibleField() {
    TTestRun run(*store_, Path("cfg"));
    {
        TStoreSettings settings;
        auto data = NewBook(PathToCore(Path("Tabs.ADR")), settings);
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, "Adams");
        e->Addresses.AddAddress(data->Templates.TemplateId(1));
        data->Entries.Add(std::move(e));
        QVERIFY(SaveBook(*data, false, settings).Ok);
    }
    TBook* book = OpenShownBook(run, Path("Tabs.ADR"));
    QVERIFY(book);
    QLineEdit* name = book->findChild<QLineEdit*>("F_Name");
    QTest::mouseClick(name, Qt::LeftButton, {}, QPoint(name->width() - 4, name->height() / 2));
    QVERIFY(name->hasFocus());
    QStringList stops;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* at = QApplication::focusWidget();
        QVERIFY(at);
        QVERIFY2(at->isVisible(), qPrintable(at->metaObject()->className()));
        stops << at->objectName();
    }
    QCOMPARE(stops, QStringList({"F_Position", "F_Company", "F_Address", "F_Phone1"}));
    // Typed after one Tab, the text lands in the position.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), name);
    QTest::keyClick(name, Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), "Boss");
    QCOMPARE(book->findChild<QLineEdit*>("F_Position")->text(), QString("Boss"));
}

// A new book's window in the frame at their first sizes: the Others page shows its
// fields and dates whole, with no scroll bar across.
void TBookWindowTest::OthersPageFitsTheWindowAtItsFirstSize() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->resize(584, 562);
    TBook* book = OpenShownBook(run, MakeNamedBook(Path("Others.ADR"), {"Adams"}));
    QVERIFY(book);
    book->ShowPage(3);
    QCoreApplication::processEvents();
    auto* scroll = book->findChild<QScrollArea*>("OthersScrollBox");
    QVERIFY(scroll && scroll->isVisible());
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
    const int right = scroll->viewport()->width();
    for (QWidget* w : scroll->widget()->findChildren<QWidget*>()) {
        if (!w->isVisible())
            continue;
        const QRect r(w->mapTo(scroll->viewport(), QPoint(0, 0)), w->size());
        QVERIFY2(r.right() < right, qPrintable(w->objectName() + " " + QString::number(r.right()) +
                                               " " + QString::number(right)));
    }
    // The label column is as wide as the widest label of the six fields, not the dates'.
    auto* first = book->findChild<QLineEdit*>("F_Others1");
    const int labels =
        book->findChild<QLabel*>("CreatedDate")->mapTo(scroll->widget(), QPoint()).x();
    QVERIFY(first->mapTo(scroll->widget(), QPoint()).x() < labels);
}

// Switching between template tabs of different layouts leaves no gap between rows.
void TBookWindowTest::AddressRowsStayTogetherOnEveryTemplateTab() {
    TTestRun run(*store_, Path("cfg"));
    {
        TStoreSettings settings;
        auto data = NewBook(PathToCore(Path("Work.ADR")), settings);
        TTemplateValues uk = data->Templates.NewTemplateValues();
        uk.Name = "Work Address";
        uk.AddressFormat = kFormatUK;
        const int ukIndex = data->Templates.AddTemplate(uk);
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, "Adams");
        e->Addresses.AddAddress(data->Templates.TemplateId(1));
        e->Addresses.AddAddress(data->Templates.TemplateId(ukIndex));
        e->Addresses.SetFieldOf(1, kFieldAddress, "1 Main St\r\nKingsholm\r\nWestvale");
        data->Entries.Add(std::move(e));
        QVERIFY(SaveBook(*data, false, settings).Ok);
    }
    run.Frame->resize(800, 900); // room to spare below the fields
    TBook* book = OpenShownBook(run, Path("Work.ADR"));
    QVERIFY(book);
    book->SubWindow()->showMaximized();
    auto* tabs = book->findChild<QTabBar*>("TabSet");
    auto* scroll = book->findChild<QScrollArea*>("ScrollBox");
    QCOMPARE(tabs->count(), 2);
    for (int tab : {0, 1, 0, 1}) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        QCoreApplication::processEvents();
        QCOMPARE(tabs->currentIndex(), tab);
        QList<QRect> rows;
        for (QWidget* w : scroll->widget()->findChildren<QWidget*>())
            if (w->isVisible() && (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)))
                rows << QRect(w->mapTo(scroll->widget(), QPoint()), w->size());
        std::sort(rows.begin(), rows.end(),
                  [](const QRect& a, const QRect& b) { return a.top() < b.top(); });
        QVERIFY(rows.size() >= 6);
        for (int i = 1; i < rows.size(); ++i)
            if (rows[i].top() > rows[i - 1].top()) // not beside it on one row
                QVERIFY2(rows[i].top() - rows[i - 1].bottom() <= 12,
                         qPrintable(QString("tab %1 row %2: %3 after %4")
                                        .arg(tab)
                                        .arg(i)
                                        .arg(rows[i].top())
                                        .arg(rows[i - 1].bottom())));
    }
}

void TBookWindowTest::NamePanelHoldsTitleAndFirstName() {
    TTestRun run(*store_, Path("cfg"));
    MakeNamedBook(Path("Panels.ADR"), {"a"});
    {
        TLoadResult r = LoadBook(PathToCore(Path("Panels.ADR")), TStoreSettings());
        r.Book->TitleWidth = 60;
        r.Book->NamePanelWidth = 122; // the title and the first name together
        QVERIFY(SaveBook(*r.Book, false, TStoreSettings()).Ok);
    }
    run.Frame->resize(900, 620);
    run.Frame->show();
    TBook* book = Open(run, Path("Panels.ADR"));
    QVERIFY(book);
    QCoreApplication::processEvents();
    QCOMPARE(book->AddressPage()->TitleWidth(), 60);
    QCOMPARE(book->AddressPage()->NamePanelWidth(), 122);
    QCOMPARE(book->findChild<QLineEdit*>("F_Initials")->parentWidget()->width(), 62);
    QVERIFY(book->SubWindow()->close());
    TLoadResult r = LoadBook(PathToCore(Path("Panels.ADR")), TStoreSettings());
    QCOMPARE(int(r.Book->TitleWidth), 60);
    QCOMPARE(int(r.Book->NamePanelWidth), 122);
}

void TBookWindowTest::LargeBookOpensQuickly() {
    TTestRun run(*store_, Path("cfg"));
    QStringList names;
    names.reserve(32767);
    for (int i = 0; i < 32767; ++i)
        names << QString("Name%1").arg((i * 7919) % 32767, 5, 10, QChar('0'));
    MakeNamedBook(Path("Large.ADR"), names, 0);
    run.Frame->resize(900, 600);
    run.Frame->show();
    QElapsedTimer t;
    t.start();
    TBook* book = Open(run, Path("Large.ADR"));
    QVERIFY(book);
    book->ListBox()->viewport()->repaint(); // the first paint
    const qint64 ms = t.elapsed();
    qInfo("Opening the 32,767-entry book (load, order, first paint): %lld ms", ms);
    QCOMPARE(book->EntryModel()->rowCount(), 32767);
    QCOMPARE(ToQString(book->EntryModel()->EntryAt(32766)->NameField(kFieldSurname)),
             QString("Name32766"));
    // A generous bound that still catches a list filled item by item.
    QVERIFY2(ms < 5000, qPrintable(QString("%1 ms").arg(ms)));
    // Where the time goes: reading the file and ordering the list, apart.
    t.restart();
    TLoadResult loaded = LoadBook(PathToCore(Path("Large.ADR")), TStoreSettings());
    const qint64 loadMs = t.restart();
    TEntryList ordered(*loaded.Book);
    ordered.Rebuild();
    qInfo("of which: load %lld ms, order %lld ms", loadMs, t.elapsed());
    if (const QByteArray shot = qgetenv("TESSALY_SCREENSHOT"); !shot.isEmpty())
        run.Frame->grab().save(QString::fromLocal8Bit(shot) + "_large.png");
}

// The write that tells whether a book can be saved waits for a large book's list to be
// painted; it still comes, before the user can change anything, and replaces the file.
void TBookWindowTest::LargeBookIsWrittenOnceItsListIsShown() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = Path("Notes.ADR");
    {
        TStoreSettings settings;
        auto large = NewBook(PathToCore(path), settings);
        for (int i = 0; i < 80; ++i) {
            auto e = std::make_unique<TRecord>();
            e->SetNameField(kFieldSurname, "Entry" + std::to_string(i));
            e->SetNotes(std::string(60000, static_cast<char>('a' + i % 26)));
            large->Entries.Add(std::move(e));
        }
        QVERIFY(SaveBook(*large, false, settings).Ok);
    }
    const auto inode = [&path] {
        TFileStat st;
        return RealFileSystem().Stat(PathToCore(path), st) == 0 ? st.Inode : 0;
    };
    const std::uint64_t before = inode();
    QVERIFY(before != 0);
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    // A modal dialog open while the list first paints holds the write back until it
    // closes: it may hold changes to the book it has not handed back.
    std::uint64_t whileModal = 0;
    QTimer::singleShot(0, [&] {
        QDialog modal(run.Frame.get());
        QTimer::singleShot(800, &modal, [&] {
            whileModal = inode();
            modal.accept();
        });
        modal.exec();
    });
    TBook* book = Open(run, path);
    QVERIFY(book && !book->ReadOnly());
    QTRY_VERIFY(whileModal != 0);
    QCOMPARE(whileModal, before);
    // Written through a new file renamed over the old one.
    QTRY_VERIFY(inode() != before);
    QVERIFY(!book->ReadOnly());
    QVERIFY(!book->windowTitle().endsWith(" (Locked)"));
    TLoadResult again = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(again.Book);
    QCOMPARE(again.Book->Entries.Count(), 80);
    QCOMPARE(again.Book->Entries.At(79)->Notes().size(), std::size_t(60000));
    // The window's own copy now matches the file: no warning of another writer.
    QVERIFY(!BookChangedOnDisk(*book->Book()));
}

QTEST_MAIN(TBookWindowTest)
#include "book_window_test.moc"
#include "tests/support/memory_settings_store.h"
