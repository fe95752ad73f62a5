// SIGTERM while a dialog of a book or diary window is open: the dialog closes as
// Cancel would, the frame shuts down in order and every file is saved, with no crash;
// a message box does not hold the shut-down back, nor a sync round waiting on a server.

#include "app/book/book.h"
#include "app/book/entry_list_view.h"
#include "app/frame/signal_watcher.h"
#include "app/frame/single_instance.h"
#include "app/sync/server_sync.h"
#include "app/sync/sync_dlg.h"
#include "app/widgets/app_context.h"
#include "core/settings/settings_access.h"
#include "core/store/book_file.h"
#include "core/sync/sync_state.h"
#include "platform/qt_http_client.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_text.h"
#include "platform/sync_network.h"
#include "tests/app/test_support.h"
#include "tests/support/memory_settings_store.h"
#include "tests/support/silent_server.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>

using namespace tessaly;

namespace {

// Once a modal dialog is in front, raises SIGTERM and leaves the dialog open: closing
// it is the shut-down's work. A dialog still open after five seconds is rejected, so
// that a shut-down that never comes fails the test instead of hanging it.
struct TSignalInDialog {
    QString Caption;     // the dialog's caption, once one was seen
    bool Raised = false; // the signal went off
    bool TimedOut = false;

    void Arm(int tries = 500) {
        QTimer::singleShot(10, [this, tries] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                if (tries > 0)
                    Arm(tries - 1);
                return;
            }
            Caption = modal->windowTitle();
            Raised = true;
            ::raise(SIGTERM);
            QTimer::singleShot(5000, [this] {
                while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    TimedOut = true;
                    d->reject();
                }
            });
        });
    }
};

// The program's own exchanges (Qt Network), on a desktop without a secret service.
class TLoopbackSyncNetwork final : public ISyncNetwork {
public:
    std::unique_ptr<IHttpClient> MakeClient(const std::string& user,
                                            const std::string& password) override {
        THttpClientOptions options;
        options.User = user;
        options.Password = password;
        return std::make_unique<TQtHttpClient>(options);
    }
    TStoredPassword LookUpPassword(const std::string&, const std::string&) override { return {}; }
    bool StorePassword(const std::string&, const std::string&, const std::string&,
                       std::string& error) override {
        error = "no secret service";
        return false;
    }
};

} // namespace

class TSignalShutdownTest : public QObject, public TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() { End(); }
    void BookDialogClosesAndTheBookIsSaved_data();
    void BookDialogClosesAndTheBookIsSaved();
    void MessageBoxDoesNotHoldTheShutdownBack();
    void DiaryReminderDialogClosesAndTheDiaryIsSaved();
    void EditInProgressDoesNotStopTheExit();
    void SyncDialogClosesAndTheBookIsSaved();
    void SyncRoundWaitingOnAServerDoesNotHoldTheExitBack();
    void TimerRoundWaitingOnAServerDoesNotHoldTheExitBack();
    void ProgramWithAMessageAtStartEndsAtOnce();
    void ProgramWithAMessageOfAHandOverEndsAtOnce();

private:
    // The program itself, on a settings file that reopens Home.ADR.
    QProcess* StartProgram(const QStringList& args);
    // SIGTERM, then the end within a few seconds, exit code 0, and the book saved.
    void TerminateAndCheck(QProcess* program);
    QString instance_;
    // Runs `open` (which opens a dialog and returns when it closed) with the signal
    // raised inside the dialog; checks that the frame then closes.
    void ShutDownInside(TTestRun& run, const std::function<void()>& open);
};

void TSignalShutdownTest::ShutDownInside(TTestRun& run, const std::function<void()>& open) {
    TSignalWatcher watcher;
    connect(&watcher, &TSignalWatcher::TerminationRequested, run.Frame.get(),
            [&run] { run.Frame->ShutdownFromSignal(); });
    TSignalInDialog signal;
    signal.Arm();
    open();
    QVERIFY2(signal.Raised, "no dialog opened");
    QVERIFY2(!signal.TimedOut, qPrintable("the shut-down left open: " + signal.Caption));
    QTRY_VERIFY_WITH_TIMEOUT(!run.Frame->isVisible(), 5000);
    QCOMPARE(run.Frame->Children().size(), 0);
}

