#pragma once
// The telephony layer: a line that places calls for the program (a softphone or a
// phone link on the desktop), with number translation for the user's location. The
// dialler and the dialling dialogs reach it only through this interface.

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

struct TTranslatedNumber {
    std::string Dialable;    // what the line is given
    std::string Displayable; // what the user is shown
};

struct TTelephonyDevice {
    int Id = 0;
    std::string Name;
};

class ITelephony {
public:
    virtual ~ITelephony() = default;
    // Whether a line can place calls at all; when not, Unavailable() says why in a
    // sentence for the user.
    virtual bool Available() const = 0;
    virtual std::string Unavailable() const = 0;
    // Nothing when the number cannot be translated.
    virtual std::optional<TTranslatedNumber> Translate(const std::string& number, int device) = 0;
    virtual std::vector<TTelephonyDevice> DeviceNames() = 0;
    // The location numbers are translated for; "N/A" when unknown.
    virtual std::string LocationName(int device) = 0;
    // Hands the dialable number to the line; false when it could not.
    virtual bool MakeCall(const std::string& dialable, int device) = 0;
};

} // namespace tessaly
