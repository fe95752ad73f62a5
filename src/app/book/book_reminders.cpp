// The book window's reminder commands: the current entry's reminders are changed on
// the working copy through the reminder dialogs; a change made while no edit is in
// progress is applied as an update of the entry at once, which marks the book changed.

#include "app/book/book.h"
#include "app/book/reminders_page.h"
#include "app/reminders/acknowledge_dlg.h"
#include "app/reminders/delete_reminder_dlg.h"
#include "app/reminders/reminder_dlg.h"
#include "app/reminders/view_event_dlg.h"
#include "app/widgets/frame.h"
#include "core/diary/reminder_actions.h"
#include "core/diary/reminder_form.h"
#include "core/settings/settings.h"
#include "core/store/book.h"

#include <QApplication>

namespace tessaly {

void TBook::AddReminder() {
    if (readOnly_ || !book_ || closing_)
        return;
    // With nothing selected and no edit open, the reminder starts a new entry.
    if (edit_.Viewing() && !(current_ && SelectedEntry())) {
        StartAdding();
        if (edit_.Viewing())
            return; // refused: the book is full
    }
    if (CurrentPage() != 2)
        ShowPage(2);
    TRecord& w = *book_->WorkRecord;
    if (!HasRoomForReminder(w.Reminders)) {
        QApplication::beep();
        return;
    }
    const TSettings& s = Frame().Settings();
    TReminders* added =
        w.Reminders.Add(NewReminder(clock_.Now(), clock_.Now(), s.AdvanceWarning, false));
    const int index = w.Reminders.Count() - 1;
    if (!EditReminderDialog(*added, {ShortName(), false}, true, s, clock_,
                            OpenReminderDescriptions(Frame()), this)) {
        w.Reminders.Delete(index);
        reminders_->Refill();
        return;
    }
    AfterReminderChange(-1);
    // The new reminder is selected wherever the order put it.
    reminders_->SelectReminder(book_->WorkRecord->Reminders.At(index));
}

void TBook::EditSelectedReminder() {
    TReminders* r = reminders_->SelectedReminder();
    if (!r || readOnly_)
        return;
    const int row = reminders_->SelectedRow();
    if (EditReminderDialog(*r, {ShortName(), false}, false, Frame().Settings(), clock_,
                           OpenReminderDescriptions(Frame()), this))
        AfterReminderChange(row);
}

void TBook::ViewSelectedReminder() {
    if (const TReminders* r = reminders_->SelectedReminder())
        ViewReminderDialog(*r, {ShortName(), false}, DateOf(clock_.Now()),
                           Frame().Settings().FormatSettings, this);
}

void TBook::AcknowledgeSelectedReminder() {
    TReminders* r = reminders_->SelectedReminder();
    if (!r || readOnly_)
        return;
    const int row = reminders_->SelectedRow();
    const TSettings& s = Frame().Settings();
    const TAcknowledgeResult result = AcknowledgeReminderDialog(
        *r, {ShortName(), false}, s.ConfirmReminders, s.FormatSettings, this);
    if (!result.Done)
        return;
    if (result.Delete)
        DeleteReminderAt(book_->WorkRecord->Reminders, book_->WorkRecord->Reminders.IndexOf(r));
    AfterReminderChange(row);
}

void TBook::DeleteSelectedReminder() {
    TReminders* r = reminders_->SelectedReminder();
    if (!r || readOnly_)
        return;
    const int row = reminders_->SelectedRow();
    const TSettings& s = Frame().Settings();
    if (!DeleteReminderDialog(*r, {ShortName(), false}, s.ConfirmDeleteReminders, s.FormatSettings,
                              this))
        return;
    DeleteReminderAt(book_->WorkRecord->Reminders, book_->WorkRecord->Reminders.IndexOf(r));
    AfterReminderChange(row);
}

void TBook::AfterReminderChange(int row) {
    if (edit_.Viewing() && edit_.StartUpdating(current_ && SelectedEntry()))
        ApplyEdit();
    reminders_->Refill();
    if (row >= 0)
        reminders_->SelectRow(row);
    UpdateStatus();
    UpdateCommandState();
    emit RemindersChanged();
}

} // namespace tessaly
