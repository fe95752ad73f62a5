#include "core/printing/paper.h"

#include "core/common/same_text.h"
#include "core/printing/catalogue_file.h"
#include "core/printing/counted_text.h"
#include "core/printing/six_byte_real.h"

namespace tessaly {

std::string PaperTypeCaption(int type) {
    switch (type) {
    case kPaperEnvelope:
        return "Envelope";
    case kPaperLabel:
        return "Label";
    case kPaperListing:
        return "Listing";
    default:
        return std::string();
    }
}

std::string PaperUnitCaption(int unit) {
    return unit == kUnitInches ? "Inches" : "Millimetres";
}

void TPaper::SetName(std::string_view name) {
    Name = CleanShort(name);
}

std::unique_ptr<TPaper> TPaper::Read(TStreamReader& r, int version) {
    auto p = std::make_unique<TPaper>();
    ReadCountedText(r, p->Name);
    p->Number = r.ReadInt16();
    p->Type = r.ReadInt16();
    p->SystemCode = r.ReadInt16();
    p->Width = ReadSixByteReal(r);
    p->Height = ReadSixByteReal(r);
    p->LabelWidth = ReadSixByteReal(r);
    p->LabelHeight = ReadSixByteReal(r);
    p->LabelsAcross = r.ReadInt16();
    p->LabelsDown = r.ReadInt16();
    p->TopMargin = ReadSixByteReal(r);
    p->LeftMargin = ReadSixByteReal(r);
    p->HorizontalGap = ReadSixByteReal(r);
    p->VerticalGap = ReadSixByteReal(r);
    p->Portrait = r.ReadBool();
    p->EnvelopeFeed = r.ReadInt16();
    p->Unit = r.ReadInt16();
    p->FaceUp = r.ReadBool();
    p->RotateEnvelope = version >= 6 ? r.ReadBool() : false;
    return p;
}

void TPaper::Write(TStreamWriter& w, int) const {
    WriteCountedText(w, Name);
    w.WriteInt16(static_cast<std::int16_t>(Number));
    w.WriteInt16(static_cast<std::int16_t>(Type));
    w.WriteInt16(static_cast<std::int16_t>(SystemCode));
    WriteSixByteReal(w, Width);
    WriteSixByteReal(w, Height);
    WriteSixByteReal(w, LabelWidth);
    WriteSixByteReal(w, LabelHeight);
    w.WriteInt16(static_cast<std::int16_t>(LabelsAcross));
    w.WriteInt16(static_cast<std::int16_t>(LabelsDown));
    WriteSixByteReal(w, TopMargin);
    WriteSixByteReal(w, LeftMargin);
    WriteSixByteReal(w, HorizontalGap);
    WriteSixByteReal(w, VerticalGap);
    w.WriteBool(Portrait);
    w.WriteInt16(static_cast<std::int16_t>(EnvelopeFeed));
    w.WriteInt16(static_cast<std::int16_t>(Unit));
    w.WriteBool(FaceUp);
    w.WriteBool(RotateEnvelope);
}

TPaper* TPaperList::ByNumber(int number) const {
    for (const auto& p : *this)
        if (p && p->Number == number)
            return p.get();
    return nullptr;
}

TPaper* TPaperList::ByName(std::string_view name) const {
    for (const auto& p : *this)
        if (p && SameText(p->Name.view(), name))
            return p.get();
    return nullptr;
}

int TPaperList::NumberByName(std::string_view name) const {
    const TPaper* p = ByName(name);
    return p ? p->Number : kNoNumber;
}

std::string TPaperList::NameByNumber(int number) const {
    const TPaper* p = ByNumber(number);
    return p ? p->NameText() : std::string();
}

std::string TPaperList::NameAt(int i) const {
    const TPaper* p = At(i);
    return p ? p->NameText() : std::string();
}

int TPaperList::TypeAt(int i) const {
    const TPaper* p = At(i);
    return p ? p->Type : 0;
}

int TPaperList::TypeByNumber(int number) const {
    const TPaper* p = ByNumber(number);
    return p ? p->Type : 0;
}

int TPaperList::TakeNumber() {
    if (NextNumber < 0 || NextNumber > INT16_MAX)
        return kNoNumber;
    // A number some paper already holds (a file written by hand) is stepped over.
    while (NextNumber <= INT16_MAX && Exists(NextNumber))
        ++NextNumber;
    if (NextNumber > INT16_MAX)
        return kNoNumber;
    return NextNumber++;
}

TPaper* TPaperList::Create(std::string_view name, int type, int countryCode) {
    if (Count() >= kMaxListCount)
        return nullptr;
    const int number = TakeNumber();
    if (number == kNoNumber)
        return nullptr;
    auto p = std::make_unique<TPaper>();
    p->SetName(name);
    p->Number = number;
    p->Type = type;
    p->Unit = countryCode == 1 ? kUnitInches : kUnitMillimetres;
    return Add(std::move(p));
}

TPaper* TPaperList::Duplicate(const TPaper& source) {
    if (Count() >= kMaxListCount)
        return nullptr;
    const int number = TakeNumber();
    if (number == kNoNumber)
        return nullptr;
    auto p = std::make_unique<TPaper>(source);
    p->Number = number;
    p->SystemCode = kUserPaperCode;
    return Add(std::move(p));
}

void TPaperList::Remove(const TPaper* paper) {
    Delete(IndexOf(paper));
}

void TPaperList::Read(TStreamReader& r, int version) {
    NextNumber = r.ReadInt16();
    ReadItems(r, version);
}

void TPaperList::Write(TStreamWriter& w) const {
    w.WriteInt16(static_cast<std::int16_t>(NextNumber));
    WriteItems(w, kCatalogueVersion);
}

} // namespace tessaly
