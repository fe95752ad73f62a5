// The dial dialog and the dial commands of the book window, driven with the mouse and
// the keyboard: the tabs, the number as it will be dialled, the defaults and the
// field's own options, "&Dial" only when there is something to dial, the dial buttons
// beside the telephone fields, the modem settings asked for first, and what a
// confirmed call changes (never in a locked book).

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/dial/dial_command.h"
#include "app/dial/dial_dialog.h"
#include "app/dial/modem_form.h"
#include "core/store/book_file.h"
#include "core/telephony/dialler.h"
#include "core/telephony/telephony.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tessaly;

namespace {

// Clicks a check box or radio button on its indicator (a wide button takes clicks only
// on its indicator and text).
void Tick(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

TTemplateValues WorkValues() {
    TTemplateValues v;
    v.Name = "Work";
    v.Captions[3] = "Office";
    v.Captions[4] = "Mobile";
    v.Captions[5] = "Fax";
    v.Captions[6] = "E-mail";
    v.ButtonKinds = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
    return v;
}

// A book with one entry whose "Work" address has an office and a mobile number.
QString MakeDialBook(const QString& path) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    const int t = book->Templates.AddTemplate(WorkValues());
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldSurname, "Ashdown");
    const int a = e->Addresses.AddAddress(book->Templates.TemplateId(t));
    e->Addresses.SetFieldOf(a, 3, "44 20 7946 0000");
    e->Addresses.SetFieldOf(a, 4, "07700 900123");
    e->Addresses.SetFieldOf(a, 6, "ashdown@example.org");
    book->Entries.Add(std::move(e));
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

TAddress OfficeAddress() {
    TAddress a(7);
    a.SetField(3, "44 20 7946 0000");
    a.SetField(4, "07700 900123");
    a.SetField(5, "44 20 7946 0001");
    a.SetField(6, "ashdown@example.org");
    return a;
}

TTemplate OfficeTemplate() {
    TTemplate t(7);
    for (int i = 3; i < 7; ++i)
        t.SetCaption(i, WorkValues().Captions[static_cast<std::size_t>(i)]);
    t.ButtonKinds = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
    return t;
}

TDialSettings PrefixDefaults() {
    TDialSettings s;
    s.CountryCode = "44";
    s.UsePrefix = true;
    s.DefaultPrefix = "9";
    s.Port = "COM2";
    s.Baud = "9600";
    return s;
}

void ClickTab(QTabBar* bar, int i) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(i).center());
}

void SelectAllAndType(QLineEdit* e, const QString& text) {
    e->setFocus();
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

// Runs `action` on the next modal dialog of type T once it is shown.
template <typename T> void OnModal(std::function<void(T*)> action) {
    QTimer::singleShot(0, [action] {
        for (int i = 0; i < 200; ++i) {
            if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
                action(d);
                return;
            }
            QTest::qWait(10);
        }
        qWarning("no modal dialog came up");
    });
}

class FixedLine final : public ITelephony {
public:
    bool Available() const override { return true; }
    std::string Unavailable() const override { return {}; }
    std::optional<TTranslatedNumber> Translate(const std::string& n, int) override {
        if (n.empty())
            return std::nullopt;
        return TTranslatedNumber{"+" + n, "+ " + n};
    }
    std::vector<TTelephonyDevice> DeviceNames() override { return {{0, "Softphone"}}; }
    std::string LocationName(int) override { return "United Kingdom (+44)"; }
    bool MakeCall(const std::string&, int) override { return true; }
};

} // namespace

class TDialDialogTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void TabsDefaultsAndOwnOptionsShapeTheNumber();
    void DialOnlyWithSomethingToDial();
    void ChargeAndLogFollowTheMethodAndTheLock();
    void TelephonyPageShowsTheTranslatedNumber();
    void DialButtonCallsWithTheFieldsOptionsAndRecordsTheCall();
    void DialCommandWritesBackTheEditedNumber();
    void LockedBookIsNeverChanged();
    void ModemSettingsAreAskedForFirst();

