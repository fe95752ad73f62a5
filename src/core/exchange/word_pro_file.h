#pragma once
// The word processor file (TESSALY.TPW in the configuration folder): signature,
// layout version, the count, the selected name, each item's name and title bar text,
// and the signature again. A file that cannot be read whole gives the default list.

#include "core/exchange/word_pro.h"
#include "core/system/file_io.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaly {

// The list read from an image; nothing when the image is damaged (another signature,
// a short read, a missing or wrong trailer).
std::optional<TWordProList> ParseWordProImage(std::span<const std::uint8_t> bytes);
// Empty slots are not written.
std::vector<std::uint8_t> WriteWordProImage(const TWordProList& list);

// The file's list, or the default list when it is missing or damaged.
TWordProList LoadWordProcessors(const std::string& path, IFileSystem& fs = RealFileSystem());
// Writes the list crash-safe: the old file stays whole when the write fails. A list
// that cannot be written in the format (a text too long) fails without a write.
TIoResult SaveWordProcessors(const std::string& path, const TWordProList& list,
                             IFileSystem& fs = RealFileSystem());

} // namespace tessaly
