#include "core/exchange/csv_file.h"

#include "core/common/codepage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>

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

} // namespace

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
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

TDecodedText DecodeInputText(std::span<const std::uint8_t> bytes) {
    std::string_view text = AsText(bytes);
    TDecodedText out;
    const bool marked = text.starts_with(kUtf8Mark);
    if (marked)
        text.remove_prefix(kUtf8Mark.size());
    const bool wide = std::any_of(text.begin(), text.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!marked && (!wide || !IsValidUtf8(text))) {
        out.Text.assign(text);
        return out;
    }
    out.WasUtf8 = true;
    out.Text = Utf8ToCp1252(text);
    // Every character the code page cannot hold became one "?".
    const auto asked = std::count(text.begin(), text.end(), '?');
    out.Replaced = static_cast<int>(std::count(out.Text.begin(), out.Text.end(), '?') - asked);
    return out;
}

TCSVReader::TCSVReader(std::string text, char quote, char separator, bool convertLineBreaks)
    : text_(std::move(text)), quote_(quote), separator_(separator),
      convertLineBreaks_(convertLineBreaks) {
    // A zero byte ends the data.
    const std::size_t zero = text_.find('\0');
    if (zero != std::string::npos)
        text_.resize(zero);
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
    if (next_ >= text_.size())
        return false;
    SplitRecord();
    return true;
}

void TCSVReader::SplitRecord() {
    const std::size_t size = text_.size();
    std::size_t i = next_;
    std::string value;
    bool quoting = false;
    bool fieldStart = true; // nothing of the current field has been read
    bool present = false;   // the current field is there even when empty
    const auto endsRecord = [&](std::size_t k) {
        return k >= size || text_[k] == '\n' ||
               (text_[k] == '\r' && k + 1 < size && text_[k + 1] == '\n');
    };
    const auto finishField = [&] {
        if (convertLineBreaks_ && value.find_first_of("\r\n") != std::string::npos) {
            std::string converted;
            converted.reserve(value.size());
            for (std::size_t k = 0; k < value.size(); ++k) {
                if (value[k] == '\r' || value[k] == '\n') {
                    converted += "\r\n";
                    if (value[k] == '\r' && k + 1 < value.size() && value[k + 1] == '\n')
                        ++k;
                } else {
                    converted += value[k];
                }
            }
            value = std::move(converted);
        }
        fields_.push_back(std::move(value));
        value.clear();
    };
    while (i < size) {
        const char c = text_[i];
        if (quoting) {
            if (c == quote_ && i + 1 < size && text_[i + 1] == quote_) {
                value += quote_;
                i += 2;
            } else if (c == quote_) {
                quoting = false;
                ++i;
            } else {
                const std::size_t close = text_.find(quote_, i);
                const std::size_t end = close == std::string::npos ? size : close;
                value.append(text_, i, end - i);
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
        std::size_t end = i + 1;
        while (end < size && text_[end] != separator_ && text_[end] != quote_ &&
               text_[end] != '\n' && text_[end] != '\r')
            ++end;
        value.append(text_, i, end - i);
        i = end;
    }
    next_ = std::min(i, size);
    if (present)
        finishField();
}

std::optional<std::string> TCSVReader::Field(int n, std::size_t maxLength) const {
    if (n < 1 || n > FieldCount())
        return std::nullopt;
    const std::string& v = fields_[static_cast<std::size_t>(n - 1)];
    return v.substr(0, std::min(v.size(), maxLength));
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
    : quote_(quote), separator_(separator), escape_(escape) {}

void TCSVWriter::AppendEscaped(std::string_view value) {
    const bool special = (quote_ != 0 && value.find(quote_) != std::string_view::npos) ||
                         (escape_ && value.find('\n') != std::string_view::npos);
    if (!special) {
        out_ += value;
        return;
    }
    for (const char c : value) {
        if (escape_ && c == '\n')
            continue;
        out_ += c;
        if (quote_ != 0 && c == quote_)
            out_ += c;
    }
}

void TCSVWriter::WriteField(std::string_view value, std::string_view prefix) {
    if (!firstField_ && separator_ != 0)
        out_ += separator_;
    firstField_ = false;
    if (quote_ != 0)
        out_ += quote_;
    AppendEscaped(prefix);
    AppendEscaped(value);
    if (quote_ != 0)
        out_ += quote_;
}

void TCSVWriter::WriteInteger(long value, std::string_view prefix) {
    WriteField(std::to_string(value), prefix);
}

void TCSVWriter::EndLine() {
    out_ += "\r\n";
    firstField_ = true;
}

} // namespace tessaly
