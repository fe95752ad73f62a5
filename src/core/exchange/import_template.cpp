#include "core/exchange/import_template.h"

#include "core/common/same_text.h"
#include "core/common/text.h"
#include "core/exchange/template_file.h"

namespace tessaly {

void TImport::SetName(std::string_view name) {
    Name = CleanShort(name);
}

int TImport::FirstColumn(int slot) const {
    if (slot < 0 || slot >= kImportSlots)
        return -1;
    return Mappings[static_cast<std::size_t>(slot)].FieldAt(0);
}

int TImport::MappedSlots() const {
    int n = 0;
    for (const auto& m : Mappings)
        n += m.Empty() ? 0 : 1;
    return n;
}

std::unique_ptr<TImport> TImport::Read(TStreamReader& r, int version) {
    auto t = std::make_unique<TImport>();
    t->Name = r.ReadText();
    for (auto& m : t->Mappings)
        m.Read(r, version);
    t->Quote = r.ReadByte();
    t->Separator = r.ReadByte();
    t->HeaderLine = r.ReadByte();
    t->UseDescriptions = r.ReadByte();
    t->ImportType = r.ReadInt16();
    return t;
}

void TImport::Write(TStreamWriter& w, int version) const {
    w.WriteText(Name);
    for (const auto& m : Mappings)
        m.Write(w, version);
    w.WriteByte(Quote);
    w.WriteByte(Separator);
    w.WriteByte(HeaderLine);
    w.WriteByte(UseDescriptions);
    w.WriteInt16(ImportType);
}

int TImportList::Find(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(At(i)->NameText(), name))
            return i;
    return -1;
}

TImportList TImportList::Defaults() {
    TImportList list;
    const auto add = [&](std::string_view name, int type, int slots) {
        auto t = std::make_unique<TImport>();
        t->SetName(name);
        t->ImportType = static_cast<std::int16_t>(type);
        for (int i = 0; i < slots; ++i)
            t->Mappings[static_cast<std::size_t>(i)].AddField(i);
        list.Add(std::move(t));
    };
    add(kDefaultBookImport, kImportEntries, kImportSlots);
    add(kDefaultDiaryImport, kImportDiaryEvents, kDiaryImportSlots);
    return list;
}

bool ParseImportTemplates(std::span<const std::uint8_t> bytes, TImportList& out) {
    TImportList list;
    if (!ReadTemplateImage(bytes, [&](TStreamReader& r, int version) { list.Read(r, version); }))
        return false;
    out = std::move(list);
    return true;
}

TImportList LoadImportTemplates(const std::string& path, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    TImportList list;
    if (ReadWholeFile(path, bytes, fs).Ok && ParseImportTemplates(bytes, list) && !list.Empty())
        return list;
    return TImportList::Defaults();
}

std::vector<std::uint8_t> WriteImportTemplates(const TImportList& list) {
    return WriteTemplateImage([&](TStreamWriter& w, int version) { list.Write(w, version); });
}

TIoResult SaveImportTemplates(const std::string& path, const TImportList& list, IFileSystem& fs) {
    try {
        return WriteFileAtomically(path, WriteImportTemplates(list), fs);
    } catch (const StreamError& e) {
        TIoResult failed;
        failed.Error = e.what();
        return failed;
    }
}

} // namespace tessaly
