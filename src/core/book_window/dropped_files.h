#pragma once
// Files dropped on an entry of the book window: the question asked first (string 128).

#include "core/common/dialog_message.h"

#include <string_view>

namespace tessaly {

TDialogMessage DroppedFilesQuestion(std::string_view bookShortName, std::string_view entryName,
                                    int count);

} // namespace tessaly
