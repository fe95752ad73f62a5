#include "core/exchange/export_template.h"

#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/exchange/template_file.h"

namespace tessaly {

void TExport::SetName(std::string_view name) {
    Name = CleanShort(name);
}

std::vector<TExportColumn> TExport::UsedColumns() const {
    std::vector<TExportColumn> out;
    for (std::size_t c = 0; c < Columns.size(); ++c)
        if (Columns[c] >= 0)
            out.push_back({Columns[c], Labels[c] != 0});
    return out;
}

void TExport::SetColumns(const std::vector<TExportColumn>& columns) {
    Columns.fill(-1);
    Labels.fill(0);
    for (std::size_t c = 0; c < columns.size() && c < Columns.size(); ++c) {
        Columns[c] = static_cast<std::int16_t>(columns[c].Field);
        Labels[c] = columns[c].Label ? 1 : 0;
    }
}

std::unique_ptr<TExport> TExport::Read(TStreamReader& r, int version) {
    auto t = std::make_unique<TExport>();
    t->Name = r.ReadText();
    for (auto& c : t->Columns)
        c = r.ReadInt16();
    if (version >= kExportLabelsVersion)
        for (auto& l : t->Labels)
            l = r.ReadByte();
    t->Quote = r.ReadByte();
    t->Separator = r.ReadByte();
    t->HeaderLine = r.ReadByte();
    t->MailMerge = r.ReadByte();
    t->ExportType = r.ReadInt16();
    t->Reserved = r.ReadByte();
    if (version >= kExportAddressColumnsVersion)
        t->AddressColumns = r.ReadInt16();
    return t;
}

void TExport::Write(TStreamWriter& w, int version) const {
    w.WriteText(Name);
    for (const auto c : Columns)
        w.WriteInt16(c);
    if (version >= kExportLabelsVersion)
        for (const auto l : Labels)
            w.WriteByte(l);
    w.WriteByte(Quote);
    w.WriteByte(Separator);
    w.WriteByte(HeaderLine);
    w.WriteByte(MailMerge);
    w.WriteInt16(ExportType);
    w.WriteByte(Reserved);
    if (version >= kExportAddressColumnsVersion)
        w.WriteInt16(AddressColumns);
}

int TExportList::Find(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(At(i)->NameText(), name))
            return i;
    return -1;
}

std::string_view TExportList::DefaultName(int exportType) {
    switch (exportType) {
    case kExportEntries:
        return kDefaultBookExport;
    case kExportReminders:
        return kDefaultReminderExport;
    case kExportCallLogs:
        return kDefaultCallLogExport;
    case kExportDiaryEvents:
        return kDefaultDiaryExport;
    default:
        return {};
    }
}

TExportList TExportList::Defaults() {
    TExportList list;
    for (const auto& [type, fields] :
         {std::pair{kExportEntries, 17}, std::pair{kExportReminders, 11},
          std::pair{kExportCallLogs, 8}, std::pair{kExportDiaryEvents, 10}}) {
        auto t = std::make_unique<TExport>();
        t->SetName(DefaultName(type));
        t->ExportType = static_cast<std::int16_t>(type);
        for (int i = 0; i < fields; ++i)
            t->Columns[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i);
        list.Add(std::move(t));
    }
    return list;
}

bool ParseExportTemplates(std::span<const std::uint8_t> bytes, TExportList& out) {
    TExportList list;
    if (!ReadTemplateImage(bytes, [&](TStreamReader& r, int version) { list.Read(r, version); }))
        return false;
    out = std::move(list);
    return true;
}

TExportList LoadExportTemplates(const std::string& path, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    TExportList list;
    if (ReadWholeFile(path, bytes, fs).Ok && ParseExportTemplates(bytes, list) && !list.Empty())
        return list;
    return TExportList::Defaults();
}

std::vector<std::uint8_t> WriteExportTemplates(const TExportList& list) {
    return WriteTemplateImage([&](TStreamWriter& w, int version) { list.Write(w, version); });
}

TIoResult SaveExportTemplates(const std::string& path, const TExportList& list, IFileSystem& fs) {
    try {
        return WriteFileAtomically(path, WriteExportTemplates(list), fs);
    } catch (const StreamError& e) {
        TIoResult failed;
        failed.Error = e.what();
        return failed;
    }
}

} // namespace tessaly
