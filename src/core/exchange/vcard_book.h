#pragma once
// vCards in and out of a whole book: the cards of a file added as new entries, and
// entries written one card after another.

#include "core/exchange/vcard_entry.h"
#include "core/exchange/vcard_format.h"
#include "core/system/clock.h"

#include <string>
#include <vector>

namespace tessaly {

class TBookData;
class TRecord;

// Adds each card as a new entry, stored as the book window stores one (Created now,
// a fresh stamp should the card's be taken), with an undo record each when asked.
// Returns the number added; stops when the book is full. Problems, if given,
// collect what each card left out ("card 2: ...").
int AddVCardEntries(TBookData& book, const std::vector<TVCard>& cards,
                    const TVCardImportOptions& options, int undoLimit, bool recordUndo,
                    std::vector<std::string>* problems = nullptr,
                    const IClock& clock = SystemClock::Instance());

// The entries as cards of a version (3.0 or 4.0), one after another.
std::string VCardsOfEntries(const TBookData& book, const std::vector<const TRecord*>& entries,
                            int version);

} // namespace tessaly
