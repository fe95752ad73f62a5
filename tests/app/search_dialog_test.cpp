// The search dialog driven as a user drives it: F10, clicks on its pages, typing a
// rule, "Sa&ve As" through the name dialog, OK, the list filtered, "Re&move Active
// Search"; the checks of the basic options and the rule editor; renaming and deleting
// saved searches; Cancel leaving the saved file byte-identical. The search saved
// through the dialog is what the command-line tool lists.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/reminders_page.h"
#include "app/search/filter_form.h"
#include "app/search/save_filter.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#if TESSALY_WITH_CLI
#include "cli/list_commands.h"
#include "tests/cli/cli_test_run.h"
#endif

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace tessaly;

namespace {

QString MakeNamedBook(const QString& path, const QStringList& surnames) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (const QString& name : surnames) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(name));
        book->Entries.Add(std::move(e));
    }
    book->Searches.SelectSearch("Everyone");
    book->Searches.SelectSearch(kUntitledSearch);
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

void ClickCheck(QDialog* d, const QString& caption) {
    for (QCheckBox* c : d->findChildren<QCheckBox*>())
        if (c->text() == caption) {
            QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(6, c->height() / 2));
            return;
        }
    qWarning("no check box %s", qPrintable(caption));
}

void TypeInto(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

void ClickListRow(QListWidget* list, int row) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

// Chooses a field choice by keys, as a user steps through the closed drop-down.
void ChooseField(QDialog* d, int choice) {
    auto* field = d->findChild<QComboBox*>("Field");
    QTest::mouseClick(d->findChild<QLineEdit*>("RuleText"), Qt::LeftButton);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Home);
    for (int i = 0; i < choice; ++i)
        QTest::keyClick(field, Qt::Key_Down);
}

} // namespace

class TSearchDialogTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void SavedSearchFiltersTheListAndIsRemovedAgain();
    void BasicChecksKeepTheDialogOpen();
    void RuleEditorSwitchesPagesAndRefusesBadDates();
    void SavedSearchesPageRenamesAndDeletes();
    void CancelLeavesTheSavedFileByteIdentical();
    void NameDialogCaptionsAndChecksByMode();
    void RemindersPagePopUpSetsAndRemovesTheFilter();

private:
    TBook* Open(TTestRun& run, const QString& path) { return OpenShownBook(run, path); }
};

void TSearchDialogTest::init() {
    Begin();
}

void TSearchDialogTest::cleanup() {
    End();
}

void TSearchDialogTest::SavedSearchFiltersTheListAndIsRemovedAgain() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Filter.ADR"), {"Adams", "Smith", "Brown", "Smithers"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    QCOMPARE(ListedSurnames(*book).size(), 4);

    bool seen = false;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickTab(d, 1);
        auto* rules = d->findChild<QTreeWidget*>("Rules");
        TypeInto(d->findChild<QLineEdit*>("RuleText"), "smith");
        ClickDialogButton(d, "A&dd");
        QCOMPARE(rules->topLevelItemCount(), 1);
        QCOMPARE(rules->topLevelItem(0)->text(0), QString("<All Fields>"));
        QCOMPARE(rules->topLevelItem(0)->text(2), QString("\"smith\""));
        QVERIFY(DialogButton(d, "&Update")->isEnabled()); // the new rule is selected
        OnModalDialog("Save Search As", [](QDialog* names) {
            auto* box = names->findChild<QLineEdit*>("Name");
            QCOMPARE(box->text(), QString("<Untitled>"));
            QVERIFY(box->hasSelectedText());
            QTest::keyClicks(box, "  Smiths ");
            QTest::keyClick(box, Qt::Key_Return);
        });
        ClickDialogButton(d, "Sa&ve As");
        auto* active = d->findChild<QComboBox*>("ActiveSearch");
        QCOMPARE(active->currentText(), QString("Smiths"));
        QCOMPARE(rules->topLevelItemCount(), 1);
        seen = true;
        ClickDialogButton(d, "OK");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F10);
    QVERIFY(seen);
    QCOMPARE(ListedSurnames(*book), QStringList({"Smith", "Smithers"}));
    QCOMPARE(run.Frame->SearchIndicator()->text(), QString("Search Active"));
    QVERIFY(book->Book()->Modified);
    QVERIFY(book->Save(false));

