#include "core/exchange/vcard_format.h"

#include "core/common/codepage.h"
#include "core/exchange/csv_file.h"

#include <algorithm>

namespace tessaly {

namespace {

char AsciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

bool ContainsAscii(std::string_view text, std::string_view what) {
    if (what.size() > text.size())
        return false;
    for (std::size_t i = 0; i + what.size() <= text.size(); ++i)
        if (SameAscii(text.substr(i, what.size()), what))
            return true;
    return false;
}

std::string TrimBlanks(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return std::string(s.substr(b, e - b));
}

// One logical line as parsed, before the card's version says how to take its value.
struct TRawLine {
    TVCardProperty Property;
    std::string RawValue;
    std::string Text; // the unfolded line
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string DecodeQuotedPrintable(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '=' && i + 2 < s.size()) {
            const int hi = HexDigit(s[i + 1]);
            const int lo = HexDigit(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

// Parameter values of 3.0 and 4.0 may carry ^^, ^n and ^' for ^, a line break and a
// double quote.
std::string DecodeCaret(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '^' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == '^' || n == 'n' || n == 'N' || n == '\'') {
                out += n == '^' ? '^' : n == '\'' ? '"' : '\n';
                ++i;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

std::string EncodeParamValue(std::string_view v) {
    std::string out;
    bool quote = false;
    for (char c : v) {
        if (c == '"') {
            out += "^'";
        } else if (c == '\n') {
            out += "^n";
        } else if (c == '\r') {
            // a CR of a CRLF pair is carried by the ^n of its LF
        } else if (c == '^') {
            out += "^^";
        } else {
            if (c == ',' || c == ';' || c == ':')
                quote = true;
            out += c;
        }
    }
    return quote ? '"' + out + '"' : out;
}

bool NameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}

// Parses "group.NAME;param=value,...:value"; false for a line that is not one.
bool ParseContentLine(std::string_view line, TRawLine& out, std::string& why) {
    std::size_t i = 0;
    while (i < line.size() && NameChar(line[i]))
        ++i;
    std::string_view name = line.substr(0, i);
    if (name.empty()) {
        why = "no property name";
        return false;
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        out.Property.Group = std::string(name.substr(0, dot));
        name = name.substr(dot + 1);
        if (name.empty() || out.Property.Group.empty()) {
            why = "an empty group or name";
            return false;
        }
    }
    out.Property.Name = std::string(name);
    while (i < line.size() && line[i] == ';') {
        ++i;
        TVCardParam param;
        std::size_t start = i;
        while (i < line.size() && line[i] != '=' && line[i] != ';' && line[i] != ':')
            ++i;
        std::string pname = TrimBlanks(line.substr(start, i - start));
        if (i < line.size() && line[i] == '=') {
            param.Name = std::move(pname);
            ++i;
            for (;;) {
                std::string value;
                if (i < line.size() && line[i] == '"') {
                    const std::size_t close = line.find('"', i + 1);
                    if (close == std::string_view::npos) {
                        why = "an unclosed quote";
                        return false;
                    }
                    value = std::string(line.substr(i + 1, close - i - 1));
                    i = close + 1;
                }
                start = i;
                while (i < line.size() && line[i] != ',' && line[i] != ';' && line[i] != ':')
                    ++i;
                value += std::string(line.substr(start, i - start));
                param.Values.push_back(std::move(value));
                if (i < line.size() && line[i] == ',') {
                    ++i;
                    continue;
                }
                break;
            }
        } else {
            // 2.1: "TEL;HOME;VOICE:" names only the values.
            param.Values.push_back(std::move(pname));
        }
        out.Property.Params.push_back(std::move(param));
    }
    if (i >= line.size() || line[i] != ':') {
        why = "no colon before the value";
        return false;
    }
    out.RawValue = std::string(line.substr(i + 1));
    return true;
}

std::string ToUtf8(std::string_view bytes, std::string_view charset) {
    const bool single = SameAscii(charset, "ISO-8859-1") || SameAscii(charset, "LATIN1") ||
                        SameAscii(charset, "WINDOWS-1252") || SameAscii(charset, "CP1252") ||
                        SameAscii(charset, "ISO-8859-15");
    if (!single && IsValidUtf8(bytes))
        return std::string(bytes);
    return Cp1252ToUtf8(bytes);
}

// A 2.1 value in the escaped form of 3.0: a literal backslash, comma and line break
// escaped; "\;" stays, as 2.1 escapes its semicolons so too.
std::string EscapeFrom21(std::string_view v, bool listOfValues) {
    std::string out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[i];
        if (c == '\\') {
            if (i + 1 < v.size() && v[i + 1] == ';') {
                out += "\\;";
                ++i;
            } else {
                out += "\\\\";
            }
        } else if (c == ',' && !listOfValues) {
            out += "\\,";
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < v.size() && v[i + 1] == '\n')
                ++i;
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

void Finish21(TRawLine& raw) {
    TVCardProperty& p = raw.Property;
    bool qp = false;
    std::string charset;
    std::vector<TVCardParam> kept;
    for (auto& param : p.Params) {
        if (param.Name.empty()) {
            // "TEL;WORK;VOICE" is one TYPE of two values.
            std::vector<std::string> values;
            for (auto& v : param.Values) {
                if (SameAscii(v, "QUOTED-PRINTABLE"))
                    qp = true;
                else if (SameAscii(v, "BASE64"))
                    kept.push_back({"ENCODING", {"b"}});
                else if (!SameAscii(v, "8BIT") && !SameAscii(v, "7BIT"))
                    values.push_back(v);
            }
            if (values.empty())
                continue;
            const auto type = std::find_if(kept.begin(), kept.end(),
                                           [](const TVCardParam& k) { return k.Name == "TYPE"; });
            if (type != kept.end())
                type->Values.insert(type->Values.end(), values.begin(), values.end());
            else
                kept.push_back({"TYPE", std::move(values)});
        } else if (SameAscii(param.Name, "ENCODING")) {
            const std::string v = param.Values.empty() ? std::string() : param.Values[0];
            if (SameAscii(v, "QUOTED-PRINTABLE"))
                qp = true;
            else if (SameAscii(v, "BASE64"))
                kept.push_back({"ENCODING", {"b"}});
            else if (!SameAscii(v, "8BIT") && !SameAscii(v, "7BIT"))
                kept.push_back(param);
        } else if (SameAscii(param.Name, "CHARSET")) {
            charset = param.Values.empty() ? std::string() : param.Values[0];
        } else {
            kept.push_back(param);
        }
    }
    for (auto& param : kept)
        for (auto& v : param.Values)
            v = ToUtf8(v, charset);
    p.Params = std::move(kept);
    const std::string bytes = qp ? DecodeQuotedPrintable(raw.RawValue) : raw.RawValue;
    p.Value = EscapeFrom21(ToUtf8(bytes, charset), p.Is("CATEGORIES"));
    p.Line = PropertyLine(p);
}

void Finish3040(TRawLine& raw) {
    TVCardProperty& p = raw.Property;
    bool clean = IsValidUtf8(raw.Text);
    for (auto& param : p.Params)
        for (auto& v : param.Values) {
            std::string decoded = DecodeCaret(IsValidUtf8(v) ? v : Cp1252ToUtf8(v));
            v = std::move(decoded);
        }
    p.Value = IsValidUtf8(raw.RawValue) ? raw.RawValue : Cp1252ToUtf8(raw.RawValue);
    // A line as read is given back as read; one that was not UTF-8 is rebuilt.
    p.Line = clean ? raw.Text : PropertyLine(p);
}

// The physical lines of the input, joined into logical lines (unfolded, and, while
// `softBreaks` is set, the quoted-printable soft breaks of 2.1 joined), each handed to
// `take` with its line number.
template <class Take>
void ForEachLogicalLine(std::string_view bytes, const TVCardLimits& limits, Take take,
                        const bool& softBreaks, std::vector<std::string>& problems) {
    std::string current;
    bool tooLong = false;
    bool have = false;
    int currentNo = 0;
    int lineNo = 0;
    int qpKnown = -1; // whether the current line is quoted-printable: -1 not yet known
    std::size_t i = 0;
    const auto flush = [&] {
        if (have) {
            if (tooLong)
                problems.push_back("line " + std::to_string(currentNo) +
                                   ": a property longer than the limit was dropped");
            else if (!current.empty())
                take(current, currentNo);
        }
        current.clear();
        tooLong = false;
        have = false;
        qpKnown = -1;
    };
    const auto append = [&](std::string_view piece) {
        if (tooLong)
            return;
        if (current.size() + piece.size() > limits.MaxLineBytes) {
            tooLong = true;
            current.clear();
            return;
        }
        current.append(piece);
    };
    const auto softBreak = [&] {
        if (!softBreaks || tooLong || current.empty() || current.back() != '=')
            return false;
        if (qpKnown < 0) {
            const std::size_t colon = current.find(':');
            qpKnown = colon != std::string::npos &&
                      ContainsAscii(std::string_view(current).substr(0, colon), "QUOTED-PRINTABLE");
        }
        return qpKnown == 1;
    };
    while (i < bytes.size()) {
        std::size_t end = i;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        std::string_view line = bytes.substr(i, end - i);
        i = end;
        if (i < bytes.size() && bytes[i] == '\r') {
            ++i;
            if (i < bytes.size() && bytes[i] == '\n')
                ++i;
        } else if (i < bytes.size() && bytes[i] == '\n') {
            ++i;
        }
        ++lineNo;
        if (have && softBreak()) {
            current.pop_back();
            append(line);
            continue;
        }
        if (have && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            append(line.substr(1));
            continue;
        }
        flush();
        have = true;
        currentNo = lineNo;
        append(line);
    }
    flush();
}

} // namespace

bool TVCardProperty::Is(std::string_view name) const {
    return SameAscii(Name, name);
}

std::vector<std::string> TVCardProperty::ParamValues(std::string_view name) const {
    std::vector<std::string> out;
    for (const auto& p : Params)
        if (SameAscii(p.Name, name) || (p.Name.empty() && SameAscii(name, "TYPE")))
            out.insert(out.end(), p.Values.begin(), p.Values.end());
    return out;
}

TVCardReadResult ReadVCards(std::string_view bytes, const TVCardLimits& limits) {
    TVCardReadResult result;
    int depth = 0;
    TVCard card;
    std::vector<TRawLine> lines;
    bool full = false;
    bool softBreaks = false; // in a 2.1 card
    ForEachLogicalLine(
        bytes, limits,
        [&](const std::string& text, int no) {
            const std::string trimmed = TrimBlanks(text);
            if (SameAscii(trimmed, "BEGIN:VCARD")) {
                if (++depth == 1) {
                    card = TVCard();
                    lines.clear();
                    softBreaks = false;
                } else {
                    result.Problems.push_back("line " + std::to_string(no) +
                                              ": a card inside a card was left out");
                }
                return;
            }
            if (depth == 0)
                return;
            if (SameAscii(trimmed, "END:VCARD")) {
                if (--depth > 0)
                    return;
                for (auto& raw : lines) {
                    if (card.Version == kVCard21)
                        Finish21(raw);
                    else
                        Finish3040(raw);
                    card.Properties.push_back(std::move(raw.Property));
                }
                lines.clear();
                if (result.Cards.size() < limits.MaxCards)
                    result.Cards.push_back(std::move(card));
                else if (!full) {
                    full = true;
                    result.Problems.push_back(
                        "line " + std::to_string(no) +
                        ": more cards than can be taken; the rest were left out");
                }
                card = TVCard();
                return;
            }
            if (depth > 1)
                return;
            TRawLine raw;
            std::string why;
            if (!ParseContentLine(text, raw, why)) {
                result.Problems.push_back("line " + std::to_string(no) + ": " + why);
                return;
            }
            if (raw.Property.Is("VERSION") && raw.Property.Group.empty()) {
                const std::string v = TrimBlanks(raw.RawValue);
                card.Version = v == "2.1" ? kVCard21 : v == "4.0" ? kVCard40 : kVCard30;
                softBreaks = card.Version == kVCard21;
                if (v != "2.1" && v != "3.0" && v != "4.0")
                    result.Problems.push_back("line " + std::to_string(no) + ": version " + v +
                                              " is read as 3.0");
                return;
            }
            if (lines.size() >= limits.MaxProperties) {
                result.Problems.push_back("line " + std::to_string(no) +
                                          ": too many properties in one card");
                return;
            }
            raw.Text = text;
            lines.push_back(std::move(raw));
        },
        softBreaks, result.Problems);
    if (depth > 0)
        result.Problems.push_back("the last card has no END:VCARD and was left out");
    return result;
}

TVCardProperty ParsePropertyLine(std::string_view line) {
    TRawLine raw;
    std::string why;
    if (!ParseContentLine(line, raw, why)) {
        TVCardProperty p;
        p.Line = std::string(line);
        return p;
    }
    raw.Text = std::string(line);
    Finish3040(raw);
    return std::move(raw.Property);
}

std::string PropertyLine(const TVCardProperty& p) {
    std::string out;
    if (!p.Group.empty())
        out += p.Group + '.';
    out += p.Name;
    for (const auto& param : p.Params) {
        out += ';';
        if (!param.Name.empty())
            out += param.Name + '=';
        for (std::size_t i = 0; i < param.Values.size(); ++i) {
            if (i)
                out += ',';
            out += EncodeParamValue(param.Values[i]);
        }
    }
    out += ':';
    out += p.Value;
    return out;
}

std::string FoldLine(std::string_view line) {
    constexpr std::size_t kFirst = 75;
    constexpr std::size_t kNext = 74; // after the leading blank
    std::string out;
    out.reserve(line.size() + line.size() / 70 * 3 + 2);
    std::size_t pos = 0;
    bool first = true;
    while (true) {
        const std::size_t room = first ? kFirst : kNext;
        if (!first)
            out += ' ';
        if (line.size() - pos <= room) {
            out.append(line.substr(pos));
            out += "\r\n";
            return out;
        }
        std::size_t cut = pos + room;
        while (cut > pos && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        if (cut == pos)
            cut = pos + room; // not UTF-8 at all: cut where the octets run out
        out.append(line.substr(pos, cut - pos));
        out += "\r\n";
        pos = cut;
        first = false;
    }
}

std::string WriteVCard(const TVCard& card) {
    std::string out = "BEGIN:VCARD\r\n";
    out += card.Version == kVCard40 ? "VERSION:4.0\r\n" : "VERSION:3.0\r\n";
    for (const auto& p : card.Properties)
        out += FoldLine(p.Line.empty() ? PropertyLine(p) : p.Line);
    out += "END:VCARD\r\n";
    return out;
}

std::string EscapeText(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case ',':
            out += "\\,";
            break;
        case ';':
            out += "\\;";
            break;
        case '\r':
            if (i + 1 < s.size() && s[i + 1] == '\n')
                ++i;
            out += "\\n";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeText(std::string_view v) {
    std::string out;
    out.reserve(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out += (n == 'n' || n == 'N') ? '\n' : n;
        } else {
            out += v[i];
        }
    }
    return out;
}

std::vector<std::vector<std::string>> SplitStructured(std::string_view v) {
    std::vector<std::vector<std::string>> out(1, std::vector<std::string>(1));
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[i];
        if (c == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out.back().back() += (n == 'n' || n == 'N') ? '\n' : n;
        } else if (c == ';') {
            out.emplace_back(1);
        } else if (c == ',') {
            out.back().emplace_back();
        } else {
            out.back().back() += c;
        }
    }
    return out;
}

std::vector<std::string> SplitComponents(std::string_view v) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const char c = v[i];
        if (c == '\\' && i + 1 < v.size()) {
            const char n = v[++i];
            out.back() += (n == 'n' || n == 'N') ? '\n' : n;
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::string JoinStructured(const std::vector<std::vector<std::string>>& components) {
    std::string out;
    for (std::size_t c = 0; c < components.size(); ++c) {
        if (c)
            out += ';';
        for (std::size_t v = 0; v < components[c].size(); ++v) {
            if (v)
                out += ',';
            out += EscapeText(components[c][v]);
        }
    }
    return out;
}

} // namespace tessaly
