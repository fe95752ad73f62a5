#include "core/printing/layout.h"

#include "core/common/same_text.h"
#include "core/printing/catalogue_file.h"
#include "core/printing/counted_text.h"
#include "core/printing/six_byte_real.h"

#include <algorithm>

namespace tessaly {

std::string DataSourceCaption(int source) {
    switch (source) {
    case kSourceEntries:
        return "Address Book Entries";
    case kSourceReminders:
        return "Address Book Entry Reminders";
    case kSourceCallLogs:
        return "Address Book Entry Call Logs";
    case kSourceDiary:
        return "Diary Book Events";
    case kSourceCalendar:
        return "Calendar View";
    default:
        return std::string();
    }
}

void TLayout::SetName(std::string_view name) {
    Name = CleanShort(name);
}

std::unique_ptr<TLayout> TLayout::Read(TStreamReader& r, int) {
    auto l = std::make_unique<TLayout>();
    ReadCountedText(r, l->Name);
    l->Number = r.ReadInt16();
    l->Source = r.ReadInt16();
    l->PaperNumber = r.ReadInt16();
    l->Portrait = r.ReadBool();
    l->Headers = r.ReadBool();
    l->Footers = r.ReadBool();
    l->HeaderHeight = ReadSixByteReal(r);
    l->FooterHeight = ReadSixByteReal(r);
    l->PageControl = r.ReadInt16();
    l->Reserved = r.ReadInt16();
    ReadCountedText(r, l->Printer);
    return l;
}

void TLayout::Write(TStreamWriter& w, int) const {
    WriteCountedText(w, Name);
    w.WriteInt16(static_cast<std::int16_t>(Number));
    w.WriteInt16(static_cast<std::int16_t>(Source));
    w.WriteInt16(static_cast<std::int16_t>(PaperNumber));
    w.WriteBool(Portrait);
    w.WriteBool(Headers);
    w.WriteBool(Footers);
    WriteSixByteReal(w, HeaderHeight);
    WriteSixByteReal(w, FooterHeight);
    w.WriteInt16(static_cast<std::int16_t>(PageControl));
    w.WriteInt16(static_cast<std::int16_t>(Reserved));
    WriteCountedText(w, Printer);
}

TLayout* TLayoutList::ByNumber(int number) const {
    for (const auto& l : *this)
        if (l && l->Number == number)
            return l.get();
    return nullptr;
}

TLayout* TLayoutList::ByName(std::string_view name) const {
    for (const auto& l : *this)
        if (l && SameText(l->Name.view(), name))
            return l.get();
    return nullptr;
}

int TLayoutList::NumberByName(std::string_view name) const {
    const TLayout* l = ByName(name);
    return l ? l->Number : kNoNumber;
}

std::string TLayoutList::NameByNumber(int number) const {
    const TLayout* l = ByNumber(number);
    return l ? l->NameText() : std::string();
}

int TLayoutList::PaperNumberAt(int i) const {
    const TLayout* l = At(i);
    return l ? l->PaperNumber : kNoNumber;
}

int TLayoutList::SourceAt(int i) const {
    const TLayout* l = At(i);
    return l ? l->Source : 0;
}

int TLayoutList::SourceByNumber(int number) const {
    const TLayout* l = ByNumber(number);
    return l ? l->Source : 0;
}

void TLayoutList::Remove(const TLayout* layout) {
    Delete(IndexOf(layout));
}

void TLayoutList::KeepCounterAbove(int number) {
    if (number >= NextNumber)
        NextNumber = number + 1;
}

void TLayoutList::Read(TStreamReader& r, int version) {
    NextNumber = r.ReadInt16();
    ReadCountedText(r, ReturnAddress);
    Designer.ShowRulers = r.ReadBool();
    Designer.ShowBorders = r.ReadBool();
    Designer.TextAlignment = r.ReadByte();
    Designer.PaletteWidth = r.ReadInt16();
    Designer.Unit = r.ReadByte();
    if (version >= 5) {
        Designer.SnapToGrid = r.ReadBool();
        Designer.GridAcross = r.ReadInt16();
        Designer.GridDown = r.ReadInt16();
    } else {
        Designer.SnapToGrid = true;
        Designer.GridAcross = 8;
        Designer.GridDown = 8;
    }
    ReadItems(r, version);
}

void TLayoutList::Write(TStreamWriter& w) const {
    w.WriteInt16(static_cast<std::int16_t>(NextNumber));
    WriteCountedText(w, ReturnAddress);
    w.WriteBool(Designer.ShowRulers);
    w.WriteBool(Designer.ShowBorders);
    w.WriteByte(static_cast<std::uint8_t>(Designer.TextAlignment));
    w.WriteInt16(static_cast<std::int16_t>(Designer.PaletteWidth));
    w.WriteByte(static_cast<std::uint8_t>(Designer.Unit));
    w.WriteBool(Designer.SnapToGrid);
    w.WriteInt16(static_cast<std::int16_t>(Designer.GridAcross));
    w.WriteInt16(static_cast<std::int16_t>(Designer.GridDown));
    WriteItems(w, kCatalogueVersion);
}

} // namespace tessaly
