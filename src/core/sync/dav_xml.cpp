#include "core/sync/dav_xml.h"

#include "core/common/text.h"

#include <expat.h>
#include <limits>

namespace tessaly {

namespace {

constexpr int kMaxDepth = 64;
// Names come from expat as "URI|local" (the separator cannot be in a URI we meet).
constexpr char kNsSeparator = '|';

struct TParseState {
    XML_Parser Parser = nullptr;
    std::vector<TXmlElement*> Open;
    TXmlElement Root;
    bool HaveRoot = false;
    std::string Error;
};

void SplitName(const char* full, TXmlElement& e) {
    const std::string_view name(full);
    const std::size_t bar = name.rfind(kNsSeparator);
    if (bar == std::string_view::npos) {
        e.Name = std::string(name);
    } else {
        e.Ns = std::string(name.substr(0, bar));
        e.Name = std::string(name.substr(bar + 1));
    }
}

void Stop(TParseState& s, std::string why) {
    if (s.Error.empty())
        s.Error = std::move(why);
    XML_StopParser(s.Parser, XML_FALSE);
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char**) {
    auto& s = *static_cast<TParseState*>(data);
    if (static_cast<int>(s.Open.size()) >= kMaxDepth)
        return Stop(s, "the XML is nested too deeply");
    TXmlElement* e = nullptr;
    if (s.Open.empty()) {
        e = &s.Root;
        s.HaveRoot = true;
    } else {
        s.Open.back()->Children.emplace_back();
        e = &s.Open.back()->Children.back();
    }
    SplitName(name, *e);
    s.Open.push_back(e);
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
    auto& s = *static_cast<TParseState*>(data);
    if (!s.Open.empty())
        s.Open.pop_back();
}

void XMLCALL OnText(void* data, const XML_Char* text, int len) {
    auto& s = *static_cast<TParseState*>(data);
    if (!s.Open.empty())
        s.Open.back()->Text.append(text, static_cast<std::size_t>(len));
}

// Entities are never expanded: an answer has no business declaring any.
void XMLCALL OnEntityDecl(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                          const XML_Char*, const XML_Char*, const XML_Char*) {
    Stop(*static_cast<TParseState*>(data), "the XML declares entities");
}

} // namespace

const TXmlElement* TXmlElement::Child(std::string_view ns, std::string_view name) const {
    for (const auto& c : Children)
        if (c.Is(ns, name))
            return &c;
    return nullptr;
}

const TXmlElement* TXmlElement::Find(std::string_view ns, std::string_view name) const {
    for (const auto& c : Children) {
        if (c.Is(ns, name))
            return &c;
        if (const TXmlElement* below = c.Find(ns, name))
            return below;
    }
    return nullptr;
}

std::string TXmlElement::ChildText(std::string_view ns, std::string_view name) const {
    const TXmlElement* c = Child(ns, name);
    return c ? Trim(c->Text) : std::string();
}

bool ParseXml(std::string_view bytes, TXmlElement& root, std::string& error) {
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        error = "the XML is too large";
        return false;
    }
    TParseState s;
    s.Parser = XML_ParserCreateNS("UTF-8", kNsSeparator);
    if (!s.Parser) {
        error = "no memory for the XML reader";
        return false;
    }
    XML_SetUserData(s.Parser, &s);
    XML_SetElementHandler(s.Parser, OnStart, OnEnd);
    XML_SetCharacterDataHandler(s.Parser, OnText);
    XML_SetEntityDeclHandler(s.Parser, OnEntityDecl);
    const bool ok = XML_Parse(s.Parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) ==
                    XML_STATUS_OK;
    if (!ok && s.Error.empty())
        s.Error = std::string("the XML is not well-formed (") +
                  XML_ErrorString(XML_GetErrorCode(s.Parser)) + ", line " +
                  std::to_string(XML_GetCurrentLineNumber(s.Parser)) + ")";
    XML_ParserFree(s.Parser);
    if (!ok || !s.Error.empty() || !s.HaveRoot) {
        error = s.Error.empty() ? "the XML has no element" : s.Error;
        return false;
    }
    root = std::move(s.Root);
    return true;
}

int StatusOfLine(std::string_view line) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos || blank + 4 > line.size())
        return 0;
    int code = 0;
    for (std::size_t i = blank + 1; i < blank + 4; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool ReadMultiStatus(std::string_view body, TMultiStatus& out, std::string& error) {
    TXmlElement root;
    if (!ParseXml(body, root, error))
        return false;
    if (!root.Is(kDavNs, "multistatus")) {
        error = "the answer is not a multistatus but " + root.Name;
        return false;
    }
    out = TMultiStatus();
    out.SyncToken = root.ChildText(kDavNs, "sync-token");
    for (auto& r : root.Children) {
        if (!r.Is(kDavNs, "response"))
            continue;
        TDavResponse response;
        response.Href = r.ChildText(kDavNs, "href");
        response.Status = StatusOfLine(r.ChildText(kDavNs, "status"));
        for (auto& ps : r.Children) {
            if (!ps.Is(kDavNs, "propstat"))
                continue;
            const int status = StatusOfLine(ps.ChildText(kDavNs, "status"));
            const TXmlElement* prop = ps.Child(kDavNs, "prop");
            if (!prop || status < 200 || status > 299)
                continue;
            for (auto& p : prop->Children)
                response.Props.Children.push_back(p);
        }
        if (!response.Href.empty())
            out.Responses.push_back(std::move(response));
    }
    return true;
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace tessaly
