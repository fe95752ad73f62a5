// One running copy: a second process hands its book to the first and ends without a
// window; bad senders are dropped; SIGTERM shuts the program down in order.

#include "app/frame/single_instance.h"
#include "app/widgets/app_context.h"
#include "core/settings/settings_access.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace tessaly;

namespace {
// Waits for the end of a process that may already have ended while events ran.
bool Finished(QProcess* p, int ms = 15000) {
    return p->state() == QProcess::NotRunning || p->waitForFinished(ms);
}
} // namespace

class TSingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void SecondProcessHandsItsBookToTheRunningCopy();
    void SecondProcessWithAMissingFileOnlyRaises();
    void NoRunningCopyIsToldQuickly();
    void GarbageIsDroppedWithoutAHandOver();
    void HandedBookOpensInTheFrame();
    void TwoProgramsEndToEndAndSigtermRecordsTheOpenBook();
    void ProgramsOnTwoDisplaysEachOpenTheirOwnFile();

private:
    QProcess* Start(const QStringList& args, const QString& settingsFile,
                    const QString& display = QString());
    QString name_;
    std::unique_ptr<QTemporaryDir> dir_;
};

void TSingleInstanceTest::init() {
    static int n = 0;
    name_ = QString("tessaly-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++n);
    dir_ = std::make_unique<QTemporaryDir>();
}

QProcess* TSingleInstanceTest::Start(const QStringList& args, const QString& settingsFile,
                                     const QString& display) {
    auto* p = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!display.isEmpty())
        env.insert("DISPLAY", display);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSALY_INSTANCE", name_);
    env.insert("TESSALY_SETTINGS_FILE", settingsFile);
    env.insert("TESSALY_CONFIG_DIR", dir_->filePath("cfg"));
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(dir_->path());
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(TESSALY_EXECUTABLE, args);
    return p;
}

void TSingleInstanceTest::SecondProcessHandsItsBookToTheRunningCopy() {
    TInstanceServer server;
    QVERIFY(server.Listen(InstanceName(name_)));
    QSignalSpy spy(&server, &TInstanceServer::HandedOver);
    QDir(dir_->path()).mkdir("Books");
    MakeBook(dir_->filePath("Books/Home.ADR"));
    const QString secondSettings = dir_->filePath("second.conf");
    QProcess* second = Start({"Books/Home.ADR"}, secondSettings);
    QVERIFY(spy.wait(15000));
    QVERIFY(Finished(second));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    const auto h = spy.at(0).at(0).value<THandOver>();
    // The relative path was resolved in the second copy's folder.
    QCOMPARE(PathFromCore(h.Path), QFileInfo(dir_->filePath("Books/Home.ADR")).canonicalFilePath());
    QCOMPARE(h.Kind, TFileKind::Book);
    // The second copy ended before any frame: it never even opened its settings.
    QVERIFY(!QFile::exists(secondSettings));
}

void TSingleInstanceTest::SecondProcessWithAMissingFileOnlyRaises() {
    TInstanceServer server;
    QVERIFY(server.Listen(InstanceName(name_)));
    QSignalSpy spy(&server, &TInstanceServer::HandedOver);
    QProcess* second = Start({"Missing.ADR"}, dir_->filePath("second.conf"));
    QVERIFY(spy.wait(15000));
    QVERIFY(Finished(second));
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(spy.at(0).at(0).value<THandOver>().Path.empty());
}

void TSingleInstanceTest::NoRunningCopyIsToldQuickly() {
    QElapsedTimer t;
    t.start();
    QCOMPARE(HandOverToRunningCopy(InstanceName(name_), THandOver{}, 2000),
             THandOverResult::NoRunningCopy);
    QVERIFY(t.elapsed() < 2000);
}

void TSingleInstanceTest::GarbageIsDroppedWithoutAHandOver() {
    TInstanceServer server;
    QVERIFY(server.Listen(InstanceName(name_)));
    QSignalSpy spy(&server, &TInstanceServer::HandedOver);
    QLocalSocket socket;
    socket.connectToServer(InstanceName(name_));
    QVERIFY(socket.waitForConnected(2000));
    socket.write("GET / HTTP/1.0\r\n\r\n");
    QVERIFY(socket.waitForBytesWritten(2000));
    QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QLocalSocket::UnconnectedState, 5000);
    QCOMPARE(socket.readAll(), QByteArray());
    QCoreApplication::processEvents();
    QCOMPARE(spy.count(), 0);
    // The server still takes a proper hand-over afterwards.
    QCOMPARE(HandOverToRunningCopy(InstanceName(name_), THandOver{}, 2000),
             THandOverResult::NoAnswer);
}

