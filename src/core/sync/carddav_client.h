#pragma once
// The CardDAV requests of a sync, over IHttpClient: finding the user's address book,
// listing it, asking for its changes since a sync token, fetching cards in batches,
// and conditional writes and deletions. Every answer is checked; nothing throws.
// The same requests serve a CalDAV calendar, whose objects ("cards" below) are
// iCalendar texts: the client is made for one kind of collection.

#include "core/sync/http_client.h"

#include <string>
#include <vector>

namespace tessaly {

// What became of a request that got no usable answer: the text names the request
// and the reason ("PROPFIND https://...: 500 Internal Server Error").
struct TDavFailure {
    std::string Text;
    int Status = 0; // 0 when no answer came
};

// What tells the two kinds of collection apart.
struct TDavKind {
    const char* Ns;           // the namespace of the kind's own elements
    const char* WellKnown;    // "/.well-known/carddav"
    const char* HomeSet;      // the principal's property naming the collections' home
    const char* ResourceType; // the collection's resource type
    const char* Multiget;     // the REPORT that fetches members by URL
    const char* Data;         // the property holding a member's text
    const char* ContentType;  // of a member's text
    const char* Extension;    // of a member's name
    const char* Noun;         // in messages: "address book"
};
extern const TDavKind kAddressBookKind;
extern const TDavKind kCalendarKind;

struct TDiscovery {
    bool Ok = false;
    std::string Collection; // the address book's absolute URL, ending in "/"
    bool Created = false;   // made now, named after the book
    std::string Failure;
};

// Finds the address book for a book. `server` may be an address book itself, or any
// URL on the server: then the well-known address (/.well-known/carddav), the
// current-user-principal and its addressbook-home-set lead to the user's address
// books, of which the one whose display name (or last path segment) is `bookName`
// is taken (case-insensitive). When there is none, one of that name is made with an
// extended MKCOL.
TDiscovery DiscoverAddressBook(IHttpClient& http, const std::string& server,
                               const std::string& bookName);
// The same for a calendar (/.well-known/caldav, calendar-home-set), made with
// MKCALENDAR for VEVENTs when there is none of that name.
TDiscovery DiscoverCalendar(IHttpClient& http, const std::string& server, const std::string& name);
// Either, by kind.
TDiscovery DiscoverCollection(IHttpClient& http, const std::string& server, const std::string& name,
                              const TDavKind& kind);

struct TDavMember {
    std::string Url; // absolute, in the spelling of ResolveHref
    std::string ETag;
};

struct TDavCard {
    std::string Url;
    std::string ETag;
    std::string Data; // the vCard text
};

struct TDavChanges {
    bool Ok = false;
    // The server will not answer the sync-collection REPORT for this token (it does
    // not do the REPORT at all, or the token is no longer valid): list the members.
    bool Refused = false;
    std::vector<TDavMember> Changed; // new or changed since the token
    std::vector<std::string> Removed;
    std::string Token;
    TDavFailure Failure;
};

struct TDavPut {
    int Status = 0;   // 201 or 204 when written, 412 when the condition failed
    std::string ETag; // empty when the server gave none
    TDavFailure Failure;
    bool Written() const { return Status >= 200 && Status <= 299; }
};

class TCardDavClient {
public:
    TCardDavClient(IHttpClient& http, std::string collection,
                   const TDavKind& kind = kAddressBookKind);

    const std::string& Collection() const { return collection_; }

    // The sync-collection REPORT from `token` (empty: from the beginning), following
    // a truncated answer (507) with the token it gives until the changes are whole.
    TDavChanges ChangesSince(const std::string& token);
    // Every member of the collection with its ETag (PROPFIND, depth 1).
    bool ListMembers(std::vector<TDavMember>& members, TDavFailure& failure);
    // The cards of the URLs (addressbook-multiget). A URL the server does not answer
    // for, or answers 404, goes to `missing`.
    bool FetchCards(const std::vector<std::string>& urls, std::vector<TDavCard>& cards,
                    std::vector<std::string>& missing, TDavFailure& failure);
    // PUT of a card: with `ifMatch` the ETag it must still have, else with
    // If-None-Match: * (a new card, refused should the URL be taken).
    TDavPut PutCard(const std::string& url, const std::string& vcard, const std::string& ifMatch);
    // DELETE with If-Match; 2xx and 404 both mean the card is gone. Returns the status.
    int DeleteCard(const std::string& url, const std::string& ifMatch, TDavFailure& failure);
    // GET of one card; the status (0 with failure when no answer came).
    int GetCard(const std::string& url, TDavCard& card, TDavFailure& failure);

private:
    THttpResponse Send(const std::string& method, const std::string& url, THttpHeaders headers,
                       std::string body);

    IHttpClient& http_;
    std::string collection_;
    const TDavKind& kind_;
};

// The failure text of an answer that was not the one expected.
TDavFailure DavFailureOf(const std::string& method, const std::string& url,
                         const THttpResponse& response);

} // namespace tessaly
