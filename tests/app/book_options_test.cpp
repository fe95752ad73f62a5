// "Address Book Options" driven by mouse and keys: a page renamed and the book
// window's tab renamed with it; a category added through its dialog and refused when
// its name is taken; categories inherited from a second book (and a file that is not a
// book refused, one unsaved in another window warned of); a template deleted and
// restored, the first one refused; the default index keys and the insert fields
// dragged, added, moved and deleted, and the entry list following the new keys; the
// entry's index-key dialog opening the book's keys; Cancel leaving the saved file
// byte-identical.

#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book_options/book_options_dlg.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

using namespace tessaly;

namespace {

QString MakeBookWithTemplate(const QString& path, const QString& category = QString()) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    TTemplateValues v;
    v.Name = "Holiday Home";
    book->Templates.AddTemplate(v);
    if (!category.isEmpty())
        book->Categories.AddCategory(FromQString(category), false);
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

void OnDialog(const QString& caption, std::function<void(QDialog*)> act, int tries = 300) {
    QTimer::singleShot(10, [caption, act, tries] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d || d->windowTitle() != caption) {
            if (tries > 0)
                OnDialog(caption, act, tries - 1);
            else
                qWarning("no dialog %s", qPrintable(caption));
            return;
        }
        act(d);
        if (d->isVisible())
            d->reject(); // a failed check must not leave the run waiting
    });
}

void Click(QDialog* d, const char* name) {
    auto* b = d->findChild<QPushButton*>(name);
    if (!b) {
        qWarning("no button %s", name);
        return;
    }
    QTest::mouseClick(b, Qt::LeftButton);
}

void ClickOk(QDialog* d) {
    for (QPushButton* b : d->findChildren<QPushButton*>())
        if (b->text().remove('&') == "OK")
            QTest::mouseClick(b, Qt::LeftButton);
}

void ClickRow(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void Retype(QLineEdit* field, const QString& text) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

void OpenOptions(TBook& book) {
    for (QMenu* m : book.WindowMenus())
        for (QAction* a : m->actions())
            if (a->text() == "Configure &Address Book...") {
                QVERIFY(a->isEnabled());
                a->trigger();
                return;
            }
    QFAIL("no \"Configure &Address Book...\"");
}

} // namespace

class TBookOptionsTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void RenamedPageRenamesTheTabAndFieldsFollow();
    void CategoriesAddedAndInherited();
    void TemplatesDeletedAndRestored();
    void CancelLeavesTheSavedFileByteIdentical();
    void CategoriesPagePopUpTicksAndOpensMaintenance();
    void IndexKeysOfAnEntryAppliedAfterOkOnly();
    void NewTemplateThroughItsDialog();
    void DefaultKeysDraggedReorderTheList();
    void InsertFieldsAddedMovedAndDeleted();
    void KeyPagesCancelledLeaveTheFileByteIdentical();
    void IndexKeysButtonOpensTheBookKeysAndDragsMoveKeys();
    void InheritFromABookUnsavedInAnotherWindowWarns();

private:
    TBook* Open(TTestRun& run, const QString& path) { return OpenShownBook(run, path); }
};

void TBookOptionsTest::init() {
    Begin();
}

void TBookOptionsTest::cleanup() {
    End();
}

void TBookOptionsTest::RenamedPageRenamesTheTabAndFieldsFollow() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeBookWithTemplate(Path("Pages.ADR")));
    QVERIFY(book);
    QCOMPARE(book->Tabs()->tabText(1), QString("&Notes"));
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        auto* notesGroup = d->findChild<QLineEdit*>("FieldLabel9")->parentWidget();
        QCOMPARE(notesGroup->property("title").toString(), QString("Notes Page"));
        ClickTab(d, 1);
        Retype(d->findChild<QLineEdit*>("PageLabel1"), "&Jottings");
        QCOMPARE(notesGroup->property("title").toString(), QString("Jottings Page"));
        ClickTab(d, 0);
        Retype(d->findChild<QLineEdit*>("FieldLabel3"), "Nickname");
        auto* shown = d->findChild<QToolButton*>("FieldShown4");
        QCOMPARE(shown->text(), QString("Shown"));
        QTest::mouseClick(shown, Qt::LeftButton);
        QCOMPARE(shown->text(), QString("Hidden"));
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QCOMPARE(book->Tabs()->tabText(1), QString("&Jottings"));
    QCOMPARE(book->PageAction(1)->text(), QString("&Jottings Page"));
    const TTemplateList& t = book->Book()->Templates;
    QCOMPARE(ToQString(t.TemplateCaption(0, 3)), QString("Nickname"));
    QCOMPARE(t.TemplateShown(0, 4), 0);
    QVERIFY(book->Book()->Modified);
}

