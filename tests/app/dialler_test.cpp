// The dialler dialog and the modem configuration, driven with the mouse and the
// keyboard: manual dialling, a call on a real port to a scripted modem on a
// pseudo-terminal (confirmed, cancelled with Escape, a failure answer), "&Ignore
// Time-Out", the frame's timer held off while the dialler waits, and the modem
// configuration writing what the user chose. The desktop telephony line's number
// translation and tel: hand-over too.

#include "app/dial/dial_progress_dlg.h"
#include "app/dial/modem_form.h"
#include "platform/desktop_telephony.h"
#include "platform/serial_port.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_modem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace tessaly;

namespace {

// Clicks a check box or radio button on its indicator (a wide button takes clicks only
// on its indicator and text).
void Tick(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

QString Text(QDialog& d, const char* name) {
    auto* l = d.findChild<QLabel*>(name);
    return l ? l->text() : QString("<none>");
}

// Time for the dialler runs ten times faster than the wall clock.
class FastClock {
public:
    FastClock() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Clock.AdvanceMs(100); });
        timer_.start(10);
    }
    FakeClock Clock;

private:
    QTimer timer_;
};

// Polls (processing events) until `done`, for at most `ms`.
template <typename F> bool Until(F done, int ms = 10000) {
    for (int t = 0; t < ms && !done(); t += 10)
        QTest::qWait(10);
    return done();
}

TDialSettings ModemOn(const std::string& port) {
    TDialSettings s;
    s.Port = port;
    s.Baud = "9600";
    s.Reset = "ATZ";
    s.ModemTimeout = 10;
    return s;
}

} // namespace

class TDiallerTest : public QObject {
    Q_OBJECT
private slots:
    void init() { messages_ = std::make_unique<TRecordingPresenter>(); }
    void cleanup() { messages_.reset(); }
    void ManualDialAnsweredEndsWithOne();
    void ModemCallConfirmedWithOk();
    void EscapeCancelsAndHangsUp();
    void NoDialToneIsReportedAfterTheLineIsFree();
    void IgnoreTimeOutHoldsTheCountdown();
    void FrameTimerWaitsWhileTheDiallerRuns();
    void ModemFormWritesWhatWasChosen();
    void TelephonyChoiceNeedsARegisteredHandler();
    void DesktopLineTranslatesAndHandsOverTelLinks();

private:
    std::unique_ptr<TRecordingPresenter> messages_;
};

void TDiallerTest::ManualDialAnsweredEndsWithOne() {
    TDialSettings s;
    s.UseModem = false;
    FakeModem modem;
    modem.Start();
    TComm32 port;
    TDialProgressDlg dlg(s, "0123 456 ", "9 0123 456 ", &port);
    QTimer::singleShot(0, [&] {
        QVERIFY(Until([&] { return dlg.OkButton()->isEnabled(); }));
        QCOMPARE(dlg.windowTitle(), QString("Dialler"));
        QCOMPARE(Text(dlg, "Title"), QString("Manual Dial"));
        QCOMPARE(Text(dlg, "Section"), QString("Dial the following Number:"));
        QCOMPARE(Text(dlg, "Output"), QString("9 0123 456 "));
        QCOMPARE(Text(dlg, "Status"), QString("Manual Mode"));
        QCOMPARE(dlg.OkButton()->text(), QString("Answered"));
        QVERIFY(dlg.OkButton()->hasFocus());
        QVERIFY(!dlg.IgnoreTimeOut()->isVisible());
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), kDialConfirmed);
    QVERIFY(!port.IsOpen());
    QVERIFY(modem.Heard().empty());
}

void TDiallerTest::ModemCallConfirmedWithOk() {
    FakeModem modem;
    modem.Script("ATZ", "\r\nOK\r\n");
    modem.Start();
    FastClock time;
    TComm32 port;
    TDialProgressDlg dlg(ModemOn(modem.SlavePath()), "0123 456 ", "0123 456 ", &port, nullptr,
                         time.Clock);
    QTimer::singleShot(0, [&] {
        QVERIFY(Until([&] { return Text(dlg, "Section") == "Number Being Dialled"; }));
        QVERIFY(!dlg.OkButton()->isEnabled());
        QVERIFY(dlg.IgnoreTimeOut()->isVisible());
        QVERIFY(Until([&] { return dlg.OkButton()->isEnabled(); }));
        QCOMPARE(Text(dlg, "Title"), QString("Number Dialled"));
        QCOMPARE(Text(dlg, "Output"), QString("Pick up the Telephone Receiver and Press OK"));
        QVERIFY(Text(dlg, "Status").startsWith("Time-out in "));
        QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), kDialConfirmed);
    QVERIFY(!port.IsOpen());
    QVERIFY(Until([&] { return modem.Heard().ends_with("ATH\r"); }, 3000));
    QCOMPARE(QString::fromStdString(modem.Heard()), QString("ATZ\rAT DT 0123 456 \rATH\r"));
    QVERIFY(messages_->Requests.empty());
}

