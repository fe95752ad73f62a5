#pragma once
// The name under which the running copy of the program listens for hand-overs. A copy
// hands its file over only to a copy the user can see: one on the same display (the X
// display, or the Wayland socket) of the same desktop session (its runtime folder), so
// the name holds all of these besides the user's own part.

#include <string>

namespace tessaly {

struct TInstanceEnvironment {
    std::string Base;           // the user's part ("tessaly-1000"), or a test's own name
    std::string XDisplay;       // DISPLAY, as ":0", ":12.0" or "host:10.0"; may be empty
    std::string WaylandDisplay; // WAYLAND_DISPLAY, a socket name or path; may be empty
    std::string RuntimeDir;     // XDG_RUNTIME_DIR; may be empty
};

// The name: the base, then the X display without its screen number (":12.0" and ":12"
// are one display), the Wayland socket and the runtime folder, each part present only
// when set, every character outside letters, digits, '.', '_' and '-' turned into '_'
// (the name is a file name in the temporary folder). A name longer than 80 characters
// keeps its base and ends in a hash of the whole instead, so it stays well inside the
// length a local socket's path may have.
std::string InstanceName(const TInstanceEnvironment& environment);

} // namespace tessaly
