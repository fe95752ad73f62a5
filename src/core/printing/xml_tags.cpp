#include "core/printing/xml_tags.h"

#include "core/common/codepage.h"

#include <cctype>
#include <cstdint>

namespace tessaly {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == ':' ||
           c == '.' || static_cast<unsigned char>(c) >= 0x80;
}

} // namespace

const std::string* TXmlTag::Attribute(std::string_view name) const {
    for (const auto& [n, v] : Attributes)
        if (n == name)
            return &v;
    return nullptr;
}

std::string DecodeXmlEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            out += text[i];
            continue;
        }
        const std::size_t semi = text.find(';', i);
        if (semi == std::string_view::npos || semi - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view name = text.substr(i + 1, semi - i - 1);
        std::uint32_t cp = 0;
        bool known = true;
        if (name == "amp")
            cp = '&';
        else if (name == "lt")
            cp = '<';
        else if (name == "gt")
            cp = '>';
        else if (name == "quot")
            cp = '"';
        else if (name == "apos")
            cp = '\'';
        else if (name.size() >= 2 && name[0] == '#') {
            const bool hex = name[1] == 'x' || name[1] == 'X';
            const std::string_view digits = name.substr(hex ? 2 : 1);
            known = !digits.empty();
            for (char c : digits) {
                const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                              : hex && std::isxdigit(static_cast<unsigned char>(c))
                                  ? (std::tolower(static_cast<unsigned char>(c)) - 'a' + 10)
                                  : -1;
                if (d < 0 || cp > 0x10FFFF) {
                    known = false;
                    break;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
            }
            known = known && cp > 0 && cp <= 0x10FFFF;
        } else {
            known = false;
        }
        if (!known) {
            out += text[i];
            continue;
        }
        AppendUtf8(out, cp);
        i = semi;
    }
    return out;
}

bool TXmlTags::SkipPast(std::string_view end) {
    const std::size_t at = doc_.find(end, pos_);
    if (at == std::string_view::npos)
        return false;
    pos_ = at + end.size();
    return true;
}

bool TXmlTags::Next(TXmlTag& tag) {
    for (;;) {
        const std::size_t open = doc_.find('<', pos_);
        if (open == std::string_view::npos)
            return false;
        pos_ = open + 1;
        const std::string_view rest = doc_.substr(pos_);
        if (rest.starts_with("!--")) {
            if (!SkipPast("-->"))
                return false;
            continue;
        }
        if (rest.starts_with("?")) {
            if (!SkipPast("?>"))
                return false;
            continue;
        }
        if (rest.starts_with("!")) {
            if (!SkipPast(">"))
                return false;
            continue;
        }
        break;
    }
    tag = TXmlTag();
    if (pos_ < doc_.size() && doc_[pos_] == '/') {
        tag.End = true;
        ++pos_;
    }
    const std::size_t nameStart = pos_;
    while (pos_ < doc_.size() && IsNameChar(doc_[pos_]))
        ++pos_;
    if (pos_ == nameStart)
        return false;
    tag.Name = std::string(doc_.substr(nameStart, pos_ - nameStart));
    for (;;) {
        while (pos_ < doc_.size() && IsSpace(doc_[pos_]))
            ++pos_;
        if (pos_ >= doc_.size())
            return false;
        const char c = doc_[pos_];
        if (c == '>') {
            ++pos_;
            return true;
        }
        if (c == '/') {
            if (pos_ + 1 >= doc_.size() || doc_[pos_ + 1] != '>' || tag.End)
                return false;
            pos_ += 2;
            tag.SelfClosing = true;
            return true;
        }
        if (tag.End)
            return false;
        const std::size_t attrStart = pos_;
        while (pos_ < doc_.size() && IsNameChar(doc_[pos_]))
            ++pos_;
        if (pos_ == attrStart)
            return false;
        std::string name(doc_.substr(attrStart, pos_ - attrStart));
        while (pos_ < doc_.size() && IsSpace(doc_[pos_]))
            ++pos_;
        if (pos_ >= doc_.size() || doc_[pos_] != '=')
            return false;
        ++pos_;
        while (pos_ < doc_.size() && IsSpace(doc_[pos_]))
            ++pos_;
        if (pos_ >= doc_.size() || (doc_[pos_] != '"' && doc_[pos_] != '\''))
            return false;
        const char quote = doc_[pos_++];
        const std::size_t close = doc_.find(quote, pos_);
        if (close == std::string_view::npos)
            return false;
        tag.Attributes.emplace_back(std::move(name),
                                    DecodeXmlEntities(doc_.substr(pos_, close - pos_)));
        pos_ = close + 1;
    }
}

} // namespace tessaly
