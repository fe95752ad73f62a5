#pragma once
// A command run in process with its own streams, keeping what it printed.

#include "cli/commands.h"

#include <sstream>
#include <string>

namespace tessaly::clitest {

struct TRun {
    std::istringstream In;
    std::ostringstream Out;
    std::ostringstream Err;
    explicit TRun(const std::string& input = std::string()) : In(input) {}
    TCliStreams Streams() { return TCliStreams{In, Out, Err}; }
};

} // namespace tessaly::clitest
