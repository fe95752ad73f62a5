#include "tests/support/fake_dav_server.h"

#include <algorithm>
#include <regex>

namespace tessaly::testing {

namespace {

std::string Esc(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string Unesc(std::string text) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                   {"&gt;", ">"},
                                   {"&quot;", "\""},
                                   {"&apos;", "'"},
                                   {"&amp;", "&"}}) {
        for (std::size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    }
    return text;
}

const std::string* HeaderOf(const THttpRequest& r, const std::string& name) {
    for (const auto& [key, value] : r.Headers)
        if (key.size() == name.size() &&
            std::equal(key.begin(), key.end(), name.begin(),
                       [](char x, char y) { return (x | 0x20) == (y | 0x20); }))
            return &value;
    return nullptr;
}

THttpResponse Status(int code) {
    THttpResponse r;
    r.Status = code;
    return r;
}

THttpResponse MultiStatus(const std::string& inner, const std::string& token = std::string()) {
    THttpResponse r;
    r.Status = 207;
    r.Body = "<?xml version=\"1.0\"?>\n<multistatus xmlns=\"DAV:\" "
             "xmlns:C=\"urn:ietf:params:xml:ns:carddav\" "
             "xmlns:K=\"urn:ietf:params:xml:ns:caldav\">" +
             inner + (token.empty() ? "" : "<sync-token>" + Esc(token) + "</sync-token>") +
             "</multistatus>";
    return r;
}

std::string Response(const std::string& href, const std::string& props) {
    return "<response><href>" + Esc(href) + "</href><propstat><prop>" + props +
           "</prop><status>HTTP/1.1 200 OK</status></propstat></response>";
}

std::string Gone(const std::string& href) {
    return "<response><href>" + Esc(href) +
           "</href><status>HTTP/1.1 404 Not Found</status>"
           "</response>";
}

const char kBookType[] = "<resourcetype><collection/><C:addressbook/></resourcetype>";
const char kCalendarType[] = "<resourcetype><collection/><K:calendar/></resourcetype>";

const char* TypeOf(const TFakeDavServer::TCollection& c) {
    return c.Calendar ? kCalendarType : kBookType;
}

} // namespace

std::string TFakeDavServer::AddBook(const std::string& name) {
    const std::string path = std::string(kHome) + name + "/";
    Collections[path].DisplayName = name;
    return kOrigin + path;
}

std::string TFakeDavServer::AddCalendar(const std::string& name) {
    const std::string path = std::string(kHome) + name + "/";
    Collections[path].DisplayName = name;
    Collections[path].Calendar = true;
    return kOrigin + path;
}

void TFakeDavServer::ForgetLog() {
    forgotten_ = changes_;
    for (auto& [path, c] : Collections)
        c.Log.clear();
}

TFakeDavServer::TCollection* TFakeDavServer::CollectionOf(const std::string& path,
                                                          std::string& member) {
    for (auto& [at, c] : Collections) {
        if (path.compare(0, at.size(), at) == 0 && path.size() > at.size() &&
            path.find('/', at.size()) == std::string::npos) {
            member = path;
            return &c;
        }
    }
    return nullptr;
}

std::string TFakeDavServer::Touch(TCollection& c, const std::string& path) {
    c.Log.emplace_back(++changes_, path);
    return "\"e" + std::to_string(++etags_) + "\"";
}

std::string TFakeDavServer::PutDirect(const std::string& url, const std::string& vcard) {
    const std::string path = url.substr(std::string(kOrigin).size());
    std::string member;
    TCollection* c = CollectionOf(path, member);
    const std::string etag = Touch(*c, path);
    c->Members[path] = {vcard, etag};
    return etag;
}

void TFakeDavServer::DeleteDirect(const std::string& url) {
    const std::string path = url.substr(std::string(kOrigin).size());
    std::string member;
    TCollection* c = CollectionOf(path, member);
    c->Members.erase(path);
    Touch(*c, path);
}

THttpResponse TFakeDavServer::Send(const THttpRequest& request) {
    ++requests_;
    // A copy: the hook may clear itself.
    if (const auto hook = BeforeAnswer)
        hook(request);
    if (requests_ == dropAt_) {
        if (dropAfter_)
            Answer(request);
        THttpResponse lost;
        lost.Error = "connection closed";
        return lost;
    }
    return Answer(request);
}

