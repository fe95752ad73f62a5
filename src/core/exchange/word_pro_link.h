#pragma once
// Sending an entry's text to the selected word processor or to the clipboard: the
// choice of the window to type into, and the order of the steps with the messages
// that end them. The desktop (its windows, the clipboard, the keys) is behind
// IWordProDesktop.

#include "core/common/dialog_message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TWordProList;

// String 127; %s the selected word processor's name.
inline constexpr const char* kMsgWordProNotRunning =
    "The Word Processor Specified, \"%s\", is not Running \n\nPlease Start the Application and "
    "Retry the Request";
// String 444.
inline constexpr const char* kMsgNoEntryData = "No Entry Data was Specified for Insertion";
// String 443.
inline constexpr const char* kMsgInsertionFailed =
    "Error Inserting Data to Word Processor Application";
// Where keys cannot be sent to other programs' windows.
inline constexpr const char* kMsgCannotType =
    "The Entry has been placed on the Clipboard, but could not be typed into the Word "
    "Processor \n\nPlease paste it into the Word Processor";

// A top-level window of the desktop session.
struct TTopWindow {
    std::uint64_t Id = 0;
    std::string Title; // Windows-1252
    bool Own = false;  // one of this program's windows
    bool operator==(const TTopWindow&) const = default;
};

class IWordProDesktop {
public:
    virtual ~IWordProDesktop() = default;
    // Whether the windows of other programs can be listed and typed into.
    virtual bool CanType() = 0;
    // The top-level windows, the one in front first.
    virtual std::vector<TTopWindow> TopLevelWindows() = 0;
    // Puts Windows-1252 text on the clipboard (and the primary selection).
    virtual bool SetClipboardText(std::string_view text) = 0;
    // Restores a minimised window and brings it to the front; false when it did not
    // take the keyboard focus (it is gone, or the window manager refused), so that
    // no keys go elsewhere.
    virtual bool BringForward(std::uint64_t window) = 0;
    // Types Shift+Insert into the window in front.
    virtual bool TypePaste(std::uint64_t window) = 0;
};

// The window whose title (its first 256 characters, in upper case) contains the
// title bar text in upper case and whose title does not contain " Help"; the first
// in the order given, never one of the program's own. Nothing for an empty title bar
// text, which would match every window.
std::optional<std::size_t> FindWordProWindow(const std::vector<TTopWindow>& windows,
                                             std::string_view titleBarText);

// "Insert to &Windows Clipboard": the message that ends it, nothing on success.
std::optional<TDialogMessage> CopyEntryToClipboard(IWordProDesktop& desktop,
                                                   const std::string& text);
// "&Insert into Word Processor": finds the selected word processor's window, puts
// the text on the clipboard, brings the window forward and types Shift+Insert.
// Without a desktop that can be typed into the text still goes on the clipboard and
// the message says so. Nothing on success.
std::optional<TDialogMessage> InsertIntoWordProcessor(IWordProDesktop& desktop,
                                                      const TWordProList& list,
                                                      const std::string& text);

} // namespace tessaly
