#pragma once
// "Save &as...": the checks on the file chosen before the book is written to it.

#include "core/common/dialog_message.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// Whether the name is that of a back-up copy (".BAK" in any case).
bool IsBackupName(std::string_view path);

// What happens when the book is saved as `path`.
struct TSaveAsPlan {
    // String 4: the file is open in another window; nothing is written.
    std::optional<TDialogMessage> Refusal;
    // The file exists and may not be written: the window takes the new name locked and
    // nothing is written over it.
    bool LockedTarget = false;
    // A back-up name: the book is written, then the window is locked with string 440.
    bool BackupName = false;
};
TSaveAsPlan PlanSaveAs(std::string_view path, bool openInAnotherWindow, bool targetReadOnly);

} // namespace tessaly
