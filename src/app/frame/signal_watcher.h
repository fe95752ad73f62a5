#pragma once
// SIGTERM and SIGINT (a session logging out, `kill`, Ctrl+C) turned into a Qt signal,
// so that they run the program's orderly shut-down instead of ending it on the spot.

#include <QObject>

class QSocketNotifier;

namespace tessaly {

class TSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit TSignalWatcher(QObject* parent = nullptr);
    ~TSignalWatcher() override;

signals:
    void TerminationRequested(int signalNumber);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tessaly
