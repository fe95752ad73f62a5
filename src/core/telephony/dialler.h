#pragma once
// TDialler: one call placed for the user, by modem (AT commands on a serial port),
// by the telephony layer, or by hand (the number is only shown). It is a state
// machine stepped by its host: Tick() as time passes, Received() with the port's
// bytes, and the buttons. Everything it shows is in Screen(); it tells the host
// through IDiallerEvents. It never waits or sleeps, so tests drive it with a fake
// clock and a scripted port.
//
// Results: 1 when the user confirmed the call (OK or "Answered"), 2 for Cancel, 0 for
// any other end (an error, or an engaged number without re-dial). Only 1 is a call.

#include "core/common/dialog_message.h"
#include "core/system/clock.h"
#include "core/telephony/comm_port.h"
#include "core/telephony/dial_settings.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

class ITelephony;

constexpr int kMsgTitleTelephoneDialling = 1013;
constexpr int kMsgTitleTapiFailure = 1015;

constexpr int kDialFailed = 0;
constexpr int kDialConfirmed = 1;
constexpr int kDialCancelled = 2;

// The codes a wait for the modem ends with.
constexpr int kModemOk = 0;
constexpr int kModemBusy = 3;
constexpr int kModemNoDialTone = 4;
constexpr int kModemInvalid = 5;
constexpr int kModemUnknown = 6;
constexpr int kModemSilent = -1;
constexpr int kModemButton = -2;

// The code of a modem answer: the keywords "OK" 0, "CONNECT" 5, "BUSY" 3,
// "NO DIALTONE" 4, "ERROR" 5 are looked for in that order without regard to case,
// each later one found replacing the earlier; -1 when none is found.
int ModemAnswerCode(std::string_view answer);

enum class TDialMethod { Modem, Tapi, Manual };
TDialMethod DialMethodOf(const TDialSettings& s);

struct TDiallerScreen {
    std::string Title;
    std::string Section;
    std::string Output;
    std::string Status;
    bool LargeOutput = false; // by hand: the number in large type
    bool OkEnabled = false;
    bool OkFocused = false;
    std::string OkCaption = "OK";
    bool IgnoreVisible = false; // "&Ignore Time-Out"
};

class IDiallerEvents {
public:
    virtual ~IDiallerEvents() = default;
    virtual void ScreenChanged() = 0;
    virtual void Beep() = 0;
    // A message for the user, given once the port is closed.
    virtual void Message(const TDialogMessage& message) = 0;
    // The dialler has ended; the dialog closes with the result.
    virtual void Finished(int result) = 0;
};

class TDialler {
public:
    TDialler(const TDialSettings& settings, ICommPort* port, ITelephony* telephony,
             const IClock& clock, IDiallerEvents& events);

    // Starts the call with the dial and the display string.
    void Start(std::string_view dial, std::string_view display);
    // Bytes from the modem, in any pieces.
    void Received(std::string_view bytes);
    // The port met a failure it cannot recover from.
    void HangupRequested();
    // Lets time pass: time-outs, count-downs and pauses.
    void Tick();
    void PressOk();
    void PressCancel();
    // While set, waits for the modem do not run out.
    void SetIgnoreTimeout(bool on);

    const TDiallerScreen& Screen() const { return screen_; }
    TDialMethod Method() const { return method_; }
    bool Done() const { return state_ == TState::Done; }
    int Result() const { return result_; }
    // Dial commands sent, the first included.
    int Attempts() const { return attempts_; }
    // The last whole number of seconds shown by a wait.
    int SecondsLeft() const { return shownSeconds_; }

private:
    enum class TState {
        Idle,
        Waiting,   // for the modem's answer to a command
        DialPause, // the pause after a dial command
        Engaged,   // counting down to the next dial
        TapiPause, // the pause after the call went to the telephony layer
        Answer,    // the number is dialled: waiting for the user
        HangingUp, // the pause between the hang-up command and closing the port
        Done
    };
    enum class TStep { Reset, Init, DialFirst, DialAnswer };

    void Show();
    std::int64_t Now() const { return clock_.MonotonicMs(); }
    void StartModem();
    void SendCommand(TStep step, const std::string& command, const char* section);
    void AfterCommand(TStep step);
    void Dial();
    void Wait(TStep step, int seconds, bool quiet);
    void CheckWait();
    void WaitEnded(int code);
    void OnEngaged();
    void End(TDialogMessage message = {});
    void Finish();
    bool Send(const std::string& bytes);
    void ShowCountdown();
    void DialByLine();

    TDialSettings settings_;
    ICommPort* port_;
    ITelephony* telephony_;
    const IClock& clock_;
    IDiallerEvents& events_;
    TDialMethod method_;
    TDiallerScreen screen_;

    std::string dial_;
    std::string display_;
    TState state_ = TState::Idle;
    TStep step_ = TStep::Reset;
    int result_ = kDialFailed;
    bool running_ = true;
    bool ignoreTimeout_ = false;
    bool quiet_ = false;
    std::int64_t remainingMs_ = 0; // of the current wait
    std::int64_t lastTick_ = 0;
    std::int64_t pauseUntil_ = 0;
    int shownSeconds_ = -1;
    int countdown_ = 0;
    int attempts_ = 0;
    std::string answer_; // what the modem said since the last command, last 255 bytes
    TDialogMessage message_;
};

} // namespace tessaly
