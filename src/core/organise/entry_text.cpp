#include "core/organise/entry_text.h"

#include "core/store/book.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace tessaly {

namespace {

// The value an index key names: a name field, or a field of the first address. It
// points into the entry, so building a text copies each value only once.
std::string_view KeyValue(const TRecord& entry, int code) {
    if (code < kAddressKeyBase)
        return code >= 0 && code < kNameFields
                   ? std::string_view(TextValue(entry.NameFields[static_cast<std::size_t>(code)]))
                   : std::string_view();
    const TAddress* first = entry.Addresses.At(0);
    const int field = code - kAddressKeyBase;
    return first && field < kAddressFields
               ? std::string_view(TextValue(first->Fields[static_cast<std::size_t>(field)]))
               : std::string_view();
}

// The key values joined as a short string is built: each after a blank, the whole cut to
// 255 characters as it grows and trimmed after each key. Built in place in a buffer of
// the short string's room, so that the text is copied once.
std::string BuildKeyText(const TRecord& entry, const TIndexList& keys, bool sortKeysOnly,
                         bool breaksAsBlanks) {
    std::array<char, kShortStringMax> s;
    std::size_t n = 0;
    const auto append = [&](std::string_view more) {
        const std::size_t m = std::min(more.size(), kShortStringMax - n);
        std::copy_n(more.data(), m, s.data() + n);
        n += m;
    };
    for (const TIndex& key : keys) {
        if (sortKeysOnly && !key.SortBy)
            continue;
        const std::size_t from = n;
        append(" ");
        append(KeyValue(entry, key.Code));
        if (breaksAsBlanks)
            std::replace_if(
                s.begin() + static_cast<std::ptrdiff_t>(from),
                s.begin() + static_cast<std::ptrdiff_t>(n),
                [](char c) { return c == '\r' || c == '\n'; }, ' ');
        // Trimming after each key keeps an empty value from adding a blank.
        const std::string_view kept = TrimmedView(std::string_view(s.data(), n));
        std::memmove(s.data(), kept.data(), kept.size()); // the two may overlap
        n = kept.size();
    }
    return std::string(s.data(), n);
}

std::string AddressField(const TRecord& entry, int addressIndex, int field) {
    return entry.Addresses.FieldOf(addressIndex, field);
}

} // namespace

const TIndexList& EffectiveKeys(const TRecord& entry, const TIndexList& bookKeys) {
    return entry.UseDefaultKeys ? bookKeys : entry.Keys;
}

void ApplyBookKeys(TRecord& entry, const TIndexList& bookKeys) {
    // Most entries already hold the book's keys; copy only when they differ.
    if (entry.UseDefaultKeys && !(entry.Keys == bookKeys))
        AssignKeys(entry.Keys, bookKeys);
}

std::string DisplayText(const TRecord& entry, const TIndexList& bookKeys) {
    std::string s = BuildKeyText(entry, EffectiveKeys(entry, bookKeys), false, true);
    if (s.empty())
        s = kNoIndexText;
    return s; // built as a short string: at most 255 characters
}

bool ShowsNoIndex(const TRecord& entry, const TIndexList& bookKeys) {
    // The display text starts with the first character above a blank of the first key
    // value holding one (the keys' texts are trimmed as they are joined). Only when that
    // character could begin the "no index" text, or lies so far in that the 255-character
    // cut might leave it out, is the whole text built.
    for (const TIndex& key : EffectiveKeys(entry, bookKeys)) {
        const std::string_view value = KeyValue(entry, key.Code);
        const auto shown = std::find_if(value.begin(), value.end(),
                                        [](char c) { return static_cast<unsigned char>(c) > ' '; });
        if (shown == value.end())
            continue;
        if (*shown != kNoIndexText.front() && shown - value.begin() < 128)
            return false;
        break;
    }
    return DisplayText(entry, bookKeys) == kNoIndexText;
}

std::string DisplayText(TRecord& entry, const TIndexList& bookKeys) {
    ApplyBookKeys(entry, bookKeys);
    return DisplayText(static_cast<const TRecord&>(entry), bookKeys);
}

std::string SortText(const TRecord& entry, const TIndexList& bookKeys) {
    std::string s = BuildKeyText(entry, EffectiveKeys(entry, bookKeys), true, false);
    if (s.empty())
        return DisplayText(entry, bookKeys);
    return s; // built as a short string: at most 255 characters
}

