#pragma once
// One running copy per user. A second copy hands its command-line file to the running
// copy over a local socket and ends without a window; the message carries the file's
// absolute path itself (see settings/hand_over.h) and every wait has a time-out.

#include "core/frame/hand_over.h"

#include <QMetaType>
#include <QObject>

class QLocalServer;
class QLocalSocket;

namespace tessaly {

// The running copy's end: accepts hand-overs and reports each once it was
// acknowledged to the sender.
class TInstanceServer : public QObject {
    Q_OBJECT
public:
    explicit TInstanceServer(QObject* parent = nullptr);
    ~TInstanceServer() override;
    // Starts listening under the name, removing a socket left by a copy that died.
    bool Listen(const QString& name);
    QString ServerName() const;

signals:
    void HandedOver(const tessaly::THandOver& handOver);

private:
    void Accept();
    void Read(QLocalSocket* socket);
    QLocalServer* server_ = nullptr;
};

enum class THandOverResult {
    NoRunningCopy, // nobody listens: this copy becomes the running one
    HandedOver,    // the running copy took the file
    NoAnswer       // a copy listens but did not acknowledge in time
};

// The second copy's end.
THandOverResult HandOverToRunningCopy(const QString& name, const THandOver& handOver,
                                      int timeoutMs);

// The start-up check, serialised between copies starting together: hands the file to
// a running copy, or, when there is none, starts listening. Returns true when this copy
// should end now.
bool HandOverOrListen(TInstanceServer& server, const QString& name, const THandOver& handOver,
                      int timeoutMs = 5000);

} // namespace tessaly

Q_DECLARE_METATYPE(tessaly::THandOver)
