#include "core/common/file_paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace tessaly {

TFileKind FileKindOf(const std::string& path) {
    const std::string ext = UpperCase(fs::path(path).extension().string());
    return ext == ".TDY" ? TFileKind::Diary : TFileKind::Book;
}

std::string FileTypeText(TFileKind kind) {
    return kind == TFileKind::Diary ? "TDY" : "ADR";
}

TFileKind FileKindFromType(const std::string& type) {
    return UpperCase(type) == "ADR" ? TFileKind::Book : TFileKind::Diary;
}

std::string CanonicalPath(const std::string& path, const std::string& baseDirectory) {
    if (path.empty())
        return path;
    fs::path p(path);
    std::error_code ec;
    if (p.is_relative()) {
        fs::path base = baseDirectory.empty() ? fs::current_path(ec) : fs::path(baseDirectory);
        p = base / p;
    }
    fs::path c = fs::weakly_canonical(p, ec);
    if (ec)
        c = p.lexically_normal();
    std::string s = c.string();
    // A trailing separator names the same directory.
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\'))
        s.pop_back();
    return s;
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
#ifdef _WIN32
    return SameTextIgnoringCase(CanonicalPath(a), CanonicalPath(b));
#else
    return CanonicalPath(a) == CanonicalPath(b);
#endif
}

std::string FileNameOf(const std::string& path) {
    return fs::path(path).filename().string();
}

std::string DirectoryOf(const std::string& path) {
    return fs::path(path).parent_path().string();
}

std::string UpperCase(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

} // namespace tessaly
