// The import and export wizards on a book window, driven by the mouse and keys: a
// file imported through the default template, the files the wizard refuses, Cancel
// changing nothing, and an export of reminders in UTF-8 remembered for its template.

#include "app/book/book.h"
#include "app/diary/diary_dlg.h"
#include "app/exchange/export_templates_dlg.h"
#include "app/exchange/export_wizard.h"
#include "app/exchange/import_templates_dlg.h"
#include "app/exchange/import_wizard.h"
#include "core/diary/diary.h"
#include "core/exchange/export_mru.h"
#include "core/exchange/import_template.h"
#include "core/settings/settings_access.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace tessaly {

class TExchangeWizardsTest : public QObject, TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() { End(); }
    void ImportWizardAddsTheFilesLinesToTheBook();
    void ImportWizardRefusesMissingAndEmptyFilesAndCancelChangesNothing();
    void ExportWizardWritesRemindersInTheChosenEncoding();
    void TemplateDialogMapsADraggedFieldAndSavesACopy();
    void ExportTemplatesChooseTheColumnsAndTheirLabels();
    void DiaryImportMarksTheDiaryChanged();
    void SavedTemplatesAreDeletedOnlyWhenConfirmed();
    void ExportTemplatesRenameAndDeleteFromTheSavedList();
    void ExportTemplatesKeepOtherAndNoDelimiters();

private:
    QString WriteText(const QString& name, const QByteArray& text) {
        QFile f(Path(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return Path(name);
    }
    static void TypeFile(QComboBox* box, const QString& path) {
        QLineEdit* edit = box->lineEdit();
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        QTest::keyClicks(edit, path);
    }
};

void TExchangeWizardsTest::ImportWizardAddsTheFilesLinesToTheBook() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Imp.ADR")));
    QVERIFY(book);
    const QString csv = WriteText("people.csv", "Title,First,Surname\r\nDr,Ann,Smith\r\n"
                                                "Mr,Jos\xC3\xA9,\"Brown, Jr\"\r\n");
    const auto chooser = TImportWizard::FileChooser;
    bool seen = false;
    OnModalDialog("Import to Address Book IMP", [&](QDialog* d) {
        auto* wizard = qobject_cast<TImportWizard*>(d);
        QVERIFY(wizard);
        // Browse offers the file typed, and its answer replaces it; a cancelled
        // choice leaves the box as it was.
        TypeFile(wizard->FileBox(), "typed.csv");
        QString offered;
        QString answer;
        TImportWizard::FileChooser = [&](QWidget*, const QString& current) {
            offered = current;
            return answer;
        };
        ClickDialogButton(d, "&Browse");
        QCOMPARE(offered, QString("typed.csv"));
        QCOMPARE(wizard->FileBox()->currentText(), QString("typed.csv"));
        answer = csv;
        ClickDialogButton(d, "&Browse");
        QCOMPARE(wizard->FileBox()->currentText(), csv);
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 1);
        QCOMPARE(wizard->TemplateList()->count(), 1); // only the address book imports
        QCOMPARE(wizard->TemplateList()->currentItem()->text(),
                 QString("Default Address Book Import"));
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 2);
        const QString summary = d->findChild<QLabel*>("importSummary")->text();
        QVERIFY2(summary.contains("Address Book Entries") && summary.contains("Records:\t2"),
                 qPrintable(summary));
        ClickDialogButton(d, "&Finish");
        QCOMPARE(wizard->Progress()->value(), 2);
        seen = true;
    });
    MenuAction(*book, "I&mport...")->trigger();
    TImportWizard::FileChooser = chooser;
    QVERIFY(seen);
    QCOMPARE(ListedSurnames(*book), QStringList({"Smith", "Brown, Jr"})); // "Dr Ann" first
    QVERIFY(book->Book()->Modified);
    // The UTF-8 file's e acute arrived as the book's own character.
    QCOMPARE(book->Book()->Entries.At(1)->NameField(1), std::string("Jos\xE9"));
    TSettingsAccess access(*store_);
    QCOMPARE(access.ReadString(kExportMruSection, "Last", ""), FromQString(csv));
    QCOMPARE(LastTemplate(access, 5), std::string("Default Address Book Import"));
}

