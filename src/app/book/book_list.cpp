// The book window's entry list: building it, the entry shown when its selection
// moves, going to an entry's reminder, and the frame's status page it fills.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/reminders_page.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "core/diary/event_source.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"

#include <QLabel>
#include <QMainWindow>
#include <QTabWidget>

namespace tessaly {

void TBook::BuildEntryList() {
    THourGlass busy;
    model_->Rebuild();
    const TSettings& s = Frame().Settings();
    const int saved = book_->ListItemIndex;
    if (s.SaveSelection && saved >= 0 && saved < model_->rowCount())
        SelectAfterBuild(saved, book_->ListTopIndex);
    else
        SelectAfterBuild(0, 0);
}

void TBook::SelectAfterBuild(int row, int top) {
    if (model_->rowCount() == 0) {
        list_->SelectRow(-1);
    } else {
        row = std::clamp(row, 0, model_->rowCount() - 1);
        list_->SetTopRow(std::clamp(top, 0, model_->rowCount() - 1));
        list_->SelectRow(row);
    }
    ShowCurrentEntry();
}

TRecord* TBook::SelectedEntry() const {
    return model_->EntryAt(list_->SelectedRow());
}

void TBook::ShowCurrentEntry() {
    if (!book_)
        return;
    // Showing an entry from the book ends any edit: the working copy is replaced.
    edit_.Finished();
    StorePage(shownPage_);
    lostCharacters_.clear();
    if (model_->rowCount() == 0) {
        NewWorkRecord(*book_);
        current_ = nullptr;
    } else {
        if (list_->SelectedRow() < 0)
            list_->SelectRow(0);
        current_ = SelectedEntry();
        book_->WorkRecord = std::make_unique<TRecord>(*current_);
        if (!Frame().Settings().LockTab && CurrentPage() != 0) {
            tabs_->blockSignals(true);
            tabs_->setCurrentIndex(0);
            tabs_->blockSignals(false);
        }
    }
    shownPage_ = -1;
    LayoutFields();
    UpdateStatus();
}

// ---- status page -----------------------------------------------------------------------

void TBook::ShowIndicator(const char* name, bool on) {
    if (Frame().ActiveChild() != this)
        return;
    if (QLabel* l = Frame().Widget()->findChild<QLabel*>(name))
        l->setVisible(on);
}

void TBook::UpdateStatus() {
    if (closing_ || !book_ || Frame().ActiveChild() != this)
        return;
    Frame().EntryCounter()->setText(
        QString("%1 of %2").arg(model_->rowCount()).arg(book_->Entries.Count()));
    const bool searching = book_->Searches.SearchIsActive(false);
    QLabel* search = Frame().SearchIndicator();
    search->setText(searching ? "Search Active" : "All Entries");
    QPalette p = search->palette();
    p.setColor(QPalette::WindowText, searching ? Qt::red : Qt::black);
    search->setPalette(p);
    const TRecord* w = book_->WorkRecord.get();
    Frame().InfoLabel()->setText(current_ ? ToQString(DisplayText(*current_, book_->IndexKeys))
                                          : QString());
    ShowIndicator("Entry has Reminders", current_ && w && w->Reminders.Count() > 0);
    ShowIndicator("Entry has Notes", current_ && w && !w->Notes().empty());
    ShowIndicator("Address Book has been Modified", book_->Modified != 0);
}

void TBook::Activated() {
    if (closing_)
        return;
    UpdateCommandState();
    UpdateStatus();
    list_->setFocus();
}

bool TBook::GoToReminder(TRecord* entry, const TReminders* reminder) {
    if (!entry || !book_)
        return false;
    if (Frame().Widget()->isMinimized())
        Frame().Widget()->showNormal();
    int row = model_->RowOf(entry);
    if (row < 0) {
        const int answer = ShowMessage(
            mtAccessError,
            "The Selected Entry is not included in the current Display Index. \n\nDo you wish "
            "to Add the Entry to the Display Index ?",
            mkConfirmation, mbYesNo);
        if (answer != mrYes || book_->Entries.IndexOf(entry) < 0) {
            ShowMessage(mtUnknownError,
                        "Due to an Unknown Error, it was not possible to Display the Selected "
                        "Entry",
                        mkError, mbOk);
            return false;
        }
        row = model_->InsertEntry(*entry);
    }
    list_->SelectRow(row);
    ShowCurrentEntry();
    Activate();
    Frame().Widget()->raise();
    ShowPage(2);
    if (reminder)
        reminders_->SelectReminder(reminder);
    return true;
}

bool TBook::ShowReminder(const TEventRef& ref) {
    TRecord* entry = book_ ? book_->Entries.At(ref.Entry) : nullptr;
    if (!entry)
        return false;
    return GoToReminder(entry, entry->Reminders.At(ref.Event));
}

} // namespace tessaly