void TBookOptionsTest::CategoriesAddedAndInherited() {
    TTestRun run(*store_, Path("cfg"));
    const QString other = MakeBookWithTemplate(Path("Other.ADR"), "Golf Club");
    QFile junk(Path("Junk.ADR"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("nothing like a book");
    junk.close();
    TBook* book = Open(run, MakeBookWithTemplate(Path("Cats.ADR")));
    QVERIFY(book);
    QStringList chosen = {Path("Junk.ADR"), other};
    TBookOptionsDlg::InheritChooser = [&](QWidget*) { return chosen.takeFirst(); };
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kCategoriesPage);
        auto* list = d->findChild<QListWidget*>("CategoryList");
        QCOMPARE(list->count(), 2);
        // A taken name is refused and the category dialog stays open.
        OnDialog("Add a New Category", [&](QDialog* c) {
            auto* name = c->findChild<QLineEdit*>("CategoryName");
            QTest::keyClicks(name, "business");
            QTest::keyClick(name, Qt::Key_Return);
            QVERIFY(c->isVisible());
            QVERIFY(messages_->Requests.back().Text.startsWith(
                "A Category with the name \"business\" is already Defined."));
            Retype(name, "Suppliers");
            QTest::keyClick(name, Qt::Key_Return);
        });
        Click(d, "NewCategory");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(2)->text(), QString("Suppliers"));

        const std::size_t before = messages_->Requests.size();
        Click(d, "Inherit"); // the junk file: refused, nothing added
        QCOMPARE(messages_->Requests.size(), before + 1);
        QCOMPARE(list->count(), 3);
        Click(d, "Inherit");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->item(3)->text(), QString("Golf Club"));

        ClickRow(list, 0);
        messages_->Answers = {mrOk};
        Click(d, "DeleteCategory");
        // Marked: "&Restore" beside "&Delete" takes the mark away again.
        QVERIFY(!d->findChild<QPushButton*>("DeleteCategory")->isEnabled());
        QVERIFY(d->findChild<QPushButton*>("RestoreCategory")->isEnabled());
        QVERIFY(list->item(0)->font().strikeOut());
        Click(d, "RestoreCategory");
        QVERIFY(!list->item(0)->font().strikeOut());
        QVERIFY(!d->findChild<QPushButton*>("RestoreCategory")->isEnabled());
        messages_->Answers = {mrOk};
        Click(d, "DeleteCategory");
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    const TCategoryList& c = book->Book()->Categories;
    QCOMPARE(c.Count(), 3);
    QCOMPARE(ToQString(c.CategoryName(0)), QString("Personal"));
    QVERIFY(c.FindCategoryByName("Golf Club") >= 0);
    QVERIFY(c.FindCategoryByName("Suppliers") >= 0);
    TBookOptionsDlg::InheritChooser = nullptr;
}

