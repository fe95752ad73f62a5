#pragma once
// A small reader of the tags of an XML document, enough for data files of elements and
// attributes: start tags with their attributes (entities decoded), end tags and
// self-closing tags, in order. Comments, declarations and text between tags are
// stepped over. Malformed markup ends the document; nothing is read past its end.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

struct TXmlTag {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Attributes; // UTF-8 values
    bool End = false;                                            // </Name>
    bool SelfClosing = false;                                    // <Name ... />

    // The value of an attribute, or nullptr.
    const std::string* Attribute(std::string_view name) const;
};

class TXmlTags {
public:
    explicit TXmlTags(std::string_view document) : doc_(document) {}
    // The next tag; false at the end of the document or at malformed markup.
    bool Next(TXmlTag& tag);

private:
    bool SkipPast(std::string_view end);
    std::string_view doc_;
    std::size_t pos_ = 0;
};

// Decodes &amp; &lt; &gt; &quot; &apos; and character references into UTF-8; an
// unknown entity is kept as written.
std::string DecodeXmlEntities(std::string_view text);

} // namespace tessaly
