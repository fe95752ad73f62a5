// The book window's menus and the state of its commands, which the list, the pages
// and the lock decide together, and the tool-bar commands it runs.

#include "app/attachments/attachment_commands.h"
#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_page.h"
#include "app/book/reminders_page.h"
#include "app/call_log/call_log_command.h"
#include "app/dial/dial_command.h"
#include "app/exchange/word_pro_commands.h"
#include "app/printing/print_command.h"
#include "app/widgets/frame.h"
#include "core/book_window/tagging.h"
#include "core/exchange/word_pro.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolButton>

namespace tessaly {

namespace {

// The keys of the "&View" page commands, pages 0 to 5.
const Qt::Key kPageKeys[TBook::kPages] = {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7,
                                          Qt::Key_F8, Qt::Key_F9, Qt::Key_F4};

} // namespace

static QMenu* MakeMenu(QWidget* owner, const QString& title) {
    return new QMenu(title, owner);
}

void TBook::CreateMenus() {
    IFrame& f = Frame();
    // "&File": the frame's file commands, then the book's own.
    fileMenu_ = MakeMenu(this, "&File");
    const QList<QAction*> frameFile = f.FileMenu()->actions();
    for (int i = 0; i < frameFile.size() && i < 5; ++i)
        fileMenu_->addAction(frameFile[i]); // the four new/open commands and "&Reopen"
    fileMenu_->addSeparator();
    saveAction_ = fileMenu_->addAction("&Save", this, [this] { RunCommand("Save"); });
    saveAsAction_ = fileMenu_->addAction("Save &as...", this, &TBook::SaveAs);
    fileMenu_->addAction("&Close", QKeySequence(Qt::CTRL | Qt::Key_F4), this, [this] {
        if (SubWindow())
            SubWindow()->close();
    });
    fileMenu_->addSeparator();
    lockAction_ = fileMenu_->addAction("&Lock Address Book", this, &TBook::ToggleLock);
    fileMenu_
        ->addAction("Address Book &Info...", QKeySequence(Qt::CTRL | Qt::Key_I), this,
                    &TBook::ShowBookInfo)
        ->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    fileMenu_->addSeparator();
    printAction_ = fileMenu_->addAction("&Print...", this, &TBook::PrintEntries);
    reportsAction_ =
        fileMenu_->addAction("&Quick Reports...", QKeySequence(Qt::CTRL | Qt::Key_P), this, [this] {
            if (state_.PrintAndExport)
                ShowQuickReports(Frame(), this, PrintSource());
        });
    reportsAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    fileMenu_->addAction("Page &Designer...", this, [this] { Frame().OpenDesigner(this); });
    importAction_ = fileMenu_->addAction("I&mport...", this, &TBook::ImportData);
    exportAction_ = fileMenu_->addAction("&Export...", this, &TBook::ExportData);
    fileMenu_->addAction("Export vCards...", this, &TBook::ExportVCards);
    importVCardsAction_ = fileMenu_->addAction("Import vCards...", this, &TBook::ImportVCards);
    serverSyncAction_ =
        fileMenu_->addAction("Synchronise with Server...", this, &TBook::SynchroniseWithServer);
    fileMenu_->addSeparator();
    fileMenu_->addAction("E&xit", f.Widget(), &QWidget::close);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TBook::RefreshFileMenu);

    viewMenu_ = MakeMenu(this, "&View");
    for (int page = 0; page < kPages; ++page) {
        pageActions_[page] = viewMenu_->addAction(QString(), QKeySequence(kPageKeys[page]), this,
                                                  [this, page] { ShowPage(page); });
        pageActions_[page]->setShortcutContext(Qt::WindowShortcut);
    }
    viewMenu_->addSeparator();
    viewMenu_->addAction("&Calendar", QKeySequence(Qt::Key_F12), f.Widget(),
                         [frame = &f] { frame->OpenCalendar(); });
    viewMenu_->addAction("&Search Address Book...", QKeySequence(Qt::Key_F10), this,
                         &TBook::SearchAddressBook);
    removeSearchAction_ =
        viewMenu_->addAction("Re&move Active Search", this, &TBook::RemoveActiveSearch);

