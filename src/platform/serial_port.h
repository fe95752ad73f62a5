#pragma once
// TComm32: one serial port (a POSIX terminal device) with a reader and a writer
// thread. The reader waits on the port and on a wake-up pipe, reads blocks of up to
// 2048 bytes and reports line errors among them; the writer writes queued output in
// order. Results reach the owner on its own thread through queued signals. Close()
// lets queued output go out, wakes both threads and always joins them; no thread is
// ever killed.
//
// Port names "COM1" to "COM4" stand for /dev/ttyS0 to /dev/ttyS3; any other name is
// a device path (/dev/ttyUSB0, /dev/ttyACM0, a pseudo-terminal).

#include "core/telephony/comm_port.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace tessaly {

class TComm32 : public QObject, public ICommPort {
    Q_OBJECT
public:
    explicit TComm32(QObject* parent = nullptr);
    ~TComm32() override;

    int BaudRate = 9600;
    int ByteSize = 8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::One;
    QString CommPort = "COM2";
    // When set, Open() creates this file (replacing an old one) and every event of the
    // port adds a line to it until Close().
    QString CommsLogFileName;

    // Opens CommPort with the properties above. Throws TCommsError.
    void Open();
    // ICommPort: takes the settings into the properties, then opens.
    void Open(const TPortSettings& settings) override;
    bool Write(std::string_view bytes) override;
    void Close() override;
    bool IsOpen() const override { return fd_ >= 0; }

    // The device a port name stands for.
    static std::string DevicePath(const QString& port);

signals:
    void ReceiveData(const QByteArray& data);
    // A thread met a failure it cannot recover from.
    void RequestHangup();

protected:
    // Starts a worker thread; tests replace it to make a start fail.
    virtual std::thread StartThread(std::function<void()> body);

private:
    void ReadLoop();
    void WriteLoop();
    bool WriteAll(const std::string& bytes);
    void Deliver(const char* data, std::size_t n);
    void CheckLineErrors();
    void Log(const std::string& line);
    void LogError(const std::string& text, int error);
    void StopThreads();
    void CloseHandles();
    // Whether everything queued went out within the time allowed.
    bool DrainOutput();

    int fd_ = -1;
    int wake_[2] = {-1, -1};
    std::thread reader_;
    std::thread writer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;
    bool closing_ = false;
    bool writing_ = false;
    bool readerReady_ = false;
    bool writerReady_ = false;
    std::atomic<bool> writerAlive_{false};
    bool haveCounts_ = false;
    int lastFrame_ = 0, lastOverrun_ = 0, lastParity_ = 0;
    std::mutex logMutex_;
    std::FILE* log_ = nullptr;
};

} // namespace tessaly
