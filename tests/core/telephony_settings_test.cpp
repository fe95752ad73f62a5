// The "Dial" settings with their defaults and limits, what the dial dialog offers and
// writes back, what follows a call, and how a line error is reported.

#include "core/telephony/comm_port.h"
#include "core/telephony/dial_choices.h"
#include "core/telephony/dial_settings.h"
#include "core/telephony/dialler.h"
#include "tests/support/memory_settings_store.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(TelephonySettings, DefaultsLeaveTheModemUnconfigured) {
    MemorySettingsStore store;
    const TDialSettings s = LoadDialSettings(TSettingsAccess(store));
    EXPECT_TRUE(s.Port.empty());
    EXPECT_TRUE(s.Baud.empty());
    EXPECT_FALSE(ModemSettingsDefined(s));
    EXPECT_TRUE(s.Reset.empty());
    EXPECT_EQ(s.HangUp, "ATH");
    EXPECT_FALSE(s.Pulse);
    EXPECT_EQ(s.ModemTimeout, 30);
    EXPECT_TRUE(s.Redial);
    EXPECT_EQ(s.RedialDelay, 10);
    EXPECT_TRUE(s.UseModem);
    EXPECT_FALSE(s.UseTapi);
    EXPECT_TRUE(s.LogCalls);
    EXPECT_TRUE(s.DialPinBefore);
    EXPECT_EQ(DialMethodOf(s), TDialMethod::Modem);
}

TEST(TelephonySettings, StoredValuesAreHeldToTheirLimitsAndChoices) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    a.WriteString("Dial", "Modem Time-Out", "200");
    a.WriteString("Dial", "Re-dial Delay", "1");
    a.WriteString("Dial", "Port", "/dev/ttyUSB0");
    a.WriteString("Dial", "Baud", "9601");
    a.WriteString("Dial", "DialType", "P");
    a.WriteString("Dial", "Reset", std::string(80, 'Z'));
    TDialSettings s = LoadDialSettings(a);
    EXPECT_EQ(s.ModemTimeout, 90);
    EXPECT_EQ(s.RedialDelay, 5);
    EXPECT_EQ(s.Port, "/dev/ttyUSB0");
    EXPECT_TRUE(s.Pulse);
    EXPECT_EQ(s.Reset.size(), 60u);
    EXPECT_FALSE(ModemSettingsDefined(s));
    EXPECT_EQ(BaudRate(s), 0);
    s.Baud = "115200";
    EXPECT_TRUE(ModemSettingsDefined(s));
    EXPECT_EQ(BaudRate(s), 115200);
    s.Port = "  ";
    EXPECT_FALSE(ModemSettingsDefined(s));
}

TEST(TelephonySettings, SavedSettingsReadBackTheSame) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    TDialSettings s;
    s.UseModem = false;
    s.Port = "COM3";
    s.Baud = "19200";
    s.Reset = "ATZ";
    s.InitStr = "AT&F";
    s.HangUp = "ATH0";
    s.Pulse = true;
    s.NoCallingTone = true;
    s.ModemTimeout = 45;
    s.Redial = false;
    s.RedialDelay = 120;
    s.CountryCode = "44";
    s.LocalCode = "20";
    s.Provider = "131";
    s.Pin = "9999";
    s.DialPinBefore = false;
    s.UsePrefix = true;
    s.DefaultPrefix = "9";
    s.ChargeDialling = true;
    s.LogCalls = false;
    SaveDialSettings(a, s);
    EXPECT_EQ(store.Read("Dial", "DialType"), "P");
    const TDialSettings r = LoadDialSettings(a);
    EXPECT_EQ(r.Port, "COM3");
    EXPECT_EQ(r.Baud, "19200");
    EXPECT_EQ(r.HangUp, "ATH0");
    EXPECT_TRUE(r.Pulse && r.NoCallingTone);
    EXPECT_EQ(r.ModemTimeout, 45);
    EXPECT_FALSE(r.Redial);
    EXPECT_EQ(r.RedialDelay, 120);
    EXPECT_EQ(r.Pin, "9999");
    EXPECT_FALSE(r.DialPinBefore);
    EXPECT_TRUE(r.UsePrefix && r.ChargeDialling);
    EXPECT_FALSE(r.LogCalls || r.UseModem);
    EXPECT_EQ(DialMethodOf(r), TDialMethod::Manual);
}

TTemplate WorkTemplate() {
    TTemplate t(5);
    t.SetCaption(3, "Office");
    t.SetCaption(4, "Mobile");
    t.SetCaption(5, "Fax");
    t.SetCaption(6, "E-mail");
    t.ButtonKinds = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
    return t;
}