    toolsMenu_ = MakeMenu(this, "&Tools");
    QMenu* frameTools = nullptr;
    for (QAction* a : f.Widget()->menuBar()->actions())
        if (a->menu() && a->text() == "&Tools")
            frameTools = a->menu();
    if (frameTools)
        for (QAction* a : frameTools->actions())
            toolsMenu_->addAction(a);
    toolsMenu_->addAction("Configure &Address Book...", this, [this] { ConfigureBook(); });
    toolsMenu_->addSeparator();
    insertAction_ = toolsMenu_->addAction("&Insert into Word Processor", this,
                                          [this] { InsertIntoWordProcessor(*this); });
    clipboardAction_ = toolsMenu_->addAction("Insert to &Windows Clipboard", this,
                                             [this] { InsertToClipboard(*this); });
    toolsMenu_->addSeparator();
    tagAction_ = toolsMenu_->addAction("&Tag Entry", this, &TBook::ToggleTag);
    applyTagsAction_ =
        toolsMenu_->addAction("Apply Tags to &Entries...", this, [this] { TagEntries(false); });
    removeTagsAction_ =
        toolsMenu_->addAction("&Remove Tags from Entries...", this, [this] { TagEntries(true); });
    toolsMenu_->addSeparator();
    dialAction_ = toolsMenu_->addAction("&Dial Number...", this, [this] { DialWithDialog(*this); });
    callLogAction_ = toolsMenu_->addAction("Telephone Call &Log...", QKeySequence(Qt::Key_F2), this,
                                           [this] { ShowCallLog(*this); });
    callLogAction_->setShortcutContext(Qt::WindowShortcut);

    notesMenu_ = MakeMenu(this, "Note&s");
    QPlainTextEdit* n = notes_->Editor();
    notesMenu_->addAction("Cu&t", n, &QPlainTextEdit::cut);
    notesMenu_->addAction("&Copy", n, &QPlainTextEdit::copy);
    notesMenu_->addAction("&Paste", n, &QPlainTextEdit::paste);
    notesMenu_->addAction("&Delete", n, [n] { n->textCursor().removeSelectedText(); });
    notesMenu_->addAction("Select &All", n, &QPlainTextEdit::selectAll);
    notesMenu_->addSeparator();
    timestampAction_ = notesMenu_->addAction("&Add Timestamp", QKeySequence(Qt::CTRL | Qt::Key_S),
                                             this, &TBook::AddTimestamp);
    timestampAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    notesMenu_->addAction("&Find Text...", this, [this] { FindInNotes(false); });
    notesMenu_->addAction("Find and &Replace Text...", this, [this] { FindInNotes(true); });
    CreateAttachmentCommands();
    for (QAction* a : fileMenu_->actions() + notesMenu_->actions())
        if (a->shortcutContext() == Qt::WidgetWithChildrenShortcut)
            addAction(a);
    CreateEditMenu();
    CreateListMenu();
    CreateDialogMenus();
}

QList<QMenu*> TBook::WindowMenus() const {
    return {fileMenu_,         editMenu_,  viewMenu_,
            toolsMenu_,        notesMenu_, attachmentCommands_->Menu(),
            reminders_->Menu()};
}

void TBook::RefreshFileMenu() {
    Frame().RefreshFileMenu();
    lockAction_->setEnabled(state_.LockBook);
    importAction_->setEnabled(state_.Import);
    exportAction_->setEnabled(state_.PrintAndExport);
    printAction_->setEnabled(state_.PrintAndExport);
    reportsAction_->setEnabled(state_.PrintAndExport);
    saveAction_->setEnabled(!readOnly_ && book_->Modified);
    importVCardsAction_->setEnabled(!readOnly_ && edit_.Viewing());
    // A locked book cannot take the server's changes (another copy may be writing it).
    serverSyncAction_->setEnabled(!readOnly_ && edit_.Viewing());
}

