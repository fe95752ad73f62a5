#include "core/book_window/edit_mode.h"

namespace tessaly {

TFocusField FocusFieldFor(int page, const TFieldVisibility& visible) {
    switch (page) {
    case 0:
        for (std::size_t i = 0; i < visible.Address.size(); ++i)
            if (visible.Address[i])
                return static_cast<TFocusField>(static_cast<int>(TFocusField::Title) +
                                                static_cast<int>(i));
        return TFocusField::None;
    case 1:
        return visible.Notes ? TFocusField::Notes : TFocusField::None;
    case 2:
        return TFocusField::ReminderList;
    case 3:
        for (std::size_t i = 0; i < visible.Others.size(); ++i)
            if (visible.Others[i])
                return static_cast<TFocusField>(static_cast<int>(TFocusField::Others1) +
                                                static_cast<int>(i));
        return TFocusField::None;
    case 4:
        return TFocusField::AttachmentList;
    case 5:
        return TFocusField::CategoryList;
    default:
        return TFocusField::None;
    }
}

TDialogMessage NoDataFieldsMessage() {
    return {kMsgTitleRequestDenied,
            "Tessaly is unable to locate any Data Entry fields. \n\nPlease ensure that all "
            "fields have not been disabled and try again",
            kMsgKindError, kMsgButtonsOk};
}

TDialogMessage BookFullMessage() {
    return {kMsgTitleRequestDenied,
            "This Address Book already holds 32767 entries, the most an Address Book can "
            "hold.\n\nNo entry can be added until one is deleted.",
            kMsgKindError, kMsgButtonsOk};
}

TDialogMessage CategoryRequiredMessage() {
    return {kMsgTitleValidationFailed,
            "A Category must be supplied for this entry.\n\nPlease select the required "
            "category or categories, before continuing.",
            kMsgKindError, kMsgButtonsOk};
}

void TEditMode::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (readOnly_)
        mode_ = kEditViewing;
}

bool TEditMode::StartAdding() {
    if (readOnly_ || mode_ != kEditViewing)
        return false;
    mode_ = kEditAdding;
    return true;
}

bool TEditMode::StartUpdating(bool entrySelected) {
    if (readOnly_ || mode_ != kEditViewing || !entrySelected)
        return false;
    mode_ = kEditUpdating;
    return true;
}

TTypingAction TEditMode::Typing(bool fastEdit, bool entrySelected, bool listEnabled,
                                bool forceFastEdit) {
    if (mode_ != kEditViewing || !listEnabled)
        return TTypingAction::Nothing;
    if (readOnly_ || !(fastEdit || forceFastEdit))
        return TTypingAction::Redisplay;
    if (entrySelected) {
        mode_ = kEditUpdating;
        return TTypingAction::StartUpdating;
    }
    mode_ = kEditAdding;
    return TTypingAction::StartAdding;
}

TEditMode::TApplyDecision TEditMode::Apply(bool forceCategories, bool hasCategory) const {
    TApplyDecision d;
    if (readOnly_ || mode_ == kEditViewing)
        return d;
    d.Mode = mode_;
    if (forceCategories && !hasCategory) {
        d.What = TApply::Refused;
        d.Message = CategoryRequiredMessage();
        d.Page = kCategoriesPage;
        return d;
    }
    d.What = TApply::Store;
    return d;
}

} // namespace tessaly
