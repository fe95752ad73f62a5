#include "app/frame/signal_watcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tessaly {

#ifdef Q_OS_UNIX
namespace {
int gPipe[2] = {-1, -1};

void OnSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    // Only async-signal-safe calls here.
    [[maybe_unused]] const ssize_t n = ::write(gPipe[0], &byte, 1);
}
} // namespace
#endif

TSignalWatcher::TSignalWatcher(QObject* parent) : QObject(parent) {
#ifdef Q_OS_UNIX
    if (gPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, gPipe) != 0)
        return;
    ::fcntl(gPipe[0], F_SETFL, O_NONBLOCK);
    notifier_ = new QSocketNotifier(gPipe[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(gPipe[1], &byte, 1) == 1)
            emit TerminationRequested(byte);
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
#endif
}

TSignalWatcher::~TSignalWatcher() {
#ifdef Q_OS_UNIX
    struct sigaction sa {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
#endif
}

} // namespace tessaly
