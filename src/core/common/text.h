#pragma once
// Texts as the store holds them: single-byte (Windows-1252) strings.
// A Text may be absent (null), which the files keep distinct from empty.

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessaly {

// A stored text: absent, or a run of bytes. An entry holds some fifty of them, most
// short or absent, so a Text is 16 bytes: up to 14 characters are kept in place and
// longer ones in one exact heap block; an absent text costs nothing more. The
// characters are always followed by a NUL.
class Text {
public:
    Text() noexcept { MakeAbsent(); }
    Text(std::nullopt_t) noexcept : Text() {}
    Text(std::string_view s) { Init(s.data(), s.size()); }
    Text(const std::string& s) : Text(std::string_view(s)) {}
    Text(const char* s) : Text(std::string_view(s)) {}
    Text(const Text& other) {
        if (other.OnHeap())
            Init(other.HeapData(), other.HeapSize());
        else
            std::memcpy(raw_, other.raw_, sizeof raw_);
    }
    Text(Text&& other) noexcept {
        std::memcpy(raw_, other.raw_, sizeof raw_);
        other.MakeAbsent();
    }
    ~Text() { Free(); }

    Text& operator=(const Text& other) {
        if (this != &other)
            *this = other.has_value() ? Text(other) : Text();
        return *this;
    }
    Text& operator=(Text&& other) noexcept {
        if (this != &other) {
            Free();
            std::memcpy(raw_, other.raw_, sizeof raw_);
            other.MakeAbsent();
        }
        return *this;
    }
    Text& operator=(std::string_view s) {
        assign(s.data(), s.size());
        return *this;
    }
    Text& operator=(const std::string& s) { return *this = std::string_view(s); }
    Text& operator=(const char* s) { return *this = std::string_view(s); }
    Text& operator=(std::nullopt_t) noexcept {
        reset();
        return *this;
    }

    bool has_value() const noexcept { return Tag() != kAbsent; }
    explicit operator bool() const noexcept { return has_value(); }
    // The characters; empty when absent.
    std::string_view operator*() const noexcept { return {data(), size()}; }
    std::string_view view() const noexcept { return **this; }
    std::string str() const { return std::string(view()); }
    const char* data() const noexcept { return OnHeap() ? HeapData() : raw_; }
    std::size_t size() const noexcept {
        const std::uint8_t tag = Tag();
        return tag <= kMaxInPlace ? tag : tag == kHeap ? HeapSize() : 0;
    }
    bool empty() const noexcept { return size() == 0; }

    void reset() noexcept {
        Free();
        MakeAbsent();
    }
    // Makes the text present with these characters.
    void assign(const char* p, std::size_t n) {
        if (!OnHeap()) {
            // Owning nothing, the text is filled where it stands: no copy through a
            // temporary, which is most of what reading a book's texts costs.
            Init(p, n);
            return;
        }
        Text replacement;
        replacement.Init(p, n);
        *this = std::move(replacement);
    }

    friend bool operator==(const Text& a, const Text& b) noexcept {
        return a.has_value() == b.has_value() && a.view() == b.view();
    }
    friend bool operator==(const Text& a, std::nullopt_t) noexcept { return !a.has_value(); }
    // Present and equal to the characters.
    friend bool operator==(const Text& a, std::string_view b) noexcept {
        return a.has_value() && a.view() == b;
    }
    friend bool operator==(const Text& a, const char* b) noexcept {
        return a == std::string_view(b);
    }
    friend bool operator==(const Text& a, const std::string& b) noexcept {
        return a == std::string_view(b);
    }
    // For test failure messages.
    friend void PrintTo(const Text& t, std::ostream* os);

private:
    static constexpr std::uint8_t kMaxInPlace = 14;
    static constexpr std::uint8_t kHeap = 0x80;
    static constexpr std::uint8_t kAbsent = 0x81;
    static constexpr std::size_t kTagAt = 15;
    static constexpr std::size_t kSizeAt = sizeof(char*);

    std::uint8_t Tag() const noexcept { return static_cast<std::uint8_t>(raw_[kTagAt]); }
    void SetTag(std::uint8_t tag) noexcept { raw_[kTagAt] = static_cast<char>(tag); }
    // No characters, and data() still reads as an empty C string.
    void MakeAbsent() noexcept {
        raw_[0] = '\0';
        SetTag(kAbsent);
    }
    bool OnHeap() const noexcept { return Tag() == kHeap; }
    char* HeapData() const noexcept {
        char* p;
        std::memcpy(&p, raw_, sizeof p);
        return p;
    }
    std::uint32_t HeapSize() const noexcept {
        std::uint32_t n;
        std::memcpy(&n, raw_ + kSizeAt, sizeof n);
        return n;
    }
    // Fills a text that owns nothing.
    void Init(const char* p, std::size_t n) {
        if (n <= kMaxInPlace) {
            // The characters may be this text's own (a part of it assigned to it).
            if (n > 0)
                std::memmove(raw_, p, n);
            raw_[n] = '\0';
            SetTag(static_cast<std::uint8_t>(n));
            return;
        }
        if (n > UINT32_MAX)
            throw std::length_error("text too long");
        char* block = new char[n + 1];
        std::memcpy(block, p, n);
        block[n] = '\0';
        const auto size = static_cast<std::uint32_t>(n);
        std::memcpy(raw_, &block, sizeof block);
        std::memcpy(raw_ + kSizeAt, &size, sizeof size);
        SetTag(kHeap);
    }
    void Free() noexcept {
        if (OnHeap())
            delete[] HeapData();
    }

    alignas(char*) char raw_[16];
};
static_assert(sizeof(Text) == 16);

// Longest value a short string can hold.
constexpr std::size_t kShortStringMax = 255;

// The characters of a Text, empty when it is absent.
inline std::string_view TextValue(const Text& t) {
    return *t;
}

// Removes leading and trailing blanks and control characters (every byte up to 32).
std::string Trim(std::string_view s);
// The same, as the part of `s` it keeps: nothing is copied.
std::string_view TrimmedView(std::string_view s);
// The same, done in place without a copy.
void TrimInPlace(std::string& s);
// Removes trailing blanks, carriage returns and line feeds (and other control bytes).
std::string TrimRight(std::string_view s);
std::string_view TrimmedRightView(std::string_view s);
// Cuts a value to the short-string limit of 255 characters.
std::string CutShort(std::string_view s);
inline std::string_view CutShortView(std::string_view s) {
    return s.substr(0, kShortStringMax);
}
// Trims and cuts: the cleaning applied to names, descriptions and captions.
std::string CleanShort(std::string_view s);
inline std::string_view CleanShortView(std::string_view s) {
    return CutShortView(TrimmedView(s));
}

} // namespace tessaly
