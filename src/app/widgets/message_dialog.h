#pragma once
// The one message dialog of the program. Every message to the user goes through
// ShowMessage(title number, text, kind, button set), which returns the button
// pressed. The dialog itself is drawn by a presenter that tests replace.

#include "core/common/dialog_message.h"

#include <QString>
#include <vector>

namespace tessaly {

enum TMessageKind { mkWarning = 0, mkError = 1, mkInformation = 2, mkConfirmation = 3, mkNone = 4 };

enum TMessageButtons {
    mbOk = 0,
    mbOkCancel = 1,
    mbYesNo = 2,
    mbAbortRetryIgnore = 3,
    mbYesNoCancel = 4,
    mbYesNoCancelAll = 5
};

// Results as the system numbers them. "Yes to All" answers mrIgnore.
enum TMessageResult {
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

// Title numbers of the string table.
enum TMessageTitle {
    mtRequestDenied = 1000,
    mtAccessError = 1001,
    mtCreateRequiredFile = 1002,
    mtFileNameInvalid = 1003,
    mtValidationFailed = 1004,
    mtUnknownError = 1005,
    mtDeletionRequested = 1006,
    mtDataLossPossible = 1007,
    mtFunctionNotSetUp = 1008,
    mtSearchFailed = 1009,
    mtRequiredField = 1010,
    mtAttachmentManagement = 1011,
    mtChangingDefault = 1012,
    mtTelephoneDialling = 1013,
    mtAdjustingOptions = 1014,
    mtTapiFailure = 1015
};

struct TMessageButton {
    QString Caption;
    int Result = mrOk;
    bool IsDefault = false;
    bool IsCancel = false; // answers Escape and the close box
};

struct TMessageRequest {
    int TitleNumber = 0;
    QString Title;   // the window caption
    QString Heading; // the kind's heading beside the icon
    QString Text;
    int Kind = mkWarning;
    int ButtonSet = mbOk;
    std::vector<TMessageButton> Buttons;
};

// The caption of a title number; an unknown number gives "Tessaly".
QString MessageTitle(int number);
// "Warning - Please Note", "Error Encountered", ...; kinds outside 0 to 4 read as 4.
QString MessageHeading(int kind);
// The buttons of a set with their default and cancel buttons; a set outside 0 to 5
// reads as 0.
std::vector<TMessageButton> MessageButtons(int set);
// What Escape or the close box answers: the cancel button, else the only button.
int CancelResult(const std::vector<TMessageButton>& buttons);

class IMessagePresenter {
public:
    virtual ~IMessagePresenter() = default;
    // Shows the dialog modally and returns one of the request's button results.
    virtual int Present(const TMessageRequest& request) = 0;
};

// Installs the presenter used from now on; nullptr restores the real dialog.
void SetMessagePresenter(IMessagePresenter* presenter);

// Shows a message. While it is open the cursor is the normal arrow; the cursor set
// before (often the hour-glass) is back when it closes.
int ShowMessage(int titleNumber, const QString& text, int kind, int buttons);
// Shows a message the core composed.
int ShowMessage(const TDialogMessage& message);

} // namespace tessaly
