// Printing from the book window: the print wizard's choices reach the run, the preview
// pages through the planned pages with the tool bar and keys and draws them, the
// starting-label dialog keeps its number within the sheet, and printing goes through
// the printer to a PDF whose text is the plan's.

#include "app/book/book.h"
#include "app/book/entry_list_view.h"
#include "app/diary/diary_day_list.h"
#include "app/diary/diary_dlg.h"
#include "app/printing/preview_dlg.h"
#include "app/printing/printer_output.h"
#include "core/diary/diary.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

using namespace tessaly;

namespace {

// A diary of `count` events "Event01", ..., one each morning from 1 March 2026.
QString MakeEventDiary(const QString& path, int count) {
    auto diary = NewDiary(PathToCore(path));
    for (int i = 1; i <= count; ++i) {
        auto e = std::make_unique<TReminders>();
        e->When = e->Until = e->AlarmTime = EncodeDate(2026, 3, 1) + (i - 1) + EncodeTime(9, 0, 0);
        e->SetDescription(FromQString(QString("Event%1").arg(i, 2, 10, QChar('0'))));
        diary->Events.Add(std::move(e));
    }
    if (!SaveDiary(*diary, false, TStoreSettings()).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

// The child window's menu item with this caption, null when none.
QAction* WindowAction(TChildWindow& window, const QString& text) {
    for (QMenu* m : window.WindowMenus())
        for (QAction* a : m->actions())
            if (a->text() == text)
                return a;
    return nullptr;
}

// Clicks the wizard's layout whose caption starts with `name`.
void ChooseLayout(QDialog* wizard, const QString& name) {
    auto* list = wizard->findChild<QListWidget*>("Layouts");
    QVERIFY(list);
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchStartsWith);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    list->scrollToItem(found[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found[0]).center());
    QCOMPARE(list->currentItem(), found[0]);
}

void ClickChoice(QDialog* wizard, const QString& caption) {
    for (auto* b : wizard->findChildren<QAbstractButton*>())
        if (b->text() == caption) {
            QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, b->height() / 2));
            QVERIFY2(b->isChecked(), qPrintable(caption));
            return;
        }
    QFAIL(qPrintable("no choice " + caption));
}

// The texts of a planned page, in drawing order.
QStringList PageTexts(const TPlanPage& page) {
    QStringList texts;
    for (const TPlanItem& i : page.Items)
        if (i.Kind == TPlanItemKind::Text && !i.Text.empty())
            texts << ToQString(i.Text);
    return texts;
}

