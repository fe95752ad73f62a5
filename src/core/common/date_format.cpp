#include "core/common/date_format.h"

#include "core/common/text.h"

#include <algorithm>
#include <cctype>

namespace tessaly {

namespace {

// Nested patterns ("ddddd" inside "c", "t" inside a pattern ...) are expanded this deep;
// a locale whose short date format names itself cannot recurse for ever.
constexpr int kMaxNesting = 2;

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (prefix.empty() || s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Upper(s[i]) != Upper(prefix[i]))
            return false;
    return true;
}

void AppendNumber(std::string& out, long long value, int digits) {
    std::string n = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(n.size()) < digits)
        n.insert(0, static_cast<std::size_t>(digits) - n.size(), '0');
    if (value < 0)
        out += '-';
    out += n;
}

// The length of the 12-hour marker at the start of s ("am/pm", "a/p", "ampm"), or 0.
std::size_t AmPmLength(std::string_view s) {
    if (StartsWithNoCase(s, "am/pm"))
        return 5;
    if (StartsWithNoCase(s, "a/p"))
        return 3;
    if (StartsWithNoCase(s, "ampm"))
        return 4;
    return 0;
}

// Where the first of `letters` (upper case, matched in either case) stands outside
// quoted text in a format; npos when none does.
std::size_t FindUnquoted(std::string_view format, std::string_view letters) {
    char quote = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'')
            quote = c;
        else if (letters.find(Upper(c)) != std::string_view::npos)
            return i;
    }
    return std::string_view::npos;
}

// An hour token uses the 12-hour clock when a marker follows it before the next hour.
bool UsesTwelveHours(std::string_view rest) {
    const std::size_t i = FindUnquoted(rest, "HA");
    if (i == std::string_view::npos || Upper(rest[i]) == 'H')
        return false;
    return AmPmLength(rest.substr(i)) != 0;
}

class TDateTimeFormatter {
public:
    TDateTimeFormatter(TDateTime t, const TFormatSettings& fs)
        : fs_(fs), date_(DecodeDate(t)), time_(DecodeTime(t)), weekDay_(DayOfWeek(t)) {}

    void Append(std::string& out, std::string_view p, int level) const {
        char lastToken = 0;
        std::size_t i = 0;
        while (i < p.size()) {
            const char c = p[i];
            const char u = Upper(c);
            std::size_t count = 1;
            while (i + count < p.size() && Upper(p[i + count]) == u)
                ++count;
            switch (u) {
            case '"':
            case '\'': {
                // Quoted text is copied as it stands; an unclosed quote runs to the end.
                const std::size_t close = p.find(c, i + 1);
                const std::size_t end = close == std::string_view::npos ? p.size() : close;
                out.append(p.substr(i + 1, end - i - 1));
                i = close == std::string_view::npos ? p.size() : close + 1;
                continue;
            }
            case '/':
                out += fs_.DateSeparator;
                ++i;
                continue;
            case ':':
                out += fs_.TimeSeparator;
                ++i;
                continue;
            case 'D':
                AppendDay(out, count, level);
                break;
            case 'M':
                if (count <= 2)
                    AppendNumber(out, lastToken == 'H' ? time_.Minute : date_.Month,
                                 static_cast<int>(count));
                else
                    out += MonthName(count == 3 ? fs_.ShortMonthNames : fs_.LongMonthNames);
                break;
            case 'Y':
                if (count <= 2)
                    AppendNumber(out, date_.Year % 100, 2);
                else
                    AppendNumber(out, date_.Year, 4);
                break;
            case 'H': {
                int hour = time_.Hour;
                if (UsesTwelveHours(p.substr(i + count))) {
                    if (hour == 0)
                        hour = 12;
                    else if (hour > 12)
                        hour -= 12;
                }
                AppendNumber(out, hour, static_cast<int>(std::min<std::size_t>(count, 2)));
                break;
            }
            case 'N':
                AppendNumber(out, time_.Minute, static_cast<int>(std::min<std::size_t>(count, 2)));
                break;
            case 'S':
                AppendNumber(out, time_.Second, static_cast<int>(std::min<std::size_t>(count, 2)));
                break;
            case 'Z':
                AppendNumber(out, time_.Millisecond, count >= 3 ? 3 : 1);
                break;
            case 'T':
                Nested(out, count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, level);
                break;
            case 'C':
                Nested(out, fs_.ShortDateFormat, level);
                if (time_.Hour != 0 || time_.Minute != 0 || time_.Second != 0) {
                    out += ' ';
                    Nested(out, fs_.LongTimeFormat, level);
                }
                break;
            case 'A': {
                const std::size_t n = AmPmLength(p.substr(i));
                if (n == 0) {
                    out += c;
                    ++i;
                    continue;
                }
                AppendMarker(out, p.substr(i, n));
                i += n;
                continue;
            }
            default:
                out += c;
                ++i;
                continue;
            }
            lastToken = u;
            i += count;
        }
    }

private:
    void Nested(std::string& out, std::string_view p, int level) const {
        if (level < kMaxNesting)
            Append(out, p, level + 1);
    }

