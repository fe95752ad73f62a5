#pragma once
// The vCard properties an entry cannot hold in its own fields, kept in its notes so
// that they survive every save, copy and undo and go out again on the next export.
//
// The notes are the one unbounded text of an entry that every copy of it carries and
// the book file stores as it is. The kept lines stand after the user's own notes,
// behind a line of their own (kVCardKeptMarker), one property a line in Windows-1252;
// a character the code page cannot hold is written "&#N;" (N its code point, in
// decimal), and so is a control character, an "&" before "#" or a blank that ends
// the line, so that the line
// reads back exactly as it was. A line "@XXXXXXXX LINE" is the card's own form of
// a property the entry does hold (with a group, a parameter or characters the entry
// cannot keep): it goes out in place of the line the entry makes, as long as that
// line has the fingerprint XXXXXXXX, that is as long as the entry's value is the one
// read. Any other line is a property the entry has no field for and always goes out.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

inline constexpr std::string_view kVCardKeptMarker = "[vCard properties kept for export]";

struct TVCardKept {
    std::string Fingerprint; // empty: always written
    std::string Line;        // the unfolded UTF-8 line
    bool operator==(const TVCardKept&) const = default;
};

// Eight hexadecimal digits that stand for a line.
std::string VCardFingerprint(std::string_view line);
// The user's part of the notes: all before the marker line (its line break too).
std::string NotesWithoutKept(std::string_view notes);
// The kept lines of the notes; lines the user broke are left out.
std::vector<TVCardKept> KeptOfNotes(std::string_view notes);
// The user's notes followed by the kept lines. Lines that would take the notes past
// the longest text a book holds are left out, and `dropped` counts them.
std::string NotesWithKept(std::string_view userNotes, const std::vector<TVCardKept>& kept,
                          int* dropped = nullptr);

} // namespace tessaly
