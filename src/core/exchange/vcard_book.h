#pragma once
// vCards in and out of a whole book: the cards of a file added as new entries, and
// entries written one card after another.

#include "core/common/dialog_message.h"
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

// A .vcf file read whole and its cards: false (with `why`, the system's reason) when
// the file cannot be read; a file that is not a regular file is refused unread.
bool ReadVCardFile(const std::string& path, TVCardReadResult& cards, std::string& why);

// What the book window says of an import and an export.
TDialogMessage VCardsImportedMessage(int added, const std::string& fileName, int problems);
TDialogMessage VCardFileUnreadMessage(const std::string& fileName, const std::string& why);
TDialogMessage VCardFileEmptyMessage(const std::string& fileName);
TDialogMessage VCardsNotWrittenMessage(const std::string& fileName, const std::string& why);

} // namespace tessaly