// The check box or radio button of the dialog with this caption.
QAbstractButton* DialogButtonLike(QDialog* dialog, const QString& caption) {
    for (auto* b : dialog->findChildren<QAbstractButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(20000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

namespace tessaly {

class TPrintingTest : public QObject, TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() {
        SetPrinterChooser({});
        End();
    }
    void PreviewPagesThroughTheLabelsWithTheToolBarAndKeys();
    void StartingLabelStaysOnTheSheetAndPlacesTheFirstLabel();
    void PrintingReachesThePrinterAsThePreviewShowsIt();
    void LinkedReportButtonPrintsTheStoredReport();
    void QuickReportListLinksPreviewsAndDeletes();
    void QuickReportTemplatesRenameRetypeAndFilter();
    void WizardKeepsItsSettingsAsAQuickReport();
    void PreviewKeepsItsZoomForTheNextOne();
    void DiaryPrintsThroughTheWizardAndItsQuickReports();

private:
    // Runs "&Print..." of the book, choosing the layout and all entries, then presses
    // `finish` ("Pre&view" or "&Print"); `more` chooses further options first.
    void PrintAll(TBook& book, const QString& layout, const QString& finish,
                  const std::function<void(QDialog*)>& more = {}) {
        bool seen = false;
        OnModalDialog("Print Wizard", [&](QDialog* d) {
            ChooseLayout(d, layout);
            ClickChoice(d, "&All Entries in the Address Book");
            if (more)
                more(d);
            seen = true;
            ClickDialogButton(d, finish);
        });
        QAction* print = MenuAction(book, "&Print...");
        QVERIFY(print);
        QVERIFY(print->isEnabled());
        print->trigger();
        QVERIFY(seen);
    }
    // A stored quick report "Phone numbers" of every entry on the telephone list.
    static void StoreTelephoneReport(TMainForm& frame) {
        TPrintCatalogues c(frame.Settings().StoreSettings());
        TFactoryPapers library;
        TReportLinks links = frame.Settings().ReportLinks;
        c.LoadAll(&library, "", links);
        TQReport* r = c.Reports.Create("Phone numbers");
        QVERIFY(r);
        r->LayoutNumber = c.Layouts.NumberByName("Telephone List");
        QVERIFY(r->LayoutNumber >= 0);
        r->Selection = kSelectAll;
        QVERIFY(c.SaveReports().Ok);
    }
    TPreviewDlg* WaitForPreview(TTestRun& run) {
        TPreviewDlg* preview = nullptr;
        for (int i = 0; i < 100 && !preview; ++i) {
            preview = qobject_cast<TPreviewDlg*>(run.Frame->ActiveChild());
            if (!preview)
                QTest::qWait(20);
        }
        return preview;
    }
};

void TPrintingTest::PreviewPagesThroughTheLabelsWithTheToolBarAndKeys() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 30));
    QVERIFY(book);
    PrintAll(*book, "Address Labels (A4)", "Pre&view");
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QString("Print Wizard Generated"));
    // 30 labels on sheets of 2 x 7: 14, 14 and 2.
    QCOMPARE(preview->PageCount(), 3);
    QCOMPARE(PageTexts(preview->Plan().Pages[0]).filter("Person").size(), 14);
    QVERIFY(PageTexts(preview->Plan().Pages[1]).join('\n').contains("Person15"));
    QCOMPARE(PageTexts(preview->Plan().Pages[2]).filter("Person").size(), 2);
    QTRY_COMPARE(run.Frame->ToolbarPage(), 4);

    QToolButton* first = run.Frame->ToolButton(4, "First Page");
    QToolButton* previous = run.Frame->ToolButton(4, "Previous Page");
    QToolButton* next = run.Frame->ToolButton(4, "Next Page");
    QToolButton* last = run.Frame->ToolButton(4, "Last Page");
    QVERIFY(first && previous && next && last);
    QTRY_VERIFY(!first->isEnabled());
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled() && last->isEnabled());
    auto* counter = preview->findChild<QLabel*>("PageCounter");
    QCOMPARE(counter->text(), QString("Page 1 of 3"));

    QTest::mouseClick(next, Qt::LeftButton);
    QCOMPARE(preview->CurrentPage(), 1);
    QVERIFY(first->isEnabled() && previous->isEnabled() && next->isEnabled());
    QTest::mouseClick(last, Qt::LeftButton);
    QCOMPARE(preview->CurrentPage(), 2);
    QCOMPARE(counter->text(), QString("Page 3 of 3"));
    QVERIFY(!next->isEnabled() && !last->isEnabled());
    QVERIFY(run.Frame->ToolButton(4, "Full Page")->isEnabled());
    QTest::keyClick(preview, Qt::Key_PageUp);
    QCOMPARE(preview->CurrentPage(), 1);
    QTest::keyClick(preview, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(preview->CurrentPage(), 0);
    QTest::mouseClick(previous, Qt::LeftButton); // disabled: stays
    QCOMPARE(preview->CurrentPage(), 0);

    // The page is drawn: ink where the first label's name is, white paper around it.
    auto* page = preview->findChild<QWidget*>("PreviewPage");
    QVERIFY(page);
    const QImage shot = page->grab().toImage();
    const TPlanItem* name = nullptr;
    for (const TPlanItem& i : preview->Plan().Pages[0].Items)
        if (i.Kind == TPlanItemKind::Text && i.Text == "Person01")
            name = &i;
    QVERIFY(name);
    const double perMm = page->logicalDpiX() / 25.4 * preview->Zoom();
    const QRect where(10 + int(name->Left * perMm), 10 + int(name->Top * perMm),
                      int(name->Width * perMm), int(name->Height * perMm));
    int ink = 0;
    for (int y = where.top(); y < where.bottom(); ++y)
        for (int x = where.left(); x < where.right(); ++x)
            ink += qGray(shot.pixel(x * shot.width() / page->width(),
                                    y * shot.height() / page->height())) < 128;
    QVERIFY2(ink > 10, qPrintable(QString::number(ink)));
    QCOMPARE(
        shot.pixelColor(12 * shot.width() / page->width(), 12 * shot.height() / page->height()),
        QColor(Qt::white));

    // "Full Page" from the zoom box fits the whole sheet into the window.
    auto* zoom = run.Frame->findChild<QComboBox*>("Zoom");
    QVERIFY(zoom);
    const double before = preview->Zoom();
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_End); // the last choice, "Full Page"
    QTRY_VERIFY(preview->Zoom() < before);
    auto* area = preview->findChild<QWidget*>("PreviewArea");
    QVERIFY(page->height() <= area->height());
}

