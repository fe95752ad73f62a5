#include "app/sync/server_sync.h"

#include "app/book/book.h"
#include "core/ical/ical_calendar.h"
#include "core/sync/sync_state.h"
#include "platform/qt_text.h"

#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <exception>

namespace tessaly {

namespace {

// The client of one round: counts the exchanges, and refuses every one after a stop
// was asked for, which ends the round as a dropped connection would.
class TStoppableClient final : public IHttpClient {
public:
    TStoppableClient(IHttpClient& inner, std::atomic<bool>& stop, std::atomic<int>& exchanges)
        : inner_(inner), stop_(stop), exchanges_(exchanges) {}

    THttpResponse Send(const THttpRequest& request) override {
        if (stop_) {
            THttpResponse refused;
            refused.Error = "stopped at the user's request";
            return refused;
        }
        THttpResponse response = inner_.Send(request);
        ++exchanges_;
        return response;
    }

private:
    IHttpClient& inner_;
    std::atomic<bool>& stop_;
    std::atomic<int>& exchanges_;
};

} // namespace

QString SyncResultLine(const TSyncResult& r) {
    return QString::fromStdString(SyncResultText(r));
}

std::string RememberedServer(const QString& bookPath) {
    TSyncState state;
    std::string why;
    if (ReadSyncState(SyncStatePath(PathToCore(bookPath)), state, why) != TSyncStateRead::Read)
        return {};
    return state.Server;
}

TServerSync::TServerSync(ISyncNetwork& network, TSettingsAccess& access,
                         std::function<TStoreSettings()> storeSettings, QObject* parent)
    : QObject(parent), network_(network), access_(access),
      storeSettings_(std::move(storeSettings)) {}

TServerSync::~TServerSync() {
    StopAll();
    // The rounds' answers queued for this object are dropped with it.
    for (auto& [book, round] : rounds_) {
        round.Thread->wait();
        delete round.Thread;
    }
}

bool TServerSync::Running(const QString& book) const {
    return rounds_.count(book) != 0;
}

bool TServerSync::Start(const QString& book, const TSyncLogin& login,
                        std::function<void(const TSyncResult&)> done) {
    if (Running(book))
        return false;
    TRound round;
    round.StopFlag = std::make_shared<std::atomic<bool>>(false);
    round.Exchanges = std::make_shared<std::atomic<int>>(0);
    round.Done = std::move(done);
    TSyncOptions options;
    options.Server = login.Server;
    options.User = login.User;
    options.Settings = storeSettings_();
    options.ICalWriter = &tessaly_write_icalendar;
    const std::string path = PathToCore(book);
    ISyncNetwork* network = &network_;
    auto stop = round.StopFlag;
    auto exchanges = round.Exchanges;
    round.Thread = QThread::create([this, network, login, options, path, book, stop, exchanges] {
        TSyncResult result;
        try {
            // The client is made on this thread, which its exchanges then belong to.
            std::unique_ptr<IHttpClient> client = network->MakeClient(login.User, login.Password);
            TStoppableClient stoppable(*client, *stop, *exchanges);
            result = SyncBook(path, options, stoppable);
        } catch (const std::exception& e) {
            result.Ok = false;
            result.Failure = e.what();
        }
        // This object outlives the thread: its destructor waits for it.
        QMetaObject::invokeMethod(
            this, [this, book, result] { Finish(book, result); }, Qt::QueuedConnection);
    });
    QThread* thread = round.Thread;
    rounds_.emplace(book, std::move(round));
    thread->start();
    return true;
}

void TServerSync::Finish(const QString& book, const TSyncResult& result) {
    auto it = rounds_.find(book);
    if (it == rounds_.end())
        return;
    it->second.Thread->wait();
    delete it->second.Thread;
    std::function<void(const TSyncResult&)> done = std::move(it->second.Done);
    rounds_.erase(it);
    if (done)
        done(result);
}

void TServerSync::Stop(const QString& book) {
    if (auto it = rounds_.find(book); it != rounds_.end())
        *it->second.StopFlag = true;
}

void TServerSync::StopAll() {
    for (auto& [book, round] : rounds_)
        *round.StopFlag = true;
}

void TServerSync::BreakOffAll() {
    for (auto& [book, round] : rounds_) {
        *round.StopFlag = true;
        round.Thread->requestInterruption();
    }
}

int TServerSync::Exchanges(const QString& book) const {
    auto it = rounds_.find(book);
    return it == rounds_.end() ? 0 : it->second.Exchanges->load();
}

std::vector<TServerSyncBook> TServerSync::Books() const {
    return LoadServerSyncBooks(access_);
}

bool TServerSync::Remember(const TServerSyncBook& book, std::string& error) {
    std::vector<TServerSyncBook> books = Books();
    if (const TServerSyncBook* known = FindServerSyncBook(books, book.Path);
        known && *known == book)
        return true;
    SetServerSyncBook(books, book);
    try {
        SaveServerSyncBooks(access_, books);
    } catch (const TSettingsWriteError& e) {
        error = e.what();
        return false;
    }
    return true;
}

void TServerSync::KeepPassword(const QString& book, const std::string& password) {
    passwords_.insert(book, password);
}

std::string TServerSync::PasswordFor(const QString& book, const std::string& server,
                                     const std::string& user) {
    if (auto it = passwords_.constFind(book); it != passwords_.constEnd())
        return *it;
    if (user.empty() || server.empty())
        return {};
    const TStoredPassword stored = network_.LookUpPassword(server, user);
    return stored.Password.value_or("");
}

void TServerSync::SyncAutomaticBooks(const std::function<TBook*(const QString&)>& windowOf) {
    for (const TServerSyncBook& b : Books()) {
        const QString path = PathFromCore(b.Path);
        if (!b.Automatic || Running(path) || !QFileInfo::exists(path))
            continue;
        const std::string server = RememberedServer(path);
        if (server.empty())
            continue;
        QPointer<TBook> window = windowOf(path);
        if (window && !window->BeginServerSync(true))
            continue;
        TSyncLogin login;
        login.User = ToQString(b.User).toUtf8().toStdString();
        login.Password = PasswordFor(path, server, login.User);
        Start(path, login, [this, window, path](const TSyncResult& result) {
            if (window)
                window->EndServerSync();
            emit AutomaticRoundEnded(path, result);
        });
    }
}

} // namespace tessaly
