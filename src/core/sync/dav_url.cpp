#include "core/sync/dav_url.h"

namespace tessaly {

namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void Encode(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 15];
}

// Where the path starts in an absolute URL, npos when it is not one.
std::size_t PathStart(std::string_view url) {
    const std::size_t scheme = url.find("://");
    if (scheme == std::string_view::npos)
        return std::string_view::npos;
    const std::size_t slash = url.find('/', scheme + 3);
    return slash == std::string_view::npos ? url.size() : slash;
}

} // namespace

std::string UrlOrigin(std::string_view url) {
    const std::size_t start = PathStart(url);
    if (start == std::string_view::npos)
        return std::string();
    std::string_view origin = url.substr(0, start);
    const std::size_t cut = origin.find_first_of("?#", origin.find("://") + 3);
    return std::string(origin.substr(0, cut));
}

std::string UrlPath(std::string_view url) {
    const std::size_t start = PathStart(url);
    if (start == std::string_view::npos || start == url.size())
        return "/";
    std::string_view path = url.substr(start);
    path = path.substr(0, path.find_first_of("?#"));
    return path.empty() ? "/" : std::string(path);
}

std::string NormalHref(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (std::size_t i = 0; i < path.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(path[i]);
        if (c == '%' && i + 2 < path.size()) {
            const int hi = HexValue(path[i + 1]), lo = HexValue(path[i + 2]);
            if (hi >= 0 && lo >= 0) {
                c = static_cast<unsigned char>(hi * 16 + lo);
                i += 2;
                if (c == '/') { // an escaped slash stays escaped: it is not a separator
                    Encode(out, c);
                    continue;
                }
            }
        }
        if (Unreserved(c) || c == '/')
            out += static_cast<char>(c);
        else
            Encode(out, c);
    }
    return out;
}

std::string ResolveHref(std::string_view base, std::string_view href) {
    if (href.find("://") != std::string_view::npos)
        return UrlOrigin(href) + NormalHref(UrlPath(href));
    if (!href.empty() && href.front() == '/')
        return UrlOrigin(base) + NormalHref(href.substr(0, href.find_first_of("?#")));
    // Relative to the folder of the base.
    std::string path = UrlPath(base);
    path = path.substr(0, path.rfind('/') + 1);
    return UrlOrigin(base) +
           NormalHref(path + std::string(href.substr(0, href.find_first_of("?#"))));
}

std::string PathSegment(std::string_view name) {
    std::string out;
    for (unsigned char c : name) {
        if (Unreserved(c))
            out += static_cast<char>(c);
        else
            Encode(out, c);
    }
    return out;
}

std::string WithSlash(std::string_view url) {
    std::string out(url);
    if (out.empty() || out.back() != '/')
        out += '/';
    return out;
}

} // namespace tessaly
