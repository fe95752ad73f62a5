// Editing in the book window, driven as a user drives it: mouse clicks on the entry
// list, typing into the fields, Ctrl+Enter, Esc, Delete and the other keys of the
// "&Edit" menu, and the dialogs they open. Adding, fast edit, updating, cancelling,
// deleting one or many entries, undo, tags, find, copy and paste, the Notes time
// stamp, "Save &as..." and the information dialog.

#include "app/book/address_page.h"
#include "app/book/attachments_page.h"
#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_page.h"
#include "app/book/others_page.h"
#include "app/widgets/tool_icons.h"
#include "core/access/clipboard.h"
#include "core/book_window/find_entry.h"
#include "core/store/book_file.h"
#include "core/store/stream.h"
#include "core/system/file_lock.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <functional>

using namespace tessaly;

namespace {

// A book with entries of these surnames (in file order); `tagged` marks entries.
QString MakeNamedBook(const QString& path, const QStringList& surnames,
                      const QList<int>& tagged = {}) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (int i = 0; i < surnames.size(); ++i) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(surnames[i]));
        e->Tagged = tagged.contains(i) ? 1 : 0;
        book->Entries.Add(std::move(e));
    }
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QString Shown(TBook& book) {
    return ToQString(book.Book()->WorkRecord->NameField(kFieldSurname));
}

QLineEdit* Field(TBook& book, const char* name) {
    return book.findChild<QLineEdit*>(name);
}

// A click on list item `row`, where a user would click.
void ClickRow(TBook& book, int row) {
    TTessaListBox* list = book.ListBox();
    const QRect r = list->visualRect(book.EntryModel()->index(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void DoubleClickRow(TBook& book, int row) {
    TTessaListBox* list = book.ListBox();
    const QPoint p = list->visualRect(book.EntryModel()->index(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
}

// Clicks into a field and types, as a user does.
void TypeInto(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 4, field->height() / 2));
    QTest::keyClicks(field, text);
}

// Types characters no key of the test keyboard carries, as an input method delivers
// them: one key event with the character as its text each.
void TypeComposed(QWidget* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(field->width() - 4, field->height() / 2));
    for (const char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUcs4(&c, 1),
                            Qt::NoModifier);
}

// Opens "&File" as a user does (its items are refreshed then) and runs the command.
void TriggerFileCommand(TBook& book, const QString& text) {
    QAction* a = MenuAction(book, text);
    if (!a) {
        qWarning("no command %s", qPrintable(text));
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(a->parent()))
        emit menu->aboutToShow();
    if (!a->isEnabled())
        qWarning("%s is disabled", qPrintable(text));
    a->trigger();
}

// Runs `act` on the next modal dialog once it is open.
void OnNextDialog(std::function<void(QDialog*)> act) {
    QTimer::singleShot(0, [act] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) {
            QTimer::singleShot(10, [act] { OnNextDialog(act); });
            return;
        }
        act(d);
    });
}

// After a dialog closes the frame takes the focus back (the window manager's part,
// which the offscreen platform leaves out).
void BackToFrame(TBook& book) {
    QApplication::setActiveWindow(book.Frame().Widget());
    if (!QTest::qWaitForWindowActive(book.Frame().Widget()))
        qWarning("the frame did not become active");
    book.ListBox()->setFocus();
}

void ClickButton(QDialog* d, const QString& caption) {
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text().remove('&') == caption) {
            QTest::mouseClick(b, Qt::LeftButton);
            return;
        }
    qWarning("no button %s", qPrintable(caption));
    d->reject();
}

} // namespace

class TBookEditingTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void AClickOnAnEntryShowsThatEntry();
    void FastEditOnAnEmptyBookKeepsTheTypedText();
    void FastEditOffThrowsTheTypingAway();
    void AddAndUpdateByKeysFocusTheFirstField();
    void WindowKeysWinOverTheFieldsOwnBindings();
    void FullBookRefusesAnotherEntryAndStaysWritable();
    void UnlockLiftsTheLockOfAFailedSave();
    void CancelOfAnUpdateLeavesTheSavedFileByteIdentical();
    void CharactersTheBookCannotKeepAreNamedOnceOnApply();
    void ForceCategoriesRefusesAndShowsTheCategoriesPage();
    void DeleteKeyAsksAndNoKeepsTheEntry();
    void DeleteWalkOverThreeTaggedEntries();
    void UndoAfterEachKindOfChange();
    void TagIsNotAChangeOfTheBook();
    void FindNextPastTheLastMatchClearsTheText();
    void CopyPasteGivesANewEntryAndIsRefusedDuringAnUpdate();
    void TimestampStartsAnUpdateEvenWithoutFastEdit();
    void SaveAsMovesTheWindowToTheNewFile();
    void OthersPageShowsTheDateTexts();
    void RemoveSearchButtonShowsEveryEntryAgain();
    void TagDialogAppliesAndRemovesTags();
    void DroppedFilesAreAskedOnceAndAttached();
    void ReplaceInNotesHonoursCaseAndReplacesAllInOnePass();
    void InfoDialogDescribesTheBook();
    void ToolBarButtonsComeFromTheIconTheme();
    void CategoryClickStartsAnUpdateAndDuplicateAddsACopy();
    void EntryTemplatesDialogAddsOrdersAndKeepsOne();
    void AttachmentsAreAddedOpenedAndRemovedFromTheirPage();

private:
    // Opens the book in a frame that is shown and active, so that keys reach it.
    TBook* Open(TTestRun& run, const QString& path) { return OpenShownBook(run, path); }
};

void TBookEditingTest::init() {
    Begin();
    FindMemory() = TFindMemory();
    ClearClipboard();
}