#if TESSALY_WITH_CLI
    clitest::TRun cli;
    QCOMPARE(CommandSearches(FromQString(path), cli.Streams()), 0);
    const QString printed = QString::fromStdString(cli.Out.str());
    QVERIFY2(printed.contains("* Smiths\n    <All Fields>: Containing Text \"smith\"\n"),
             qPrintable(printed));
    QVERIFY(printed.contains("  Everyone\n"));
#endif

    // "Re&move Active Search" shows every entry again.
    QAction* remove = MenuAction(*book, "Re&move Active Search");
    QVERIFY(remove);
    book->UpdateCommandState();
    QVERIFY(remove->isEnabled());
    remove->trigger();
    QCOMPARE(ListedSurnames(*book).size(), 4);
    QCOMPARE(run.Frame->SearchIndicator()->text(), QString("All Entries"));
}

void TSearchDialogTest::BasicChecksKeepTheDialogOpen() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Basic.ADR"), {"Adams", "Baker"}));
    QVERIFY(book);
    int step = 0;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickCheck(d, "That are &Tagged");
        ClickCheck(d, "That are &Not Tagged");
        ClickDialogButton(d, "OK");
        QVERIFY(d->isVisible());
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QVERIFY(messages_->Requests[0].Text.startsWith("Both the \"Exclude Tagged\""));
        QCOMPARE(messages_->Requests[0].TitleNumber, 1004);
        ClickCheck(d, "That are &Not Tagged");

        // The characters box follows its check box; an empty one is refused.
        auto* chars = d->findChild<QLineEdit*>("StartsWith");
        QVERIFY(!chars->isEnabled());
        ClickCheck(d, "Entr&ies Starting with Sort Character(s) :-");
        QVERIFY(chars->isEnabled());
        // Changing the page stores first: refused, the page stays.
        ClickTab(d, 1);
        QCOMPARE(d->findChild<QTabWidget*>()->currentIndex(), 0);
        QCOMPARE(messages_->Requests.size(), std::size_t(2));
        QVERIFY(messages_->Requests[1].Text.startsWith("If the Display is to be Restricted"));
        QTRY_VERIFY(chars->hasFocus());
        QTest::keyClicks(chars, "b");
        QCOMPARE(chars->text(), QString("B"));
        step = 1;
        ClickDialogButton(d, "OK");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F10);
    QCOMPARE(step, 1);
    // Tagged entries excluded and the sort characters "B": Baker only.
    QCOMPARE(ListedSurnames(*book), QStringList({"Baker"}));
}

