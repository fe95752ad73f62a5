#pragma once
// Commands run as a user runs them from a shell, for tests of the programs themselves:
// run to the end with their output gathered, or started and killed part-way.

#include <chrono>
#include <string>
#include <sys/types.h>

namespace tessaly::testing {

struct TShellRun {
    int Status = -1;    // the exit status; -1 when the command did not exit by itself
    std::string Output; // standard output and standard error together
};

// Runs `command` through /bin/sh to its end.
TShellRun RunShell(const std::string& command);

// `program` run where no desktop secret service can answer, so that a password comes
// only from what the command line names.
std::string WithoutSecretService(const std::string& program);

// Starts `command` through /bin/sh, its output thrown away; the child's process id.
pid_t StartShell(const std::string& command);

// Waits until `folder` (searched through its sub-folders) holds at least `count` files
// ending in `extension`; false when `timeout` passed first.
bool WaitForFiles(const std::string& folder, const std::string& extension, int count,
                  std::chrono::milliseconds timeout);

// Kills `child` with SIGKILL and reaps it; true when the signal ended it (rather than
// the child having already ended on its own).
bool KillAndReap(pid_t child);

// Starts `command` and kills it as above once `folder` holds `count` files ending in
// `extension` (or a minute has passed); true when the kill ended it.
bool KillOnceFilesAppear(const std::string& command, const std::string& folder,
                         const std::string& extension, int count);

// Runs `command` until it exits with 0, at most `tries` times; the last run.
TShellRun RunShellUntilDone(const std::string& command, int tries);

} // namespace tessaly::testing