void TExchangeWizardsTest::ImportWizardRefusesMissingAndEmptyFilesAndCancelChangesNothing() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Imp.ADR")));
    QVERIFY(book);
    const QString headerOnly = WriteText("header.csv", "Title,First,Surname\r\n");
    bool seen = false;
    OnModalDialog("Import to Address Book", [&](QDialog* d) {
        auto* wizard = qobject_cast<TImportWizard*>(d);
        TypeFile(wizard->FileBox(), Path("none.csv"));
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 0);
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QCOMPARE(messages_->Requests[0].Text,
                 QString("The file specified could not be located. Please re-enter the file "
                         "name."));
        TypeFile(wizard->FileBox(), headerOnly);
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 1);
        QCOMPARE(messages_->Requests.size(), std::size_t(2));
        QCOMPARE(messages_->Requests[1].Text,
                 QString("Unable to validate file. Possible invalid file format"));
        ClickDialogButton(d, "Cancel");
        seen = true;
    });
    MenuAction(*book, "I&mport...")->trigger();
    QVERIFY(seen);
    QCOMPARE(book->Book()->Entries.Count(), 0);
    QVERIFY(!book->Book()->Modified);
    QVERIFY(store_->ValueNames(kExportMruSection).empty());
}

void TExchangeWizardsTest::ExportWizardWritesRemindersInTheChosenEncoding() {
    const QString path = Path("Rem.ADR");
    {
        auto b = NewBook(PathToCore(path), TStoreSettings());
        auto e = std::make_unique<TRecord>();
        e->SetNameField(2, "Caf\xE9");
        auto r = std::make_unique<TReminders>();
        r->When = EncodeDate(2026, 5, 4);
        r->Until = r->When;
        r->NoTime = 1;
        r->SetDescription("Renew");
        e->Reminders.Add(std::move(r));
        b->Entries.Add(std::move(e));
        QVERIFY(SaveBook(*b, false, TStoreSettings()).Ok);
    }
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    const QString out = Path("rem.csv");
    bool seen = false;
    OnModalDialog("Export Address Book REM", [&](QDialog* d) {
        auto* wizard = qobject_cast<TExportWizard*>(d);
        QVERIFY(wizard);
        // On the button's circle: a wide radio button takes clicks on its circle and text.
        QAbstractButton* reminders = wizard->Types()->button(kExportReminders);
        QTest::mouseClick(reminders, Qt::LeftButton, {}, QPoint(8, reminders->height() / 2));
        QVERIFY(reminders->isChecked());
        ClickDialogButton(d, "&Next >");
        QVERIFY(wizard->Selections()->button(4)->isChecked()); // "All Entries"
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->TemplateList()->currentItem()->text(),
                 QString("Default Reminders Export"));
        QCOMPARE(wizard->EncodingBox()->currentText(), QString("Windows-1252"));
        wizard->EncodingBox()->setFocus();
        QTest::keyClick(wizard->EncodingBox(), Qt::Key_Down);
        QCOMPARE(wizard->EncodingBox()->currentText(), QString("UTF-8"));
        ClickDialogButton(d, "&Next >");
        TypeFile(wizard->FileBox(), out);
        ClickDialogButton(d, "&Finish");
        QCOMPARE(wizard->Written(), 1);
        QCOMPARE(wizard->Progress()->maximum(), 1); // the records walked
        QCOMPARE(wizard->Progress()->value(), 1);
        seen = true;
    });
    MenuAction(*book, "&Export...")->trigger();
    QVERIFY(seen);
    const QByteArray text = FileBytes(out);
    QVERIFY2(text.startsWith("\"Entry Name\",\"Date\",\"Time\""), text.constData());
    QVERIFY2(text.contains("\r\n\"Caf\xC3\xA9\",\"04/05/2026\",\"\",\"5\",\"Renew\","),
             text.constData());
    TSettingsAccess access(*store_);
    QVERIFY(ExportsUtf8(access, "Default Reminders Export"));
    QCOMPARE(LastTemplate(access, kExportReminders), std::string("Default Reminders Export"));

    // A second run over the same file asks first; "No" keeps the file.
    messages_->Answers.push_back(mrNo);
    OnModalDialog("Export Address Book REM", [&](QDialog* d) {
        auto* wizard = qobject_cast<TExportWizard*>(d);
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->FileBox()->currentText(), out); // the last file, preset
        ClickDialogButton(d, "&Finish");
        QVERIFY(d->isVisible());
        QCOMPARE(messages_->Requests.back().Text,
                 QString("The file specified already exists. Please confirm that you wish to "
                         "overwrite it."));
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "&Export...")->trigger();
    QCOMPARE(FileBytes(out), text);
}

