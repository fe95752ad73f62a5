#include "core/exchange/streamed_export.h"

#include "core/exchange/record_order.h"
#include "core/store/book.h"

#include <algorithm>

namespace tessaly {

namespace {

// Bytes handed over at a time: small enough to stay in the processor's cache.
constexpr std::size_t kPiece = std::size_t{256} << 10;

} // namespace

TStreamedExport::TStreamedExport(const TExport& tpl, bool taggedOnly, TAddressesOf addressesOf)
    : tpl_(tpl), taggedOnly_(taggedOnly), addressesOf_(std::move(addressesOf)) {}

TStreamedExport::~TStreamedExport() = default;

void TStreamedExport::EntriesBegin(TBookData& book, std::size_t count) {
    const std::optional<TAddresses> addresses = addressesOf_(book);
    if (!addresses)
        return;
    book_ = &book;
    writer_ = std::make_unique<TEntryLines>(book, tpl_, addresses->Choice, addresses->TemplateId);
    headerSize_ = writer_->Written().size();
    places_.reserve(count);
}

void TStreamedExport::EntryRead(TRecord& entry) {
    if (!writer_ || (taggedOnly_ && !entry.Tagged))
        return;
    TPlace place;
    place.LinesAt = writer_->Written().size();
    lines_ += writer_->Write(entry);
    place.LinesSize = writer_->Written().size() - place.LinesAt;
    const std::string key = EntryOrderKey(entry, book_->IndexKeys);
    place.KeyAt = keys_.size();
    place.KeySize = key.size();
    keys_ += key;
    places_.push_back(place);
}

void TStreamedExport::EntriesEnd(bool complete) noexcept {
    book_ = nullptr;
    complete_ = complete && writer_ != nullptr;
}

bool TStreamedExport::WriteTo(const TByteSink& put) const {
    if (!writer_)
        return false;
    const std::string_view written = writer_->Written();
    const std::vector<std::uint32_t> order = PlacesInKeyOrder(places_.size(), [&](std::size_t i) {
        return std::string_view(keys_).substr(places_[i].KeyAt, places_[i].KeySize);
    });
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
    if (!add(written.substr(0, headerSize_)))
        return false;
    for (const std::uint32_t i : order)
        if (!add(written.substr(places_[i].LinesAt, places_[i].LinesSize)))
            return false;
    return piece.empty() || put(piece);
}

} // namespace tessaly