void TSignalShutdownTest::BookDialogClosesAndTheBookIsSaved_data() {
    QTest::addColumn<QString>("command"); // a key on the entry list, or a menu item
    QTest::addColumn<QString>("page");    // the page key pressed first, if any
    QTest::newRow("Address Book Info (Ctrl+I)") << "Ctrl+I"
                                                << "";
    QTest::newRow("Find Entry with Text (Ctrl+F)") << "Ctrl+F"
                                                   << "";
    QTest::newRow("Delete Entries (Ctrl+D)") << "Ctrl+D"
                                             << "";
    QTest::newRow("Search Address Book (F10)") << "F10"
                                               << "";
    QTest::newRow("Configure Address Book") << "Configure &Address Book..."
                                            << "";
    QTest::newRow("Select Index Keys for Entry") << "Select Index &Keys for Entry..."
                                                 << "";
    QTest::newRow("Select Address Templates") << "Select Address &Templates for Entry..."
                                              << "";
    QTest::newRow("Apply Tags to Entries") << "Apply Tags to &Entries..."
                                           << "";
    QTest::newRow("Add Reminder") << "Add Reminder..."
                                  << "";
    QTest::newRow("Add Attachment") << "&Add Attachment..."
                                    << "F9";
    QTest::newRow("Save Address Book As") << "Save &as..."
                                          << "";
}

void TSignalShutdownTest::BookDialogClosesAndTheBookIsSaved() {
    QFETCH(QString, command);
    QFETCH(QString, page);
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Home.ADR"), 3);
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    if (!page.isEmpty())
        QTest::keySequence(book->ListBox(), QKeySequence(page));
    ShutDownInside(run, [&] {
        const QKeySequence keys(command);
        if (command.contains('&') || command.endsWith("...")) {
            QAction* action = nullptr;
            for (QAction* a : book->findChildren<QAction*>())
                if (a->text() == command)
                    action = a;
            QVERIFY2(action, qPrintable(command));
            // The menu refreshes its items as it opens, as for a user.
            if (auto* menu = qobject_cast<QMenu*>(action->parent()))
                emit menu->aboutToShow();
            QVERIFY2(action->isEnabled(), qPrintable(command));
            action->trigger();
        } else {
            QTest::keySequence(book->ListBox(), keys);
        }
    });
    // The book was written as it closed (the back-up copy is made then), with its
    // entries, and the open book is recorded for the next start.
    QVERIFY(QFile::exists(Path("Home.BAK")));
    QCOMPARE(FileBytes(Path("Home.BAK")), FileBytes(path));
    TSettingsAccess settings(*store_);
    QCOMPARE(settings.ReadInteger("Opened", "Open Books", -1), 1);
}

void TSignalShutdownTest::MessageBoxDoesNotHoldTheShutdownBack() {
    messages_.reset(); // the program's own message box
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Home.ADR"), 2);
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    // The Delete key asks whether to delete the entry; the question is answered No.
    ShutDownInside(run, [&] { QTest::keyClick(book->ListBox(), Qt::Key_Delete); });
    QVERIFY(QFile::exists(Path("Home.BAK")));
    auto loaded = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(loaded.Book);
    QCOMPARE(loaded.Book->Entries.Count(), 2);
}

void TSignalShutdownTest::DiaryReminderDialogClosesAndTheDiaryIsSaved() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    const QString path = MakeDiary(Path("Days.TDY"));
    QVERIFY(run.Frame->OpenDiaryFile(path, true, false));
    TChildWindow* diary = run.Frame->ActiveChild();
    QVERIFY(diary);
    const QByteArray before = FileBytes(path);
    ShutDownInside(run, [&] {
        QAction* add = nullptr;
        for (QAction* a : diary->findChildren<QAction*>())
            if (a->text() == "&Add Event...")
                add = a;
        QVERIFY(add);
        add->trigger();
    });
    // The cancelled reminder was not added; the diary was still written at the close.
    QVERIFY(QFile::exists(Path("Days.BKD")) || FileBytes(path) != before);
    TSettingsAccess settings(*store_);
    QCOMPARE(settings.ReadInteger("Opened", "Open Diary", -1), 1);
}

