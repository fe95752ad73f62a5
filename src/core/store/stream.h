#pragma once
// The byte-stream convention every stored class follows: fields written one after
// another, little-endian, no padding, no tags, no per-record lengths.
//
// The reader is bounds-checked: reading past the end throws StreamError, which the
// code that reads a file catches and treats as a damaged file.

#include "core/common/text.h"
#include "core/system/file_io.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

// Date-times in the book file count days from 1 January 0001.
constexpr double kBookDateOffset = 693594.0;
// Largest count a 16-bit list count or Text length can hold.
constexpr int kMaxListCount = 32767;
constexpr std::size_t kMaxTextLength = 65534; // plus the terminating NUL: 65535

class StreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a reader's bytes come from when they are not all in memory at once: a file
// read through a window (file_window.h).
class IStreamSource {
public:
    virtual ~IStreamSource() = default;
    // The size of the whole stream.
    virtual std::size_t Size() const = 0;
    // The bytes from `position` on: at least `least` of them, where
    // position + least <= Size(). Valid until the next call. Throws StreamError when
    // they cannot be had.
    virtual std::span<const std::uint8_t> BytesAt(std::size_t position, std::size_t least) = 0;
};

class TStreamReader {
public:
    explicit TStreamReader(std::span<const std::uint8_t> data) : data_(data), size_(data.size()) {}
    explicit TStreamReader(std::string_view data)
        : TStreamReader(
              std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size())) {}
    // Reads the source's bytes a window at a time; the source must outlive the reader.
    explicit TStreamReader(IStreamSource& source) : size_(source.Size()), source_(&source) {}

    std::size_t Position() const { return base_ + pos_; }
    std::size_t Size() const { return size_; }
    std::size_t Remaining() const { return size_ - Position(); }
    bool AtEnd() const { return Position() >= size_; }
    void Seek(std::size_t pos);

    // The small reads are written here, where the compiler can put them in their
    // callers: a large book makes some hundred of them an entry.
    std::uint8_t ReadByte() {
        Need(1);
        return data_[pos_++];
    }
    bool ReadBool() { return ReadByte() != 0; }
    std::int16_t ReadInt16() { return static_cast<std::int16_t>(ReadUInt16()); }
    std::uint16_t ReadUInt16() {
        Need(2);
        const auto v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return v;
    }
    std::int32_t ReadInt32() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | data_[pos_ + i];
        pos_ += 4;
        return static_cast<std::int32_t>(v);
    }
    // A raw IEEE double; a value that is not finite reads as 0.
    double ReadDouble() {
        const double v = ReadRawDouble();
        if (std::isfinite(v))
            return v;
        NoteAlteredRead();
        return 0.0;
    }
    // A book-file date-time: the stored value less kBookDateOffset.
    // A value that is not finite reads as 0.
    double ReadDateTime() {
        const double v = ReadRawDouble();
        const double t = std::isfinite(v) ? v - kBookDateOffset : 0.0;
        if (t + kBookDateOffset != v)
            NoteAlteredRead();
        return t;
    }
    // A Text: unsigned 16-bit count n (0 = absent), then n bytes ending in NUL.
    Text ReadText();
    // The same, read straight into `t` (absent for a count of 0).
    void ReadTextInto(Text& t);
    // The 256-byte inline form of a short string: length byte and 255 characters.
    std::string ReadShortString();
    void ReadBytes(std::uint8_t* out, std::size_t n) {
        Need(n);
        std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
    }
    // The next n bytes as the stream holds them, without a copy; valid until the next
    // read or seek.
    std::span<const std::uint8_t> ReadSpan(std::size_t n) {
        Need(n);
        const auto bytes = data_.subspan(pos_, n);
        pos_ += n;
        return bytes;
    }
    // A list count: 0 for counts of zero or less.
    int ReadCount() {
        const std::int16_t n = ReadInt16();
        if (n >= 0)
            return n;
        NoteAlteredRead();
        return 0;
    }

    // How many values were read so far that a write would not give back as the bytes
    // they were read from: a double that is not finite, a date-time whose offset does
    // not come back exactly, a negative count, a text with a NUL before its end or
    // none at its end, and what the stored classes bring into range as they read.
    // Bytes read between two counts that did not change can be copied to a file in
    // place of the write of what they hold.
    std::size_t AlteredReads() const { return altered_; }
    void NoteAlteredRead() { ++altered_; }
    // While set, texts stepped over are looked at all the same, so that AlteredReads
    // counts them too.
    void SetCheckSkippedTexts(bool check) { checkSkipped_ = check; }

    // While set, texts are stepped over and read as absent, for a reader that needs
    // only a few of a file's texts (TKeepTexts marks those).
    void SetSkipTexts(bool skip) { skipTexts_ = skip; }
    bool SkipsTexts() const { return skipTexts_; }

private:
    double ReadRawDouble() {
        Need(8);
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | data_[pos_ + i];
        pos_ += 8;
        return std::bit_cast<double>(bits);
    }
    // Makes sure the next n bytes are in the window; throws StreamError past the end.
    void Need(std::size_t n) {
        if (n > data_.size() - pos_)
            Fill(n);
    }
    void Fill(std::size_t n);
    // Steps over n bytes, which need not be read.
    void Skip(std::size_t n);

    std::span<const std::uint8_t> data_; // the window: the bytes from base_ on
    std::size_t base_ = 0;
    std::size_t pos_ = 0; // within the window
    std::size_t size_ = 0;
    IStreamSource* source_ = nullptr;
    bool skipTexts_ = false;
    bool checkSkipped_ = false;
    std::size_t altered_ = 0;
};

