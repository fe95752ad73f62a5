#pragma once
// Saved searches: TFilter restricts the entries a book window lists, by basic options
// and by rules (TRule); TFilterList holds a book's searches and names the active one.

#include "core/common/date_time.h"
#include "core/store/category.h"
#include "core/store/my_list.h"

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

// A new rule. A text rule gets both dates 0; the text is cut to 255 characters.
std::unique_ptr<TRule> MakeRule(int fieldNo, int templateNo, bool isText, TDateTime fromDate,
                                TDateTime toDate, bool wholeWords, bool matchCase,
                                std::string_view text);
// Sets the same values on an existing rule.
void UpdateRule(TRule& rule, int fieldNo, int templateNo, bool isText, TDateTime fromDate,
                TDateTime toDate, bool wholeWords, bool matchCase, std::string_view text);

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
    // Whether the search restricts anything: a basic option is set, or (unless only
    // the basic options are asked for) it has rules.
    bool IsActive(bool basicOnly) const;

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
    // The search named by ActiveName; when no search has that name (a deleted search,
    // a damaged file) the "<Untitled>" search, else the first. nullptr only for an
    // empty list.
    TFilter* ActiveSearch() const;
    // Makes sure "<Untitled>" exists and stands at index 0, and that ActiveName names
    // a search (else "<Untitled>"). Returns true when something was changed.
    bool EnsureUntitled();
    // Makes the search of a name active, appending a new search with the defaults
    // first when there is none. Returns its index; -1 (nothing changes) for a name
    // that is empty after trimming.
    int SelectSearch(std::string_view name);
    // Renames a saved search; the active name follows. Refused (false) for
    // "<Untitled>", an index out of range, an empty name, and a name another search
    // already has (case-insensitive).
    bool RenameSearch(int i, std::string_view name);
    // Deletes a saved search; deleting the active one makes "<Untitled>" active.
    // Refused (false) for "<Untitled>" and an index out of range.
    bool DeleteSearch(int i);
    // "<Untitled>" becomes active and is reset to the defaults.
    void ClearSearch();
    // Whether the active search restricts anything (TFilter::IsActive).
    bool SearchIsActive(bool basicOnly) const;
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
