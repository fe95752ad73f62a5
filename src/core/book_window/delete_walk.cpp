#include "core/book_window/delete_walk.h"

#include "core/common/fill_text.h"

namespace tessaly {

TDialogMessage DeleteEntryQuestion(std::string_view displayName, bool walking) {
    return {kMsgTitleDeletionRequested,
            FillText("Delete Address Book Entry for:\n\n%s", {displayName}), kMsgKindConfirmation,
            walking ? kMsgButtonsYesNoCancelAll : kMsgButtonsYesNo};
}

TDeleteWalk::TDeleteWalk(std::vector<bool> tagged, TDeleteScope scope, bool confirm)
    : tagged_(std::move(tagged)), scope_(scope), confirm_(confirm),
      at_(static_cast<int>(tagged_.size())) {
    if (scope_ == TDeleteScope::SelectedEntry)
        stopped_ = true;
}

int TDeleteWalk::Next() {
    if (stopped_)
        return -1;
    while (--at_ >= 0)
        if (scope_ != TDeleteScope::AllTagged || tagged_[static_cast<std::size_t>(at_)])
            return at_;
    stopped_ = true;
    return -1;
}

bool TDeleteWalk::Answer(TDeleteAnswer answer) {
    switch (answer) {
    case TDeleteAnswer::Yes:
        return true;
    case TDeleteAnswer::YesToAll:
        yesToAll_ = true;
        return true;
    case TDeleteAnswer::Cancel:
        stopped_ = true;
        return false;
    case TDeleteAnswer::No:
    default:
        return false;
    }
}

} // namespace tessaly
