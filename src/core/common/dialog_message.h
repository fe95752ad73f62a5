#pragma once
// A message for the program's one message dialog, as the core composes it: the
// title number of the string table, the finished text, the kind (icon and heading)
// and the button set. The windows only show what they are given.

#include <string>

namespace tessaly {

// Title numbers.
constexpr int kMsgTitleRequestDenied = 1000;
constexpr int kMsgTitleAccessError = 1001;
constexpr int kMsgTitleCreateFile = 1002;
constexpr int kMsgTitleFileNameInvalid = 1003;
constexpr int kMsgTitleValidationFailed = 1004;
constexpr int kMsgTitleUnknownError = 1005;
constexpr int kMsgTitleDeletionRequested = 1006;
constexpr int kMsgTitleDataLossPossible = 1007;
constexpr int kMsgTitleSearchFailed = 1009;
constexpr int kMsgTitleRequiredField = 1010;
constexpr int kMsgTitleAttachmentManagement = 1011;

// Kinds.
constexpr int kMsgKindWarning = 0;
constexpr int kMsgKindError = 1;
constexpr int kMsgKindInformation = 2;
constexpr int kMsgKindConfirmation = 3;

// Button sets.
constexpr int kMsgButtonsOk = 0;
constexpr int kMsgButtonsOkCancel = 1;
constexpr int kMsgButtonsYesNo = 2;
constexpr int kMsgButtonsYesNoCancel = 4;
constexpr int kMsgButtonsYesNoCancelAll = 5; // plus "Yes to All"

struct TDialogMessage {
    int Title = 0;
    std::string Text;
    int Kind = kMsgKindError;
    int Buttons = kMsgButtonsOk;
    bool operator==(const TDialogMessage&) const = default;
};

} // namespace tessaly
