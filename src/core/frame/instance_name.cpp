#include "core/frame/instance_name.h"

#include "core/common/hash.h"

#include <cstdint>
#include <cstdio>

namespace tessaly {

namespace {

constexpr std::size_t kMaxName = 80;

std::string FileNameSafe(const std::string& text) {
    std::string out = text;
    for (char& c : out) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!safe)
            c = '_';
    }
    return out;
}

// ":12.0" is display 12, screen 0: the screen does not make another display.
std::string WithoutScreen(const std::string& display) {
    const std::size_t colon = display.rfind(':');
    if (colon == std::string::npos)
        return display;
    const std::size_t dot = display.find('.', colon);
    return dot == std::string::npos ? display : display.substr(0, dot);
}

} // namespace

std::string InstanceName(const TInstanceEnvironment& e) {
    std::string rest;
    if (!e.XDisplay.empty())
        rest += "-x" + WithoutScreen(e.XDisplay);
    if (!e.WaylandDisplay.empty())
        rest += "-w" + e.WaylandDisplay;
    if (!e.RuntimeDir.empty())
        rest += "-r" + e.RuntimeDir;
    const std::string base = FileNameSafe(e.Base);
    std::string name = base + FileNameSafe(rest);
    if (name.size() <= kMaxName)
        return name;
    // Too long for a socket's path: the base stays readable, the rest is a hash.
    const std::string hash = Fnv1a64(e.Base + '\n' + rest);
    return base.substr(0, kMaxName - hash.size() - 1) + "-" + hash;
}

} // namespace tessaly