void TBookOptionsTest::TemplatesDeletedAndRestored() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeBookWithTemplate(Path("Tpl.ADR")));
    QVERIFY(book);
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kAddressesPage);
        auto* list = d->findChild<QListWidget*>("TemplateList");
        QCOMPARE(list->count(), 2);
        ClickRow(list, 0); // "Address 1": refused
        Click(d, "DeleteTemplate");
        QVERIFY(messages_->Requests.back().Text.startsWith(
            "Unable to Delete the Address Template: \"Address 1\""));
        ClickRow(list, 1);
        messages_->Answers = {mrOk};
        Click(d, "DeleteTemplate");
        QVERIFY(messages_->Requests.back().Text.startsWith(
            "Please Confirm the Deletion of Address Template: Holiday Home"));
        auto* button = d->findChild<QPushButton*>("DeleteTemplate");
        auto* restore = d->findChild<QPushButton*>("RestoreTemplate");
        QCOMPARE(restore->text(), QString("&Restore"));
        QCOMPARE(button->text(), QString("&Delete"));
        QVERIFY(!button->isEnabled());
        QVERIFY(restore->isEnabled());
        QVERIFY(list->item(1)->font().strikeOut());
        const std::size_t asked = messages_->Requests.size();
        Click(d, "RestoreTemplate"); // restored without a question
        QCOMPARE(messages_->Requests.size(), asked);
        QVERIFY(!list->item(1)->font().strikeOut());
        QVERIFY(button->isEnabled());
        QVERIFY(!restore->isEnabled());
        messages_->Answers = {mrOk};
        Click(d, "DeleteTemplate");
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QCOMPARE(book->Book()->Templates.Count(), 2);
    QCOMPARE(book->Book()->Templates.FindTemplateByName("Holiday Home"), -1);
}

void TBookOptionsTest::CancelLeavesTheSavedFileByteIdentical() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBookWithTemplate(Path("Cancel.ADR"));
    const QByteArray before = FileBytes(path);
    TBook* book = Open(run, path);
    QVERIFY(book);
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, 1);
        Retype(d->findChild<QLineEdit*>("PageLabel0"), "Where");
        ClickTab(d, TBookOptionsDlg::kCategoriesPage);
        ClickRow(d->findChild<QListWidget*>("CategoryList"), 1);
        messages_->Answers = {mrOk};
        Click(d, "DeleteCategory");
        ClickTab(d, TBookOptionsDlg::kAddressesPage);
        ClickRow(d->findChild<QListWidget*>("TemplateList"), 1);
        messages_->Answers = {mrOk};
        Click(d, "DeleteTemplate");
        done = true;
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == "Cancel" || b->text() == "&Cancel")
                QTest::mouseClick(b, Qt::LeftButton);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(book->Tabs()->tabText(0), QString("&Address"));
    run.Frame.reset();
    QCOMPARE(FileBytes(path), before);
}

// The pop-up of the Categories page: a right click, then a click on an item.
void PopUpAndChoose(QWidget* area, QMenu* menu, const QString& item) {
    const QPoint at(10, 10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
    QApplication::sendEvent(area, &event);
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    for (QAction* a : menu->actions())
        if (a->text() == item) {
            QVERIFY(a->isEnabled());
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
            return;
        }
    QFAIL(qPrintable("no item " + item));
}

void TBookOptionsTest::CategoriesPagePopUpTicksAndOpensMaintenance() {
    TTestRun run(*store_, Path("cfg"));
    TStoreSettings settings;
    const QString path = Path("Pop.ADR");
    auto made = NewBook(PathToCore(path), settings);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldSurname, "Adams");
    made->Entries.Add(std::move(e));
    QVERIFY(SaveBook(*made, false, settings).Ok);
    TBook* book = Open(run, path);
    QVERIFY(book);
    book->ShowPage(5);
    auto* list = book->CategoriesPage()->List();
    auto* menu = book->CategoriesPage()->findChild<QMenu*>("CategoriesMenu");
    QVERIFY(menu);
    PopUpAndChoose(list->viewport(), menu, "Select All Categories");
    QCOMPARE(book->CategoriesPage()->Ticked(), QStringList({"Business", "Personal"}));
    QCOMPARE(book->EditMode(), int(kEditUpdating)); // counts as typing
    book->ApplyEdit();
    QCOMPARE(book->Book()->Entries.At(0)->CategoriesInUse.Count(), 2);

    // "Category Maintenance..." opens the options on their Categories page; OK applies.
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        QCOMPARE(d->findChild<QTabWidget*>()->currentIndex(),
                 int(TBookOptionsDlg::kCategoriesPage));
        OnDialog("Add a New Category", [](QDialog* c) {
            auto* name = c->findChild<QLineEdit*>("CategoryName");
            QTest::keyClicks(name, "Clients");
            QTest::keyClick(name, Qt::Key_Return);
        });
        Click(d, "NewCategory");
        done = true;
        ClickOk(d);
    });
    PopUpAndChoose(list->viewport(), menu, "Category Maintenance...");
    QTRY_VERIFY(done);
    QTRY_COMPARE(list->count(), 3);
    QCOMPARE(book->EditMode(), int(kEditViewing));
    PopUpAndChoose(list->viewport(), menu, "Clear all Selections");
    QCOMPARE(book->CategoriesPage()->Ticked(), QStringList());
}

