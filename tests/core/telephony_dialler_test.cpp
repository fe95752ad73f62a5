// The modem dialling sequence against a scripted modem: commands sent byte for byte,
// answers in one piece or byte by byte, time-outs, re-dial on an engaged number, the
// hang-up and closing of the port, and the results. Also manual dialling and the
// telephony line.

#include "core/telephony/dialler.h"
#include "core/telephony/telephony.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_comm_port.h"

#include <deque>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TelephonyDialler, AnswerCodesInTheirOrderOfPrecedence) {
    EXPECT_EQ(ModemAnswerCode("ATZ\r\r\nOK\r\n"), kModemOk);
    EXPECT_EQ(ModemAnswerCode("\r\nconnect 9600\r\n"), kModemInvalid);
    EXPECT_EQ(ModemAnswerCode("\r\nBUSY\r\n"), kModemBusy);
    EXPECT_EQ(ModemAnswerCode("\r\nNO DIALTONE\r\n"), kModemNoDialTone);
    EXPECT_EQ(ModemAnswerCode("\r\nERROR\r\n"), kModemInvalid);
    EXPECT_EQ(ModemAnswerCode("BUSY\r\nERROR"), kModemInvalid);
    EXPECT_EQ(ModemAnswerCode("\r\nNO CARRIER\r\n"), kModemSilent);
    EXPECT_EQ(ModemAnswerCode("AT DT 0123\r"), kModemSilent);
    EXPECT_EQ(ModemAnswerCode(""), kModemSilent);
}

// A dialler on a fake port and clock, with a modem that answers each command from a
// script. Time passes in steps of 100 ms, each followed by a tick.
class Call : public IDiallerEvents {
public:
    Call() {
        s.Port = "COM2";
        s.Baud = "9600";
        s.Reset = "ATZ";
        s.InitStr = "AT&F";
    }
    void Begin(const std::string& dial = "0123 456 ", const std::string& display = "0123 456 ") {
        d = std::make_unique<TDialler>(s, &port, &line, clock, *this);
        d->Start(dial, display);
        Answer();
    }
    // The modem answers a command (the text before "\r") with `reply`, once.
    void Script(const std::string& command, const std::string& reply) {
        script.push_back({command, reply});
    }
    void Step(int ms = 100) {
        clock.AdvanceMs(ms);
        d->Tick();
        Answer();
    }
    // Steps until done or `ms` have passed.
    void Run(int ms) {
        for (int t = 0; t < ms && !d->Done(); t += 100)
            Step();
    }
    void ScreenChanged() override {
        const TDiallerScreen& sc = d->Screen();
        if (statuses.empty() || statuses.back() != sc.Status)
            statuses.push_back(sc.Status);
        if (outputs.empty() || outputs.back() != sc.Output)
            outputs.push_back(sc.Output);
    }
    void Beep() override { ++beeps; }
    void Message(const TDialogMessage& m) override {
        messages.push_back(m);
        portOpenAtMessage = port.IsOpen();
    }
    void Finished(int r) override { result = r; }

    bool Seen(const std::vector<std::string>& list, const std::string& text) const {
        return std::find(list.begin(), list.end(), text) != list.end();
    }

    TDialSettings s;
    FakeClock clock;
    FakeCommPort port;
    struct Line : ITelephony {
        bool Available() const override { return true; }
        std::string Unavailable() const override { return {}; }
        std::optional<TTranslatedNumber> Translate(const std::string&, int) override {
            return std::nullopt;
        }
        std::vector<TTelephonyDevice> DeviceNames() override { return {}; }
        std::string LocationName(int) override { return "N/A"; }
        bool MakeCall(const std::string& n, int device) override {
            Calls.push_back(n);
            Device = device;
            return !Fail;
        }
        std::vector<std::string> Calls;
        int Device = -1;
        bool Fail = false;
    } line;
    std::unique_ptr<TDialler> d;
    std::deque<std::pair<std::string, std::string>> script;
    bool byteByByte = false;
    std::vector<std::string> statuses, outputs;
    std::vector<TDialogMessage> messages;
    bool portOpenAtMessage = true;
    int beeps = 0;
    int result = -1;

private:
    // Looks at the commands written since last time and answers them from the script.
    void Answer() {
        while (true) {
            const auto end = port.Written.find('\r', consumed_);
            if (end == std::string::npos)
                return;
            const std::string command = port.Written.substr(consumed_, end - consumed_);
            consumed_ = end + 1;
            if (script.empty() || script.front().first != command)
                continue;
            const std::string reply = command + "\r" + script.front().second;
            script.pop_front();
            if (!byteByByte) {
                d->Received(reply);
                continue;
            }
            for (char c : reply) {
                d->Received(std::string(1, c));
                d->Tick();
            }
        }
    }
    std::size_t consumed_ = 0;
};

