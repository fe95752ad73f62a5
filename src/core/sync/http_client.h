#pragma once
// One HTTP exchange with a contacts or calendar server, as the sync needs it: the
// request goes out whole and the whole answer comes back. The platform layer answers
// over the network; tests answer from a server held in memory.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

using THttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct THttpRequest {
    std::string Method; // "PROPFIND", "REPORT", "PUT", ...
    std::string Url;    // absolute: scheme, host, port and path
    THttpHeaders Headers;
    std::string Body;
};

struct THttpResponse {
    // 0 when no answer came (refused, dropped, timed out); Error then says why.
    int Status = 0;
    THttpHeaders Headers;
    std::string Body;
    std::string Error;

    // The first header of that name, compared without regard to case; null when absent.
    const std::string* Header(std::string_view name) const {
        for (const auto& [key, value] : Headers) {
            if (key.size() != name.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < key.size() && same; ++i)
                same = (key[i] | 0x20) == (name[i] | 0x20);
            if (same)
                return &value;
        }
        return nullptr;
    }
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // Sends the request and waits for the whole answer. User name and password, when
    // the client was given them, go with every request as Basic authentication.
    virtual THttpResponse Send(const THttpRequest& request) = 0;
};

} // namespace tessaly