void TSearchDialogTest::RuleEditorSwitchesPagesAndRefusesBadDates() {
    TTestRun run(*store_, Path("cfg"));
    // The machine's date format is not the test's to rely on.
    run.Frame->Settings().FormatSettings = TFormatSettings();
    TBook* book = Open(run, MakeNamedBook(Path("Dates.ADR"), {"Adams"}));
    QVERIFY(book);
    bool done = false;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickTab(d, 1);
        auto* editor = d->findChild<QStackedWidget*>("RuleEditor");
        QCOMPARE(editor->currentIndex(), 0);
        ChooseField(d, 14); // "-1 13 Entry Created"
        // The list shows the field's name, not the numbers that find it again.
        auto* fields = d->findChild<QComboBox*>("Field");
        QCOMPARE(fields->currentText(), QString("Entry Created"));
        QCOMPARE(fields->itemText(0), QString("<All Fields>"));
        for (int i = 0; i < fields->count(); ++i)
            QVERIFY2(!fields->itemText(i).front().isDigit() && !fields->itemText(i).startsWith('-'),
                     qPrintable(fields->itemText(i)));
        QCOMPARE(editor->currentIndex(), 1);
        TypeInto(d->findChild<QLineEdit*>("FromDate"), "10/03/2024");
        TypeInto(d->findChild<QLineEdit*>("ToDate"), "09/03/2024");
        ClickDialogButton(d, "A&dd");
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QVERIFY(messages_->Requests[0].Text.startsWith("The \"First\" Date may not be after"));
        TypeInto(d->findChild<QLineEdit*>("ToDate"), "31/02/2024");
        ClickDialogButton(d, "A&dd");
        QCOMPARE(messages_->Requests.size(), std::size_t(2));
        QCOMPARE(messages_->Requests[1].Text,
                 QString("Date Entered is Invalid \n\nPlease Re-specify in the Format DD/MM/YYYY"));
        QTRY_VERIFY(d->findChild<QLineEdit*>("ToDate")->hasFocus());
        TypeInto(d->findChild<QLineEdit*>("ToDate"), "12/03/2024");
        ClickDialogButton(d, "A&dd");
        auto* rules = d->findChild<QTreeWidget*>("Rules");
        QCOMPARE(rules->topLevelItemCount(), 1);
        QCOMPARE(rules->topLevelItem(0)->text(1), QString("Between Dates"));
        ChooseField(d, 0);
        QCOMPARE(editor->currentIndex(), 0);
        // "D&elete" removes the selected rule and is disabled after.
        QTest::mouseClick(rules->viewport(), Qt::LeftButton, {},
                          rules->visualItemRect(rules->topLevelItem(0)).center());
        QCOMPARE(editor->currentIndex(), 1); // the rule's page is shown again
        ClickDialogButton(d, "D&elete");
        QCOMPARE(rules->topLevelItemCount(), 0);
        QVERIFY(!DialogButton(d, "D&elete")->isEnabled());
        done = true;
        ClickDialogButton(d, "Cancel");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F10);
    QVERIFY(done);
}

void TSearchDialogTest::SavedSearchesPageRenamesAndDeletes() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Saved.ADR"), {"Adams"});
    TBook* book = Open(run, path);
    QVERIFY(book);
    book->Book()->Searches.SelectSearch("Friends");
    book->Book()->Searches.SelectSearch(kUntitledSearch);
    bool done = false;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickTab(d, 2);
        QVERIFY(!DialogButton(d, "Sa&ve As")->isEnabled());
        auto* list = d->findChild<QListWidget*>("SavedSearches");
        QCOMPARE(list->count(), 3);
        ClickListRow(list, 0); // "<Untitled>", the active one: neither offered
        QVERIFY(!DialogButton(d, "&Delete")->isEnabled());
        QVERIFY(!DialogButton(d, "&Rename")->isEnabled());
        ClickListRow(list, 1);
        QVERIFY(DialogButton(d, "&Delete")->isEnabled());
        QVERIFY(DialogButton(d, "&Rename")->isEnabled());

        // Renaming to another search's name is refused and the name dialog stays.
        OnModalDialog("Rename Saved Search", [&](QDialog* names) {
            auto* box = names->findChild<QLineEdit*>("Name");
            QTest::keyClicks(box, "friends");
            QTest::keyClick(box, Qt::Key_Return);
            QVERIFY(names->isVisible());
            QCOMPARE(messages_->Requests.back().Text,
                     QString("A Saved Search Named \"friends\" is already Defined.\n\nPlease "
                             "Specify another Name for the Search"));
            QTRY_VERIFY(box->hasFocus());
            box->selectAll();
            QTest::keyClicks(box, "All of them");
            QTest::keyClick(box, Qt::Key_Return);
        });
        ClickDialogButton(d, "&Rename");
        QCOMPARE(list->item(1)->text(), QString("All of them"));
        QCOMPARE(list->currentRow(), 1);

        // Delete asks; No keeps it, Yes deletes and selects the item at the same place.
        messages_->Answers = {mrNo, mrYes};
        ClickDialogButton(d, "&Delete");
        QCOMPARE(list->count(), 3);
        QVERIFY(messages_->Requests.back().Text.startsWith("Saved Search: \"All of them\""));
        ClickListRow(list, 1);
        ClickDialogButton(d, "&Delete");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->currentItem()->text(), QString("Friends"));
        done = true;
        ClickDialogButton(d, "OK");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F10);
    QVERIFY(done);
    const TFilterList& s = book->Book()->Searches;
    QCOMPARE(s.Count(), 2);
    QCOMPARE(s.FindSearch("Everyone"), -1);
    QVERIFY(s.FindSearch("Friends") >= 0);
}

