#include "app/call_log/call_log_command.h"

#include "app/book/book.h"
#include "app/call_log/call_log_dlg.h"
#include "app/widgets/frame.h"
#include "core/access/entries.h"

namespace tessaly {

void ShowCallLog(TBook& book) {
    TBookData* data = book.Book();
    TRecord* entry = book.CurrentEntry();
    if (!data || !entry || !data->WorkRecord)
        return;
    TCallLogDlg dlg(book, &book);
    if (dlg.exec() != QDialog::Accepted || !dlg.Changed() || book.ReadOnly())
        return;
    if (book.EditMode() != kEditViewing)
        return; // the edit in progress carries the changes
    if (StoreEntry(*data, entry, nullptr, book.Frame().Settings().UndoLevel, true) >= 0)
        book.RecordChange();
    book.ShowCurrentEntry();
}

} // namespace tessaly
