// "Synchronise with Server..." on the book window and the timer's rounds of the books
// set up to synchronise on their own, against a contacts server held in memory.

#include "app/book/book.h"
#include "app/sync/server_sync.h"
#include "app/sync/sync_dlg.h"
#include "core/store/book_file.h"
#include "core/sync/sync_state.h"
#include "platform/qt_text.h"
#include "platform/sync_network.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_dav_server.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <map>
#include <mutex>
#include <thread>

using namespace tessaly;
using testing::TFakeDavServer;

namespace {

// The program's network, answered by the server in memory; the secret service is a
// map. Clients are made on the rounds' threads.
class TFakeSyncNetwork final : public ISyncNetwork {
public:
    explicit TFakeSyncNetwork(TFakeDavServer& server) : server_(server) {}

    std::unique_ptr<IHttpClient> MakeClient(const std::string& user,
                                            const std::string& password) override {
        std::lock_guard lock(mutex_);
        logins_.push_back(user + ":" + password);
        return std::make_unique<TForward>(server_);
    }
    TStoredPassword LookUpPassword(const std::string& server, const std::string& user) override {
        TStoredPassword found;
        found.ServiceRuns = true;
        if (auto it = Stored.find(server + " " + user); it != Stored.end())
            found.Password = it->second;
        return found;
    }
    bool StorePassword(const std::string& server, const std::string& user,
                       const std::string& password, std::string&) override {
        Stored[server + " " + user] = password;
        return true;
    }
    std::vector<std::string> Logins() {
        std::lock_guard lock(mutex_);
        return logins_;
    }

    std::map<std::string, std::string> Stored; // "server user" -> password

private:
    class TForward final : public IHttpClient {
    public:
        explicit TForward(TFakeDavServer& server) : server_(server) {}
        THttpResponse Send(const THttpRequest& request) override { return server_.Send(request); }

    private:
        TFakeDavServer& server_;
    };

    TFakeDavServer& server_;
    std::mutex mutex_;
    std::vector<std::string> logins_;
};

const QString kResultPrefix = "Uploaded ";

std::size_t MembersOf(const TFakeDavServer& server, const std::string& collectionPath) {
    auto it = server.Collections.find(collectionPath);
    return it == server.Collections.end() ? 0 : it->second.Members.size();
}

const char kOtherCard[] = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:made-elsewhere-1\r\n"
                          "N:Quinn;Ada;;;\r\nFN:Ada Quinn\r\nEND:VCARD\r\n";

} // namespace

class TServerSyncTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init() {
        Begin();
        server_ = std::make_unique<TFakeDavServer>();
    }
    void cleanup() {
        End();
        server_.reset();
    }
    void AFirstSyncUploadsTheBookAndShowsTheResult();
    void TheServerAndUserAreRememberedAndTheServersCardsArrive();
    void AFailureIsShownAndTheWindowTakesChangesAgain();
    void CancelStopsTheRoundAtItsNextExchange();
    void ALockedBookCannotSync();
    void TheTimerSynchronisesTheAutomaticBooksOneRoundAtATime();

private:
    // A run whose rounds reach the server in memory; `network` is set to its network.
    std::unique_ptr<TTestRun> Run(TFakeSyncNetwork*& network) {
        auto owned = std::make_unique<TFakeSyncNetwork>(*server_);
        network = owned.get();
        return std::make_unique<TTestRun>(*store_, Path("cfg"), std::move(owned));
    }
    // Opens the sync dialog from the book's File menu and runs `act` in it.
    static void InSyncDialog(TBook& book, std::function<void(TSyncDlg*)> act) {
        bool ran = false;
        OnModalDialog("Synchronise with Server", [&](QDialog* d) {
            auto* dlg = qobject_cast<TSyncDlg*>(d);
            QVERIFY(dlg);
            ran = true;
            act(dlg);
            // A round still running when a check failed is stopped before the close.
            if (dlg->RoundRunning()) {
                QTest::mouseClick(dlg->CloseButton(), Qt::LeftButton);
                QTRY_VERIFY_WITH_TIMEOUT(!dlg->RoundRunning(), 10000);
            }
        });
        QAction* action = MenuAction(book, "Synchronise with Server...");
        QVERIFY(action);
        action->trigger();
        QVERIFY(ran);
    }
    // Clicks "Synchronise" and waits for the round's result.
    static void SyncAndWait(TSyncDlg* dlg) {
        QTest::mouseClick(dlg->SyncButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->RoundRunning(), 60000);
    }

    std::unique_ptr<TFakeDavServer> server_;
};