void TPrintingTest::StartingLabelStaysOnTheSheetAndPlacesTheFirstLabel() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 30));
    QVERIFY(book);
    int shown = 0;
    PrintAll(*book, "Address Labels (A4)", "Pre&view", [&](QDialog* d) {
        ClickChoice(d, "Enable Prompt for &Starting Label Number");
        OnModalDialog("Label Print", [&](QDialog* skip) {
            auto* box = skip->findChild<QSpinBox*>("StartingLabel");
            QVERIFY(box);
            QTest::mouseDClick(box->findChild<QLineEdit*>(), Qt::LeftButton);
            box->findChild<QLineEdit*>()->selectAll();
            QTest::keyClicks(box->findChild<QLineEdit*>(), "20");
            ClickDialogButton(skip, "OK");
            // Above the sheet's 14 labels: the last one offered, the dialog still open.
            QVERIFY(skip->isVisible());
            QCOMPARE(box->value(), 14);
            box->findChild<QLineEdit*>()->selectAll();
            QTest::keyClicks(box->findChild<QLineEdit*>(), "0");
            ClickDialogButton(skip, "OK");
            QVERIFY(skip->isVisible());
            QCOMPARE(box->value(), 1);
            box->findChild<QLineEdit*>()->selectAll();
            QTest::keyClicks(box->findChild<QLineEdit*>(), "13");
            ++shown;
            ClickDialogButton(skip, "OK");
        });
    });
    QCOMPARE(shown, 1);
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    // Labels 13 and 14 of the first sheet (its last row), then 14 and 14.
    QCOMPARE(preview->PageCount(), 3);
    const TPlanPage& firstSheet = preview->Plan().Pages[0];
    QCOMPARE(PageTexts(firstSheet).filter("Person").size(), 2);
    for (const TPlanItem& i : firstSheet.Items)
        if (i.Kind == TPlanItemKind::Text && i.Text == "Person01")
            QVERIFY2(i.Top > 297 - 60, qPrintable(QString::number(i.Top)));
}

void TPrintingTest::PrintingReachesThePrinterAsThePreviewShowsIt() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 30));
    QVERIFY(book);
    const QString pdf = Path("printed.pdf");
    int asked = 0;
    SetPrinterChooser([&](QPrinter& printer, QWidget*) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    PrintAll(*book, "Telephone List", "&Print");
    QCOMPARE(asked, 1);
    const QString text = PdfText(pdf);
    for (const char* name : {"Person01", "Person17", "Person30"})
        QVERIFY2(text.contains(name), qPrintable(text.left(400)));
    QVERIFY(!qobject_cast<TPreviewDlg*>(run.Frame->ActiveChild()));

    // The preview prints its pages unchanged; one the designer made says why it cannot.
    PrintAll(*book, "Address Labels (A4)", "Pre&view");
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QTRY_COMPARE(run.Frame->ToolbarPage(), 4);
    QFile::remove(pdf);
    QToolButton* printButton = run.Frame->ToolButton(4, "Print the Preview Image");
    QTRY_VERIFY(printButton->isEnabled());
    QTest::mouseClick(printButton, Qt::LeftButton);
    QCOMPARE(asked, 2);
    const QString labels = PdfText(pdf);
    QVERIFY2(labels.contains("Person01") && labels.contains("Person30"), qPrintable(labels));
    QCOMPARE(labels.count('\f'), 3);

    TPrintPlan plan = preview->Plan();
    run.Frame->AddChildWindow(new TPreviewDlg(*run.Frame, plan, false));
    QTRY_VERIFY(run.Frame->ActiveChild() != preview);
    QTest::mouseClick(printButton, Qt::LeftButton);
    QCOMPARE(asked, 2);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(messages_->Requests[0].Text.startsWith(
        "The Print Facility is not available when generated from the Page Designer"));
}

