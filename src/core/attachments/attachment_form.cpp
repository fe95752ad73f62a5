#include "core/attachments/attachment_form.h"

#include "core/common/same_text.h"
#include "core/common/text.h"

#include <algorithm>
#include <filesystem>

namespace tessaly {

namespace {

// The extension of a file name without its dot; empty when it has none.
std::string ExtensionOf(std::string_view fileName) {
    const std::string ext = std::filesystem::path(std::string(fileName)).extension().string();
    return ext.empty() ? ext : ext.substr(1);
}

} // namespace

std::string DescriptionFromFileName(std::string_view fileName) {
    return std::filesystem::path(std::string(fileName)).stem().string();
}

TAttachmentCheck CheckAttachmentFields(std::string& description, std::string& fileName) {
    TrimInPlace(description);
    TrimInPlace(fileName);
    TAttachmentCheck check;
    if (fileName.empty()) {
        check.Message = TDialogMessage{
            kMsgTitleRequiredField,
            "A File Name for this Document is required.\n\nPlease specify the File Name of "
            "the Document before continuing",
            kMsgKindError, kMsgButtonsOk};
        check.Focus = TAttachmentFocus::FileName;
    } else if (description.empty()) {
        check.Message = TDialogMessage{
            kMsgTitleRequiredField,
            "A Description for this Document is required.\n\nPlease specify a suitable "
            "description before continuing",
            kMsgKindError, kMsgButtonsOk};
        check.Focus = TAttachmentFocus::Description;
    }
    return check;
}

TDocumentFileCheck CheckDocumentFile(const std::string& path, IDesktop& desktop,
                                     const std::function<bool(const TDialogMessage&)>& ask) {
    const TDialogMessage noApplication{kMsgTitleAccessError,
                                       "The file specified is not associated with any application",
                                       kMsgKindError, kMsgButtonsOk};
    const TPathKind kind = desktop.Facts(path).Kind;
    if (kind != TPathKind::Missing) {
        if (desktop.AssociatedApplication(path).empty())
            return {false, noApplication};
        return {true, std::nullopt};
    }
    const TDialogMessage question{kMsgTitleCreateFile,
                                  "The file specified does not exist. \nDo you wish to Create it ?",
                                  kMsgKindConfirmation, kMsgButtonsYesNo};
    if (!ask(question))
        return {false, std::nullopt};
    if (!desktop.CreateEmptyFile(path))
        return {false, TDialogMessage{kMsgTitleFileNameInvalid,
                                      "The file name specified is invalid. Please enter a "
                                      "valid file name.",
                                      kMsgKindError, kMsgButtonsOk}};
    if (desktop.AssociatedApplication(path).empty()) {
        std::string ignored;
        desktop.RemoveFile(path, ignored);
        return {false, noApplication};
    }
    return {true, std::nullopt};
}

std::vector<std::string> DocumentFilters(const std::vector<std::string>& extensions) {
    // Every file has no extension to match on this system, so "*" rather than "*.*".
    std::vector<std::string> filters{"All Files (*)"};
    for (const std::string& e : extensions)
        filters.push_back(e + " Files (*." + e + ")");
    return filters;
}

void RememberExtension(std::vector<std::string>& extensions, std::string_view chosenPath) {
    const std::string ext = UpperCase1252(ExtensionOf(chosenPath));
    if (ext.empty())
        return;
    std::erase_if(extensions, [&](const std::string& e) { return SameText(e, ext); });
    extensions.insert(extensions.begin(), ext);
    if (extensions.size() > kRememberedExtensions)
        extensions.resize(kRememberedExtensions);
}

std::string DocumentExtPattern(std::string_view chosenPath) {
    return "*." + ExtensionOf(chosenPath);
}

} // namespace tessaly
