#include "app/book/book.h"

#include "app/attachments/attachment_commands.h"
#include "app/book/address_page.h"
#include "app/book/attachments_page.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_delegate.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_page.h"
#include "app/book/others_page.h"
#include "app/book/reminders_page.h"
#include "app/dial/dial_command.h"
#include "app/shell/file_windows.h"
#include "app/shell/hour_glass.h"
#include "app/shell/main_form.h"
#include "app/shell/message_dialog.h"
#include "core/access/book_header.h"
#include "core/book_window/tagging.h"
#include "core/common/file_paths.h"
#include "core/diary/event_source.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "core/system/file_lock.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <functional>

namespace tessaly {

namespace {

const char kLockedSuffix[] = " (Locked)"; // string 82
const char kBackupLocked[] =              // string 440
    "The Address Book opened is a Back-up File of another Address Book. To protect against "
    "data loss, this Book has been locked against updates.\n\nTo update this Book, use the "
    "Save As command and save it using with a different name and file extension";

// The read-only attribute: no write permission for the owner. Permission bits, not
// access(), so that the answer is the same for root.
// The mode bits as a save reads them (ModeAllowsWriting): the write bit of the owner,
// the group or the others, whichever this user is.
bool FileIsReadOnly(const QString& path) {
    TFileStat st;
    return RealFileSystem().Stat(PathToCore(path), st) == 0 && !ModeAllowsWriting(st);
}

// The book keeps its window's normal rectangle as left, top, right, bottom with the
// right and bottom edges outside it; a QRect counts them inside.
QRect BoundsRect(const std::array<std::int32_t, 4>& bounds) {
    return QRect(QPoint(bounds[0], bounds[1]), QPoint(bounds[2] - 1, bounds[3] - 1));
}

std::array<std::int32_t, 4> StoredBounds(const QRect& rect) {
    return {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
}

// A book file large enough for its test write to delay the first sight of its list.
bool LargeFile(const QString& path) {
    constexpr std::int64_t kLargeBookBytes = std::int64_t{4} << 20;
    TFileStat st;
    return RealFileSystem().Stat(PathToCore(path), st) == 0 && st.Size >= kLargeBookBytes;
}

// Calls `then` once, just after the first paint of a widget.
class TOnFirstPaint : public QObject {
public:
    TOnFirstPaint(QWidget* widget, std::function<void()> then)
        : QObject(widget), then_(std::move(then)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            QTimer::singleShot(0, watched, std::move(then_));
            then_ = nullptr;
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// The "Reminders" page of the general options dialog.
constexpr int kRemindersOptionsPage = 2;

// The keys of the "&View" page commands, pages 0 to 5.
const Qt::Key kPageKeys[TBook::kPages] = {Qt::Key_F5, Qt::Key_F6, Qt::Key_F7,
                                          Qt::Key_F8, Qt::Key_F9, Qt::Key_F4};

} // namespace

TBook::TBook(TMainForm& frame, const QString& path, bool mustExist, bool readOnly,
             const IClock& clock)
    : TChildWindow(frame, TChildKind::Book, path), clock_(clock) {
    THourGlass busy;
    const TStoreSettings store = frame.Settings().StoreSettings();
    if (mustExist) {
        frame.ShowProgress(" Loading Address Book...");
        TLoadResult loaded = LoadBook(PathToCore(path), store);
        frame.ShowProgress(QString());
        if (!loaded.Book) {
            ShowMessage(mtAccessError, SystemTextToQString(loaded.Message), mkError, mbOk);
            return;
        }
        book_ = std::move(loaded.Book);
    } else {
        book_ = NewBook(PathToCore(path), store, clock_);
    }
    book_->FileName = PathToCore(path);

    // The window is locked exactly when writing the book at once fails; a read-only
    // request skips the write. A file without write permission is locked before the
    // test write: the write replaces the file through a rename, which the permission
    // bits of the file itself would not stop.
    readOnly_ = readOnly || FileIsReadOnly(path);
    // A large book read from its file is written just after its window has painted
    // its list, so that it does not wait for a rewrite of itself to appear; others
    // are written at once.
    const bool testWrite = !readOnly_ && mustExist && LargeFile(path);
    if (!readOnly_ && !testWrite && !WriteBook(false, nullptr))
        readOnly_ = true;
    ApplyLockState(readOnly);

    NewWorkRecord(*book_);
    CreateControls();
    CreateMenus();
    SetEditMode(edit_.Mode()); // the fields take the lock state
    ApplyDisplaySettings();
    RestoreView();
    BuildEntryList();

    if (testWrite) {
        testWritePending_ = true;
        new TOnFirstPaint(list_->viewport(), [this] { TestWriteAfterOpening(); });
        // A window that is not shown never paints its list: it writes at once.
        QTimer::singleShot(0, this, [this] {
            if (!list_->viewport()->isVisible())
                TestWriteAfterOpening();
        });
    }
}

TBook::~TBook() = default;

// ---- the file ----------------------------------------------------------------------

bool TBook::ChangedOnDisk() const {
    return book_ && BookChangedOnDisk(*book_);
}

bool TBook::WriteBook(bool closing, QString* error, bool force) {
    // Another copy of the program or tessaly-cli may be writing the file: wait a
    // little for it, then give up rather than overwrite its change.
    TFileLock lock;
    if (!lock.Acquire(book_->FileName, std::chrono::seconds(3))) {
        if (error)
            *error = "Another user or program is saving the book. Try again later.";
        return false;
    }
    TSaveOptions options;
    options.Force = force;
    const TSaveResult r = SaveBook(*book_, closing, Frame().Settings().StoreSettings(), options);
    if (r.BackupFailed)
        QApplication::beep();
    if (!r.Ok && error)
        *error = SystemTextToQString(r.Error);
    return r.Ok;
}

void TBook::TestWriteAfterOpening() {
    if (!testWritePending_)
        return;
    // A modal dialog may hold changes to the book it has not handed back yet (a
    // search being edited, a Cancel still to restore): the write waits until it closes.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, [this] { TestWriteAfterOpening(); });
        return;
    }
    testWritePending_ = false;
    // A change made in the meantime is the user's to save: the book is left alone.
    if (!book_ || book_->Modified)
        return;
    if (!WriteBook(false, nullptr) && !readOnly_) {
        readOnly_ = true;
        ApplyLockState(true);
        UpdateCommandState();
    }
}

bool TBook::Save(bool closing) {
    if (readOnly_ || !book_)
        return false;
    THourGlass busy;
    StoreView();
    // Another copy may have written the file since it was read or last saved: ask
    // before its changes are overwritten.
    const bool changed = ChangedOnDisk();
    if (changed &&
        ShowMessage(mtDataLossPossible,
                    QString("Address Book %1 has been changed by another user or program since "
                            "it was read.\n\nDo you wish to overwrite those changes ?")
                        .arg(FilePath()),
                    mkWarning, mbYesNo) != mrYes)
        return false;
    Frame().ShowProgress(" Saving Address Book...");
    QString error;
    const bool ok = WriteBook(closing, &error, changed);
    Frame().ShowProgress(QString());
    if (!ok) {
        // Never silent: the reason is shown, the book stays modified, and the window
        // refuses further changes.
        QApplication::beep();
        ShowMessage(mtAccessError,
                    QString("Address Book %1 could not be saved.\n\n%2").arg(FilePath(), error),
                    mkError, mbOk);
        readOnly_ = true;
        ApplyLockState(false);
        UpdateCommandState();
    }
    ShowIndicator("Address Book has been Modified", book_->Modified != 0);
    return ok;
}

void TBook::ApplyLockState(bool requestedReadOnly) {
    if (!requestedReadOnly && !readOnly_ && FileIsReadOnly(FilePath()))
        readOnly_ = true;
    if (!readOnly_ && FileKindOf(PathToCore(FilePath())) == TFileKind::Book &&
        QFileInfo(FilePath()).suffix().compare("BAK", Qt::CaseInsensitive) == 0) {
        readOnly_ = true;
        ShowMessage(mtAccessError, kBackupLocked, mkInformation, mbOk);
    }
    edit_.SetReadOnly(readOnly_);
    SetCaption();
    SetEditMode(edit_.Mode());
}

void TBook::SetCaption() {
    QString caption = QFileInfo(FilePath()).completeBaseName().toUpper();
    if (readOnly_)
        caption += kLockedSuffix;
    setWindowTitle(caption);
}

void TBook::ToggleLock() {
    if (!edit_.Viewing())
        return;
    Save(false);
    QFile::Permissions p = QFile::permissions(FilePath());
    // The owner's write bit is the attribute (Qt sets it for either flag).
    if (readOnly_)
        p |= QFileDevice::WriteOwner;
    else
        p &= ~(QFileDevice::WriteOwner | QFileDevice::WriteUser);
    QFile::setPermissions(FilePath(), p);
    readOnly_ = false;
    ApplyLockState(false);
    if (!readOnly_ && !WriteBook(false, nullptr))
        readOnly_ = true, SetCaption();
    SetEditMode(edit_.Mode());
    UpdateCommandState();
}

void TBook::RecordChange() {
    if (readOnly_)
        return;
    MarkChanged(*book_, clock_);
    AutoSaveCheck();
}

void TBook::AutoSaveCheck() {
    if (!readOnly_ && AutoSaveDue(*book_, Frame().Settings().StoreSettings()))
        Save(false);
    ShowIndicator("Address Book has been Modified", book_->Modified != 0);
    UpdateCommandState();
    // Every change of the book passes here: the calendar and the alarm list follow it.
    emit RemindersChanged();
}

// ---- controls ----------------------------------------------------------------------

void TBook::CreateControls() {
    model_ = new TEntryListModel(*book_, clock_, this);
    list_ = new TTessaListBox(clock_);
    delegate_ = new TEntryListDelegate(Frame().Settings(), list_);
    list_->setItemDelegate(delegate_);
    list_->SetEntryModel(model_);
    // The row chosen is selected before the entry is shown: a click reports its row
    // before the view has selected it.
    connect(list_, &TTessaListBox::EntryChosen, this, [this](int row) {
        list_->SelectRow(row);
        ShowCurrentEntry();
    });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this] { ToggleTag(); });

