#pragma once
// TExport: a named export template, saying which fields are written in which output
// column and how the file is laid out, and TExportList, the templates of the whole
// program, kept in "TESSALY.TPE".

#include "core/store/my_list.h"
#include "core/system/file_io.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

constexpr int kExportColumns = 21;
// Only the first 20 columns are written; the last is kept in the file.
constexpr int kWrittenExportColumns = 20;

constexpr int kExportEntries = 1;
constexpr int kExportReminders = 2;
constexpr int kExportCallLogs = 3;
constexpr int kExportDiaryEvents = 4;

inline constexpr std::string_view kDefaultBookExport = "Default Address Book Export";
inline constexpr std::string_view kDefaultReminderExport = "Default Reminders Export";
inline constexpr std::string_view kDefaultCallLogExport = "Default Telephone Log Export";
inline constexpr std::string_view kDefaultDiaryExport = "Default Diary Export";

// The first layout version whose templates carry label flags, and address columns.
constexpr int kExportLabelsVersion = 11;
constexpr int kExportAddressColumnsVersion = 8;

// One used output column: the field it writes and whether its caption goes first.
struct TExportColumn {
    int Field = -1;
    bool Label = false;
    bool operator==(const TExportColumn&) const = default;
};

class TExport {
public:
    Text Name = std::string();
    std::array<std::int16_t, kExportColumns> Columns; // field numbers, -1 unused
    std::array<std::uint8_t, kExportColumns> Labels{};
    std::uint8_t Quote = '"';     // 0: none
    std::uint8_t Separator = ','; // 0: none
    std::uint8_t HeaderLine = 1;
    std::uint8_t MailMerge = 0;
    std::int16_t ExportType = kExportEntries;
    std::uint8_t Reserved = 1;
    std::int16_t AddressColumns = 1; // 1: one field; 2 or more: split into that many

    TExport() { Columns.fill(-1); }

    std::string NameText() const { return std::string(TextValue(Name)); }
    void SetName(std::string_view name); // trimmed, cut to 255
    // The used columns in order (unused ones skipped), and setting them: the columns
    // are packed from the first, the rest unused; more than 21 are dropped.
    std::vector<TExportColumn> UsedColumns() const;
    void SetColumns(const std::vector<TExportColumn>& columns);

    // Whether the address text is split into several fields.
    bool SplitsAddress() const { return AddressColumns >= 2; }

    static std::unique_ptr<TExport> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TExport&) const = default;
};

class TExportList : public TMyList<TExport> {
public:
    int Find(std::string_view name) const; // case-insensitive, -1 if none
    // The four defaults, one for each export type.
    static TExportList Defaults();
    // The name of the default template of an export type; empty for an unknown type.
    static std::string_view DefaultName(int exportType);

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

TExportList LoadExportTemplates(const std::string& path, IFileSystem& fs = RealFileSystem());
bool ParseExportTemplates(std::span<const std::uint8_t> bytes, TExportList& out);
std::vector<std::uint8_t> WriteExportTemplates(const TExportList& list);
TIoResult SaveExportTemplates(const std::string& path, const TExportList& list,
                              IFileSystem& fs = RealFileSystem());

} // namespace tessaly
