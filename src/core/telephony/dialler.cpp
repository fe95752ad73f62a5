#include "core/telephony/dialler.h"

#include "core/common/upper_case.h"
#include "core/telephony/telephony.h"

#include <algorithm>
#include <exception>

namespace tessaly {

namespace {

constexpr std::size_t kAnswerKept = 255;
constexpr std::int64_t kHangUpPauseMs = 1000;
constexpr std::int64_t kDialPauseMs = 3000;
constexpr int kDialAnswerSeconds = 3;
constexpr std::int64_t kTapiPauseMs = 4000;

const char kNotDefined[] =
    "The Modem Settings have not yet been defined.\n\nPlease define the Settings required for "
    "your Modem, by Selecting CONFIGURE MODEM from the TOOLS Menu.";
const char kTerminated[] = " \n\nThe Dial request has been Terminated";
const char kInitialiseFailed[] = "An unknown error was detected whilst initialising the Modem";
const char kWriteFailed[] = "The command could not be sent to the Modem";
const char kPortFailed[] = "The connection to the Modem was lost";
const char kEngaged[] = "The Number Dialled is Engaged. Please try again later.";
const char kTapiFailed[] =
    "An Error was encountered attempting to invoke a Windows TAPI Function\n\nFunction Terminated.";
const char kPickUp[] = "Pick up the Telephone Receiver and Press OK";

std::string TimeOutText(int seconds) {
    return "Time-out in " + std::to_string(seconds) + " Seconds";
}

TDialogMessage Dialling(std::string text, int kind = kMsgKindError) {
    return {kMsgTitleTelephoneDialling, std::move(text), kind, kMsgButtonsOk};
}

// The message a wait ends with; empty for the codes that need none.
std::string WaitMessage(int code, bool quiet) {
    switch (code) {
    case kModemNoDialTone:
        return "No Dialling Tone was Received from the Modem";
    case kModemInvalid:
        return "The String Passed to the Modem was Invalid";
    case kModemUnknown:
        return "An Unknown Error was Encountered";
    case kModemSilent:
        return quiet ? std::string()
                     : "The Modem did not respond within the Defined Time-out Period";
    default:
        return {};
    }
}

} // namespace

int ModemAnswerCode(std::string_view answer) {
    std::string upper(answer);
    for (char& c : upper)
        c = UpperChar(c);
    int code = kModemSilent;
    const std::pair<const char*, int> keywords[] = {{"OK", kModemOk},
                                                    {"CONNECT", kModemInvalid},
                                                    {"BUSY", kModemBusy},
                                                    {"NO DIALTONE", kModemNoDialTone},
                                                    {"ERROR", kModemInvalid}};
    for (const auto& [word, value] : keywords)
        if (upper.find(word) != std::string::npos)
            code = value;
    return code;
}

TDialMethod DialMethodOf(const TDialSettings& s) {
    if (s.UseTapi)
        return TDialMethod::Tapi;
    return s.UseModem ? TDialMethod::Modem : TDialMethod::Manual;
}

TDialler::TDialler(const TDialSettings& settings, ICommPort* port, ITelephony* telephony,
                   const IClock& clock, IDiallerEvents& events)
    : settings_(settings), port_(port), telephony_(telephony), clock_(clock), events_(events),
      method_(DialMethodOf(settings)) {}

void TDialler::Show() {
    events_.ScreenChanged();
}

void TDialler::Start(std::string_view dial, std::string_view display) {
    if (state_ != TState::Idle)
        return;
    dial_ = std::string(dial);
    display_ = std::string(display);
    lastTick_ = Now();
    switch (method_) {
    case TDialMethod::Manual:
        screen_ = {};
        screen_.Title = "Manual Dial";
        screen_.Section = "Dial the following Number:";
        screen_.Output = display_;
        screen_.Status = "Manual Mode";
        screen_.LargeOutput = true;
        screen_.OkEnabled = true;
        screen_.OkFocused = true;
        screen_.OkCaption = "Answered";
        state_ = TState::Answer;
        Show();
        return;
    case TDialMethod::Tapi:
        DialByLine();
        return;
    case TDialMethod::Modem:
        StartModem();
        return;
    }
}

// ---- the modem -------------------------------------------------------------------------

void TDialler::StartModem() {
    screen_.IgnoreVisible = true;
    if (!ModemSettingsDefined(settings_) || !port_) {
        End(Dialling(kNotDefined, kMsgKindWarning));
        return;
    }
    TPortSettings ps;
    ps.Port = settings_.Port;
    ps.BaudRate = BaudRate(settings_);
    try {
        port_->Open(ps);
    } catch (const std::exception&) {
        End(Dialling(std::string(kInitialiseFailed) + kTerminated));
        return;
    }
    if (!port_->IsOpen()) {
        End(Dialling(std::string(kInitialiseFailed) + kTerminated));
        return;
    }
    if (!settings_.Reset.empty())
        SendCommand(TStep::Reset, settings_.Reset, "Resetting Modem");
    else
        AfterCommand(TStep::Reset);
}

bool TDialler::Send(const std::string& bytes) {
    if (port_ && port_->IsOpen() && port_->Write(bytes))
        return true;
    End(Dialling(std::string(kWriteFailed) + kTerminated));
    return false;
}

void TDialler::SendCommand(TStep step, const std::string& command, const char* section) {
    screen_.Title = "Initialising Modem...";
    screen_.Section = section;
    screen_.Output = command;
    screen_.Status = TimeOutText(settings_.ModemTimeout);
    Show();
    answer_.clear();
    if (!Send(command + "\r"))
        return;
    Wait(step, settings_.ModemTimeout, false);
}

// What follows a command the modem accepted (or one that was not needed).
void TDialler::AfterCommand(TStep step) {
    if (step == TStep::Reset && !settings_.InitStr.empty()) {
        SendCommand(TStep::Init, settings_.InitStr, "Initialising Modem");
        return;
    }
    Dial();
}

void TDialler::Dial() {
    std::string command = settings_.Pulse ? "AT DP " : "AT DT ";
    if (settings_.NoCallingTone)
        command += "^";
    command += dial_;
    screen_.Title = "Dialling Number...";
    screen_.Section = "Number Being Dialled";
    screen_.Status = "Sending...";
    screen_.Output = display_;
    Show();
    answer_.clear();
    ++attempts_;
    if (!Send(command + "\r"))
        return;
    state_ = TState::DialPause;
    pauseUntil_ = Now() + kDialPauseMs;
}

void TDialler::Wait(TStep step, int seconds, bool quiet) {
    state_ = TState::Waiting;
    step_ = step;
    quiet_ = quiet;
    remainingMs_ = std::int64_t(seconds) * 1000;
    lastTick_ = Now();
    shownSeconds_ = seconds;
    CheckWait();
}

void TDialler::CheckWait() {
    if (state_ != TState::Waiting)
        return;
    const std::int64_t now = Now();
    if (!ignoreTimeout_)
        remainingMs_ -= now - lastTick_;
    lastTick_ = now;
    if (!running_) {
        WaitEnded(kModemButton);
        return;
    }
    if (!ignoreTimeout_ && !quiet_) {
        const int seconds =
            static_cast<int>(std::max<std::int64_t>(0, (remainingMs_ + 999) / 1000));
        if (seconds != shownSeconds_) {
            shownSeconds_ = seconds;
            screen_.Status = TimeOutText(seconds);
            Show();
        }
    }
    // An answer is looked at as it grows, so one that arrives in pieces is still seen.
    const int code = ModemAnswerCode(answer_);
    if (code >= 0) {
        answer_.clear();
        WaitEnded(code);
        return;
    }
    // Silence until the end is a time-out.
    if (remainingMs_ <= 0)
        WaitEnded(kModemSilent);
}

void TDialler::WaitEnded(int code) {
    state_ = TState::Idle;
    screen_.Status.clear();
    if (!running_)
        code = kModemButton;
    Show();
    const std::string message = WaitMessage(code, quiet_);
    if (!message.empty()) {
        End(Dialling(message));
        return;
    }
    switch (step_) {
    case TStep::Reset:
    case TStep::Init:
        if (code != kModemOk) {
            End();
            return;
        }
        screen_.Status = "Sending...";
        Show();
        AfterCommand(step_);
        return;
    case TStep::DialFirst:
        if (code == kModemSilent) {
            // No answer: the normal case for a voice call.
            screen_.Title = "Number Dialled";
            screen_.Section = "The Telephone Number has been Dialled";
            screen_.Output = kPickUp;
            screen_.Status = TimeOutText(settings_.ModemTimeout);
            screen_.OkEnabled = true;
            screen_.OkFocused = true;
            Show();
            Wait(TStep::DialAnswer, settings_.ModemTimeout, false);
        } else if (code == kModemBusy) {
            OnEngaged();
        } else {
            End();
        }
        return;
    case TStep::DialAnswer:
        if (code == kModemBusy)
            OnEngaged();
        else
            End();
        return;
    }
}

void TDialler::OnEngaged() {
    if (!settings_.Redial) {
        End(Dialling(kEngaged, kMsgKindInformation));
        return;
    }
    screen_.OkEnabled = false;
    screen_.OkFocused = false;
    events_.Beep();
    state_ = TState::Engaged;
    countdown_ = settings_.RedialDelay;
    pauseUntil_ = Now() + 1000;
    ShowCountdown();
}

void TDialler::ShowCountdown() {
    screen_.Title = "Dialling Number...";
    screen_.Section = "Number is Engaged";
    screen_.Status = "Waiting";
    screen_.Output = "Re-dialling Number in " + std::to_string(countdown_) + " Seconds";
    Show();
}

// ---- the telephony layer ---------------------------------------------------------------

void TDialler::DialByLine() {
    screen_.Title = "Initialising TAPI Device...";
    screen_.Section = "Preparing Call";
    Show();
    screen_.Title = "Dialling Number...";
    screen_.Section = "Number Being Dialled";
    screen_.Output = display_;
    Show();
    ++attempts_;
    if (!telephony_ || !telephony_->Available() || !telephony_->MakeCall(dial_, settings_.TapiId)) {
        End({kMsgTitleTapiFailure, kTapiFailed, kMsgKindError, kMsgButtonsOk});
        return;
    }
    state_ = TState::TapiPause;
    pauseUntil_ = Now() + kTapiPauseMs;
}

// ---- time, bytes and buttons -----------------------------------------------------------

void TDialler::Received(std::string_view bytes) {
    if (state_ == TState::Done || state_ == TState::HangingUp)
        return;
    answer_.append(bytes);
    if (answer_.size() > kAnswerKept)
        answer_.erase(0, answer_.size() - kAnswerKept);
    CheckWait();
}

void TDialler::HangupRequested() {
    if (state_ == TState::Done || state_ == TState::HangingUp || method_ != TDialMethod::Modem)
        return;
    End(Dialling(std::string(kPortFailed) + kTerminated));
}

void TDialler::Tick() {
    const std::int64_t now = Now();
    switch (state_) {
    case TState::Waiting:
        CheckWait();
        return;
    case TState::DialPause:
        if (!running_) {
            End();
        } else if (now >= pauseUntil_) {
            Wait(TStep::DialFirst, kDialAnswerSeconds, true);
        }
        return;
    case TState::Engaged:
        if (!running_) {
            End();
            return;
        }
        while (state_ == TState::Engaged && now >= pauseUntil_) {
            pauseUntil_ += 1000;
            if (--countdown_ > 0) {
                ShowCountdown();
                continue;
            }
            screen_.Status = "Sending...";
            screen_.Output = "Re-dialling Number";
            Show();
            Dial();
        }
        return;
    case TState::TapiPause:
        if (!running_) {
            End();
        } else if (now >= pauseUntil_) {
            screen_.Title = "Number Dialled";
            screen_.Section = "The Telephone Number has been Dialled";
            screen_.Output = kPickUp;
            screen_.OkEnabled = true;
            screen_.OkFocused = true;
            state_ = TState::Answer;
            Show();
        }
        return;
    case TState::HangingUp:
        if (now >= pauseUntil_)
            Finish();
        return;
    default:
        return;
    }
}

void TDialler::PressOk() {
    if (!screen_.OkEnabled || !running_ || state_ == TState::Done || state_ == TState::HangingUp)
        return;
    running_ = false;
    result_ = kDialConfirmed;
    if (state_ == TState::Answer)
        End();
    else
        Tick();
}

void TDialler::PressCancel() {
    if (!running_ || state_ == TState::Done || state_ == TState::HangingUp)
        return;
    running_ = false;
    result_ = kDialCancelled;
    if (state_ == TState::Answer || state_ == TState::Idle)
        End();
    else
        Tick();
}

void TDialler::SetIgnoreTimeout(bool on) {
    if (state_ == TState::Waiting)
        CheckWait(); // time up to now counts as it was set
    ignoreTimeout_ = on;
    lastTick_ = Now();
}

// ---- the end ---------------------------------------------------------------------------

void TDialler::End(TDialogMessage message) {
    if (state_ == TState::Done || state_ == TState::HangingUp)
        return;
    message_ = std::move(message);
    screen_.OkEnabled = false;
    if (port_ && port_->IsOpen()) {
        // The hang-up command ends with a carriage return like every other command;
        // the port lets it go out before it closes.
        port_->Write(settings_.HangUp + "\r");
        state_ = TState::HangingUp;
        pauseUntil_ = Now() + kHangUpPauseMs;
        return;
    }
    Finish();
}

void TDialler::Finish() {
    if (port_ && port_->IsOpen())
        port_->Close();
    state_ = TState::Done;
    if (!message_.Text.empty())
        events_.Message(message_);
    events_.Finished(result_);
}

} // namespace tessaly
