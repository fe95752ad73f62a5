#include "core/frame/start_up.h"

#include "core/common/file_paths.h"

#include <filesystem>

namespace tessaly {

std::string LimitMonthLetters(std::string_view format) {
    std::string out;
    int months = 0;
    for (const char c : format) {
        if (c == 'M' || c == 'm') {
            if (++months > 2)
                continue;
        }
        out += c;
    }
    return out;
}

std::string MakeVersionText(const std::string& productVersion, const std::string& fileVersion) {
    if (productVersion.empty() || fileVersion.empty())
        return "N/A";
    return "Version: " + productVersion + " Build: " + fileVersion;
}

std::string ProgramNameOf(const std::string& executablePath) {
    std::string stem = std::filesystem::path(executablePath).stem().string();
    return stem.empty() ? "TESSALY" : UpperCase(stem);
}

} // namespace tessaly

namespace tessaly {

std::string DateFormatFromQt(std::string_view qtFormat) {
    std::string out;
    bool quoted = false;
    for (const char c : qtFormat) {
        if (c == '\'')
            quoted = !quoted;
        out += (!quoted && c == 'M') ? 'm' : c;
    }
    return out;
}

} // namespace tessaly
