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

std::string Trim(std::string_view s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsBlankOrControl(s[begin]))
        ++begin;
    while (end > begin && IsBlankOrControl(s[end - 1]))
        --end;
    return std::string(s.substr(begin, end - begin));
}

void TrimInPlace(std::string& s) {
    while (!s.empty() && IsBlankOrControl(s.back()))
        s.pop_back();
    const auto first = std::find_if_not(s.begin(), s.end(), IsBlankOrControl);
    s.erase(s.begin(), first);
}

std::string TrimRight(std::string_view s) {
    std::size_t end = s.size();
    while (end > 0 && IsBlankOrControl(s[end - 1]))
        --end;
    return std::string(s.substr(0, end));
}

std::string CutShort(std::string_view s) {
    return std::string(s.substr(0, std::min(s.size(), kShortStringMax)));
}

std::string CleanShort(std::string_view s) {
    return CutShort(Trim(s));
}

} // namespace tessaly
