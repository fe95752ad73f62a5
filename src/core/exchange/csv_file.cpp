#include "core/exchange/csv_file.h"

#include "core/common/codepage.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstring>

namespace tessaly {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view AsText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Blanks and tabs around a number are allowed.
std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// The high bit of each byte of the word that holds c, and maybe of bytes above such a
// byte (a borrow can mark bytes above it, never below).
constexpr std::uint64_t ByteMarks(std::uint64_t word, char c) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const std::uint64_t x = word ^ (ones * static_cast<unsigned char>(c));
    return (x - ones) & ~x & highs;
}

template <std::size_t N> bool HoldsAnyOf(std::uint64_t word, const std::array<char, N>& stops) {
    std::uint64_t hit = 0;
    for (const char c : stops)
        hit |= ByteMarks(word, c);
    return hit != 0;
}

// Where the first byte from `from` on that is one of `stops` lies, or s.size(): eight
// bytes at a time.
template <std::size_t N>
std::size_t FindAnyOf(std::string_view s, std::size_t from, const std::array<char, N>& stops) {
    if constexpr (std::endian::native == std::endian::little) {
        for (std::size_t i = from; i < s.size(); i += 8) {
            const std::size_t n = std::min<std::size_t>(8, s.size() - i);
            std::uint64_t word = 0;
            std::memcpy(&word, s.data() + i, n);
            std::uint64_t hit = 0;
            for (const char c : stops)
                hit |= ByteMarks(word, c);
            if (n < 8)
                hit &= (std::uint64_t{1} << (8 * n)) - 1;
            if (hit)
                return i + static_cast<std::size_t>(std::countr_zero(hit)) / 8;
        }
        return s.size();
    } else {
        for (std::size_t i = from; i < s.size(); ++i)
            for (const char c : stops)
                if (s[i] == c)
                    return i;
        return s.size();
    }
}

} // namespace

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while ((i = AsciiStretch(s, i)) < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (s.size() - i <= static_cast<std::size_t>(extra))
            return false;
        for (int k = 1; k <= extra; ++k) {
            const auto cont = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((cont & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cont & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

namespace {

// A file holds few of them: found by a search, not counted byte by byte.
std::size_t QuestionMarks(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find('?'); at != std::string_view::npos; at = text.find('?', at + 1))
        ++count;
    return count;
}

} // namespace

TDecodedText DecodeInputText(std::span<const std::uint8_t> bytes) {
    std::string_view text = AsText(bytes);
    TDecodedText out;
    const bool marked = text.starts_with(kUtf8Mark);
    if (marked)
        text.remove_prefix(kUtf8Mark.size());
    const bool wide = AsciiStretch(text, 0) < text.size();
    if (!marked && (!wide || !IsValidUtf8(text))) {
        out.Text.assign(text);
        return out;
    }
    out.WasUtf8 = true;
    out.Text = Utf8ToCp1252(text);
    // Every character the code page cannot hold became one "?".
    const std::size_t asked = QuestionMarks(text);
    out.Replaced = static_cast<int>(QuestionMarks(out.Text) - asked);
    return out;
}

TCSVReader::TCSVReader(std::string text, char quote, char separator, bool convertLineBreaks)
    : TCSVReader(std::move(text), {}, quote, separator, convertLineBreaks) {}

TCSVReader TCSVReader::Over(std::string_view text, char quote, char separator,
                            bool convertLineBreaks) {
    return TCSVReader({}, text, quote, separator, convertLineBreaks);
}

TCSVReader::TCSVReader(std::string owned, std::string_view viewed, char quote, char separator,
                       bool convertLineBreaks)
    : owned_(std::move(owned)), viewed_(viewed), owns_(viewed.data() == nullptr), quote_(quote),
      separator_(separator), convertLineBreaks_(convertLineBreaks) {
    const std::string_view all = owns_ ? std::string_view(owned_) : viewed_;
    // A zero byte ends the data.
    size_ = std::min(all.find('\0'), all.size());
}

void TCSVReader::Rewind() {
    next_ = 0;
    fields_.clear();
}

int TCSVReader::CountLines() {
    Rewind();
    int count = 0;
    while (ReadLine())
        ++count;
    Rewind();
    return count;
}

bool TCSVReader::ReadLine() {
    fields_.clear();
    if (next_ >= size_)
        return false;
    SplitRecord();
    return true;
}

void TCSVReader::SplitRecord() {
    const std::string_view text = Text();
    const std::size_t size = text.size();
    std::size_t i = next_;
    // The values of the record go one after another into one buffer kept from record
    // to record, so that splitting allocates nothing once the longest record is read.
    values_.clear();
    std::size_t start = 0; // where the current field's value starts in values_
    std::string& value = values_;
    bool quoting = false;
    bool fieldStart = true; // nothing of the current field has been read
    bool present = false;   // the current field is there even when empty
    // Whether the current field's value may hold a line break: only text read inside
    // quotes, or a lone CR outside them, can bring one in.
    bool mayBreak = false;
    const std::array<char, 4> stops = {separator_, quote_, '\n', '\r'};
    const auto endsRecord = [&](std::size_t k) {
        return k >= size || text[k] == '\n' ||
               (text[k] == '\r' && k + 1 < size && text[k + 1] == '\n');
    };
    // A value read in one piece is kept as its place in the text, not copied into
    // values_, until a second piece (or a doubled quote character) joins it.
    bool inPlace = false;
    std::size_t placeStart = 0;
    std::size_t placeLength = 0;
    const auto copyOut = [&] {
        if (inPlace)
            value.append(text.substr(placeStart, placeLength));
        inPlace = false;
    };
    const auto take = [&](std::size_t from, std::size_t length) {
        if (!inPlace && value.size() == start) {
            inPlace = true;
            placeStart = from;
            placeLength = length;
            return;
        }
        copyOut();
        value.append(text.substr(from, length));
    };
    const auto finishField = [&] {
        const auto hasBreak = [](std::string_view v) {
            // Two single-character searches: far quicker than one for either character.
            return v.find('\n') != std::string_view::npos || v.find('\r') != std::string_view::npos;
        };
        if (inPlace &&
            !(convertLineBreaks_ && mayBreak && hasBreak(text.substr(placeStart, placeLength)))) {
            fields_.push_back({placeStart, placeLength, true});
            inPlace = false;
            mayBreak = false;
            return;
        }
        copyOut();
        if (convertLineBreaks_ && mayBreak &&
            (value.find('\n', start) != std::string::npos ||
             value.find('\r', start) != std::string::npos)) {
            std::string converted;
            converted.reserve(value.size() - start);
            for (std::size_t k = start; k < value.size(); ++k) {
                if (value[k] == '\r' || value[k] == '\n') {
                    converted += "\r\n";
                    if (value[k] == '\r' && k + 1 < value.size() && value[k + 1] == '\n')
                        ++k;
                } else {
                    converted += value[k];
                }
            }
            value.replace(start, std::string::npos, converted);
        }
        fields_.push_back({start, value.size() - start, false});
        start = value.size();
        mayBreak = false;
    };
    while (i < size) {
        const char c = text[i];
        if (quoting) {
            if (c == quote_ && i + 1 < size && text[i + 1] == quote_) {
                copyOut();
                value += quote_;
                mayBreak = true;
                i += 2;
            } else if (c == quote_) {
                quoting = false;
                ++i;
            } else {
                const std::size_t close = text.find(quote_, i);
                const std::size_t end = close == std::string_view::npos ? size : close;
                take(i, end - i);
                mayBreak = true;
                i = end;
            }
            continue;
        }
        if (c == separator_) {
            finishField();
            ++i;
            fieldStart = true;
            // A separator opens another field; only an empty last one is absent.
            present = !endsRecord(i);
            continue;
        }
        if (endsRecord(i)) {
            i += c == '\n' ? 1 : 2;
            break;
        }
        const bool opens = c == quote_ && fieldStart;
        fieldStart = false;
        present = true;
        if (opens) {
            quoting = true;
            ++i;
            continue;
        }
        // The plain characters up to the next one that means something, at once.
        mayBreak = mayBreak || c == '\r';
        const std::size_t end = FindAnyOf(text, i + 1, stops);
        take(i, end - i);
        i = end;
    }
    next_ = std::min(i, size);
    if (present)
        finishField();
}

std::optional<std::string_view> TCSVReader::FieldView(int n, std::size_t maxLength) const {
    if (n < 1 || n > FieldCount())
        return std::nullopt;
    const TFieldPlace& f = fields_[static_cast<std::size_t>(n - 1)];
    const std::string_view from = f.InText ? Text() : std::string_view(values_);
    return from.substr(f.Start, std::min(f.Length, maxLength));
}

std::optional<std::string> TCSVReader::Field(int n, std::size_t maxLength) const {
    const auto view = FieldView(n, maxLength);
    if (!view)
        return std::nullopt;
    return std::string(*view);
}

std::optional<long> TCSVReader::IntegerField(int n) const {
    const auto text = Field(n, kLongValueLength);
    if (!text)
        return std::nullopt;
    std::string_view s = TrimBlanks(*text);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    long value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || error != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

std::optional<TDateTime> TCSVReader::DateTimeField(int n, const TFormatSettings& fs,
                                                   TDateTime today) const {
    const auto text = Field(n, kShortValueLength);
    if (!text)
        return std::nullopt;
    const std::string_view s = TrimBlanks(*text);
    if (s.empty())
        return std::nullopt;
    if (auto value = ParseDateTime(s, fs, today))
        return value;
    return ParseTime(s, fs);
}

TCSVWriter::TCSVWriter(char quote, char separator, bool escape)
    : quote_(quote), separator_(separator), escape_(escape) {
    if (quote_ != 0)
        stops_[stopCount_++] = quote_;
    if (escape_)
        stops_[stopCount_++] = '\n';
    if (stopCount_ == 1)
        stops_[1] = stops_[0];
}

const std::string& TCSVWriter::Text() const {
    out_.resize(size_);
    return out_;
}

std::string TCSVWriter::TakeText() {
    out_.resize(size_);
    size_ = 0;
    return std::move(out_);
}

void TCSVWriter::Grow(std::size_t n) {
    // Grown by doubling: the bytes are written in place, not appended one call each.
    out_.resize(std::max({out_.size() * 2, size_ + n, std::size_t{4096}}));
}

void TCSVWriter::AppendEscaped(std::string_view value) {
    if (stopCount_ == 0)
        return Put(value.data(), value.size());
    // Written into room for the worst case, every byte doubled: eight bytes at once
    // while they hold neither character, else a byte at a time.
    char* const begin = Room(2 * value.size());
    char* at = begin;
    std::size_t i = 0;
    for (; i + 8 <= value.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, value.data() + i, 8);
        if (!HoldsAnyOf(word, stops_)) {
            std::memcpy(at, &word, 8);
            at += 8;
            continue;
        }
        for (std::size_t k = i; k < i + 8; ++k)
            at = PutEscaped(at, value[k]);
    }
    for (; i < value.size(); ++i)
        at = PutEscaped(at, value[i]);
    size_ += static_cast<std::size_t>(at - begin);
}

void TCSVWriter::WriteField(std::string_view value, std::string_view prefix) {
    if (!firstField_ && separator_ != 0)
        Put(separator_);
    firstField_ = false;
    if (quote_ != 0)
        Put(quote_);
    if (!prefix.empty())
        AppendEscaped(prefix);
    AppendEscaped(value);
    if (quote_ != 0)
        Put(quote_);
}

void TCSVWriter::WriteInteger(long value, std::string_view prefix) {
    WriteField(std::to_string(value), prefix);
}

void TCSVWriter::EndLine() {
    Put("\r\n", 2);
    firstField_ = true;
}

} // namespace tessaly