void TPrintingTest::LinkedReportButtonPrintsTheStoredReport() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 5));
    QVERIFY(book);
    StoreTelephoneReport(*run.Frame);
    const QString pdf = Path("linked.pdf");
    int asked = 0;
    SetPrinterChooser([&](QPrinter& printer, QWidget*) {
        ++asked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QTRY_COMPARE(run.Frame->ToolbarPage(), 1);
    QToolButton* second = run.Frame->ToolButton(1, "Print Second Linked Quick Report");
    QVERIFY(second);
    // An unused link prints nothing.
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(asked, 0);
    run.Frame->Settings().ReportLinks[kSecondBookLink] = "Phone numbers";
    QTest::mouseClick(second, Qt::LeftButton);
    QCOMPARE(asked, 1);
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains("Person01") && text.contains("Person05"), qPrintable(text));
    QVERIFY(messages_->Requests.empty());
}

void TPrintingTest::QuickReportListLinksPreviewsAndDeletes() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 5));
    QVERIFY(book);
    StoreTelephoneReport(*run.Frame);
    const QString title = "Quick Reports for Address Book Prints";
    bool seen = false;
    OnModalDialog(title, [&](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("Reports");
        QVERIFY(list);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Phone numbers"));
        ClickDialogButton(d, "Lin&k to");
        seen = true;
        ClickDialogButton(d, "Pre&view");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(seen);
    QCOMPARE(run.Frame->Settings().ReportLinks[kSecondBookLink], std::string("Phone numbers"));
    TSettingsAccess access(*store_);
    QCOMPARE(access.ReadString("Report Links", "Link 2", ""), std::string("Phone numbers"));
    QCOMPARE(run.Frame->ToolButton(1, "Print Second Linked Quick Report")->statusTip(),
             QString("Quick Report:  Phone numbers"));
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QCOMPARE(preview->PageCount(), 1);
    QVERIFY(PageTexts(preview->Plan().Pages[0]).contains("Person05"));
    preview->SubWindow()->close();
    QTRY_VERIFY(qobject_cast<TBook*>(run.Frame->ActiveChild()));
    // Back in the book as a user comes back: a click in its list (the platform without a
    // window manager hands the activation back by hand).
    QApplication::setActiveWindow(run.Frame.get());
    QTest::mouseClick(book->ListBox()->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTRY_VERIFY(book->ListBox()->hasFocus());

    // Deleting asks first; "No" keeps the report, "Yes" removes it from the file.
    seen = false;
    OnModalDialog(title, [&](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("Reports");
        messages_->Answers = {mrNo, mrYes};
        ClickDialogButton(d, "&Delete");
        QCOMPARE(list->count(), 1);
        ClickDialogButton(d, "&Delete");
        QCOMPARE(list->count(), 0);
        QCOMPARE(messages_->Requests.size(), std::size_t(2));
        QVERIFY(messages_->Requests[0].Text.contains("Phone numbers"));
        seen = true;
        ClickDialogButton(d, "Close");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(seen);
    TPrintCatalogues after(run.Frame->Settings().StoreSettings());
    after.LoadReports();
    QCOMPARE(after.Reports.Count(), 0);
}

void TPrintingTest::QuickReportTemplatesRenameRetypeAndFilter() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 5));
    QVERIFY(book);
    StoreTelephoneReport(*run.Frame);
    run.Frame->Settings().ReportLinks[kFirstBookLink] = "Phone numbers";
    const QString title = "Quick Reports for Address Book Prints";
    bool seen = false, edited = false;
    OnModalDialog(title, [&](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("Reports");
        auto* filter = d->findChild<QComboBox*>("ReportTypes");
        QVERIFY(list && filter);
        QCOMPARE(filter->currentText(), QString("<All Address Book Reports>"));
        // Only reminder reports: the telephone list is not one.
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_Down);
        QTest::keyClick(filter, Qt::Key_Down);
        QCOMPARE(filter->currentText(), QString("Address Book Reminder Reports"));
        QCOMPARE(list->count(), 0);
        QTest::keyClick(filter, Qt::Key_Home);
        QCOMPARE(list->count(), 1);

        OnModalDialog("Quick Report Templates", [&](QDialog* q) {
            auto* name = q->findChild<QLineEdit*>("ReportName");
            auto* type = q->findChild<QComboBox*>("ReportType");
            auto* layout = q->findChild<QComboBox*>("Layout");
            auto* copies = q->findChild<QSpinBox*>("Copies");
            QVERIFY(name && type && layout && copies);
            QCOMPARE(name->text(), QString("Phone numbers"));
            QCOMPARE(layout->currentText(), QString("Telephone List"));
            // No name: refused with the reason, the dialog stays.
            name->setFocus();
            name->selectAll();
            QTest::keyClick(name, Qt::Key_Delete);
            QCOMPARE(name->text(), QString());
            ClickDialogButton(q, "OK");
            QVERIFY(q->isVisible());
            QCOMPARE(messages_->Requests.size(), std::size_t(1));
            QVERIFY(messages_->Requests[0].Text.startsWith("A Name for the Quick Report"));
            ReplaceText(name, "Reminders due");
            // A reminder report prints with a reminder layout.
            type->setFocus();
            QTest::keyClick(type, Qt::Key_Down);
            QCOMPARE(type->currentText(), QString("Address Book Reminder Reports"));
            QCOMPARE(layout->currentText(), QString("Reminder List"));
            copies->findChild<QLineEdit*>()->selectAll();
            QTest::keyClicks(copies->findChild<QLineEdit*>(), "2");
            edited = true;
            ClickDialogButton(q, "OK");
        });
        const QPoint row = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        QVERIFY(edited);
        // Still listed under its new name and type.
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("Reminders due"));
        QTest::keyClick(filter, Qt::Key_Down);
        QTest::keyClick(filter, Qt::Key_Down);
        QCOMPARE(list->count(), 1);
        seen = true;
        ClickDialogButton(d, "Close");
    });
    QTest::keyClick(book->ListBox(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(seen);
    TPrintCatalogues after(run.Frame->Settings().StoreSettings());
    after.LoadAll(nullptr, "", run.Frame->Settings().ReportLinks);
    QCOMPARE(after.Reports.Count(), 1);
    const TQReport* r = after.Reports.ByName("Reminders due");
    QVERIFY(r);
    QCOMPARE(r->Copies, 2);
    QCOMPARE(r->LayoutNumber, after.Layouts.NumberByName("Reminder List"));
    // The link followed the rename, in the settings and on its button.
    QCOMPARE(run.Frame->Settings().ReportLinks[kFirstBookLink], std::string("Reminders due"));
    TSettingsAccess access(*store_);
    QCOMPARE(access.ReadString("Report Links", "Link 1", ""), std::string("Reminders due"));
    QCOMPARE(run.Frame->ToolButton(1, "Print First Linked Quick Report")->statusTip(),
             QString("Quick Report:  Reminders due"));
}

void TPrintingTest::WizardKeepsItsSettingsAsAQuickReport() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 5));
    QVERIFY(book);
    StoreTelephoneReport(*run.Frame);
    int tries = 0;
    PrintAll(*book, "Telephone List", "Pre&view", [&](QDialog* d) {
        ClickChoice(d, "Use Specified Field to Sort Print");
        auto* keep =
            qobject_cast<QCheckBox*>(DialogButtonLike(d, "Save Settings as a \"&Quick Report\" ?"));
        QVERIFY(keep);
        QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(5, keep->height() / 2));
        auto* name = d->findChild<QLineEdit*>("QuickReportName");
        QVERIFY(name && name->isEnabled());
        // No name: a beep and the wizard stays; a name in use: the reason.
        ClickDialogButton(d, "Pre&view");
        QVERIFY(d->isVisible());
        QVERIFY(messages_->Requests.empty());
        QTest::keyClicks(name, "PHONE NUMBERS");
        ClickDialogButton(d, "Pre&view");
        QVERIFY(d->isVisible());
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QVERIFY(messages_->Requests[0].Text.contains("is Already Defined"));
        ReplaceText(name, "Sorted phones");
        auto* second = qobject_cast<QCheckBox*>(
            DialogButtonLike(d, "Link to the Second Quick Report Print Command"));
        QVERIFY(second);
        QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, second->height() / 2));
        ++tries;
    });
    QCOMPARE(tries, 1);
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QString("Sorted phones"));
    TPrintCatalogues after(run.Frame->Settings().StoreSettings());
    after.LoadReports();
    QCOMPARE(after.Reports.Count(), 2);
    const TQReport* kept = after.Reports.ByName("Sorted phones");
    QVERIFY(kept);
    QCOMPARE(kept->Selection, int(kSelectAll));
    QCOMPARE(kept->SortField, 0);
    QCOMPARE(run.Frame->Settings().ReportLinks[kSecondBookLink], std::string("Sorted phones"));
}