TEST(TelephonyDialler, CompleteCallResetInitialiseDialConfirmAndHangUp) {
    for (bool bytes : {false, true}) {
        SCOPED_TRACE(bytes ? "byte by byte" : "whole answers");
        Call c;
        c.byteByByte = bytes;
        c.Script("ATZ", "\r\nOK\r\n");
        c.Script("AT&F", "\r\nOK\r\n");
        c.Begin("9 0123 456 ", "9 0123 456 ");
        EXPECT_EQ(c.port.Opened.Port, "COM2");
        EXPECT_EQ(c.port.Opened.BaudRate, 9600);
        EXPECT_EQ(c.port.Written, "ATZ\rAT&F\rAT DT 9 0123 456 \r");
        EXPECT_EQ(c.d->Screen().Title, "Dialling Number...");
        EXPECT_EQ(c.d->Screen().Section, "Number Being Dialled");
        EXPECT_FALSE(c.d->Screen().OkEnabled);
        // The modem stays silent for a voice call: three seconds' pause, three of waiting.
        c.Run(5900);
        EXPECT_FALSE(c.d->Screen().OkEnabled);
        c.Run(200);
        EXPECT_EQ(c.d->Screen().Title, "Number Dialled");
        EXPECT_EQ(c.d->Screen().Output, "Pick up the Telephone Receiver and Press OK");
        EXPECT_TRUE(c.d->Screen().OkEnabled);
        EXPECT_TRUE(c.d->Screen().OkFocused);
        c.Run(2000);
        c.d->PressOk();
        // The hang-up goes out with its carriage return; the port closes a second later.
        EXPECT_EQ(c.port.Written, "ATZ\rAT&F\rAT DT 9 0123 456 \rATH\r");
        EXPECT_TRUE(c.port.IsOpen());
        c.Run(900);
        EXPECT_TRUE(c.port.IsOpen());
        c.Run(200);
        EXPECT_FALSE(c.port.IsOpen());
        EXPECT_TRUE(c.d->Done());
        EXPECT_EQ(c.result, kDialConfirmed);
        EXPECT_TRUE(c.messages.empty());
        EXPECT_EQ(c.d->Attempts(), 1);
    }
}

TEST(TelephonyDialler, EngagedNumberCountsDownAndDialsAgainWithTheSameCommand) {
    for (bool bytes : {false, true}) {
        SCOPED_TRACE(bytes ? "byte by byte" : "whole answers");
        Call c;
        c.byteByByte = bytes;
        c.s.RedialDelay = 7;
        c.Script("ATZ", "\r\nOK\r\n");
        c.Script("AT&F", "\r\nOK\r\n");
        c.Script("AT DT 0123 456 ", "\r\nBUSY\r\n");
        c.Begin();
        c.Run(3100); // the pause after dialling, then the answer is read
        EXPECT_EQ(c.beeps, 1);
        EXPECT_EQ(c.d->Screen().Section, "Number is Engaged");
        EXPECT_EQ(c.d->Screen().Status, "Waiting");
        EXPECT_FALSE(c.d->Screen().OkEnabled);
        // Not before the delay is over.
        c.Run(6800);
        EXPECT_EQ(c.d->Attempts(), 1);
        for (int n = 7; n >= 1; --n)
            EXPECT_TRUE(
                c.Seen(c.outputs, "Re-dialling Number in " + std::to_string(n) + " Seconds"))
                << n;
        c.Run(300);
        EXPECT_EQ(c.d->Attempts(), 2);
        EXPECT_TRUE(c.Seen(c.outputs, "Re-dialling Number"));
        EXPECT_EQ(c.port.Written, "ATZ\rAT&F\rAT DT 0123 456 \rAT DT 0123 456 \r");
        c.Run(6100);
        ASSERT_TRUE(c.d->Screen().OkEnabled);
        c.d->PressOk();
        c.Run(1100);
        EXPECT_EQ(c.result, kDialConfirmed);
        EXPECT_EQ(c.port.Written, "ATZ\rAT&F\rAT DT 0123 456 \rAT DT 0123 456 \rATH\r");
        EXPECT_TRUE(c.messages.empty());
    }
}

