#pragma once
// The editing of the word processor list on the options dialog's "Word Processor"
// page: the editor's checks with their messages, and the question before a deletion.

#include "core/common/dialog_message.h"
#include "core/exchange/word_pro.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

// String 282.
inline constexpr const char* kMsgWordProNameRequired =
    "A Descriptive Name for the Word Processor must be specifed\n\nPlease specify before "
    "continuing";
// String 283.
inline constexpr const char* kMsgWordProTitleRequired =
    "The Title Bar Text for the Word Processor must be specified \n\nPlease specify before "
    "continuing";
// String 284; %s the name.
inline constexpr const char* kMsgWordProExists =
    "A Word Processor with the Name \"%s\" already exists \n\nPlease choose another name before "
    "continuing";
// String 229; %s the name.
inline constexpr const char* kMsgWordProDelete =
    "Word Processor:\t%s \n\nPlease confirm you wish to Delete the above Word Processor";

enum class TWordProField { None, Name, Title };

struct TWordProCheck {
    std::optional<TDialogMessage> Refusal;
    TWordProField Focus = TWordProField::None;
    // When accepted: the values trimmed of surrounding blanks.
    std::string Name;
    std::string Title;
};

// OK of the editor for item `item` (a new one when out of range): a name and a title
// bar text are required, and the name may not be another item's that has a title
// bar text; an item keeps its own name, whatever its case.
TWordProCheck CheckWordProEdit(const TWordProList& list, std::string_view name,
                               std::string_view title, int item = -1);

// The confirmation asked before item `name` is deleted.
TDialogMessage DeleteWordProQuestion(std::string_view name);

} // namespace tessaly