void TBookEditingTest::cleanup() {
    End();
}

void TBookEditingTest::AClickOnAnEntryShowsThatEntry() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Click.ADR"), {"Adams", "Brown", "Clark"}));
    QVERIFY(book);
    ClickRow(*book, 2);
    QCOMPARE(book->ListBox()->SelectedRow(), 2);
    QCOMPARE(Shown(*book), QString("Clark"));
    QCOMPARE(Field(*book, "F_Name")->text(), QString("Clark"));
    ClickRow(*book, 1);
    QCOMPARE(Field(*book, "F_Name")->text(), QString("Brown"));
    QVERIFY(run.Frame->InfoLabel()->text().contains("Brown"));
}

void TBookEditingTest::FastEditOnAnEmptyBookKeepsTheTypedText() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Empty.ADR"));
    TBook* book = Open(run, path);
    QVERIFY(book);
    QLineEdit* name = Field(*book, "F_Name");
    TypeInto(name, "Smith");
    QCOMPARE(book->EditMode(), int(kEditAdding));
    QCOMPARE(name->text(), QString("Smith"));
    QCOMPARE(name->cursorPosition(), 5);
    QCOMPARE(run.Frame->InfoLabel()->text(), QString("< New Entry >"));
    QVERIFY(!book->ListBox()->isEnabled());
    QTest::keyClicks(name, "on");
    QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(ListedSurnames(*book), QStringList({"Smithon"}));
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("1 of 1"));
    QVERIFY(book->ListBox()->hasFocus());
    QVERIFY(book->Book()->Modified);
    QVERIFY(book->Book()->Entries.At(0)->Created > 0);
}

void TBookEditingTest::FastEditOffThrowsTheTypingAway() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().FastEdit = false;
    TBook* book = Open(run, MakeNamedBook(Path("Slow.ADR"), {"Adams"}));
    QVERIFY(book);
    QLineEdit* name = Field(*book, "F_Name");
    TypeInto(name, "x");
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(name->text(), QString("Adams"));
    // "Update &Entry" (Ctrl+U) opens the edit; then typing stays.
    QTest::keyClick(book->ListBox(), Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    TypeInto(name, "s");
    QTest::keyClick(name, Qt::Key_Enter, Qt::ControlModifier); // the keypad's Enter too
    QCOMPARE(ListedSurnames(*book), QStringList({"Adamss"}));
}

void TBookEditingTest::AddAndUpdateByKeysFocusTheFirstField() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Keys.ADR"), {"Brown"}));
    QVERIFY(book);
    QTest::keyClick(book->ListBox(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditAdding));
    QCOMPARE(QApplication::focusWidget(), Field(*book, "F_Title"));
    QCOMPARE(Field(*book, "F_Name")->text(), QString());
    TypeInto(Field(*book, "F_Name"), "Adams");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown"}));
    QCOMPARE(book->ListBox()->SelectedRow(), 0); // the new entry is selected
    QCOMPARE(Shown(*book), QString("Adams"));
    // Esc ends an addition without a trace.
    QTest::keyClick(book->ListBox(), Qt::Key_A, Qt::ControlModifier);
    TypeInto(Field(*book, "F_Name"), "Zed");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Escape);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown"}));
    QCOMPARE(Field(*book, "F_Name")->text(), QString("Adams"));
    // A page without fields: string 94, and the edit is cancelled.
    book->Book()->Templates.At(0)->Shown.fill(0);
    book->ShowCurrentEntry();
    book->ShowPage(1);
    QTest::keyClick(book->ListBox(), Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(messages_->Requests[0].Text.startsWith("Tessaly is unable to locate any Data Entry"));
    QCOMPARE(messages_->Requests[0].Title, QString("Request Denied"));
    QCOMPARE(book->EditMode(), int(kEditViewing));
}

void TBookEditingTest::WindowKeysWinOverTheFieldsOwnBindings() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Fields.ADR"), {"Adams", "Brown"}));
    QVERIFY(book);
    QLineEdit* name = Field(*book, "F_Name");
    QCOMPARE(name->text(), QString("Adams"));
    name->setFocus();
    name->setCursorPosition(name->text().size());
    // Ctrl+U in a field starts the update; the field's delete-line binding is not
    // offered, so the name stays, and Ctrl+Enter stores the entry with it.
    QTest::keyClick(name, Qt::Key_U, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QCOMPARE(name->text(), QString("Adams"));
    // While editing, Ctrl+A ("&Add Entry", disabled now) does not select the text.
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(name->selectedText(), QString());
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QTest::keyClicks(name, "s");
    QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adamss", "Brown"}));
    // Ctrl+A with the focus in a field adds an entry instead of selecting the text.
    Field(*book, "F_Title")->setFocus();
    QTest::keyClick(Field(*book, "F_Title"), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditAdding));
    TypeInto(name, "Carter");
    QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adamss", "Brown", "Carter"}));
    // The Notes field's keys lose too: Ctrl+T tags the entry instead of doing nothing
    // there, and Ctrl+D opens "Delete Entries".
    book->ShowPage(1);
    QPlainTextEdit* notes = book->findChild<QPlainTextEdit*>("F_Notes");
    QVERIFY(notes);
    notes->setFocus();
    const bool tagged = book->EntryModel()->EntryAt(book->ListBox()->SelectedRow())->Tagged;
    QTest::keyClick(notes, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(bool(book->EntryModel()->EntryAt(book->ListBox()->SelectedRow())->Tagged), !tagged);
    QString caption;
    OnNextDialog([&caption](QDialog* d) {
        caption = d->windowTitle();
        d->reject();
    });
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(caption, QString("Delete Entries"));
}