THttpResponse TFakeDavServer::Answer(const THttpRequest& request) {
    const std::string origin = kOrigin;
    if (request.Url.compare(0, origin.size(), origin) != 0)
        return Status(0);
    const std::string path = request.Url.substr(origin.size());
    const std::string* depthHeader = HeaderOf(request, "Depth");
    const std::string depth = depthHeader ? *depthHeader : "0";
    const auto collection = Collections.find(path);
    if (request.Method == "PROPFIND") {
        if (path == "/.well-known/carddav" || path == "/.well-known/caldav") {
            THttpResponse r = Status(301);
            r.Headers = {{"Location", origin + "/dav/"}};
            return r;
        }
        if (path == "/" || path == "/dav/")
            return MultiStatus(Response(
                path, "<resourcetype><collection/></resourcetype><current-user-principal><href>"
                      "/dav/principal/</href></current-user-principal>"));
        if (path == "/dav/principal/")
            return MultiStatus(Response(path, std::string("<C:addressbook-home-set><href>") +
                                                  kHome +
                                                  "</href></C:addressbook-home-set>"
                                                  "<K:calendar-home-set><href>" +
                                                  kHome + "</href></K:calendar-home-set>"));
        if (path == kHome) {
            std::string inner = Response(path, "<resourcetype><collection/></resourcetype>");
            if (depth == "1")
                for (const auto& [at, c] : Collections)
                    inner += Response(at, std::string(TypeOf(c)) + "<displayname>" +
                                              Esc(c.DisplayName) + "</displayname>");
            return MultiStatus(inner);
        }
        if (collection == Collections.end())
            return Status(404);
        std::string inner = Response(path, TypeOf(collection->second));
        if (depth == "1")
            for (const auto& [at, m] : collection->second.Members)
                inner += Response(at, "<resourcetype/><getetag>" + Esc(m.ETag) + "</getetag>");
        return MultiStatus(inner);
    }
    if (request.Method == "MKCOL" || request.Method == "MKCALENDAR") {
        if (path.compare(0, std::string(kHome).size(), kHome) != 0)
            return Status(403);
        if (Collections.count(path))
            return Status(405);
        std::smatch m;
        static const std::regex name("displayname>([^<]*)<");
        Collections[path].DisplayName =
            std::regex_search(request.Body, m, name) ? Unesc(m[1]) : std::string();
        Collections[path].Calendar = request.Method == "MKCALENDAR";
        return Status(201);
    }
    if (request.Method == "REPORT") {
        if (collection == Collections.end())
            return Status(404);
        TCollection& c = collection->second;
        if (request.Body.find("sync-collection") != std::string::npos) {
            if (RefuseSyncCollection)
                return Status(501);
            std::smatch m;
            static const std::regex tokenText("sync-token>([^<]*)<");
            const std::string token =
                std::regex_search(request.Body, m, tokenText) ? Unesc(m[1]) : std::string();
            long since = 0;
            if (!token.empty()) {
                if (token.rfind("tok-", 0) != 0 || std::stol(token.substr(4)) < forgotten_) {
                    THttpResponse r = Status(403);
                    r.Body = "<?xml version=\"1.0\"?><error xmlns=\"DAV:\"><valid-sync-token/>"
                             "</error>";
                    return r;
                }
                since = std::stol(token.substr(4));
            }
            std::map<std::string, bool> touched;
            if (since == 0)
                for (const auto& [at, member] : c.Members)
                    touched[at] = true;
            else
                for (const auto& [n, at] : c.Log)
                    if (n > since)
                        touched[at] = true;
            std::string inner;
            for (const auto& [at, yes] : touched) {
                const auto member = c.Members.find(at);
                inner += member == c.Members.end()
                             ? Gone(at)
                             : Response(at, "<getetag>" + Esc(member->second.ETag) + "</getetag>");
            }
            return MultiStatus(inner, "tok-" + std::to_string(changes_));
        }
        const bool calendarGet = request.Body.find("calendar-multiget") != std::string::npos;
        if (request.Body.find("addressbook-multiget") != std::string::npos || calendarGet) {
            const std::string data = calendarGet ? "K:calendar-data" : "C:address-data";
            std::string inner;
            static const std::regex href("href>([^<]*)</");
            for (auto it = std::sregex_iterator(request.Body.begin(), request.Body.end(), href);
                 it != std::sregex_iterator(); ++it) {
                const std::string at = Unesc((*it)[1]);
                const auto member = c.Members.find(at);
                inner += member == c.Members.end()
                             ? Gone(at)
                             : Response(at, "<getetag>" + Esc(member->second.ETag) + "</getetag><" +
                                                data + ">" + Esc(member->second.Data) + "</" +
                                                data + ">");
            }
            return MultiStatus(inner);
        }
        return Status(400);
    }
    std::string member;
    TCollection* c = CollectionOf(path, member);
    if (!c)
        return Status(404);
    const auto existing = c->Members.find(path);
    const std::string* ifMatch = HeaderOf(request, "If-Match");
    const std::string* ifNoneMatch = HeaderOf(request, "If-None-Match");
    if (ifMatch && (existing == c->Members.end() || existing->second.ETag != *ifMatch))
        return Status(existing == c->Members.end() && request.Method == "DELETE" ? 404 : 412);
    if (request.Method == "PUT") {
        if (ifNoneMatch && *ifNoneMatch == "*" && existing != c->Members.end())
            return Status(412);
        const bool created = existing == c->Members.end();
        const std::string etag = Touch(*c, path);
        c->Members[path] = {request.Body, etag};
        THttpResponse r = Status(created ? 201 : 204);
        if (!PutWithoutETag)
            r.Headers = {{"ETag", etag}};
        return r;
    }
    if (request.Method == "DELETE") {
        if (existing == c->Members.end())
            return Status(404);
        c->Members.erase(existing);
        Touch(*c, path);
        return Status(204);
    }
    if (request.Method == "GET") {
        if (existing == c->Members.end())
            return Status(404);
        THttpResponse r = Status(200);
        r.Body = existing->second.Data;
        r.Headers = {{"ETag", existing->second.ETag}};
        return r;
    }
    return Status(405);
}

} // namespace tessaly::testing
