// The book window's commands that open the dialogs editing what the book owns: the
// search dialog and the book options.

#include "app/book/book.h"
#include "app/book_options/book_options_dlg.h"
#include "app/search/filter_form.h"
#include "app/shell/main_form.h"
#include "app/shell/message_dialog.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"

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

namespace tessaly {

void TBook::ConfigureBook() {
    if (!book_)
        return;
    StorePage(shownPage_);
    const TStoreSettings settings = Frame().Settings().StoreSettings();
    TBookOptionsDlg dialog(*book_, settings, readOnly_, this);
    if (dialog.exec() != QDialog::Accepted || readOnly_)
        return;
    const bool changed = dialog.Options().Apply(*book_);
    if (dialog.SaveAsDefault()) {
        const TSaveResult saved = SaveDefaults(*book_, settings);
        if (!saved.Ok)
            ShowMessage(mtAccessError, ToQString(saved.Error), mkError, mbOk);
    }
    NamePages();
    if (edit_.Viewing())
        BuildEntryList();
    shownPage_ = -1;
    LayoutFields();
    if (edit_.Viewing())
        ShowCurrentEntry();
    else
        ShowWorkRecord();
    if (changed)
        RecordChange();
    UpdateCommandState();
}

} // namespace tessaly
