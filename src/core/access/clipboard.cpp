#include "core/access/clipboard.h"

#include "core/common/same_text.h"
#include "core/store/book_file.h"
#include "core/store/stamp.h"

namespace tessaly {

void TEntryClipboard::Copy(const TBookData& book, const TRecord* entry) {
    if (!entry)
        entry = book.WorkRecord.get();
    if (!entry)
        return; // nothing to copy: the clipboard keeps what it held
    std::lock_guard lock(mutex_);
    categoryNames_.clear();
    templateNames_.clear();
    entry_ = std::make_unique<TRecord>(*entry);
    entry_->Stamp = NewStamp();
    sourceFile_ = book.FileName;
    for (const auto& membership : entry_->CategoriesInUse) {
        const int id = membership->CategoryId;
        if (book.Categories.FindCategoryById(id) >= 0)
            categoryNames_[id] = book.Categories.NameOfId(id);
    }
    for (const auto& address : entry_->Addresses) {
        const int id = address->TemplateId;
        if (const TTemplate* t = book.Templates.TemplateOfId(id))
            templateNames_[id] = TextValue(t->Name);
    }
}

bool TEntryClipboard::HasEntry() const {
    std::lock_guard lock(mutex_);
    return entry_ != nullptr;
}

void TEntryClipboard::Clear() {
    std::lock_guard lock(mutex_);
    entry_.reset();
    categoryNames_.clear();
    templateNames_.clear();
    sourceFile_.clear();
}

TPasteResult TEntryClipboard::Paste(TBookData& book, bool startNew) const {
    TPasteResult result;
    if (startNew || !book.WorkRecord)
        NewWorkRecord(book);
    std::lock_guard lock(mutex_);
    if (!entry_)
        return result;

    auto pasted = std::make_unique<TRecord>(*entry_);
    pasted->Stamp = NewStamp();
    if (!SameText(sourceFile_, book.FileName)) {
        // Numbers belong to the book they were given in; names carry over.
        TCategoryInUseList memberships;
        for (const auto& membership : entry_->CategoriesInUse) {
            const auto name = categoryNames_.find(membership->CategoryId);
            if (name == categoryNames_.end())
                continue; // no category of that number in the source book either
            int c = book.Categories.FindCategoryByName(name->second);
            if (c < 0) {
                c = book.Categories.AddCategory(name->second, false);
                if (c < 0)
                    continue; // the book has used up its category numbers
                ++result.CategoriesAdded;
            }
            const int id = book.Categories.CategoryId(c);
            if (memberships.FindMembership(id) < 0)
                memberships.AddMembership(id);
        }
        pasted->CategoriesInUse = std::move(memberships);
        for (const auto& address : pasted->Addresses) {
            const auto name = templateNames_.find(address->TemplateId);
            if (name == templateNames_.end())
                continue;
            const int t = book.Templates.FindTemplateByName(name->second);
            if (t >= 0)
                address->TemplateId = static_cast<std::int16_t>(book.Templates.TemplateId(t));
        }
    }
    // The work record object stays the same; only its contents change.
    AssignEntry(*book.WorkRecord, *pasted, false);
    result.Done = true;
    return result;
}

TEntryClipboard& EntryClipboard() {
    static TEntryClipboard clipboard;
    return clipboard;
}

void CopyEntry(const TBookData& book, const TRecord* entry) {
    EntryClipboard().Copy(book, entry);
}

TPasteResult PasteEntry(TBookData& book, bool startNew) {
    return EntryClipboard().Paste(book, startNew);
}

bool ClipboardHasEntry() {
    return EntryClipboard().HasEntry();
}

void ClearClipboard() {
    EntryClipboard().Clear();
}

} // namespace tessaly
