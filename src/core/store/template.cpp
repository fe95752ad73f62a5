#include "core/store/template.h"

#include "core/common/same_text.h"

#include <algorithm>

namespace tessaly {

int NextButtonKind(int kind) {
    return kind == kButtonNone ? kButtonDial : kind == kButtonDial ? kButtonMail : kButtonNone;
}

TTemplate::TTemplate() {
    Captions.fill(std::string());
    for (int i = 0; i < kTemplateCaptions; ++i)
        Shown[static_cast<std::size_t>(i)] = 1;
}

TTemplate::TTemplate(int id) : TTemplate() {
    Id = static_cast<std::int16_t>(id);
}

void TTemplate::SetName(std::string_view name) {
    Name = CleanShort(name);
}

void TTemplate::SetCaption(int i, std::string_view caption) {
    if (i >= 0 && i < kTemplateCaptions)
        Captions[static_cast<std::size_t>(i)] = CleanShort(caption);
}

std::string TTemplate::Caption(int i) const {
    if (i < 0 || i >= kTemplateCaptions)
        return std::string();
    return Captions[static_cast<std::size_t>(i)].str();
}

int TTemplate::ShownAt(int i) const {
    return i >= 0 && i < kTemplateShown ? Shown[static_cast<std::size_t>(i)] : 0;
}

int TTemplate::ButtonKind(int i) const {
    return i >= 0 && i < kTemplateButtons ? ButtonKinds[static_cast<std::size_t>(i)] : 0;
}

std::unique_ptr<TTemplate> TTemplate::Read(TStreamReader& r, int version) {
    auto t = std::make_unique<TTemplate>();
    r.ReadTextInto(t->Name);
    t->Id = r.ReadInt16();
    t->IncludeForNew = r.ReadByte();
    t->TemplateFlag = r.ReadByte();
    for (std::size_t i = 0; i < kTemplateCaptions; ++i) {
        r.ReadTextInto(t->Captions[i]);
        t->Shown[i] = r.ReadByte();
    }
    t->Shown[10] = r.ReadByte();
    t->AddressFormat = version >= 9 ? r.ReadInt16() : std::int16_t{kFormatFreeform};
    if (version >= 13) {
        for (auto& kind : t->ButtonKinds)
            kind = r.ReadInt16();
    } else {
        // Older layouts kept the button kinds in the unused shown flags 7-10.
        for (std::size_t i = 0; i < kTemplateButtons; ++i)
            t->ButtonKinds[i] = t->Shown[7 + i];
    }
    return t;
}

void TTemplate::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteText(Name);
    w.WriteInt16(Id);
    w.WriteByte(IncludeForNew);
    w.WriteByte(TemplateFlag);
    for (std::size_t i = 0; i < kTemplateCaptions; ++i) {
        w.WriteText(Captions[i]);
        w.WriteByte(Shown[i]);
    }
    w.WriteByte(Shown[10]);
    w.WriteInt16(AddressFormat);
    for (const auto kind : ButtonKinds)
        w.WriteInt16(kind);
}

int TTemplateList::FindTemplateById(int id) const {
    for (int i = 1; i < Count(); ++i)
        if (At(i)->Id == id)
            return i;
    return -1;
}

int TTemplateList::FindTemplateByName(std::string_view name) const {
    for (int i = 1; i < Count(); ++i)
        if (SameText(TextValue(At(i)->Name), name))
            return i;
    return -1;
}

int TTemplateList::TemplateId(int i) const {
    const TTemplate* t = At(i);
    return t ? t->Id : -1;
}

std::string TTemplateList::TemplateName(int i) const {
    const TTemplate* t = At(i);
    return t ? t->Name.str() : std::string();
}

namespace {

// Copies the values into a template, all but the include flag and the deleted mark,
// which go through the list's rules.
void ApplyValues(TTemplate& t, const TTemplateValues& v) {
    t.SetName(v.Name);
    for (int c = 0; c < kTemplateCaptions; ++c)
        t.SetCaption(c, v.Captions[static_cast<std::size_t>(c)]);
    for (std::size_t f = 0; f < v.Shown.size(); ++f)
        t.Shown[f] = v.Shown[f] ? 1 : 0;
    t.AddressFormat = static_cast<std::int16_t>(v.AddressFormat);
    for (std::size_t b = 0; b < kTemplateButtons; ++b)
        t.ButtonKinds[b] = static_cast<std::int16_t>(v.ButtonKinds[b]);
}

} // namespace

int TTemplateList::AddTemplate(const TTemplateValues& values) {
    // The counter only grows: at the last number, or damaged, it gives no more.
    const int next = NextId;
    if (next < 0 || next >= kMaxItemId)
        return -1;
    auto t = std::make_unique<TTemplate>(next);
    ApplyValues(*t, values);
    Add(std::move(t));
    NextId = static_cast<std::int16_t>(next + 1);
    const int index = Count() - 1;
    SetIncludeForNew(index, values.IncludeForNew);
    return index;
}