// While one of these lives the reader steps over texts or not, as it says; then it
// goes back to what it did before.
class TTextSkipping {
public:
    TTextSkipping(TStreamReader& r, bool skip) : r_(r), skipped_(r.SkipsTexts()) {
        r.SetSkipTexts(skip);
    }
    ~TTextSkipping() { r_.SetSkipTexts(skipped_); }
    TTextSkipping(const TTextSkipping&) = delete;
    TTextSkipping& operator=(const TTextSkipping&) = delete;

private:
    TStreamReader& r_;
    bool skipped_;
};

// Texts read while one of these lives are kept, even by a reader that steps over
// the others.
class TKeepTexts : public TTextSkipping {
public:
    explicit TKeepTexts(TStreamReader& r) : TTextSkipping(r, false) {}
};

class TStreamWriter {
public:
    TStreamWriter() = default;
    // A writer that keeps nothing and only counts the bytes written to it, so that a
    // large image can be given its exact room before it is written for real. It
    // throws where a real writer throws.
    static TStreamWriter Counter() {
        TStreamWriter w;
        w.counting_ = true;
        return w;
    }
    // A writer that hands its bytes to `sink` a piece at a time (the sink must outlive
    // it), so that a large file is written without its whole image in memory. Finish
    // hands over the last piece.
    explicit TStreamWriter(const TByteSink& sink)
        : piece_(new std::uint8_t[kPiece]), cursor_(piece_.get()), room_(kPiece), sink_(&sink) {}
    // Whether every piece was taken; after a refusal the rest is dropped.
    bool Finish() {
        if (sink_)
            HandOver();
        return !refused_;
    }

    // The image of a writer without a sink.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t> TakeBytes() { return std::move(bytes_); }
    // The bytes written; for a writer with a sink, those not yet handed over.
    std::size_t Size() const {
        if (counting_)
            return counted_;
        return sink_ ? static_cast<std::size_t>(cursor_ - piece_.get()) : bytes_.size();
    }
    // Makes room for n more bytes at once, so that the image is not copied as it grows.
    void Reserve(std::size_t n) {
        if (!counting_)
            bytes_.reserve(bytes_.size() + n);
    }

    void WriteByte(std::uint8_t v) { Append(&v, 1); }
    void WriteBool(bool v) { WriteByte(v ? 1 : 0); }
    // The small writes are written here, where the compiler can put them in their
    // callers: an entry makes some hundred of them.
    void WriteInt16(std::int16_t v) { WriteUInt16(static_cast<std::uint16_t>(v)); }
    void WriteUInt16(std::uint16_t v) {
        const std::uint8_t b[2] = {static_cast<std::uint8_t>(v & 0xFF),
                                   static_cast<std::uint8_t>(v >> 8)};
        Append(b, sizeof b);
    }
    void WriteInt32(std::int32_t v);
    void WriteDouble(double v) {
        auto bits = std::bit_cast<std::uint64_t>(v);
        std::uint8_t b[8];
        for (auto& byte : b) {
            byte = static_cast<std::uint8_t>(bits & 0xFF);
            bits >>= 8;
        }
        Append(b, sizeof b);
    }
    void WriteDateTime(double v) { WriteDouble(v + kBookDateOffset); }
    // Throws StreamError for a text too long for its 16-bit count.
    void WriteText(const Text& t) {
        if (!t) {
            WriteUInt16(0);
            return;
        }
        const std::size_t n = t.size();
        if (n > kMaxTextLength)
            throw StreamError("text too long for its 16-bit length");
        WriteUInt16(static_cast<std::uint16_t>(n + 1));
        // The characters and the terminating NUL.
        Append(reinterpret_cast<const std::uint8_t*>(t.data()), n + 1);
    }
    // Writes all 256 bytes; the unused ones are zero.
    void WriteShortString(std::string_view s);
    void WriteBytes(const std::uint8_t* data, std::size_t n) { Append(data, n); }
    // Throws StreamError for a count that does not fit the 16-bit field.
    void WriteCount(std::size_t count) {
        if (count > static_cast<std::size_t>(kMaxListCount))
            throw StreamError("list too long for its 16-bit count");
        WriteInt16(static_cast<std::int16_t>(count));
    }

private:
    // Small enough to stay in the processor's cache between the writes.
    static constexpr std::size_t kPiece = std::size_t{256} << 10;

    // A writer with a sink copies into its piece while there is room: the few bytes
    // of a count or a flag cost a copy and no more.
    void Append(const std::uint8_t* data, std::size_t n) {
        if (n <= room_) {
            std::memcpy(cursor_, data, n);
            cursor_ += n;
            room_ -= n;
            return;
        }
        AppendBeyondRoom(data, n);
    }
    void AppendBeyondRoom(const std::uint8_t* data, std::size_t n);
    void HandOver();

    std::vector<std::uint8_t> bytes_;       // the image of a writer without a sink
    std::unique_ptr<std::uint8_t[]> piece_; // the piece of a writer with a sink
    std::uint8_t* cursor_ = nullptr;        // where the piece's next byte goes
    std::size_t room_ = 0;                  // bytes left in the piece; 0 without a sink
    bool counting_ = false;
    std::size_t counted_ = 0;
    const TByteSink* sink_ = nullptr;
    bool refused_ = false;
};

} // namespace tessaly
