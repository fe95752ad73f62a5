#include "core/exchange/word_pro_link.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/exchange/word_pro.h"

namespace tessaly {

namespace {

constexpr std::size_t kTitleLength = 256;

TDialogMessage Denied(std::string text) {
    return TDialogMessage{kMsgTitleRequestDenied, std::move(text), kMsgKindError, kMsgButtonsOk};
}

} // namespace

std::optional<std::size_t> FindWordProWindow(const std::vector<TTopWindow>& windows,
                                             std::string_view titleBarText) {
    const std::string wanted = UpperCase1252(titleBarText);
    if (wanted.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].Own)
            continue;
        const std::string_view title = std::string_view(windows[i].Title).substr(0, kTitleLength);
        if (UpperCase1252(title).find(wanted) != std::string::npos &&
            title.find(" Help") == std::string_view::npos)
            return i;
    }
    return std::nullopt;
}

std::optional<TDialogMessage> CopyEntryToClipboard(IWordProDesktop& desktop,
                                                   const std::string& text) {
    if (text.empty())
        return Denied(kMsgNoEntryData);
    if (!desktop.SetClipboardText(text))
        return Denied(kMsgInsertionFailed);
    return std::nullopt;
}

std::optional<TDialogMessage> InsertIntoWordProcessor(IWordProDesktop& desktop,
                                                      const TWordProList& list,
                                                      const std::string& text) {
    if (!desktop.CanType()) {
        if (auto refused = CopyEntryToClipboard(desktop, text))
            return refused;
        return TDialogMessage{kMsgTitleRequestDenied, kMsgCannotType, kMsgKindInformation,
                              kMsgButtonsOk};
    }
    const std::string name = list.SelectedWordProcessor();
    const std::vector<TTopWindow> windows = desktop.TopLevelWindows();
    const auto found = FindWordProWindow(windows, list.TitleBarTextOf(name));
    if (!found)
        return Denied(FillText(kMsgWordProNotRunning, {name}));
    if (auto refused = CopyEntryToClipboard(desktop, text))
        return refused;
    const std::uint64_t window = windows[*found].Id;
    if (!desktop.BringForward(window) || !desktop.TypePaste(window))
        return TDialogMessage{kMsgTitleRequestDenied, kMsgCannotType, kMsgKindInformation,
                              kMsgButtonsOk};
    return std::nullopt;
}

} // namespace tessaly
