#include "core/settings/settings_access.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace tessaly {

std::optional<int> ParseSettingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::size_t end = text.size();
    while (end > i && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    text = text.substr(i, end - i);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t v = 0;
        for (std::size_t k = 2; k < text.size(); ++k) {
            const int c = std::tolower(static_cast<unsigned char>(text[k]));
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else
                return std::nullopt;
            v = v * 16 + static_cast<std::uint64_t>(digit);
            if (v > 0xFFFFFFFFull)
                return std::nullopt;
        }
        // Eight hexadecimal digits reach the whole 32-bit pattern, as colours need.
        return static_cast<int>(static_cast<std::uint32_t>(v));
    }
    bool negative = false;
    std::size_t k = 0;
    if (k < text.size() && (text[k] == '-' || text[k] == '+')) {
        negative = text[k] == '-';
        ++k;
    }
    if (k == text.size())
        return std::nullopt;
    std::int64_t v = 0;
    for (; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9')
            return std::nullopt;
        v = v * 10 + (text[k] - '0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > 2147483647LL)
        return std::nullopt;
    return static_cast<int>(v);
}

std::string TSettingsAccess::ReadString(const std::string& section, const std::string& name,
                                        const std::string& def) const {
    const auto v = store_.Read(section, name);
    return v ? *v : def;
}

int TSettingsAccess::ReadInteger(const std::string& section, const std::string& name,
                                 int def) const {
    const auto v = store_.Read(section, name);
    if (!v)
        return def;
    return ParseSettingInteger(*v).value_or(def);
}

int TSettingsAccess::ReadInteger(const std::string& section, const std::string& name, int def,
                                 int low, int high) const {
    return std::clamp(ReadInteger(section, name, def), low, high);
}

bool TSettingsAccess::ReadBool(const std::string& section, const std::string& name,
                               bool def) const {
    return ReadInteger(section, name, def ? 1 : 0) != 0;
}

bool TSettingsAccess::Exists(const std::string& section, const std::string& name) const {
    return store_.Read(section, name).has_value();
}

void TSettingsAccess::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
    if (!store_.Write(section, name, value))
        throw TSettingsWriteError("Unable to write the setting \"" + name + "\" of section \"" +
                                  section + "\"");
}

void TSettingsAccess::WriteInteger(const std::string& section, const std::string& name, int value) {
    WriteString(section, name, std::to_string(value));
}

void TSettingsAccess::WriteBool(const std::string& section, const std::string& name, bool value) {
    WriteString(section, name, value ? "1" : "0");
}

void TSettingsAccess::EraseSection(const std::string& section) {
    if (!store_.EraseSection(section))
        throw TSettingsWriteError("Unable to erase the settings section \"" + section + "\"");
}

} // namespace tessaly
