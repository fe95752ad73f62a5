#pragma once
// TCSVFile: the reader and the writer of one delimited text file (comma separated
// values, or any other single separator character, fields optionally enclosed in a
// quote character).
//
// The reader splits records as RFC 4180 does: a quote character opens quoting only at
// the start of a field; inside quotes a doubled quote character is one quote character
// and a single one closes the quoting; separators and line breaks inside quotes belong
// to the value, so a record may span several lines of the file. Outside quotes a
// record ends at CR LF or at a lone LF; a lone CR is data. A zero byte ends the data.
// Records of any length are read.

#include "core/common/date_format.h"
#include "core/common/date_time.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessaly {

constexpr char kDefaultQuote = '"';
constexpr char kDefaultSeparator = ',';
// The longest single-line and multi-line values an import takes.
constexpr std::size_t kShortValueLength = 255;
constexpr std::size_t kLongValueLength = 65000;

// The bytes of an input file as the program's Windows-1252 text.
struct TDecodedText {
    std::string Text;
    bool WasUtf8 = false; // the file began with a UTF-8 byte-order mark or was UTF-8 throughout
    int Replaced = 0;     // characters Windows-1252 cannot hold, read as "?"
};

// A file that starts with a UTF-8 byte-order mark, or that holds bytes above 127 and
// is valid UTF-8 throughout, is converted from UTF-8; any other is taken as
// Windows-1252 as it is.
TDecodedText DecodeInputText(std::span<const std::uint8_t> bytes);
// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);

class TCSVReader {
public:
    // `text` is the whole file (already decoded). With `convertLineBreaks` every CR or
    // LF inside a value is read as CR LF.
    TCSVReader(std::string text, char quote, char separator, bool convertLineBreaks);
    // The same over text the caller keeps, unchanged, for as long as the reader is used:
    // a large file is then not copied.
    static TCSVReader Over(std::string_view text, char quote, char separator,
                           bool convertLineBreaks);

    // Moves to the next record; false when there is none.
    bool ReadLine();
    // The next ReadLine reads the first record again.
    void Rewind();
    // The number of records from the first; the reader is rewound afterwards.
    int CountLines();

    // Field n (from 1) of the current record, cut to `maxLength` bytes; nothing when
    // the record has no such field. An empty field between two separators, or before
    // the first one, is present; an empty field after a trailing separator is not.
    std::optional<std::string> Field(int n, std::size_t maxLength = kShortValueLength) const;
    // The same without a copy; valid until the next ReadLine or Rewind.
    std::optional<std::string_view> FieldView(int n,
                                              std::size_t maxLength = kShortValueLength) const;
    // The field as a whole decimal number (blanks around it allowed).
    std::optional<long> IntegerField(int n) const;
    // The field as a date-time in the short date (and optionally time) format, or as a
    // time alone; nothing when it does not convert.
    std::optional<TDateTime> DateTimeField(int n, const TFormatSettings& fs, TDateTime today) const;
    // The number of fields the current record holds (present ones).
    int FieldCount() const { return static_cast<int>(fields_.size()); }

private:
    TCSVReader(std::string owned, std::string_view viewed, char quote, char separator,
               bool convertLineBreaks);
    void SplitRecord();
    // The text read: up to the first zero byte.
    std::string_view Text() const { return {owns_ ? owned_.data() : viewed_.data(), size_}; }

    std::string owned_;
    std::string_view viewed_;
    bool owns_;
    std::size_t size_ = 0;
    char quote_;
    char separator_;
    bool convertLineBreaks_;
    std::size_t next_ = 0; // where the next record starts
    // Where a field's value lies: in the text itself, or in values_.
    struct TFieldPlace {
        std::size_t Start;
        std::size_t Length;
        bool InText;
    };
    std::string values_; // the current record's values that are not in the text
    std::vector<TFieldPlace> fields_;
};

// The writing side: fields are added to a buffer line by line; the caller writes the
// buffer out.
class TCSVWriter {
public:
    // A quote character or separator of 0 is "None": nothing is written for it. With
    // `escape` line feeds inside a value are left out; the quote character is always
    // doubled inside a value so that the field reads back as it was.
    TCSVWriter(char quote, char separator, bool escape);

    // Writes the separator (unless first on the line), the quote character, the
    // prefix, the value and the quote character.
    void WriteField(std::string_view value, std::string_view prefix = {});
    void WriteInteger(long value, std::string_view prefix = {});
    // Ends the line with CR LF.
    void EndLine();

    const std::string& Text() const;
    std::string TakeText();
    // The bytes written so far, without a copy; valid until the next write.
    std::string_view Written() const { return std::string_view(out_.data(), size_); }
    // Forgets the bytes written, keeping their room for the next.
    void Clear() {
        size_ = 0;
        firstField_ = true;
    }

private:
    void AppendEscaped(std::string_view value);
    // Room for `n` more bytes after the written ones.
    char* Room(std::size_t n) {
        if (out_.size() - size_ < n)
            Grow(n);
        return out_.data() + size_;
    }
    void Grow(std::size_t n);
    // Writes c at `at`, the quote character doubled and a left-out line feed not at
    // all; where the next byte goes.
    char* PutEscaped(char* at, char c) const {
        if (c == stops_[0] || c == stops_[1]) {
            if (escape_ && c == '\n')
                return at;
            *at++ = quote_;
        }
        *at++ = c;
        return at;
    }
    void Put(char c) { *Room(1) = c, ++size_; }
    void Put(const char* p, std::size_t n) {
        std::memcpy(Room(n), p, n);
        size_ += n;
    }

    // The written bytes are the first size_ of out_; the rest is room for more.
    mutable std::string out_;
    std::size_t size_ = 0;
    char quote_;
    char separator_;
    bool escape_;
    bool firstField_ = true;
    // The characters a value cannot hold as they are (the quote character, a line feed
    // with `escape`), twice the one when there is only one; stopCount_ says how many.
    std::array<char, 2> stops_{};
    int stopCount_ = 0;
};

} // namespace tessaly
