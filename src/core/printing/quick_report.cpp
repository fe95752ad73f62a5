#include "core/printing/quick_report.h"

#include "core/common/same_text.h"
#include "core/printing/catalogue_file.h"
#include "core/printing/counted_text.h"

namespace tessaly {

void TQReport::SetName(std::string_view name) {
    Name = CleanShort(name);
}

std::unique_ptr<TQReport> TQReport::Read(TStreamReader& r, int version) {
    auto q = std::make_unique<TQReport>();
    ReadCountedText(r, q->Name);
    q->Selection = r.ReadInt16();
    q->LayoutNumber = r.ReadInt16();
    q->AllDates = r.ReadBool();
    q->FirstAddressOnly = r.ReadBool();
    q->FirstDate = r.ReadDateTime();
    q->LastDate = r.ReadDateTime();
    q->IncludeCompleted = r.ReadBool();
    q->Copies = r.ReadInt16();
    q->LabelFill = r.ReadInt16();
    q->PromptStartingLabel = r.ReadBool();
    q->SortField = version >= 7 ? r.ReadInt16() : -1;
    return q;
}

void TQReport::Write(TStreamWriter& w, int) const {
    WriteCountedText(w, Name);
    w.WriteInt16(static_cast<std::int16_t>(Selection));
    w.WriteInt16(static_cast<std::int16_t>(LayoutNumber));
    w.WriteBool(AllDates);
    w.WriteBool(FirstAddressOnly);
    w.WriteDateTime(FirstDate);
    w.WriteDateTime(LastDate);
    w.WriteBool(IncludeCompleted);
    w.WriteInt16(static_cast<std::int16_t>(Copies));
    w.WriteInt16(static_cast<std::int16_t>(LabelFill));
    w.WriteBool(PromptStartingLabel);
    w.WriteInt16(static_cast<std::int16_t>(SortField));
}

int TQReportList::IndexByName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(At(i)->Name.view(), name))
            return i;
    return -1;
}

std::string TQReportList::NameAt(int i) const {
    const TQReport* q = At(i);
    return q ? q->NameText() : std::string();
}

int TQReportList::LayoutNumberAt(int i) const {
    const TQReport* q = At(i);
    return q ? q->LayoutNumber : -1;
}

TQReport* TQReportList::Create(std::string_view name) {
    if (Count() >= kMaxListCount)
        return nullptr;
    auto q = std::make_unique<TQReport>();
    q->SetName(name);
    return Add(std::move(q));
}

void TQReportList::Remove(const TQReport* report) {
    Delete(IndexOf(report));
}

void TQReportList::Write(TStreamWriter& w) const {
    WriteItems(w, kCatalogueVersion);
}

} // namespace tessaly