    void AppendDay(std::string& out, std::size_t count, int level) const {
        switch (count) {
        case 1:
        case 2:
            AppendNumber(out, date_.Day, static_cast<int>(count));
            break;
        case 3:
            out += fs_.ShortDayNames[static_cast<std::size_t>(weekDay_ - 1)];
            break;
        case 4:
            out += fs_.LongDayNames[static_cast<std::size_t>(weekDay_ - 1)];
            break;
        case 5:
            Nested(out, fs_.ShortDateFormat, level);
            break;
        default:
            Nested(out, fs_.LongDateFormat, level);
            break;
        }
    }

    const std::string& MonthName(const std::array<std::string, 12>& names) const {
        return names[static_cast<std::size_t>(std::clamp(date_.Month, 1, 12) - 1)];
    }

    // "am/pm" and "a/p" copy the letters as written in the pattern; "ampm" uses the
    // locale's own markers.
    void AppendMarker(std::string& out, std::string_view token) const {
        const bool pm = time_.Hour >= 12;
        if (token.size() == 4)
            out += pm ? fs_.TimePMString : fs_.TimeAMString;
        else if (token.size() == 3)
            out += pm ? token[2] : token[0];
        else
            out.append(pm ? token.substr(3, 2) : token.substr(0, 2));
    }

    const TFormatSettings& fs_;
    TDateParts date_;
    TTimeParts time_;
    int weekDay_;
};

// Reads texts typed by the user: numbers, separators, markers, blanks.
class TScanner {
public:
    explicit TScanner(std::string_view s) : s_(s) {}

