#pragma once
// Saved searches: TFilter restricts the entries a book window lists, by basic options
// and by rules (TRule); TFilterList holds a book's searches and names the active one.

#include "common/date_time.h"
#include "store/category.h"
#include "store/my_list.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

// The working search every book has at index 0.
inline constexpr std::string_view kUntitledSearch = "<Untitled>";

// Rule field numbers of entry-level rules (TemplateNo -1); 0-9 are the name fields.
constexpr int kRuleAllFields = -1;
constexpr int kRuleReminders = 10;
constexpr int kRuleReminderDescriptions = 11;
constexpr int kRuleReminderNotes = 12;
constexpr int kRuleCreated = 13;
constexpr int kRuleLastModified = 14;
constexpr int kRuleLastCalled = 15;
constexpr int kRuleAttachmentDescriptions = 16;

// Stored size of one rule.
constexpr std::size_t kRuleSize = 279;

class TRule {
public:
    std::int16_t FieldNo = -1;
    std::int16_t TemplateNo = -1; // -1 an entry-level field, else an address template
    std::uint8_t IsText = 0;      // 1 a text rule, 0 a date rule
    std::string Text;             // at most 255 characters (stored as 256 bytes)
    std::uint8_t MatchCase = 0;
    std::uint8_t WholeWords = 0;
    TDateTime FromDate = 0;
    TDateTime ToDate = 0;

    // Cuts the text to 255 characters.
    void SetText(std::string_view s);

    static std::unique_ptr<TRule> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TRule&) const = default;
};

class TRulesList : public TMyList<TRule> {
public:
    void Read(TStreamReader& r, int version) { ReadItems(r, version); }
    void Write(TStreamWriter& w, int version) const { WriteItems(w, version); }
};

class TFilter {
public:
    Text Name = std::string();
    std::uint8_t StartsWithOn = 0;
    Text StartsWith = std::string();
    std::uint8_t CategoriesOn = 0;
    std::uint8_t AnyCategory = 1;
    TCategoryInUseList CategoriesInUse;
    std::uint8_t ExcludeTagged = 0;
    std::uint8_t ExcludeUntagged = 0;
    std::uint8_t ExcludeNoDueReminders = 0;
    std::uint8_t ExcludeNoAttachments = 0;
    TRulesList Rules;

    TFilter() = default;
    explicit TFilter(std::string_view name);

    // The name is trimmed and cut to 255 characters; StartsWith is cut.
    void SetName(std::string_view name);
    void SetStartsWith(std::string_view s);
    // Back to the defaults of a new search, keeping the name.
    void ResetOptions();

    static std::unique_ptr<TFilter> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TFilter&) const = default;
};

class TFilterList : public TMyList<TFilter> {
public:
    Text ActiveName = std::string(kUntitledSearch);
    std::array<std::int16_t, 2> HeaderWidths{100, 100};

    // Case-insensitive; -1 if none.
    int FindSearch(std::string_view name) const;
    // The search named by ActiveName, nullptr if none.
    TFilter* ActiveSearch() const { return At(FindSearch(TextValue(ActiveName))); }
    // A new book's list: one "<Untitled>" search, which is also the active one.
    static TFilterList Defaults();

    // Before version 2 an unused int16 stands where ActiveName is; the active name
    // then becomes "<Untitled>".
    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TFilterList& o) const {
        return ActiveName == o.ActiveName && HeaderWidths == o.HeaderWidths && ItemsEqual(o);
    }
};

} // namespace tessaly