void TSignalShutdownTest::EditInProgressDoesNotStopTheExit() {
    messages_.reset();
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Home.ADR"), 1);
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    QTest::keyClick(book->ListBox(), Qt::Key_U, Qt::ControlModifier);
    QVERIFY(book->UpdateInProgress());
    // The close asks "is being Updated": nobody answers, and the exit goes on.
    TSignalWatcher watcher;
    connect(&watcher, &TSignalWatcher::TerminationRequested, run.Frame.get(),
            [&run] { run.Frame->ShutdownFromSignal(); });
    ::raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!run.Frame->isVisible(), 5000);
    QCOMPARE(run.Frame->Children().size(), 0);
    QVERIFY(QFile::exists(Path("Home.BAK")));
}

void TSignalShutdownTest::SyncDialogClosesAndTheBookIsSaved() {
    TTestRun run(*store_, Path("cfg"), std::make_unique<TLoopbackSyncNetwork>());
    const QString path = MakeBook(Path("Home.ADR"), 3);
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    ShutDownInside(run, [&] {
        QAction* action = MenuAction(*book, "Synchronise with Server...");
        QVERIFY(action);
        action->trigger();
    });
    QVERIFY(QFile::exists(Path("Home.BAK")));
    QCOMPARE(FileBytes(Path("Home.BAK")), FileBytes(path));
}

// The server took the round's request and says nothing: the signal breaks the exchange
// off rather than wait minutes for the answer, and the book comes through whole.
void TSignalShutdownTest::SyncRoundWaitingOnAServerDoesNotHoldTheExitBack() {
    TTestRun run(*store_, Path("cfg"), std::make_unique<TLoopbackSyncNetwork>());
    // Gone before the run, so that a round still waiting at the end is set free.
    testing::TSilentServer server;
    QVERIFY(server.Port() > 0);
    const QString path = MakeBook(Path("Home.ADR"), 3);
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    TSignalWatcher watcher;
    connect(&watcher, &TSignalWatcher::TerminationRequested, run.Frame.get(),
            [&run] { run.Frame->ShutdownFromSignal(); });
    bool roundRan = false;
    QElapsedTimer sinceSignal;
    OnModalDialog("Synchronise with Server", [&](QDialog* d) {
        auto* dlg = qobject_cast<TSyncDlg*>(d);
        QVERIFY(dlg);
        ReplaceText(dlg->ServerField(), QString::fromStdString(server.Url("/dav/")));
        QTest::mouseClick(dlg->SyncButton(), Qt::LeftButton);
        QVERIFY(dlg->RoundRunning());
        QTest::qWait(300); // the request is out, its answer awaited
        QVERIFY(dlg->RoundRunning());
        roundRan = true;
        sinceSignal.start();
        ::raise(SIGTERM);
    });
    // A dialog the shut-down never closes fails the test rather than hang it.
    auto heldOpen = std::make_shared<bool>(false);
    QTimer::singleShot(6000, run.Frame.get(), [heldOpen] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            *heldOpen = true;
            d->done(QDialog::Rejected);
        }
    });
    QAction* action = MenuAction(*book, "Synchronise with Server...");
    QVERIFY(action);
    action->trigger();
    QVERIFY(roundRan);
    QVERIFY2(!*heldOpen, "the sync dialog held the shut-down back");
    QTRY_VERIFY_WITH_TIMEOUT(!run.Frame->isVisible(), 10000);
    QVERIFY2(sinceSignal.elapsed() < 5000, qPrintable(QString::number(sinceSignal.elapsed())));
    QCOMPARE(run.Frame->Children().size(), 0);
    QVERIFY(!run.Frame->ServerSync().AnyRunning());
    auto loaded = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(loaded.Book);
    QCOMPARE(loaded.Book->Entries.Count(), 3);
    TSettingsAccess settings(*store_);
    QCOMPARE(settings.ReadInteger("Opened", "Open Books", -1), 1);
}

