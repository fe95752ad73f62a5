// The serial port on a pseudo-terminal: a scripted fake modem on the master side
// answers the real port at 9600 8N1. A complete call with a re-dial on BUSY and the
// final hang-up is checked byte for byte on the modem's side; then the port's own
// rules: opening twice, closing twice, blocks of 2048 bytes, writes in order, output
// drained before closing, a vanished modem, and threads that fail to start.

#include "core/telephony/dialler.h"
#include "platform/serial_port.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_modem.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <stdexcept>
#include <system_error>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace tessaly;

namespace {

// Waits, processing events, until `done` or the time limit.
template <typename F> bool WaitFor(F done, int ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return done();
}

class Events : public IDiallerEvents {
public:
    void ScreenChanged() override {}
    void Beep() override { ++Beeps; }
    void Message(const TDialogMessage& m) override { Messages.push_back(m.Text); }
    void Finished(int r) override { Result = r; }
    int Beeps = 0;
    int Result = -1;
    std::vector<std::string> Messages;
};

// A port whose writer thread cannot be started.
class TNoWriterPort : public TComm32 {
protected:
    std::thread StartThread(std::function<void()> body) override {
        if (++starts_ == 2)
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        return TComm32::StartThread(std::move(body));
    }

private:
    int starts_ = 0;
};

} // namespace

class TSerialPortTest : public QObject {
    Q_OBJECT
private slots:
    void CompleteCallWithRedialOnBusyAt9600EightNoneOne();
    void OpeningTwiceClosingTwiceAndWrongDevices();
    void BlocksOfAtMost2048BytesInOrder();
    void WritesGoOutInOrderAndAreDrainedBeforeClosing();
    void VanishedModemRequestsHangUp();
    void ThreadThatCannotStartFailsTheOpenCleanly();
    void PortNamesAndTheLog();
};

void TSerialPortTest::CompleteCallWithRedialOnBusyAt9600EightNoneOne() {
    FakeModem modem;
    modem.Script("ATZ", "ATZ\r\r\nOK\r\n");
    modem.Script("AT DT 0123 456 ", "\r\nBU");
    modem.Script("ATH", "\r\nOK\r\n");
    modem.Start();

    TDialSettings s;
    s.Port = modem.SlavePath();
    s.Baud = "9600";
    s.Reset = "ATZ";
    s.RedialDelay = 5;
    s.ModemTimeout = 30;
    TComm32 port;
    FakeClock clock;
    Events events;
    TDialler dialler(s, &port, nullptr, clock, events);
    connect(&port, &TComm32::ReceiveData, this, [&](const QByteArray& data) {
        dialler.Received(std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    });
    connect(&port, &TComm32::RequestHangup, this, [&] { dialler.HangupRequested(); });
    // Time runs five times faster than the wall clock.
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        clock.AdvanceMs(100);
        dialler.Tick();
    });
    ticker.start(20);

    dialler.Start("0123 456 ", "0123 456 ");
    QVERIFY(port.IsOpen());
    // The engaged answer comes in two pieces.
    QVERIFY(WaitFor([&] { return modem.Heard().find("AT DT") != std::string::npos; }));
    modem.Send("SY\r\n");
    QVERIFY(WaitFor([&] { return dialler.Attempts() == 2; }));
    QCOMPARE(events.Beeps, 1);
    QVERIFY(WaitFor([&] { return dialler.Screen().OkEnabled; }));
    dialler.PressOk();
    QVERIFY(WaitFor([&] { return dialler.Done(); }));
    ticker.stop();

    QCOMPARE(events.Result, kDialConfirmed);
    QVERIFY(events.Messages.empty());
    QVERIFY(!port.IsOpen());
    QVERIFY(WaitFor([&] { return modem.Heard().ends_with("ATH\r"); }, 3000));
    QCOMPARE(QString::fromStdString(modem.Heard()),
             QString("ATZ\rAT DT 0123 456 \rAT DT 0123 456 \rATH\r"));
    const termios t = modem.SettingsAtFirstCommand();
    QCOMPARE(cfgetospeed(&t), speed_t(B9600));
    QCOMPARE(int(t.c_cflag & CSIZE), int(CS8));
    QVERIFY(!(t.c_cflag & PARENB));
    QVERIFY(!(t.c_cflag & CSTOPB));
    QVERIFY(!(t.c_lflag & (ICANON | ECHO)));
}

