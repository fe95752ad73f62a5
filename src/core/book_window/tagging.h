#pragma once
// Tags from the book window: "&Tag Entry" (and a double click) toggles the selected
// entry's tag; the "Tag Entries" dialog sets or clears the tags of the selected entry,
// of every listed entry or of every entry of the book.
//
// Toggling one entry's tag is not a change of the book (no undo, no change count);
// setting or clearing many at once is, and the caller then marks the book changed.

#include "core/organise/entry_list.h"
#include "core/store/book.h"

#include <string>

namespace tessaly {

enum class TTagScope { SelectedEntry, AllListed, AllInBook };

// The dialog's caption and group caption: "Tag Entries" / "Add Tags to:", or
// strings 116 and 117 when removing.
std::string TagDialogCaption(bool removing);
std::string TagDialogGroup(bool removing);
// "&Selected Entry Only" is offered only when it would change the entry: untagged
// when adding tags, tagged when removing them.
bool SelectedTagChoiceEnabled(bool removing, bool selectedTagged);

// Toggles one entry's tag in place.
void ToggleEntryTag(TRecord& entry);

// Carries out the dialog's choice. The selected-entry choice toggles that entry;
// the others set the tag (or clear it when removing) on every listed entry, or on
// every entry of the book. Returns true when the book is to be marked changed (a
// change of many tags at once).
bool ApplyTagChoice(TBookData& book, const TEntryList& list, TRecord* selected, TTagScope scope,
                    bool removing);

} // namespace tessaly
