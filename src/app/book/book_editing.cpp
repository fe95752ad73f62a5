// TBook: the editing commands of the book window. Adding, updating (also by typing
// into a displayed entry), applying and cancelling, deleting, undo, duplicate, copy and
// paste, the last-telephoned and Notes stamps, dropped files, tags, finding entries,
// the information dialog and "Save &as...". The decisions are the core's
// (core/book_window); this file shows them and carries them out.

#include "app/attachments/attachment_commands.h"
#include "app/book/address_page.h"
#include "app/book/attachments_page.h"
#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_dialogs.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_find_dialog.h"
#include "app/book/notes_page.h"
#include "app/book/others_page.h"
#include "app/book/reminders_page.h"
#include "app/exchange/word_pro_commands.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "app/widgets/save_as_file.h"
#include "core/access/book_header.h"
#include "core/access/clipboard.h"
#include "core/access/dates.h"
#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/book_window/delete_walk.h"
#include "core/book_window/dropped_files.h"
#include "core/book_window/find_entry.h"
#include "core/book_window/notes_text.h"
#include "core/book_window/save_as.h"
#include "core/book_window/tagging.h"
#include "core/common/date_format.h"
#include "core/common/file_paths.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

namespace tessaly {

namespace {

const char kNewEntry[] = "< New Entry >"; // string 93

// Menu actions whose keys work wherever the focus is inside the book window.
QAction* KeyedAction(QMenu* menu, const QString& text, const QList<QKeySequence>& keys) {
    QAction* a = menu->addAction(text);
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    return a;
}

bool FileIsReadOnly(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}

} // namespace

std::function<QString(QWidget*, const QString&, const QString&)> TBook::SaveAsChooser =
    [](QWidget* parent, const QString& directory, const QString& current) {
        return ChooseSaveAsFile(parent, "Save Address Book As", directory,
                                "Address Books (*.ADR);;All Files (*.*)", "ADR", current);
    };

int TBook::Show(const TDialogMessage& m) {
    return ShowMessage(m.Title, ToQString(m.Text), m.Kind, m.Buttons);
}

// ---- menus ------------------------------------------------------------------------------

void TBook::CreateEditMenu() {
    editMenu_ = new QMenu("&Edit", this);
    addAction_ = KeyedAction(editMenu_, "&Add Entry", {QKeySequence(Qt::CTRL | Qt::Key_A)});
    updateAction_ = KeyedAction(editMenu_, "Update &Entry", {QKeySequence(Qt::CTRL | Qt::Key_U)});
    applyAction_ = KeyedAction(
        editMenu_, "Appl&y Addition/Update",
        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    cancelAction_ =
        KeyedAction(editMenu_, "Ca&ncel Addition/Update", {QKeySequence(Qt::Key_Escape)});
    editMenu_->addSeparator();
    deleteEntriesAction_ =
        KeyedAction(editMenu_, "&Delete Entries...", {QKeySequence(Qt::CTRL | Qt::Key_D)});
    undoAction_ = KeyedAction(editMenu_, "&Undo", {QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    editMenu_->addSeparator();
    copyAction_ = editMenu_->addAction("&Copy Entry");
    pasteAction_ = editMenu_->addAction("&Paste Entry");
    duplicateAction_ = editMenu_->addAction("Dup&licate Entry");
    editMenu_->addSeparator();
    // Index keys and templates of the entry come with their dialogs.
    keysAction_ =
        editMenu_->addAction("Select Index &Keys for Entry...", this, &TBook::SelectEntryKeys);
    templatesAction_ = editMenu_->addAction("Select Address &Templates for Entry...", this,
                                            &TBook::SelectEntryTemplates);
    editMenu_->addSeparator();
    findAction_ =
        KeyedAction(editMenu_, "&Find Entry with Text....", {QKeySequence(Qt::CTRL | Qt::Key_F)});
    findNextAction_ = KeyedAction(editMenu_, "Find Ne&xt", {QKeySequence(Qt::Key_F3)});

    connect(addAction_, &QAction::triggered, this, &TBook::StartAdding);
    connect(updateAction_, &QAction::triggered, this, &TBook::StartUpdating);
    connect(applyAction_, &QAction::triggered, this, &TBook::ApplyEdit);
    connect(cancelAction_, &QAction::triggered, this, &TBook::CancelEdit);
    connect(deleteEntriesAction_, &QAction::triggered, this, &TBook::DeleteEntries);
    connect(undoAction_, &QAction::triggered, this, &TBook::UndoLast);
    connect(copyAction_, &QAction::triggered, this, &TBook::CopyEntry);
    connect(pasteAction_, &QAction::triggered, this, &TBook::PasteEntry);
    connect(duplicateAction_, &QAction::triggered, this, &TBook::DuplicateEntry);
    connect(findAction_, &QAction::triggered, this, &TBook::FindEntryWithText);
    connect(findNextAction_, &QAction::triggered, this, &TBook::FindNextEntry);
    for (QAction* a : editMenu_->actions())
        if (a->shortcutContext() == Qt::WidgetWithChildrenShortcut)
            addAction(a);
    // "&Tag Entry" has its key too.
    tagAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    tagAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(tagAction_);

    // The Delete key deletes the selected entry while the list has the focus.
    deleteEntryAction_ = new QAction("Delete Entry", this);
    deleteEntryAction_->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteEntryAction_->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(deleteEntryAction_);
    connect(deleteEntryAction_, &QAction::triggered, this, &TBook::DeleteSelectedEntry);
}

void TBook::CreateListMenu() {
    listMenu_ = new QMenu(this);
    listMenu_->addAction(addAction_);
    listMenu_->addAction(updateAction_);
    listMenu_->addAction(deleteEntryAction_);
    listMenu_->addSeparator();
    listMenu_->addAction(copyAction_);
    listMenu_->addAction(pasteAction_);
    listMenu_->addAction(duplicateAction_);
    listMenu_->addSeparator();
    listMenu_->addAction(tagAction_);
    listMenu_->addSeparator();
    addReminderAction_ = listMenu_->addAction("Add Reminder...", this, [this] {
        ShowPage(2);
        AddReminder();
    });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { listMenu_->popup(list_->viewport()->mapToGlobal(p)); });
}

void TBook::UpdateEditActions(const TCommandInputs& in) {
    if (!addAction_)
        return;
    const bool viewing = edit_.Viewing();
    const bool listed = in.ListCount > 0;
    addAction_->setEnabled(state_.AddEntry);
    updateAction_->setEnabled(state_.UpdateEntry);
    applyAction_->setEnabled(state_.ApplyUpdate && !readOnly_);
    cancelAction_->setEnabled(state_.CancelUpdate);
    deleteEntriesAction_->setEnabled(state_.DeleteEntry);
    deleteEntryAction_->setEnabled(state_.DeleteEntry);
    addReminderAction_->setEnabled(!readOnly_);
    undoAction_->setEnabled(state_.Undo);
    duplicateAction_->setEnabled(state_.DuplicateEntry);
    copyAction_->setEnabled(listed && viewing);
    findAction_->setEnabled(listed && viewing);
    findNextAction_->setEnabled(listed && viewing);
    // Never while an update is open: the pasted entry would take the updated one's place.
    pasteAction_->setEnabled(!readOnly_ && ClipboardHasEntry() && edit_.Mode() != kEditUpdating);
    applyTagsAction_->setEnabled(state_.TagCommands && !readOnly_);
    removeTagsAction_->setEnabled(state_.TagCommands && !readOnly_);
    saveAsAction_->setEnabled(state_.SaveAs);
    removeSearchAction_->setEnabled(state_.RemoveSearch && book_->Searches.SearchIsActive(false));
    timestampAction_->setEnabled(!readOnly_);
    templatesAction_->setEnabled(ToolCommandEnabled("Select Address Templates for Entry"));
    keysAction_->setEnabled(ToolCommandEnabled("Define Index Keys for Entry"));
}

bool TBook::ToolCommandEnabled(const QString& hint) const {
    if (hint == "Close Address Book" || hint == "View the Calendar" || hint == "Context Help")
        return true;
    if (hint.endsWith("Linked Quick Report"))
        return state_.PrintAndExport;
    if (hint == "Add an Entry")
        return state_.AddEntry;
    if (hint == "Update Entry")
        return state_.UpdateEntry;
    if (hint == "Apply Update")
        return state_.ApplyUpdate && !readOnly_;
    if (hint == "Cancel Update")
        return state_.CancelUpdate;
    if (hint == "Delete Entry")
        return state_.DeleteEntry;
    if (hint == "Undo Last Update")
        return state_.Undo;
    if (hint == "Remove Search")
        return state_.RemoveSearch && book_ && book_->Searches.SearchIsActive(false);
    if (hint == "Search")
        return state_.Search && book_ && edit_.Viewing();
    if (hint == "Define Index Keys for Entry")
        return state_.DefineIndexKeys && !readOnly_ && (current_ || !edit_.Viewing());
    if (hint == "Select Address Templates for Entry")
        return state_.SelectTemplates && !readOnly_ && (current_ || !edit_.Viewing());
    if (hint == "Dial Number")
        return state_.DialNumber;
    if (hint == "Insert to Word Processor")
        return state_.InsertToWordProcessor;
    // The other buttons wait for their commands.
    return false;
}

bool TBook::RunEditCommand(const QString& hint) {
    if (!ToolCommandEnabled(hint))
        return hint != "Close Address Book"; // a disabled button does nothing
    if (hint == "Add an Entry")
        StartAdding();
    else if (hint == "Update Entry")
        StartUpdating();
    else if (hint == "Apply Update")
        ApplyEdit();
    else if (hint == "Cancel Update")
        CancelEdit();
    else if (hint == "Delete Entry")
        DeleteSelectedEntry();
    else if (hint == "Undo Last Update")
        UndoLast();
    else if (hint == "Remove Search")
        RemoveActiveSearch();
    else if (hint == "Search")
        SearchAddressBook();
    else if (hint == "Define Index Keys for Entry")
        SelectEntryKeys();
    else if (hint == "Select Address Templates for Entry")
        SelectEntryTemplates();
    else
        return false;
    return true;
}

// ---- the edit mode ------------------------------------------------------------------------

void TBook::ShowWorkRecord() {
    shownPage_ = -1;
    LayoutFields();
}

void TBook::PlaceFocus() {
    TFieldVisibility visible;
    address_->ReadVisibility(visible);
    visible.Notes = notes_->NotesVisible();
    others_->ReadVisibility(visible);
    const TFocusField field = FocusFieldFor(CurrentPage(), visible);
    if (field == TFocusField::None) {
        Show(NoDataFieldsMessage());
        CancelEdit();
        return;
    }
    QWidget* w = address_->FocusWidget(field);
    if (!w)
        w = others_->FocusWidget(field);
    if (!w) {
        switch (field) {
        case TFocusField::Notes:
            w = notes_->Editor();
            break;
        case TFocusField::ReminderList:
            w = reminders_->List();
            break;
        case TFocusField::AttachmentList:
            w = attachments_->List();
            break;
        default:
            w = categories_->List();
            break;
        }
    }
    w->setFocus();
}

bool TBook::RoomForAnotherEntry() {
    if (!book_ || HasRoomForEntry(*book_))
        return true;
    Show(BookFullMessage());
    return false;
}

void TBook::StartAdding() {
    if (!edit_.Viewing() || !RoomForAnotherEntry() || !edit_.StartAdding())
        return;
    StorePage(shownPage_);
    NewWorkRecord(*book_);
    current_ = nullptr;
    ShowWorkRecord();
    Frame().InfoLabel()->setText(kNewEntry);
    PlaceFocus();
}

void TBook::StartUpdating() {
    if (!edit_.StartUpdating(current_ && SelectedEntry()))
        return;
    UpdateCommandState();
    PlaceFocus();
}

void TBook::Typed(QWidget* field, bool forceFastEdit) {
    if (closing_ || !book_)
        return;
    const bool selected = current_ && SelectedEntry();
    switch (
        edit_.Typing(Frame().Settings().FastEdit, selected, list_->isEnabled(), forceFastEdit)) {
    case TTypingAction::Nothing:
        return;
    case TTypingAction::Redisplay:
        ShowCurrentEntry(); // the typing is thrown away
        return;
    case TTypingAction::StartUpdating:
        UpdateCommandState();
        return;
    case TTypingAction::StartAdding:
        if (!RoomForAnotherEntry()) {
            edit_.Finished();
            ShowCurrentEntry(); // the typing is thrown away
            return;
        }
        break;
    }
    // A new entry is shown blank; what was typed goes back into its field, with the
    // caret at its end.
    auto* line = qobject_cast<QLineEdit*>(field);
    auto* text = qobject_cast<QPlainTextEdit*>(field);
    const QString typed = line ? line->text() : text ? text->toPlainText() : QString();
    NewWorkRecord(*book_);
    current_ = nullptr;
    ShowWorkRecord();
    Frame().InfoLabel()->setText(kNewEntry);
    if (line) {
        line->setText(typed);
        line->setModified(true);
        line->end(false);
    } else if (text) {
        text->setPlainText(typed);
        text->document()->setModified(true);
        text->moveCursor(QTextCursor::End);
    }
    field->setFocus();
}

void TBook::ApplyEdit() {
    if (readOnly_ || !book_)
        return;
    THourGlass busy;
    StorePage(shownPage_);
    const TSettings& s = Frame().Settings();
    const TEditMode::TApplyDecision d =
        edit_.Apply(s.ForceCategories, book_->WorkRecord->CategoriesInUse.Count() > 0);
    if (d.What == TEditMode::TApply::Nothing)
        return;
    if (d.What == TEditMode::TApply::Refused) {
        Show(*d.Message);
        ShowPage(d.Page);
        return;
    }
    TellLostCharacters();
    const int undoLimit = UndoLimit(s.StoreSettings());
    // An update stores over the entry it was taken from; should that entry be gone,
    // the edit is kept as a new entry rather than lost.
    int i = -1;
    if (d.Mode == kEditUpdating && current_)
        i = StoreEntry(*book_, current_, nullptr, undoLimit, true, clock_);
    if (i < 0)
        i = StoreEntry(*book_, nullptr, nullptr, undoLimit, true, clock_);
    if (i < 0) {
        // The book is full: the edit stays open, nothing is lost.
        Show(BookFullMessage());
        return;
    }
    MarkChanged(*book_, clock_);
    edit_.Finished();
    TRecord* stored = book_->Entries.At(i);
    const int row = stored ? model_->InsertEntry(*stored) : -1;
    list_->SelectRow(row);
    ShowCurrentEntry();
    list_->setFocus();
    AutoSaveCheck();
}

void TBook::CancelEdit() {
    if (edit_.Viewing())
        return;
    THourGlass busy;
    edit_.Finished();
    shownPage_ = -1; // the working copy is discarded, not stored
    ShowCurrentEntry();
    list_->setFocus();
}

// ---- deleting and undo ------------------------------------------------------------------

void TBook::RemoveListedEntry(TRecord* entry) {
    const int i = book_->Entries.IndexOf(entry);
    if (i < 0)
        return;
    model_->RemoveEntry(entry);
    if (current_ == entry)
        current_ = nullptr;
    DeleteEntry(*book_, i, true, UndoLimit(Frame().Settings().StoreSettings()));
    MarkChanged(*book_, clock_);
}

void TBook::AfterEntriesChanged(int selectRow) {
    const int count = model_->rowCount();
    list_->SelectRow(count == 0 ? -1 : std::clamp(selectRow, 0, count - 1));
    AutoSaveCheck();
    list_->setFocus();
    ShowCurrentEntry();
}

void TBook::DeleteSelectedEntry() {
    TRecord* entry = SelectedEntry();
    if (readOnly_ || !edit_.Viewing() || !entry)
        return;
    if (Frame().Settings().ConfirmDeletes &&
        Show(DeleteEntryQuestion(DisplayText(*entry, book_->IndexKeys), false)) != mrYes)
        return;
    const int row = list_->SelectedRow();
    RemoveListedEntry(entry);
    AfterEntriesChanged(row);
}

void TBook::DeleteEntries() {
    if (readOnly_ || !edit_.Viewing() || model_->rowCount() == 0)
        return;
    TDeleteEntriesDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    THourGlass busy;
    const TDeleteScope scope = dialog.Scope();
    if (scope == TDeleteScope::SelectedEntry) {
        DeleteSelectedEntry();
        return;
    }
    std::vector<bool> tagged;
    for (int i = 0; i < model_->rowCount(); ++i)
        tagged.push_back(model_->EntryAt(i)->Tagged != 0);
    const int selected = list_->SelectedRow();
    TDeleteWalk walk(std::move(tagged), scope, Frame().Settings().ConfirmDeletes);
    for (int i = walk.Next(); i >= 0; i = walk.Next()) {
        TRecord* entry = model_->EntryAt(i);
        bool remove = true;
        if (walk.MustAsk()) {
            list_->SelectRow(i);
            const int answer =
                Show(DeleteEntryQuestion(DisplayText(*entry, book_->IndexKeys), true));
            remove = walk.Answer(answer == mrYes      ? TDeleteAnswer::Yes
                                 : answer == mrNo     ? TDeleteAnswer::No
                                 : answer == mrIgnore ? TDeleteAnswer::YesToAll
                                                      : TDeleteAnswer::Cancel);
        }
        if (remove)
            RemoveListedEntry(entry);
    }
    AfterEntriesChanged(selected);
}

void TBook::UndoLast() {
    if (readOnly_ || !edit_.Viewing() || !UndoAvailable(*book_))
        return;
    THourGlass busy;
    const int selected = list_->SelectedRow();
    current_ = nullptr;
    const TUndoResult r = Undo(*book_, clock_);
    if (r.HistoryEmpty)
        QApplication::beep();
    MarkChanged(*book_, clock_);
    model_->Rebuild();
    int row = selected;
    if (r.Effect == TUndoEffect::Changed || r.Effect == TUndoEffect::Restored) {
        if (TRecord* entry = book_->Entries.At(r.Index)) {
            row = model_->RowOf(entry);
            if (row < 0)
                row = model_->InsertEntry(*entry); // shown although the search leaves it out
        }
    }
    AfterEntriesChanged(row);
}

// ---- duplicate, copy and paste ------------------------------------------------------------

void TBook::DuplicateEntry() {
    TRecord* entry = SelectedEntry();
    if (!entry || readOnly_ || !edit_.Viewing() || !RoomForAnotherEntry())
        return;
    book_->WorkRecord = std::make_unique<TRecord>(*entry);
    SetWorkRecordStampNow(*book_);
    edit_.StartAdding();
    current_ = nullptr;
    shownPage_ = -1; // the copy goes in as it is
    ApplyEdit();
}

void TBook::CopyEntry() {
    TRecord* entry = SelectedEntry();
    if (!entry || !edit_.Viewing())
        return;
    tessaly::CopyEntry(*book_, entry);
    // The entry's text goes on the desktop's clipboard too, as the clipboard command
    // sends it.
    InsertToClipboard(*this);
    UpdateCommandState();
}

void TBook::PasteEntry() {
    if (readOnly_ || edit_.Mode() == kEditUpdating || !ClipboardHasEntry())
        return;
    const bool startNew = edit_.Viewing();
    if (startNew && !RoomForAnotherEntry())
        return;
    if (startNew) {
        StorePage(shownPage_);
        edit_.StartAdding();
    }
    current_ = nullptr;
    const TPasteResult r = tessaly::PasteEntry(*book_, startNew);
    if (r.CategoriesAdded > 0)
        MarkChanged(*book_, clock_); // the book gained the entry's categories
    ShowWorkRecord();
    Frame().InfoLabel()->setText(kNewEntry);
    PlaceFocus();
}

// ---- stamps -----------------------------------------------------------------------------

void TBook::SetLastCalledNow() {
    if (readOnly_ || (edit_.Viewing() && !SelectedEntry())) {
        QApplication::beep();
        return;
    }
    StorePage(shownPage_);
    SetWorkRecordLastCalledNow(*book_, clock_);
    if (edit_.Viewing()) {
        edit_.StartUpdating(true);
        shownPage_ = -1;
        ApplyEdit();
        return;
    }
    FillPage(CurrentPage());
}

void TBook::AddTimestamp() {
    if (readOnly_ || !book_)
        return;
    ShowPage(1);
    const TSettings& s = Frame().Settings();
    const std::string stamp = FormatDateTime(s.TimeStamp, clock_.Now(), s.FormatSettings);
    QPlainTextEdit* n = notes_->Editor();
    const TStampedNotes stamped =
        tessaly::AddTimestamp(FromQString(n->toPlainText()), stamp, s.TimeStampLocation);
    n->blockSignals(true);
    n->setPlainText(ToQString(stamped.Text));
    n->blockSignals(false);
    n->document()->setModified(true);
    QTextCursor c = n->textCursor();
    c.setPosition(ToQString(stamped.Text.substr(0, stamped.Caret)).size());
    n->setTextCursor(c);
    n->setFocus();
    // Counts as typing with fast edit on for this one change.
    Typed(n, true);
}

// ---- dropped files ------------------------------------------------------------------------

void TBook::dragEnterEvent(QDragEnterEvent* event) {
    const bool vcards = !readOnly_ && edit_.Viewing() && HoldsVCards(event->mimeData());
    if ((state_.AcceptDrops || vcards) && !readOnly_ && event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TBook::dropEvent(QDropEvent* event) {
    // vCards dropped on the entry list are imported as new entries.
    if (!readOnly_ && edit_.Viewing() && DropVCards(event))
        return;
    if (!state_.AcceptDrops) {
        event->ignore();
        return;
    }
    // The drop is the entry's, whatever the files are: a book or a diary dropped here
    // is attached, never opened.
    event->acceptProposedAction();
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (!paths.isEmpty())
        DropFiles(paths);
}

void TBook::DropFiles(const QStringList& paths) {
    TRecord* entry = SelectedEntry();
    if (readOnly_ || !entry || paths.isEmpty())
        return;
    THourGlass busy;
    if (Frame().Settings().ConfirmDrops) {
        if (Frame().Widget()->isMinimized())
            Frame().Widget()->showNormal();
        Frame().Widget()->raise();
        if (Show(DroppedFilesQuestion(FromQString(ShortName()),
                                      DisplayText(*entry, book_->IndexKeys),
                                      static_cast<int>(paths.size()))) != mrYes)
            return;
    }
    StorePage(shownPage_);
    bool added = false;
    for (const QString& path : paths) {
        // The book keeps file names as texts in its code page, like every field.
        const std::string file = FromQString(path);
        added = attachmentCommands_->AppendToWorkRecord(TDocument(FileNameOf(file), file, true)) ||
                added;
    }
    if (!added)
        return;
    if (edit_.Viewing())
        ApplyWorkRecordNow();
    else
        FillPage(CurrentPage());
}

// ---- tags -----------------------------------------------------------------------------------

void TBook::TagEntries(bool removing) {
    TRecord* entry = SelectedEntry();
    if (readOnly_ || !edit_.Viewing() || !entry)
        return;
    TTagEntriesDlg dialog(removing, entry->Tagged != 0, true, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (ApplyTagChoice(*book_, model_->List(), entry, dialog.Scope(), removing))
        MarkChanged(*book_, clock_);
    AutoSaveCheck();
    list_->viewport()->update();
    ShowCurrentEntry();
}

// ---- finding entries ------------------------------------------------------------------------

void TBook::FinishFind(int found) {
    if (found < 0) {
        Show(EntryNotFoundMessage());
        return;
    }
    list_->SelectRow(found);
    ShowCurrentEntry();
}

void TBook::FindEntryWithText() {
    if (!edit_.Viewing() || model_->rowCount() == 0)
        return;
    TFindMemory& memory = FindMemory();
    TFindEntryDlg dialog(ToQString(memory.Text), memory.Rule.MatchCase != 0,
                         memory.Rule.WholeWords != 0, memory.Down, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SetFindRule(memory, FromQString(dialog.Text()), dialog.MatchCase(), dialog.WholeWords(),
                dialog.Down());
    const int start = std::max(0, list_->SelectedRow());
    FinishFind(FindEntry(memory, model_->List(), start, DateOf(clock_.Now())));
}

void TBook::FindNextEntry() {
    if (!edit_.Viewing() || model_->rowCount() == 0)
        return;
    TFindMemory& memory = FindMemory();
    if (FindNextNeedsDialog(memory)) {
        FindEntryWithText();
        return;
    }
    const int start = FindNextStart(memory, list_->SelectedRow());
    FinishFind(FindEntry(memory, model_->List(), start, DateOf(clock_.Now())));
}

// ---- the book as a whole ----------------------------------------------------------------------

void TBook::ShowBookInfo() {
    if (!book_)
        return;
    const TFormatSettings& fs = Frame().Settings().FormatSettings;
    TBookInfo info;
    info.Name = ShortName();
    info.Path = FilePath();
    info.Entries = book_->Entries.Count();
    info.Created = ToQString(BookCreatedText(*book_, fs));
    info.Updated = ToQString(BookUpdatedText(*book_, fs));
    info.Locked = readOnly_;
    TBookInfoDlg(info, this).exec();
}

void TBook::SelectEntryTemplates() {
    if (!ToolCommandEnabled("Select Address Templates for Entry"))
        return;
    StorePage(shownPage_);
    TRecord& w = WorkRecordOf(*book_);
    TEntryTemplatesDlg dialog(book_->Templates, w.Addresses, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    w.Addresses = dialog.Result();
    if (edit_.Viewing()) {
        // Applied at once as an update of the entry.
        edit_.StartUpdating(true);
        shownPage_ = -1;
        ApplyEdit();
        return;
    }
    ShowWorkRecord();
}

void TBook::RemoveActiveSearch() {
    if (!edit_.Viewing() || !book_->Searches.SearchIsActive(false))
        return;
    book_->Searches.ClearSearch();
    BuildEntryList();
    UpdateStatus();
    AutoSaveCheck();
}

void TBook::SaveAs() {
    if (!book_ || !edit_.Viewing())
        return;
    const QString chosen = SaveAsChooser(this, Frame().FileDialogDirectory(), FilePath());
    if (chosen.isEmpty())
        return;
    THourGlass busy;
    Frame().RememberFileDialogDirectory(chosen);
    bool openElsewhere = false;
    for (TChildWindow* c : Frame().Children())
        if (c != this && SamePath(PathToCore(c->FilePath()), PathToCore(chosen)))
            openElsewhere = true;
    const TSaveAsPlan plan = PlanSaveAs(FromQString(chosen), openElsewhere, FileIsReadOnly(chosen));
    if (plan.Refusal) {
        Show(*plan.Refusal);
        return;
    }
    SetFilePath(chosen);
    book_->FileName = PathToCore(chosen);
    // Overwriting the chosen file was confirmed in the dialog: its present state is not
    // a change made behind the book's back.
    book_->DiskIdentity = TFileIdentity{};
    readOnly_ = plan.LockedTarget; // a file that may not be written is left as it is
    if (!readOnly_)
        Save(false);
    ApplyLockState(false); // a ".BAK" name locks the book with string 440
    SetCaption();
    UpdateCommandState();
    UpdateStatus();
}

// ---- find and replace in the Notes ------------------------------------------------------

namespace {

// Searches from the selection; selects what it finds, or reports string 124 and puts
// the caret at the start. Returns whether it found the text.
bool FindNotesText(QPlainTextEdit* notes, const TNotesFindDlg& dialog) {
    const std::string what = FromQString(dialog.FindText());
    const std::string text = FromQString(notes->toPlainText());
    const QTextCursor c = notes->textCursor();
    const TTextFindOptions options{dialog.MatchCase(), dialog.WholeWord(), dialog.Down()};
    const std::size_t from =
        static_cast<std::size_t>(options.Down ? c.selectionEnd() : c.selectionStart());
    const std::size_t at = FindInText(text, what, from, options);
    if (at == std::string::npos) {
        const TDialogMessage m = NotesTextNotFoundMessage(what);
        ShowMessage(m.Title, ToQString(m.Text), m.Kind, m.Buttons);
        notes->moveCursor(QTextCursor::Start);
        return false;
    }
    QTextCursor found = notes->textCursor();
    found.setPosition(static_cast<int>(at));
    found.setPosition(static_cast<int>(at + what.size()), QTextCursor::KeepAnchor);
    notes->setTextCursor(found);
    return true;
}

} // namespace

void TBook::FindInNotes(bool replace) {
    QPlainTextEdit* notes = notes_->Editor();
    ShowPage(1);
    if (notes_->NotesVisible())
        notes->setFocus();
    auto* dialog = new TNotesFindDlg(replace, this);
    connect(dialog, &TNotesFindDlg::FindNext, this,
            [notes, dialog] { FindNotesText(notes, *dialog); });
    connect(dialog, &TNotesFindDlg::Replace, this, [notes, dialog] {
        QTextCursor c = notes->textCursor();
        if (SelectionIsFindText(FromQString(c.selectedText()), FromQString(dialog->FindText()),
                                dialog->MatchCase()))
            c.insertText(dialog->ReplaceText());
        FindNotesText(notes, *dialog);
    });
    connect(dialog, &TNotesFindDlg::ReplaceAll, this, [notes, dialog] {
        std::string text = FromQString(notes->toPlainText());
        const TTextFindOptions options{dialog->MatchCase(), dialog->WholeWord(), true};
        if (ReplaceAllInText(text, FromQString(dialog->FindText()),
                             FromQString(dialog->ReplaceText()), options) == 0) {
            FindNotesText(notes, *dialog); // reports that there is none
            return;
        }
        QTextCursor c = notes->textCursor();
        c.select(QTextCursor::Document);
        c.insertText(ToQString(text)); // one step of the editor's own undo
    });
    if (replace) {
        // Leaving the Notes field closes the replace dialog.
        connect(qApp, &QApplication::focusChanged, dialog,
                [notes, dialog](QWidget* old, QWidget* now) {
                    if (old == notes && now && !dialog->isAncestorOf(now) && now != dialog)
                        dialog->close();
                });
    }
    dialog->show();
}

} // namespace tessaly