void TPrintingTest::PreviewKeepsItsZoomForTheNextOne() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 3));
    QVERIFY(book);
    PrintAll(*book, "Telephone List", "Pre&view");
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QCOMPARE(preview->Zoom(), 1.0);
    auto* zoom = run.Frame->findChild<QComboBox*>("Zoom");
    QVERIFY(zoom);
    QTRY_VERIFY(zoom->isVisible());
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_Down); // 100% to 80%
    QTest::keyClick(zoom, Qt::Key_Down); // 60%
    QTRY_COMPARE(preview->Zoom(), 0.6);
    TSettingsAccess access(*store_);
    QCOMPARE(access.ReadInteger("Preview", "Scale", 100), 60);
    preview->SubWindow()->close();
    QTRY_VERIFY(qobject_cast<TBook*>(run.Frame->ActiveChild()));

    PrintAll(*book, "Telephone List", "Pre&view");
    TPreviewDlg* next = WaitForPreview(run);
    QVERIFY(next);
    QCOMPARE(next->Zoom(), 0.6);
    QTRY_COMPARE(zoom->currentText(), QString("60%"));

    // A fit is kept as a fit: the next preview fits its whole sheet into its own window.
    zoom->setFocus();
    QTest::keyClick(zoom, Qt::Key_End);
    QTRY_COMPARE(access.ReadInteger("Preview", "Scale", 100), -1);
    next->SubWindow()->close();
    QTRY_VERIFY(qobject_cast<TBook*>(run.Frame->ActiveChild()));
    PrintAll(*book, "Telephone List", "Pre&view");
    TPreviewDlg* fitted = WaitForPreview(run);
    QVERIFY(fitted);
    auto* page = fitted->findChild<QWidget*>("PreviewPage");
    auto* area = fitted->findChild<QWidget*>("PreviewArea");
    QTRY_VERIFY(fitted->Zoom() < 0.6);
    QTRY_VERIFY(page->height() <= area->height());
}