    tabs_ = new QTabWidget;
    tabs_->setObjectName("Tabs");
    address_ = new TAddressPage;
    notes_ = new TNotesPage;
    reminders_ = new TRemindersPage(clock_);
    others_ = new TOthersPage;
    attachments_ = new TAttachmentsPage;
    categories_ = new TCategoriesPage;
    for (QWidget* page : std::initializer_list<QWidget*>{address_, notes_, reminders_, others_,
                                                         attachments_, categories_})
        tabs_->addTab(page, QString());
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
        StorePage(shownPage_);
        FillPage(page);
        if (list_->isEnabled())
            list_->setFocus();
        UpdateCommandState();
    });
    connect(address_, &TAddressPage::TemplateTabChanged, this, [this] { UpdateCommandState(); });
    connect(address_, &TAddressPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(notes_, &TNotesPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(others_, &TOthersPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(categories_, &TCategoriesPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(others_->TodayButton(), &QPushButton::clicked, this, &TBook::SetLastCalledNow);
    connect(reminders_, &TRemindersPage::OptionsRequested, this,
            [this] { Frame().ShowOptions(kRemindersOptionsPage); });
    connect(reminders_, &TRemindersPage::AddRequested, this, &TBook::AddReminder);
    connect(reminders_, &TRemindersPage::EditRequested, this, &TBook::EditSelectedReminder);
    connect(reminders_, &TRemindersPage::ViewRequested, this, &TBook::ViewSelectedReminder);
    connect(reminders_, &TRemindersPage::AcknowledgeRequested, this,
            &TBook::AcknowledgeSelectedReminder);
    connect(reminders_, &TRemindersPage::DeleteRequested, this, &TBook::DeleteSelectedReminder);
    setAcceptDrops(true);
    connect(address_, &TAddressPage::DialRequested, this, &TBook::PhoneButtonPressed);

    // Shift+Page Down and Shift+Page Up scroll the fields of the Address or the Others
    // page, whichever is shown, by 10 units.
    for (const auto& [key, step] : {std::pair{QKeyCombination(Qt::SHIFT, Qt::Key_PageDown), 10},
                                    std::pair{QKeyCombination(Qt::SHIFT, Qt::Key_PageUp), -10}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { ScrollFields(step); });
    }

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("Splitter");
    splitter_->setHandleWidth(2);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(list_);
    splitter_->addWidget(tabs_);
    splitter_->setStretchFactor(1, 1);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(2, 2, 2, 13);
    h->addWidget(splitter_);
}

void TBook::ScrollFields(int step) {
    const char* box = tabs_->currentWidget() == address_  ? "ScrollBox"
                      : tabs_->currentWidget() == others_ ? "OthersScrollBox"
                                                          : nullptr;
    if (!box)
        return;
    if (auto* area = tabs_->currentWidget()->findChild<QScrollArea*>(box)) {
        QScrollBar* bar = area->verticalScrollBar();
        bar->setValue(bar->value() + step);
    }
}

static QMenu* MakeMenu(QWidget* owner, const QString& title) {
    return new QMenu(title, owner);
}

void TBook::CreateMenus() {
    TMainForm& f = Frame();
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
    for (const char* later :
         {"&Print...", "&Quick Reports...", "Page &Designer...", "I&mport...", "&Export..."})
        fileMenu_->addAction(later)->setEnabled(false);
    fileMenu_->addSeparator();
    fileMenu_->addAction("E&xit", &f, &QWidget::close);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TBook::RefreshFileMenu);

    viewMenu_ = MakeMenu(this, "&View");
    for (int page = 0; page < kPages; ++page) {
        pageActions_[page] = viewMenu_->addAction(QString(), QKeySequence(kPageKeys[page]), this,
                                                  [this, page] { ShowPage(page); });
        pageActions_[page]->setShortcutContext(Qt::WindowShortcut);
    }
    viewMenu_->addSeparator();
    viewMenu_->addAction("&Calendar", QKeySequence(Qt::Key_F12), &f, &TMainForm::ShowCalendar);
    viewMenu_->addAction("&Search Address Book...", QKeySequence(Qt::Key_F10), this,
                         &TBook::SearchAddressBook);
    removeSearchAction_ =
        viewMenu_->addAction("Re&move Active Search", this, &TBook::RemoveActiveSearch);

    toolsMenu_ = MakeMenu(this, "&Tools");
    QMenu* frameTools = nullptr;
    for (QAction* a : f.menuBar()->actions())
        if (a->menu() && a->text() == "&Tools")
            frameTools = a->menu();
    if (frameTools)
        for (QAction* a : frameTools->actions())
            toolsMenu_->addAction(a);
    toolsMenu_->addAction("Configure &Address Book...", this, [this] { ConfigureBook(); });
    toolsMenu_->addSeparator();
    toolsMenu_->addAction("&Insert into Word Processor")->setEnabled(false);
    toolsMenu_->addAction("Insert to &Windows Clipboard")->setEnabled(false);
    toolsMenu_->addSeparator();
    tagAction_ = toolsMenu_->addAction("&Tag Entry", this, &TBook::ToggleTag);
    applyTagsAction_ =
        toolsMenu_->addAction("Apply Tags to &Entries...", this, [this] { TagEntries(false); });
    removeTagsAction_ =
        toolsMenu_->addAction("&Remove Tags from Entries...", this, [this] { TagEntries(true); });
    toolsMenu_->addSeparator();
    dialAction_ = toolsMenu_->addAction("&Dial Number...", this, [this] { DialWithDialog(*this); });
    toolsMenu_->addAction("Telephone Call &Log...", QKeySequence(Qt::Key_F2))->setEnabled(false);

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
    saveAction_->setEnabled(!readOnly_ && book_->Modified);
}

void TBook::ApplyDisplaySettings() {
    const TSettings& s = Frame().Settings();
    for (QLabel* l : findChildren<QLabel*>()) {
        if (l->property("dateValue").toBool())
            continue; // values, not labels
        QFont f = l->font();
        f.setBold(s.BoldLabels);
        l->setFont(f);
    }
    list_->viewport()->update();
    if (shownPage_ >= 0)
        LayoutFields();
}

void TBook::ApplyScreenFont(const QFont& font) {
    setFont(font);
    list_->setFont(font);
    ApplyDisplaySettings();
}

// ---- view state kept in the book ----------------------------------------------------

void TBook::NamePages() {
    for (int page = 0; page < kPages; ++page) {
        QString caption = ToQString(PageCaption(*book_, page));
        if (caption.isEmpty())
            caption = kDefaultPageCaptions[page];
        tabs_->setTabText(page, caption);
        pageActions_[page]->setText(caption + " Page");
        pageActions_[page]->setStatusTip("View the " + caption + " Page");
    }
}

void TBook::RestoreView() {
    const TBookWindowPlacement p = WindowPlacement(*book_);
    const QRect bounds = BoundsRect(p.Bounds);
    splitter_->setSizes({p.ListWidth, std::max(200, bounds.width() - p.ListWidth)});
    address_->SetPanelWidths(p.TitleWidth, p.NamePanelWidth);
    NamePages();
    tabs_->blockSignals(true);
    tabs_->setCurrentIndex(std::clamp(p.ActivePage, 0, kPages - 1));
    tabs_->blockSignals(false);
    resize(bounds.size());
}

void TBook::StoreView() {
    TBookWindowPlacement p = WindowPlacement(*book_);
    if (QMdiSubWindow* sub = SubWindow()) {
        p.State = sub->isMinimized()   ? kWindowMinimised
                  : sub->isMaximized() ? kWindowMaximised
                                       : kWindowNormal;
        if (p.State == kWindowNormal)
            p.Bounds = StoredBounds(sub->geometry());
    }
    p.ListWidth = splitter_->sizes().value(0);
    p.TitleWidth = address_->TitleWidth();
    p.NamePanelWidth = address_->NamePanelWidth();
    p.ActivePage = CurrentPage();
    SetWindowPlacement(*book_, p);
    book_->ListItemIndex = static_cast<std::int16_t>(std::max(0, list_->SelectedRow()));
    book_->ListTopIndex = static_cast<std::int16_t>(list_->TopRow());
}

void TBook::showEvent(QShowEvent* event) {
    TChildWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // The first show: the window takes the place and state kept in the book.
    const TBookWindowPlacement p = WindowPlacement(*book_);
    if (QMdiSubWindow* sub = SubWindow()) {
        const QRect bounds = BoundsRect(p.Bounds);
        if (bounds.isValid())
            sub->setGeometry(bounds);
        if (p.State == kWindowMaximised)
            sub->showMaximized();
        else if (p.State == kWindowMinimised)
            sub->showMinimized();
    }
    splitter_->setSizes({p.ListWidth, std::max(200, width() - p.ListWidth)});
    if (Frame().Settings().SaveSelection && book_->ListTopIndex < model_->rowCount())
        list_->SetTopRow(book_->ListTopIndex);
}

// ---- the entry list ------------------------------------------------------------------

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

void TBook::LayoutFields() {
    // Every page shows the working entry; the page in view is filled last so that it
    // is the one whose fields are later copied back.
    const TSettings& s = Frame().Settings();
    TRecord& w = *book_->WorkRecord;
    address_->Fill(w, *book_, s);
    FillPage(CurrentPage());
    UpdateCommandState();
}

int TBook::CurrentPage() const {
    return tabs_ ? tabs_->currentIndex() : 0;
}

void TBook::ShowPage(int page) {
    if (page >= 0 && page < kPages)
        tabs_->setCurrentIndex(page);
}

void TBook::StorePage(int page) {
    if (!book_ || !book_->WorkRecord || page < 0)
        return;
    TRecord& w = *book_->WorkRecord;
    switch (page) {
    case 0:
        address_->Store(w);
        break;
    case 1:
        notes_->Store(w);
        break;
    case 3:
        others_->Store(w);
        break;
    case 5:
        categories_->Store(w);
        break;
    default:
        break;
    }
}

void TBook::FillPage(int page) {
    const TSettings& s = Frame().Settings();
    TRecord& w = *book_->WorkRecord;
    switch (page) {
    case 0:
        address_->Fill(w, *book_, s);
        break;
    case 1:
        notes_->Fill(w, *book_, s);
        break;
    case 2:
        reminders_->Fill(w, *book_, s);
        break;
    case 3:
        others_->Fill(w, *book_, s);
        break;
    case 4:
        attachments_->Fill(w, *book_);
        break;
    case 5:
        categories_->Fill(w, *book_);
        break;
    default:
        break;
    }
    shownPage_ = page;
}

void TBook::SetEditMode(int mode) {
    edit_.SetReadOnly(readOnly_);
    if (mode != edit_.Mode()) {
        edit_.Finished();
        if (mode == kEditAdding)
            edit_.StartAdding();
        else if (mode == kEditUpdating)
            edit_.StartUpdating(true);
    }
    // Fields take typing whenever the book is writable: typing into a displayed entry
    // starts an edit (fast edit).
    const bool locked = readOnly_;
    if (address_) {
        address_->SetReadOnly(locked);
        notes_->SetReadOnly(locked);
        others_->SetReadOnly(locked);
        categories_->SetReadOnly(locked);
        UpdateCommandState();
    }
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
    in.WordProcessorDefined = false; // word-processor links are not set up yet
    in.TemplateTabSelected = address_->TemplateTab() >= 0;
    for (int i = 0; i < 4; ++i)
        in.PhoneFilled[static_cast<std::size_t>(i)] = address_->PhoneFilled(i);
    in.Page = CurrentPage();
    state_ = tessaly::UpdateCommandState(in);

    setAcceptDrops(state_.AcceptDrops);
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
    }
    UpdateEditActions(in);
    for (int i = 0; i < 4; ++i)
        address_->DialButton(i)->setEnabled(state_.Phone[static_cast<std::size_t>(i)]);
    if (Frame().ActiveChild() == this) {
        for (QToolButton* b : Frame().findChildren<QToolButton*>())
            if (Frame().ToolButton(1, b->objectName()) == b)
                b->setEnabled(ToolCommandEnabled(b->objectName()));
    }
}

// ---- status page -----------------------------------------------------------------------

void TBook::ShowIndicator(const char* name, bool on) {
    if (Frame().ActiveChild() != this)
        return;
    if (QLabel* l = Frame().findChild<QLabel*>(name))
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

// ---- commands --------------------------------------------------------------------------

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
    if (hint == "Dial Number") {
        DialWithDialog(*this);
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

bool TBook::EventSource(TEventSource& source) const {
    if (!book_)
        return false;
    source = TEventSource{this, book_.get(), nullptr};
    return true;
}

bool TBook::GoToReminder(TRecord* entry, const TReminders* reminder) {
    if (!entry || !book_)
        return false;
    if (Frame().isMinimized())
        Frame().showNormal();
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
    Frame().raise();
    ShowPage(2);
    if (reminder)
        reminders_->SelectReminder(reminder);
    return true;
}

// ---- re-reading a locked book -------------------------------------------------------------

void TBook::Synchronise() {
    if (!readOnly_ || !book_ || closing_)
        return;
    if (!ChangedOnDisk())
        return;
    // The new book is read aside and swapped in only when it loaded: a failed re-read
    // keeps the book shown, and the next change is tried again.
    TLoadResult loaded = LoadBook(PathToCore(FilePath()), Frame().Settings().StoreSettings());
    if (!loaded.Book)
        return;
    std::unique_ptr<TBookData> fresh = std::move(loaded.Book);
    fresh->FileName = PathToCore(FilePath());
    // The view state held in the book stays as the user left it.
    AssignKeys(fresh->IndexKeys, book_->IndexKeys);
    fresh->Searches = book_->Searches;
    fresh->ShowCompleted = book_->ShowCompleted;
    fresh->ShowNotes = book_->ShowNotes;
    fresh->SortOrder = book_->SortOrder;
    fresh->AttachmentView = book_->AttachmentView;
    fresh->AttachmentsByDescription = book_->AttachmentsByDescription;
    fresh->ColumnWidths = book_->ColumnWidths;
    const int row = list_->SelectedRow();
    const int top = list_->TopRow();
    StorePage(-1);
    current_ = nullptr;
    shownPage_ = -1;
    model_->SetBook(*fresh);
    book_ = std::move(fresh);
    // The calendar and the alarm list name reminders by position: they gather this
    // book's again before anything can show the new book through them.
    emit RemindersChanged();
    NewWorkRecord(*book_);
    SelectAfterBuild(std::max(0, row), top);
}

bool TBook::ShowReminder(const TEventRef& ref) {
    TRecord* entry = book_ ? book_->Entries.At(ref.Entry) : nullptr;
    if (!entry)
        return false;
    return GoToReminder(entry, entry->Reminders.At(ref.Event));
}

// ---- closing ---------------------------------------------------------------------------------

bool TBook::QueryClose() {
    if (!book_)
        return true;
    if (!edit_.Viewing()) {
        if (ShowMessage(mtDataLossPossible,
                        QString("Address Book %1 is being Updated \n\nAre you sure you wish to "
                                "close the Address Book")
                            .arg(FilePath()),
                        mkWarning, mbYesNo) != mrYes)
            return false;
        CancelEdit();
    }
    closing_ = true;
    delegate_->SetClosing(true);
    StorePage(shownPage_);
    const bool saved = readOnly_ || Save(true);
    // Edits that could not be written are never dropped without asking.
    if ((!saved || readOnly_) && book_->Modified &&
        ShowMessage(mtDataLossPossible,
                    QString("The changes to Address Book %1 could not be saved.\n\nDo you wish "
                            "to close the Address Book and lose them ?")
                        .arg(FilePath()),
                    mkWarning, mbYesNo) != mrYes) {
        closing_ = false;
        delegate_->SetClosing(false);
        return false;
    }
    savedAtClose_ = true;
    return true;
}

void TBook::CloseFile() {
    closing_ = true;
    if (book_ && !savedAtClose_ && !readOnly_ && !Save(true))
        QApplication::beep();
    Frame().UpdateReopenList(true, FilePath(), "ADR");
    current_ = nullptr;
    book_.reset();
}

TChildWindow* CreateBookWindow(TMainForm& frame, const QString& path, bool mustExist,
                               bool readOnly) {
    auto* w = new TBook(frame, path, mustExist, readOnly);
    if (!w->Book()) {
        delete w;
        return nullptr;
    }
    return w;
}

} // namespace tessaly