void DoubleClick(QListWidget* list, int row) {
    const QPoint p = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
}

void TBookOptionsTest::IndexKeysOfAnEntryAppliedAfterOkOnly() {
    TTestRun run(*store_, Path("cfg"));
    TStoreSettings settings;
    const QString path = Path("Keys.ADR");
    auto made = NewBook(PathToCore(path), settings);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldSurname, "Adams");
    e->SetNameField(1, "Zoe");
    made->Entries.Add(std::move(e));
    QVERIFY(SaveBook(*made, false, settings).Ok);
    TBook* book = Open(run, path);
    QVERIFY(book);
    QTest::mouseClick(book->ListBox()->viewport(), Qt::LeftButton, {},
                      book->ListBox()->visualRect(book->EntryModel()->index(0)).center());
    QAction* keys = nullptr;
    for (QMenu* m : book->WindowMenus())
        for (QAction* a : m->actions())
            if (a->text() == "Select Index &Keys for Entry...")
                keys = a;
    QVERIFY(keys);
    book->UpdateCommandState();
    QVERIFY(keys->isEnabled());

    bool done = false;
    OnDialog("Select Index Keys for Entry", [&](QDialog* d) {
        auto* keyList = d->findChild<QListWidget*>("IndexKeys");
        auto* available = d->findChild<QListWidget*>("AvailableFields");
        QVERIFY(!keyList->isEnabled());
        QVERIFY(!d->findChild<QPushButton*>("AddKey")->isEnabled());
        auto* over = d->findChild<QRadioButton*>("OverrideKeys");
        QTest::mouseClick(over, Qt::LeftButton, {}, QPoint(6, over->height() / 2));
        QVERIFY(keyList->isEnabled());
        while (keyList->count() > 0)
            Click(d, "DeleteKey");
        QVERIFY(!d->findChild<QPushButton*>("DeleteKey")->isEnabled());
        QCOMPARE(d->findChild<QLabel*>("DisplayPreview")->text(), QString("<No Index Specified>"));
        for (int i = 0; i < available->count(); ++i)
            if (available->item(i)->text().endsWith("First Name")) {
                DoubleClick(available, i);
                break;
            }
        QCOMPARE(keyList->count(), 1);
        QCOMPARE(d->findChild<QLabel*>("DisplayPreview")->text(), QString("Zoe"));
        // A double click on a key toggles its sort flag.
        DoubleClick(keyList, 0);
        QCOMPARE(keyList->item(0)->text().startsWith(QString::fromUtf8("\u2195")), false);
        done = true;
        ClickOk(d);
    });
    keys->trigger();
    QVERIFY(done);
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->UseDefaultKeys, 0);
    QCOMPARE(entry->Keys.Count(), 1);
    QCOMPARE(entry->Keys.KeyCode(0), 1);
    QCOMPARE(entry->Keys.KeySortBy(0), 0);
    QVERIFY(book->Book()->Modified);

    // Cancel: the keys as they were, nothing applied.
    QVERIFY(book->Save(false));
    const QByteArray saved = FileBytes(path);
    done = false;
    OnDialog("Select Index Keys for Entry", [&](QDialog* d) {
        auto* def = d->findChild<QRadioButton*>("UseDefaultKeys");
        QTest::mouseClick(def, Qt::LeftButton, {}, QPoint(6, def->height() / 2));
        QVERIFY(!d->findChild<QListWidget*>("IndexKeys")->isEnabled());
        done = true;
        d->reject();
    });
    keys->trigger();
    QVERIFY(done);
    QCOMPARE(book->Book()->Entries.At(0)->UseDefaultKeys, 0);
    QVERIFY(!book->Book()->Modified);
    run.Frame.reset();
    QCOMPARE(FileBytes(path), saved);
}

