#pragma once
// The one settings accessor of the run: sections of named values over a settings
// store, every value a string. Integers are decimal text (a "0x" prefix reads as
// hexadecimal), booleans "1" or "0"; a missing or unreadable value yields the
// caller's default. A write that fails throws TSettingsWriteError, which abandons
// the command in progress; the caller shows its text.

#include "core/system/settings_store.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

class TSettingsWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stored integer: optional blanks and sign, then decimal digits; or "0x"/"0X"
// followed by hexadecimal digits. Nothing when the text is not a 32-bit number.
std::optional<int> ParseSettingInteger(std::string_view text);

class TSettingsAccess {
public:
    explicit TSettingsAccess(ISettingsStore& store) : store_(store) {}

    std::string ReadString(const std::string& section, const std::string& name,
                           const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& name, int def) const;
    // An integer read as above and then held to [low, high].
    int ReadInteger(const std::string& section, const std::string& name, int def, int low,
                    int high) const;
    bool ReadBool(const std::string& section, const std::string& name, bool def) const;
    // Whether the value is present at all.
    bool Exists(const std::string& section, const std::string& name) const;

    void WriteString(const std::string& section, const std::string& name, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& name, int value);
    void WriteBool(const std::string& section, const std::string& name, bool value);
    void EraseSection(const std::string& section);

    ISettingsStore& Store() { return store_; }
    const ISettingsStore& Store() const { return store_; }

private:
    ISettingsStore& store_;
};

} // namespace tessaly
