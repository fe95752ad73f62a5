#pragma once
// The frame the printing configuration files share (papers, layouts, a layout's
// objects, quick reports): the signature, the version word, the body, the signature.
// A file is read whole and refused as damaged when any part fails: a short or foreign
// file, a version this program does not know, a body that runs past the end, or a
// trailer that does not end the file exactly.

#include "core/store/stream.h"
#include "core/system/file_io.h"
#include "core/system/file_system.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// The version word this program writes into every printing file; older ones are read.
constexpr int kCatalogueVersion = 13;

enum class TCatalogueState {
    Missing, // no file: the defaults, and nothing is lost by writing a new one
    Valid,   // read from its file
    Damaged, // a file that could not be read or parsed
};

using TBodyReader = std::function<void(TStreamReader&, int version)>;
using TBodyWriter = std::function<void(TStreamWriter&)>;

// Parses an image, `read` reading the body; false when the image is damaged (what
// `read` filled in is then to be thrown away).
bool ParseFramedImage(std::span<const std::uint8_t> bytes, const TBodyReader& read);
// Signature, version 13, the body, signature. Throws StreamError when the body
// cannot be written in the file's form.
std::vector<std::uint8_t> WriteFramedImage(const TBodyWriter& write);

// Where a damaged file is kept before anything is written over it: "NAME.BAD" beside it.
std::string DamagedCopyPath(const std::string& path);
// Moves a damaged file to DamagedCopyPath (replacing an older copy). False when it
// could not be moved, in which case the file must not be written over.
bool KeepDamagedFile(const std::string& path, IFileSystem& fs = RealFileSystem());

} // namespace tessaly