void TBookEditingTest::FullBookRefusesAnotherEntryAndStaysWritable() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Full.ADR"), kMaxListCount);
    TBook* book = Open(run, path);
    QVERIFY(book);
    const auto refused = [&] {
        const bool said =
            !messages_->Requests.empty() && messages_->Requests.back().Text.startsWith(
                                                "This Address Book already holds 32767 entries");
        messages_->Requests.clear();
        return said;
    };
    // "Dup&licate Entry", "&Add Entry" (Ctrl+A) and "&Paste Entry" are refused with a
    // message; the book keeps its 32,767 entries and its window stays writable.
    MenuAction(*book, "Dup&licate Entry")->trigger();
    QVERIFY(refused());
    QTest::keyClick(book->ListBox(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(refused());
    QCOMPARE(book->EditMode(), int(kEditViewing));
    MenuAction(*book, "&Copy Entry")->trigger();
    MenuAction(*book, "&Paste Entry")->trigger();
    QVERIFY(refused());
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(book->Book()->Entries.Count(), kMaxListCount);
    QVERIFY(!book->windowTitle().endsWith("(Locked)"));
    // After a deletion there is room for one entry again, and the full book saves.
    QTest::keyClick(book->ListBox(), Qt::Key_Delete);
    QCOMPARE(book->Book()->Entries.Count(), kMaxListCount - 1);
    messages_->Requests.clear();
    MenuAction(*book, "Dup&licate Entry")->trigger();
    QVERIFY(messages_->Requests.empty());
    QCOMPARE(book->Book()->Entries.Count(), kMaxListCount);
    TriggerFileCommand(*book, "&Save");
    QVERIFY(messages_->Requests.empty());
    QVERIFY(!book->windowTitle().endsWith("(Locked)"));
    auto loaded = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(loaded.Book);
    QCOMPARE(loaded.Book->Entries.Count(), kMaxListCount);
}

void TBookEditingTest::UnlockLiftsTheLockOfAFailedSave() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Shared.ADR"), {"Adams"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    QLineEdit* name = Field(*book, "F_Name");
    QTest::keyClick(book->ListBox(), Qt::Key_U, Qt::ControlModifier);
    TypeInto(name, "s");
    QTest::keyClick(name, Qt::Key_Return, Qt::ControlModifier);
    // Another program holds the file while the book is saved: the save fails, says
    // so, and the window locks itself.
    auto other = std::make_unique<TFileLock>();
    QVERIFY(other->Acquire(PathToCore(path), std::chrono::milliseconds(0)));
    TriggerFileCommand(*book, "&Save");
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(book->windowTitle().endsWith(" (Locked)"));
    // Still held: "Un&lock Address Book" says why it stays locked.
    TriggerFileCommand(*book, "Un&lock Address Book");
    QCOMPARE(messages_->Requests.size(), std::size_t(2));
    QVERIFY(messages_->Requests[1].Text.contains("stays locked"));
    QVERIFY(book->windowTitle().endsWith(" (Locked)"));
    // Once the file can be written again, Unlock lifts the lock and saves the change.
    other.reset();
    TriggerFileCommand(*book, "Un&lock Address Book");
    QCOMPARE(messages_->Requests.size(), std::size_t(2));
    QVERIFY(!book->windowTitle().endsWith(" (Locked)"));
    auto loaded = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(loaded.Book);
    QCOMPARE(ToQString(loaded.Book->Entries.At(0)->NameField(kFieldSurname)), QString("Adamss"));
    QTest::keyClick(book->ListBox(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditAdding));
}

void TBookEditingTest::CancelOfAnUpdateLeavesTheSavedFileByteIdentical() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Same.ADR"), {"Adams", "Brown"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    ClickRow(*book, 1);
    QVERIFY(book->Save(false));
    const QByteArray before = FileBytes(path);
    QLineEdit* name = Field(*book, "F_Name");
    TypeInto(name, "son");
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    TypeInto(Field(*book, "F_Title"), "Dr");
    QTest::keyClick(Field(*book, "F_Title"), Qt::Key_Escape);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(name->text(), QString("Brown"));
    QVERIFY(!book->Book()->Modified);
    QVERIFY(book->Save(false));
    QCOMPARE(FileBytes(path), before);
}

// Letters outside the book's code page, typed on two pages, are named in one message
// when the entry is applied; what the code page holds, and a typed '?', are not.
void TBookEditingTest::CharactersTheBookCannotKeepAreNamedOnceOnApply() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Lost.ADR"), {"Adams"}));
    QVERIFY(book);
    TypeComposed(Field(*book, "F_Name"), QString::fromUtf8("Łódź?"));
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    auto* pages = book->findChild<QTabWidget*>();
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    QPlainTextEdit* notes = book->NotesPage()->Editor();
    TypeComposed(notes, QString::fromUtf8("Ω € Łza"));
    QVERIFY(messages_->Requests.empty()); // leaving a page says nothing yet
    QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Caution - Data Loss Possible"));
    QVERIFY2(messages_->Requests[0].Text.contains(QString::fromUtf8(": Ł ź Ω\n")),
             qPrintable(messages_->Requests[0].Text));
    const TRecord& stored = *book->Book()->Entries.At(0);
    QCOMPARE(stored.NameField(kFieldSurname), std::string("Adams?\xF3"
                                                          "d??"));
    QVERIFY(stored.Notes().find("? \x80 ?za") != std::string::npos);
    // A later update that loses nothing says nothing.
    QTest::keyClick(book->ListBox(), Qt::Key_U, Qt::ControlModifier);
    TypeInto(Field(*book, "F_Name"), "x");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Return, Qt::ControlModifier);
    QVERIFY2(messages_->Requests.size() == 1, qPrintable(messages_->Requests.back().Text));
}

