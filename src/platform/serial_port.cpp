#include "platform/serial_port.h"

#include "platform/qt_text.h"
#include "platform/serial_speed.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace tessaly {

namespace {

constexpr std::size_t kReadBlock = 2048;
constexpr auto kStartLimit = std::chrono::seconds(10);
constexpr auto kDrainLimit = std::chrono::seconds(3);

} // namespace

TComm32::TComm32(QObject* parent) : QObject(parent) {}

TComm32::~TComm32() {
    Close();
}

std::string TComm32::DevicePath(const QString& port) {
    const QString p = port.trimmed();
    for (int i = 1; i <= 4; ++i)
        if (p.compare(QString("COM%1").arg(i), Qt::CaseInsensitive) == 0)
            return "/dev/ttyS" + std::to_string(i - 1);
    return PathToCore(p);
}

std::thread TComm32::StartThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

void TComm32::Open(const TPortSettings& s) {
    CommPort = ToQString(s.Port);
    BaudRate = s.BaudRate;
    ByteSize = s.ByteSize;
    Parity = s.Parity;
    StopBits = s.StopBits;
    Open();
}

void TComm32::Open() {
    if (fd_ >= 0)
        throw TCommsError("Already have a comm file open");
    if (!CommsLogFileName.isEmpty()) {
        std::lock_guard lock(logMutex_);
        log_ = std::fopen(PathToCore(CommsLogFileName).c_str(), "w");
    }
    const std::string path = DevicePath(CommPort);
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        LogError("Error opening com port", errno);
        CloseHandles();
        throw TCommsError("Error opening com port");
    }
    if (!isatty(fd)) {
        ::close(fd);
        CloseHandles();
        throw TCommsError("File handle is not a comm handle. ");
    }
    // Not shared: no other process may open the device while we hold it.
    ioctl(fd, TIOCEXCL);

    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        LogError("Unable to read the port's settings: ", errno);
        ::close(fd);
        CloseHandles();
        throw TCommsError("Error opening com port");
    }
    // The modem's answers are taken as they come: no line editing, echo or translation.
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    switch (ByteSize) {
    case 5:
        t.c_cflag |= CS5;
        break;
    case 6:
        t.c_cflag |= CS6;
        break;
    case 7:
        t.c_cflag |= CS7;
        break;
    default:
        t.c_cflag |= CS8;
        break;
    }
    switch (Parity) {
    case TParity::None:
        break;
    case TParity::Odd:
        t.c_cflag |= PARENB | PARODD;
        break;
    case TParity::Even:
        t.c_cflag |= PARENB;
        break;
    case TParity::Mark:
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case TParity::Space:
        t.c_cflag |= PARENB | CMSPAR;
        break;
    }
    if (Parity != TParity::None)
        t.c_iflag |= INPCK;
    // One and a half stop bits exist only for five data bits; the terminal driver offers
    // one or two.
    if (StopBits != TStopBits::One)
        t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const bool standard = SetStandardSpeed(t, BaudRate);
    if (tcsetattr(fd, TCSANOW, &t) != 0 || (!standard && !SetCustomSpeed(fd, BaudRate))) {
        LogError("Unable to set the port's settings: ", errno);
        ::close(fd);
        CloseHandles();
        throw TCommsError("Error opening com port");
    }

    if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        LogError("Unable to CreateEvent: ", errno);
        ::close(fd);
        wake_[0] = wake_[1] = -1;
        CloseHandles();
        return; // the port stays closed
    }
    fd_ = fd;
    {
        std::lock_guard lock(mutex_);
        closing_ = false;
        writing_ = false;
        readerReady_ = writerReady_ = false;
        queue_.clear();
    }
    haveCounts_ = false;

    try {
        reader_ = StartThread([this] { ReadLoop(); });
    } catch (const std::exception& e) {
        Log(std::string("Unable to create Read thread: ") + e.what());
        StopThreads();
        CloseHandles();
        throw TCommsError("Unable to create Read thread");
    }
    try {
        writerAlive_ = true;
        writer_ = StartThread([this] { WriteLoop(); });
    } catch (const std::exception& e) {
        writerAlive_ = false;
        Log(std::string("Unable to create Write thread: ") + e.what());
        StopThreads();
        CloseHandles();
        throw TCommsError("Unable to create Write thread");
    }
    // Both threads report ready as their first act; a system too busy to run them in
    // time fails the open rather than hanging it.
    std::unique_lock lock(mutex_);
    const bool up =
        changed_.wait_for(lock, kStartLimit, [this] { return readerReady_ && writerReady_; });
    lock.unlock();
    if (!up) {
        StopThreads();
        CloseHandles();
        throw TCommsError("Unable to start the port's threads");
    }
}

bool TComm32::Write(std::string_view bytes) {
    if (fd_ < 0 || !writerAlive_) {
        Log("Write thread not created");
        return false;
    }
    {
        std::lock_guard lock(mutex_);
        if (closing_)
            return false;
        queue_.emplace_back(bytes);
    }
    changed_.notify_all();
    return true;
}

void TComm32::Close() {
    if (fd_ < 0)
        return;
    Log("Stopping the Comm");
    const bool drained = DrainOutput();
    StopThreads();
    // Input still unread is dropped; output is dropped only when it would not go out
    // in time (a modem that stopped taking bytes).
    tcflush(fd_, drained ? TCIFLUSH : TCIOFLUSH);
    CloseHandles();
}

