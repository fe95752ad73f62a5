#include "store/filter.h"

#include "store/same_text.h"

namespace tessaly {

void TRule::SetText(std::string_view s) {
    Text = CutShort(s);
}

std::unique_ptr<TRule> TRule::Read(TStreamReader& r, int /*version*/) {
    auto rule = std::make_unique<TRule>();
    rule->FieldNo = r.ReadInt16();
    rule->TemplateNo = r.ReadInt16();
    rule->IsText = r.ReadByte();
    rule->Text = r.ReadShortString();
    rule->MatchCase = r.ReadByte();
    rule->WholeWords = r.ReadByte();
    rule->FromDate = r.ReadDateTime();
    rule->ToDate = r.ReadDateTime();
    return rule;
}

void TRule::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(FieldNo);
    w.WriteInt16(TemplateNo);
    w.WriteByte(IsText);
    // All 256 bytes, the unused ones zeroed, so nothing stale reaches the file.
    w.WriteShortString(Text);
    w.WriteByte(MatchCase);
    w.WriteByte(WholeWords);
    w.WriteDateTime(FromDate);
    w.WriteDateTime(ToDate);
}

TFilter::TFilter(std::string_view name) {
    SetName(name);
}

void TFilter::SetName(std::string_view name) {
    Name = CleanShort(name);
}

void TFilter::SetStartsWith(std::string_view s) {
    StartsWith = CutShort(s);
}

void TFilter::ResetOptions() {
    TFilter fresh;
    fresh.Name = Name;
    *this = std::move(fresh);
}

std::unique_ptr<TFilter> TFilter::Read(TStreamReader& r, int version) {
    auto f = std::make_unique<TFilter>();
    f->StartsWithOn = r.ReadByte();
    f->StartsWith = r.ReadText();
    f->Name = r.ReadText();
    f->ExcludeTagged = r.ReadByte();
    f->ExcludeUntagged = r.ReadByte();
    f->ExcludeNoDueReminders = r.ReadByte();
    f->ExcludeNoAttachments = r.ReadByte();
    f->CategoriesOn = r.ReadByte();
    f->AnyCategory = r.ReadByte();
    f->Rules.Read(r, version);
    f->CategoriesInUse.Read(r, version);
    return f;
}

void TFilter::Write(TStreamWriter& w, int version) const {
    w.WriteByte(StartsWithOn);
    w.WriteText(StartsWith);
    w.WriteText(Name);
    w.WriteByte(ExcludeTagged);
    w.WriteByte(ExcludeUntagged);
    w.WriteByte(ExcludeNoDueReminders);
    w.WriteByte(ExcludeNoAttachments);
    w.WriteByte(CategoriesOn);
    w.WriteByte(AnyCategory);
    Rules.Write(w, version);
    CategoriesInUse.Write(w, version);
}

int TFilterList::FindSearch(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(TextValue(At(i)->Name), name))
            return i;
    return -1;
}

TFilterList TFilterList::Defaults() {
    TFilterList list;
    list.Add(std::make_unique<TFilter>(kUntitledSearch));
    list.ActiveName = std::string(kUntitledSearch);
    return list;
}

void TFilterList::Read(TStreamReader& r, int version) {
    if (version >= 2) {
        ActiveName = r.ReadText();
    } else {
        r.ReadInt16(); // unused in the first layout
        ActiveName = std::string(kUntitledSearch);
    }
    HeaderWidths[0] = r.ReadInt16();
    HeaderWidths[1] = r.ReadInt16();
    ReadItems(r, version);
}

void TFilterList::Write(TStreamWriter& w, int version) const {
    w.WriteText(ActiveName);
    w.WriteInt16(HeaderWidths[0]);
    w.WriteInt16(HeaderWidths[1]);
    WriteItems(w, version);
}

} // namespace tessaly