void TBookEditingTest::ForceCategoriesRefusesAndShowsTheCategoriesPage() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().ForceCategories = true;
    const QString path = MakeBook(Path("Cats.ADR"));
    TBook* book = Open(run, path);
    QVERIFY(book);
    TypeInto(Field(*book, "F_Name"), "Lee");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Validation Failed"));
    QVERIFY(messages_->Requests[0].Text.startsWith("A Category must be supplied"));
    QCOMPARE(book->CurrentPage(), 5);
    QCOMPARE(book->EditMode(), int(kEditAdding));
    QCOMPARE(book->Book()->Entries.Count(), 0);
}

void TBookEditingTest::DeleteKeyAsksAndNoKeepsTheEntry() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Del.ADR"), {"Adams", "Brown", "Clark"}));
    QVERIFY(book);
    ClickRow(*book, 1);
    messages_->Answers = {mrNo};
    QTest::keyClick(book->ListBox(), Qt::Key_Delete);
    QCOMPARE(messages_->Requests.back().Text, QString("Delete Address Book Entry for:\n\nBrown"));
    QCOMPARE(messages_->Requests.back().Title, QString("Deletion Requested"));
    QCOMPARE(messages_->Requests.back().ButtonSet, int(mbYesNo));
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Clark"}));
    messages_->Answers = {mrYes};
    QTest::keyClick(book->ListBox(), Qt::Key_Delete);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Clark"}));
    // The item now at the same place is selected and shown.
    QCOMPARE(book->ListBox()->SelectedRow(), 1);
    QCOMPARE(Shown(*book), QString("Clark"));
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("2 of 2"));
    // The last entry: the new last one is selected.
    QTest::keyClick(book->ListBox(), Qt::Key_Delete);
    QCOMPARE(book->ListBox()->SelectedRow(), 0);
    QCOMPARE(Shown(*book), QString("Adams"));
}