bool SortTextIsDisplayText(const TRecord& entry, const TIndexList& bookKeys,
                           std::string_view sortText) {
    const TIndexList& keys = EffectiveKeys(entry, bookKeys);
    // Both are built from the same values, trimmed after each key; they differ only in
    // the keys taken and in line breaks, which the display shows as blanks.
    return std::all_of(keys.begin(), keys.end(),
                       [](const TIndex& key) { return key.SortBy != 0; }) &&
           std::none_of(sortText.begin(), sortText.end(),
                        [](char c) { return c == '\r' || c == '\n'; });
}

std::string SortText(TRecord& entry, const TIndexList& bookKeys) {
    ApplyBookKeys(entry, bookKeys);
    return SortText(static_cast<const TRecord&>(entry), bookKeys);
}

std::string SortValue(const TRecord& entry, int sortField) {
    if (sortField >= 0 && sortField <= 2)
        return CutShort(entry.NameField(sortField));
    if (sortField == 3 || sortField == 4 || (sortField >= 6 && sortField <= 9))
        return CutShort(AddressField(entry, 0, sortField - 3));
    if (sortField >= 10 && sortField <= 15)
        return CutShort(entry.NameField(sortField - 7));
    if (sortField >= 16 && sortField <= 21)
        return AddressLine(AddressField(entry, 0, kFieldAddress), sortField - 15);
    return std::string();
}

std::optional<std::string_view> StoredFieldView(const TRecord& entry, int dataField,
                                                int addressIndex) {
    const auto nameField = [&](int i) {
        return TextValue(entry.NameFields[static_cast<std::size_t>(i)]);
    };
    const auto addressField = [&](int i) {
        const TAddress* a = entry.Addresses.At(addressIndex);
        return a ? TextValue(a->Fields[static_cast<std::size_t>(i)]) : std::string_view();
    };
    switch (dataField) {
    case kDataTitle:
    case kDataFirstName:
    case kDataSurname:
        return nameField(dataField);
    case kDataPosition:
    case kDataCompany:
        return addressField(dataField - kDataPosition);
    case kDataPhone1:
    case kDataPhone1 + 1:
    case kDataPhone1 + 2:
    case kDataPhone1 + 3:
        return addressField(dataField - kDataPhone1 + kFirstPhoneField);
    case kDataNotes:
        return entry.Notes();
    default:
        break;
    }
    if (dataField >= kDataOtherName && dataField < kDataOtherName + 6)
        return nameField(dataField - kDataOtherName + kFieldSalutation);
    return std::nullopt;
}

Text FieldValue(const TRecord& entry, int dataField, int addressIndex, const TBookData& book) {
    if (const auto stored = StoredFieldView(entry, dataField, addressIndex))
        return Text(*stored);
    switch (dataField) {
    case kDataAddress:
        return FormattedAddress(entry, addressIndex, book);
    case kDataSortText:
        return SortText(entry, book.IndexKeys);
    case kDataSortInitial:
        return SortText(entry, book.IndexKeys).substr(0, 1);
    case kDataDisplayText:
        return DisplayText(entry, book.IndexKeys);
    default:
        return std::nullopt;
    }
}

std::string AddressLine(std::string_view text, int n) {
    if (n < 1)
        return std::string();
    std::size_t pos = 0;
    for (int line = 1; pos <= text.size(); ++line) {
        const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        if (line == n)
            return CutShort(text.substr(pos, end - pos));
        if (end == text.size())
            break;
        // A carriage return directly followed by a line feed is one break.
        pos = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return std::string();
}

std::string FormattedAddress(const TRecord& entry, int addressIndex, const TBookData& book) {
    const TAddress* address = entry.Addresses.At(addressIndex);
    if (!address)
        return std::string();
    const std::string text = address->Field(kFieldAddress);
    const TTemplate* tpl = book.Templates.TemplateOfId(address->TemplateId);
    const int format = tpl ? tpl->AddressFormat : kFormatFreeform;

    std::string out;
    switch (format) {
    case kFormatSeparate:
    case kFormatUK:
        for (int n = 1; n <= 5; ++n) {
            const std::string line = AddressLine(text, n);
            if (!line.empty())
                out += line + "\r\n";
        }
        return out;
    case kFormatUS:
        for (int n = 1; n <= 5; ++n) {
            std::string line = AddressLine(text, n);
            if (line.empty())
                continue;
            if (n <= 2) {
                out += line + "\r\n";
            } else if (n == 4) {
                if (line.back() != ',')
                    line += ',';
                out += line + "   ";
            } else {
                out += line + "   ";
            }
        }
        return out;
    default:
        return text;
    }
}

} // namespace tessaly