void TDiallerTest::EscapeCancelsAndHangsUp() {
    FakeModem modem;
    modem.Start();
    FastClock time;
    TComm32 port;
    TDialSettings s = ModemOn(modem.SlavePath());
    s.ModemTimeout = 60;
    TDialProgressDlg dlg(s, "555 ", "555 ", &port, nullptr, time.Clock);
    QTimer::singleShot(0, [&] {
        QVERIFY(Until([&] { return Text(dlg, "Section") == "Resetting Modem"; }));
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    QCOMPARE(dlg.exec(), kDialCancelled);
    QVERIFY(Until([&] { return modem.Heard().ends_with("ATH\r"); }, 3000));
    QCOMPARE(QString::fromStdString(modem.Heard()), QString("ATZ\rATH\r"));
    QVERIFY(messages_->Requests.empty());
}

void TDiallerTest::NoDialToneIsReportedAfterTheLineIsFree() {
    FakeModem modem;
    modem.Script("ATZ", "\r\nOK\r\n");
    modem.Script("AT DT 555 ", "\r\nNO DIALTONE\r\n");
    modem.Start();
    FastClock time;
    TComm32 port;
    TDialProgressDlg dlg(ModemOn(modem.SlavePath()), "555 ", "555 ", &port, nullptr, time.Clock);
    bool openWhenShown = true;
    struct Watch : IMessagePresenter {
        TComm32* Port;
        bool* Open;
        TRecordingPresenter* Inner;
        int Present(const TMessageRequest& r) override {
            *Open = Port->IsOpen();
            return Inner->Present(r);
        }
    } watch;
    watch.Port = &port;
    watch.Open = &openWhenShown;
    watch.Inner = messages_.get();
    SetMessagePresenter(&watch);
    QCOMPARE(dlg.exec(), kDialFailed);
    SetMessagePresenter(messages_.get());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Telephone Dialling"));
    QCOMPARE(messages_->Requests[0].Text, QString("No Dialling Tone was Received from the Modem"));
    QVERIFY(!openWhenShown);
    QCOMPARE(QString::fromStdString(modem.Heard()), QString("ATZ\rAT DT 555 \rATH\r"));
}

void TDiallerTest::IgnoreTimeOutHoldsTheCountdown() {
    FakeModem modem;
    modem.Start();
    FastClock time;
    TComm32 port;
    TDialSettings s = ModemOn(modem.SlavePath());
    s.ModemTimeout = 20;
    TDialProgressDlg dlg(s, "555 ", "555 ", &port, nullptr, time.Clock);
    QString held;
    QTimer::singleShot(0, [&] {
        QVERIFY(Until([&] { return Text(dlg, "Status") == "Time-out in 18 Seconds"; }));
        Tick(dlg.IgnoreTimeOut());
        QVERIFY(dlg.IgnoreTimeOut()->isChecked());
        held = Text(dlg, "Status");
        QTest::qWait(500); // 50 seconds of the dialler's time
        QCOMPARE(Text(dlg, "Status"), held);
        QVERIFY(dlg.isVisible());
        Tick(dlg.IgnoreTimeOut());
        QVERIFY(Until([&] { return Text(dlg, "Status") == "Time-out in 10 Seconds"; }));
    });
    QCOMPARE(dlg.exec(), kDialFailed);
    QVERIFY(held.startsWith("Time-out in 1"));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Text,
             QString("The Modem did not respond within the Defined Time-out Period"));
}

void TDiallerTest::FrameTimerWaitsWhileTheDiallerRuns() {
    MemorySettingsStore store;
    QTemporaryDir dir;
    TTestRun run(store, dir.filePath("cfg"));
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    MakeBook(dir.filePath("B.ADR"), 1);
    QVERIFY(run.Frame->OpenBookFile(dir.filePath("B.ADR"), true, false));
    int scans = 0;
    run.Frame->OnReminderScan = [&scans] { ++scans; };
    FakeClock later(TDateTime(50000));
    run.Frame->SetClock(later);
    run.Frame->Schedule().NextReminderScan = 1; // long due
    TDialSettings s;
    s.UseModem = false;
    TDialProgressDlg dlg(s, "1 ", "1 ", nullptr, nullptr, SystemClock::Instance(), run.Frame.get());
    QTimer::singleShot(0, [&] {
        QVERIFY(Until([&] { return dlg.OkButton()->isEnabled(); }));
        run.Frame->TimerTick();
        run.Frame->TimerTick();
        QCOMPARE(scans, 0);
        QTest::mouseClick(dlg.CancelButton(), Qt::LeftButton);
    });
    QCOMPARE(dlg.exec(), kDialCancelled);
    run.Frame->activateWindow();
    QVERIFY(Until([&] { return QApplication::activeWindow() == run.Frame.get(); }, 2000));
    run.Frame->TimerTick();
    QCOMPARE(scans, 1);
}

void TDiallerTest::ModemFormWritesWhatWasChosen() {
    MemorySettingsStore store;
    TSettingsAccess access(store);
    QTemporaryDir dir;
    TDesktopTelephony line("44");
    line.ApplicationFolders = {dir.path().toStdString()}; // no tel: handler here
    {
        TModemForm form(access, &line);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("Modem Configuration"));
        QCOMPARE(form.Tabs()->tabText(0), QString("Modem"));
        QCOMPARE(form.Tabs()->tabText(1), QString("Auto-Dial"));
        QCOMPARE(form.Tabs()->tabText(2), QString("General"));
        QCOMPARE(form.DialUsing()->currentIndex(), int(TModemForm::kDirectModem));
        QCOMPARE(form.findChild<QLineEdit*>("Reset")->text(), QString("ATZ"));
        // Type a device path for the port, choose a speed and pulse dialling.
        form.Port()->lineEdit()->selectAll();
        QTest::keyClicks(form.Port()->lineEdit(), "/dev/ttyUSB0");
        form.Baud()->setFocus();
        QTest::keyClicks(form.Baud(), "19200");
        Tick(form.findChild<QRadioButton*>("Pulse"));
        form.TimeOut()->selectAll();
        QTest::keyClicks(form.TimeOut(), "45");
        form.Tabs()->setCurrentIndex(1);
        QVERIFY(form.RedialDelay()->isEnabled());
        Tick(form.Redial());
        QVERIFY(!form.RedialDelay()->isEnabled());
        QVERIFY(!form.PrefixText()->isEnabled());
        Tick(form.Prefix());
        QVERIFY(form.PrefixText()->isEnabled());
        QTest::keyClicks(form.PrefixText(), "9");
        QTest::mouseClick(form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }
    const TDialSettings s = LoadDialSettings(access);
    QCOMPARE(s.Port, std::string("/dev/ttyUSB0"));
    QCOMPARE(s.Baud, std::string("19200"));
    QVERIFY(s.Pulse);
    QCOMPARE(store.Read("Dial", "DialType"), std::optional<std::string>("P"));
    QCOMPARE(s.ModemTimeout, 45);
    QVERIFY(!s.Redial);
    QVERIFY(s.UsePrefix);
    QCOMPARE(s.DefaultPrefix, std::string("9"));
    QVERIFY(s.UseModem);
    QVERIFY(!s.UseTapi);

    // Opened on manual dialling, the form grows to hold the modem's settings when
    // they are chosen: every one of them shown whole.
    {
        TDialSettings manual = LoadDialSettings(access);
        manual.UseModem = false;
        SaveDialSettings(access, manual);
        TModemForm form(access, &line);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.DialUsing()->currentIndex(), int(TModemForm::kManual));
        QTest::keyClick(form.DialUsing(), Qt::Key_Up);
        QCOMPARE(form.DialUsing()->currentIndex(), int(TModemForm::kDirectModem));
        QCoreApplication::processEvents();
        QVERIFY(form.Port()->isVisible());
        QVERIFY(form.width() >= form.sizeHint().width());
        QVERIFY2(form.height() >= form.sizeHint().height(),
                 qPrintable(QString("%1 < %2").arg(form.height()).arg(form.sizeHint().height())));
        for (QWidget* w : form.findChildren<QWidget*>()) {
            // The form's own fields (the parts inside Qt's widgets size themselves).
            if (!w->isVisible() || w->isWindow() || w->objectName().isEmpty() ||
                w->objectName().startsWith("qt_"))
                continue;
            QVERIFY2(w->height() >= w->minimumSizeHint().height(), qPrintable(w->objectName()));
        }
        QTest::mouseClick(form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }

    // Manual dialling chosen with the keyboard; Cancel writes nothing.
    {
        TModemForm form(access, &line);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::keyClick(form.DialUsing(), Qt::Key_Down);
        QCOMPARE(form.DialUsing()->currentIndex(), int(TModemForm::kManual));
        QVERIFY(!form.Port()->isVisible());
        QTest::mouseClick(form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel),
                          Qt::LeftButton);
    }
    QVERIFY(LoadDialSettings(access).UseModem);
}

