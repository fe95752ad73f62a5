#pragma once
// The XML of WebDAV answers, read into a small tree, and the multistatus answer
// (207) as the sync reads it: each response's href, status and properties.

#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

inline constexpr std::string_view kDavNs = "DAV:";
inline constexpr std::string_view kCardDavNs = "urn:ietf:params:xml:ns:carddav";

struct TXmlElement {
    std::string Ns;   // the namespace's URI ("DAV:"), empty for none
    std::string Name; // the local name ("href")
    std::string Text; // the character data directly inside, entities resolved
    std::vector<TXmlElement> Children;

    bool Is(std::string_view ns, std::string_view name) const { return Ns == ns && Name == name; }
    // The first child of that name, null when there is none.
    const TXmlElement* Child(std::string_view ns, std::string_view name) const;
    // The first element of that name anywhere below, null when there is none.
    const TXmlElement* Find(std::string_view ns, std::string_view name) const;
    // The text of the child, blanks around it trimmed; empty when absent.
    std::string ChildText(std::string_view ns, std::string_view name) const;
};

// Parses a whole document. False with `error` for anything not well-formed, deeper
// than 64 elements or with entity declarations (never expanded); never throws.
bool ParseXml(std::string_view bytes, TXmlElement& root, std::string& error);

struct TDavResponse {
    std::string Href; // as the server gave it
    int Status = 0;   // the response's own status (404 for a member gone), 0 when none
    // The properties the server found (those of propstats with a 2xx status), each
    // a child of this element.
    TXmlElement Props;
};

struct TMultiStatus {
    std::vector<TDavResponse> Responses;
    std::string SyncToken; // of a sync-collection answer
};

// Reads a 207 body. False with `error` when it is not a DAV multistatus.
bool ReadMultiStatus(std::string_view body, TMultiStatus& out, std::string& error);

// The status code of an HTTP status line ("HTTP/1.1 404 Not Found" gives 404), 0
// when it is none.
int StatusOfLine(std::string_view line);

// Text with &, <, > and the quotes escaped for an XML element or attribute.
std::string XmlEscape(std::string_view text);

} // namespace tessaly
