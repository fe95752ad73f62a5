#pragma once
// The Notes field's own commands: the time stamp, and find and replace inside the
// text. Texts are the editor's, lines ending in "\n".

#include "core/common/dialog_message.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// The notes with the stamp on a line of its own followed by an empty line: at the
// top of the text (`atTop`, "Time Stamp Location" on) or after its last line. The
// caret goes to `Caret`, just after the empty line.
struct TStampedNotes {
    std::string Text;
    std::size_t Caret = 0;
};
TStampedNotes AddTimestamp(std::string_view notes, std::string_view stamp, bool atTop);

struct TTextFindOptions {
    bool MatchCase = false;
    bool WholeWord = false;
    bool Down = true;
};

// The first occurrence of `what` at or after `from` (down) or ending at or before
// `from` (up); npos when there is none. Without MatchCase letters are compared in
// upper case (accented ones too); a whole word is neither preceded nor followed by a
// letter or digit.
std::size_t FindInText(std::string_view text, std::string_view what, std::size_t from,
                       const TTextFindOptions& options);

// Whether the selected text is the find text (the replace step's test), honouring
// "Match case".
bool SelectionIsFindText(std::string_view selected, std::string_view what, bool matchCase);

// "Replace All": one pass from the start of the text to its end; text put in by a
// replacement is never searched again, so a replacement that contains the find text
// cannot loop. Returns the number of replacements.
int ReplaceAllInText(std::string& text, std::string_view what, std::string_view with,
                     const TTextFindOptions& options);

// String 124 with the text searched for.
TDialogMessage NotesTextNotFoundMessage(std::string_view what);

} // namespace tessaly
