#include "core/book_window/find_entry.h"

#include "core/organise/search_match.h"

namespace tessaly {

TFindMemory& FindMemory() {
    static TFindMemory memory;
    return memory;
}

void SetFindRule(TFindMemory& memory, std::string_view text, bool matchCase, bool wholeWords,
                 bool down) {
    UpdateRule(memory.Rule, -1, -1, true, 0, 0, wholeWords, matchCase, text);
    memory.Down = down;
}

int FindEntryInList(const TEntryList& list, const TRule& rule, int start, bool down,
                    TDateTime today) {
    if (start < 0 || start >= list.Count())
        return -1;
    TFilter search;
    search.Rules.Add(std::make_unique<TRule>(rule));
    const int step = down ? 1 : -1;
    for (int i = start; i >= 0 && i < list.Count(); i += step) {
        const TRecord* entry = list.EntryAt(i);
        if (entry && EntryMatches(search, *entry, list.SortTextAt(i), today))
            return i;
    }
    return -1;
}

int FindEntry(TFindMemory& memory, const TEntryList& list, int start, TDateTime today) {
    const int found = FindEntryInList(list, memory.Rule, start, memory.Down, today);
    memory.Text = found >= 0 ? memory.Rule.Text : std::string();
    return found;
}

int FindNextStart(const TFindMemory& memory, int selected) {
    return memory.Down ? selected + 1 : selected - 1;
}

bool FindNextNeedsDialog(const TFindMemory& memory) {
    return memory.Text.empty();
}

TDialogMessage EntryNotFoundMessage() {
    return {kMsgTitleSearchFailed,
            "The text specified could not be located in the Index List.\n\nNote: Only entries "
            "within the Index List were searched. To search the whole Address Book, remove any "
            "Search filter in effect or use the \"View|Search\" command.",
            kMsgKindInformation, kMsgButtonsOk};
}

} // namespace tessaly