void TBookOptionsTest::NewTemplateThroughItsDialog() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeBookWithTemplate(Path("NewTpl.ADR")));
    QVERIFY(book);
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kAddressesPage);
        auto* list = d->findChild<QListWidget*>("TemplateList");
        OnDialog("Add a New Address Template", [&](QDialog* t) {
            auto* name = t->findChild<QLineEdit*>("TemplateName");
            QCOMPARE(t->findChild<QLineEdit*>("Caption1")->text(), QString("Company"));
            QTest::keyClicks(name, "holiday home");
            QTest::keyClick(name, Qt::Key_Return);
            QVERIFY(t->isVisible());
            QVERIFY(messages_->Requests.back().Text.startsWith(
                "A Template Named \"holiday home\" is already Defined."));
            Retype(name, "Cottage");
            Retype(t->findChild<QLineEdit*>("Caption1"), "Landlord");
            auto* button = t->findChild<QPushButton*>("Button2"); // Fax: none
            QCOMPARE(button->text(), QString("None"));
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(button->text(), QString("Dial"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        Click(d, "NewTemplate");
        QCOMPARE(list->count(), 3);
        QVERIFY(list->item(2)->text().startsWith("Cottage"));
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    const TTemplateList& t = book->Book()->Templates;
    const int i = t.FindTemplateByName("Cottage");
    QVERIFY(i > 0);
    QCOMPARE(ToQString(t.TemplateCaption(i, 1)), QString("Landlord"));
    QCOMPARE(int(t.At(i)->ButtonKinds[2]), 1);
}

namespace {

// Three entries whose order differs by first name and by surname.
QString MakeNamedBook(const QString& path) {
    TStoreSettings settings;
    auto made = NewBook(PathToCore(path), settings);
    const std::pair<const char*, const char*> names[] = {
        {"Adams", "Zoe"}, {"Brown", "Amy"}, {"Clark", "Mia"}};
    for (auto [surname, first] : names) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, surname);
        e->SetNameField(1, first);
        if (std::string(surname) == "Adams")
            e->SetNameField(3, "Dr");
        made->Entries.Add(std::move(e));
    }
    made->Categories.AddCategory("Golf Club", false);
    if (!SaveBook(*made, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

// A drag with the mouse: pressed on row `row` of one list, moved, released over row
// `toRow` of a list (-1: below its last item).
void Drag(QListWidget* from, int row, QListWidget* to, int toRow) {
    QVERIFY(from->item(row));
    const QPoint start = from->visualItemRect(from->item(row)).center();
    const QPoint end = toRow >= 0 ? to->visualItemRect(to->item(toRow)).center()
                                  : QPoint(12, to->viewport()->height() - 4);
    QTest::mousePress(from->viewport(), Qt::LeftButton, {}, start);
    QTest::mouseMove(from->viewport(), start + QPoint(0, QApplication::startDragDistance() + 2));
    QTest::mouseMove(to->viewport(), end);
    QTest::mouseRelease(to->viewport(), Qt::LeftButton, {}, end);
}

QStringList Texts(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text().remove(QString::fromUtf8("\u2195")).trimmed();
    return out;
}

int RowEndingWith(QListWidget* list, const QString& end) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().endsWith(end))
            return i;
    return -1;
}

bool Marked(QListWidget* list, int row) {
    return list->item(row)->text().startsWith(QString::fromUtf8("\u2195"));
}

std::vector<int> Codes(const TIndexList& keys) {
    std::vector<int> codes;
    for (int i = 0; i < keys.Count(); ++i)
        codes.push_back(keys.KeyCode(i));
    return codes;
}

} // namespace

void TBookOptionsTest::DefaultKeysDraggedReorderTheList() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Order.ADR")));
    QVERIFY(book);
    // Ordered on title, first name and surname.
    QCOMPARE(ListedSurnames(*book), QStringList({"Brown", "Clark", "Adams"}));
    QTest::mouseClick(book->ListBox()->viewport(), Qt::LeftButton, {},
                      book->ListBox()->visualRect(book->EntryModel()->index(1)).center());
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Clark"));

    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kIndexKeysPage);
        auto* keys = d->findChild<QListWidget*>("DefaultKeys");
        auto* available = d->findChild<QListWidget*>("DefaultAvailable");
        QVERIFY(keys->isVisible());
        QCOMPARE(Texts(keys), QStringList({"0 Title", "1 First Name", "2 Surname"}));
        QVERIFY(Marked(keys, 0) && Marked(keys, 2));
        QCOMPARE(RowEndingWith(available, "Notes"), -1); // the notes are never a key

        // The surname dragged onto the title: first.
        Drag(keys, 2, keys, 0);
        QCOMPARE(Texts(keys), QStringList({"2 Surname", "0 Title", "1 First Name"}));
        // The company dragged below the last key: appended, taking part in sorting; a
        // double click takes it out of sorting.
        Drag(available, RowEndingWith(available, "Company"), keys, -1);
        QCOMPARE(Texts(keys).value(3), QString("21 Company"));
        QVERIFY(Marked(keys, 3));
        QCOMPARE(RowEndingWith(available, "Company"), -1);
        DoubleClick(keys, 3);
        QVERIFY(!Marked(keys, 3));
        // The title dragged back to the available fields.
        Drag(keys, 1, available, 0);
        QCOMPARE(Texts(keys), QStringList({"2 Surname", "1 First Name", "21 Company"}));
        QVERIFY(RowEndingWith(available, "0 Title") >= 0);
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QCOMPARE(Codes(book->Book()->IndexKeys), (std::vector<int>{2, 1, 21}));
    QCOMPARE(book->Book()->IndexKeys.KeySortBy(2), 0);
    QVERIFY(book->Book()->Modified);
    // The list follows the new keys, and the entry shown stays selected.
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Clark"}));
    QCOMPARE(book->ListBox()->SelectedRow(), 2);
    QCOMPARE(ToQString(book->Book()->WorkRecord->NameField(kFieldSurname)), QString("Clark"));
    QCOMPARE(book->EntryModel()->data(book->EntryModel()->index(0), Qt::DisplayRole).toString(),
             QString("Adams Zoe"));
}

