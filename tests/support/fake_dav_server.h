#pragma once
// A CardDAV and CalDAV server held in memory, answering IHttpClient requests as a real one
// does: principal, home set and address books, ETags that change with every write,
// sync tokens over a change log, addressbook-multiget and calendar-multiget,
// MKCALENDAR, and the If-Match and
// If-None-Match conditions. It can refuse the sync-collection REPORT, answer PUT
// without an ETag, and fail a chosen request as a dropped connection.

#include "core/sync/http_client.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tessaly::testing {

class TFakeDavServer final : public IHttpClient {
public:
    static constexpr const char* kOrigin = "http://dav.test";
    static constexpr const char* kHome = "/dav/user/";

    struct TResource {
        std::string Data;
        std::string ETag;
    };
    struct TCollection {
        std::string DisplayName;
        std::map<std::string, TResource> Members;      // by path
        std::vector<std::pair<long, std::string>> Log; // change number, path changed
        bool Calendar = false;                         // a calendar, else an address book
    };

    // Makes an address book under the home set; returns its absolute URL.
    std::string AddBook(const std::string& name);
    // Makes a calendar under the home set; returns its absolute URL.
    std::string AddCalendar(const std::string& name);

    THttpResponse Send(const THttpRequest& request) override;

    // Switches: the sync-collection REPORT answered 501 (true) or served.
    bool RefuseSyncCollection = false;
    bool PutWithoutETag = false;
    // Forgets the change log up to now: older tokens become invalid (403).
    void ForgetLog();
    // The request numbered n from now (1 the next one) gets no answer. With `after`
    // the request is carried out before its answer is lost.
    void DropRequest(int n, bool after = false) {
        dropAt_ = requests_ + n;
        dropAfter_ = after;
    }
    void CancelDrop() { dropAt_ = 0; }
    // Called before a request is answered (a test may change the server meanwhile).
    std::function<void(const THttpRequest&)> BeforeAnswer;

    int Requests() const { return requests_; }
    std::map<std::string, TCollection> Collections; // by path, ending in "/"
    // Writes a card as another client would; returns its ETag.
    std::string PutDirect(const std::string& url, const std::string& vcard);
    void DeleteDirect(const std::string& url);

private:
    THttpResponse Answer(const THttpRequest& request);
    TCollection* CollectionOf(const std::string& path, std::string& member);
    std::string Touch(TCollection& c, const std::string& path);

    long changes_ = 1;
    long forgotten_ = 0;
    int etags_ = 0;
    int requests_ = 0;
    int dropAt_ = 0;
    bool dropAfter_ = false;
};

} // namespace tessaly::testing
