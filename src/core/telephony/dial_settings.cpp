#include "core/telephony/dial_settings.h"

#include "core/common/text.h"

#include <algorithm>
#include <string>

namespace tessaly {

bool IsBaudChoice(std::string_view baud) {
    return std::find(kBaudChoices.begin(), kBaudChoices.end(), baud) != kBaudChoices.end();
}

bool ModemSettingsDefined(const TDialSettings& s) {
    return !Trim(s.Port).empty() && IsBaudChoice(s.Baud);
}

int BaudRate(const TDialSettings& s) {
    return IsBaudChoice(s.Baud) ? std::stoi(s.Baud) : 0;
}

TDialSettings LoadDialSettings(const TSettingsAccess& a) {
    const char* d = kDialSection;
    TDialSettings s;
    s.UseTapi = a.ReadBool(d, "Use TAPI", false);
    s.TapiId = a.ReadInteger(d, "TAPI ID", 0);
    s.UseModem = a.ReadBool(d, "Use Modem", true);
    s.CountryCode = a.ReadString(d, "Country-Code", "");
    s.LocalCode = a.ReadString(d, "Local-Code", "");
    s.UsePrefix = a.ReadBool(d, "Use Prefix", false);
    s.DefaultPrefix = a.ReadString(d, "Default Prefix", "");
    s.ChargeDialling = a.ReadBool(d, "Charge Dialling", false);
    s.LogCalls = a.ReadBool(d, "Log Calls", true);
    s.DialPinBefore = a.ReadBool(d, "Dial Pin Before", true);
    s.Pin = a.ReadString(d, "PIN", "");
    s.Provider = a.ReadString(d, "Provider", "");
    // The port name is at most 5 characters for "COM1".."COM4"; a device path typed by
    // the user is kept whole.
    s.Port = Trim(a.ReadString(d, "Port", ""));
    s.Baud = Trim(a.ReadString(d, "Baud", "")).substr(0, 7);
    s.Reset = a.ReadString(d, "Reset", "").substr(0, 60);
    s.InitStr = a.ReadString(d, "InitStr", "").substr(0, 60);
    s.HangUp = a.ReadString(d, "Hang-Up", "ATH").substr(0, 40);
    s.Pulse = a.ReadString(d, "DialType", "T") == "P";
    s.NoCallingTone = a.ReadBool(d, "NoCallingTone", false);
    s.ModemTimeout = a.ReadInteger(d, "Modem Time-out", 30, kMinModemTimeout, kMaxModemTimeout);
    s.Redial = a.ReadBool(d, "Re-dial", true);
    s.RedialDelay = a.ReadInteger(d, "Re-dial Delay", 10, kMinRedialDelay, kMaxRedialDelay);
    return s;
}

void SaveDialSettings(TSettingsAccess& a, const TDialSettings& s) {
    const char* d = kDialSection;
    a.WriteBool(d, "Use Modem", s.UseModem);
    a.WriteBool(d, "Use TAPI", s.UseTapi);
    a.WriteString(d, "Port", s.Port);
    a.WriteString(d, "Baud", s.Baud);
    a.WriteString(d, "Reset", s.Reset);
    a.WriteString(d, "InitStr", s.InitStr);
    a.WriteString(d, "Hang-Up", s.HangUp);
    a.WriteString(d, "DialType", s.Pulse ? "P" : "T");
    a.WriteBool(d, "NoCallingTone", s.NoCallingTone);
    a.WriteInteger(d, "Modem Time-Out",
                   std::clamp(s.ModemTimeout, kMinModemTimeout, kMaxModemTimeout));
    a.WriteBool(d, "Re-dial", s.Redial);
    a.WriteInteger(d, "Re-dial Delay", std::clamp(s.RedialDelay, kMinRedialDelay, kMaxRedialDelay));
    a.WriteString(d, "Country-Code", s.CountryCode);
    a.WriteString(d, "Local-Code", s.LocalCode);
    a.WriteString(d, "Provider", s.Provider);
    a.WriteString(d, "PIN", s.Pin);
    a.WriteBool(d, "Dial Pin Before", s.DialPinBefore);
    a.WriteBool(d, "Use Prefix", s.UsePrefix);
    a.WriteString(d, "Default Prefix", s.DefaultPrefix);
    a.WriteBool(d, "Charge Dialling", s.ChargeDialling);
    a.WriteBool(d, "Log Calls", s.LogCalls);
}

std::string CommandSafe(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127 || c == ';')
            continue;
        out += c;
    }
    return out;
}

} // namespace tessaly