void TBookOptionsTest::InsertFieldsAddedMovedAndDeleted() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("Insert.ADR")));
    QVERIFY(book);
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kWordPage);
        auto* fields = d->findChild<QListWidget*>("InsertFields");
        auto* available = d->findChild<QListWidget*>("InsertAvailable");
        QCOMPARE(Texts(fields), QStringList({"0 Title", "1 First Name", "2 Surname", "20 Position",
                                             "21 Company", "22 Address"}));
        QVERIFY(!d->findChild<QPushButton*>("DefaultSortBy")->isVisible());
        // The notes can be inserted: added before the selected first field, then moved
        // down one place.
        ClickRow(fields, 0);
        ClickRow(available, RowEndingWith(available, "9 Notes"));
        QTest::mouseClick(d->findChild<QPushButton*>("AddInsertField"), Qt::LeftButton);
        QCOMPARE(Texts(fields).value(0), QString("9 Notes"));
        QVERIFY(!Marked(fields, 0)); // insert fields carry no sort mark
        QTest::mouseClick(d->findChild<QPushButton*>("InsertFieldDown"), Qt::LeftButton);
        QCOMPARE(Texts(fields).value(1), QString("9 Notes"));
        ClickRow(fields, RowEndingWith(fields, "20 Position"));
        QTest::mouseClick(d->findChild<QPushButton*>("DeleteInsertField"), Qt::LeftButton);
        // The work telephone dragged onto the surname: before it.
        Drag(available, RowEndingWith(available, "24 Work"), fields, 3);
        QCOMPARE(Texts(fields), QStringList({"0 Title", "9 Notes", "1 First Name", "24 Work",
                                             "2 Surname", "21 Company", "22 Address"}));
        auto* blanks = d->findChild<QCheckBox*>();
        for (QCheckBox* c : d->findChildren<QCheckBox*>())
            if (c->text() == "Include &Blank Fields during Insertion")
                blanks = c;
        QTest::mouseClick(blanks, Qt::LeftButton, {}, QPoint(6, blanks->height() / 2));
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QCOMPARE(Codes(book->Book()->InsertFields), (std::vector<int>{0, 9, 1, 24, 2, 21, 22}));
    QCOMPARE(int(book->Book()->InsertBlankFields), 1);
}

