#include "core/exchange/streamed_export.h"

#include "core/exchange/record_order.h"
#include "core/store/book.h"

#include <algorithm>
#include <cstring>

namespace tessaly {

namespace {

// Bytes handed over at a time: small enough to stay in the processor's cache.
constexpr std::size_t kPiece = std::size_t{256} << 10;
// Bytes of keys and lines kept in one block.
constexpr std::size_t kBlock = std::size_t{1} << 20;

} // namespace

TStreamedExport::TStreamedExport(const TExport& tpl, bool taggedOnly, TAddressesOf addressesOf)
    : tpl_(tpl), taggedOnly_(taggedOnly), addressesOf_(std::move(addressesOf)) {}

TStreamedExport::~TStreamedExport() = default;

char* TStreamedExport::Room(std::size_t n) {
    if (n > blockLeft_) {
        const std::size_t size = std::max(n, kBlock);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        blockAt_ = blocks_.back().get();
        blockLeft_ = size;
    }
    char* at = blockAt_;
    blockAt_ += n;
    blockLeft_ -= n;
    return at;
}

void TStreamedExport::EntriesBegin(TBookData& book, std::size_t count) {
    const std::optional<TAddresses> addresses = addressesOf_(book);
    if (!addresses)
        return;
    book_ = &book;
    writer_ = std::make_unique<TEntryLines>(book, tpl_, addresses->Choice, addresses->TemplateId);
    header_ = writer_->Written();
    writer_->Clear();
    places_.reserve(count);
}

void TStreamedExport::EntryRead(TRecord& entry) {
    if (!writer_ || (taggedOnly_ && !entry.Tagged))
        return;
    lines_ += writer_->Write(entry);
    const std::string key = EntryOrderKey(entry, book_->IndexKeys);
    const std::string_view lines = writer_->Written();
    char* at = Room(key.size() + lines.size());
    std::memcpy(at, key.data(), key.size());
    std::memcpy(at + key.size(), lines.data(), lines.size());
    writer_->Clear();
    TPlace place;
    place.Key = at;
    place.KeySize = key.size();
    place.LinesSize = lines.size();
    place.Index = places_.size();
    // The key's first bytes, big end first; a shorter key is padded with zeros, which
    // order it before the longer ones it begins (a key holds no NUL).
    for (std::size_t i = 0; i < std::min(key.size(), place.Head.size() * 8); ++i)
        place.Head[i / 8] |= std::uint64_t{static_cast<unsigned char>(key[i])} << (8 * (7 - i % 8));
    places_.push_back(place);
}

void TStreamedExport::Order() noexcept {
    std::sort(places_.begin(), places_.end(), [](const TPlace& a, const TPlace& b) {
        if (a.Head != b.Head)
            return a.Head < b.Head;
        const int c =
            std::string_view(a.Key, a.KeySize).compare(std::string_view(b.Key, b.KeySize));
        return c != 0 ? c < 0 : a.Index < b.Index;
    });
}

void TStreamedExport::EntriesEnd(bool complete) noexcept {
    book_ = nullptr;
    complete_ = complete && writer_ != nullptr;
    if (complete_)
        Order();
}

bool TStreamedExport::WriteTo(const TByteSink& put) const {
    if (!complete_)
        return false;
    std::vector<std::uint8_t> piece;
    piece.reserve(kPiece);
    const auto add = [&](std::string_view bytes) {
        if (piece.size() + bytes.size() > kPiece && !piece.empty()) {
            if (!put(piece))
                return false;
            piece.clear();
        }
        piece.insert(piece.end(), bytes.begin(), bytes.end());
        return true;
    };
    if (!add(header_))
        return false;
    for (const TPlace& place : places_)
        if (!add(std::string_view(place.Key + place.KeySize, place.LinesSize)))
            return false;
    return piece.empty() || put(piece);
}

} // namespace tessaly