TEST(TelephonyDialler, EngagedWhileWaitingForTheUserAlsoRedials) {
    Call c;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.Begin();
    c.Run(6100);
    ASSERT_TRUE(c.d->Screen().OkEnabled);
    c.d->Received("\r\nBU");
    c.Step();
    EXPECT_EQ(c.beeps, 0);
    c.d->Received("SY\r\n");
    c.Step();
    EXPECT_EQ(c.beeps, 1);
    EXPECT_FALSE(c.d->Screen().OkEnabled);
    // Cancel during the count-down ends without dialling again.
    c.d->PressCancel();
    c.Run(2000);
    EXPECT_EQ(c.d->Attempts(), 1);
    EXPECT_EQ(c.result, kDialCancelled);
    EXPECT_EQ(c.port.Written, "AT DT 0123 456 \rATH\r");
    EXPECT_FALSE(c.port.IsOpen());
}

TEST(TelephonyDialler, EngagedWithoutRedialSaysSoAndEnds) {
    Call c;
    c.s.Redial = false;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.Script("AT DT 0123 456 ", "\r\nBUSY\r\n");
    c.Begin();
    c.Run(5000);
    ASSERT_TRUE(c.d->Done());
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].Text, "The Number Dialled is Engaged. Please try again later.");
    EXPECT_EQ(c.messages[0].Title, kMsgTitleTelephoneDialling);
    EXPECT_EQ(c.result, kDialFailed);
    EXPECT_EQ(c.d->Attempts(), 1);
    EXPECT_EQ(c.port.Written, "AT DT 0123 456 \rATH\r");
    EXPECT_FALSE(c.portOpenAtMessage);
}

// Answers that end the call with a message: the hang-up is sent, the port closed, and
// only then the message shown.
TEST(TelephonyDialler, FailureAnswersHangUpCloseAndGiveTheirMessage) {
    struct Case {
        const char* command;
        const char* reply;
        const char* message;
    };
    const Case cases[] = {
        {"AT DT 0123 456 ", "\r\nNO DIALTONE\r\n", "No Dialling Tone was Received from the Modem"},
        {"AT&F", "\r\nERROR\r\n", "The String Passed to the Modem was Invalid"},
        {"AT DT 0123 456 ", "\r\nBUSY\r\nERROR\r\n", "The String Passed to the Modem was Invalid"},
        {"AT DT 0123 456 ", "\r\nCONNECT 9600\r\n", "The String Passed to the Modem was Invalid"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.reply);
        Call c;
        c.Script("ATZ", "\r\nOK\r\n");
        if (std::string(k.command) != "AT&F")
            c.Script("AT&F", "\r\nOK\r\n");
        c.Script(k.command, k.reply);
        c.Begin();
        c.Run(10000);
        ASSERT_TRUE(c.d->Done());
        ASSERT_EQ(c.messages.size(), 1u);
        EXPECT_EQ(c.messages[0].Text, k.message);
        EXPECT_EQ(c.result, kDialFailed);
        EXPECT_TRUE(c.port.Written.ends_with(std::string(k.command) + "\rATH\r"));
        EXPECT_FALSE(c.portOpenAtMessage);
        EXPECT_EQ(c.port.Closes, 1);
    }
}

TEST(TelephonyDialler, SilenceIsATimeOutCountedDownInWholeSeconds) {
    Call c;
    c.s.ModemTimeout = 5;
    c.Begin();
    EXPECT_EQ(c.d->Screen().Section, "Resetting Modem");
    EXPECT_EQ(c.d->Screen().Output, "ATZ");
    EXPECT_TRUE(c.d->Screen().IgnoreVisible);
    c.Run(4900);
    EXPECT_FALSE(c.d->Done());
    EXPECT_EQ(c.d->Screen().Status, "Time-out in 1 Seconds");
    c.Run(1200);
    ASSERT_TRUE(c.d->Done());
    for (int n = 5; n >= 1; --n)
        EXPECT_TRUE(c.Seen(c.statuses, "Time-out in " + std::to_string(n) + " Seconds")) << n;
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].Text, "The Modem did not respond within the Defined Time-out Period");
    EXPECT_EQ(c.port.Written, "ATZ\rATH\r");
    EXPECT_EQ(c.result, kDialFailed);
}