void TBook::UpdateCommandState() {
    if (!book_ || !list_)
        return;
    TCommandInputs in;
    in.ReadOnly = readOnly_;
    in.EditMode = edit_.Mode();
    in.ListCount = model_->rowCount();
    TRecord* selected = SelectedEntry();
    in.EntrySelected = selected != nullptr;
    in.EntryTagged = selected && selected->Tagged;
    in.UndoAvailable = book_->UndoList.Count() > 0;
    in.Modified = book_->Modified != 0;
    in.HasEntries = book_->Entries.Count() > 0;
    in.WordProcessorDefined = Frame().WordProcessors().WordProcessorDefined();
    in.TemplateTabSelected = address_->TemplateTab() >= 0;
    for (int i = 0; i < 4; ++i)
        in.PhoneFilled[static_cast<std::size_t>(i)] = address_->PhoneFilled(i);
    in.Page = CurrentPage();
    state_ = tessaly::UpdateCommandState(in);

    // Files are attached to a selected entry; vCards are imported into any book that
    // may be written.
    setAcceptDrops(state_.AcceptDrops || (!readOnly_ && edit_.Viewing()));
    // The list is grey while an entry is edited.
    list_->setEnabled(state_.ListEnabled);
    QPalette p = list_->palette();
    p.setColor(QPalette::Base, state_.ListEnabled
                                   ? QApplication::palette().color(QPalette::Base)
                                   : QApplication::palette().color(QPalette::Button));
    list_->setPalette(p);
    if (tagAction_) {
        tagAction_->setEnabled(state_.TagCommands && !readOnly_);
        tagAction_->setText(ToQString(state_.TagCaption));
        lockAction_->setEnabled(state_.LockBook);
        lockAction_->setText(readOnly_ ? "Un&lock Address Book" : "&Lock Address Book");
        lockAction_->setStatusTip(readOnly_ ? "Unlock the Address Book to allow updates"
                                            : "Lock the Address Book against updates");
        saveAction_->setEnabled(!readOnly_ && state_.Save);
        reminders_->Menu()->setEnabled(state_.RemindersMenu);
        reminders_->SetWritable(!readOnly_);
        dialAction_->setEnabled(state_.DialMenu);
        callLogAction_->setEnabled(state_.CallLog);
        insertAction_->setEnabled(state_.InsertMenu);
        clipboardAction_->setEnabled(state_.InsertToClipboard);
    }
    UpdateEditActions(in);
    for (int i = 0; i < 4; ++i)
        address_->DialButton(i)->setEnabled(state_.Phone[static_cast<std::size_t>(i)]);
    if (Frame().ActiveChild() == this) {
        for (QToolButton* b : Frame().Widget()->findChildren<QToolButton*>())
            if (Frame().ToolButton(1, b->objectName()) == b)
                b->setEnabled(ToolCommandEnabled(b->objectName()));
    }
}

void TBook::ToggleTag() {
    TRecord* entry = SelectedEntry();
    if (!entry || readOnly_ || !edit_.Viewing())
        return;
    // A tag is kept with the entry but is not a change of the book.
    ToggleEntryTag(*entry);
    list_->viewport()->update();
    AutoSaveCheck();
    ShowCurrentEntry();
}

bool TBook::RunCommand(const QString& hint) {
    if (hint == "Print First Linked Quick Report" || hint == "Print Second Linked Quick Report") {
        PrintLinked(hint.startsWith("Print First") ? 0 : 1);
        return true;
    }
    if (hint == "Dial Number") {
        DialWithDialog(*this);
        return true;
    }
    if (hint == "Insert to Word Processor") {
        if (state_.InsertToWordProcessor)
            InsertIntoWordProcessor(*this);
        return true;
    }
    if (hint == "Save") {
        Save(false);
        UpdateCommandState();
        return true;
    }
    if (hint == "Show Notes") {
        ShowPage(1);
        return true;
    }
    if (hint == "Show Reminders") {
        ShowPage(2);
        return true;
    }
    if (hint == "Re-apply Search") {
        if (edit_.Viewing() && book_->Searches.SearchIsActive(false))
            BuildEntryList();
        return true;
    }
    return RunEditCommand(hint);
}

} // namespace tessaly
