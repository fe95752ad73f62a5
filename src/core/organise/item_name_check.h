#pragma once
// The name dialog's check, shared by saved searches, export and import templates,
// quick reports, paper sizes and page layouts: the name (trimmed) must not be empty; the name given
// at opening passes; otherwise it must not be the name of another item of the same list.

#include "core/common/dialog_message.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class TNameMode { Search, Export, Import, QReport, Paper, Layout };

// The caption of the name dialog: saving (renaming false) or renaming.
std::string NameDialogCaption(TNameMode mode, bool renaming);

// `names` are the names of the items of the list; `originalName` the name given at
// opening.
std::optional<TDialogMessage> CheckItemName(TNameMode mode, const std::vector<std::string>& names,
                                            std::string_view name, std::string_view originalName);

} // namespace tessaly