TEST(TelephonyDialler, NoCarrierAndEchoesAreNotAnswersAndTheWaitGoesOn) {
    Call c;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.s.ModemTimeout = 10;
    c.Begin();
    c.Run(6100);
    ASSERT_TRUE(c.d->Screen().OkEnabled);
    c.d->Received("\r\nNO CARRIER\r\n");
    c.Run(5000);
    EXPECT_FALSE(c.d->Done());
    EXPECT_TRUE(c.d->Screen().OkEnabled);
    // Unanswered until the end, the wait for the user runs out with the time-out message.
    c.Run(6000);
    ASSERT_TRUE(c.d->Done());
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].Text, "The Modem did not respond within the Defined Time-out Period");
    EXPECT_EQ(c.result, kDialFailed);
}

TEST(TelephonyDialler, IgnoreTimeOutStopsTheClockAndUncheckingResumesIt) {
    Call c;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.s.ModemTimeout = 10;
    c.Begin();
    c.Run(6100);
    c.Run(4000);
    const int left = c.d->SecondsLeft();
    EXPECT_EQ(left, 6);
    c.d->SetIgnoreTimeout(true);
    c.Run(120000);
    EXPECT_FALSE(c.d->Done());
    EXPECT_EQ(c.d->SecondsLeft(), left);
    c.d->SetIgnoreTimeout(false);
    c.Run(5000);
    EXPECT_FALSE(c.d->Done()) << c.d->SecondsLeft();
    c.Run(2100); // the time-out, then the second after the hang-up
    ASSERT_TRUE(c.d->Done());
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0].Text, "The Modem did not respond within the Defined Time-out Period");
}

TEST(TelephonyDialler, AnswersAccumulateAndOnlyTheLastCharactersAreKept) {
    Call c;
    c.s.InitStr.clear();
    c.Begin();
    // A long line of noise, then the answer in two pieces.
    c.d->Received(std::string(400, '.'));
    c.d->Received("O");
    c.Step();
    EXPECT_EQ(c.d->Screen().Section, "Resetting Modem");
    c.d->Received("K\r\n");
    c.Step();
    EXPECT_EQ(c.d->Screen().Section, "Number Being Dialled");
    // What came before a command does not count for the next.
    EXPECT_EQ(c.port.Written, "ATZ\rAT DT 0123 456 \r");
}

TEST(TelephonyDialler, CancelWhileWaitingHangsUpWithoutAMessage) {
    Call c;
    c.Begin();
    c.Run(1000);
    c.d->PressCancel();
    c.Run(1100);
    ASSERT_TRUE(c.d->Done());
    EXPECT_EQ(c.result, kDialCancelled);
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.port.Written, "ATZ\rATH\r");
    // OK is not open to the user before the number is dialled.
    Call d;
    d.Begin();
    d.d->PressOk();
    d.Run(1000);
    EXPECT_FALSE(d.d->Done());
}

TEST(TelephonyDialler, SettingsAndPortFailuresEndCleanly) {
    {
        Call c;
        c.s.Baud = "9601"; // not one of the speeds offered
        c.Begin();
        ASSERT_TRUE(c.d->Done());
        EXPECT_EQ(c.port.Opens, 0);
        ASSERT_EQ(c.messages.size(), 1u);
        EXPECT_TRUE(
            c.messages[0].Text.starts_with("The Modem Settings have not yet been defined."));
    }
    {
        Call c;
        c.port.FailOpen = true;
        c.Begin();
        ASSERT_TRUE(c.d->Done());
        ASSERT_EQ(c.messages.size(), 1u);
        EXPECT_EQ(c.messages[0].Text, "An unknown error was detected whilst initialising the "
                                      "Modem \n\nThe Dial request has been Terminated");
        EXPECT_EQ(c.result, kDialFailed);
    }
    {
        Call c;
        c.Script("ATZ", "\r\nOK\r\n");
        c.Begin();
        c.port.FailWrites = true;
        c.d->Received("\r\nOK\r\n");
        c.Run(2000);
        ASSERT_TRUE(c.d->Done());
        ASSERT_EQ(c.messages.size(), 1u);
        EXPECT_TRUE(c.messages[0].Text.ends_with("The Dial request has been Terminated"));
        EXPECT_FALSE(c.port.IsOpen());
        EXPECT_FALSE(c.portOpenAtMessage);
    }
    {
        Call c;
        c.Begin();
        c.d->HangupRequested();
        c.Run(1100);
        ASSERT_TRUE(c.d->Done());
        ASSERT_EQ(c.messages.size(), 1u);
        EXPECT_TRUE(c.messages[0].Text.ends_with("The Dial request has been Terminated"));
        EXPECT_EQ(c.port.Written, "ATZ\rATH\r");
        EXPECT_FALSE(c.port.IsOpen());
    }
}