void TBookEditingTest::DeleteWalkOverThreeTaggedEntries() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Walk.ADR"), {"Adams", "Brown", "Clark", "Davis"}));
    QVERIFY(book);
    // The user tags three entries by double clicks.
    DoubleClickRow(*book, 0);
    DoubleClickRow(*book, 2);
    DoubleClickRow(*book, 3);
    QCOMPARE(book->Book()->Entries.CountTagged(), 3);
    // "&Delete Entries..." with "All Tagged Entries"; answers No, Yes, Cancel.
    messages_->Answers = {mrNo, mrYes, mrCancel};
    OnNextDialog([](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Delete Entries"));
        QTest::mouseClick(d->findChild<QRadioButton*>("All Tagged Entries"), Qt::LeftButton);
        ClickButton(d, "OK");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(messages_->Requests.size(), std::size_t(3));
    QCOMPARE(messages_->Requests[0].Text, QString("Delete Address Book Entry for:\n\nDavis"));
    QCOMPARE(messages_->Requests[1].Text, QString("Delete Address Book Entry for:\n\nClark"));
    QCOMPARE(messages_->Requests[2].Text, QString("Delete Address Book Entry for:\n\nAdams"));
    QCOMPARE(messages_->Requests[0].ButtonSet, int(mbYesNoCancelAll));
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Davis"}));
    QCOMPARE(book->Book()->Entries.Count(), 3);
    BackToFrame(*book);
    // "Yes to All" on the first question takes every tagged entry left.
    messages_->Requests.clear();
    messages_->Answers = {mrIgnore};
    OnNextDialog([](QDialog* d) {
        QTest::mouseClick(d->findChild<QRadioButton*>("All Tagged Entries"), Qt::LeftButton);
        ClickButton(d, "OK");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(ListedSurnames(*book), QStringList({"Brown"}));
}

void TBookEditingTest::UndoAfterEachKindOfChange() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Undo.ADR"), {"Adams", "Brown"}));
    QVERIFY(book);
    QVERIFY(!book->CommandState().Undo);
    const auto undo = [&] { QTest::keyClick(book->ListBox(), Qt::Key_Backspace, Qt::AltModifier); };
    // An addition.
    QTest::keyClick(book->ListBox(), Qt::Key_A, Qt::ControlModifier);
    TypeInto(Field(*book, "F_Name"), "Clark");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Clark"}));
    QVERIFY(book->CommandState().Undo);
    undo();
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown"}));
    // An update.
    ClickRow(*book, 0);
    TypeInto(Field(*book, "F_Name"), "son");
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adamsson", "Brown"}));
    undo();
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown"}));
    QCOMPARE(Shown(*book), QString("Adams"));
    // A deletion.
    ClickRow(*book, 1);
    const TDateTime stamp = book->Book()->WorkRecord->Stamp;
    QTest::keyClick(book->ListBox(), Qt::Key_Delete);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams"}));
    undo();
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown"}));
    QCOMPARE(Shown(*book), QString("Brown"));
    QCOMPARE(book->Book()->WorkRecord->Stamp, stamp);
    QVERIFY(!book->CommandState().Undo); // the history is used up
}

void TBookEditingTest::TagIsNotAChangeOfTheBook() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Tag.ADR"), {"Adams", "Brown"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    ClickRow(*book, 1);
    const TDateTime updated = book->Book()->LastUpdated;
    QTest::keyClick(book->ListBox(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(book->Book()->Entries.CountTagged(), 1);
    QVERIFY(book->EntryModel()
                ->data(book->EntryModel()->index(1), TEntryListModel::TaggedRole)
                .toBool());
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(book->Book()->LastUpdated, updated);
    QCOMPARE(book->Book()->ChangeCount, 0);
    // The tag is still stored with the entry when the book is written.
    QVERIFY(book->SubWindow()->close());
    TLoadResult r = LoadBook(PathToCore(path), TStoreSettings());
    QCOMPARE(r.Book->Entries.CountTagged(), 1);
}

void TBookEditingTest::FindNextPastTheLastMatchClearsTheText() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Find.ADR"), {"Barker", "Abbot", "Baker", "Cole"}));
    QVERIFY(book);
    // Ctrl+F: the dialog; the text is typed and "&Find Next" pressed.
    OnNextDialog([](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Find Entry with Text"));
        QTest::keyClicks(d->findChild<QLineEdit*>("FindWhat"), "ker");
        ClickButton(d, "Find Next");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(Shown(*book), QString("Baker"));
    BackToFrame(*book);
    QTest::keyClick(book->ListBox(), Qt::Key_F3);
    QCOMPARE(Shown(*book), QString("Barker"));
    QVERIFY(messages_->Requests.empty());
    // Past the last match: string 450 and the text is forgotten.
    QTest::keyClick(book->ListBox(), Qt::Key_F3);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Search Failed"));
    QVERIFY(messages_->Requests[0].Text.startsWith(
        "The text specified could not be located in the Index List."));
    QCOMPARE(Shown(*book), QString("Barker"));
    QVERIFY(FindMemory().Text.empty());
    // The next "Find Next" opens the dialog, which starts empty.
    QString offered = "-";
    OnNextDialog([&offered](QDialog* d) {
        offered = d->findChild<QLineEdit*>("FindWhat")->text();
        d->reject();
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F3);
    QCOMPARE(offered, QString());
}

void TBookEditingTest::CopyPasteGivesANewEntryAndIsRefusedDuringAnUpdate() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Copy.ADR"), {"Adams", "Brown"}));
    QVERIFY(book);
    QAction* copy = MenuAction(*book, "&Copy Entry");
    QAction* paste = MenuAction(*book, "&Paste Entry");
    QVERIFY(copy && paste);
    QVERIFY(!paste->isEnabled());
    ClickRow(*book, 1);
    copy->trigger();
    QVERIFY(paste->isEnabled());
    QVERIFY(QApplication::clipboard()->text().startsWith("Brown"));
    // While an update is open, paste is not offered.
    TypeInto(Field(*book, "F_Name"), "e");
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QVERIFY(!paste->isEnabled());
    QTest::keyClick(Field(*book, "F_Name"), Qt::Key_Escape);
    paste->trigger();
    QCOMPARE(book->EditMode(), int(kEditAdding));
    QCOMPARE(Field(*book, "F_Name")->text(), QString("Brown"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Brown"}));
    // The pasted entry is an entry of its own.
    QVERIFY(book->Book()->Entries.At(1)->Stamp != book->Book()->Entries.At(2)->Stamp);
}

void TBookEditingTest::TimestampStartsAnUpdateEvenWithoutFastEdit() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().FastEdit = false;
    run.Frame->Settings().TimeStampLocation = false;
    run.Frame->Settings().TimeStamp = "yyyy";
    TBook* book = Open(run, MakeNamedBook(Path("Stamp.ADR"), {"Adams"}));
    QVERIFY(book);
    QTest::keyClick(book->ListBox(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(book->CurrentPage(), 1);
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QPlainTextEdit* notes = book->NotesPage()->Editor();
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(notes->toPlainText(), year + "\n\n");
    QVERIFY(notes->hasFocus());
    QTest::keyClicks(notes, "Rang");
    QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ToQString(book->Book()->Entries.At(0)->Notes()), year + "\r\n\r\nRang");
}

void TBookEditingTest::SaveAsMovesTheWindowToTheNewFile() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Old.ADR"), {"Adams"}));
    QVERIFY(book);
    QString chosen = Path("New.ADR");
    const auto keep = TBook::SaveAsChooser;
    TBook::SaveAsChooser = [&chosen](QWidget*, const QString&, const QString&) { return chosen; };
    QAction* saveAs = MenuAction(*book, "Save &as...");
    QVERIFY(saveAs && saveAs->isEnabled());
    saveAs->trigger();
    QCOMPARE(book->FilePath(), Path("New.ADR"));
    QCOMPARE(book->windowTitle(), QString("NEW"));
    QVERIFY(!book->ReadOnly());
    TLoadResult r = LoadBook(PathToCore(Path("New.ADR")), TStoreSettings());
    QVERIFY(r.Book);
    QCOMPARE(r.Book->Entries.Count(), 1);
    // Onto a book open in another window: string 4, nothing written.
    QVERIFY(run.Frame->OpenBookFile(MakeNamedBook(Path("Other.ADR"), {"x", "y"}), true, false));
    book->Activate();
    const QByteArray other = FileBytes(Path("Other.ADR"));
    chosen = Path("Other.ADR");
    saveAs->trigger();
    QCOMPARE(messages_->Requests.back().Text,
             Path("Other.ADR") + " is Currently Open and therefore can not be Replaced");
    QCOMPARE(book->FilePath(), Path("New.ADR"));
    QCOMPARE(FileBytes(Path("Other.ADR")), other);
    // Onto a read-only file: the file is left alone and the window is locked.
    MakeNamedBook(Path("Fixed.ADR"), {"z"});
    QFile::setPermissions(Path("Fixed.ADR"), QFile::ReadOwner);
    const QByteArray fixed = FileBytes(Path("Fixed.ADR"));
    chosen = Path("Fixed.ADR");
    saveAs->trigger();
    QCOMPARE(FileBytes(Path("Fixed.ADR")), fixed);
    QVERIFY(book->ReadOnly());
    QCOMPARE(book->windowTitle(), QString("FIXED (Locked)"));
    QFile::setPermissions(Path("Fixed.ADR"), QFile::ReadOwner | QFile::WriteOwner);
    // A back-up name in any case: written, then locked with string 440.
    chosen = Path("Copy.bak");
    saveAs->trigger();
    QVERIFY(QFile::exists(Path("Copy.bak")));
    QVERIFY(book->ReadOnly());
    QVERIFY(messages_->Requests.back().Text.startsWith("The Address Book opened is a Back-up"));
    // "Save &as..." is the way out of a locked book: a new name is writable again.
    QVERIFY(saveAs->isEnabled());
    chosen = Path("Free.ADR");
    saveAs->trigger();
    QVERIFY(!book->ReadOnly());
    QCOMPARE(book->windowTitle(), QString("FREE"));
    QVERIFY(book->CommandState().AddEntry);
    QVERIFY(!Field(*book, "F_Name")->isReadOnly());
    TBook::SaveAsChooser = keep;
}

void TBookEditingTest::OthersPageShowsTheDateTexts() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Dates.ADR"), {"Adams"}));
    QVERIFY(book);
    book->ShowPage(3);
    QCOMPARE(book->OthersPage()->DateText(0), QString("Creation Date is Unavailable"));
    QCOMPARE(book->OthersPage()->DateText(1), QString("Record has not been updated"));
    QCOMPARE(book->OthersPage()->DateText(2), QString("No Call details recorded"));
    // "Set to Today's Date & Time" applies at once.
    QTest::mouseClick(book->OthersPage()->TodayButton(), Qt::LeftButton);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    QVERIFY(book->Book()->Entries.At(0)->LastCalled > 0);
    QVERIFY(book->OthersPage()->DateText(2).contains(" at "));
    QVERIFY(book->OthersPage()->DateText(1).contains(" at "));
    // "Bold Labels" leaves the values alone.
    run.Frame->Settings().BoldLabels = true;
    book->ApplyDisplaySettings();
    QVERIFY(!book->findChild<QLabel*>("CalledDate")->font().bold());
}

void TBookEditingTest::RemoveSearchButtonShowsEveryEntryAgain() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Filtered.ADR"), {"Adams", "Brown", "Allen"});
    {
        // The book was saved with an active search: surnames starting with "A".
        TLoadResult r = LoadBook(PathToCore(path), TStoreSettings());
        TFilter* search = r.Book->Searches.At(0);
        search->StartsWithOn = 1;
        search->SetStartsWith("A");
        QVERIFY(SaveBook(*r.Book, false, TStoreSettings()).Ok);
    }
    TBook* book = Open(run, path);
    QVERIFY(book);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Allen"}));
    QCOMPARE(run.Frame->SearchIndicator()->text(), QString("Search Active"));
    QToolButton* remove = run.Frame->ToolButton(1, "Remove Search");
    QVERIFY(remove && remove->isEnabled());
    QTest::mouseClick(remove, Qt::LeftButton);
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Allen", "Brown"}));
    QCOMPARE(run.Frame->SearchIndicator()->text(), QString("All Entries"));
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("3 of 3"));
    QVERIFY(!remove->isEnabled());
}

void TBookEditingTest::TagDialogAppliesAndRemovesTags() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Tags.ADR"), {"Adams", "Brown", "Clark"}, {1}));
    QVERIFY(book);
    ClickRow(*book, 1); // a tagged entry: "Selected Entry Only" cannot add a tag to it
    bool selectedOffered = true;
    OnNextDialog([&selectedOffered](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Tag Entries"));
        selectedOffered = d->findChild<QRadioButton*>("Selected Entry Only")->isEnabled();
        QTest::mouseClick(d->findChild<QRadioButton*>("All Entries in the Address Book"),
                          Qt::LeftButton);
        ClickButton(d, "OK");
    });
    MenuAction(*book, "Apply Tags to &Entries...")->trigger();
    QVERIFY(!selectedOffered);
    QCOMPARE(book->Book()->Entries.CountTagged(), 3);
    QVERIFY(book->Book()->Modified); // many tags at once are a change of the book
    OnNextDialog([](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Remove Tags from Entries"));
        QVERIFY(d->findChild<QRadioButton*>("Selected Entry Only")->isEnabled());
        QTest::mouseClick(d->findChild<QRadioButton*>("Selected Entry Only"), Qt::LeftButton);
        ClickButton(d, "OK");
    });
    MenuAction(*book, "&Remove Tags from Entries...")->trigger();
    QCOMPARE(book->Book()->Entries.CountTagged(), 2);
    QCOMPARE(book->Book()->Entries.At(1)->Tagged, 0);
}

void TBookEditingTest::DroppedFilesAreAskedOnceAndAttached() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Drop.ADR"), {"Adams"}));
    QVERIFY(book);
    // One of the files is a book: it is attached like any other file.
    const QStringList files = {MakeBook(Path("Other.ADR")), Path("a.txt"), Path("b.doc")};
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : files)
        urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    const QPoint at = book->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(book, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(book, &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Text,
             QString("Address Book: DROP.ADR \nEntry: Adams \n\nDo you wish to add the 3 "
                     "dropped file(s) to this entry ?"));
    QCOMPARE(messages_->Requests[0].Title, QString("Attachment Management"));
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->Attachments.Count(), 3);
    QCOMPARE(ToQString(TextValue(entry->Attachments.At(0)->FileName)), files[0]);
    QCOMPARE(run.Frame->Children().size(), 1); // the dropped book was not opened
    QCOMPARE(book->EditMode(), int(kEditViewing));
}

