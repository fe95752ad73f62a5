#include "core/exchange/word_pro_edit.h"

#include "core/common/fill_text.h"
#include "core/common/same_text.h"
#include "core/common/text.h"

namespace tessaly {

TWordProCheck CheckWordProEdit(const TWordProList& list, std::string_view name,
                               std::string_view title, int item) {
    TWordProCheck check;
    check.Name = Trim(name);
    check.Title = Trim(title);
    if (check.Name.empty()) {
        check.Refusal = TDialogMessage{kMsgTitleRequiredField, kMsgWordProNameRequired,
                                       kMsgKindError, kMsgButtonsOk};
        check.Focus = TWordProField::Name;
        return check;
    }
    if (check.Title.empty()) {
        check.Refusal = TDialogMessage{kMsgTitleRequiredField, kMsgWordProTitleRequired,
                                       kMsgKindError, kMsgButtonsOk};
        check.Focus = TWordProField::Title;
        return check;
    }
    const bool ownName = list.At(item) && SameText(list.NameAt(item), check.Name);
    if (!ownName && !list.TitleBarTextOf(check.Name).empty()) {
        check.Refusal = TDialogMessage{kMsgTitleValidationFailed,
                                       FillText(kMsgWordProExists, {check.Name}), kMsgKindError,
                                       kMsgButtonsOk};
        check.Focus = TWordProField::Name;
    }
    return check;
}

TDialogMessage DeleteWordProQuestion(std::string_view name) {
    return TDialogMessage{kMsgTitleDeletionRequested, FillText(kMsgWordProDelete, {name}),
                          kMsgKindConfirmation, kMsgButtonsYesNo};
}

} // namespace tessaly