void TDiallerTest::TelephonyChoiceNeedsARegisteredHandler() {
    MemorySettingsStore store;
    TSettingsAccess access(store);
    QTemporaryDir dir;
    TDesktopTelephony line("44");
    line.ApplicationFolders = {dir.path().toStdString()};
    {
        TModemForm form(access, &line);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // No handler: the choice is there but cannot be taken; the choice itself says
        // why, and the methods that can be taken are not told about it.
        const QString why =
            form.DialUsing()->itemData(TModemForm::kTelephony, Qt::ToolTipRole).toString();
        QVERIFY(why.contains("telephone links"));
        auto* note = form.findChild<QLabel*>("NoLine");
        QVERIFY(!note->isVisible());
        QTest::keyClick(form.DialUsing(), Qt::Key_Down);
        QVERIFY(!note->isVisible());
        QTest::keyClick(form.DialUsing(), Qt::Key_Down);
        QVERIFY(form.DialUsing()->currentIndex() != TModemForm::kTelephony);
        QVERIFY(!note->isVisible());
    }
    QFile desktop(dir.filePath("softphone.desktop"));
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nName=Softphone\nExec=softphone %u\n"
                  "MimeType=x-scheme-handler/tel;x-scheme-handler/sip;\n");
    desktop.close();
    TModemForm form(access, &line);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // With a handler and "Use TAPI" never written, the form starts on the line.
    QCOMPARE(form.DialUsing()->currentIndex(), int(TModemForm::kTelephony));
    auto* devices = form.findChild<QComboBox*>("Device");
    QVERIFY(devices->isVisible());
    QCOMPARE(devices->count(), 1);
    QCOMPARE(devices->itemText(0), QString("Softphone"));
    QVERIFY(!form.Prefix()->isVisible());
    QVERIFY(form.findChild<QLabel*>("Location")->text().startsWith("United Kingdom"));
    QTest::mouseClick(form.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    QVERIFY(LoadDialSettings(access).UseTapi);
    QVERIFY(!LoadDialSettings(access).UseModem);
}