void TBookEditingTest::ReplaceInNotesHonoursCaseAndReplacesAllInOnePass() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Replace.ADR"), {"Adams"}));
    QVERIFY(book);
    book->ShowPage(1);
    QPlainTextEdit* notes = book->NotesPage()->Editor();
    TypeInto(notes, "cat Cat cat");
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    MenuAction(*book, "Find and &Replace Text...")->trigger();
    auto* dialog = book->findChild<QDialog*>("NotesReplace");
    QVERIFY(dialog);
    QTest::keyClicks(dialog->findChild<QLineEdit*>("FindWhat"), "cat");
    QTest::keyClicks(dialog->findChild<QLineEdit*>("ReplaceWith"), "a cat");
    for (QCheckBox* c : dialog->findChildren<QCheckBox*>())
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2)); // on the box
    QTest::mouseClick(dialog->findChild<QPushButton*>("ReplaceAll"), Qt::LeftButton);
    QCOMPARE(notes->toPlainText(), QString("a cat Cat a cat"));
    QVERIFY(messages_->Requests.empty());
    dialog->close();
    QTest::keyClick(notes, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ToQString(book->Book()->Entries.At(0)->Notes()), QString("a cat Cat a cat"));
}

void TBookEditingTest::InfoDialogDescribesTheBook() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Info.ADR"), {"Adams", "Brown"}));
    QVERIFY(book);
    QMap<QString, QString> shown;
    OnNextDialog([&shown](QDialog* d) {
        shown["title"] = d->windowTitle();
        for (QLabel* l : d->findChildren<QLabel*>())
            if (!l->objectName().isEmpty())
                shown[l->objectName()] = l->text();
        d->accept();
    });
    QTest::keyClick(book->ListBox(), Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(shown["title"], QString("Address Book Information"));
    QCOMPARE(shown["InfoName"], QString("INFO.ADR"));
    QCOMPARE(shown["InfoPath"], Path("Info.ADR"));
    QCOMPARE(shown["InfoEntries"], QString("2"));
    QCOMPARE(shown["InfoAccess"], QString("Update"));
    QVERIFY(shown["InfoCreated"].contains(" at "));
}

