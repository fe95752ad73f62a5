#pragma once
// The edit mode of a book window (viewing, adding, updating) and the decisions taken
// with it: what typing into a displayed entry does, which field takes the focus when
// an edit starts, and whether an edit may be applied. The window shows and forwards;
// the rules live here.

#include "core/book_window/command_state.h"
#include "core/common/dialog_message.h"

#include <array>
#include <optional>

namespace tessaly {

// What typing into a field of the displayed entry (or a click in the category list)
// does while viewing.
enum class TTypingAction {
    Nothing,       // an edit is already open, or the list is disabled
    StartAdding,   // "Fast Edit" with no entry selected: the typed text stays
    StartUpdating, // "Fast Edit" with an entry selected: the typed text stays
    Redisplay,     // "Fast Edit" off (or a locked book): the typing is thrown away
};

// The fields that may take the focus when an edit starts, in the order they are tried.
enum class TFocusField {
    None,
    Title,
    Initials,
    Name,
    Position,
    Company,
    Address, // the first line of a structured address, else the freeform field
    Phone1,
    Phone2,
    Phone3,
    Phone4,
    Notes,
    Others1,
    Others2,
    Others3,
    Others4,
    Others5,
    Others6,
    ReminderList,
    AttachmentList,
    CategoryList,
};

// Which of the entry fields are shown (the window reads its controls).
struct TFieldVisibility {
    // Title, Initials, Name, Position, Company, Address, Phone 1 to 4.
    std::array<bool, 10> Address{};
    bool Notes = false;
    std::array<bool, 6> Others{};
};

// The field of `page` that takes the focus: the first visible one of the page, the
// page's list on pages 2, 4 and 5, None when pages 0, 1 or 3 show no field at all.
TFocusField FocusFieldFor(int page, const TFieldVisibility& visible);

// String 94, shown when no field could take the focus; the edit is then cancelled.
TDialogMessage NoDataFieldsMessage();
// String 462, when "Force Categories" finds an entry without a category.
TDialogMessage CategoryRequiredMessage();

// Shown instead of starting an addition to a book that holds 32,767 entries already.
TDialogMessage BookFullMessage();

// The page shown when the category check refuses to apply.
constexpr int kCategoriesPage = 5;

// The state machine. A locked window is always viewing.
class TEditMode {
public:
    int Mode() const { return mode_; }
    bool Viewing() const { return mode_ == kEditViewing; }
    bool ReadOnly() const { return readOnly_; }
    // Locking the window ends any edit.
    void SetReadOnly(bool readOnly);

    // "&Add Entry", "&Paste Entry", "Dup&licate Entry": false (nothing changes) when
    // the book is locked or an edit is open.
    bool StartAdding();
    // "Update &Entry": also needs an entry.
    bool StartUpdating(bool entrySelected);

    // Typing while viewing. `forceFastEdit` is the time stamp's one-off fast edit. The
    // action is taken at once: the mode is already changed when this returns.
    TTypingAction Typing(bool fastEdit, bool entrySelected, bool listEnabled,
                         bool forceFastEdit = false);

    // Apply: nothing while viewing or locked; the category check (with "Force
    // Categories") refuses with string 462 and keeps the edit open. When this gives
    // Store, the window stores the entry and then calls Finished().
    enum class TApply { Nothing, Refused, Store };
    struct TApplyDecision {
        TApply What = TApply::Nothing;
        int Mode = kEditViewing; // the mode being applied (adding or updating)
        std::optional<TDialogMessage> Message;
        int Page = -1; // the page to show, -1 to stay
    };
    TApplyDecision Apply(bool forceCategories, bool hasCategory) const;
    // The entry was stored, or the edit was cancelled (Esc, string 94, closing).
    void Finished() { mode_ = kEditViewing; }

private:
    int mode_ = kEditViewing;
    bool readOnly_ = false;
};

} // namespace tessaly
