#include "core/store/stream.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace tessaly {

void TStreamReader::Seek(std::size_t pos) {
    if (pos > size_)
        throw StreamError("seek past the end of the stream");
    if (pos >= base_ && pos - base_ <= data_.size()) {
        pos_ = pos - base_;
        return;
    }
    // Outside the window: the next read fetches the bytes there.
    base_ = pos;
    data_ = {};
    pos_ = 0;
}

void TStreamReader::Fill(std::size_t n) {
    if (!source_ || n > Remaining())
        throw StreamError("read past the end of the stream");
    const std::size_t at = Position();
    data_ = source_->BytesAt(at, n);
    base_ = at;
    pos_ = 0;
    if (data_.size() < n)
        throw StreamError("the stream's source gave too few bytes");
}

void TStreamReader::Skip(std::size_t n) {
    if (n <= data_.size() - pos_) {
        pos_ += n;
        return;
    }
    if (n > Remaining())
        throw StreamError("read past the end of the stream");
    base_ = Position() + n;
    data_ = {};
    pos_ = 0;
}

Text TStreamReader::ReadText() {
    Text t;
    ReadTextInto(t);
    return t;
}

void TStreamReader::ReadTextInto(Text& t) {
    const std::uint16_t n = ReadUInt16();
    if (n == 0) {
        t.reset();
        return;
    }
    if (skipTexts_ && !checkSkipped_) {
        Skip(n);
        t.reset();
        return;
    }
    Need(n);
    const auto* begin = reinterpret_cast<const char*>(data_.data() + pos_);
    pos_ += n;
    // The characters end at the first NUL, as the in-memory form does; written back,
    // they are followed by one NUL only.
    const auto* nul = static_cast<const char*>(std::memchr(begin, 0, n));
    const std::size_t length = static_cast<std::size_t>((nul ? nul : begin + n) - begin);
    if (length != std::size_t{n} - 1)
        NoteAlteredRead();
    if (skipTexts_)
        t.reset();
    else
        t.assign(begin, length);
}

std::string TStreamReader::ReadShortString() {
    Need(256);
    const std::size_t length = data_[pos_];
    std::string s(reinterpret_cast<const char*>(data_.data() + pos_ + 1), length);
    // The unused bytes are written as zeros.
    const auto* unused = data_.data() + pos_ + 1 + length;
    if (std::any_of(unused, data_.data() + pos_ + 256, [](std::uint8_t b) { return b != 0; }))
        NoteAlteredRead();
    pos_ += 256;
    return s;
}

void TStreamWriter::AppendBeyondRoom(const std::uint8_t* data, std::size_t n) {
    if (counting_) {
        counted_ += n;
        return;
    }
    if (!sink_) {
        bytes_.insert(bytes_.end(), data, data + n);
        return;
    }
    HandOver();
    if (n > kPiece) {
        // Too large for a piece: handed over as it is.
        if (!refused_)
            refused_ = !(*sink_)(std::span(data, n));
        return;
    }
    std::memcpy(cursor_, data, n);
    cursor_ += n;
    room_ -= n;
}

void TStreamWriter::HandOver() {
    const auto used = static_cast<std::size_t>(cursor_ - piece_.get());
    if (!refused_ && used > 0)
        refused_ = !(*sink_)(std::span<const std::uint8_t>(piece_.get(), used));
    cursor_ = piece_.get();
    room_ = kPiece;
}

void TStreamWriter::WriteInt32(std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    std::uint8_t b[4];
    for (auto& byte : b) {
        byte = static_cast<std::uint8_t>(u & 0xFF);
        u >>= 8;
    }
    Append(b, sizeof b);
}

void TStreamWriter::WriteShortString(std::string_view s) {
    std::uint8_t inline256[kShortStringMax + 1] = {};
    const std::size_t length = std::min(s.size(), kShortStringMax);
    inline256[0] = static_cast<std::uint8_t>(length);
    if (length > 0)
        std::memcpy(inline256 + 1, s.data(), length);
    Append(inline256, sizeof inline256);
}

} // namespace tessaly