void TBookEditingTest::ToolBarButtonsComeFromTheIconTheme() {
    // With the desktop's theme (Adwaita installed as the fallback) no book button is
    // a drawn badge.
    for (const char* hint :
         {"Add an Entry", "Update Entry", "Delete Entry", "Undo Last Update", "Dial Number",
          "Search", "View the Calendar", "Define Index Keys for Entry",
          "Select Address Templates for Entry", "Insert to Word Processor", "Remove Search"})
        QVERIFY2(!ToolIcon(hint).name().isEmpty(), hint);
}

void TBookEditingTest::CategoryClickStartsAnUpdateAndDuplicateAddsACopy() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Cat.ADR"), {"Adams"});
    {
        TLoadResult r = LoadBook(PathToCore(path), TStoreSettings());
        r.Book->Categories.AddCategory("Golf", false);
        QVERIFY(SaveBook(*r.Book, false, TStoreSettings()).Ok);
    }
    TBook* book = Open(run, path);
    QVERIFY(book);
    book->ShowPage(5);
    QListWidget* cats = book->CategoriesPage()->List();
    QListWidgetItem* golf = cats->findItems("Golf", Qt::MatchExactly).value(0);
    QVERIFY(golf);
    // A click on the tick box of a category while viewing counts as typing.
    const QRect r = cats->visualItemRect(golf);
    QTest::mouseClick(cats->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 8, r.center().y()));
    QCOMPARE(golf->checkState(), Qt::Checked);
    QCOMPARE(book->EditMode(), int(kEditUpdating));
    QTest::keyClick(cats, Qt::Key_Return, Qt::ControlModifier);
    const TRecord* adams = book->Book()->Entries.At(0);
    QCOMPARE(adams->CategoriesInUse.Count(), 1);
    // "Dup&licate Entry": the book gains an identical entry of its own.
    MenuAction(*book, "Dup&licate Entry")->trigger();
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Adams"}));
    const TRecord* copy = book->Book()->Entries.At(1);
    QCOMPARE(copy->CategoriesInUse.Count(), 1);
    QVERIFY(copy->Stamp != adams->Stamp);
    QCOMPARE(book->EditMode(), int(kEditViewing));
}