void TServerSyncTest::AFirstSyncUploadsTheBookAndShowsTheResult() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    TBook* book = OpenShownBook(*run, MakePeopleBook(Path("Office.ADR"), 3));
    QVERIFY(book);
    InSyncDialog(*book, [&](TSyncDlg* dlg) {
        // Never synchronised: nothing to offer, and the address is asked for first.
        QVERIFY(dlg->ServerField()->text().isEmpty());
        QCOMPARE(dlg->focusWidget(), dlg->ServerField());
        ReplaceText(dlg->ServerField(), TFakeDavServer::kOrigin);
        ReplaceText(dlg->UserField(), "ann");
        ReplaceText(dlg->PasswordField(), "s3cret");
        QTest::mouseClick(dlg->KeepPasswordBox(), Qt::LeftButton);
        QTest::mouseClick(dlg->AutomaticBox(), Qt::LeftButton);
        SyncAndWait(dlg);
        QCOMPARE(dlg->ResultLabel()->text(),
                 QString("Made the address book %1/dav/user/Office/\nUploaded 3, downloaded 0, "
                         "deleted here 0, deleted on the server 0, conflicts 0\n"
                         "Reminders in %1/dav/user/Office%20Reminders/: uploaded 0, deleted on "
                         "the server 0")
                     .arg(TFakeDavServer::kOrigin));
        QVERIFY(messages_->Requests.empty());
        // The dialog is ready for another round.
        QVERIFY(dlg->SyncButton()->isEnabled());
        QCOMPARE(dlg->CloseButton()->text(), QString("&Close"));
    });
    QCOMPARE(MembersOf(*server_, "/dav/user/Office/"), std::size_t(3));
    QCOMPARE(network->Logins(), (std::vector<std::string>{"ann:s3cret"}));
    // The server beside the book, the password in the secret service, and only the
    // user and the automatic flag in the settings.
    TSyncState state;
    std::string why;
    QCOMPARE(ReadSyncState(PathToCore(Path("Office.ADR.sync")), state, why), TSyncStateRead::Read);
    QCOMPARE(state.Server, std::string(TFakeDavServer::kOrigin));
    QCOMPARE(state.Entries.size(), std::size_t(3));
    QCOMPARE(network->Stored[std::string(TFakeDavServer::kOrigin) + " ann"], std::string("s3cret"));
    const std::vector<TServerSyncBook> books = run->Frame->ServerSync().Books();
    QCOMPARE(books.size(), std::size_t(1));
    QCOMPARE(books[0].User, std::string("ann"));
    QVERIFY(books[0].Automatic);
    for (const std::string& name : store_->ValueNames("Server Sync"))
        QVERIFY(store_->Read("Server Sync", name)->find("s3cret") == std::string::npos);
    // The window takes changes again.
    QVERIFY(!book->ReadOnly());
    QVERIFY(!book->windowTitle().contains("Synchronising"));
}

void TServerSyncTest::TheServerAndUserAreRememberedAndTheServersCardsArrive() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    TBook* book = OpenShownBook(*run, MakePeopleBook(Path("Office.ADR"), 2));
    QVERIFY(book);
    InSyncDialog(*book, [&](TSyncDlg* dlg) {
        ReplaceText(dlg->ServerField(), TFakeDavServer::kOrigin);
        ReplaceText(dlg->UserField(), "ann");
        ReplaceText(dlg->PasswordField(), "pw");
        QTest::mouseClick(dlg->KeepPasswordBox(), Qt::LeftButton);
        SyncAndWait(dlg);
    });
    // Another device adds a card; an entry changed here waits unsaved in the window.
    server_->PutDirect(std::string(TFakeDavServer::kOrigin) + "/dav/user/Office/other.vcf",
                       kOtherCard);
    book->Book()->Entries.At(0)->SetNotes("changed here");
    book->RecordChange();
    QVERIFY(book->Book()->Modified);

    InSyncDialog(*book, [&](TSyncDlg* dlg) {
        QCOMPARE(dlg->ServerField()->text(), QString(TFakeDavServer::kOrigin));
        QCOMPARE(dlg->UserField()->text(), QString("ann"));
        QCOMPARE(dlg->PasswordField()->text(), QString("pw"));
        QVERIFY(dlg->KeepPasswordBox()->isChecked());
        QVERIFY(!dlg->AutomaticBox()->isChecked());
        // Return presses "Synchronise".
        QTest::keyClick(dlg->PasswordField(), Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->RoundRunning(), 10000);
        // The change made here went up, the card made elsewhere came down.
        const QString line = dlg->ResultLabel()->text().section('\n', 0, 0);
        QVERIFY2(line.startsWith(kResultPrefix) && !line.startsWith("Uploaded 0") &&
                     line.endsWith(", downloaded 1, deleted here 0, deleted on the server 0, "
                                   "conflicts 0"),
                 qPrintable(line));
    });
    // The unsaved change was saved before the round and went up; the window shows the
    // book as the round left it.
    QVERIFY(!book->Book()->Modified);
    QStringList listed = ListedSurnames(*book);
    listed.sort();
    QCOMPARE(listed, (QStringList{"Person01", "Person02", "Quinn"}));
    QCOMPARE(network->Logins(), (std::vector<std::string>{"ann:pw", "ann:pw"}));
    bool noteUp = false;
    for (const auto& [path, card] : server_->Collections["/dav/user/Office/"].Members)
        noteUp = noteUp || card.Data.find("changed here") != std::string::npos;
    QVERIFY(noteUp);
}