// Waits (a little) until the writer has written everything queued and the device has
// sent it, so that a last command is not purged on its way out.
bool TComm32::DrainOutput() {
    const auto until = std::chrono::steady_clock::now() + kDrainLimit;
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_until(lock, until,
                                 [this] { return (queue_.empty() && !writing_) || !writerAlive_; }))
            return false;
    }
    while (std::chrono::steady_clock::now() < until) {
        int pending = 0;
        if (ioctl(fd_, TIOCOUTQ, &pending) != 0 || pending <= 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void TComm32::StopThreads() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    if (wake_[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] auto n = ::write(wake_[1], &c, 1);
    }
    // Every wait of both threads includes the wake-up pipe or the closing flag, so
    // both end promptly.
    if (reader_.joinable())
        reader_.join();
    if (writer_.joinable())
        writer_.join();
    writerAlive_ = false;
}

void TComm32::CloseHandles() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    for (int& p : wake_) {
        if (p >= 0)
            ::close(p);
        p = -1;
    }
    std::lock_guard lock(logMutex_);
    if (log_) {
        std::fclose(log_);
        log_ = nullptr;
    }
}

// ---- reader ----------------------------------------------------------------------------

void TComm32::Deliver(const char* data, std::size_t n) {
    if (n == 0)
        return;
    emit ReceiveData(QByteArray(data, static_cast<qsizetype>(n)));
}

// Line errors as the driver counts them (real serial ports only).
void TComm32::CheckLineErrors() {
    serial_icounter_struct c{};
    if (ioctl(fd_, TIOCGICOUNT, &c) != 0)
        return;
    if (!haveCounts_) {
        haveCounts_ = true;
    } else {
        unsigned bits = 0;
        if (c.frame != lastFrame_)
            bits |= kLineErrorFrame;
        if (c.overrun != lastOverrun_ || c.buf_overrun != 0)
            bits |= kLineErrorOverrun;
        if (c.parity != lastParity_)
            bits |= kLineErrorParity;
        if (bits) {
            const std::string text = LineErrorText(bits);
            Log(text);
            Deliver(text.data(), text.size());
        }
    }
    lastFrame_ = c.frame;
    lastOverrun_ = c.overrun;
    lastParity_ = c.parity;
}

void TComm32::ReadLoop() {
    {
        std::lock_guard lock(mutex_);
        readerReady_ = true;
    }
    changed_.notify_all();
    CheckLineErrors();
    char buffer[kReadBlock];
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    while (true) {
        const int r = poll(fds, 2, -1);
        if (r < 0) {
            if (errno == EINTR)
                continue;
            LogError("Read WAIT_FAILED: ", errno);
            emit RequestHangup();
            break;
        }
        if (fds[1].revents) {
            Log("Time to Exit");
            break;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t n = ::read(fd_, buffer, sizeof buffer);
            if (n > 0) {
                Deliver(buffer, static_cast<std::size_t>(n));
                CheckLineErrors();
                continue;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            LogError("Unable to HandleReadEvent: ", n < 0 ? errno : EIO);
            emit RequestHangup();
            break;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            Log("The device has gone: requesting hang-up");
            emit RequestHangup();
            break;
        }
    }
    Log("Read thread shutting down");
}

// ---- writer ----------------------------------------------------------------------------

bool TComm32::WriteAll(const std::string& bytes) {
    Log("Writing to comm port");
    std::size_t done = 0;
    pollfd fds[2] = {{fd_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            LogError("Unable to write to the port: ", errno);
            return false;
        }
        // The device is full: wait until it takes more, or until we are told to stop.
        const int r = poll(fds, 2, -1);
        if (r < 0 && errno != EINTR) {
            LogError("Write WAIT_FAILED: ", errno);
            return false;
        }
        if (fds[1].revents)
            return false;
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
            Log("The device has gone while writing");
            return false;
        }
    }
    return true;
}

void TComm32::WriteLoop() {
    {
        std::lock_guard lock(mutex_);
        writerReady_ = true;
    }
    changed_.notify_all();
    while (true) {
        std::string next;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (closing_)
                break;
            next = std::move(queue_.front());
            queue_.pop_front();
            writing_ = true;
        }
        const bool ok = WriteAll(next);
        {
            std::lock_guard lock(mutex_);
            writing_ = false;
        }
        changed_.notify_all();
        if (!ok) {
            bool closing;
            {
                std::lock_guard lock(mutex_);
                closing = closing_;
            }
            if (!closing)
                emit RequestHangup();
            break;
        }
    }
    writerAlive_ = false;
    changed_.notify_all();
    Log("Write thread shutting down");
}

// ---- diagnostics -----------------------------------------------------------------------

void TComm32::Log(const std::string& line) {
    std::lock_guard lock(logMutex_);
    if (!log_)
        return;
    std::fprintf(log_, "%s\n", line.c_str());
    std::fflush(log_);
}

void TComm32::LogError(const std::string& text, int error) {
    const char* reason = std::strerror(error);
    Log(text + "GetLastError returned: " +
        (reason ? "\"" + std::string(reason) + "\"" : std::string("Out of memory")));
}

} // namespace tessaly
