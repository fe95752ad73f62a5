#include "store/template.h"

#include "store/same_text.h"

namespace tessaly {

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
    return TextValue(Captions[static_cast<std::size_t>(i)]);
}

int TTemplate::ShownAt(int i) const {
    return i >= 0 && i < kTemplateShown ? Shown[static_cast<std::size_t>(i)] : 0;
}

int TTemplate::ButtonKind(int i) const {
    return i >= 0 && i < kTemplateButtons ? ButtonKinds[static_cast<std::size_t>(i)] : 0;
}

std::unique_ptr<TTemplate> TTemplate::Read(TStreamReader& r, int version) {
    auto t = std::make_unique<TTemplate>();
    t->Name = r.ReadText();
    t->Id = r.ReadInt16();
    t->IncludeForNew = r.ReadByte();
    t->TemplateFlag = r.ReadByte();
    for (std::size_t i = 0; i < kTemplateCaptions; ++i) {
        t->Captions[i] = r.ReadText();
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
    return t ? TextValue(t->Name) : std::string();
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
