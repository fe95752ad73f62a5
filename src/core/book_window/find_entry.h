#pragma once
// "&Find Entry with Text...." and "Find Ne&xt": the find rule shared by every book
// window, the text remembered for the run, and the search through the entries of
// the list (never the whole book).

#include "core/common/date_time.h"
#include "core/common/dialog_message.h"
#include "core/organise/entry_list.h"
#include "core/store/filter.h"

#include <string>

namespace tessaly {

// What the program remembers between finds.
struct TFindMemory {
    std::string Text; // the remembered text; emptied when a find fails
    bool Down = true;
    TRule Rule; // any field; the text and both options of the last find
};

// The one find memory of the run.
TFindMemory& FindMemory();

// After "&Find Next" in the dialog: the rule takes the text and options, the
// direction is remembered.
void SetFindRule(TFindMemory& memory, std::string_view text, bool matchCase, bool wholeWords,
                 bool down);

// Searches the list's entries with an unnamed search holding a copy of the rule,
// from `start` to the last item (down) or to the first (up), `start` included. The
// list index found, or -1. A start outside the list finds nothing.
int FindEntryInList(const TEntryList& list, const TRule& rule, int start, bool down,
                    TDateTime today);

// The whole find: on success the text is remembered, otherwise it is emptied (so
// that the next "Find Ne&xt" opens the dialog again).
int FindEntry(TFindMemory& memory, const TEntryList& list, int start, TDateTime today);
// Where "Find Ne&xt" starts: one after (down) or before (up) the selected item.
int FindNextStart(const TFindMemory& memory, int selected);
// "Find Ne&xt" without a remembered text opens the dialog instead.
bool FindNextNeedsDialog(const TFindMemory& memory);

// String 450.
TDialogMessage EntryNotFoundMessage();

} // namespace tessaly
