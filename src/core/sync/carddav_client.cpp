#include "core/sync/carddav_client.h"

#include "core/common/text.h"
#include "core/sync/dav_url.h"
#include "core/sync/dav_xml.h"

#include <algorithm>

namespace tessaly {

namespace {

constexpr int kMaxRedirects = 5;
// A server that keeps answering "truncated" is not followed for ever.
constexpr int kMaxSyncPages = 10000;

const char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";

// The "d:" and "c:" prefixes of the requests' XML: DAV and the kind's own.
std::string NamespacesOf(const TDavKind& kind) {
    return std::string(" xmlns:d=\"DAV:\" xmlns:c=\"") + kind.Ns + "\"";
}

std::string StatusText(const THttpResponse& r) {
    if (r.Status == 0)
        return r.Error.empty() ? std::string("no answer") : r.Error;
    std::string text = std::to_string(r.Status);
    if (!r.Error.empty())
        text += ' ' + r.Error;
    return text;
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The last segment of a URL's path, decoded.
std::string LastSegment(const std::string& url) {
    std::string path = UrlPath(url);
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::string segment = path.substr(path.rfind('/') + 1);
    std::string out;
    for (std::size_t i = 0; i < segment.size(); ++i) {
        if (segment[i] == '%' && i + 2 < segment.size()) {
            out += static_cast<char>(std::stoi(segment.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += segment[i];
        }
    }
    return out;
}

bool IsOfKind(const TXmlElement& props, const TDavKind& kind) {
    const TXmlElement* type = props.Child(kDavNs, "resourcetype");
    return type && type->Child(kind.Ns, kind.ResourceType);
}

bool IsCollection(const TXmlElement& props) {
    const TXmlElement* type = props.Child(kDavNs, "resourcetype");
    return type && type->Child(kDavNs, "collection");
}

std::string HrefIn(const TXmlElement& props, std::string_view ns, std::string_view name) {
    const TXmlElement* p = props.Child(ns, name);
    return p ? p->ChildText(kDavNs, "href") : std::string();
}

// Sends a request, following redirects; `url` becomes the address that answered.
THttpResponse SendFollowing(IHttpClient& http, THttpRequest request, std::string& url) {
    for (int hop = 0;; ++hop) {
        request.Url = url;
        THttpResponse r = http.Send(request);
        const std::string* location = r.Header("Location");
        if (!IsRedirect(r.Status) || !location || hop == kMaxRedirects)
            return r;
        url = ResolveHref(url, Trim(*location));
    }
}

THttpRequest Propfind(const std::string& depth, const std::string& props, const TDavKind& kind) {
    THttpRequest request;
    request.Method = "PROPFIND";
    request.Headers = {{"Depth", depth}, {"Content-Type", "application/xml; charset=utf-8"}};
    request.Body = std::string(kXmlHead) + "<d:propfind" + NamespacesOf(kind) + "><d:prop>" +
                   props + "</d:prop></d:propfind>";
    return request;
}

struct TFound {
    bool Answered = false;
    bool OfKind = false;
    std::string Principal;
    std::string Home;
};

// What a URL says of itself: a collection of the kind, or where the user's ones are.
TFound AskAbout(IHttpClient& http, std::string& url, std::string& failure, const TDavKind& kind) {
    TFound found;
    const THttpResponse r =
        SendFollowing(http,
                      Propfind("0",
                               std::string("<d:resourcetype/><d:current-user-principal/><c:") +
                                   kind.HomeSet + "/>",
                               kind),
                      url);
    if (r.Status != 207) {
        failure = DavFailureOf("PROPFIND", url, r).Text;
        return found;
    }
    TMultiStatus ms;
    std::string error;
    if (!ReadMultiStatus(r.Body, ms, error)) {
        failure = "PROPFIND " + url + ": " + error;
        return found;
    }
    found.Answered = true;
    for (const auto& response : ms.Responses) {
        found.OfKind = found.OfKind || IsOfKind(response.Props, kind);
        const std::string principal = HrefIn(response.Props, kDavNs, "current-user-principal");
        if (!principal.empty() && found.Principal.empty())
            found.Principal = ResolveHref(url, principal);
        const std::string home = HrefIn(response.Props, kind.Ns, kind.HomeSet);
        if (!home.empty() && found.Home.empty())
            found.Home = WithSlash(ResolveHref(url, home));
    }
    return found;
}

// The body of the request that makes a collection of the kind named `name`.
std::string MakeBody(const TDavKind& kind, const std::string& name) {
    const std::string shown = "<d:displayname>" + XmlEscape(name) + "</d:displayname>";
    if (&kind == &kCalendarKind)
        return std::string(kXmlHead) + "<c:mkcalendar" + NamespacesOf(kind) + "><d:set><d:prop>" +
               shown +
               "<c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
               "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
    return std::string(kXmlHead) + "<d:mkcol" + NamespacesOf(kind) +
           "><d:set><d:prop><d:resourcetype><d:collection/><c:" + kind.ResourceType +
           "/></d:resourcetype>" + shown + "</d:prop></d:set></d:mkcol>";
}

} // namespace

const TDavKind kAddressBookKind = {"urn:ietf:params:xml:ns:carddav",
                                   "/.well-known/carddav",
                                   "addressbook-home-set",
                                   "addressbook",
                                   "addressbook-multiget",
                                   "address-data",
                                   "text/vcard; charset=utf-8",
                                   ".vcf",
                                   "address book"};
const TDavKind kCalendarKind = {"urn:ietf:params:xml:ns:caldav",
                                "/.well-known/caldav",
                                "calendar-home-set",
                                "calendar",
                                "calendar-multiget",
                                "calendar-data",
                                "text/calendar; charset=utf-8",
                                ".ics",
                                "calendar"};

TDavFailure DavFailureOf(const std::string& method, const std::string& url,
                         const THttpResponse& response) {
    return {method + ' ' + url + ": " + StatusText(response), response.Status};
}

TDiscovery DiscoverAddressBook(IHttpClient& http, const std::string& server,
                               const std::string& bookName) {
    return DiscoverCollection(http, server, bookName, kAddressBookKind);
}

TDiscovery DiscoverCalendar(IHttpClient& http, const std::string& server, const std::string& name) {
    return DiscoverCollection(http, server, name, kCalendarKind);
}

TDiscovery DiscoverCollection(IHttpClient& http, const std::string& server,
                              const std::string& bookName, const TDavKind& kind) {
    TDiscovery result;
    if (UrlOrigin(server).empty()) {
        result.Failure = "\"" + server + "\" is not a server's address (http://... or https://...)";
        return result;
    }
    std::string url = server;
    std::string failure;
    TFound found = AskAbout(http, url, failure, kind);
    if (found.OfKind) {
        result.Ok = true;
        result.Collection = WithSlash(url);
        return result;
    }
    if (found.Principal.empty() && found.Home.empty()) {
        std::string wellKnown = UrlOrigin(server) + kind.WellKnown;
        std::string second;
        found = AskAbout(http, wellKnown, second, kind);
        if (found.OfKind) {
            result.Ok = true;
            result.Collection = WithSlash(wellKnown);
            return result;
        }
        if (failure.empty())
            failure = second;
    }
    if (found.Home.empty() && !found.Principal.empty()) {
        std::string principal = found.Principal;
        found.Home = AskAbout(http, principal, failure, kind).Home;
    }
    if (found.Home.empty()) {
        result.Failure = std::string("no ") + kind.Noun + " was found at " + server +
                         (failure.empty() ? std::string() : " (" + failure + ")");
        return result;
    }
    std::string home = found.Home;
    const THttpResponse list =
        SendFollowing(http, Propfind("1", "<d:resourcetype/><d:displayname/>", kind), home);
    TMultiStatus ms;
    std::string error;
    if (list.Status != 207 || !ReadMultiStatus(list.Body, ms, error)) {
        result.Failure = list.Status != 207 ? DavFailureOf("PROPFIND", home, list).Text
                                            : "PROPFIND " + home + ": " + error;
        return result;
    }
    const std::string wanted = LowerAscii(bookName);
    std::vector<std::string> books;
    for (const auto& response : ms.Responses) {
        if (!IsOfKind(response.Props, kind))
            continue;
        const std::string at = WithSlash(ResolveHref(home, response.Href));
        const std::string shown = response.Props.ChildText(kDavNs, "displayname");
        if (LowerAscii(shown) == wanted || LowerAscii(LastSegment(at)) == wanted)
            books.push_back(at);
    }
    if (!books.empty()) {
        std::sort(books.begin(), books.end());
        result.Ok = true;
        result.Collection = books.front();
        return result;
    }
    THttpRequest make;
    make.Method = &kind == &kCalendarKind ? "MKCALENDAR" : "MKCOL";
    make.Url = home + PathSegment(bookName) + "/";
    make.Headers = {{"Content-Type", "application/xml; charset=utf-8"}};
    make.Body = MakeBody(kind, bookName);
    const THttpResponse made = http.Send(make);
    if (made.Status != 201) {
        result.Failure = std::string("the ") + kind.Noun + " \"" + bookName +
                         "\" could not be made (" + DavFailureOf(make.Method, make.Url, made).Text +
                         ")";
        return result;
    }
    result.Ok = true;
    result.Created = true;
    result.Collection = make.Url;
    return result;
}

TCardDavClient::TCardDavClient(IHttpClient& http, std::string collection, const TDavKind& kind)
    : http_(http), collection_(WithSlash(collection)), kind_(kind) {}

THttpResponse TCardDavClient::Send(const std::string& method, const std::string& url,
                                   THttpHeaders headers, std::string body) {
    THttpRequest request;
    request.Method = method;
    request.Url = url;
    request.Headers = std::move(headers);
    request.Body = std::move(body);
    return http_.Send(request);
}

TDavChanges TCardDavClient::ChangesSince(const std::string& token) {
    TDavChanges out;
    std::string from = token;
    for (int page = 0; page < kMaxSyncPages; ++page) {
        const std::string body =
            std::string(kXmlHead) + "<d:sync-collection" + NamespacesOf(kind_) + ">" +
            (from.empty() ? std::string("<d:sync-token/>")
                          : "<d:sync-token>" + XmlEscape(from) + "</d:sync-token>") +
            "<d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop></d:sync-collection>";
        const THttpResponse r =
            Send("REPORT", collection_,
                 {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}}, body);
        if (r.Status == 400 || r.Status == 403 || r.Status == 404 || r.Status == 405 ||
            r.Status == 409 || r.Status == 412 || r.Status == 415 || r.Status == 501) {
            // Not done, or not for this token (the DAV:valid-sync-token precondition).
            out.Refused = true;
            out.Failure = DavFailureOf("REPORT", collection_, r);
            return out;
        }
        TMultiStatus ms;
        std::string error;
        if (r.Status != 207) {
            out.Failure = DavFailureOf("REPORT", collection_, r);
            return out;
        }
        if (!ReadMultiStatus(r.Body, ms, error)) {
            out.Failure = {"REPORT " + collection_ + ": " + error, r.Status};
            return out;
        }
        bool truncated = false;
        for (const auto& response : ms.Responses) {
            const std::string url = ResolveHref(collection_, response.Href);
            if (WithSlash(url) == collection_) {
                truncated = truncated || response.Status == 507;
                continue;
            }
            if (response.Status == 404) {
                out.Removed.push_back(url);
                continue;
            }
            if (IsCollection(response.Props))
                continue;
            out.Changed.push_back({url, response.Props.ChildText(kDavNs, "getetag")});
        }
        if (ms.SyncToken.empty()) {
            out.Failure = {"REPORT " + collection_ + ": the answer has no sync token", r.Status};
            return out;
        }
        out.Token = ms.SyncToken;
        if (!truncated || ms.SyncToken == from) {
            out.Ok = true;
            return out;
        }
        from = ms.SyncToken;
    }
    out.Failure = {"REPORT " + collection_ + ": the changes never came to an end", 0};
    return out;
}

bool TCardDavClient::ListMembers(std::vector<TDavMember>& members, TDavFailure& failure) {
    THttpRequest request = Propfind("1", "<d:resourcetype/><d:getetag/>", kind_);
    request.Url = collection_;
    const THttpResponse r = http_.Send(request);
    if (r.Status != 207) {
        failure = DavFailureOf("PROPFIND", collection_, r);
        return false;
    }
    TMultiStatus ms;
    std::string error;
    if (!ReadMultiStatus(r.Body, ms, error)) {
        failure = {"PROPFIND " + collection_ + ": " + error, r.Status};
        return false;
    }
    members.clear();
    for (const auto& response : ms.Responses) {
        const std::string url = ResolveHref(collection_, response.Href);
        if (WithSlash(url) == collection_ || IsCollection(response.Props))
            continue;
        members.push_back({url, response.Props.ChildText(kDavNs, "getetag")});
    }
    return true;
}

bool TCardDavClient::FetchCards(const std::vector<std::string>& urls, std::vector<TDavCard>& cards,
                                std::vector<std::string>& missing, TDavFailure& failure) {
    if (urls.empty())
        return true;
    std::string body = std::string(kXmlHead) + "<c:" + kind_.Multiget + NamespacesOf(kind_) +
                       "><d:prop><d:getetag/><c:" + kind_.Data + "/></d:prop>";
    for (const auto& url : urls)
        body += "<d:href>" + XmlEscape(UrlPath(url)) + "</d:href>";
    body += std::string("</c:") + kind_.Multiget + ">";
    const THttpResponse r =
        Send("REPORT", collection_,
             {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}}, body);
    if (r.Status != 207) {
        failure = DavFailureOf("REPORT", collection_, r);
        return false;
    }
    TMultiStatus ms;
    std::string error;
    if (!ReadMultiStatus(r.Body, ms, error)) {
        failure = {"REPORT " + collection_ + ": " + error, r.Status};
        return false;
    }
    std::vector<std::string> answered;
    for (const auto& response : ms.Responses) {
        const std::string url = ResolveHref(collection_, response.Href);
        const TXmlElement* data = response.Props.Child(kind_.Ns, kind_.Data);
        if (response.Status == 404 || !data)
            continue;
        cards.push_back({url, response.Props.ChildText(kDavNs, "getetag"), data->Text});
        answered.push_back(url);
    }
    std::sort(answered.begin(), answered.end());
    for (const auto& url : urls)
        if (!std::binary_search(answered.begin(), answered.end(), url))
            missing.push_back(url);
    return true;
}

TDavPut TCardDavClient::PutCard(const std::string& url, const std::string& vcard,
                                const std::string& ifMatch) {
    THttpHeaders headers = {{"Content-Type", kind_.ContentType}};
    if (ifMatch.empty())
        headers.emplace_back("If-None-Match", "*");
    else
        headers.emplace_back("If-Match", ifMatch);
    const THttpResponse r = Send("PUT", url, std::move(headers), vcard);
    TDavPut out;
    out.Status = r.Status;
    if (const std::string* etag = r.Header("ETag"))
        out.ETag = Trim(*etag);
    if (!out.Written() && r.Status != 412)
        out.Failure = DavFailureOf("PUT", url, r);
    return out;
}

int TCardDavClient::DeleteCard(const std::string& url, const std::string& ifMatch,
                               TDavFailure& failure) {
    THttpHeaders headers;
    if (!ifMatch.empty())
        headers.emplace_back("If-Match", ifMatch);
    const THttpResponse r = Send("DELETE", url, std::move(headers), std::string());
    if (!(r.Status >= 200 && r.Status <= 299) && r.Status != 404 && r.Status != 412)
        failure = DavFailureOf("DELETE", url, r);
    return r.Status;
}

int TCardDavClient::GetCard(const std::string& url, TDavCard& card, TDavFailure& failure) {
    const THttpResponse r = Send("GET", url, {}, std::string());
    if (r.Status == 200) {
        card.Url = url;
        card.Data = r.Body;
        const std::string* etag = r.Header("ETag");
        card.ETag = etag ? Trim(*etag) : std::string();
    } else if (r.Status != 404) {
        failure = DavFailureOf("GET", url, r);
    }
    return r.Status;
}

} // namespace tessaly