void TBookOptionsTest::KeyPagesCancelledLeaveTheFileByteIdentical() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeNamedBook(Path("KeysCancel.ADR"));
    const QByteArray before = FileBytes(path);
    TBook* book = Open(run, path);
    QVERIFY(book);
    const QStringList order = ListedSurnames(*book);
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kIndexKeysPage);
        auto* keys = d->findChild<QListWidget*>("DefaultKeys");
        Drag(keys, 2, keys, 0);
        ClickRow(keys, 0);
        QTest::mouseClick(d->findChild<QPushButton*>("DefaultSortBy"), Qt::LeftButton);
        QVERIFY(!Marked(keys, 0));
        // With every key dragged out only "&Add" stays enabled.
        auto* available = d->findChild<QListWidget*>("DefaultAvailable");
        for (int i = 0; i < 3; ++i)
            Drag(keys, 0, available, -1);
        QCOMPARE(keys->count(), 0);
        QCOMPARE(available->count(), 16);
        for (const char* name :
             {"DeleteDefaultKey", "DefaultKeyUp", "DefaultKeyDown", "DefaultSortBy"})
            QVERIFY(!d->findChild<QPushButton*>(name)->isEnabled());
        QVERIFY(d->findChild<QPushButton*>("AddDefaultKey")->isEnabled());
        ClickTab(d, TBookOptionsDlg::kWordPage);
        auto* fields = d->findChild<QListWidget*>("InsertFields");
        Drag(fields, 0, d->findChild<QListWidget*>("InsertAvailable"), 0);
        QCOMPARE(fields->count(), 5);
        done = true;
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text().remove('&') == "Cancel")
                QTest::mouseClick(b, Qt::LeftButton);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(ListedSurnames(*book), order);
    run.Frame.reset();
    QCOMPARE(FileBytes(path), before);
}

