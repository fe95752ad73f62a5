#pragma once
// vCards as text: the reader of versions 2.1, 3.0 and 4.0 (folded lines, groups,
// parameters, quoted-printable and character sets of 2.1) and the writer of 3.0 and
// 4.0 (folded at 75 octets). Values are UTF-8 in memory, in their escaped form;
// the helpers below split and join their components.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

constexpr int kVCard21 = 21;
constexpr int kVCard30 = 30;
constexpr int kVCard40 = 40;

struct TVCardParam {
    std::string Name;                // as read; empty for a 2.1 parameter without a name
    std::vector<std::string> Values; // unquoted and unescaped
    bool operator==(const TVCardParam&) const = default;
};

struct TVCardProperty {
    std::string Group; // "item1" of "item1.TEL", or empty
    std::string Name;  // as read
    std::vector<TVCardParam> Params;
    std::string Value; // UTF-8, escaped as in a 3.0 or 4.0 line
    // The whole unfolded line as a 3.0 or 4.0 writer gives it back: as read for
    // those versions; rebuilt for 2.1, whose encodings and character sets are gone.
    std::string Line;

    // Case-insensitive.
    bool Is(std::string_view name) const;
    // The values of every parameter of that name (case-insensitive); a 2.1 parameter
    // without a name counts as TYPE.
    std::vector<std::string> ParamValues(std::string_view name) const;
    bool operator==(const TVCardProperty&) const = default;
};

struct TVCard {
    int Version = kVCard30;
    std::vector<TVCardProperty> Properties; // without BEGIN, END and VERSION
};

// What the reader accepts of hostile input; past these it stops reading or drops.
struct TVCardLimits {
    std::size_t MaxLineBytes = 1 << 20; // one unfolded line
    std::size_t MaxProperties = 10000;  // of one card
    std::size_t MaxCards = 32767;
};

struct TVCardReadResult {
    std::vector<TVCard> Cards;
    std::vector<std::string> Problems; // "line 12: ..." for each line or card dropped
};

// Every BEGIN:VCARD ... END:VCARD in the bytes; anything between cards is ignored.
// Never throws for any input; its work is linear in the input's size.
TVCardReadResult ReadVCards(std::string_view bytes, const TVCardLimits& limits = TVCardLimits());

// The card, version 3.0 or 4.0 (a 2.1 version is written as 3.0), with CRLF line
// ends; each property's Line as it is, folded.
std::string WriteVCard(const TVCard& card);
// An unfolded line folded into physical lines of at most 75 octets, each ending in
// CRLF, continuation lines starting with a blank; a UTF-8 character is never split.
std::string FoldLine(std::string_view line);
// A 3.0 or 4.0 unfolded line as a property (its Line the line itself); a line that
// does not parse gives a property with the Line only.
TVCardProperty ParsePropertyLine(std::string_view line);
// The unfolded line of a property from its parts (parameters quoted where needed).
std::string PropertyLine(const TVCardProperty& p);

// Text values. Escape: backslash, comma, semicolon and line breaks (CRLF, CR or LF
// become \n). Unescape: \n and \N become LF, any other escaped character itself.
std::string EscapeText(std::string_view utf8);
std::string UnescapeText(std::string_view value);
// A structured value: components split at unescaped semicolons, each split into
// values at unescaped commas, each unescaped. JoinStructured is its inverse.
std::vector<std::vector<std::string>> SplitStructured(std::string_view value);
std::string JoinStructured(const std::vector<std::vector<std::string>>& components);
// Components only (commas not split): each unescaped.
std::vector<std::string> SplitComponents(std::string_view value);

} // namespace tessaly