// A field dragged from one list and dropped on a row of another (or below its rows).
static void DragRow(QListWidget* from, int row, TSlotList* to, int onto) {
    std::unique_ptr<QMimeData> mime(from->model()->mimeData({from->model()->index(row, 0)}));
    const QPoint at = onto < to->count()
                          ? to->visualItemRect(to->item(onto)).center()
                          : QPoint(to->viewport()->width() / 2, to->viewport()->height() - 4);
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(to->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(to->viewport(), &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(to->viewport(), &drop);
}

// A field dragged from the file's fields and dropped on a slot, as the list views
// receive it.
static void DragFieldToSlot(TImportTemplatesDlg* d, int field, int slot) {
    QListWidget* fields = d->FieldList();
    TSlotList* slotList = d->SlotList();
    std::unique_ptr<QMimeData> mime(fields->model()->mimeData({fields->model()->index(field, 0)}));
    const QPointF at = slotList->visualItemRect(slotList->item(slot)).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(slotList->viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(slotList->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, {});
    QApplication::sendEvent(slotList->viewport(), &drop);
}

void TExchangeWizardsTest::TemplateDialogMapsADraggedFieldAndSavesACopy() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Tpl.ADR")));
    QVERIFY(book);
    const QString csv = WriteText("people.csv", "Family;Given\r\nSmith;Ann\r\n");
    const QString tpi = QDir(Path("cfg")).filePath("TESSALY.TPI");
    TImportTemplatesDlg::NameAsker = [](QWidget*, const QString&, const QString&) {
        return QString("Semicolons");
    };
    bool seen = false;
    OnModalDialog("Import to Address Book", [&](QDialog* d) {
        auto* wizard = qobject_cast<TImportWizard*>(d);
        TypeFile(wizard->FileBox(), csv);
        ClickDialogButton(d, "&Next >");
        // Cancel in the template dialog changes nothing.
        OnModalDialog("Import Templates", [&](QDialog* t) {
            auto* dlg = qobject_cast<TImportTemplatesDlg*>(t);
            QTest::mouseClick(dlg->SlotList()->viewport(), Qt::LeftButton);
            ClickDialogButton(t, "Cancel");
        });
        ClickDialogButton(d, "&Templates");
        QVERIFY(!QFile::exists(tpi));

        OnModalDialog("Import Templates", [&](QDialog* t) {
            auto* dlg = qobject_cast<TImportTemplatesDlg*>(t);
            QVERIFY(dlg);
            // Options: semicolons through "Other"; an empty "Other" is refused first.
            ClickTab(t, 1);
            auto* other = t->findChildren<QRadioButton*>()[2];
            QCOMPARE(other->text(), QString("Ot&her"));
            QTest::mouseClick(other, Qt::LeftButton, {}, QPoint(8, other->height() / 2));
            ClickDialogButton(t, "Save &As");
            QCOMPARE(messages_->Requests.back().TitleNumber, 1010);
            QVERIFY(messages_->Requests.back().Text.startsWith(
                "A Character for Field Separation must be specified."));
            auto* sepEdit = t->findChildren<QLineEdit*>()[1];
            QTest::keyClicks(sepEdit, ";");
            // Header line off keeps the first line as data; then back to the mapping.
            ClickTab(t, 0);
            ReplaceText(dlg->SampleFile(), csv);
            ClickDialogButton(t, "&Refresh");
            QCOMPARE(dlg->FieldList()->count(), 1); // still read with commas
            QCOMPARE(dlg->FieldList()->item(0)->text(), QString("00 Family;Given"));
            ClickDialogButton(t, "Save &As");
            QCOMPARE(dlg->TemplateBox()->currentText(), QString("Semicolons"));
            ClickDialogButton(t, "&Refresh");
            QCOMPARE(dlg->FieldList()->count(), 2);
            QCOMPARE(dlg->FieldList()->item(0)->text(), QString("00 Family"));
            // Slot 2 (surname) already takes column 2 by default: clear it, drag "Family".
            dlg->SlotList()->setCurrentRow(2);
            ClickDialogButton(t, "&Delete");
            DragFieldToSlot(dlg, 0, 2);
            QCOMPARE(dlg->SlotList()->item(2)->text(), QString("Surname  <  00"));
            ClickDialogButton(t, "OK");
            QVERIFY(!t->isVisible());
        });
        ClickDialogButton(d, "&Templates");
        QCOMPARE(wizard->TemplateList()->count(), 2);
        seen = true;
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "I&mport...")->trigger();
    QVERIFY(seen);
    const TImportList saved = LoadImportTemplates(FromQString(tpi));
    const int i = saved.Find("Semicolons");
    QVERIFY(i >= 0);
    QCOMPARE(int(saved.At(i)->Separator), int(';'));
    QCOMPARE(saved.At(i)->Mappings[2].Count(), 1);
    QCOMPARE(saved.At(i)->FirstColumn(2), 0);
    // The template the edits were made on before "Save As" kept its own options.
    const int original = saved.Find("Default Address Book Import");
    QVERIFY(original >= 0);
    QCOMPARE(int(saved.At(original)->Separator), int(','));
    QCOMPARE(book->Book()->Entries.Count(), 0);
}

void TExchangeWizardsTest::ExportTemplatesChooseTheColumnsAndTheirLabels() {
    const QString path = Path("Cols.ADR");
    {
        auto b = NewBook(PathToCore(path), TStoreSettings());
        auto e = std::make_unique<TRecord>();
        e->SetNameField(1, "Ann");
        e->SetNameField(2, "Smith");
        b->Entries.Add(std::move(e));
        QVERIFY(SaveBook(*b, false, TStoreSettings()).Ok);
    }
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    TExportTemplatesDlg::NameAsker = [](QWidget*, const QString&, const QString&) {
        return QString("Names");
    };
    const QString out = Path("names.txt");
    bool seen = false;
    OnModalDialog("Export Address Book COLS", [&](QDialog* d) {
        auto* wizard = qobject_cast<TExportWizard*>(d);
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        OnModalDialog("Export Templates", [&](QDialog* t) {
            auto* dlg = qobject_cast<TExportTemplatesDlg*>(t);
            QVERIFY(dlg);
            QCOMPARE(dlg->Columns()->count(), 17);
            ClickDialogButton(t, "Dele&te All");
            QCOMPARE(dlg->Columns()->count(), 0);
            DragRow(dlg->Available(), 2, dlg->Columns(), 0); // "Surname"
            QTest::mouseClick(dlg->Available()->viewport(), Qt::LeftButton, {},
                              dlg->Available()->visualItemRect(dlg->Available()->item(1)).center());
            ClickDialogButton(t, "&Add"); // "First Name" after it
            ClickDialogButton(t, "Move &Up");
            QCOMPARE(dlg->Columns()->item(0)->text(), QString("First Name"));
            dlg->Columns()->setCurrentRow(1);
            ClickDialogButton(t, "&Label ");
            QCOMPARE(dlg->Columns()->item(1)->text(), QString("[Label] Surname"));
            ClickTab(t, 1);
            QTest::mouseClick(t->findChildren<QRadioButton*>()[1], Qt::LeftButton, {},
                              QPoint(8, 8)); // "&Tabs"
            ClickDialogButton(t, "Save As");
            QCOMPARE(dlg->TemplateBox()->currentText(), QString("Names"));
            ClickDialogButton(t, "OK");
        });
        ClickDialogButton(d, "&Templates");
        QCOMPARE(wizard->TemplateList()->count(), 2);
        wizard->TemplateList()->setCurrentRow(1);
        QCOMPARE(wizard->TemplateList()->currentItem()->text(), QString("Names"));
        ClickDialogButton(d, "&Next >");
        TypeFile(wizard->FileBox(), out);
        ClickDialogButton(d, "&Finish");
        seen = true;
    });
    MenuAction(*book, "&Export...")->trigger();
    QVERIFY(seen);
    QCOMPARE(FileBytes(out),
             QByteArray("\"First Name\"\t\"Surname\"\r\n\"Ann\"\t\"Surname Smith\"\r\n"));
    const TExportList saved =
        LoadExportTemplates(FromQString(QDir(Path("cfg")).filePath("TESSALY.TPE")));
    QCOMPARE(saved.Count(), 5);
    QCOMPARE(saved.At(0)->UsedColumns().size(), std::size_t(17)); // the default kept its own
}

void TExchangeWizardsTest::DiaryImportMarksTheDiaryChanged() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().FormatSettings = DefaultFormatSettings();
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    QApplication::setActiveWindow(run.Frame.get());
    QVERIFY(run.Frame->OpenDiaryFile(MakeDiary(Path("Plans.TDY")), true, false));
    auto* diary = qobject_cast<TDiaryDlg*>(run.Frame->ActiveChild());
    QVERIFY(diary);
    const QString csv = WriteText("events.csv", "Date,Time,Priority,Description\r\n"
                                                "05/03/2026,09:30,2,Dentist\r\nsoon,,,Skipped\r\n");
    QAction* import = nullptr;
    for (QMenu* m : diary->WindowMenus())
        for (QAction* a : m->actions())
            if (a->text() == "I&mport...")
                import = a;
    QVERIFY(import && import->isEnabled());
    bool seen = false;
    OnModalDialog("Import to Diary PLANS", [&](QDialog* d) {
        auto* wizard = qobject_cast<TImportWizard*>(d);
        TypeFile(wizard->FileBox(), csv);
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->TemplateList()->currentItem()->text(),
                 QString("Default Diary Event Import"));
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Finish");
        QCOMPARE(wizard->Result().Imported, 1);
        seen = true;
    });
    import->trigger();
    QVERIFY(seen);
    QCOMPARE(diary->Diary()->Events.Count(), 1);
    QCOMPARE(diary->Diary()->Events.At(0)->Description.str(), std::string("Dentist"));
    // The import counts as a change, so closing the diary saves it.
    QVERIFY(diary->Diary()->Modified);
}

void TExchangeWizardsTest::SavedTemplatesAreDeletedOnlyWhenConfirmed() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Del.ADR")));
    QVERIFY(book);
    const QString tpi = QDir(Path("cfg")).filePath("TESSALY.TPI");
    bool seen = false;
    OnModalDialog("Import to Address Book", [&](QDialog* d) {
        auto* wizard = qobject_cast<TImportWizard*>(d);
        TypeFile(wizard->FileBox(), Path("anything.csv"));
        // The file box is checked first: the template page is not reached.
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 0);
        TypeFile(wizard->FileBox(), WriteText("one.csv", "a,b\r\nc,d\r\n"));
        ClickDialogButton(d, "&Next >");
        OnModalDialog("Import Templates", [&](QDialog* t) {
            ClickTab(t, 2);
            auto* saved = t->findChildren<QListWidget*>().last();
            QCOMPARE(saved->count(), 1);
            QTest::mouseClick(saved->viewport(), Qt::LeftButton, {},
                              saved->visualItemRect(saved->item(0)).center());
            messages_->Answers.push_back(mrNo);
            ClickDialogButton(t, "Delete");
            QCOMPARE(messages_->Requests.back().Text,
                     QString("Template: Default Address Book Import \n\nAre you sure you wish to "
                             "delete this Template ?"));
            QCOMPARE(saved->count(), 1);
            messages_->Answers.push_back(mrYes);
            ClickDialogButton(t, "Delete");
            QCOMPARE(saved->count(), 0);
            ClickDialogButton(t, "OK");
        });
        ClickDialogButton(d, "&Templates");
        // With no template of its kind left the wizard cannot go on.
        QCOMPARE(wizard->TemplateList()->count(), 0);
        ClickDialogButton(d, "&Next >");
        QCOMPARE(wizard->Page(), 1);
        seen = true;
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "I&mport...")->trigger();
    QVERIFY(seen);
    // The file keeps the diary's template; the next load gives it alone.
    const TImportList saved = LoadImportTemplates(FromQString(tpi));
    QCOMPARE(saved.Count(), 1);
    QCOMPARE(saved.At(0)->NameText(), std::string("Default Diary Event Import"));
}

