#include "core/book_window/notes_text.h"

#include "core/common/fill_text.h"
#include "core/common/upper_case.h"

namespace tessaly {

namespace {

bool WordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool MatchesAt(std::string_view text, std::string_view what, std::size_t at, bool matchCase,
               bool wholeWord) {
    if (what.empty() || at + what.size() > text.size())
        return false;
    for (std::size_t i = 0; i < what.size(); ++i) {
        const char a = text[at + i];
        const char b = what[i];
        if (matchCase ? a != b : UpperChar(a) != UpperChar(b))
            return false;
    }
    if (wholeWord) {
        if (at > 0 && WordChar(text[at - 1]))
            return false;
        const std::size_t end = at + what.size();
        if (end < text.size() && WordChar(text[end]))
            return false;
    }
    return true;
}

} // namespace

TStampedNotes AddTimestamp(std::string_view notes, std::string_view stamp, bool atTop) {
    TStampedNotes out;
    if (atTop) {
        out.Text = std::string(stamp) + "\n\n";
        out.Caret = out.Text.size();
        out.Text += notes;
        return out;
    }
    out.Text = std::string(notes);
    if (!out.Text.empty() && out.Text.back() != '\n')
        out.Text += '\n';
    out.Text += std::string(stamp) + "\n\n";
    out.Caret = out.Text.size();
    return out;
}

std::size_t FindInText(std::string_view text, std::string_view what, std::size_t from,
                       const TTextFindOptions& options) {
    if (what.empty() || what.size() > text.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - what.size();
    if (options.Down) {
        for (std::size_t at = from; at <= last; ++at)
            if (MatchesAt(text, what, at, options.MatchCase, options.WholeWord))
                return at;
        return std::string_view::npos;
    }
    // Up: the occurrence must end at or before `from`.
    if (from < what.size())
        return std::string_view::npos;
    for (std::size_t at = std::min(from - what.size(), last) + 1; at-- > 0;)
        if (MatchesAt(text, what, at, options.MatchCase, options.WholeWord))
            return at;
    return std::string_view::npos;
}

bool SelectionIsFindText(std::string_view selected, std::string_view what, bool matchCase) {
    return selected.size() == what.size() && MatchesAt(selected, what, 0, matchCase, false);
}

int ReplaceAllInText(std::string& text, std::string_view what, std::string_view with,
                     const TTextFindOptions& options) {
    if (what.empty())
        return 0;
    std::string out;
    out.reserve(text.size());
    int count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        if (MatchesAt(text, what, at, options.MatchCase, options.WholeWord)) {
            out += with;
            at += what.size();
            ++count;
        } else {
            out += text[at++];
        }
    }
    text = std::move(out);
    return count;
}

TDialogMessage NotesTextNotFoundMessage(std::string_view what) {
    return {kMsgTitleSearchFailed,
            FillText("The Search string \"%s\" could not be located", {what}), kMsgKindInformation,
            kMsgButtonsOk};
}

} // namespace tessaly