TEST(TelephonyDialler, ButtonsDuringTheHangUpPauseChangeNothing) {
    Call c;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.Begin();
    c.Run(6100);
    c.d->PressOk();
    c.d->PressCancel(); // too late: the call was confirmed
    c.d->Received("\r\nBUSY\r\n");
    c.Run(1100);
    ASSERT_TRUE(c.d->Done());
    EXPECT_EQ(c.result, kDialConfirmed);
    EXPECT_EQ(c.beeps, 0);
    EXPECT_EQ(c.port.Written, "AT DT 0123 456 \rATH\r");
    EXPECT_EQ(c.port.Closes, 1);
}

TEST(TelephonyDialler, DialCommandFollowsTheDialTypeAndCallingTone) {
    Call c;
    c.s.Reset.clear();
    c.s.InitStr.clear();
    c.s.Pulse = true;
    c.s.NoCallingTone = true;
    c.Begin("555 ", "555 ");
    EXPECT_EQ(c.port.Written, "AT DP ^555 \r");
}

TEST(TelephonyDialler, ManualDiallingShowsTheNumberAndSendsNothing) {
    Call c;
    c.s.UseModem = false;
    c.Begin("0123 456 ", "9 0123 456 ");
    EXPECT_EQ(c.d->Method(), TDialMethod::Manual);
    EXPECT_EQ(c.d->Screen().Title, "Manual Dial");
    EXPECT_EQ(c.d->Screen().Section, "Dial the following Number:");
    EXPECT_EQ(c.d->Screen().Status, "Manual Mode");
    EXPECT_EQ(c.d->Screen().Output, "9 0123 456 ");
    EXPECT_EQ(c.d->Screen().OkCaption, "Answered");
    EXPECT_TRUE(c.d->Screen().OkEnabled);
    EXPECT_TRUE(c.d->Screen().LargeOutput);
    c.Run(100000);
    EXPECT_FALSE(c.d->Done());
    c.d->PressOk();
    EXPECT_TRUE(c.d->Done());
    EXPECT_EQ(c.result, kDialConfirmed);
    EXPECT_EQ(c.port.Opens, 0);
    EXPECT_TRUE(c.port.Written.empty());
}

TEST(TelephonyDialler, TelephonyLineTakesTheCallAndTheUserConfirms) {
    Call c;
    c.s.UseTapi = true;
    c.s.TapiId = 3;
    c.Begin("+44123456", "+44 123456");
    ASSERT_EQ(c.line.Calls.size(), 1u);
    EXPECT_EQ(c.line.Calls[0], "+44123456");
    EXPECT_EQ(c.line.Device, 3);
    EXPECT_FALSE(c.d->Screen().OkEnabled);
    c.Run(4100);
    EXPECT_EQ(c.d->Screen().Title, "Number Dialled");
    EXPECT_TRUE(c.d->Screen().OkEnabled);
    c.d->PressOk();
    EXPECT_EQ(c.result, kDialConfirmed);
    EXPECT_EQ(c.port.Opens, 0);

    // Cancel while the line is still placing the call.
    Call k;
    k.s.UseTapi = true;
    k.Begin();
    k.Run(1000);
    k.d->PressCancel();
    EXPECT_TRUE(k.d->Done());
    EXPECT_EQ(k.result, kDialCancelled);

    Call f;
    f.s.UseTapi = true;
    f.line.Fail = true;
    f.Begin();
    ASSERT_TRUE(f.d->Done());
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0].Title, kMsgTitleTapiFailure);
    EXPECT_EQ(f.result, kDialFailed);
}

} // namespace
} // namespace tessaly