void TServerSyncTest::AFailureIsShownAndTheWindowTakesChangesAgain() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    TBook* book = OpenShownBook(*run, MakePeopleBook(Path("Office.ADR"), 4));
    QVERIFY(book);
    InSyncDialog(*book, [&](TSyncDlg* dlg) {
        // Not an address: said, and nothing sent.
        ReplaceText(dlg->ServerField(), "dav.test");
        QTest::mouseClick(dlg->SyncButton(), Qt::LeftButton);
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QVERIFY(messages_->Requests[0].Text.startsWith("dav.test is not the address of a server"));
        QVERIFY(!dlg->RoundRunning());
        QCOMPARE(server_->Requests(), 0);

        // The connection goes down after the first card went up.
        ReplaceText(dlg->ServerField(), TFakeDavServer::kOrigin);
        int puts = 0;
        server_->BeforeAnswer = [this, &puts](const THttpRequest& request) {
            if (puts > 0)
                server_->DropRequest(0); // this one
            if (request.Method == "PUT")
                ++puts;
        };
        SyncAndWait(dlg);
        QCOMPARE(messages_->Requests.size(), std::size_t(2));
        const TMessageRequest& failure = messages_->Requests[1];
        QCOMPARE(failure.Kind, int(mkError));
        QVERIFY2(failure.Text.startsWith("The sync of Office.ADR stopped: "),
                 qPrintable(failure.Text));
        QVERIFY(failure.Text.contains("What was done is kept"));
        QVERIFY(dlg->ResultLabel()->text().contains(kResultPrefix));
    });
    server_->BeforeAnswer = nullptr;
    server_->CancelDrop();
    QVERIFY(!book->ReadOnly());
    QVERIFY(MenuAction(*book, "Synchronise with Server...")->isEnabled());
    // The next round finishes the work.
    InSyncDialog(*book, [&](TSyncDlg* dlg) { SyncAndWait(dlg); });
    QCOMPARE(messages_->Requests.size(), std::size_t(2));
    QCOMPARE(MembersOf(*server_, "/dav/user/Office/"), std::size_t(4));
}

void TServerSyncTest::CancelStopsTheRoundAtItsNextExchange() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    TBook* book = OpenShownBook(*run, MakePeopleBook(Path("Office.ADR"), 40));
    QVERIFY(book);
    // Each card takes a while to go up.
    server_->BeforeAnswer = [](const THttpRequest& request) {
        if (request.Method == "PUT")
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
    };
    InSyncDialog(*book, [&](TSyncDlg* dlg) {
        ReplaceText(dlg->ServerField(), TFakeDavServer::kOrigin);
        QTest::mouseClick(dlg->SyncButton(), Qt::LeftButton);
        QVERIFY(dlg->RoundRunning());
        QVERIFY(dlg->Progress()->isVisible());
        QCOMPARE(dlg->CloseButton()->text(), QString("Cancel"));
        // While the round works on the file the window takes no changes.
        QVERIFY(book->ReadOnly());
        QVERIFY(book->windowTitle().endsWith(" (Synchronising)"));
        QTRY_VERIFY_WITH_TIMEOUT(MembersOf(*server_, "/dav/user/Office/") >= 2, 10000);
        QTest::mouseClick(dlg->CloseButton(), Qt::LeftButton);
        // The dialog stays until the round has ended.
        QVERIFY(dlg->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!dlg->RoundRunning(), 10000);
        QVERIFY(dlg->isVisible());
    });
    server_->BeforeAnswer = nullptr;
    QVERIFY(MembersOf(*server_, "/dav/user/Office/") < 40);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY2(messages_->Requests[0].Text.contains("stopped at the user's request"),
             qPrintable(messages_->Requests[0].Text));
    QVERIFY(!book->ReadOnly());
    QVERIFY(!book->windowTitle().contains("Synchronising"));
}

