#pragma once
// A desktop for the word processor links: windows the test lists, a clipboard that
// keeps what it is given (or refuses it), and a record of the window brought forward
// and typed into.

#include "core/exchange/word_pro_link.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly::testing {

class TFakeWordProDesktop final : public IWordProDesktop {
public:
    bool Typing = true;
    bool ClipboardWorks = true;
    std::vector<TTopWindow> Windows;
    std::optional<std::string> Clipboard;
    std::optional<std::uint64_t> Forward;
    std::optional<std::uint64_t> Pasted;

    bool CanType() override { return Typing; }
    std::vector<TTopWindow> TopLevelWindows() override { return Windows; }
    bool SetClipboardText(std::string_view text) override {
        if (!ClipboardWorks)
            return false;
        Clipboard = std::string(text);
        return true;
    }
    bool BringForward(std::uint64_t window) override {
        Forward = window;
        return true;
    }
    bool TypePaste(std::uint64_t window) override {
        Pasted = window;
        return true;
    }
};

} // namespace tessaly::testing
