#include "core/attachments/launch.h"

#include "core/common/codepage.h"
#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/common/text.h"

#include <array>
#include <filesystem>

namespace tessaly {

namespace {

// Windows-style results kept in the open failure message: not found, no association.
constexpr int kResultNotFound = 2;
constexpr int kResultNoAssociation = 31;

constexpr std::array<std::string_view, 4> kOpenedSchemes = {"http", "https", "ftp", "mailto"};

TUrlCheck Refuse(std::string url, std::string why) {
    return TUrlCheck{false, std::move(url), std::move(why)};
}

bool IsSchemeChar(char c, bool first) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (first)
        return letter;
    return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The scheme before the first ':' when the text starts with one; empty otherwise.
std::string SchemeOf(std::string_view url) {
    const std::size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0)
        return {};
    for (std::size_t i = 0; i < colon; ++i)
        if (!IsSchemeChar(url[i], i == 0))
            return {};
    // "host:8080/path" is a host and a port, not a scheme.
    if (colon + 1 < url.size() && url[colon + 1] >= '0' && url[colon + 1] <= '9' &&
        SchemeOf(url.substr(colon + 1)).empty() && url.substr(colon + 1, 2) != "//")
        return {};
    return std::string(url.substr(0, colon));
}

std::string OpenFailureText(const std::string& path, int result) {
    const std::filesystem::path p(path);
    std::string text =
        FillText("Document File: \t%s \nFile Location: \t%s\n\nError: %s -- ",
                 {p.filename().string(), p.parent_path().string(), std::to_string(result)});
    text += result == kResultNoAssociation ? "Document is not associated with any Application."
                                           : "Document Selected could not be located.";
    return text;
}

} // namespace

TUrlCheck CheckLaunchUrl(std::string_view text) {
    const std::string url = Trim(text);
    if (url.empty())
        return Refuse(url, "it is empty");
    for (const char c : url) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return Refuse(url, "it holds a control character");
        if (c == ' ')
            return Refuse(url, "it holds a blank");
    }
    if (url.front() == '-')
        return Refuse(url, "it begins with \"-\"");
    const std::string scheme = SchemeOf(url);
    if (scheme.empty())
        return TUrlCheck{true, "http://" + url, {}};
    for (std::string_view allowed : kOpenedSchemes)
        if (SameText(scheme, allowed)) {
            if (url.size() == scheme.size() + 1)
                return Refuse(url, "it names no address");
            return TUrlCheck{true, url, {}};
        }
    return Refuse(url, "only http, https, ftp and mailto addresses are opened");
}

TUrlCheck MailtoUrl(std::string_view address) {
    const std::string trimmed = Trim(address);
    if (trimmed.empty() || trimmed.front() == '-')
        return Refuse("mailto:" + trimmed, "it names no e-mail address");
    return CheckLaunchUrl("mailto:" + trimmed);
}

TDialogMessage UrlRefusalMessage(const TUrlCheck& check) {
    return TDialogMessage{
        kMsgTitleAttachmentManagement,
        FillText("The Internet URL \"%s\" was not opened: %s.", {check.Url, check.Refusal}),
        kMsgKindError, kMsgButtonsOk};
}

std::optional<TDialogMessage> OpenInBrowser(const std::string& browserPath,
                                            const std::string& parameter, IDesktop& desktop) {
    if (browserPath.empty())
        return TDialogMessage{kMsgTitleAttachmentManagement,
                              "Tessaly could not determine your Internet Browser.\n\nPlease "
                              "specify the Internet Browser to use with the \"Tools|Options\" "
                              "command",
                              kMsgKindError, kMsgButtonsOk};
    if (!desktop.StartProgram(browserPath, parameter))
        return TDialogMessage{kMsgTitleAccessError,
                              "Tessaly Failed to launch your Internet Browser", kMsgKindError,
                              kMsgButtonsOk};
    return std::nullopt;
}

std::string DocumentPath(std::string_view fileNameText) {
    return Cp1252ToUtf8(fileNameText);
}

bool IsOwnFile(std::string_view path) {
    const std::string ext = std::filesystem::path(std::string(path)).extension().string();
    return SameText(ext, ".ADR") || SameText(ext, ".TDY");
}

std::optional<TDialogMessage> OpenAttachment(const TDocument& attachment,
                                             const std::string& browserPath, IDesktop& desktop,
                                             const TDocumentOpenHooks& hooks) {
    const std::string target = attachment.FileName.str();
    if (!attachment.IsDocument) {
        const TUrlCheck url = CheckLaunchUrl(target);
        if (!url.Ok)
            return UrlRefusalMessage(url);
        return OpenInBrowser(browserPath, url.Url, desktop);
    }
    const std::string path = DocumentPath(target);
    const TFileFacts facts = desktop.Facts(path);
    if (facts.Kind == TPathKind::Missing)
        return TDialogMessage{kMsgTitleAccessError, OpenFailureText(target, kResultNotFound),
                              kMsgKindError, kMsgButtonsOk};
    if (IsOwnFile(path) && facts.Kind == TPathKind::Regular) {
        hooks.OpenInProgram(path);
        return std::nullopt;
    }
    if (desktop.AssociatedApplication(path).empty())
        return TDialogMessage{kMsgTitleAccessError, OpenFailureText(target, kResultNoAssociation),
                              kMsgKindError, kMsgButtonsOk};
    if (desktop.IsRunnable(path)) {
        const TDialogMessage question{
            kMsgTitleAttachmentManagement,
            FillText("The Document \"%s\" is a program or a launcher: opening it will run it."
                     "\n\nDo you wish to run it ?",
                     {target}),
            kMsgKindConfirmation, kMsgButtonsYesNo};
        if (!hooks.Ask(question))
            return std::nullopt;
    }
    if (!desktop.OpenDocument(path))
        return TDialogMessage{kMsgTitleAccessError, OpenFailureText(target, kResultNotFound),
                              kMsgKindError, kMsgButtonsOk};
    return std::nullopt;
}

TRemoveAttachmentOutcome RemoveAttachmentFile(const TDocument& attachment, bool deleteDiskFile,
                                              IDesktop& desktop) {
    TRemoveAttachmentOutcome outcome;
    if (!deleteDiskFile || !attachment.IsDocument)
        return outcome;
    const std::string_view text = TextValue(attachment.FileName);
    const std::string path = DocumentPath(text);
    const TPathKind kind = desktop.Facts(path).Kind;
    if (kind == TPathKind::Missing)
        return outcome; // nothing left on disk to delete
    std::string error;
    if (kind == TPathKind::Regular && desktop.RemoveFile(path, error))
        return outcome;
    outcome.RemoveAttachment = false;
    outcome.Message = TDialogMessage{
        kMsgTitleUnknownError,
        FillText("File: %s \n\nUnable to Delete the specified file due to an Unknown Error !",
                 {text}),
        kMsgKindError, kMsgButtonsOk};
    return outcome;
}

} // namespace tessaly
