#pragma once
// Which commands of the "Attac&hments" menu are open, decided from the book window's
// state when the menu opens.

#include <array>

namespace tessaly {

// View styles of the attachment list, as the book stores them.
constexpr int kAttachmentViewLargeIcons = 0;
constexpr int kAttachmentViewSmallIcons = 1;
constexpr int kAttachmentViewList = 2;
constexpr int kAttachmentViewDetail = 3;

struct TAttachmentMenuInput {
    bool AttachmentsPageShown = false; // the fifth page is the one shown
    bool ReadOnly = false;             // the book is locked
    bool HasSelection = false;         // an attachment is selected
    bool ByDescription = true;         // the book's sort key
    int ViewStyle = kAttachmentViewDetail;
};

struct TAttachmentMenuState {
    bool Add = false;
    bool Edit = false;
    bool Remove = false;
    bool Open = false;
    bool Properties = false;
    bool ByDescriptionChecked = false;
    bool ByFileNameChecked = false;
    std::array<bool, 4> ViewChecked{}; // large icons, small icons, list, detail
};

TAttachmentMenuState AttachmentMenuState(const TAttachmentMenuInput& in);

} // namespace tessaly
