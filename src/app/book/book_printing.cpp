// The book window's "&Print..." and the linked quick reports: the print wizard or a stored report
// on this book, its index list in list order and its selected entry.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/printing/print_command.h"

#include <unordered_map>

namespace tessaly {

TPrintSource TBook::PrintSource() const {
    TPrintSource source;
    source.Book = book_.get();
    std::unordered_map<const TRecord*, int> indexOf;
    indexOf.reserve(static_cast<std::size_t>(book_->Entries.Count()));
    for (int i = 0; i < book_->Entries.Count(); ++i)
        indexOf.emplace(book_->Entries.At(i), i);
    for (int row = 0; row < model_->rowCount(); ++row)
        if (const auto it = indexOf.find(model_->EntryAt(row)); it != indexOf.end())
            source.Listed.push_back(it->second);
    if (const TRecord* selected = SelectedEntry())
        source.Selected = indexOf.count(selected) ? indexOf[selected] : -1;
    return source;
}

bool TBook::RecordsToPrint(TPrintSource& source) const {
    source = PrintSource();
    return true;
}

void TBook::PrintEntries() {
    if (state_.PrintAndExport)
        PrintFromWizard(Frame(), this, PrintSource());
}

void TBook::PrintLinked(int link) {
    if (state_.PrintAndExport)
        PrintLinkedReport(Frame(), this, link, PrintSource());
}

} // namespace tessaly