void TSingleInstanceTest::HandedBookOpensInTheFrame() {
    TRecordingPresenter messages;
    MemorySettingsStore store;
    TTestRun run(store, dir_->filePath("cfg"));
    TInstanceServer server;
    QVERIFY(server.Listen(InstanceName(name_)));
    connect(&server, &TInstanceServer::HandedOver, run.Frame.get(), &TMainForm::HandOver);
    const QString book = MakeBook(dir_->filePath("Home.ADR"), 2);
    QProcess* second = Start({book}, dir_->filePath("second.conf"));
    QTRY_COMPARE_WITH_TIMEOUT(run.Frame->Children().size(), 1, 15000);
    QCOMPARE(run.Frame->Children()[0]->FilePath(), QFileInfo(book).canonicalFilePath());
    QVERIFY(Finished(second));
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(messages.Requests.empty());
}

void TSingleInstanceTest::TwoProgramsEndToEndAndSigtermRecordsTheOpenBook() {
    const QString settings = dir_->filePath("first.conf");
    QProcess* first = Start({}, settings);
    // Wait until the first copy listens.
    QElapsedTimer t;
    t.start();
    while (HandOverToRunningCopy(InstanceName(name_), THandOver{}, 500) !=
           THandOverResult::HandedOver) {
        QVERIFY2(t.elapsed() < 20000, "the first copy never listened");
        QVERIFY(first->state() != QProcess::NotRunning);
        QTest::qWait(100);
    }
    const QString book = MakeBook(dir_->filePath("Handed.ADR"), 1);
    QProcess* second = Start({"Handed.ADR"}, dir_->filePath("second.conf"));
    QVERIFY(Finished(second));
    QCOMPARE(second->exitCode(), 0);
    QTest::qWait(500);  // the first copy opens the book
    first->terminate(); // SIGTERM: the orderly shut-down
    QVERIFY(Finished(first));
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);
    QtSettingsStore store(PathToCore(settings));
    TSettingsAccess a(store);
    QCOMPARE(a.ReadInteger("Opened", "Open Books", -1), 1);
    QCOMPARE(PathFromCore(a.ReadString("Files", "1", "")), QFileInfo(book).canonicalFilePath());
    QCOMPARE(a.ReadString("Opened", "Active", ""), std::string("HANDED.ADR"));
    // The book was saved as it closed, with its back-up copy.
    QVERIFY(QFile::exists(dir_->filePath("Handed.BAK")));
}

void TSingleInstanceTest::ProgramsOnTwoDisplaysEachOpenTheirOwnFile() {
    // The offscreen platform draws nowhere, but each copy takes its display from the
    // environment as it would on a screen.
    const QString firstBook = MakeBook(dir_->filePath("First.ADR"), 1);
    const QString secondBook = MakeBook(dir_->filePath("Second.ADR"), 1);
    QProcess* first = Start({"First.ADR"}, dir_->filePath("first.conf"), ":901");
    QElapsedTimer t;
    t.start();
    // The first copy's name, as this process computes it on that display.
    struct TDisplay {
        QByteArray Was = qgetenv("DISPLAY");
        TDisplay() { qputenv("DISPLAY", ":901"); }
        ~TDisplay() { Was.isNull() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", Was); }
    } display;
    while (HandOverToRunningCopy(InstanceName(name_), THandOver{}, 500) !=
           THandOverResult::HandedOver) {
        QVERIFY2(t.elapsed() < 20000, "the first copy never listened");
        QVERIFY(first->state() != QProcess::NotRunning);
        QTest::qWait(100);
    }
    // The copy on another display does not hand its book over: it runs on its own.
    QProcess* second = Start({"Second.ADR"}, dir_->filePath("second.conf"), ":902");
    QTest::qWait(3000);
    QVERIFY2(second->state() != QProcess::NotRunning, "the second copy handed over and ended");
    for (QProcess* p : {first, second}) {
        p->terminate();
        QVERIFY(Finished(p));
        QCOMPARE(p->exitCode(), 0);
    }
    for (const auto& [settings, book] : {std::pair{QString("first.conf"), firstBook},
                                         std::pair{QString("second.conf"), secondBook}}) {
        QtSettingsStore store(PathToCore(dir_->filePath(settings)));
        TSettingsAccess a(store);
        QCOMPARE(a.ReadInteger("Opened", "Open Books", -1), 1);
        QCOMPARE(PathFromCore(a.ReadString("Files", "1", "")), QFileInfo(book).canonicalFilePath());
    }
}

QTEST_MAIN(TSingleInstanceTest)
#include "single_instance_test.moc"
#include "tests/support/memory_settings_store.h"
