#pragma once
// What the dialler needs of a serial port. Bytes the port receives and its requests
// to hang up reach the dialler through TDialler::Received and
// TDialler::HangupRequested, on the thread the dialler runs on.

#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { One, OneAndHalf, Two };

struct TPortSettings {
    std::string Port = "COM2";
    int BaudRate = 9600;
    int ByteSize = 8;
    TParity Parity = TParity::None;
    TStopBits StopBits = TStopBits::One;
};

// Why a port could not be opened.
class TCommsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ICommPort {
public:
    virtual ~ICommPort() = default;
    // Throws TCommsError when the port cannot be opened.
    virtual void Open(const TPortSettings& settings) = 0;
    // Queues bytes for writing; false when they cannot be queued.
    virtual bool Write(std::string_view bytes) = 0;
    // Lets queued output go out, then stops and closes; nothing when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

// The text a line error is reported as, among the received bytes: "Comm Event: "
// with the errors set joined by " and " ("CE_FRAME", "CE_OVERRUN", "CE_RXPARITY",
// "EV_ERR Unknown EvtMask" for any other bit; "NULL Error" for none), then
// ", EvtMask = " and the bits in decimal.
constexpr unsigned kLineErrorOverrun = 2;
constexpr unsigned kLineErrorParity = 4;
constexpr unsigned kLineErrorFrame = 8;
std::string LineErrorText(unsigned bits);

} // namespace tessaly