void TExchangeWizardsTest::ExportTemplatesRenameAndDeleteFromTheSavedList() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Ren.ADR")));
    QVERIFY(book);
    QString answer = "Names";
    TExportTemplatesDlg::NameAsker = [&answer](QWidget*, const QString&, const QString&) {
        return answer;
    };
    const auto rowNamed = [](QListWidget* list, const QString& name) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        return found.isEmpty() ? -1 : list->row(found[0]);
    };
    bool seen = false;
    OnModalDialog("Export Address Book", [&](QDialog* d) {
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        OnModalDialog("Export Templates", [&](QDialog* t) {
            ClickDialogButton(t, "Save As");
            ClickTab(t, 2);
            auto* saved = t->findChildren<QListWidget*>().last();
            const int names = rowNamed(saved, "Names");
            QVERIFY(names >= 0);
            QTest::mouseClick(saved->viewport(), Qt::LeftButton, {},
                              saved->visualItemRect(saved->item(names)).center());
            // Another template's name, in another case: refused, nothing renamed.
            answer = "default address book export";
            ClickDialogButton(t, "Rename");
            QCOMPARE(messages_->Requests.size(), std::size_t(1));
            QVERIFY2(messages_->Requests[0].Text.contains("is already Defined"),
                     qPrintable(messages_->Requests[0].Text));
            QVERIFY(rowNamed(saved, "Names") >= 0);
            answer = "Mail merge";
            ClickDialogButton(t, "Rename");
            QCOMPARE(messages_->Requests.size(), std::size_t(1));
            QCOMPARE(rowNamed(saved, "Names"), -1);
            QVERIFY(rowNamed(saved, "Mail merge") >= 0);
            // The default, chosen with the keys, deleted once confirmed.
            saved->setFocus();
            const int def = rowNamed(saved, "Default Address Book Export");
            QVERIFY(def >= 0);
            QTest::keyClick(saved, Qt::Key_Home);
            for (int i = 0; i < def; ++i)
                QTest::keyClick(saved, Qt::Key_Down);
            QCOMPARE(saved->currentRow(), def);
            const int before = saved->count();
            messages_->Answers = {mrNo, mrYes};
            ClickDialogButton(t, "Delete");
            QCOMPARE(saved->count(), before);
            ClickDialogButton(t, "Delete");
            QCOMPARE(saved->count(), before - 1);
            QCOMPARE(rowNamed(saved, "Default Address Book Export"), -1);
            ClickDialogButton(t, "OK");
        });
        ClickDialogButton(d, "&Templates");
        seen = true;
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "&Export...")->trigger();
    QVERIFY(seen);
    const TExportList kept =
        LoadExportTemplates(FromQString(QDir(Path("cfg")).filePath("TESSALY.TPE")));
    QStringList names;
    for (int i = 0; i < kept.Count(); ++i)
        names << ToQString(kept.At(i)->NameText());
    QVERIFY2(names.contains("Mail merge"), qPrintable(names.join(", ")));
    QVERIFY(!names.contains("Names"));
    QVERIFY(!names.contains("Default Address Book Export"));
}

