#pragma once
// The sync's HTTP exchanges over Qt Network. Each Send runs a local event loop until
// the answer is in, so a command-line program without a running loop can use it, and
// so can a worker thread. A client belongs to the thread of its first Send. On a
// thread asked to end (QThread::requestInterruption) an exchange under way is broken
// off at once, and no further one starts: each fails as a dropped connection does.

#include "core/sync/http_client.h"

#include <memory>
#include <string>

class QNetworkAccessManager;

namespace tessaly {

struct THttpClientOptions {
    std::string User;     // empty: no Basic authentication
    std::string Password; // UTF-8, as the server compares it
    // Longest wait for the next byte of an answer before the exchange is given up. A
    // server may think for over a minute before the first byte of its list of changes
    // to an address book of tens of thousands of cards; a shorter wait would give up
    // on every first sync of such a book.
    int IdleTimeoutMs = 180000;
    // Longest wait for a first sign of an exchange under way (a byte of the request's
    // body sent, or an answer's headers). A connection that drops as it opens can leave
    // the network layer holding a request it never sends again: such a request is sent
    // once more on fresh connections, and then given up, rather than waited on for the
    // whole idle timeout. Nothing of it reached the server, so sending it again is safe.
    int LostRequestMs = 30000;
    // Redirects followed for GET and PROPFIND (which the service discovery needs).
    int MaxRedirects = 5;
};

class TQtHttpClient final : public IHttpClient {
public:
    explicit TQtHttpClient(THttpClientOptions options = {});
    ~TQtHttpClient() override;
    TQtHttpClient(const TQtHttpClient&) = delete;
    TQtHttpClient& operator=(const TQtHttpClient&) = delete;

    THttpResponse Send(const THttpRequest& request) override;

private:
    // `lost` is set when the request showed no sign of leaving within LostRequestMs.
    THttpResponse SendOnce(const THttpRequest& request, bool withAuth, bool& lost);
    void MakeManager();

    THttpClientOptions options_;
    std::unique_ptr<QNetworkAccessManager> manager_;
};

} // namespace tessaly
