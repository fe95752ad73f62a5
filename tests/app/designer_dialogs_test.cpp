// The designer's dialogs driven as a user drives them: paper setup refusing a bad
// length, paper size maintenance saving on OK and leaving the file alone on Cancel, the
// property editors' preview following the typing and OK or Cancel reaching the object,
// and the layout dialogs' checks and choices.

#include "app/designer/box_properties_dlg.h"
#include "app/designer/layout_dialogs.h"
#include "app/designer/layout_properties_dlg.h"
#include "app/designer/paper_list_dlg.h"
#include "app/designer/paper_setup_dlg.h"
#include "core/printing/catalogue_listing.h"
#include "core/printing/catalogues.h"
#include "core/printing/factory_papers.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QTreeWidget>

using namespace tessaly;

class DesignerDialogsTest : public QObject, private TProgramFixture {
    Q_OBJECT

    std::unique_ptr<TPrintCatalogues> Catalogues() {
        TStoreSettings place;
        place.ConfigDirectory = PathToCore(dir_->path());
        auto c = std::make_unique<TPrintCatalogues>(place);
        TFactoryPapers library("");
        TReportLinks links;
        c->LoadAll(&library, "", links, 44);
        return c;
    }

    static TLayoutDialogEnv Env() {
        TLayoutDialogEnv env;
        env.Printers = {"Office Laser"};
        return env;
    }

private slots:
    void init() { Begin(); }
    void cleanup() { End(); }

    void paperSetupRefusesABadWidthWithTheFocusInIt() {
        auto c = Catalogues();
        TPaper* paper = c->Papers.Create("Mine", kPaperListing, 44);
        TPaperSetupDlg dialog(nullptr, c->Papers, *paper, false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* width = dialog.findChild<QLineEdit*>("Width");
        auto* height = dialog.findChild<QLineEdit*>("Height");
        ReplaceText(width, "wide");
        ReplaceText(height, "297");
        ClickDialogButton(&dialog, "OK");
        QVERIFY(dialog.isVisible());
        QCOMPARE(QApplication::focusWidget(), width);
        QVERIFY(messages_->Requests.empty()); // a bad number only beeps
        ReplaceText(width, "210");
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Result().Width, 210.0);
        QCOMPARE(dialog.Result().Height, 297.0);
    }

    void paperSetupNamesAndFeeds() {
        auto c = Catalogues();
        TPaper* paper = c->Papers.Create("", kPaperEnvelope, 44);
        TPaperSetupDlg dialog(nullptr, c->Papers, *paper, false);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(messages_->Requests.size(), size_t(1));
        QVERIFY(messages_->Requests[0].Text.startsWith("A Name for this Paper Size must"));
        QCOMPARE(QApplication::focusWidget(), dialog.findChild<QLineEdit*>("Name"));
        ReplaceText(dialog.findChild<QLineEdit*>("Name"), ToQString(kA4ListingName));
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(messages_->Requests.size(), size_t(2));
        QVERIFY(messages_->Requests[1].Text.contains("is Already Defined"));

        // A portrait feed sets portrait; turning to landscape asks, and No turns back.
        QTest::mouseClick(dialog.findChild<QAbstractButton*>("Feed2"), Qt::LeftButton);
        auto* portrait = dialog.findChild<QAbstractButton*>("Portrait");
        QVERIFY(portrait->isChecked());
        messages_->Answers = {mrNo};
        auto* landscape = dialog.findChild<QAbstractButton*>("Landscape");
        // On the button's circle, not beyond its caption.
        QTest::mouseClick(landscape, Qt::LeftButton, {}, QPoint(8, landscape->height() / 2));
        QCOMPARE(messages_->Requests.size(), size_t(3));
        QVERIFY(messages_->Requests[2].Text.startsWith("You have selected to change the default"));
        QVERIFY(portrait->isChecked());
    }

