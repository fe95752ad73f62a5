#pragma once
// Opening attachments and e-mail addresses safely: the URLs that may be handed to the
// browser, the documents that open in this program, in their application or only after
// a question, and the messages of each failure.

#include "core/common/dialog_message.h"
#include "core/store/document.h"
#include "core/system/desktop.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

struct TUrlCheck {
    bool Ok = false;
    std::string Url;     // the URL to open, when Ok
    std::string Refusal; // why it is not opened, when not Ok
};

// A URL as typed: trimmed; without a scheme it is taken as a web address. Only http,
// https, ftp and mailto are opened; a URL holding a control character or a blank, or
// beginning with "-", is refused.
TUrlCheck CheckLaunchUrl(std::string_view text);
// "mailto:" and the address, checked as above.
TUrlCheck MailtoUrl(std::string_view address);

// The message of a URL that is not opened (title "Attachment Management").
TDialogMessage UrlRefusalMessage(const TUrlCheck& check);

// Starts the browser with one parameter. Nothing known: the hint to configure one.
// Returns the message to show on failure.
std::optional<TDialogMessage> OpenInBrowser(const std::string& browserPath,
                                            const std::string& parameter, IDesktop& desktop);

// The file system's name of a document the book names in its code page.
std::string DocumentPath(std::string_view fileNameText);

// Whether a file is one of this program's books or diaries, by its extension.
bool IsOwnFile(std::string_view path);

struct TDocumentOpenHooks {
    // Opens one of our books or diaries in this program (the frame's open routine).
    std::function<void(const std::string& path)> OpenInProgram;
    // Asks before a document that runs something is opened; true to go on.
    std::function<bool(const TDialogMessage& question)> Ask;
};

// Opens an attachment: a URL in the browser, a document as its kind requires. Returns
// the message to show on failure.
std::optional<TDialogMessage> OpenAttachment(const TDocument& attachment,
                                             const std::string& browserPath, IDesktop& desktop,
                                             const TDocumentOpenHooks& hooks);

struct TRemoveAttachmentOutcome {
    bool RemoveAttachment = true;
    std::optional<TDialogMessage> Message;
};

// "Remove Attachment" on OK. The disk file goes only when asked for, and only when it
// is a regular file; when it cannot be deleted the attachment stays and the reason is
// shown.
TRemoveAttachmentOutcome RemoveAttachmentFile(const TDocument& attachment, bool deleteDiskFile,
                                              IDesktop& desktop);

} // namespace tessaly
