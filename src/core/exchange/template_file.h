#pragma once
// The framing the import and export template files share: signature, version word,
// the list, signature. A file whose signatures, version or body do not read is
// damaged, and its list is then not used.

#include "core/store/stream.h"
#include "core/system/file_io.h"

#include <functional>
#include <span>
#include <string>

namespace tessaly {

// The version the template files are written with; newer ones are refused.
constexpr int kTemplateFileVersion = 13;

// Checks the framing and hands the body to `readList` (which throws StreamError on
// a damaged body); false when any of it does not read or bytes follow the trailer.
bool ReadTemplateImage(std::span<const std::uint8_t> bytes,
                       const std::function<void(TStreamReader&, int version)>& readList);
// Signature, version 13, what `writeList` writes, signature.
std::vector<std::uint8_t>
WriteTemplateImage(const std::function<void(TStreamWriter&, int version)>& writeList);

} // namespace tessaly
