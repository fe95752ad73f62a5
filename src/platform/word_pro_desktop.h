#pragma once
// The word processor links on this desktop: the text goes on the clipboard (and the
// X11 primary selection) through QClipboard; the windows of an X11 session are listed
// in stacking order (the window manager's list, or the root window's children where
// no window manager keeps one), brought forward with _NET_ACTIVE_WINDOW (or raised
// and given the focus without a window manager) and typed into with Shift+Insert
// through the XTest extension. Without an X11 session (or a build without Xlib)
// nothing can be typed, and the text only reaches the clipboard.

#include "core/exchange/word_pro_link.h"

#include <memory>

namespace tessaly {

class TDesktopWordPro final : public IWordProDesktop {
public:
    TDesktopWordPro();
    ~TDesktopWordPro() override;

    bool CanType() override;
    std::vector<TTopWindow> TopLevelWindows() override;
    bool SetClipboardText(std::string_view text) override;
    bool BringForward(std::uint64_t window) override;
    bool TypePaste(std::uint64_t window) override;

private:
    struct TX11;
    std::unique_ptr<TX11> x11_;
};

} // namespace tessaly
