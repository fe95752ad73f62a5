#include "shell/book_window.h"

#include "settings/file_paths.h"
#include "shell/file_windows.h"
#include "shell/hour_glass.h"
#include "shell/main_form.h"
#include "shell/message_dialog.h"
#include "store/book_file.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {
const char kLockedSuffix[] = " (Locked)"; // string 82
// The read-only attribute: no write permission for the owner. Permission bits, not
// access(), so that the answer is the same for root.
bool FileIsReadOnly(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !(info.permissions() & QFileDevice::WriteOwner);
}
// Commands of the book page that the simple window has.
const QStringList kOwnCommands = {"Close Address Book", "Context Help"};
} // namespace

TBook::TBook(TMainForm& frame, const QString& path, bool mustExist, bool readOnly)
    : TChildWindow(frame, TChildKind::Book, path) {
    THourGlass busy;
    const TStoreSettings store = frame.Settings().StoreSettings();
    if (mustExist) {
        frame.ShowProgress(" Loading Address Book...");
        TLoadResult loaded = LoadBook(PathToCore(path), store);
        frame.ShowProgress(QString());
        if (!loaded.Book) {
            // Older layouts need the converter, which is not part of this program.
            ShowMessage(mtAccessError, QString::fromStdString(loaded.Message), mkError, mbOk);
            return;
        }
        book_ = std::move(loaded.Book);
    } else {
        book_ = NewBook(PathToCore(path), store);
    }
    book_->FileName = PathToCore(path);
    fileTime_ = QFileInfo(path).lastModified();

    // The window is locked exactly when writing the book at once fails; a read-only
    // request skips the write. A file without write permission is locked before the
    // test write: the write replaces the file through a rename, which the permission
    // bits of the file itself would not stop.
    readOnly_ = readOnly || FileIsReadOnly(path) || !Save(false);
    ApplyLockState(readOnly);

    title_ = new QLabel;
    QFont big = title_->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title_->setFont(big);
    count_ = new QLabel;
    count_->setObjectName("EntryCount");
    path_ = new QLabel;
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* v = new QVBoxLayout(this);
    v->addWidget(title_);
    v->addWidget(count_);
    v->addWidget(path_);
    v->addStretch();
    ShowBook();
    resize(420, 260);
}

TBook::~TBook() = default;

void TBook::ApplyLockState(bool requestedReadOnly) {
    if (!requestedReadOnly && !readOnly_ && FileIsReadOnly(FilePath()))
        readOnly_ = true;
    if (!readOnly_ && FileKindOf(PathToCore(FilePath())) == TFileKind::Book &&
        QFileInfo(FilePath()).suffix().compare("BAK", Qt::CaseInsensitive) == 0) {
        readOnly_ = true;
        ShowMessage(mtAccessError,
                    "The Address Book opened is a Back-up File of another Address Book. To "
                    "protect against data loss, this Book has been locked against updates.\n\nTo "
                    "update this Book, use the Save As command and save it using with a "
                    "different name and file extension",
                    mkInformation, mbOk);
    }
    QString caption = QFileInfo(FilePath()).completeBaseName().toUpper();
    if (readOnly_)
        caption += kLockedSuffix;
    setWindowTitle(caption);
}

void TBook::ShowBook() {
    const int n = book_->Entries.Count();
    title_->setText(QFileInfo(FilePath()).completeBaseName().toUpper());
    count_->setText(n == 1 ? QString("1 entry") : QString("%1 entries").arg(n));
    path_->setText(FilePath());
    UpdateStatus();
}

void TBook::UpdateStatus() {
    if (Frame().ActiveChild() != this)
        return;
    const int n = book_ ? book_->Entries.Count() : 0;
    Frame().EntryCounter()->setText(QString("%1 of %2").arg(n).arg(n));
    Frame().SearchIndicator()->setText("All Entries");
    Frame().InfoLabel()->setText(windowTitle());
    // Only the commands this window has are offered.
    for (QToolButton* b : Frame().findChildren<QToolButton*>())
        if (b->parentWidget() && Frame().ToolButton(1, b->objectName()) == b)
            b->setEnabled(kOwnCommands.contains(b->objectName()));
}

bool TBook::Save(bool closing) {
    if (readOnly_ && closing)
        return false;
    THourGlass busy;
    Frame().ShowProgress(" Saving Address Book...");
    const TSaveResult r = SaveBook(*book_, closing, Frame().Settings().StoreSettings());
    Frame().ShowProgress(QString());
    if (r.BackupFailed)
        QApplication::beep();
    if (r.Ok)
        fileTime_ = QFileInfo(FilePath()).lastModified();
    return r.Ok;
}

bool TBook::RunCommand(const QString& hint) {
    if (hint == "Save") {
        if (!readOnly_ && !Save(false)) {
            readOnly_ = true;
            ApplyLockState(false);
        }
        return true;
    }
    return false;
}

void TBook::Synchronise() {
    if (!readOnly_ || !book_)
        return;
    const QDateTime now = QFileInfo(FilePath()).lastModified();
    if (now == fileTime_)
        return;
    TLoadResult loaded = LoadBook(PathToCore(FilePath()), Frame().Settings().StoreSettings());
    if (!loaded.Book)
        return; // keep what is shown; the next change is tried again
    book_ = std::move(loaded.Book);
    book_->FileName = PathToCore(FilePath());
    fileTime_ = now;
    ShowBook();
}

void TBook::CloseFile() {
    if (book_ && !readOnly_ && !Save(true))
        QApplication::beep();
    Frame().UpdateReopenList(true, FilePath(), "ADR");
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
