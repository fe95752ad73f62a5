#include "core/book_window/save_as.h"

#include "core/common/fill_text.h"
#include "core/common/upper_case.h"

namespace tessaly {

bool IsBackupName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string_view ext = name.substr(dot + 1);
    if (ext.size() != 3)
        return false;
    return UpperChar(ext[0]) == 'B' && UpperChar(ext[1]) == 'A' && UpperChar(ext[2]) == 'K';
}

TSaveAsPlan PlanSaveAs(std::string_view path, bool openInAnotherWindow, bool targetReadOnly) {
    TSaveAsPlan plan;
    if (openInAnotherWindow) {
        plan.Refusal = TDialogMessage{
            kMsgTitleRequestDenied,
            FillText("%s is Currently Open and therefore can not be Replaced", {path}),
            kMsgKindError, kMsgButtonsOk};
        return plan;
    }
    plan.LockedTarget = targetReadOnly;
    plan.BackupName = !targetReadOnly && IsBackupName(path);
    return plan;
}

} // namespace tessaly