    void paperMaintenanceCancelLeavesTheFileAndOkSaves() {
        auto c = Catalogues();
        const QString path = PathFromCore(c->PapersPath());
        const QByteArray before = FileBytes(path);
        QVERIFY(!before.isEmpty());
        const int count = c->Papers.Count();
        {
            TPaperListDlg dialog(nullptr, *c, 44);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            auto* list = dialog.findChild<QTreeWidget*>("Papers");
            QCOMPARE(list->topLevelItemCount(), count);
            messages_->Answers = {mrYes};
            ClickDialogButton(&dialog, "De&lete");
            QCOMPARE(c->Papers.Count(), count - 1);
            ClickDialogButton(&dialog, "Cancel");
        }
        QCOMPARE(c->Papers.Count(), count);
        QCOMPARE(FileBytes(path), before);

        TPaperListDlg dialog(nullptr, *c, 44);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* filter = dialog.findChild<QComboBox*>("Filter");
        filter->setFocus();
        QTest::keyClick(filter, Qt::Key_End); // "Listing Sizes"
        auto* list = dialog.findChild<QTreeWidget*>("Papers");
        QVERIFY(list->topLevelItemCount() < count);
        const QString first = list->currentItem()->text(0);
        OnModalDialog("Paper Setup", [](QDialog* setup) {
            ReplaceText(setup->findChild<QLineEdit*>("Name"), "My Copy");
            ClickDialogButton(setup, "OK");
        });
        ClickDialogButton(&dialog, "&Copy");
        QCOMPARE(c->Papers.Count(), count + 1);
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(FileBytes(path) != before);
        TPaperList read;
        const QByteArray after = FileBytes(path);
        QVERIFY(ParsePapersImage(
            std::span(reinterpret_cast<const std::uint8_t*>(after.data()), after.size()), read));
        const TPaper* copy = read.ByName("My Copy");
        QVERIFY(copy);
        QCOMPARE(copy->SystemCode, kUserPaperCode);
        QCOMPARE(ToQString(read.ByNumber(read.NumberByName(FromQString(first)))->NameText()),
                 first);
    }

    void datePreviewFollowsTypingAndOkChangesTheBox() {
        TLayoutBox box;
        box.Kind = kBoxDatePrinted;
        box.Format = "ddddd";
        TBoxEditContext context;
        context.Now = 46000.5; // 9 December 2025
        const TLayoutBox was = box;
        OnModalDialog("Date / Time Property Editor", [](QDialog* d) {
            auto* format = d->findChild<QComboBox*>("Format");
            auto* preview = d->findChild<QLabel*>("Preview");
            QCOMPARE(preview->text(), QString("09/12/2025"));
            ReplaceText(format->lineEdit(), "yyyy");
            QCOMPARE(preview->text(), QString("2025"));
            QTest::keyClicks(format->lineEdit(), " mmmm");
            QCOMPARE(preview->text(), QString("2025 December"));
            ClickDialogButton(d, "Cancel");
        });
        QVERIFY(!EditBoxProperties(nullptr, box, context));
        QCOMPARE(box, was);

        OnModalDialog("Date / Time Property Editor", [](QDialog* d) {
            ReplaceText(d->findChild<QComboBox*>("Format")->lineEdit(), "yyyy");
            auto* colour = d->findChild<QComboBox*>("BorderColour");
            colour->setFocus();
            QTest::keyClick(colour, Qt::Key_End); // White
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, box, context));
        QCOMPARE(box.Format.str(), std::string("yyyy"));
        QCOMPARE(box.PenColour, std::uint32_t(0xFFFFFF));

        // OK without a change answers that nothing changed.
        OnModalDialog("Date / Time Property Editor",
                      [](QDialog* d) { ClickDialogButton(d, "OK"); });
        QVERIFY(!EditBoxProperties(nullptr, box, context));
    }

    void pageNumberTextPictureAndMergedData() {
        TBoxEditContext context;
        TLayoutBox page;
        page.Kind = kBoxPageNumber;
        page.Format = "%.1d";
        OnModalDialog("Date / Time Property Editor", [](QDialog* d) {
            auto* digits = d->findChild<QSpinBox*>("Digits");
            digits->setFocus();
            QTest::keyClick(digits, Qt::Key_Up);
            QTest::keyClick(digits, Qt::Key_Up);
            QCOMPARE(d->findChild<QLabel*>("Preview")->text(), QString("001"));
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, page, context));
        QCOMPARE(page.Format.str(), std::string("%.3d"));

        TLayoutBox text;
        text.Kind = kBoxStaticText;
        OnModalDialog("Static Text Property Editor", [](QDialog* d) {
            auto* memo = d->findChild<QPlainTextEdit*>("Text");
            QTest::keyClicks(memo, "Private");
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, text, context));
        QCOMPARE(text.Items.At(0)->Caption.str(), std::string("Private"));

        // A picture that does not load keeps its file.
        TLayoutBox picture;
        picture.Kind = kBoxGraphic;
        const QString missing = Path("gone.png");
        OnModalDialog("Graphic Image Property Editor", [missing](QDialog* d) {
            ReplaceText(d->findChild<QLineEdit*>("PictureFile"), missing);
            QVERIFY(d->findChild<QLabel*>("Picture")->pixmap().isNull());
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, picture, context));
        QCOMPARE(PathFromCore(picture.Format.str()), missing);

        context.Fields = {{0, kBoxData, "Surname"}, {1, kBoxData, "Forename"}};
        TLayoutBox data;
        auto item = std::make_unique<TFields>();
        item->Caption = "Surname";
        data.Items.Add(std::move(item));
        OnModalDialog("Data Object Property Editor", [](QDialog* d) {
            auto* fields = d->findChild<QListWidget*>("Fields");
            QVERIFY(!DialogButton(d, "&Add")->isEnabled()); // Surname is there already
            QTest::mouseClick(fields->viewport(), Qt::LeftButton, {},
                              fields->visualItemRect(fields->item(1)).center());
            ClickDialogButton(d, "&Add");
            ClickDialogButton(d, "Move &Up");
            auto* multi = d->findChild<QAbstractButton*>("MultiLine");
            QTest::mouseClick(multi, Qt::LeftButton, {}, QPoint(8, multi->height() / 2));
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, data, context));
        QCOMPARE(data.Items.Count(), 2);
        QCOMPARE(data.Items.At(0)->Caption.str(), std::string("Forename"));
        QVERIFY(!data.Items.At(0)->SingleLine);
    }