    bool AtEnd() {
        SkipBlanks();
        return pos_ >= s_.size();
    }
    void SkipBlanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t'))
            ++pos_;
    }
    // Up to nine digits; the digit count goes to `length`.
    bool Number(int& value, int& length) {
        SkipBlanks();
        std::size_t p = pos_;
        long long v = 0;
        while (p < s_.size() && std::isdigit(static_cast<unsigned char>(s_[p]))) {
            if (p - pos_ >= 9)
                return false;
            v = v * 10 + (s_[p] - '0');
            ++p;
        }
        if (p == pos_)
            return false;
        length = static_cast<int>(p - pos_);
        value = static_cast<int>(v);
        pos_ = p;
        return true;
    }
    // A separator with optional blanks around it; a blank separator is any run of blanks.
    bool Separator(std::string_view sep) {
        const std::size_t start = pos_;
        const std::string trimmed = Trim(sep);
        SkipBlanks();
        if (trimmed.empty()) {
            if (pos_ > start)
                return true;
        } else if (s_.substr(pos_).starts_with(trimmed)) {
            pos_ += trimmed.size();
            return true;
        }
        pos_ = start;
        return false;
    }
    // Steps over the longest of the markers standing at the current position.
    bool Marker(std::initializer_list<std::string_view> markers) {
        SkipBlanks();
        std::size_t best = 0;
        for (const auto m : markers)
            if (StartsWithNoCase(s_.substr(pos_), m))
                best = std::max(best, m.size());
        pos_ += best;
        return best != 0;
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

enum class TDateOrder { DMY, MDY, YMD };

TDateOrder DateOrderOf(std::string_view format) {
    const std::size_t i = FindUnquoted(format, "DMY");
    if (i == std::string_view::npos)
        return TDateOrder::DMY;
    switch (Upper(format[i])) {
    case 'M':
        return TDateOrder::MDY;
    case 'Y':
        return TDateOrder::YMD;
    default:
        return TDateOrder::DMY;
    }
}

int ExpandYear(int year, int digits, const TFormatSettings& fs, int currentYear) {
    if (digits > 2)
        return year;
    const int window = std::max(0, fs.TwoDigitYearCenturyWindow);
    const int base = currentYear - window;
    year += base / 100 * 100;
    if (window > 0 && year < base)
        year += 100;
    return year;
}

std::optional<TDateTime> ScanDate(TScanner& in, const TFormatSettings& fs, TDateTime today) {
    int n[3] = {0, 0, 0};
    int len[3] = {0, 0, 0};
    int parts = 0;
    for (; parts < 3; ++parts) {
        if (parts > 0 && !in.Separator(fs.DateSeparator))
            break;
        if (!in.Number(n[parts], len[parts]))
            return std::nullopt;
    }
    if (parts < 2)
        return std::nullopt;
    const int currentYear = DecodeDate(today).Year;
    const TDateOrder order = DateOrderOf(fs.ShortDateFormat);
    // Which of the numbers typed are day, month and year; without a year the two
    // numbers are day and month in the locale's order.
    int di = 0;
    int mi = 1;
    int yi = 2;
    if (parts == 2) {
        yi = -1;
        mi = order == TDateOrder::DMY ? 1 : 0;
        di = 1 - mi;
    } else if (order == TDateOrder::MDY) {
        di = 1;
        mi = 0;
    } else if (order == TDateOrder::YMD) {
        yi = 0;
        di = 2;
    }
    const int y = yi < 0 ? currentYear : ExpandYear(n[yi], len[yi], fs, currentYear);
    const int m = n[mi];
    const int d = n[di];
    if (!IsValidDate(y, m, d))
        return std::nullopt;
    return EncodeDate(y, m, d);
}

std::optional<TDateTime> ScanTime(TScanner& in, const TFormatSettings& fs) {
    const auto scanMarker = [&](bool& pm) {
        if (in.Marker({fs.TimePMString, "PM"})) {
            pm = true;
            return true;
        }
        if (in.Marker({fs.TimeAMString, "AM"})) {
            pm = false;
            return true;
        }
        return false;
    };
    bool pm = false;
    bool marked = scanMarker(pm);
    int hour = 0, minute = 0, second = 0, ms = 0, len = 0;
    if (!in.Number(hour, len))
        return std::nullopt;
    bool hasMinutes = false;
    if (in.Separator(fs.TimeSeparator)) {
        if (!in.Number(minute, len))
            return std::nullopt;
        hasMinutes = true;
        if (in.Separator(fs.TimeSeparator)) {
            if (!in.Number(second, len))
                return std::nullopt;
            if (in.Separator(".") && !in.Number(ms, len))
                return std::nullopt;
        }
    }
    if (!marked)
        marked = scanMarker(pm);
    // A lone number is only a time when a marker says so ("9 PM").
    if (!hasMinutes && !marked)
        return std::nullopt;
    if (marked) {
        if (hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59 || ms > 999)
        return std::nullopt;
    return EncodeTime(hour, minute, second, ms);
}

} // namespace

const TFormatSettings& DefaultFormatSettings() {
    static const TFormatSettings settings;
    return settings;
}

std::string FormatDateTime(std::string_view pattern, TDateTime t, const TFormatSettings& fs) {
    std::string out;
    TDateTimeFormatter(t, fs).Append(out, pattern.empty() ? std::string_view("c") : pattern, 0);
    return out;
}

std::optional<TDateTime> ParseDate(std::string_view text, const TFormatSettings& fs,
                                   TDateTime today) {
    TScanner in(text);
    const auto date = ScanDate(in, fs, today);
    if (!date || !in.AtEnd())
        return std::nullopt;
    return date;
}

std::optional<TDateTime> ParseTime(std::string_view text, const TFormatSettings& fs) {
    TScanner in(text);
    const auto time = ScanTime(in, fs);
    if (!time || !in.AtEnd())
        return std::nullopt;
    return time;
}

std::optional<TDateTime> ParseDateTime(std::string_view text, const TFormatSettings& fs,
                                       TDateTime today) {
    TScanner in(text);
    const auto date = ScanDate(in, fs, today);
    if (!date)
        return std::nullopt;
    if (in.AtEnd())
        return date;
    const auto time = ScanTime(in, fs);
    if (!time || !in.AtEnd())
        return std::nullopt;
    return ComposeDateTime(*date, *time);
}

} // namespace tessaly
