#pragma once
// The rounds of books with their contacts servers. Each round runs on a thread of its
// own, so that the windows stay responsive, and only one runs at a time for a book.
// A round can be stopped: its client refuses every exchange after the request, and
// the round ends as if the connection had dropped there, keeping what it had done.
// The frame's timer gives the books set up to synchronise automatically their rounds.

#include "core/settings/server_sync_books.h"
#include "core/settings/settings_access.h"
#include "core/store/store_settings.h"
#include "core/sync/book_sync.h"
#include "platform/sync_network.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QThread;

namespace tessaly {

class TBook;

struct TSyncLogin {
    std::string Server; // empty: the one the book's sync state remembers
    std::string User;
    std::string Password;
};

// "Uploaded N, downloaded N, deleted here N, deleted on the server N, conflicts N".
QString SyncResultLine(const TSyncResult& result);
// The server the book synchronised with last, empty when it never did.
std::string RememberedServer(const QString& bookPath);

class TServerSync : public QObject {
    Q_OBJECT
public:
    TServerSync(ISyncNetwork& network, TSettingsAccess& access,
                std::function<TStoreSettings()> storeSettings, QObject* parent = nullptr);
    // Stops what still runs and waits for it.
    ~TServerSync() override;

    ISyncNetwork& Network() { return network_; }
    bool Running(const QString& book) const;
    bool AnyRunning() const { return !rounds_.empty(); }
    // Starts a round of the book; `done` runs on this thread when it ended. False when
    // one runs for the book already.
    bool Start(const QString& book, const TSyncLogin& login,
               std::function<void(const TSyncResult&)> done);
    // Asks the book's round to stop before its next exchange with the server.
    void Stop(const QString& book);
    void StopAll();
    // Stops every round at once, breaking off the exchanges under way (the program is
    // ending): each round ends as if its connection had dropped, keeping what it did.
    void BreakOffAll();
    // The exchanges the book's round has had with the server so far.
    int Exchanges(const QString& book) const;

    // What the settings keep of the books synchronised from the program.
    std::vector<TServerSyncBook> Books() const;
    // Keeps the book's user and automatic flag; false with `error` when the settings
    // could not be written.
    bool Remember(const TServerSyncBook& book, std::string& error);
    // A password typed in the sync dialog, kept in memory for the automatic rounds of
    // this run (never written anywhere).
    void KeepPassword(const QString& book, const std::string& password);
    // The password for a round: the one typed this run, else the secret service's.
    std::string PasswordFor(const QString& book, const std::string& server,
                            const std::string& user);

    // The timer's round: every book set up to synchronise automatically that has a
    // server and no round running gets one. A book open in a window goes only when the
    // window can hold still for it (BeginServerSync, asking nothing), and is read
    // again after.
    // `windowOf` gives a book's open window, null when there is none.
    void SyncAutomaticBooks(const std::function<TBook*(const QString&)>& windowOf);

signals:
    // A round of the timer ended (a window's own rounds report in its dialog).
    void AutomaticRoundEnded(const QString& book, const TSyncResult& result);

private:
    struct TRound {
        QThread* Thread = nullptr;
        std::shared_ptr<std::atomic<bool>> StopFlag;
        std::shared_ptr<std::atomic<int>> Exchanges;
        std::function<void(const TSyncResult&)> Done;
    };
    void Finish(const QString& book, const TSyncResult& result);

    ISyncNetwork& network_;
    TSettingsAccess& access_;
    std::function<TStoreSettings()> storeSettings_;
    std::map<QString, TRound> rounds_;
    QHash<QString, std::string> passwords_;
};

} // namespace tessaly