void TBookOptionsTest::IndexKeysButtonOpensTheBookKeysAndDragsMoveKeys() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeNamedBook(Path("EntryKeys.ADR")));
    QVERIFY(book);
    const int row = ListedSurnames(*book).indexOf("Adams");
    QTest::mouseClick(book->ListBox()->viewport(), Qt::LeftButton, {},
                      book->ListBox()->visualRect(book->EntryModel()->index(row)).center());
    QAction* keys = MenuAction(*book, "Select Index &Keys for Entry...");
    QVERIFY(keys);
    book->UpdateCommandState();

    bool done = false;
    OnDialog("Select Index Keys for Entry", [&](QDialog* d) {
        auto* display = d->findChild<QLabel*>("DisplayPreview");
        auto* sorted = d->findChild<QLabel*>("SortPreview");
        auto* keyList = d->findChild<QListWidget*>("IndexKeys");
        auto* available = d->findChild<QListWidget*>("AvailableFields");
        QCOMPARE(display->text(), QString("Zoe Adams"));
        // "&Index Keys": the book's options on their index-key page; the surname first.
        bool inner = false;
        OnDialog("Address Book Options", [&](QDialog* o) {
            QCOMPARE(o->findChild<QTabWidget*>()->currentIndex(),
                     int(TBookOptionsDlg::kIndexKeysPage));
            auto* bookKeys = o->findChild<QListWidget*>("DefaultKeys");
            Drag(bookKeys, 2, bookKeys, 0);
            inner = true;
            ClickOk(o);
        });
        QTest::mouseClick(d->findChild<QPushButton*>("BookIndexKeys"), Qt::LeftButton);
        QVERIFY(inner);
        // The entry follows the book's keys: the lists and texts show the new ones.
        QCOMPARE(display->text(), QString("Adams Zoe"));
        QCOMPARE(Texts(keyList).value(0), QString("2 Surname"));
        QVERIFY(!keyList->isEnabled());

        // Its own keys: fields dragged in and out, keys dragged within the list.
        auto* over = d->findChild<QRadioButton*>("OverrideKeys");
        QTest::mouseClick(over, Qt::LeftButton, {}, QPoint(6, over->height() / 2));
        Drag(available, RowEndingWith(available, "3 Salutation"), keyList, 0);
        QCOMPARE(display->text(), QString("Dr Adams Zoe"));
        Drag(keyList, 0, available, 0);
        QCOMPARE(display->text(), QString("Adams Zoe"));
        Drag(keyList, RowEndingWith(keyList, "1 First Name"), keyList, 0);
        QCOMPARE(display->text(), QString("Zoe Adams"));
        QCOMPARE(sorted->text(), QString("Sorted on: Zoe Adams"));
        DoubleClick(keyList, 0); // the first name no longer sorts
        QCOMPARE(sorted->text(), QString("Sorted on: Adams"));
        done = true;
        d->reject();
    });
    keys->trigger();
    QVERIFY(done);
    // Cancel put the entry's keys back, but the book's new keys stand and the list
    // follows them.
    const TRecord* entry = book->EntryModel()->EntryAt(0);
    QCOMPARE(ToQString(entry->NameField(kFieldSurname)), QString("Adams"));
    QCOMPARE(int(entry->UseDefaultKeys), 1);
    QCOMPARE(Codes(book->Book()->IndexKeys), (std::vector<int>{2, 0, 1}));
    QCOMPARE(ListedSurnames(*book), QStringList({"Adams", "Brown", "Clark"}));
    QVERIFY(book->Book()->Modified);
}

void TBookOptionsTest::InheritFromABookUnsavedInAnotherWindowWarns() {
    TTestRun run(*store_, Path("cfg"));
    const QString otherPath = MakeNamedBook(Path("Club.ADR"));
    TBook* other = Open(run, otherPath);
    QVERIFY(other);
    TBook* book = Open(run, MakeBookWithTemplate(Path("Home.ADR")));
    QVERIFY(book);
    TBookOptionsDlg::InheritChooser = [&](QWidget*) { return otherPath; };
    // Unsaved changes in the other window: a category added there and not yet saved.
    other->Book()->Categories.AddCategory("Unsaved Club", false);
    other->Book()->Modified = 1;
    bool done = false;
    OnDialog("Address Book Options", [&](QDialog* d) {
        ClickTab(d, TBookOptionsDlg::kCategoriesPage);
        auto* list = d->findChild<QListWidget*>("CategoryList");
        messages_->Answers = {mrCancel};
        Click(d, "Inherit");
        QVERIFY(messages_->Requests.back().Text.contains("is open in another window"));
        QCOMPARE(list->count(), 2);
        messages_->Answers = {mrOk};
        Click(d, "Inherit");
        QCOMPARE(list->count(), 3); // what was saved: "Golf Club", not the unsaved one
        QCOMPARE(list->item(2)->text(), QString("Golf Club"));
        done = true;
        ClickOk(d);
    });
    OpenOptions(*book);
    QVERIFY(done);
    QVERIFY(book->Book()->Categories.FindCategoryByName("Golf Club") >= 0);
    QCOMPARE(book->Book()->Categories.FindCategoryByName("Unsaved Club"), -1);
    TBookOptionsDlg::InheritChooser = nullptr;
    other->Book()->Modified = 0;
}

QTEST_MAIN(TBookOptionsTest)
#include "book_options_test.moc"