bool TTemplateList::UpdateTemplate(int i, const TTemplateValues& values, bool deleted) {
    TTemplate* t = At(i);
    if (!t)
        return false;
    ApplyValues(*t, values);
    SetIncludeForNew(i, values.IncludeForNew);
    if (deleted != (t->Deleted != 0))
        SetDeleted(i, deleted);
    return true;
}

TTemplateValues TTemplateList::ValuesOf(int i) const {
    TTemplateValues v;
    const TTemplate* t = At(i);
    if (!t)
        return v;
    v.Name = TextValue(t->Name);
    for (int c = 0; c < kTemplateCaptions; ++c)
        v.Captions[static_cast<std::size_t>(c)] = t->Caption(c);
    for (std::size_t f = 0; f < v.Shown.size(); ++f)
        v.Shown[f] = t->Shown[f];
    v.IncludeForNew = t->IncludeForNew != 0;
    v.AddressFormat = t->AddressFormat;
    for (std::size_t b = 0; b < kTemplateButtons; ++b)
        v.ButtonKinds[b] = t->ButtonKinds[b];
    return v;
}

TTemplateValues TTemplateList::NewTemplateValues() const {
    TTemplateValues v = ValuesOf(BaseIndex);
    v.Name.clear();
    return v;
}

std::string TTemplateList::TemplateCaption(int i, int field) const {
    const TTemplate* t = At(i);
    return t ? t->Caption(field) : std::string();
}

int TTemplateList::TemplateShown(int i, int field) const {
    const TTemplate* t = At(i);
    return t ? t->ShownAt(field) : 0;
}

int TTemplateList::TemplateIncludeForNew(int i) const {
    const TTemplate* t = At(i);
    return t ? t->IncludeForNew : 0;
}

int TTemplateList::TemplateDeleted(int i) const {
    const TTemplate* t = At(i);
    return t ? t->Deleted : 0;
}

int TTemplateList::TemplateFormat(int i) const {
    const TTemplate* t = At(i);
    return t ? t->AddressFormat : 0;
}

void TTemplateList::SetIncludeForNew(int i, bool include) {
    TTemplate* t = At(i);
    if (!t)
        return;
    t->IncludeForNew = include ? 1 : 0;
    if (include)
        return;
    for (int j = 1; j < Count(); ++j) {
        const TTemplate* other = At(j);
        if (other && other->IncludeForNew && !other->Deleted)
            return;
    }
    if (TTemplate* first = At(1))
        first->IncludeForNew = 1;
}

bool TTemplateList::SetDeleted(int i, bool deleted) {
    TTemplate* t = At(i);
    if (!t || i <= 1)
        return false;
    if (deleted) {
        SetIncludeForNew(i, false);
        if (BaseIndex == i)
            BaseIndex = 1;
    }
    t->Deleted = deleted ? 1 : 0;
    return true;
}

void TTemplateList::SetBaseIndex(int i) {
    if (i >= 1 && i < Count())
        BaseIndex = static_cast<std::int16_t>(i);
}

void TTemplateList::PurgeTemplates() {
    int base = -1;
    int kept = 0;
    for (int i = 0; i < Count(); ++i) {
        const TTemplate* t = At(i);
        if (!t || t->Deleted)
            continue;
        if (i == BaseIndex)
            base = kept;
        ++kept;
    }
    std::erase_if(items_, [](const std::unique_ptr<TTemplate>& t) { return !t || t->Deleted; });
    if (base < 1)
        base = Count() > 1 ? 1 : 0;
    BaseIndex = static_cast<std::int16_t>(base);
}

TTemplateList TTemplateList::Copy() const {
    TTemplateList copy(*this); // NextId and BaseIndex come along
    copy.PurgeTemplates();
    return copy;
}

TTemplateList TTemplateList::Defaults() {
    static const char* const nameCaptions[kTemplateCaptions] = {
        "Title",     "First Name", "Surname",   "Salutation", "Undefined",
        "Undefined", "Undefined",  "Undefined", "Undefined",  "Notes"};
    static const char* const addressCaptions[kTemplateCaptions] = {
        "Position", "Company", "Address", "Home", "Work", "Fax", "E-Mail", "", "", ""};

    TTemplateList list;
    for (int id = 0; id < 2; ++id) {
        auto t = std::make_unique<TTemplate>(id);
        const char* const* captions = id == 0 ? nameCaptions : addressCaptions;
        for (int i = 0; i < kTemplateCaptions; ++i)
            t->SetCaption(i, captions[i]);
        if (id == 1)
            t->SetName("Address 1");
        t->ButtonKinds = {kButtonDial, kButtonDial, kButtonNone, kButtonMail};
        t->IncludeForNew = 1;
        list.Add(std::move(t));
    }
    list.NextId = 2;
    list.BaseIndex = 1;
    return list;
}

void TTemplateList::Read(TStreamReader& r, int version) {
    NextId = r.ReadInt16();
    BaseIndex = r.ReadInt16();
    ReadItems(r, version);
}

void TTemplateList::Write(TStreamWriter& w, int version) const {
    w.WriteInt16(NextId);
    w.WriteInt16(BaseIndex);
    WriteItems(w, version);
}

} // namespace tessaly
