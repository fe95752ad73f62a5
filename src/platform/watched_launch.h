#pragma once
// Starting a program that is to go on running on its own (a browser, the desktop's
// opener) while still hearing of a start that fails: a program that cannot be run, or
// one that gives up at once with a failing exit status (no display, no application
// for the file), is reported; one still running after a short watch is left to run,
// and outlives this program.

#include <string>
#include <vector>

namespace tessaly {

// How long a started program is watched for an early failure.
constexpr int kLaunchWatchMs = 800;

// `program` is a path (or a name looked up in PATH); `folder` the working directory,
// empty for the current one. False when it could not be started or ended with a
// failing status within the watch.
bool StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                  const std::string& folder, int watchMs = kLaunchWatchMs);

} // namespace tessaly
