#include "core/common/text.h"

#include <algorithm>
#include <ostream>

namespace tessaly {

void PrintTo(const Text& t, std::ostream* os) {
    if (t)
        *os << '"' << t.view() << '"';
    else
        *os << "(absent)";
}

namespace {
bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

std::string_view TrimmedView(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlankOrControl(s[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

std::string Trim(std::string_view s) {
    return std::string(TrimmedView(s));
}

void TrimInPlace(std::string& s) {
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.pop_back();
    const auto first = std::find_if_not(s.begin(), s.end(), IsBlankOrControl);
    s.erase(s.begin(), first);
}

std::string_view TrimmedRightView(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0 && IsBlankOrControl(s[end - 1]))
        --end;
    return s.substr(0, end);
}

std::string TrimRight(std::string_view s) {
    return std::string(TrimmedRightView(s));
}

std::string CutShort(std::string_view s) {
    return std::string(CutShortView(s));
}

std::string CleanShort(std::string_view s) {
    return std::string(CleanShortView(s));
}

} // namespace tessaly
