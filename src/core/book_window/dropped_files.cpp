#include "core/book_window/dropped_files.h"

#include "core/common/fill_text.h"

#include <string>

namespace tessaly {

TDialogMessage DroppedFilesQuestion(std::string_view bookShortName, std::string_view entryName,
                                    int count) {
    // The count goes in first, so that a "%d" in a name is left alone.
    std::string pattern = "Address Book: %s \nEntry: %s \n\nDo you wish to add the %d dropped "
                          "file(s) to this entry ?";
    pattern.replace(pattern.find("%d"), 2, std::to_string(count));
    const std::string text = FillText(pattern, {bookShortName, entryName});
    return {kMsgTitleAttachmentManagement, text, kMsgKindConfirmation, kMsgButtonsYesNo};
}

} // namespace tessaly
