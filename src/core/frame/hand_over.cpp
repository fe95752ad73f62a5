#include "core/frame/hand_over.h"

#include <charconv>
#include <filesystem>
#include <system_error>

namespace tessaly {

namespace {
const std::string kHeader = "TESSALY-HANDOVER 1\n";
const std::string kRaise = "RAISE\n";
const std::string kOpen = "OPEN ";
// Longer paths are refused rather than buffered without end.
constexpr std::size_t kLongestPath = 65536;
} // namespace

std::string EncodeHandOver(const THandOver& h) {
    if (h.Path.empty())
        return kHeader + kRaise;
    return kHeader + kOpen + FileTypeText(h.Kind) + " " + std::to_string(h.Path.size()) + "\n" +
           h.Path;
}

THandOverStatus DecodeHandOver(const std::string& bytes, THandOver& out) {
    // Every prefix of a valid message is incomplete, anything else is invalid.
    const auto prefixOf = [&](const std::string& whole, std::size_t from) {
        const std::size_t n = std::min(bytes.size() - from, whole.size());
        return bytes.compare(from, n, whole, 0, n) == 0;
    };
    if (!prefixOf(kHeader, 0))
        return THandOverStatus::Invalid;
    if (bytes.size() < kHeader.size())
        return THandOverStatus::Incomplete;
    std::size_t pos = kHeader.size();
    if (bytes.size() == pos)
        return THandOverStatus::Incomplete;
    if (bytes[pos] == 'R') {
        if (!prefixOf(kRaise, pos))
            return THandOverStatus::Invalid;
        if (bytes.size() < pos + kRaise.size())
            return THandOverStatus::Incomplete;
        if (bytes.size() > pos + kRaise.size())
            return THandOverStatus::Invalid;
        out = THandOver{};
        return THandOverStatus::Complete;
    }
    if (!prefixOf(kOpen, pos))
        return THandOverStatus::Invalid;
    if (bytes.size() < pos + kOpen.size() + 4)
        return THandOverStatus::Incomplete;
    pos += kOpen.size();
    const std::string type = bytes.substr(pos, 3);
    if ((type != "ADR" && type != "TDY") || bytes[pos + 3] != ' ')
        return THandOverStatus::Invalid;
    pos += 4;
    const std::size_t eol = bytes.find('\n', pos);
    if (eol == std::string::npos)
        return bytes.size() - pos > 6 ? THandOverStatus::Invalid : THandOverStatus::Incomplete;
    std::size_t length = 0;
    const auto [end, ec] = std::from_chars(bytes.data() + pos, bytes.data() + eol, length);
    if (ec != std::errc() || end != bytes.data() + eol || length == 0 || length > kLongestPath)
        return THandOverStatus::Invalid;
    const std::size_t start = eol + 1;
    if (bytes.size() < start + length)
        return THandOverStatus::Incomplete;
    if (bytes.size() > start + length)
        return THandOverStatus::Invalid;
    THandOver h;
    h.Path = bytes.substr(start, length);
    if (h.Path.find('\0') != std::string::npos)
        return THandOverStatus::Invalid;
    h.Kind = FileKindFromType(type);
    out = h;
    return THandOverStatus::Complete;
}

THandOver HandOverFor(const std::string& argument, const std::string& workingDirectory) {
    THandOver h;
    if (argument.empty())
        return h;
    const std::string path = CanonicalPath(argument, workingDirectory);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return h;
    h.Path = path;
    h.Kind = FileKindOf(path);
    return h;
}

} // namespace tessaly
