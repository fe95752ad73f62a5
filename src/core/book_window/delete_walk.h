#pragma once
// Deleting entries from the book window: the question asked before an entry goes,
// and the walk of "&Delete Entries..." over the entry list from its last item to its
// first, with Yes, No, Cancel and "Yes to All".

#include "core/common/dialog_message.h"

#include <string_view>
#include <vector>

namespace tessaly {

// String 294 with the entry's display name: Yes and No for one entry, Yes, No,
// Cancel and "Yes to All" inside the walk.
TDialogMessage DeleteEntryQuestion(std::string_view displayName, bool walking);

// The choices of the "Delete Entries" dialog.
enum class TDeleteScope { SelectedEntry, AllListed, AllTagged };

// The user's answer to one question of the walk.
enum class TDeleteAnswer { Yes, No, Cancel, YesToAll };

class TDeleteWalk {
public:
    // `tagged` holds the tag of every list item in list order. Only the two walking
    // scopes walk; the selected-entry scope is a single deletion.
    TDeleteWalk(std::vector<bool> tagged, TDeleteScope scope, bool confirm);

    // The next list item to consider, -1 when the walk is over. Items are visited from
    // the last to the first, so that deleting one leaves the indexes of those still to
    // come as they were.
    int Next();
    // Whether the item Next() gave must be asked about ("Deletes" on, no "Yes to All").
    bool MustAsk() const { return confirm_ && !yesToAll_; }
    // The answer for the item Next() gave; true when it is to be deleted. Cancel ends
    // the walk, "Yes to All" deletes this one and every later one without asking.
    bool Answer(TDeleteAnswer answer);

private:
    std::vector<bool> tagged_;
    TDeleteScope scope_;
    bool confirm_;
    bool yesToAll_ = false;
    bool stopped_ = false;
    int at_;
};

} // namespace tessaly
