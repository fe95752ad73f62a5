#include "core/organise/item_name_check.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/common/text.h"

namespace tessaly {

namespace {

int FindName(const std::vector<std::string>& names, std::string_view name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (SameText(names[i], name))
            return static_cast<int>(i);
    return -1;
}

std::string EmptyText(TNameMode mode) {
    switch (mode) {
    case TNameMode::Search:
        return "A Name for the Search must be Specified.\n\nEach Saved Search needs to be "
               "assigned a unique name to identify that Search.";
    case TNameMode::QReport:
        return "A Name for the Quick Report must be Specified.\n\nEach Report needs to be "
               "assigned a unique name to identify that Report.";
    case TNameMode::Paper:
        return "A Name for this Paper Size must be specified.\n\nPlease enter a unique name and "
               "retry the request";
    case TNameMode::Layout:
        return "A Name for this Page Layout must be specified.\n\nPlease enter a unique name "
               "and retry the request";
    default:
        return "A Name for the Template must be Specified.\n\nEach Template needs to be "
               "assigned a unique name to identify that Template.";
    }
}

std::string TakenText(TNameMode mode, std::string_view name) {
    switch (mode) {
    case TNameMode::Search:
        return FillText("A Saved Search Named \"%s\" is already Defined.\n\nPlease Specify "
                        "another Name for the Search",
                        {name});
    case TNameMode::QReport:
        return FillText("A Quick Report Named \"%s\" is Already Defined.\n\nPlease specify "
                        "another Report Name to be Used, as each Report must have a Unique Name.",
                        {name});
    case TNameMode::Paper:
        return FillText("A Paper Size Named \"%s\" is Already Defined.\n\nPlease specify "
                        "another Name to be used, as each Paper Size must have a Unique Name.",
                        {name});
    case TNameMode::Layout:
        return FillText("A Page Layout Named \"%s\" is Already Defined.\n\nPlease specify "
                        "another Layout Name to be Used, as each Layout must have a Unique Name.",
                        {name});
    default:
        return FillText("A Template Named \"%s\" is already Defined.\n\nPlease Specify another "
                        "Name for the Template",
                        {name});
    }
}

} // namespace

std::string NameDialogCaption(TNameMode mode, bool renaming) {
    switch (mode) {
    case TNameMode::Search:
        return renaming ? "Rename Saved Search" : "Save Search As";
    case TNameMode::Export:
        return renaming ? "Rename Export Template" : "Save Template As";
    case TNameMode::Import:
        return renaming ? "Rename Import Template" : "Save Template As";
    case TNameMode::QReport:
        return renaming ? "Rename Quick Report" : "Save Quick Report As";
    case TNameMode::Paper:
        return "Paper Setup";
    case TNameMode::Layout:
        return renaming ? "Page Layout Properties" : "Save Page Layout As";
    }
    return std::string();
}

std::optional<TDialogMessage> CheckItemName(TNameMode mode, const std::vector<std::string>& names,
                                            std::string_view name, std::string_view originalName) {
    const std::string clean = Trim(name);
    if (clean.empty())
        return TDialogMessage{kMsgTitleRequiredField, EmptyText(mode), kMsgKindError,
                              kMsgButtonsOk};
    if (clean == Trim(originalName))
        return std::nullopt;
    const int other = FindName(names, clean);
    // Changing only the case of the item's own name is no clash.
    if (other >= 0 && other != FindName(names, Trim(originalName)))
        return TDialogMessage{kMsgTitleValidationFailed, TakenText(mode, clean), kMsgKindError,
                              kMsgButtonsOk};
    return std::nullopt;
}

} // namespace tessaly
