#pragma once
// The addresses the sync works with: absolute URLs ("https://host:8443/dav/") and the
// paths servers give as hrefs, brought to one spelling so that two spellings of the
// same resource compare equal.

#include <string>
#include <string_view>

namespace tessaly {

// "scheme://host[:port]" of an absolute URL; empty when it is none.
std::string UrlOrigin(std::string_view url);
// The path of an absolute URL ("/" when it has none), query and fragment left out.
std::string UrlPath(std::string_view url);
// An href (an absolute URL or a path) made absolute against the URL it came with;
// the path takes the spelling of NormalHref.
std::string ResolveHref(std::string_view base, std::string_view href);
// A path with every percent-escape decoded and every byte that is not unreserved
// or "/" encoded again (upper-case hex): one spelling per path.
std::string NormalHref(std::string_view path);
// A name as one path segment: unreserved characters kept, the rest percent-encoded.
std::string PathSegment(std::string_view name);
// The URL with a "/" at the end of its path.
std::string WithSlash(std::string_view url);

} // namespace tessaly
