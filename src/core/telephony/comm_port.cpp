#include "core/telephony/comm_port.h"

namespace tessaly {

std::string LineErrorText(unsigned bits) {
    std::string what;
    const auto add = [&](const char* name) {
        if (!what.empty())
            what += " and ";
        what += name;
    };
    if (bits & kLineErrorFrame)
        add("CE_FRAME");
    if (bits & kLineErrorOverrun)
        add("CE_OVERRUN");
    if (bits & kLineErrorParity)
        add("CE_RXPARITY");
    if (bits & ~(kLineErrorFrame | kLineErrorOverrun | kLineErrorParity))
        add("EV_ERR Unknown EvtMask");
    if (what.empty())
        what = "NULL Error";
    return "Comm Event: " + what + ", EvtMask = " + std::to_string(bits);
}

} // namespace tessaly
