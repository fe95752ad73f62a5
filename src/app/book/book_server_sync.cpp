// The book window's side of a round with a contacts server: the book's changes go to
// its file first, the window refuses changes while the round works on the file, and
// reads the file again when the round changed it.

#include "app/book/book.h"
#include "app/sync/server_sync.h"
#include "app/sync/sync_dlg.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"

#include <QFileInfo>

namespace tessaly {

void TBook::SynchroniseWithServer() {
    if (!book_ || !edit_.Viewing())
        return;
    if (readOnly_) {
        ShowMessage(mtRequestDenied,
                    QString("Address Book %1 is locked, and cannot be synchronised with a "
                            "server.\n\nA book that another copy of the program has open, or that "
                            "was opened read-only, takes the server's changes from the copy that "
                            "can write it.")
                        .arg(QFileInfo(FilePath()).fileName()),
                    mkInformation, mbOk);
        return;
    }
    TSyncDlg dlg(*this, Frame().ServerSync(), this);
    dlg.exec();
}

bool TBook::BeginServerSync(bool quietly) {
    if (!book_ || closing_ || syncHeld_ || readOnly_ || !edit_.Viewing())
        return false;
    if (book_->Modified) {
        // Asking whether to overwrite another writer's change is for the user's own
        // round; the timer's round waits for the user's save.
        if (quietly && ChangedOnDisk())
            return false;
        if (!Save(false) || readOnly_)
            return false;
    }
    syncHeld_ = true;
    readOnly_ = true;
    edit_.SetReadOnly(true);
    SetCaption();
    SetEditMode(edit_.Mode());
    UpdateCommandState();
    return true;
}

void TBook::EndServerSync() {
    if (!syncHeld_)
        return;
    syncHeld_ = false;
    readOnly_ = false;
    if (book_ && !closing_) {
        if (ChangedOnDisk())
            ReReadBook();
        ApplyLockState(false);
        UpdateCommandState();
    }
}

} // namespace tessaly
