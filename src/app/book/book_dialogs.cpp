// The book window's commands that open the dialogs editing what the book owns: the
// search dialog.

#include "app/book/book.h"
#include "app/search/filter_form.h"
#include "app/shell/main_form.h"

namespace tessaly {

void TBook::SearchAddressBook() {
    if (!book_ || !edit_.Viewing())
        return;
    const TFilterList before = book_->Searches;
    TFilterForm dialog(book_->Searches, book_->Templates, book_->Categories,
                       Frame().Settings().FormatSettings, readOnly_, ShortName(), this, clock_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!(book_->Searches == before))
        RecordChange();
    BuildEntryList();
    UpdateStatus();
    AutoSaveCheck();
}

} // namespace tessaly
