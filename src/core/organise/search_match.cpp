#include "core/organise/search_match.h"

#include "core/common/upper_case.h"

#include <algorithm>

namespace tessaly {

namespace {

bool IsWordChar(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Name fields, address fields other than the address, reminder texts and attachment
// descriptions are searched as at most 255 characters; notes and address whole.
std::string_view Short(const Text& t) {
    const std::string_view s = TextValue(t);
    return s.substr(0, std::min(s.size(), kShortStringMax));
}

std::string_view Whole(const Text& t) {
    return TextValue(t);
}

std::string_view NameFieldText(const TRecord& entry, int i) {
    const Text& t = entry.NameFields[static_cast<std::size_t>(i)];
    return i == kFieldNotes ? Whole(t) : Short(t);
}

std::string_view AddressFieldText(const TAddress& address, int i) {
    const Text& t = address.Fields[static_cast<std::size_t>(i)];
    return i == kFieldAddress ? Whole(t) : Short(t);
}

bool AddressMatches(const TAddress& address, int fieldNo, const TRule& rule) {
    if (fieldNo == kRuleAllFields) {
        for (int i = 0; i < kAddressFields; ++i)
            if (TextMatches(AddressFieldText(address, i), rule))
                return true;
        return false;
    }
    if (fieldNo < 0 || fieldNo >= kAddressFields)
        return false;
    return TextMatches(AddressFieldText(address, fieldNo), rule);
}

bool InDayRange(TDateTime when, const TRule& rule) {
    const TDateTime day = DateOf(when);
    return DateOf(rule.FromDate) <= day && day <= DateOf(rule.ToDate);
}

bool AnyAttachmentMatches(const TRecord& entry, const TRule& rule) {
    for (const auto& doc : entry.Attachments)
        if (doc && TextMatches(Short(doc->Description), rule))
            return true;
    return false;
}

bool InCategories(const TFilter& search, const TRecord& entry) {
    const TCategoryInUseList& wanted = search.CategoriesInUse;
    if (wanted.Empty())
        return entry.CategoriesInUse.Empty();
    for (const auto& w : wanted) {
        const bool member = entry.CategoriesInUse.FindMembership(w->CategoryId) >= 0;
        if (search.AnyCategory && member)
            return true;
        if (!search.AnyCategory && !member)
            return false;
    }
    return !search.AnyCategory;
}

// Rules that read a name field other than the notes, or one of the entry's own
// dates, touch no further memory; the others follow pointers into addresses,
// reminders, attachments or long notes. Every rule must hold, so testing the cheap
// ones first gives the same answer sooner.
bool IsCheapRule(const TRule& rule) {
    if (rule.TemplateNo != -1)
        return false;
    return (rule.FieldNo >= 0 && rule.FieldNo < kFieldNotes) || rule.FieldNo == kRuleCreated ||
           rule.FieldNo == kRuleLastModified || rule.FieldNo == kRuleLastCalled;
}

bool HasDueReminder(const TRecord& entry, TDateTime today) {
    for (const auto& r : entry.Reminders)
        if (r && ReminderStatus(*r, today) <= kReminderPending)
            return true;
    return false;
}

} // namespace

bool TextMatches(std::string_view field, std::string_view text, bool matchCase, bool wholeWords) {
    if (field.empty() || text.size() > field.size())
        return false;
    if (text.empty())
        return true;
    const std::size_t n = field.size();
    const std::size_t m = text.size();
    auto same = [matchCase](char a, char b) {
        return matchCase ? a == b : UpperChar(a) == UpperChar(b);
    };
    for (std::size_t i = 0; i + m <= n; ++i) {
        // The first character rules out most places cheaply.
        if (!same(field[i], text[0]))
            continue;
        if (wholeWords && ((i > 0 && IsWordChar(static_cast<unsigned char>(field[i - 1]))) ||
                           (i + m < n && IsWordChar(static_cast<unsigned char>(field[i + m])))))
            continue;
        std::size_t j = 1;
        while (j < m && same(field[i + j], text[j]))
            ++j;
        if (j == m)
            return true;
    }
    return false;
}

bool TextMatches(std::string_view field, const TRule& rule) {
    return TextMatches(field, rule.Text, rule.MatchCase != 0, rule.WholeWords != 0);
}

bool RuleHolds(const TRule& rule, const TRecord& entry) {
    if (rule.TemplateNo != -1) {
        const TAddress* address = entry.Addresses.At(entry.Addresses.FindAddress(rule.TemplateNo));
        return address && AddressMatches(*address, rule.FieldNo, rule);
    }
    switch (rule.FieldNo) {
    case kRuleAllFields:
        for (int i = 0; i < kNameFields; ++i)
            if (TextMatches(NameFieldText(entry, i), rule))
                return true;
        if (AnyAttachmentMatches(entry, rule))
            return true;
        for (const auto& address : entry.Addresses)
            if (address && AddressMatches(*address, kRuleAllFields, rule))
                return true;
        return false;
    case kRuleReminders:
        for (const auto& r : entry.Reminders)
            if (r && InDayRange(r->When, rule))
                return true;
        return false;
    case kRuleReminderDescriptions:
    case kRuleReminderNotes:
        for (const auto& r : entry.Reminders)
            if (r &&
                TextMatches(Short(rule.FieldNo == kRuleReminderNotes ? r->Notes : r->Description),
                            rule))
                return true;
        return false;
    case kRuleCreated:
        return InDayRange(entry.Created, rule);
    case kRuleLastModified:
        return InDayRange(entry.Updated, rule);
    case kRuleLastCalled:
        return InDayRange(entry.LastCalled, rule);
    case kRuleAttachmentDescriptions:
        return AnyAttachmentMatches(entry, rule);
    default:
        if (rule.FieldNo >= 0 && rule.FieldNo < kNameFields)
            return TextMatches(NameFieldText(entry, rule.FieldNo), rule);
        return false;
    }
}

bool SearchReadsTexts(const TFilter& search) {
    return std::any_of(search.Rules.begin(), search.Rules.end(), [](const auto& rule) {
        if (!rule || rule->TemplateNo != -1)
            return rule != nullptr;
        switch (rule->FieldNo) {
        case kRuleReminders:
        case kRuleCreated:
        case kRuleLastModified:
        case kRuleLastCalled:
            return false;
        default:
            return true;
        }
    });
}

bool EntryMatches(const TFilter& search, const TRecord& entry, std::string_view sortText,
                  TDateTime today) {
    // The characters pass through a short string, as the sort text does.
    if (search.StartsWithOn && !StartsWithNoCase(sortText, Short(search.StartsWith)))
        return false;
    if (search.CategoriesOn && !InCategories(search, entry))
        return false;
    if (search.ExcludeTagged && entry.Tagged)
        return false;
    if (search.ExcludeUntagged && !entry.Tagged)
        return false;
    if (search.ExcludeNoDueReminders && !HasDueReminder(entry, today))
        return false;
    if (search.ExcludeNoAttachments && entry.Attachments.Empty())
        return false;
    for (const auto& rule : search.Rules)
        if (rule && IsCheapRule(*rule) && !RuleHolds(*rule, entry))
            return false;
    for (const auto& rule : search.Rules)
        if (rule && !IsCheapRule(*rule) && !RuleHolds(*rule, entry))
            return false;
    return true;
}

} // namespace tessaly
