#pragma once
// The "Dial" section of the settings: the dialling method, the modem and its
// commands, re-dial, the location codes, charge dialling and the default options of
// a telephone field. Read by whoever dials, at the moment it dials; written by the
// modem configuration dialog.

#include "core/settings/settings_access.h"

#include <array>
#include <string>
#include <string_view>

namespace tessaly {

inline constexpr const char* kDialSection = "Dial";

// The speeds the configuration offers; "Baud" must be one of them.
inline constexpr std::array<std::string_view, 11> kBaudChoices = {
    "110", "300", "1200", "2400", "4800", "9600", "14400", "19200", "38400", "57600", "115200"};
inline constexpr std::array<std::string_view, 4> kPortChoices = {"COM1", "COM2", "COM3", "COM4"};

// Limits of the modem's time-out and of the pause between re-dials, in seconds.
constexpr int kMinModemTimeout = 5;
constexpr int kMaxModemTimeout = 90;
constexpr int kMinRedialDelay = 5;
constexpr int kMaxRedialDelay = 300;

struct TDialSettings {
    // Method: TAPI, modem, or manual when both are off.
    bool UseTapi = false;
    int TapiId = 0;
    bool UseModem = true;
    // Location and charge dialling.
    std::string CountryCode;
    std::string LocalCode;
    bool UsePrefix = false;
    std::string DefaultPrefix;
    bool ChargeDialling = false;
    bool LogCalls = true;
    bool DialPinBefore = true;
    std::string Pin;
    std::string Provider;
    // The modem. "Port" and "Baud" are empty until the user has configured them.
    std::string Port;
    std::string Baud;
    std::string Reset;   // empty: no reset command
    std::string InitStr; // empty: no initialisation command
    std::string HangUp = "ATH";
    bool Pulse = false; // "DialType" "P"; "T" (tone) otherwise
    bool NoCallingTone = false;
    int ModemTimeout = 30; // seconds, 5 to 90
    bool Redial = true;
    int RedialDelay = 10; // seconds, 5 to 300
};

// Whether a text is one of the offered speeds.
bool IsBaudChoice(std::string_view baud);
// Whether both "Port" and "Baud" are set, the speed being one of the offered ones.
bool ModemSettingsDefined(const TDialSettings& s);
// The speed as a number; 0 when it is not one of the choices.
int BaudRate(const TDialSettings& s);

TDialSettings LoadDialSettings(const TSettingsAccess& access);
// Writes what the modem configuration dialog edits (all but "TAPI ID", which the
// dialog writes as soon as a device is chosen). Throws TSettingsWriteError.
void SaveDialSettings(TSettingsAccess& access, const TDialSettings& s);

// A text the user typed that goes into a modem command: control characters and ";"
// (which would end the command early) are dropped.
std::string CommandSafe(std::string_view text);

} // namespace tessaly
