#include "core/telephony/number.h"

#include "core/common/text.h"
#include "core/telephony/telephony.h"

#include <algorithm>

namespace tessaly {

namespace {

std::string TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

// Takes `code` and the blank or "-" behind it off the front of `number`.
void RemoveCode(std::string& number, const std::string& code) {
    if (code.empty() || number.size() <= code.size() || number.compare(0, code.size(), code) != 0)
        return;
    const char next = number[code.size()];
    if (next != ' ' && next != '-')
        return;
    number = TrimBlanks(std::string_view(number).substr(code.size() + 1));
}

} // namespace

std::string CleanNumber(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    for (char c : text)
        if (c == ' ' || c == '#' || c == '*' || c == ',' || c == '.' || (c >= '0' && c <= '9'))
            kept += c;
    return TrimBlanks(kept);
}

std::string PrepareNumber(std::string_view number, std::string_view prefix, bool usePrefix,
                          bool forDialling, bool charge, const TDialSettings& settings,
                          ITelephony* telephony) {
    if (settings.UseTapi) {
        if (!telephony)
            return {};
        const auto translated = telephony->Translate(std::string(number), settings.TapiId);
        if (!translated)
            return {};
        return CutShort(forDialling ? translated->Dialable : translated->Displayable);
    }
    const std::string country = CleanNumber(settings.CountryCode);
    const std::string local = CleanNumber(settings.LocalCode);

    std::string n(number);
    std::replace(n.begin(), n.end(), '-', ' ');
    n = CleanNumber(n);
    if (n.empty())
        return {};

    // Texts the user typed that end up in a modem command lose what could break it.
    std::string lead = usePrefix ? CommandSafe(prefix) + " " : std::string();
    std::string account;
    const bool chargeApplies = charge && settings.UseModem;
    if (chargeApplies) {
        const std::string pin = CommandSafe(Trim(settings.Pin));
        lead += CommandSafe(Trim(settings.Provider)) + " ";
        if (!pin.empty())
            account = forDialling ? pin : "{pin}";
    }

    RemoveCode(n, country);
    RemoveCode(n, local);

    const std::string result = chargeApplies && settings.DialPinBefore ? lead + account + " " + n
                                                                       : lead + n + " " + account;
    return CutShort(result);
}

} // namespace tessaly
