// The book window itself: opening the book, saving and locking it, the view state
// kept in it, re-reading a locked book that changed on disk, and closing.

#include "app/book/book.h"

#include "app/book/address_page.h"
#include "app/book/entry_list_delegate.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "app/widgets/window_keys.h"
#include "core/access/book_header.h"
#include "core/call_log/call_logging.h"
#include "core/common/file_paths.h"
#include "core/diary/event_source.h"
#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "core/system/file_lock.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
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

} // namespace

TBook::TBook(IFrame& frame, const QString& path, bool mustExist, bool readOnly, const IClock& clock)
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
    new TWindowKeysFirst(this); // the commands' keys win over the fields' own
    SetEditMode(edit_.Mode());  // the fields take the lock state
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
    // Nor does it write over a round with a server that works on the file.
    if (syncHeld_) {
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
    if (syncHeld_)
        caption += " (Synchronising)";
    else if (readOnly_)
        caption += kLockedSuffix;
    setWindowTitle(caption);
}

void TBook::ToggleLock() {
    if (!edit_.Viewing() || syncHeld_)
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
    // Unlocking writes the book at once, which also lifts a lock that a failed save
    // set once the book can be saved again; when it still cannot, the user is told why.
    QString error;
    if (!readOnly_ && !WriteBook(false, &error)) {
        readOnly_ = true;
        SetCaption();
        QApplication::beep();
        ShowMessage(mtAccessError,
                    QString("Address Book %1 could not be saved, and stays locked.\n\n%2")
                        .arg(FilePath(), error),
                    mkError, mbOk);
    }
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

// ---- view state kept in the book ----------------------------------------------------

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
    PlaceOnFirstShow(BoundsRect(p.Bounds), p.State == kWindowMaximised   ? TFirstState::Maximised
                                           : p.State == kWindowMinimised ? TFirstState::Minimised
                                                                         : TFirstState::Normal);
    splitter_->setSizes({p.ListWidth, std::max(200, width() - p.ListWidth)});
    if (Frame().Settings().SaveSelection && book_->ListTopIndex < model_->rowCount())
        list_->SetTopRow(book_->ListTopIndex);
}

bool TBook::EventSource(TEventSource& source) const {
    if (!book_)
        return false;
    source = TEventSource{this, book_.get(), nullptr};
    return true;
}

// ---- re-reading a locked book -------------------------------------------------------------

void TBook::Synchronise() {
    // A round with a server holds the window locked while it writes the file; the
    // window reads the file again when the round ends.
    if (!readOnly_ || !book_ || closing_ || syncHeld_)
        return;
    if (!ChangedOnDisk())
        return;
    ReReadBook();
}

bool TBook::ReReadBook() {
    // The new book is read aside and swapped in only when it loaded: a failed re-read
    // keeps the book shown, and the next change is tried again.
    TLoadResult loaded = LoadBook(PathToCore(FilePath()), Frame().Settings().StoreSettings());
    if (!loaded.Book)
        return false;
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
    return true;
}

// ---- closing ---------------------------------------------------------------------------------

bool TBook::QueryClose() {
    if (!book_)
        return true;
    if (Frame().LoggingCallFor(this)) {
        ShowMessage(mtRequestDenied, kMsgCloseWhileLogging, mkInformation, mbOk);
        return false;
    }
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

TChildWindow* CreateBookWindow(IFrame& frame, const QString& path, bool mustExist, bool readOnly) {
    auto* w = new TBook(frame, path, mustExist, readOnly);
    if (!w->Book()) {
        delete w;
        return nullptr;
    }
    return w;
}

} // namespace tessaly