void TExchangeWizardsTest::ExportTemplatesKeepOtherAndNoDelimiters() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeBook(Path("Pipe.ADR")));
    QVERIFY(book);
    TExportTemplatesDlg::NameAsker = [](QWidget*, const QString&, const QString&) {
        return QString("Piped");
    };
    // The radio buttons in order: separator Commas, Tabs, Other, None; quote Double,
    // Single, Other, None. The quote's field is the second line edit of the page.
    const auto radios = [](QDialog* t) { return t->findChildren<QRadioButton*>(); };
    const auto quoteField = [](QDialog* t) { return t->findChildren<QLineEdit*>()[1]; };
    int rounds = 0;
    OnModalDialog("Export Address Book", [&](QDialog* d) {
        ClickDialogButton(d, "&Next >");
        ClickDialogButton(d, "&Next >");
        OnModalDialog("Export Templates", [&](QDialog* t) {
            ClickTab(t, 1);
            QCOMPARE(radios(t)[6]->text(), QString("Oth&er"));
            QTest::mouseClick(radios(t)[6], Qt::LeftButton, {}, QPoint(8, 8));
            ClickDialogButton(t, "Save As");
            QCOMPARE(messages_->Requests.size(), std::size_t(1));
            QVERIFY(messages_->Requests[0].Text.startsWith(
                "A Record Delimiter Character must be specified."));
            QTest::keyClicks(quoteField(t), "|");
            QCOMPARE(radios(t)[3]->text(), QString("None"));
            QTest::mouseClick(radios(t)[3], Qt::LeftButton, {}, QPoint(8, 8));
            ClickDialogButton(t, "Save As");
            ClickDialogButton(t, "OK");
        });
        ClickDialogButton(d, "&Templates");
        // Shown again as they were chosen.
        OnModalDialog("Export Templates", [&](QDialog* t) {
            auto* dlg = qobject_cast<TExportTemplatesDlg*>(t);
            dlg->TemplateBox()->setCurrentIndex(dlg->TemplateBox()->findText("Piped"));
            ClickTab(t, 1);
            QVERIFY(radios(t)[3]->isChecked());
            QVERIFY(radios(t)[6]->isChecked());
            QCOMPARE(quoteField(t)->text(), QString("|"));
            ClickDialogButton(t, "Cancel");
        });
        ClickDialogButton(d, "&Templates");
        ++rounds;
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "&Export...")->trigger();
    QCOMPARE(rounds, 1);
    const TExportList saved =
        LoadExportTemplates(FromQString(QDir(Path("cfg")).filePath("TESSALY.TPE")));
    const TExport* piped = saved.At(saved.Find("Piped"));
    QVERIFY(piped);
    QCOMPARE(int(piped->Separator), 0);
    QCOMPARE(int(piped->Quote), int('|'));
}

} // namespace tessaly

QTEST_MAIN(tessaly::TExchangeWizardsTest)
#include "exchange_wizards_test.moc"
