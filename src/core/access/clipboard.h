#pragma once
// The entry clipboard: one copied entry held for the whole run and shared by every
// open book, from "&Copy Entry" to "&Paste Entry".

#include "core/store/book.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace tessaly {

struct TPasteResult {
    bool Done = false;       // the work record took the copied entry
    int CategoriesAdded = 0; // categories the book gained to keep the entry's memberships
};

class TEntryClipboard {
public:
    // Holds a copy of the entry (the book's work record when null) in place of the
    // entry held before, with the names of its categories and address templates in the
    // book it comes from. With no entry to copy the clipboard keeps what it held.
    void Copy(const TBookData& book, const TRecord* entry = nullptr);
    bool HasEntry() const;
    void Clear();
    // "&Paste Entry": with `startNew` the book first gets a new work record (as "Add
    // Entry"); then, when an entry is held, the work record takes its contents with a
    // stamp of its own, so that every paste stores a different entry. Pasted into
    // another book, the entry keeps its categories by name (a category the book lacks
    // is added) and its addresses follow the templates of the same name where the book
    // has them; pasted into the book it came from, numbers stay as they are.
    TPasteResult Paste(TBookData& book, bool startNew) const;

private:
    mutable std::mutex mutex_;
    std::unique_ptr<TRecord> entry_;
    std::string sourceFile_;
    std::map<int, std::string> categoryNames_; // number -> name in the source book
    std::map<int, std::string> templateNames_;
};

// The process-wide clipboard and its shorthands.
TEntryClipboard& EntryClipboard();
void CopyEntry(const TBookData& book, const TRecord* entry = nullptr);
TPasteResult PasteEntry(TBookData& book, bool startNew);
bool ClipboardHasEntry();
void ClearClipboard();

} // namespace tessaly
