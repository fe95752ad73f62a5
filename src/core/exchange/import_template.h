#pragma once
// TImport: a named import template, saying which columns of a delimited file feed
// which fields of a new entry or diary event, and TImportList, the templates of the
// whole program, kept in "TESSALY.TPI".

#include "core/store/linked_field.h"
#include "core/store/my_list.h"
#include "core/system/file_io.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

constexpr int kImportSlots = 21;
constexpr int kImportEntries = 5;
constexpr int kImportDiaryEvents = 6;
constexpr int kDiaryImportSlots = 10;

inline constexpr std::string_view kDefaultBookImport = "Default Address Book Import";
inline constexpr std::string_view kDefaultDiaryImport = "Default Diary Event Import";

class TImport {
public:
    Text Name = std::string();
    // Per target slot, the source columns (from 0) feeding it, in order.
    std::array<TLinkedFieldList, kImportSlots> Mappings;
    std::uint8_t Quote = '"';
    std::uint8_t Separator = ',';
    std::uint8_t HeaderLine = 1;
    std::uint8_t UseDescriptions = 0;
    std::int16_t ImportType = kImportEntries;

    std::string NameText() const { return std::string(TextValue(Name)); }
    void SetName(std::string_view name); // trimmed, cut to 255
    // The first column mapped to a slot, -1 when none (or out of range).
    int FirstColumn(int slot) const;
    // How many slots have at least one column.
    int MappedSlots() const;

    static std::unique_ptr<TImport> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TImport&) const = default;
};

class TImportList : public TMyList<TImport> {
public:
    // The template of a name (case-insensitive), -1 if none.
    int Find(std::string_view name) const;
    // The two defaults: an address book import of columns 0 to 20 into slots 0 to 20,
    // and a diary import of columns 0 to 9 into slots 0 to 9.
    static TImportList Defaults();

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

// Reads the file; a missing, damaged or empty one gives the defaults.
TImportList LoadImportTemplates(const std::string& path, IFileSystem& fs = RealFileSystem());
// Whether the bytes are a sound import template file; `out` then holds its list.
bool ParseImportTemplates(std::span<const std::uint8_t> bytes, TImportList& out);
std::vector<std::uint8_t> WriteImportTemplates(const TImportList& list);
TIoResult SaveImportTemplates(const std::string& path, const TImportList& list,
                              IFileSystem& fs = RealFileSystem());

} // namespace tessaly
