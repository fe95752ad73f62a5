#pragma once
// Whole-file reads and atomic writes: a file is either replaced completely or left as
// it was. Every call goes through an IFileSystem (the real one unless a test gives
// its own).

#include "core/system/file_system.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

struct TIoResult {
    bool Ok = false;
    std::string Error;      // the reason, when not Ok, with the system's text
    TFileIdentity Identity; // of the file read or written, when Ok
    int ErrorCode = 0;      // errno of the failure, when there is one
};

// Opens a file for reading and takes its state. The open never waits (a FIFO would
// wait for a writer), and anything but a regular file is refused, since a device or
// a pipe may never end. Returns the descriptor, or -1 with `failure` saying why.
int OpenForReading(const std::string& path, TFileStat& st, TIoResult& failure,
                   IFileSystem& fs = RealFileSystem());

// Reads the whole of a regular file into `out`.
TIoResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out,
                        IFileSystem& fs = RealFileSystem());

// Replaces the file at `path` (the file a symbolic link names, not the link) with
// `data`. The data goes into an unnamed file in the same folder (O_TMPFILE), or where
// the file system cannot make one into a named temporary "NAME.tmpPID-...", which is
// synced, given the old file's owner, group and mode, linked in and renamed over the
// old file. On any failure the old file is untouched and no temporary is left.
// Refused without a write: a target that is not a regular file, a file whose mode
// bits deny this user writing (whoever the user is), and a file of another owner
// when the new file could not keep that owner. A save also removes the temporaries
// of earlier saves of the same file whose writer process has gone.
TIoResult WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                              IFileSystem& fs = RealFileSystem());
// A file's bytes handed over in pieces: `put` takes one piece and says whether it was
// written. A source hands every piece in order and returns false when it could not
// (or when a piece was refused), which fails the write and leaves the old file.
using TByteSink = std::function<bool(std::span<const std::uint8_t>)>;
using TByteSource = std::function<bool(const TByteSink& put)>;
// The same for bytes made as they are written, so that a large file need not be
// built in memory first.
TIoResult WriteFileAtomically(const std::string& path, const TByteSource& source,
                              IFileSystem& fs = RealFileSystem());
// Copies a file byte for byte through WriteFileAtomically.
TIoResult CopyFileAtomically(const std::string& from, const std::string& to,
                             IFileSystem& fs = RealFileSystem());
bool FileExists(const std::string& path);

// The path a save of `path` writes to: a symbolic link is followed to its file, also
// to one that does not exist yet, which the save then makes.
std::string ResolveTarget(const std::string& path);
// Whether the mode bits of a file let this process's user write it: the owner's,
// the group's or the others' bit, whichever class the user falls in. The superuser
// is held to the same bits, so that a read-only book stays read-only.
bool ModeAllowsWriting(const TFileStat& st);
// Removes "NAME.tmpPID-..." files beside `path` whose process PID no longer runs.
// Returns how many were removed.
int RemoveStaleTemporaries(const std::string& path, IFileSystem& fs = RealFileSystem());

} // namespace tessaly
