#pragma once
// The telephony line on the desktop: a number goes to the program registered for
// "tel:" links (a softphone or a phone link). The programs so registered are the
// devices; the location is the user's country, from the "Country-Code" setting or,
// without one, the system's locale. Numbers are translated for that country into a
// dialable international (E.164) form and a readable one.

#include "core/telephony/telephony.h"

#include <functional>
#include <string>

namespace tessaly {

class TDesktopTelephony final : public ITelephony {
public:
    // `countryCode`: the own country's dialling code ("44"), empty for the locale's.
    explicit TDesktopTelephony(std::string countryCode = {});

    bool Available() const override;
    std::string Unavailable() const override;
    std::optional<TTranslatedNumber> Translate(const std::string& number, int device) override;
    std::vector<TTelephonyDevice> DeviceNames() override;
    std::string LocationName(int device) override;
    bool MakeCall(const std::string& dialable, int device) override;

    // The two-letter region numbers are read in ("GB").
    std::string Region() const;
    // Where calls go; tests replace it (default: the desktop's opener with a tel: link).
    std::function<bool(const std::string& url)> OpenUrl;
    // Where the registered programs are looked for; tests replace it.
    std::vector<std::string> ApplicationFolders;

private:
    std::string countryCode_;
};

} // namespace tessaly
