#pragma once
// The rules the template, category, entry-address and search dialogs enforce before
// they store anything. Each check gives nothing when the input passes, or the message
// to show; each question gives the message to ask.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "core/common/dialog_message.h"
#include "core/store/address.h"
#include "core/store/category.h"
#include "core/store/filter.h"
#include "core/store/template.h"
#include "core/system/clock.h"

#include <optional>
#include <string_view>

namespace tessaly {

// Template dialog, on OK: the trimmed name must not be empty nor the name of another
// template (case-insensitive). `editing` is the index of the template being edited,
// -1 for a new one.
std::optional<TDialogMessage> CheckTemplateName(const TTemplateList& templates,
                                                std::string_view name, int editing);
// The question asked when an existing template leaves the freeform format; nothing
// for a new template or any other change.
std::optional<TDialogMessage> FormatChangeQuestion(bool existing, int oldFormat, int newFormat);

// Category dialog, on OK: as for templates.
std::optional<TDialogMessage> CheckCategoryName(const TCategoryList& categories,
                                                std::string_view name, int editing);

// Book options, the Delete button of the address templates: template 0, the first
// address template (index 1) and the template numbered 1 are never marked.
std::optional<TDialogMessage> TemplateDeleteRefusal(const TTemplateList& templates, int i);
// The confirmation asked before an item is marked deleted.
TDialogMessage CategoryDeletionQuestion(std::string_view name);
TDialogMessage TemplateDeletionQuestion(std::string_view name);

// Address templates of one entry: the question before an address is removed, and the
// check on OK that at least one address is left.
TDialogMessage RemoveAddressQuestion(std::string_view templateName);
std::optional<TDialogMessage> CheckEntryAddresses(const TAddressList& addresses);

// Search dialog, storing the basic options: sort characters wanted but none given
// (after trimming); both tag states excluded.
std::optional<TDialogMessage> CheckSearchOptions(bool startsWithOn, std::string_view startsWith,
                                                 bool excludeTagged, bool excludeUntagged);
// A text rule needs text after trimming.
std::optional<TDialogMessage> CheckRuleText(std::string_view text);
// A date rule needs both dates within 1 January 1900 to 31 December 2100 and the
// first not after the last.
std::optional<TDialogMessage> CheckRuleDates(TDateTime fromDate, TDateTime toDate);

// The two dates of a date rule read from their boxes in the short date format (a
// missing year is taken from the clock's today), and checked as above.
struct TRuleDates {
    std::optional<TDialogMessage> Message;
    int Box = -1; // the box at fault: 0 the first, 1 the last, -1 none
    TDateTime FromDate = 0;
    TDateTime ToDate = 0;
};
TRuleDates ReadRuleDates(std::string_view fromText, std::string_view toText,
                         const TFormatSettings& fs, const IClock& clock = SystemClock::Instance());

// Saved searches: the question before one is deleted, and the name dialog's check:
// not empty after trimming; the name given at opening passes; otherwise not a name
// another search has.
TDialogMessage SearchDeletionQuestion(std::string_view name);
std::optional<TDialogMessage> CheckSearchName(const TFilterList& searches, std::string_view name,
                                              std::string_view originalName);

} // namespace tessaly
