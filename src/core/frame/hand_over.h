#pragma once
// What a second copy of the program sends to the running one. The message carries the
// absolute path itself, so two copies starting together cannot overwrite each other's
// file name, and the kind of file, so that a diary opens as a diary.
//
//   "TESSALY-HANDOVER 1\n" "RAISE\n"                       bring the frame to the front
//   "TESSALY-HANDOVER 1\n" "OPEN ADR <n>\n" <n path bytes>  and open that book ("TDY": diary)
//
// The running copy answers kHandOverAck once it has taken the message.

#include "core/common/file_paths.h"

#include <optional>
#include <string>

namespace tessaly {

inline constexpr char kHandOverAck[] = "OK\n";

struct THandOver {
    // Empty: only bring the running copy to the front.
    std::string Path;
    TFileKind Kind = TFileKind::Book;
    bool operator==(const THandOver&) const = default;
};

std::string EncodeHandOver(const THandOver& handOver);

// Decoding a message that may still be arriving.
enum class THandOverStatus { Incomplete, Complete, Invalid };
THandOverStatus DecodeHandOver(const std::string& bytes, THandOver& out);

// What the second copy hands over for its first command-line argument: the file,
// resolved against the copy's own working folder, when it exists; otherwise nothing
// (the running copy only comes to the front).
THandOver HandOverFor(const std::string& argument, const std::string& workingDirectory);

} // namespace tessaly