    void returnAddressObjectEditsTheListsText() {
        Text address = "Old Lane";
        TBoxEditContext context;
        context.ReturnAddress = &address;
        TLayoutBox box;
        box.Kind = kBoxReturnAddress;
        OnModalDialog("Return Address Property Editor", [](QDialog* d) {
            auto* memo = d->findChild<QPlainTextEdit*>("ReturnAddress");
            memo->moveCursor(QTextCursor::End);
            QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(200, 5));
            QTest::keyClick(memo, Qt::Key_End);
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, "Leeds");
            ClickDialogButton(d, "OK");
        });
        QVERIFY(EditBoxProperties(nullptr, box, context));
        QCOMPARE(address.str(), std::string("Old Lane\r\nLeeds"));
    }

    void newLayoutChecksNameAndPrinterAndPreselectsTheListing() {
        auto c = Catalogues();
        const TLayoutDialogEnv env = Env();
        TLayout fresh;
        TLayoutPropertiesDlg dialog(nullptr, *c, fresh, true, env);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.windowTitle(), QString("Create New Page Layout"));
        auto* paper = dialog.findChild<QComboBox*>("Paper");
        QCOMPARE(paper->currentText(), ToQString(kA4ListingName));
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(messages_->Requests.size(), size_t(1));
        QVERIFY(messages_->Requests[0].Text.startsWith("A Name for this Page Layout must"));
        ReplaceText(dialog.findChild<QLineEdit*>("Name"), "Staff List");
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(messages_->Requests.size(), size_t(2));
        QVERIFY(messages_->Requests[1].Text.startsWith("You must Select a Printer"));
        auto* printer = dialog.findChild<QComboBox*>("Printer");
        printer->setFocus();
        QTest::keyClick(printer, Qt::Key_End);
        ClickDialogButton(&dialog, "OK");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const TLayout& made = dialog.Result();
        QCOMPARE(made.Printer.str(), std::string("Office Laser"));
        QVERIFY(made.Headers && made.Footers); // a listing has its bands
        // An envelope paper: no paper is chosen for it, and OK says so.
        auto* type = dialog.findChild<QComboBox*>("PaperType");
        dialog.show();
        type->setFocus();
        QTest::keyClick(type, Qt::Key_Home);
        QCOMPARE(paper->currentIndex(), -1);
        ClickDialogButton(&dialog, "OK");
        QVERIFY(messages_->Requests.back().Text.startsWith("A Paper Size must be selected"));
    }

    void saveAsRefusesATakenNameAndMaintenanceDeletes() {
        auto c = Catalogues();
        const TLayoutDialogEnv env = Env();
        QVERIFY(c->Layouts.Count() > 0); // the starter layouts
        const TLayout source = *c->Layouts.At(0);
        const int count = c->Layouts.Count();
        OnModalDialog("Save Page Layout As", [](QDialog* d) {
            ClickDialogButton(d, "OK"); // its own name is taken
            ReplaceText(d->findChild<QLineEdit*>("Name"), "Copy of it");
            ClickDialogButton(d, "OK");
        });
        TLayout* copy = SaveLayoutAs(nullptr, *c, source);
        QVERIFY(copy);
        QVERIFY(messages_->Requests.at(0).Text.contains("is Already Defined"));
        QCOMPARE(copy->NameText(), std::string("Copy of it"));
        QVERIFY(copy->Number != source.Number);
        QCOMPARE(copy->PaperNumber, source.PaperNumber);
        QCOMPARE(c->Layouts.Count(), count + 1);

        const int number = copy->Number;
        OnModalDialog("Page Layout Maintainance", [](QDialog* d) {
            auto* list = d->findChild<QTreeWidget*>("Layouts");
            const auto found = list->findItems("Copy of it", Qt::MatchExactly);
            QCOMPARE(found.size(), qsizetype(1));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(found[0]).center());
            ClickDialogButton(d, "&Delete");
            ClickDialogButton(d, "Close");
        });
        messages_->Answers = {mrYes};
        const TLayoutMaintenance done = MaintainLayouts(nullptr, *c, env, number);
        QVERIFY(done.Changed && done.CurrentDeleted);
        QVERIFY(!c->Layouts.Exists(number));
        QVERIFY(messages_->Requests.back().Text.startsWith("Page Layout: Copy of it"));
    }
    void editorsKeepWhatTheyCannotShowAndCancelKeepsAll() {
        // A box from a foreign file: a style and a width beyond the choices, a colour
        // of the user's own.
        TLayoutBox box;
        box.Kind = kBoxRectangle;
        box.PenStyle = 7;
        box.PenWidth = 250;
        box.BrushColour = 0x123456;
        const TLayoutBox was = box;
        TBoxEditContext context;
        OnModalDialog("Rectangle Property Editor", [](QDialog* d) {
            QCOMPARE(d->findChild<QComboBox*>("BackgroundColour")->currentText(),
                     QString("Custom"));
            ClickDialogButton(d, "OK");
        });
        QVERIFY(!EditBoxProperties(nullptr, box, context));
        QCOMPARE(box, was);
        OnModalDialog("Rectangle Property Editor", [](QDialog* d) {
            auto* style = d->findChild<QComboBox*>("BackgroundStyle");
            style->setFocus();
            QTest::keyClick(style, Qt::Key_Home); // Solid
            ClickDialogButton(d, "Cancel");
        });
        QVERIFY(!EditBoxProperties(nullptr, box, context));
        QCOMPARE(box, was);

        TLayoutList layouts;
        layouts.ReturnAddress = "Mill Lane";
        OnModalDialog("Return Address Property Editor", [](QDialog* d) {
            QTest::keyClicks(d->findChild<QPlainTextEdit*>("ReturnAddress"), "Leeds ");
            ClickDialogButton(d, "Cancel");
        });
        QVERIFY(!EditReturnAddress(nullptr, layouts));
        QCOMPARE(layouts.ReturnAddress.str(), std::string("Mill Lane"));
    }

    void customPaperCancelledIsGoneAndAnEnvelopeLayoutIsPortrait() {
        auto c = Catalogues();
        const int count = c->Papers.Count();
        const int next = c->Papers.NextNumber;
        TPaperListDlg dialog(nullptr, *c, 44);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        OnModalDialog("Paper Setup", [](QDialog* setup) { ClickDialogButton(setup, "Cancel"); });
        ClickDialogButton(&dialog, "Custo&m");
        QCOMPARE(c->Papers.Count(), count);
        QVERIFY(!c->Papers.Exists(next));
        dialog.reject();

        TLayout layout;
        layout.SetName("Envelopes");
        layout.Portrait = false;
        layout.Printer = "Office Laser";
        layout.PaperNumber = PapersOfType(c->Papers, kPaperEnvelope).at(0)->Number;
        const TLayoutDialogEnv env = Env();
        TLayoutPropertiesDlg props(nullptr, *c, layout, false, env);
        props.show();
        QVERIFY(QTest::qWaitForWindowExposed(&props));
        QCOMPARE(props.windowTitle(), QString("Page Layout Properties"));
        QVERIFY(!props.findChild<QComboBox*>("Source")->isEnabled());
        QVERIFY(!props.findChild<QAbstractButton*>("Landscape")->isEnabled());
        QCOMPARE(props.findChild<QComboBox*>("Printer")->currentText(), QString("Office Laser"));
        ClickDialogButton(&props, "OK");
        QCOMPARE(props.result(), int(QDialog::Accepted));
        QVERIFY(props.Result().Portrait);
        QVERIFY(!props.Result().Headers);
        QCOMPARE(props.Result().PageControl, int(kAutomaticPages));
    }
};

QTEST_MAIN(DesignerDialogsTest)
#include "designer_dialogs_test.moc"
