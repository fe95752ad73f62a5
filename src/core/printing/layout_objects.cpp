#include "core/printing/layout_objects.h"

#include "core/printing/catalogue_file.h"
#include "core/printing/counted_text.h"
#include "core/printing/six_byte_real.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace tessaly {

int BoxBehaviour(int kind) {
    return kind >= kBoxData && kind <= kBoxPageNumber ? kind : kBoxData;
}

bool BoxHasFormat(int kind) {
    return (kind >= kBoxDate && kind <= kBoxLastCalled) || kind == kBoxPageNumber ||
           kind == kBoxGraphic;
}

std::string DefaultBoxFormat(int kind) {
    switch (kind) {
    case kBoxDate:
    case kBoxDatePrinted:
    case kBoxCreated:
    case kBoxUpdated:
    case kBoxLastCalled:
        return "ddddd";
    case kBoxTime:
    case kBoxTimePrinted:
        return "t";
    case kBoxPageNumber:
        return "%.1d";
    default:
        return std::string();
    }
}

std::unique_ptr<TFields> TFields::Read(TStreamReader& r, int version) {
    auto f = std::make_unique<TFields>();
    ReadCountedText(r, f->Caption);
    f->FieldNumber = r.ReadInt16();
    f->Kind = r.ReadInt16();
    f->SingleLine = version >= 6 ? r.ReadBool() : true;
    return f;
}

void TFields::Write(TStreamWriter& w, int) const {
    WriteCountedText(w, Caption);
    w.WriteInt16(static_cast<std::int16_t>(FieldNumber));
    w.WriteInt16(static_cast<std::int16_t>(Kind));
    w.WriteBool(SingleLine);
}

std::unique_ptr<TLayoutBox> TLayoutBox::Read(TStreamReader& r, int kind, int version) {
    auto b = std::make_unique<TLayoutBox>();
    b->Kind = kind;
    b->Source = r.ReadInt16();
    b->Items.ReadItems(r, version);
    b->Alignment = r.ReadByte();
    b->BrushColour = static_cast<std::uint32_t>(r.ReadInt32());
    b->BrushStyle = r.ReadByte();
    b->PenColour = static_cast<std::uint32_t>(r.ReadInt32());
    b->PenStyle = r.ReadByte();
    b->PenWidth = r.ReadInt16();
    b->Left = ReadSixByteReal(r);
    b->Top = ReadSixByteReal(r);
    b->Width = ReadSixByteReal(r);
    b->Height = ReadSixByteReal(r);
    b->FontColour = static_cast<std::uint32_t>(r.ReadInt32());
    b->FontSize = r.ReadInt16();
    b->FontStyle = r.ReadByte();
    std::array<std::uint8_t, kFontNameMax + 1> font{};
    r.ReadBytes(font.data(), font.size());
    if (font[0] > kFontNameMax)
        throw StreamError("font name longer than its field");
    b->FontName.assign(reinterpret_cast<const char*>(font.data() + 1), font[0]);
    if (BoxHasFormat(kind))
        ReadCountedText(r, b->Format);
    return b;
}

void TLayoutBox::Write(TStreamWriter& w) const {
    w.WriteInt16(static_cast<std::int16_t>(Kind));
    w.WriteInt16(static_cast<std::int16_t>(Source));
    Items.WriteItems(w, kCatalogueVersion);
    w.WriteByte(static_cast<std::uint8_t>(Alignment));
    w.WriteInt32(static_cast<std::int32_t>(BrushColour));
    w.WriteByte(static_cast<std::uint8_t>(BrushStyle));
    w.WriteInt32(static_cast<std::int32_t>(PenColour));
    w.WriteByte(static_cast<std::uint8_t>(PenStyle));
    w.WriteInt16(static_cast<std::int16_t>(PenWidth));
    WriteSixByteReal(w, Left);
    WriteSixByteReal(w, Top);
    WriteSixByteReal(w, Width);
    WriteSixByteReal(w, Height);
    w.WriteInt32(static_cast<std::int32_t>(FontColour));
    w.WriteInt16(static_cast<std::int16_t>(FontSize));
    w.WriteByte(static_cast<std::uint8_t>(FontStyle));
    // A length byte and up to 31 characters; the unused bytes are zero.
    std::array<std::uint8_t, kFontNameMax + 1> font{};
    const std::size_t n = std::min(FontName.size(), kFontNameMax);
    font[0] = static_cast<std::uint8_t>(n);
    std::copy_n(FontName.begin(), n, font.begin() + 1);
    w.WriteBytes(font.data(), font.size());
    if (BoxHasFormat(Kind))
        WriteCountedText(w, Format);
}

double TLayoutObjects::DetailHeight() const {
    double height = 0;
    for (const auto& b : Body)
        height = std::max(height, b.Bottom());
    return height;
}

std::string ObjectFileName(int layoutNumber) {
    char name[32];
    std::snprintf(name, sizeof name, "%08d.TPL", layoutNumber);
    return name;
}

int ObjectFileNumber(const std::string& fileName) {
    if (fileName.size() != 12)
        return -1;
    int number = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const unsigned char c = static_cast<unsigned char>(fileName[i]);
        if (!std::isdigit(c))
            return -1;
        number = number * 10 + (c - '0');
    }
    std::string ext = fileName.substr(8);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ext == ".TPL" ? number : -1;
}

namespace {

void ReadBand(TStreamReader& r, int version, TBand& band) {
    const int last = r.ReadInt16(); // the number of boxes less one; -1 for none
    if (last < -1)
        throw StreamError("band count below -1");
    band.clear();
    for (int i = 0; i <= last; ++i) {
        const int kind = r.ReadInt16();
        band.push_back(std::move(*TLayoutBox::Read(r, kind, version)));
    }
}

void WriteBand(TStreamWriter& w, const TBand& band) {
    if (band.size() > static_cast<std::size_t>(kMaxListCount))
        throw StreamError("too many objects in a band");
    w.WriteInt16(static_cast<std::int16_t>(static_cast<int>(band.size()) - 1));
    for (const auto& b : band)
        b.Write(w);
}

} // namespace

bool ParseLayoutObjects(std::span<const std::uint8_t> bytes, TLayoutObjects& out) {
    TLayoutObjects read;
    const bool ok = ParseFramedImage(bytes, [&read](TStreamReader& r, int version) {
        ReadBand(r, version, read.Header);
        ReadBand(r, version, read.Body);
        ReadBand(r, version, read.Footer);
    });
    if (ok)
        out = std::move(read);
    return ok;
}

std::vector<std::uint8_t> WriteLayoutObjects(const TLayoutObjects& objects) {
    return WriteFramedImage([&objects](TStreamWriter& w) {
        WriteBand(w, objects.Header);
        WriteBand(w, objects.Body);
        WriteBand(w, objects.Footer);
    });
}

} // namespace tessaly
