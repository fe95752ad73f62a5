#pragma once
// An entry as a vCard and a vCard as an entry.
//
// N and FN come from the name fields (Title, First Name, Surname); each address
// gives TITLE (Position), ORG (Company), ADR (Address) and a TEL, EMAIL or URL for
// each telephone field (EMAIL for a field with a mail button, URL for a web address),
// with the template's name as TYPE. The notes give NOTE, the category names
// CATEGORIES, and yearly reminders called "Birthday" and "Anniversary" BDAY and
// ANNIVERSARY. What vCard has no property for goes in X-TESSALY-* properties: the
// other name fields, each address's template and dialling settings, the index keys,
// the tag, the stamp, the dates, every reminder, attachment and call, and the
// category numbers. Properties and parameters the entry has no place for are kept
// in its notes (vcard_kept.h) and go out again unchanged. Texts are Windows-1252 in
// the entry and UTF-8 in the card; a character the code page cannot hold reads "?"
// in the entry while the card's own line is kept.

#include "core/common/date_time.h"
#include "core/exchange/vcard_format.h"

#include <memory>
#include <string>
#include <vector>

namespace tessaly {

class TBookData;
class TRecord;

// The entry of a book as a card of version 3.0 or 4.0.
TVCard EntryToVCard(const TRecord& entry, const TBookData& book, int version);

struct TVCardImportOptions {
    TDateTime Today = 0; // a new birthday reminder falls on its next day from here
    // Category names the book lacks are added to it; else they stay in the card only.
    bool AddCategories = true;
};

// A new entry from a card, laid out by the book's templates (with a fresh stamp
// unless the card carries one). Problems, if given, collect what was left out.
std::unique_ptr<TRecord> VCardToEntry(const TVCard& card, TBookData& book,
                                      const TVCardImportOptions& options,
                                      std::vector<std::string>* problems = nullptr);

} // namespace tessaly
