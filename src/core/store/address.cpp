#include "core/store/address.h"

#include <algorithm>
#include <array>
#include <span>

namespace tessaly {

namespace {

bool IsPhoneField(int field) {
    return field >= kFirstPhoneField && field <= kLastPhoneField;
}

std::size_t PhoneSlot(int field) {
    return static_cast<std::size_t>(field - kFirstPhoneField);
}

std::string_view CapText(std::string_view s) {
    return s.substr(0, kMaxTextLength);
}

} // namespace

TAddress::TAddress(int templateId) : TemplateId(static_cast<std::int16_t>(templateId)) {
    Fields.fill(std::string());
    Prefix.fill(std::string());
}

std::string TAddress::Field(int i) const {
    if (i < 0 || i >= kAddressFields)
        return std::string();
    return Fields[static_cast<std::size_t>(i)].str();
}

void TAddress::SetField(int i, std::string_view value) {
    if (i < 0 || i >= kAddressFields)
        return;
    Fields[static_cast<std::size_t>(i)] = i == kFieldAddress ? CapText(value) : CutShortView(value);
}

int TAddress::DialSetting(TDialSetting which, int field) const {
    if (!IsPhoneField(field))
        return which == TDialSetting::UseDefaultDialling ? 1 : 0;
    const std::size_t k = PhoneSlot(field);
    switch (which) {
    case TDialSetting::UseDefaultDialling:
        return UseDefaultDialling[k];
    case TDialSetting::PrefixOn:
        return PrefixOn[k];
    case TDialSetting::ChargeCard:
        return ChargeCard[k];
    case TDialSetting::LogCall:
        return LogCall[k];
    }
    return 0;
}

void TAddress::SetDialSetting(TDialSetting which, int field, bool on) {
    if (!IsPhoneField(field))
        return;
    const std::size_t k = PhoneSlot(field);
    const std::uint8_t v = on ? 1 : 0;
    switch (which) {
    case TDialSetting::UseDefaultDialling:
        UseDefaultDialling[k] = v;
        break;
    case TDialSetting::PrefixOn:
        PrefixOn[k] = v;
        break;
    case TDialSetting::ChargeCard:
        ChargeCard[k] = v;
        break;
    case TDialSetting::LogCall:
        LogCall[k] = v;
        break;
    }
}

std::string TAddress::PrefixOf(int field) const {
    return IsPhoneField(field) ? Prefix[PhoneSlot(field)].str() : std::string();
}

void TAddress::SetPrefix(int field, std::string_view prefix) {
    if (IsPhoneField(field))
        Prefix[PhoneSlot(field)] = CutShort(prefix);
}

std::unique_ptr<TAddress> TAddress::Read(TStreamReader& r, int version) {
    return Read(r, version, 0);
}

std::unique_ptr<TAddress> TAddress::Read(TStreamReader& r, int /*version*/, std::uint32_t kept) {
    std::unique_ptr<TAddress> a(new TAddress(ReadTag{}));
    a->TemplateId = r.ReadInt16();
    a->AddressFlag = r.ReadByte();
    for (std::size_t i = 0; i < a->Fields.size(); ++i) {
        if (r.SkipsTexts() && (kept >> i & 1) != 0) {
            const TKeepTexts keep(r);
            r.ReadTextInto(a->Fields[i]);
        } else {
            r.ReadTextInto(a->Fields[i]);
        }
    }
    // The four setting arrays are stored before each prefix; the last copy counts.
    constexpr auto kArray = static_cast<std::size_t>(kPhoneFields);
    constexpr std::size_t kSettings = 4 * kArray;
    std::array<std::uint8_t, kSettings> first{};
    for (std::size_t i = 0; i < a->Prefix.size(); ++i) {
        const std::span<const std::uint8_t> settings = r.ReadSpan(kSettings);
        // Copies that differ are written back as the last one.
        if (i == 0)
            std::copy(settings.begin(), settings.end(), first.begin());
        else if (!std::equal(settings.begin(), settings.end(), first.begin()))
            r.NoteAlteredRead();
        const auto part = [&](std::size_t n) {
            return settings.begin() + static_cast<std::ptrdiff_t>(n * kArray);
        };
        std::copy(part(0), part(1), a->UseDefaultDialling.begin());
        std::copy(part(1), part(2), a->PrefixOn.begin());
        std::copy(part(2), part(3), a->ChargeCard.begin());
        std::copy(part(3), part(4), a->LogCall.begin());
        r.ReadTextInto(a->Prefix[i]);
    }
    return a;
}

void TAddress::Write(TStreamWriter& w, int /*version*/) const {
    w.WriteInt16(TemplateId);
    w.WriteByte(AddressFlag);
    for (const auto& field : Fields)
        w.WriteText(field);
    for (const auto& prefix : Prefix) {
        w.WriteBytes(UseDefaultDialling.data(), kPhoneFields);
        w.WriteBytes(PrefixOn.data(), kPhoneFields);
        w.WriteBytes(ChargeCard.data(), kPhoneFields);
        w.WriteBytes(LogCall.data(), kPhoneFields);
        w.WriteText(prefix);
    }
}

void TAddressList::ReadListed(TStreamReader& r, int version, std::uint32_t firstKept) {
    Clear();
    const int count = r.ReadCount();
    for (int i = 0; i < count; ++i) {
        // A dropped address leaves its memory to the next one: nothing new is touched.
        auto address = TAddress::Read(r, version, i == 0 ? firstKept : 0);
        if (i == 0 && firstKept != 0)
            Add(std::move(address));
    }
}

int TAddressList::AddAddress(int templateId) {
    Add(std::make_unique<TAddress>(templateId));
    return Count() - 1;
}

int TAddressList::InsertAddress(int position, int templateId) {
    if (position < 0 || position > Count())
        return -1;
    Insert(position, std::make_unique<TAddress>(templateId));
    return position;
}

int TAddressList::AddressTemplateId(int i) const {
    const TAddress* a = At(i);
    return a ? a->TemplateId : -1;
}

int TAddressList::FindAddress(int templateId) const {
    for (int i = 0; i < Count(); ++i)
        if (At(i)->TemplateId == templateId)
            return i;
    return -1;
}

std::string TAddressList::FieldOf(int address, int field) const {
    const TAddress* a = At(address);
    return a ? a->Field(field) : std::string();
}

void TAddressList::SetFieldOf(int address, int field, std::string_view value) {
    if (TAddress* a = At(address))
        a->SetField(field, value);
}

int TAddressList::DialSettingOf(int address, TDialSetting which, int field) const {
    const TAddress* a = At(address);
    return a ? a->DialSetting(which, field) : 1;
}

void TAddressList::SetDialSettingOf(int address, TDialSetting which, int field, bool on) {
    if (TAddress* a = At(address))
        a->SetDialSetting(which, field, on);
}

std::string TAddressList::PrefixOfAddress(int address, int field) const {
    const TAddress* a = At(address);
    return a ? a->PrefixOf(field) : std::string();
}

void TAddressList::SetPrefixOf(int address, int field, std::string_view prefix) {
    if (TAddress* a = At(address))
        a->SetPrefix(field, prefix);
}

} // namespace tessaly