void TPrintingTest::DiaryPrintsThroughTheWizardAndItsQuickReports() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    QApplication::setActiveWindow(run.Frame.get());
    QVERIFY(run.Frame->OpenDiaryFile(MakeEventDiary(Path("Plans.TDY"), 90), true, false));
    auto* diary = qobject_cast<TDiaryDlg*>(run.Frame->ActiveChild());
    QVERIFY(diary);
    QVERIFY(QTest::qWaitForWindowActive(run.Frame.get()));

    // The wizard offers only the diary's layouts and no choice of entries.
    bool seen = false;
    OnModalDialog("Print Wizard", [&](QDialog* d) {
        auto* layouts = d->findChild<QListWidget*>("Layouts");
        QVERIFY(layouts);
        QCOMPARE(layouts->count(), 1);
        QVERIFY(layouts->item(0)->text().startsWith("Diary List"));
        QVERIFY(!DialogButtonLike(d, "&All Entries in the Address Book"));
        QVERIFY(!DialogButtonLike(d, "Link to the First Quick Report Print Command"));
        auto* keep = DialogButtonLike(d, "Save Settings as a \"&Quick Report\" ?");
        QVERIFY(keep);
        QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(5, keep->height() / 2));
        QTest::keyClicks(d->findChild<QLineEdit*>("QuickReportName"), "March");
        seen = true;
        ClickDialogButton(d, "Pre&view");
    });
    QAction* print = WindowAction(*diary, "&Print...");
    QVERIFY(print && print->isEnabled());
    print->trigger();
    QVERIFY(seen);
    TPreviewDlg* preview = WaitForPreview(run);
    QVERIFY(preview);
    QCOMPARE(preview->windowTitle(), QString("March"));
    QVERIFY(preview->PageCount() >= 2);
    const QString firstPage = PageTexts(preview->Plan().Pages[0]).join('\n');
    QVERIFY2(firstPage.contains("Event01"), qPrintable(firstPage));
    QString all;
    for (const TPlanPage& p : preview->Plan().Pages)
        all += PageTexts(p).join('\n');
    QVERIFY(all.contains("Event90"));
    // Paged with the keys to the end and back.
    preview->setFocus();
    QTest::keyClick(preview, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(preview->CurrentPage(), preview->PageCount() - 1);
    QTest::keyClick(preview, Qt::Key_PageUp);
    QCOMPARE(preview->CurrentPage(), preview->PageCount() - 2);
    preview->SubWindow()->close();
    QTRY_VERIFY(qobject_cast<TDiaryDlg*>(run.Frame->ActiveChild()));
    QApplication::setActiveWindow(run.Frame.get());

    // Ctrl+P: the diary's quick reports, the one just kept among them; linked to the
    // diary's print button, which then prints it.
    seen = false;
    OnModalDialog("Quick Reports for Diary Prints", [&](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("Reports");
        auto* filter = d->findChild<QComboBox*>("ReportTypes");
        QVERIFY(list && filter);
        QCOMPARE(filter->currentText(), QString("<All Report Types>"));
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), QString("March"));
        QVERIFY(!DialogButton(d, "Lin&k to"));
        ClickDialogButton(d, "&Link to");
        seen = true;
        ClickDialogButton(d, "Close");
    });
    diary->DayList()->setFocus();
    QTest::keyClick(diary->DayList(), Qt::Key_P, Qt::ControlModifier);
    QVERIFY(seen);
    QCOMPARE(run.Frame->Settings().ReportLinks[kDiaryLink], std::string("March"));
    const QString pdf = Path("diary.pdf");
    SetPrinterChooser([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    QTRY_COMPARE(run.Frame->ToolbarPage(), 3);
    QToolButton* linked = run.Frame->ToolButton(3, "Print Linked Quick Report");
    QVERIFY(linked);
    QCOMPARE(linked->statusTip(), QString("Quick Report:  March"));
    QTest::mouseClick(linked, Qt::LeftButton);
    const QString text = PdfText(pdf);
    QVERIFY2(text.contains("Event01") && text.contains("Event90"), qPrintable(text.left(300)));
    QVERIFY(messages_->Requests.empty());
}

} // namespace tessaly

QTEST_MAIN(tessaly::TPrintingTest)
#include "printing_test.moc"