void TSerialPortTest::OpeningTwiceClosingTwiceAndWrongDevices() {
    FakeModem modem;
    TComm32 port;
    port.Close(); // nothing open: nothing happens
    port.CommPort = QString::fromStdString(modem.SlavePath());
    port.Open();
    QVERIFY(port.IsOpen());
    try {
        port.Open();
        QFAIL("a second open succeeded");
    } catch (const TCommsError& e) {
        QCOMPARE(QString(e.what()), QString("Already have a comm file open"));
    }
    QVERIFY(port.IsOpen());
    port.Close();
    port.Close();
    QVERIFY(!port.IsOpen());
    QVERIFY(!port.Write("AT\r"));
    // 14400 has no standard constant; the driver takes it as an arbitrary speed.
    port.BaudRate = 14400;
    port.Open();
    QVERIFY(port.IsOpen());
    port.Close();

    QTemporaryDir dir;
    const QString plain = dir.filePath("not-a-port");
    QFile f(plain);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const std::pair<QString, QString> cases[] = {
        {dir.filePath("missing"), "Error opening com port"},
        {plain, "File handle is not a comm handle. "},
        {"/dev/null", "File handle is not a comm handle. "},
    };
    for (const auto& [path, text] : cases) {
        TComm32 p;
        p.CommPort = path;
        try {
            p.Open();
            QFAIL("opened what is not a port");
        } catch (const TCommsError& e) {
            QCOMPARE(QString(e.what()), text);
        }
        QVERIFY(!p.IsOpen());
    }
}

void TSerialPortTest::BlocksOfAtMost2048BytesInOrder() {
    FakeModem modem;
    TComm32 port;
    port.CommPort = QString::fromStdString(modem.SlavePath());
    QList<QByteArray> blocks;
    connect(&port, &TComm32::ReceiveData, this, [&](const QByteArray& b) { blocks.append(b); });
    port.Open();
    std::string sent;
    for (int i = 0; i < 3000; ++i)
        sent += static_cast<char>('A' + i % 26);
    modem.Send(sent);
    QVERIFY(WaitFor([&] {
        qsizetype n = 0;
        for (const auto& b : blocks)
            n += b.size();
        return n >= 3000;
    }));
    QByteArray all;
    for (const auto& b : blocks) {
        QVERIFY(b.size() <= 2048);
        all += b;
    }
    QCOMPARE(all, QByteArray::fromStdString(sent));
    QVERIFY(blocks.size() >= 2);
    port.Close();
}

void TSerialPortTest::WritesGoOutInOrderAndAreDrainedBeforeClosing() {
    FakeModem modem;
    modem.Start();
    TComm32 port;
    port.CommPort = QString::fromStdString(modem.SlavePath());
    port.Open();
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string piece = "AT S" + std::to_string(i) + "=1\r";
        QVERIFY(port.Write(piece));
        expected += piece;
    }
    const std::string big(3000, 'x');
    QVERIFY(port.Write(big));
    expected += big;
    // Closing at once still lets everything go out first.
    port.Close();
    QVERIFY(WaitFor([&] { return modem.Heard().size() >= expected.size(); }, 5000));
    QCOMPARE(modem.Heard().size(), expected.size());
    QVERIFY(modem.Heard() == expected);
}

void TSerialPortTest::VanishedModemRequestsHangUp() {
    auto modem = std::make_unique<FakeModem>();
    TComm32 port;
    port.CommPort = QString::fromStdString(modem->SlavePath());
    QSignalSpy hangups(&port, &TComm32::RequestHangup);
    port.Open();
    modem->CloseMaster();
    QVERIFY(WaitFor([&] { return hangups.count() > 0; }, 5000));
    // Closing after the failure still joins the threads and frees the port.
    port.Close();
    QVERIFY(!port.IsOpen());
}

void TSerialPortTest::ThreadThatCannotStartFailsTheOpenCleanly() {
    FakeModem modem;
    TNoWriterPort port;
    port.CommPort = QString::fromStdString(modem.SlavePath());
    QElapsedTimer t;
    t.start();
    try {
        port.Open();
        QFAIL("opened without a writer thread");
    } catch (const TCommsError& e) {
        QCOMPARE(QString(e.what()), QString("Unable to create Write thread"));
    }
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(!port.IsOpen());
    QVERIFY(!port.Write("AT\r"));
    // The device was let go: a port that can start its threads opens it.
    TComm32 again;
    again.CommPort = port.CommPort;
    again.Open();
    QVERIFY(again.IsOpen());
    again.Close();
}

void TSerialPortTest::PortNamesAndTheLog() {
    QCOMPARE(TComm32::DevicePath("COM1"), std::string("/dev/ttyS0"));
    QCOMPARE(TComm32::DevicePath("com4"), std::string("/dev/ttyS3"));
    QCOMPARE(TComm32::DevicePath(" /dev/ttyUSB0 "), std::string("/dev/ttyUSB0"));
    QCOMPARE(TComm32::DevicePath("COM5"), std::string("COM5"));

    FakeModem modem;
    QTemporaryDir dir;
    TComm32 port;
    port.CommPort = QString::fromStdString(modem.SlavePath());
    port.CommsLogFileName = dir.filePath("comm.log");
    port.Open();
    QVERIFY(port.Write("ATZ\r"));
    port.Close();
    QFile log(port.CommsLogFileName);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromLatin1(log.readAll());
    QVERIFY(text.contains("Writing to comm port\n"));
    QVERIFY(text.contains("Stopping the Comm\n"));
    QVERIFY(text.contains("Read thread shutting down\n"));
    QVERIFY(text.contains("Write thread shutting down\n"));
}

QTEST_GUILESS_MAIN(TSerialPortTest)
#include "serial_port_test.moc"