void TDiallerTest::DesktopLineTranslatesAndHandsOverTelLinks() {
    QTemporaryDir dir;
    QFile desktop(dir.filePath("phone.desktop"));
    QVERIFY(desktop.open(QIODevice::WriteOnly));
    desktop.write("[Desktop Entry]\nName=Phone Link\nMimeType=x-scheme-handler/tel;\n");
    desktop.close();
    TDesktopTelephony line("44");
    line.ApplicationFolders = {dir.path().toStdString()};
    std::vector<std::string> opened;
    line.OpenUrl = [&opened](const std::string& url) {
        opened.push_back(url);
        return true;
    };
    QVERIFY(line.Available());
    QCOMPARE(line.Region(), std::string("GB"));
    const auto t = line.Translate("020 7946 0000", 0);
    QVERIFY(t.has_value());
    QCOMPARE(t->Dialable, std::string("+442079460000"));
    QCOMPARE(t->Displayable, std::string("+44 20 7946 0000"));
    // A number with its own country code stays in that country.
    const auto abroad = line.Translate("+33 1 23 45 67 89", 0);
    QVERIFY(abroad.has_value());
    QCOMPARE(abroad->Dialable, std::string("+33123456789"));
    QVERIFY(!line.Translate("reception", 0).has_value());
    QVERIFY(line.MakeCall(t->Dialable, 0));
    QCOMPARE(opened, std::vector<std::string>{"tel:+442079460000"});
    QVERIFY(!line.MakeCall("", 0));
}

QTEST_MAIN(TDiallerTest)
#include "dialler_test.moc"
