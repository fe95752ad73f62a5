#include "core/store/filter.h"

#include "core/common/same_text.h"

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

std::unique_ptr<TRule> MakeRule(int fieldNo, int templateNo, bool isText, TDateTime fromDate,
                                TDateTime toDate, bool wholeWords, bool matchCase,
                                std::string_view text) {
    auto rule = std::make_unique<TRule>();
    UpdateRule(*rule, fieldNo, templateNo, isText, fromDate, toDate, wholeWords, matchCase, text);
    return rule;
}

void UpdateRule(TRule& rule, int fieldNo, int templateNo, bool isText, TDateTime fromDate,
                TDateTime toDate, bool wholeWords, bool matchCase, std::string_view text) {
    rule.FieldNo = static_cast<std::int16_t>(fieldNo);
    rule.TemplateNo = static_cast<std::int16_t>(templateNo);
    rule.IsText = isText ? 1 : 0;
    rule.FromDate = isText ? 0 : fromDate;
    rule.ToDate = isText ? 0 : toDate;
    rule.WholeWords = wholeWords ? 1 : 0;
    rule.MatchCase = matchCase ? 1 : 0;
    rule.SetText(text);
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

bool TFilter::IsActive(bool basicOnly) const {
    if (StartsWithOn || CategoriesOn || ExcludeTagged || ExcludeUntagged || ExcludeNoDueReminders ||
        ExcludeNoAttachments)
        return true;
    return !basicOnly && !Rules.Empty();
}

std::unique_ptr<TFilter> TFilter::Read(TStreamReader& r, int version) {
    auto f = std::make_unique<TFilter>();
    f->StartsWithOn = r.ReadByte();
    r.ReadTextInto(f->StartsWith);
    r.ReadTextInto(f->Name);
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

TFilter* TFilterList::ActiveSearch() const {
    int i = FindSearch(TextValue(ActiveName));
    if (i < 0)
        i = FindSearch(kUntitledSearch);
    return At(i < 0 ? 0 : i);
}

bool TFilterList::EnsureUntitled() {
    bool changed = false;
    const int untitled = FindSearch(kUntitledSearch);
    if (untitled < 0) {
        Insert(0, std::make_unique<TFilter>(kUntitledSearch));
        changed = true;
    } else if (untitled > 0) {
        Move(untitled, 0);
        changed = true;
    }
    if (FindSearch(TextValue(ActiveName)) < 0) {
        ActiveName = std::string(kUntitledSearch);
        changed = true;
    }
    return changed;
}

int TFilterList::SelectSearch(std::string_view name) {
    const std::string clean = CleanShort(name);
    if (clean.empty())
        return -1;
    EnsureUntitled();
    int i = FindSearch(clean);
    if (i < 0) {
        Add(std::make_unique<TFilter>(clean));
        i = Count() - 1;
    }
    ActiveName = TextValue(At(i)->Name);
    return i;
}

bool TFilterList::RenameSearch(int i, std::string_view name) {
    TFilter* f = At(i);
    const std::string clean = CleanShort(name);
    if (!f || clean.empty() || SameText(TextValue(f->Name), kUntitledSearch))
        return false;
    const int other = FindSearch(clean);
    if (other >= 0 && other != i)
        return false;
    const bool active = ActiveSearch() == f;
    f->SetName(clean);
    if (active)
        ActiveName = TextValue(f->Name);
    return true;
}

bool TFilterList::DeleteSearch(int i) {
    const TFilter* f = At(i);
    if (!f || SameText(TextValue(f->Name), kUntitledSearch))
        return false;
    const bool active = ActiveSearch() == f;
    Delete(i);
    if (active)
        ActiveName = std::string(kUntitledSearch);
    EnsureUntitled();
    return true;
}

void TFilterList::ClearSearch() {
    EnsureUntitled();
    ActiveName = std::string(kUntitledSearch);
    At(0)->ResetOptions();
}

bool TFilterList::SearchIsActive(bool basicOnly) const {
    const TFilter* f = ActiveSearch();
    return f && f->IsActive(basicOnly);
}

TFilterList TFilterList::Defaults() {
    TFilterList list;
    list.Add(std::make_unique<TFilter>(kUntitledSearch));
    list.ActiveName = std::string(kUntitledSearch);
    return list;
}

void TFilterList::Read(TStreamReader& r, int version) {
    if (version >= 2) {
        r.ReadTextInto(ActiveName);
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
