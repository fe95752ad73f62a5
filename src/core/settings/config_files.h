#pragma once
// The configuration files shared by all books, named after the program
// (TESSALY.DEF, .TPE, .TPI, .TPW, .TPQ, .TPP and every *.TPL), and their move from one
// directory to another.

#include <string>
#include <vector>

namespace tessaly {

struct TMoveResult {
    bool Success = false;
    // The target already held configuration files, so nothing was moved.
    bool TargetHadFiles = false;
};

// The seven names whose presence in a target refuses a move.
std::vector<std::string> ConfigFileNames(const std::string& programName);

// Moves the configuration files from source to target. Every copy is verified (size and
// bytes) before any source is deleted; a file already in the target is never
// overwritten or deleted, and on failure only the files this call created are removed
// again. A missing target directory is created (and removed again on failure).
TMoveResult MoveConfigFiles(const std::string& target, const std::string& source,
                            const std::string& programName);

} // namespace tessaly