// The timer's round of a book set to synchronise on its own, its window held still
// for it: the signal ends the round as well, and the window closes with the rest.
void TSignalShutdownTest::TimerRoundWaitingOnAServerDoesNotHoldTheExitBack() {
    TTestRun run(*store_, Path("cfg"), std::make_unique<TLoopbackSyncNetwork>());
    testing::TSilentServer server;
    QVERIFY(server.Port() > 0);
    const QString path = MakeBook(Path("Home.ADR"), 3);
    TSyncState state;
    state.Server = server.Url("/dav/");
    state.Collection = server.Url("/dav/ann/Home/");
    std::string why;
    QVERIFY(WriteSyncState(SyncStatePath(PathToCore(path)), state, why));
    std::string error;
    QVERIFY(run.Frame->ServerSync().Remember({PathToCore(path), "ann", true}, error));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    run.Frame->Schedule().NextServerSync = 1;
    run.Frame->TimerTick();
    QVERIFY(run.Frame->ServerSync().Running(path));
    QTest::qWait(300); // the request is out, its answer awaited
    QVERIFY(run.Frame->ServerSync().Running(path));
    QVERIFY(book->ReadOnly());
    TSignalWatcher watcher;
    connect(&watcher, &TSignalWatcher::TerminationRequested, run.Frame.get(),
            [&run] { run.Frame->ShutdownFromSignal(); });
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ::raise(SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(!run.Frame->isVisible(), 10000);
    QVERIFY2(sinceSignal.elapsed() < 5000, qPrintable(QString::number(sinceSignal.elapsed())));
    QVERIFY(!run.Frame->ServerSync().AnyRunning());
    QCOMPARE(run.Frame->Children().size(), 0);
    auto loaded = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(loaded.Book);
    QCOMPARE(loaded.Book->Entries.Count(), 3);
    TSettingsAccess settings(*store_);
    QCOMPARE(settings.ReadInteger("Opened", "Open Books", -1), 1);
}

QProcess* TSignalShutdownTest::StartProgram(const QStringList& args) {
    MakeBook(Path("Home.ADR"), 2);
    const QString settingsFile = Path("settings.conf");
    {
        QtSettingsStore store(PathToCore(settingsFile));
        TSettingsAccess a(store);
        a.WriteInteger("Opened", "Open Books", 1);
        a.WriteString("Files", "1", PathToCore(Path("Home.ADR")));
    }
    static int n = 0;
    instance_ =
        QString("tessaly-test-shutdown-%1-%2").arg(QCoreApplication::applicationPid()).arg(++n);
    auto* p = new QProcess(this);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("TESSALY_INSTANCE", instance_);
    env.insert("TESSALY_SETTINGS_FILE", settingsFile);
    env.insert("TESSALY_CONFIG_DIR", Path("cfg"));
    p->setProcessEnvironment(env);
    p->setWorkingDirectory(dir_->path());
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(TESSALY_EXECUTABLE, args);
    return p;
}

void TSignalShutdownTest::TerminateAndCheck(QProcess* program) {
    QVERIFY(program->state() != QProcess::NotRunning);
    QVERIFY(!QFile::exists(Path("Home.BAK")));
    program->terminate();
    if (!program->waitForFinished(5000)) {
        program->kill();
        program->waitForFinished();
        QFAIL("the program did not end within five seconds of SIGTERM");
    }
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 0);
    QVERIFY(QFile::exists(Path("Home.BAK")));
}

void TSignalShutdownTest::ProgramWithAMessageAtStartEndsAtOnce() {
    // The first show reopens Home.ADR, then says that the command line's book could not
    // be located: that message is open, before the main loop runs, when the signal comes.
    QProcess* program = StartProgram({"Missing.ADR"});
    QTest::qWait(3000);
    TerminateAndCheck(program);
}

void TSignalShutdownTest::ProgramWithAMessageOfAHandOverEndsAtOnce() {
    QProcess* program = StartProgram({});
    // A back-up book handed over opens locked, with a message that stays open.
    QFile::copy(MakeBook(Path("Other.ADR"), 1), Path("Other.BAK"));
    const THandOver handOver{PathToCore(Path("Other.BAK")), TFileKind::Book};
    QElapsedTimer t;
    t.start();
    while (HandOverToRunningCopy(InstanceName(instance_), handOver, 500) !=
           THandOverResult::HandedOver) {
        QVERIFY2(t.elapsed() < 20000, "the program never listened");
        QVERIFY(program->state() != QProcess::NotRunning);
        QTest::qWait(100);
    }
    QTest::qWait(1500);
    TerminateAndCheck(program);
}

QTEST_MAIN(TSignalShutdownTest)
#include "signal_shutdown_test.moc"