void TServerSyncTest::ALockedBookCannotSync() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    const QString path = MakePeopleBook(Path("Locked.ADR"), 1);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
    TBook* book = OpenShownBook(*run, path);
    QVERIFY(book);
    QVERIFY(book->ReadOnly());
    QAction* action = MenuAction(*book, "Synchronise with Server...");
    QVERIFY(action);
    // The File menu offers it disabled.
    QMenu* fileMenu = nullptr;
    for (QObject* o : action->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o))
            fileMenu = m;
    QVERIFY(fileMenu);
    emit fileMenu->aboutToShow();
    QVERIFY(!action->isEnabled());
    // Reached anyway (its key), it says why and opens nothing.
    action->setEnabled(true);
    action->trigger();
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(messages_->Requests[0].Text.contains("is locked, and cannot be synchronised"));
    QCOMPARE(server_->Requests(), 0);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TServerSyncTest::TheTimerSynchronisesTheAutomaticBooksOneRoundAtATime() {
    TFakeSyncNetwork* network = nullptr;
    auto run = Run(network);
    TBook* book = OpenShownBook(*run, MakePeopleBook(Path("Office.ADR"), 2));
    QVERIFY(book);
    // A second book, not open, set up the same way by its first sync.
    TBook* other = OpenShownBook(*run, MakePeopleBook(Path("Home.ADR"), 1));
    QVERIFY(other);
    for (TBook* b : {book, other})
        InSyncDialog(*b, [&](TSyncDlg* dlg) {
            ReplaceText(dlg->ServerField(), TFakeDavServer::kOrigin);
            ReplaceText(dlg->UserField(), "ann");
            ReplaceText(dlg->PasswordField(), "typed");
            QTest::mouseClick(dlg->AutomaticBox(), Qt::LeftButton);
            SyncAndWait(dlg);
        });
    other->SubWindow()->close();
    QTRY_COMPARE(run->Frame->Children().size(), 1);

    server_->PutDirect(std::string(TFakeDavServer::kOrigin) + "/dav/user/Office/other.vcf",
                       kOtherCard);
    server_->PutDirect(std::string(TFakeDavServer::kOrigin) + "/dav/user/Home/other.vcf",
                       kOtherCard);
    // Not before the interval has passed.
    run->Frame->TimerTick();
    QTest::qWait(100);
    QCOMPARE(network->Logins().size(), std::size_t(2));

    // The interval is up: each book gets one round, however often the timer ticks
    // meanwhile; the password typed this run goes with them.
    server_->BeforeAnswer = [](const THttpRequest&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    };
    run->Frame->Schedule().NextServerSync = 1;
    run->Frame->TimerTick();
    run->Frame->Schedule().NextServerSync = 1;
    run->Frame->TimerTick();
    QVERIFY(run->Frame->ServerSync().Running(book->FilePath()));
    QVERIFY(book->ReadOnly());
    QTRY_VERIFY_WITH_TIMEOUT(!run->Frame->ServerSync().AnyRunning(), 10000);
    server_->BeforeAnswer = nullptr;
    QCOMPARE(network->Logins(),
             (std::vector<std::string>{"ann:typed", "ann:typed", "ann:typed", "ann:typed"}));
    // The open window shows the server's card; the closed book has it in its file.
    QStringList listed = ListedSurnames(*book);
    listed.sort();
    QCOMPARE(listed, (QStringList{"Person01", "Person02", "Quinn"}));
    QVERIFY(!book->ReadOnly());
    auto home = LoadBook(PathToCore(Path("Home.ADR")), TStoreSettings());
    QVERIFY(home.Book);
    QCOMPARE(home.Book->Entries.Count(), 2);
    QVERIFY(messages_->Requests.empty());

    // A window where an entry is being added is left for a later round.
    book->StartAdding();
    run->Frame->Schedule().NextServerSync = 1;
    run->Frame->TimerTick();
    QVERIFY(!run->Frame->ServerSync().Running(book->FilePath()));
    QVERIFY(run->Frame->ServerSync().Running(PathFromCore(PathToCore(Path("Home.ADR")))));
    QTRY_VERIFY_WITH_TIMEOUT(!run->Frame->ServerSync().AnyRunning(), 10000);
    book->CancelEdit();
}

QTEST_MAIN(TServerSyncTest)
#include "server_sync_test.moc"
