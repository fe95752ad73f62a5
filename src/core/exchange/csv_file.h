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

#include <cstddef>
#include <cstdint>
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
    void SplitRecord();

    std::string text_;
    char quote_;
    char separator_;
    bool convertLineBreaks_;
    std::size_t next_ = 0;                                    // where the next record starts
    std::string values_;                                      // the current record's values
    std::vector<std::pair<std::size_t, std::size_t>> fields_; // start and length in values_
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

    const std::string& Text() const { return out_; }
    std::string TakeText() { return std::move(out_); }

private:
    void AppendEscaped(std::string_view value);

    std::string out_;
    char quote_;
    char separator_;
    bool escape_;
    bool firstField_ = true;
};

} // namespace tessaly
