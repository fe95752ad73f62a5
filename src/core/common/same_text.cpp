#include "core/common/same_text.h"

#include "core/common/upper_case.h"

#include <algorithm>

namespace tessaly {

char UpperCase1252(char c) {
    return UpperChar(c);
}

std::string UpperCase1252(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = UpperCase1252(c);
    return out;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

} // namespace tessaly
