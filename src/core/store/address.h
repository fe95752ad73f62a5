#pragma once
// TAddress: one address of an entry, laid out by the template it names, with the
// dialling settings of its four telephone fields. TAddressList: an entry's addresses.

#include "core/store/my_list.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

constexpr int kAddressFields = 7;
// Address field numbers.
constexpr int kFieldPosition = 0;
constexpr int kFieldCompany = 1;
constexpr int kFieldAddress = 2; // several lines, unbounded
constexpr int kFirstPhoneField = 3;
constexpr int kLastPhoneField = 6;
constexpr int kPhoneFields = 4;

// The four per-number dialling settings of a telephone field.
enum class TDialSetting { UseDefaultDialling, PrefixOn, ChargeCard, LogCall };

class TAddress {
public:
    std::int16_t TemplateId = 0;
    std::uint8_t AddressFlag = 0;
    std::array<Text, kAddressFields> Fields;
    std::array<std::uint8_t, kPhoneFields> UseDefaultDialling{1, 1, 1, 1};
    std::array<std::uint8_t, kPhoneFields> PrefixOn{};
    std::array<std::uint8_t, kPhoneFields> ChargeCard{};
    std::array<std::uint8_t, kPhoneFields> LogCall{};
    std::array<Text, kPhoneFields> Prefix;

    explicit TAddress(int templateId = 0);

    // Field i as a text (empty out of 0-6).
    std::string Field(int i) const;
    // Fields 0, 1 and 3-6 are cut to 255 characters; the address field 2 keeps its
    // line breaks and is capped only by the file's text limit. Ignored out of 0-6.
    void SetField(int i, std::string_view value);

    // A setting of telephone field 3-6. Outside 3-6, UseDefaultDialling reads 1 and
    // the others 0, and writes are ignored.
    int DialSetting(TDialSetting which, int field) const;
    void SetDialSetting(TDialSetting which, int field, bool on);
    std::string PrefixOf(int field) const;              // empty outside 3-6
    void SetPrefix(int field, std::string_view prefix); // cut to 255; ignored outside 3-6

    static std::unique_ptr<TAddress> Read(TStreamReader& r, int version);
    // The same for a reader that steps over texts: the fields whose bit is set in
    // `kept` (bit n for field n) are read all the same.
    static std::unique_ptr<TAddress> Read(TStreamReader& r, int version, std::uint32_t kept);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TAddress&) const = default;

private:
    // An address whose texts are all about to be read: they are not made empty first.
    struct ReadTag {};
    explicit TAddress(ReadTag) {}
};

class TAddressList : public TMyList<TAddress> {
public:
    // Appends an address for a template number; returns its index.
    int AddAddress(int templateId);
    // Inserts one at 0 <= position <= Count(); -1 for any other position.
    int InsertAddress(int position, int templateId);
    // Template number of address i, -1 when out of range.
    int AddressTemplateId(int i) const;
    // Index of the first address with a template number, -1 if none.
    int FindAddress(int templateId) const;

    // Field readers and writers by address index; writers ignore a missing address.
    std::string FieldOf(int address, int field) const;
    void SetFieldOf(int address, int field, std::string_view value);
    // 1 for every setting when the address index is past the end of the list.
    int DialSettingOf(int address, TDialSetting which, int field) const;
    void SetDialSettingOf(int address, TDialSetting which, int field, bool on);
    std::string PrefixOfAddress(int address, int field) const;
    void SetPrefixOf(int address, int field, std::string_view prefix);

    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    // For a listing, whose reader steps over texts: only the first address is kept,
    // with the fields whose bits are set in `firstKept` (TAddress::Read), and only
    // when it keeps some; the others are read and dropped.
    void ReadListed(TStreamReader& r, int version, std::uint32_t firstKept);
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

} // namespace tessaly
