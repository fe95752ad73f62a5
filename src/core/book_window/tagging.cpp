#include "core/book_window/tagging.h"

namespace tessaly {

std::string TagDialogCaption(bool removing) {
    return removing ? "Remove Tags from Entries" : "Tag Entries";
}

std::string TagDialogGroup(bool removing) {
    return removing ? "Remove tags from:" : "Add Tags to:";
}

bool SelectedTagChoiceEnabled(bool removing, bool selectedTagged) {
    return removing ? selectedTagged : !selectedTagged;
}

void ToggleEntryTag(TRecord& entry) {
    entry.Tagged = entry.Tagged ? 0 : 1;
}

bool ApplyTagChoice(TBookData& book, const TEntryList& list, TRecord* selected, TTagScope scope,
                    bool removing) {
    const std::uint8_t tag = removing ? 0 : 1;
    switch (scope) {
    case TTagScope::SelectedEntry:
        if (selected)
            ToggleEntryTag(*selected);
        return false;
    case TTagScope::AllListed:
        for (int i = 0; i < list.Count(); ++i)
            if (TRecord* e = list.EntryAt(i))
                e->Tagged = tag;
        return true;
    case TTagScope::AllInBook:
        book.Entries.SetTags(!removing);
        return true;
    }
    return false;
}

} // namespace tessaly
