#include "core/organise/validation.h"

#include "core/common/fill_text.h"
#include "core/common/text.h"
#include "core/common/upper_case.h"
#include "core/organise/item_name_check.h"

#include <initializer_list>
#include <vector>

namespace tessaly {

namespace {

TDialogMessage Error(int title, std::string text) {
    return {title, std::move(text), kMsgKindError, kMsgButtonsOk};
}

// 1 January 1900 and 31 December 2100, the range the date boxes accept.
const TDateTime kFirstRuleDate = EncodeDate(1900, 1, 1);
const TDateTime kLastRuleDate = EncodeDate(2100, 12, 31);

bool InRuleRange(TDateTime d) {
    const TDateTime day = DateOf(d);
    return day >= kFirstRuleDate && day <= kLastRuleDate;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = UpperChar(c);
    return out;
}

} // namespace

std::optional<TDialogMessage> CheckTemplateName(const TTemplateList& templates,
                                                std::string_view name, int editing) {
    const std::string clean = Trim(name);
    if (clean.empty())
        return Error(kMsgTitleRequiredField,
                     "A Name for the Template must be Specified.\n\nEach Template needs to be "
                     "assigned a unique name to identify that Template.");
    const int other = templates.FindTemplateByName(clean);
    if (other >= 0 && other != editing)
        return Error(
            kMsgTitleValidationFailed,
            FillText("A Template Named \"%s\" is already Defined.\n\nPlease Specify another "
                     "Name for the Template",
                     {clean}));
    return std::nullopt;
}

std::optional<TDialogMessage> FormatChangeQuestion(bool existing, int oldFormat, int newFormat) {
    if (!existing || oldFormat != kFormatFreeform || newFormat == kFormatFreeform)
        return std::nullopt;
    return TDialogMessage{
        kMsgTitleDataLossPossible,
        "You have selected to change the Address Format from \"Freeform Address\".\n\nIt should "
        "be noted that the new format only supports 5 lines of Address text. Any Address using "
        "this Template will be truncated to 5 lines.\n\nDo you wish to continue ?",
        kMsgKindWarning, kMsgButtonsYesNo};
}

std::optional<TDialogMessage> CheckCategoryName(const TCategoryList& categories,
                                                std::string_view name, int editing) {
    const std::string clean = Trim(name);
    if (clean.empty())
        return Error(kMsgTitleRequiredField,
                     "A Name for the Category must be Specified.\n\nEach Category needs to be "
                     "assigned a unique name to identify that Category.");
    const int other = categories.FindCategoryByName(clean);
    if (other >= 0 && other != editing)
        return Error(
            kMsgTitleValidationFailed,
            FillText("A Category with the name \"%s\" is already Defined.\n\nPlease specify a "
                     "name that has not been used.",
                     {clean}));
    return std::nullopt;
}

std::optional<TDialogMessage> TemplateDeleteRefusal(const TTemplateList& templates, int i) {
    if (i > 1 && templates.TemplateId(i) != 1)
        return std::nullopt;
    return TDialogMessage{kMsgTitleRequestDenied,
                          FillText("Unable to Delete the Address Template: \"%s\" \n\nThe first "
                                   "Address Template of an Address Book cannot be deleted",
                                   {templates.TemplateName(i)}),
                          kMsgKindError, kMsgButtonsOk};
}

namespace {

TDialogMessage DeletionQuestion(std::string_view what, std::string_view name,
                                std::string_view warning) {
    return {kMsgTitleDeletionRequested,
            FillText("Please Confirm the Deletion of %s: %s \n\n%s",
                     {what, name, FillText(warning, {what})}),
            kMsgKindConfirmation, kMsgButtonsOkCancel};
}

} // namespace

TDialogMessage CategoryDeletionQuestion(std::string_view name) {
    return DeletionQuestion("Category", name,
                            "Warning: Any Entries associated with this %s will lose that "
                            "association");
}

TDialogMessage TemplateDeletionQuestion(std::string_view name) {
    return DeletionQuestion("Address Template", name,
                            "Warning: Any Entries with Data Using this %s will lose that Data");
}

TDialogMessage RemoveAddressQuestion(std::string_view templateName) {
    return {
        kMsgTitleDataLossPossible,
        FillText("You have de-selected the Address Template: \"%s\"\n\nBy de-selecting this "
                 "Template, Tessaly will remove ALL Address Data stored under this Template from "
                 "the Current Entry \n\nAre you Sure you Wish to Continue ?",
                 {templateName}),
        kMsgKindWarning, kMsgButtonsYesNo};
}

std::optional<TDialogMessage> CheckEntryAddresses(const TAddressList& addresses) {
    if (!addresses.Empty())
        return std::nullopt;
    return Error(kMsgTitleValidationFailed, "At Least one Address Template must be Selected.");
}

std::optional<TDialogMessage> CheckSearchOptions(bool startsWithOn, std::string_view startsWith,
                                                 bool excludeTagged, bool excludeUntagged) {
    if (startsWithOn && Trim(startsWith).empty())
        return Error(kMsgTitleValidationFailed,
                     "If the Display is to be Restricted to the Specified Index Characters, at "
                     "least one Index Character must be entered. \n\nPlease Re-specify");
    if (excludeTagged && excludeUntagged)
        return Error(kMsgTitleValidationFailed,
                     "Both the \"Exclude Tagged\" and \"Exclude Not Tagged\" options cannot be "
                     "selected, as this would result in no entries being eligible for display. "
                     "\n\nPlease Re-specify");
    return std::nullopt;
}

std::optional<TDialogMessage> CheckRuleText(std::string_view text) {
    if (!Trim(text).empty())
        return std::nullopt;
    return Error(kMsgTitleRequiredField, "Search Text is Required.\n\nPlease specify the text to "
                                         "be searched for, before continuing");
}

std::optional<TDialogMessage> CheckRuleDates(TDateTime fromDate, TDateTime toDate) {
    if (!InRuleRange(fromDate) || !InRuleRange(toDate))
        return Error(kMsgTitleValidationFailed,
                     "Date Entered is Outside the Supported Date Range \n\nPlease Enter a Date "
                     "the falls between the years 1900 and 2100");
    if (DateOf(fromDate) > DateOf(toDate))
        return Error(kMsgTitleValidationFailed,
                     "The \"First\" Date may not be after the \"Last\" Date\n\nNote: If entering "
                     "dates that cross centuries, Windows needs to be configured to use four year "
                     "digits (yyyy). Use Windows Control Panel to change its date formats");
    return std::nullopt;
}

TRuleDates ReadRuleDates(std::string_view fromText, std::string_view toText,
                         const TFormatSettings& fs, const IClock& clock) {
    TRuleDates result;
    const TDateTime today = DateOf(clock.Now());
    const std::string_view texts[2] = {fromText, toText};
    TDateTime dates[2] = {0, 0};
    for (int box = 0; box < 2; ++box) {
        const auto date = ParseDate(Trim(texts[box]), fs, today);
        if (!date) {
            result.Message = Error(kMsgTitleValidationFailed,
                                   FillText("Date Entered is Invalid \n\nPlease Re-specify in the "
                                            "Format %s",
                                            {Upper(fs.ShortDateFormat)}));
            result.Box = box;
            return result;
        }
        dates[box] = *date;
        if (!InRuleRange(*date)) {
            result.Message = CheckRuleDates(*date, *date);
            result.Box = box;
            return result;
        }
    }
    result.Message = CheckRuleDates(dates[0], dates[1]);
    if (result.Message)
        result.Box = 0;
    result.FromDate = dates[0];
    result.ToDate = dates[1];
    return result;
}

TDialogMessage SearchDeletionQuestion(std::string_view name) {
    return {kMsgTitleDeletionRequested,
            FillText("Saved Search: \"%s\" \n\nAre you Sure you Wish to Delete this Saved Search",
                     {name}),
            kMsgKindConfirmation, kMsgButtonsYesNo};
}

std::optional<TDialogMessage> CheckSearchName(const TFilterList& searches, std::string_view name,
                                              std::string_view originalName) {
    std::vector<std::string> names;
    for (int i = 0; i < searches.Count(); ++i)
        names.push_back(searches.At(i)->Name.str());
    return CheckItemName(TNameMode::Search, names, name, originalName);
}

} // namespace tessaly
