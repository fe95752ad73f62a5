#include "core/common/fill_text.h"

namespace tessaly {

std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size());
    auto value = values.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            value != values.end()) {
            out += *value++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace tessaly