private:
    TBook* Open(TTestRun& run, const QString& path, bool readOnly = false) {
        if (!run.Frame->OpenBookFile(path, true, readOnly))
            return nullptr;
        return qobject_cast<TBook*>(run.Frame->ActiveChild());
    }
    void ConfigureModem() {
        store_->Write("Dial", "Port", "COM2");
        store_->Write("Dial", "Baud", "9600");
    }
    std::vector<std::pair<std::string, std::string>> dialled_;
    std::vector<std::string> logged_;
    int answer_ = kDialConfirmed;
};

void TDialDialogTest::init() {
    Begin();
    dialled_.clear();
    logged_.clear();
    answer_ = kDialConfirmed;
    SetDiallerRunner([this](const std::string& dial, const std::string& display, QWidget*) {
        dialled_.push_back({dial, display});
        return answer_;
    });
    SetCallLogStarter(
        [this](TBook&, TRecord&, const std::string& number) { logged_.push_back(number); });
}

void TDialDialogTest::cleanup() {
    SetDiallerRunner(nullptr);
    SetCallLogStarter(nullptr);
    End();
}

void TDialDialogTest::TabsDefaultsAndOwnOptionsShapeTheNumber() {
    TDialDlg dlg(PrefixDefaults(), OfficeAddress(), OfficeTemplate(), false, nullptr, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.windowTitle(), QString("Dial Telephone Number"));
    // Every caption shows whole, "&Telephone Number" among them.
    QCOMPARE(ClippedCaption(&dlg), QString());
    // Only the dial buttons with a number make tabs.
    QCOMPARE(dlg.TabBar()->count(), 2);
    QCOMPARE(dlg.TabBar()->tabText(0), QString("Office"));
    QCOMPARE(dlg.TabBar()->tabText(1), QString("Mobile"));
    QCOMPARE(dlg.Number()->text(), QString("44 20 7946 0000"));
    // The field uses the defaults: prefix 9, own country code taken off.
    QVERIFY(dlg.UseDefaults()->isChecked());
    QVERIFY(!dlg.Prefix()->isEnabled());
    QCOMPARE(dlg.Prepared()->text(), QString("9 20 7946 0000 "));

    // Overriding shows the field's own options: no prefix.
    Tick(dlg.Override());
    QVERIFY(dlg.Prefix()->isEnabled());
    QVERIFY(!dlg.Prefix()->isChecked());
    QCOMPARE(dlg.Prepared()->text(), QString("20 7946 0000 "));
    Tick(dlg.Prefix());
    QVERIFY(dlg.PrefixText()->isEnabled());
    SelectAllAndType(dlg.PrefixText(), "8");
    QCOMPARE(dlg.Prepared()->text(), QString("8 20 7946 0000 "));

    // The other tab keeps its own state; coming back finds the edits.
    ClickTab(dlg.TabBar(), 1);
    QCOMPARE(dlg.Number()->text(), QString("07700 900123"));
    QVERIFY(dlg.UseDefaults()->isChecked());
    QCOMPARE(dlg.Prepared()->text(), QString("9 07700 900123 "));
    ClickTab(dlg.TabBar(), 0);
    QVERIFY(dlg.Override()->isChecked());
    QCOMPARE(dlg.PrefixText()->text(), QString("8"));

    SelectAllAndType(dlg.Number(), "020-7946-0999");
    QCOMPARE(dlg.Prepared()->text(), QString("8 020 7946 0999 "));
    QTest::mouseClick(dlg.DialButton(), Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QCOMPARE(dlg.Tabs()[0].Number, std::string("020-7946-0999"));
    QVERIFY(!dlg.Tabs()[0].Options.UseDefaults);
    QCOMPARE(dlg.Tabs()[0].Options.PrefixText, std::string("8"));
    QCOMPARE(dlg.DialString(), std::string("8 020 7946 0999 "));
    QCOMPARE(dlg.NumberCalled(), std::string("02079460999")); // as the log records it
}

void TDialDialogTest::DialOnlyWithSomethingToDial() {
    TDialDlg dlg(PrefixDefaults(), OfficeAddress(), OfficeTemplate(), false, nullptr, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(dlg.DialButton()->isEnabled());
    SelectAllAndType(dlg.Number(), "reception");
    QVERIFY(!dlg.DialButton()->isEnabled());
    QCOMPARE(dlg.Prepared()->text(), QString());
    QTest::keyClicks(dlg.Number(), " 12");
    QVERIFY(dlg.DialButton()->isEnabled());

    // No dialable field: no tabs, nothing to dial.
    TAddress none(7);
    none.SetField(3, "ask at the desk");
    none.SetField(5, "44 20 7946 0001"); // no dial button
    TDialDlg empty(PrefixDefaults(), none, OfficeTemplate(), false, nullptr, nullptr);
    empty.show();
    QVERIFY(QTest::qWaitForWindowExposed(&empty));
    QCOMPARE(empty.TabBar()->count(), 0);
    QVERIFY(!empty.DialButton()->isEnabled());
    QVERIFY(!empty.Number()->isEnabled());
    QTest::keyClick(&empty, Qt::Key_Return);
    QVERIFY(empty.isVisible());
}

void TDialDialogTest::ChargeAndLogFollowTheMethodAndTheLock() {
    TDialSettings manual = PrefixDefaults();
    manual.UseModem = false;
    TDialDlg dlg(manual, OfficeAddress(), OfficeTemplate(), true, nullptr, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    Tick(dlg.Override());
    // By hand there is no charge dialling, and a locked book logs nothing.
    QVERIFY(!dlg.Charge()->isEnabled());
    QVERIFY(!dlg.Log()->isEnabled());
    QVERIFY(dlg.Prefix()->isEnabled());

    TDialDlg modem(PrefixDefaults(), OfficeAddress(), OfficeTemplate(), false, nullptr, nullptr);
    modem.show();
    QVERIFY(QTest::qWaitForWindowExposed(&modem));
    QVERIFY(!modem.Charge()->isEnabled()); // the defaults are shown
    Tick(modem.Override());
    QVERIFY(modem.Charge()->isEnabled());
    QVERIFY(modem.Log()->isEnabled());
    Tick(modem.Log());
    QVERIFY(modem.CallOptions().Log);
    Tick(modem.UseDefaults());
    QVERIFY(modem.CallOptions().Log); // "Log Calls" defaults to on
}

void TDialDialogTest::TelephonyPageShowsTheTranslatedNumber() {
    TDialSettings s = PrefixDefaults();
    s.UseTapi = true;
    s.ChargeDialling = true;
    FixedLine line;
    TDialDlg dlg(s, OfficeAddress(), OfficeTemplate(), false, &line, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(!dlg.Prefix()->isVisible());
    QVERIFY(!dlg.UseDefaults()->isVisible());
    QCOMPARE(dlg.findChild<QLabel*>("Location")->text(), QString("United Kingdom (+44)"));
    QCOMPARE(dlg.Prepared()->text(), QString("+ 44 20 7946 0000"));
    QCOMPARE(dlg.DialString(), std::string("+44 20 7946 0000"));
    QVERIFY(dlg.Log()->isChecked());
    Tick(dlg.Log());
    QVERIFY(!dlg.CallOptions().Log);
}

void TDialDialogTest::DialButtonCallsWithTheFieldsOptionsAndRecordsTheCall() {
    ConfigureModem();
    store_->Write("Dial", "Country-Code", "44");
    store_->Write("Dial", "Use Prefix", "1");
    store_->Write("Dial", "Default Prefix", "9");
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeDialBook(Path("Dial.ADR")));
    QVERIFY(book);
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    TAddressPage* page = book->AddressPage();
    QPushButton* office = page->DialButton(0);
    QVERIFY(office->isVisible());
    QVERIFY(office->isEnabled());
    QVERIFY(page->DialButton(3)->isEnabled()); // the mail button
    QCOMPARE(book->Book()->Entries.At(0)->LastCalled, TDateTime(0));

    QTest::mouseClick(office, Qt::LeftButton);
    QCOMPARE(dialled_.size(), std::size_t(1));
    QCOMPARE(dialled_[0].first, std::string("9 20 7946 0000 "));
    QCOMPARE(dialled_[0].second, std::string("9 20 7946 0000 "));
    QVERIFY(book->Book()->Entries.At(0)->LastCalled > 0);
    QCOMPARE(logged_, std::vector<std::string>{"44 20 7946 0000"});
    QVERIFY(book->Book()->Modified);

    // A cancelled call changes nothing; a mail button does not dial.
    answer_ = kDialCancelled;
    const TDateTime called = book->Book()->Entries.At(0)->LastCalled;
    QTest::mouseClick(page->DialButton(1), Qt::LeftButton);
    QCOMPARE(dialled_.size(), std::size_t(2));
    QCOMPARE(dialled_[1].first, std::string("9 07700 900123 "));
    QCOMPARE(book->Book()->Entries.At(0)->LastCalled, called);
    QCOMPARE(logged_.size(), std::size_t(1));
    QTest::mouseClick(page->DialButton(3), Qt::LeftButton);
    QCOMPARE(dialled_.size(), std::size_t(2));
}

void TDialDialogTest::DialCommandWritesBackTheEditedNumber() {
    ConfigureModem();
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeDialBook(Path("Dial.ADR")));
    QVERIFY(book);
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    book->UpdateCommandState();
    QToolButton* tool = run.Frame->ToolButton(1, "Dial Number");
    QVERIFY(tool);
    QVERIFY(tool->isEnabled());
    bool seen = false;
    QString clipped = "not seen";
    OnModal<TDialDlg>([&seen, &clipped](TDialDlg* d) {
        seen = true;
        clipped = ClippedCaption(d); // in the book window's font
        ClickTab(d->TabBar(), 1);
        SelectAllAndType(d->Number(), "07700 900999");
        QTest::mouseClick(d->DialButton(), Qt::LeftButton);
    });
    QTest::mouseClick(tool, Qt::LeftButton);
    QVERIFY(seen);
    QCOMPARE(clipped, QString());
    QCOMPARE(dialled_.size(), std::size_t(1));
    QCOMPARE(dialled_[0].first, std::string("07700 900999 "));
    const TRecord* e = book->Book()->Entries.At(0);
    QCOMPARE(e->Addresses.FieldOf(0, 4), std::string("07700 900999"));
    QCOMPARE(e->Addresses.FieldOf(0, 3), std::string("44 20 7946 0000"));
    QVERIFY(e->LastCalled > 0);
    // The page shows the number as it now is.
    QCOMPARE(book->findChild<QLineEdit*>("F_Phone2")->text(), QString("07700 900999"));
}

void TDialDialogTest::LockedBookIsNeverChanged() {
    ConfigureModem();
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeDialBook(Path("Dial.ADR")), true);
    QVERIFY(book);
    QVERIFY(book->ReadOnly());
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    OnModal<TDialDlg>([](TDialDlg* d) {
        SelectAllAndType(d->Number(), "020 0000 0000");
        QTest::mouseClick(d->DialButton(), Qt::LeftButton);
    });
    QTest::mouseClick(run.Frame->ToolButton(1, "Dial Number"), Qt::LeftButton);
    QCOMPARE(dialled_.size(), std::size_t(1));
    QCOMPARE(dialled_[0].first, std::string("020 0000 0000 "));
    const TRecord* e = book->Book()->Entries.At(0);
    QCOMPARE(e->Addresses.FieldOf(0, 3), std::string("44 20 7946 0000"));
    QCOMPARE(e->LastCalled, TDateTime(0));
    QVERIFY(logged_.empty());
    QVERIFY(!book->Book()->Modified);
}

void TDialDialogTest::ModemSettingsAreAskedForFirst() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeDialBook(Path("Dial.ADR")));
    QVERIFY(book);
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    // Cancelled: no call.
    OnModal<TModemForm>([](TModemForm* f) {
        QTest::mouseClick(f->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    });
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QVERIFY(dialled_.empty());
    QVERIFY(!store_->Read("Dial", "Port"));
    // Accepted with what the form offers: the call goes ahead.
    OnModal<TModemForm>([](TModemForm* f) {
        QCOMPARE(f->Port()->currentText(), QString("COM2"));
        QCOMPARE(f->Baud()->currentText(), QString("9600"));
        QTest::mouseClick(f->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QCOMPARE(dialled_.size(), std::size_t(1));
    QCOMPARE(store_->Read("Dial", "Port"), std::optional<std::string>("COM2"));
    QCOMPARE(store_->Read("Dial", "Baud"), std::optional<std::string>("9600"));
}

QTEST_MAIN(TDialDialogTest)
#include "dial_dialog_test.moc"
