#include "core/attachments/attachment_commands.h"

namespace tessaly {

TAttachmentMenuState AttachmentMenuState(const TAttachmentMenuInput& in) {
    TAttachmentMenuState s;
    if (in.AttachmentsPageShown) {
        s.Add = !in.ReadOnly;
        s.Edit = s.Add && in.HasSelection;
        s.Remove = s.Add && in.HasSelection;
        s.Open = in.HasSelection;
        s.Properties = in.HasSelection;
    }
    s.ByDescriptionChecked = in.ByDescription;
    s.ByFileNameChecked = !in.ByDescription;
    // A style the file holds out of range checks nothing rather than a wrong item.
    if (in.ViewStyle >= 0 && in.ViewStyle < static_cast<int>(s.ViewChecked.size()))
        s.ViewChecked[static_cast<std::size_t>(in.ViewStyle)] = true;
    return s;
}

} // namespace tessaly
