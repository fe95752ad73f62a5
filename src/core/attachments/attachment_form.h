#pragma once
// The "Add Attachment to Entry" dialog decided without a screen: the description that
// follows the file name, the checks on OK in their order, the file check of a document
// and the remembered document extensions of the file dialog.

#include "core/common/dialog_message.h"
#include "core/system/desktop.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// The caption of the dialog when it edits an attachment.
inline constexpr std::string_view kEditAttachmentCaption = "Edit Attachment Details";
inline constexpr std::string_view kAddAttachmentCaption = "Add Attachment to Entry";
inline constexpr std::string_view kSelectDocumentCaption = "Select Document File";

// The file name without its folder and without its extension.
std::string DescriptionFromFileName(std::string_view fileName);

enum class TAttachmentFocus { None, FileName, Description };

struct TAttachmentCheck {
    std::optional<TDialogMessage> Message; // nothing: the fields pass
    TAttachmentFocus Focus = TAttachmentFocus::None;
};

// Trims both fields in place, then: a file name or URL is required, then a description.
TAttachmentCheck CheckAttachmentFields(std::string& description, std::string& fileName);

struct TDocumentFileCheck {
    bool Passed = false;
    std::optional<TDialogMessage> Message; // what to show when it did not pass
};

// The file check of the Document page. A missing file may be created when `ask`
// answers the question it is given with true; a file created here that no application
// opens is removed again.
TDocumentFileCheck CheckDocumentFile(const std::string& path, IDesktop& desktop,
                                     const std::function<bool(const TDialogMessage&)>& ask);

// The file dialog's filters: every file, then one per remembered extension.
std::vector<std::string> DocumentFilters(const std::vector<std::string>& extensions);
// After a choice: the extension, upper case without its dot, moves to the front of the
// remembered list, which keeps ten.
void RememberExtension(std::vector<std::string>& extensions, std::string_view chosenPath);
// The file dialog's next initial name: "*." and the chosen file's extension.
std::string DocumentExtPattern(std::string_view chosenPath);
constexpr std::size_t kRememberedExtensions = 10;

} // namespace tessaly