void TSearchDialogTest::CancelLeavesTheSavedFileByteIdentical() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("Cancel.ADR"), {"Adams", "Smith"});
    const QByteArray before = FileBytes(path);
    TBook* book = Open(run, path);
    QVERIFY(book);
    const TFilterList searches = book->Book()->Searches;
    bool done = false;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickTab(d, 1);
        TypeInto(d->findChild<QLineEdit*>("RuleText"), "adams");
        ClickDialogButton(d, "A&dd");
        ClickDialogButton(d, "A&dd");
        OnModalDialog("Save Search As", [](QDialog* names) {
            auto* box = names->findChild<QLineEdit*>("Name");
            QTest::keyClicks(box, "Adams");
            QTest::keyClick(box, Qt::Key_Return);
        });
        ClickDialogButton(d, "Sa&ve As");
        ClickTab(d, 2);
        auto* list = d->findChild<QListWidget*>("SavedSearches");
        ClickListRow(list, 1); // "Everyone"
        ClickDialogButton(d, "&Delete");
        QCOMPARE(list->count(), 2);
        done = true;
        ClickDialogButton(d, "Cancel");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_F10);
    QVERIFY(done);
    QVERIFY(book->Book()->Searches == searches);
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(ListedSurnames(*book).size(), 2);
    run.Frame.reset(); // closes the book
    QCOMPARE(FileBytes(path), before);
}

void TSearchDialogTest::NameDialogCaptionsAndChecksByMode() {
    const std::vector<std::string> names = {"Labels", "Letters"};
    {
        TSaveFilter d(TNameMode::QReport, "Labels", true, names);
        QCOMPARE(d.windowTitle(), QString("Rename Quick Report"));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QLineEdit* box = d.NameBox();
        QTest::keyClick(box, Qt::Key_Delete); // the selected name goes
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QVERIFY(messages_->Requests.back().Text.startsWith(
            "A Name for the Quick Report must be Specified."));
        QTest::keyClicks(box, " LABELS ");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(d.result(), int(QDialog::Accepted)); // its own name, another case
        QCOMPARE(box->text(), QString("LABELS"));
    }
    {
        TSaveFilter d(TNameMode::Export, "", false, names);
        QCOMPARE(d.windowTitle(), QString("Save Template As"));
        d.show();
        QTest::keyClicks(d.NameBox(), "letters");
        QTest::keyClick(d.NameBox(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(messages_->Requests.back().TitleNumber, 1004);
        QVERIFY(messages_->Requests.back().Text.startsWith("A Template Named \"letters\""));
    }
    QCOMPARE(TSaveFilter(TNameMode::Import, "", true, names).windowTitle(),
             QString("Rename Import Template"));
}

// A right click on the Reminders page's list, then a click on an item of its pop-up.
void ChooseFromPopUp(QWidget* area, const QString& item) {
    const QPoint at(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
    QApplication::sendEvent(area, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (QAction* a : menu->actions())
        if (a->text() == item) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            return;
        }
    QFAIL(qPrintable("no item " + item));
}

void TSearchDialogTest::RemindersPagePopUpSetsAndRemovesTheFilter() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Pop.ADR"), {"Adams", "Baker"}));
    QVERIFY(book);
    book->ShowPage(2);
    QWidget* area = book->RemindersPage()->List()->viewport();
    bool done = false;
    OnModalDialog("Search Address Book: ", [&](QDialog* d) {
        ClickCheck(d, "Entr&ies Starting with Sort Character(s) :-");
        QTest::keyClicks(d->findChild<QLineEdit*>("StartsWith"), "a");
        done = true;
        ClickDialogButton(d, "OK");
    });
    ChooseFromPopUp(area, "Set Display Filter...");
    QTRY_VERIFY(done);
    QTRY_COMPARE(ListedSurnames(*book), QStringList({"Adams"}));
    ChooseFromPopUp(area, "Remove Display Filter");
    QTRY_COMPARE(ListedSurnames(*book).size(), 2);
}

QTEST_MAIN(TSearchDialogTest)
#include "search_dialog_test.moc"
