#pragma once
// Messages of the string table carry %s placeholders; this fills them in order.

#include <initializer_list>
#include <string>
#include <string_view>

namespace tessaly {

// Each "%s" takes the next value; the values themselves are not scanned, and
// placeholders beyond the values stay as they are.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

} // namespace tessaly
