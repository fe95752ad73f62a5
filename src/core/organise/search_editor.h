#pragma once
// The search dialog's working state over a book's saved searches: the copy kept for
// Cancel, the field choices of the rule editor, the rules being edited, storing the
// basic options with their checks, switching the active search, "Save As", renaming
// and deleting. The dialog shows what this gives and forwards what the user does.

#include "core/common/date_format.h"
#include "core/common/dialog_message.h"
#include "core/store/category.h"
#include "core/store/filter.h"
#include "core/store/template.h"
#include "core/system/clock.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

// One choice of the rule editor's field list: "-1 13 Entry Created".
struct TSearchFieldChoice {
    std::string Text;
    int TemplateNo = -1;
    int FieldNo = -1;
    bool IsDate = false; // the choice takes a date-range rule
};

// What the field list shows of a choice: its text without the template and field
// numbers in front ("Entry Created", "[Address 1]  Company").
std::string ChoiceCaption(const TSearchFieldChoice& choice);

// Every searchable field of a book, in the order the rule editor lists them.
std::vector<TSearchFieldChoice> SearchFieldChoices(const TTemplateList& templates);
// The choice whose template and field a rule names; -1 when there is none.
int FindFieldChoice(const std::vector<TSearchFieldChoice>& choices, int templateNo, int fieldNo);

// The basic options as the controls show them.
struct TSearchOptions {
    bool StartsWithOn = false;
    std::string StartsWith;
    bool CategoriesOn = false;
    bool AnyCategory = true;
    std::vector<std::string> Categories; // the ticked category names
    bool ExcludeTagged = false;
    bool ExcludeUntagged = false;
    bool ExcludeNoDueReminders = false;
    bool ExcludeNoAttachments = false;
};

// A refusal and the control that takes the focus.
enum class TSearchFocus { None, StartsWith, NotTagged, RuleText, FromDate, ToDate };
struct TSearchFault {
    TDialogMessage Message;
    TSearchFocus Focus = TSearchFocus::None;
};

// What the rule editor holds when "A&dd" or "&Update" is pressed.
struct TRuleInput {
    int Choice = 0; // index into Choices()
    std::string Text;
    bool MatchCase = false;
    bool WholeWords = false;
    std::string FromText; // the date boxes, in the short date format
    std::string ToText;
};

class TSearchEditor {
public:
    // Takes the copy of the list that Cancel puts back.
    TSearchEditor(TFilterList& searches, const TTemplateList& templates,
                  const TCategoryList& categories, const TFormatSettings& fs,
                  const IClock& clock = SystemClock::Instance());

    const std::vector<TSearchFieldChoice>& Choices() const { return choices_; }
    // The names of every search in list order, "<Untitled>" first.
    std::vector<std::string> Names() const;
    // The index of the current (active) search.
    int Current() const;
    // The category names the pick list shows (those not marked deleted).
    std::vector<std::string> CategoryNames() const;

    // The current search as the controls show it: options and rules being edited.
    TSearchOptions Options() const;
    const TRulesList& Rules() const { return rules_; }
    // The three column texts of a rule of the list.
    std::vector<std::string> RuleTexts(int i) const;
    // "Note: Basic Filter is Active" heads the rule list when this holds.
    bool BasicActive() const;

    // Stores the controls into the current search; nothing is stored on a refusal.
    std::optional<TSearchFault> Store(const TSearchOptions& options);
    // "Active Search": stores first; on a refusal the current search stays.
    std::optional<TSearchFault> ChooseActive(int i, const TSearchOptions& options);

    // The rule editor. Add appends and Update replaces rule `i`; both validate first.
    std::optional<TSearchFault> AddRule(const TRuleInput& input);
    std::optional<TSearchFault> UpdateRule(int i, const TRuleInput& input);
    bool DeleteRule(int i);
    // The editor's contents for a rule: its choice, text and flags, and dates.
    TRuleInput RuleInput(int i) const;

    // "Sa&ve As" after the name dialog's OK: stores the controls, then saves them under
    // the name (a new search, or the one of that name), which becomes active.
    std::optional<TSearchFault> SaveAs(const std::string& name, const TSearchOptions& options);
    // "Saved Searches" page. "<Untitled>" is never deleted nor renamed; the active
    // search is not deleted.
    bool CanDelete(int i) const;
    bool CanRename(int i) const;
    TDialogMessage DeleteQuestion(int i) const;
    // Deletes and gives the index to select next (-1 when nothing was deleted).
    int Delete(int i);
    // The name dialog's check for renaming search `i`.
    std::optional<TDialogMessage> CheckRename(int i, const std::string& name) const;
    bool Rename(int i, const std::string& name);

    // Cancel: the list exactly as it was at opening.
    void Cancel();

private:
    void Load();
    std::optional<TSearchFault> MakeRuleFrom(const TRuleInput& input, TRule& rule) const;

    TFilterList& searches_;
    const TFilterList saved_;
    const TTemplateList& templates_;
    const TCategoryList& categories_;
    const TFormatSettings fs_;
    const IClock& clock_;
    std::vector<TSearchFieldChoice> choices_;
    TRulesList rules_;
};

} // namespace tessaly
