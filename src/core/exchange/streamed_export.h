#pragma once
// An export of a book's entries made while the book is read from its file: each entry's
// lines are made as soon as it is read, and the entry dropped, so that the book is never
// in memory whole. The lines come out as ExportEntries writes them for the entries of
// EntryOrder (all or the tagged ones), byte for byte.

#include "core/exchange/export.h"
#include "core/store/entry_read_watch.h"
#include "core/system/file_io.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

class TStreamedExport final : public IEntryReadWatch {
public:
    // The addresses that give lines, chosen from the book as it stands before its
    // entries (its address templates are read by then); nothing exports no entry.
    struct TAddresses {
        TAddressChoice Choice = TAddressChoice::First;
        int TemplateId = 0;
    };
    using TAddressesOf = std::function<std::optional<TAddresses>(const TBookData&)>;

    // The template must outlive the export.
    TStreamedExport(const TExport& tpl, bool taggedOnly, TAddressesOf addressesOf);
    ~TStreamedExport() override;

    bool KeepsEntries() const override { return false; }
    void EntriesBegin(TBookData& book, std::size_t count) override;
    void EntryRead(TRecord& entry) override;
    void EntriesEnd(bool complete) noexcept override;

    // Whether the addresses were chosen and every entry was read.
    bool Complete() const { return complete_; }
    int Lines() const { return lines_; }
    // Hands the file's text to `put` in pieces, the header line first; false when a
    // piece was refused or the export is not complete.
    bool WriteTo(const TByteSink& put) const;

private:
    // An entry's key in the record order, followed by its lines, where Key points. The
    // first bytes of the key, as numbers that compare as the bytes do, order most
    // entries without a look at the key itself.
    struct TPlace {
        std::array<std::uint64_t, 3> Head{};
        const char* Key = nullptr;
        std::size_t KeySize = 0;
        std::size_t LinesSize = 0;
        std::size_t Index = 0; // orders entries of equal keys as they came
    };
    // Room for n bytes that stay where they are: the entries' keys and lines are kept
    // in blocks that are never moved or grown.
    char* Room(std::size_t n);
    void Order() noexcept;

    const TExport& tpl_;
    bool taggedOnly_;
    TAddressesOf addressesOf_;
    const TBookData* book_ = nullptr;
    std::unique_ptr<TEntryLines> writer_;
    std::string header_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockLeft_ = 0;
    char* blockAt_ = nullptr;
    std::vector<TPlace> places_;
    int lines_ = 0;
    bool complete_ = false;
};

} // namespace tessaly