void TBookEditingTest::EntryTemplatesDialogAddsOrdersAndKeepsOne() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Tpl.ADR"), {"Adams"});
    {
        TLoadResult r = LoadBook(PathToCore(path), TStoreSettings());
        TTemplateValues holiday;
        holiday.Name = "Holiday";
        r.Book->Templates.AddTemplate(holiday);
        r.Book->Entries.At(0)->Addresses.AddAddress(r.Book->Templates.TemplateId(1));
        r.Book->Entries.At(0)->Addresses.SetFieldOf(0, kFieldCompany, "Works");
        QVERIFY(SaveBook(*r.Book, false, TStoreSettings()).Ok);
    }
    TBook* book = Open(run, path);
    QVERIFY(book);
    const int holidayId = book->Book()->Templates.TemplateId(2);
    QAction* templates = MenuAction(*book, "Select Address &Templates for Entry...");
    QVERIFY(templates && templates->isEnabled());
    // "Holiday" is ticked and moved to the top.
    OnNextDialog([](QDialog* d) {
        QCOMPARE(d->windowTitle(), QString("Select Address Templates for Entry"));
        auto* list = d->findChild<QListWidget*>("Templates");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(1)->text(), QString("Holiday"));
        list->item(1)->setCheckState(Qt::Checked);
        list->setCurrentRow(1);
        QTest::mouseClick(d->findChild<QPushButton*>("MoveUp"), Qt::LeftButton);
        ClickButton(d, "OK");
    });
    templates->trigger();
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->Addresses.Count(), 2);
    QCOMPARE(entry->Addresses.AddressTemplateId(0), holidayId);
    QCOMPARE(entry->Addresses.FieldOf(1, kFieldCompany), std::string("Works"));
    QCOMPARE(book->EditMode(), int(kEditViewing)); // applied at once
    QCOMPARE(book->findChild<QTabBar*>("TabSet")->count(), 2);
    // Unticking an address with data asks; OK with none left is refused.
    BackToFrame(*book);
    messages_->Answers = {mrNo, mrYes, mrYes};
    bool stayedOpen = false;
    OnNextDialog([&stayedOpen](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("Templates");
        list->item(1)->setCheckState(Qt::Unchecked); // No: the tick comes back
        QCOMPARE(list->item(1)->checkState(), Qt::Checked);
        list->item(0)->setCheckState(Qt::Unchecked);
        list->item(1)->setCheckState(Qt::Unchecked);
        ClickButton(d, "OK");
        stayedOpen = d->isVisible();
        d->reject();
    });
    templates->trigger();
    QVERIFY(stayedOpen);
    QCOMPARE(messages_->Requests.size(), std::size_t(4));
    QVERIFY(messages_->Requests[0].Text.startsWith("You have de-selected the Address Template"));
    QCOMPARE(messages_->Requests[3].Text,
             QString("At Least one Address Template must be Selected."));
    QCOMPARE(book->Book()->Entries.At(0)->Addresses.Count(), 2); // cancelled: unchanged
}

void TBookEditingTest::AttachmentsAreAddedOpenedAndRemovedFromTheirPage() {
    store_->Write("Internet", "Browser", "/opt/browser/run-browser");
    TTestRun run(*store_, Path("cfg"));
    run.Desktop->Files["/docs/plan.odt"] = {TPathKind::Regular, "Writer", false};
    TBook* book = Open(run, MakeNamedBook(Path("Attach.ADR"), {"Adams"}));
    QVERIFY(book);
    QAction* add = MenuAction(*book, "&Add Attachment...");
    QVERIFY(add);
    // Only on the Attachments page.
    for (QMenu* m : book->WindowMenus())
        if (m->title() == "Attac&hments")
            emit m->aboutToShow();
    QVERIFY(!add->isEnabled());
    auto* tabs = book->findChild<QTabWidget*>();
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(4).center());
    QCOMPARE(book->CurrentPage(), 4);
    for (QMenu* m : book->WindowMenus())
        if (m->title() == "Attac&hments")
            emit m->aboutToShow();
    QVERIFY(add->isEnabled());

    // A document, typed into the dialog; stored in the book at once.
    OnNextDialog([](QDialog* d) {
        QTest::keyClicks(d->findChild<QLineEdit*>("FileName"), "/docs/plan.odt");
        ClickButton(d, "OK");
    });
    add->trigger();
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->Attachments.Count(), 1);
    QCOMPARE(TextValue(entry->Attachments.At(0)->Description), std::string("plan"));
    QVERIFY(book->Book()->Modified);
    QCOMPARE(book->EditMode(), int(kEditViewing));

    // A URL on the other page.
    OnNextDialog([](QDialog* d) {
        auto* pages = d->findChild<QTabWidget*>();
        QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {},
                          pages->tabBar()->tabRect(1).center());
        QTest::keyClicks(d->findChild<QLineEdit*>("Url"), "www.example.com");
        ClickButton(d, "OK");
    });
    add->trigger();
    entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->Attachments.Count(), 2);

    // A double click opens what the row shows: the document, then the URL in the browser.
    BackToFrame(*book);
    auto* page = book->findChild<TAttachmentsPage*>();
    QAbstractItemView* view = page->List();
    for (int row = 0; row < 2; ++row) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    QCOMPARE(run.Desktop->Opened.size(), std::size_t(1));
    QCOMPARE(run.Desktop->Opened[0], std::string("/docs/plan.odt"));
    QCOMPARE(run.Desktop->Started.size(), std::size_t(1));
    QCOMPARE(run.Desktop->Started[0].first, std::string("/opt/browser/run-browser"));
    QCOMPARE(run.Desktop->Started[0].second, std::string("http://www.example.com"));

    // Removing the document and its disk file.
    page->SelectAttachment(0);
    OnNextDialog([](QDialog* d) {
        auto* withFile = d->findChild<QRadioButton*>("WithFile");
        QTest::mouseClick(withFile, Qt::LeftButton, {}, QPoint(4, withFile->height() / 2));
        ClickButton(d, "OK");
    });
    MenuAction(*book, "&Remove Attachment...")->trigger();
    entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->Attachments.Count(), 1);
    QCOMPARE(run.Desktop->Removed, std::vector<std::string>{"/docs/plan.odt"});
    QCOMPARE(int(entry->Attachments.At(0)->IsDocument), 0);

    // The Delete key in the attachment list removes the selected attachment, through
    // the same dialog; the entry stays.
    BackToFrame(*book);
    view = page->List();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                      view->visualRect(view->model()->index(0, 0)).center());
    QVERIFY(view->hasFocus());
    bool asked = false;
    OnNextDialog([&asked](QDialog* d) {
        asked = d->windowTitle() == "Remove Attachment";
        ClickButton(d, "OK");
    });
    QTest::keyClick(view, Qt::Key_Delete);
    QVERIFY(asked);
    QCOMPARE(book->Book()->Entries.Count(), 1);
    QCOMPARE(book->Book()->Entries.At(0)->Attachments.Count(), 0);
}

QTEST_MAIN(TBookEditingTest)
#include "book_editing_test.moc"
