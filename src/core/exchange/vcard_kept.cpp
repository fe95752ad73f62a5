#include "core/exchange/vcard_kept.h"

#include "core/common/codepage.h"
#include "core/store/stream.h"

#include <cstdint>
#include <cstdio>

namespace tessaly {

namespace {

// The next code point of well-formed UTF-8 at i (moving i past it); a malformed byte
// is taken as the Windows-1252 character of that byte.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b <= 0xDF ? 1 : 0;
    if (b >= 0x80 && extra == 0) {
        ++i;
        const std::string one = Cp1252ToUtf8(std::string_view(s).substr(i - 1, 1));
        std::size_t j = 0;
        return NextCodePoint(one, j);
    }
    if (i + static_cast<std::size_t>(extra) >= s.size() && extra > 0) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((c & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// A UTF-8 line as Windows-1252, every character the code page cannot hold (and the
// control characters, "&" before "#" and a blank at the end) as "&#N;".
std::string EncodeLine(std::string_view utf8) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, i);
        std::string piece;
        AppendUtf8(piece, cp);
        const std::string byte = Utf8ToCp1252(piece);
        const bool plain = cp >= 0x20 && cp != 0x7F && !(cp >= 0x80 && cp <= 0x9F) &&
                           byte.size() == 1 && (byte != "?" || cp == '?') &&
                           !(cp == '&' && i < utf8.size() && utf8[i] == '#') &&
                           !(cp == ' ' && i == utf8.size()); // the notes lose trailing blanks
        if (plain)
            out += byte;
        else
            out += "&#" + std::to_string(static_cast<std::uint32_t>(cp)) + ';';
    }
    return out;
}

std::string DecodeLine(std::string_view cp1252) {
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '&' && i + 3 < utf8.size() && utf8[i + 1] == '#') {
            std::size_t j = i + 2;
            std::uint32_t cp = 0;
            while (j < utf8.size() && j < i + 10 && utf8[j] >= '0' && utf8[j] <= '9')
                cp = cp * 10 + static_cast<std::uint32_t>(utf8[j++] - '0');
            if (j > i + 2 && j < utf8.size() && utf8[j] == ';' && cp <= 0x10FFFF &&
                !(cp >= 0xD800 && cp <= 0xDFFF)) {
                AppendUtf8(out, cp);
                i = j;
                continue;
            }
        }
        out += utf8[i];
    }
    return out;
}

// Where the marker line starts, or npos.
std::size_t MarkerAt(std::string_view notes) {
    std::size_t from = 0;
    while (true) {
        const std::size_t at = notes.find(kVCardKeptMarker, from);
        if (at == std::string_view::npos)
            return at;
        const bool startsLine = at == 0 || notes[at - 1] == '\n' || notes[at - 1] == '\r';
        const std::size_t end = at + kVCardKeptMarker.size();
        const bool endsLine = end == notes.size() || notes[end] == '\r' || notes[end] == '\n';
        if (startsLine && endsLine)
            return at;
        from = at + 1;
    }
}

bool IsFingerprint(std::string_view s) {
    if (s.size() != 8)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

} // namespace

std::string VCardFingerprint(std::string_view line) {
    std::uint32_t h = 2166136261u;
    for (char c : line) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08x", h);
    return buf;
}

std::string NotesWithoutKept(std::string_view notes) {
    const std::size_t at = MarkerAt(notes);
    if (at == std::string_view::npos)
        return std::string(notes);
    std::size_t end = at;
    // The blank line written before the marker belongs to it.
    for (int breaks = 0; breaks < 2 && end > 0; ++breaks) {
        if (notes[end - 1] == '\n')
            --end;
        if (end > 0 && notes[end - 1] == '\r')
            --end;
    }
    return std::string(notes.substr(0, end));
}

std::vector<TVCardKept> KeptOfNotes(std::string_view notes) {
    std::vector<TVCardKept> out;
    std::size_t at = MarkerAt(notes);
    if (at == std::string_view::npos)
        return out;
    at += kVCardKeptMarker.size();
    while (at < notes.size()) {
        while (at < notes.size() && (notes[at] == '\r' || notes[at] == '\n'))
            ++at;
        std::size_t end = at;
        while (end < notes.size() && notes[end] != '\r' && notes[end] != '\n')
            ++end;
        std::string_view line = notes.substr(at, end - at);
        at = end;
        if (line.empty())
            continue;
        TVCardKept kept;
        if (line[0] == '@') {
            const std::size_t blank = line.find(' ');
            if (blank == std::string_view::npos || !IsFingerprint(line.substr(1, blank - 1)))
                continue;
            kept.Fingerprint = std::string(line.substr(1, blank - 1));
            line = line.substr(blank + 1);
        }
        kept.Line = DecodeLine(line);
        // A property line has a name and a colon; anything else is not one of ours.
        if (kept.Line.find(':') == std::string::npos)
            continue;
        out.push_back(std::move(kept));
    }
    return out;
}

std::string NotesWithKept(std::string_view userNotes, const std::vector<TVCardKept>& kept,
                          int* dropped) {
    std::string notes(NotesWithoutKept(userNotes));
    while (!notes.empty() && (notes.back() == '\r' || notes.back() == '\n' || notes.back() == ' '))
        notes.pop_back();
    if (dropped)
        *dropped = 0;
    if (kept.empty())
        return notes;
    std::string block = notes.empty() ? std::string() : std::string("\r\n\r\n");
    block += kVCardKeptMarker;
    const std::size_t bare = notes.size() + block.size();
    for (const auto& k : kept) {
        std::string line = "\r\n";
        if (!k.Fingerprint.empty())
            line += '@' + k.Fingerprint + ' ';
        line += EncodeLine(k.Line);
        if (notes.size() + block.size() + line.size() > kMaxTextLength) {
            if (dropped)
                ++*dropped;
            continue;
        }
        block += line;
    }
    if (notes.size() + block.size() == bare)
        return notes; // nothing fitted
    return notes + block;
}

} // namespace tessaly