TEST(TelephonyChoices, TabsOnlyForDialButtonsWithSomethingToDial) {
    TAddress a(5);
    a.SetField(3, "020 7946 0000");
    a.SetField(4, "mobile unknown"); // nothing dialable
    a.SetField(5, "020 7946 0001");  // no dial button
    a.SetField(6, "someone@example.org");
    a.SetDialSetting(TDialSetting::UseDefaultDialling, 3, false);
    a.SetDialSetting(TDialSetting::PrefixOn, 3, true);
    a.SetPrefix(3, "9");
    TDialSettings s;
    auto tabs = DialTabs(a, WorkTemplate(), s);
    ASSERT_EQ(tabs.size(), 1u);
    EXPECT_EQ(tabs[0].Phone, 0);
    EXPECT_EQ(tabs[0].Caption, "Office");
    EXPECT_FALSE(tabs[0].Options.UseDefaults);
    EXPECT_TRUE(tabs[0].Options.Prefix);
    EXPECT_EQ(tabs[0].Options.PrefixText, "9");
    a.SetField(4, "07700 900123");
    EXPECT_EQ(DialTabs(a, WorkTemplate(), s).size(), 2u);
    // With the telephony line the stored options do not apply; logging follows "Log Calls".
    s.UseTapi = true;
    s.LogCalls = true;
    tabs = DialTabs(a, WorkTemplate(), s);
    EXPECT_FALSE(tabs[0].Options.Prefix);
    EXPECT_TRUE(tabs[0].Options.Log);
}

TEST(TelephonyChoices, DefaultsReplaceTheFieldsOptionsOnlyWhileTheFieldUsesThem) {
    TDialSettings s;
    s.UsePrefix = true;
    s.DefaultPrefix = "8";
    s.ChargeDialling = true;
    s.LogCalls = false;
    TDialOptions own{false, false, "9", false, true};
    EXPECT_EQ(EffectiveDialOptions(own, s), own);
    own.UseDefaults = true;
    const TDialOptions d = EffectiveDialOptions(own, s);
    EXPECT_TRUE(d.Prefix && d.Charge);
    EXPECT_EQ(d.PrefixText, "8");
    EXPECT_FALSE(d.Log);
}

TEST(TelephonyChoices, WritingBackTouchesOnlyTabbedFieldsAndNeverALockedBook) {
    TAddress a(5);
    a.SetField(3, "020 7946 0000");
    a.SetField(5, "020 7946 0001");
    TDialSettings s;
    auto tabs = DialTabs(a, WorkTemplate(), s);
    ASSERT_EQ(tabs.size(), 1u);
    tabs[0].Number = "020 7946 0999";
    tabs[0].Options = {false, true, "9", true, true};
    const TAddress before = a;
    EXPECT_FALSE(StoreDialTabs(a, tabs, s, true));
    EXPECT_EQ(a, before);
    EXPECT_TRUE(StoreDialTabs(a, tabs, s, false));
    EXPECT_EQ(a.Field(3), "020 7946 0999");
    EXPECT_EQ(a.Field(5), "020 7946 0001");
    EXPECT_EQ(StoredDialOptions(a, 0), (TDialOptions{false, true, "9", true, true}));
    EXPECT_EQ(StoredDialOptions(a, 2), StoredDialOptions(before, 2));
    // With the telephony line only the number and the log option are written.
    s.UseTapi = true;
    tabs[0].Options = {true, false, "", false, false};
    EXPECT_TRUE(StoreDialTabs(a, tabs, s, false));
    EXPECT_EQ(StoredDialOptions(a, 0), (TDialOptions{false, true, "9", true, false}));
}

TEST(TelephonyChoices, OnlyAConfirmedCallInAWritableBookIsRecorded) {
    EXPECT_TRUE(AfterCall(kDialConfirmed, true, false).SetLastCalled);
    EXPECT_TRUE(AfterCall(kDialConfirmed, true, false).StartCallLog);
    EXPECT_FALSE(AfterCall(kDialConfirmed, false, false).StartCallLog);
    EXPECT_TRUE(AfterCall(kDialConfirmed, false, false).SetLastCalled);
    EXPECT_FALSE(AfterCall(kDialConfirmed, true, true).SetLastCalled);
    EXPECT_FALSE(AfterCall(kDialConfirmed, true, true).StartCallLog);
    for (int r : {kDialFailed, kDialCancelled}) {
        EXPECT_FALSE(AfterCall(r, true, false).SetLastCalled);
        EXPECT_FALSE(AfterCall(r, true, false).StartCallLog);
    }
}

TEST(TelephonySettings, LineErrorsNameOnlyTheBitsThatAreSet) {
    EXPECT_EQ(LineErrorText(0), "Comm Event: NULL Error, EvtMask = 0");
    EXPECT_EQ(LineErrorText(kLineErrorFrame), "Comm Event: CE_FRAME, EvtMask = 8");
    EXPECT_EQ(LineErrorText(kLineErrorOverrun | kLineErrorParity),
              "Comm Event: CE_OVERRUN and CE_RXPARITY, EvtMask = 6");
    EXPECT_EQ(LineErrorText(kLineErrorFrame | kLineErrorOverrun | kLineErrorParity),
              "Comm Event: CE_FRAME and CE_OVERRUN and CE_RXPARITY, EvtMask = 14");
    EXPECT_EQ(LineErrorText(16 | kLineErrorFrame),
              "Comm Event: CE_FRAME and EV_ERR Unknown EvtMask, EvtMask = 24");
}

TEST(TelephonySettings, CommandTextsLoseControlCharactersAndSemicolons) {
    EXPECT_EQ(CommandSafe("9;\r\n\t1\x7f"), "91");
    EXPECT_EQ(CommandSafe("*70,"), "*70,");
}

} // namespace
} // namespace tessaly
