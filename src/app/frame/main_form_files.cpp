// The frame's files: opening from the menus, the reopen list, the hand-over, the first
// show that reopens the last run's files, and the orderly shut-down that records them.

#include "app/alarms/alarm_dlg.h"
#include "app/book/book.h"
#include "app/call_log/log_dlg.h"
#include "app/diary/diary_dlg.h"
#include "app/frame/main_form.h"
#include "app/sync/server_sync.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "app/widgets/modal_windows.h"
#include "core/common/file_paths.h"
#include "core/settings/open_files.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

namespace tessaly {

namespace {

struct TFileTexts {
    QString NotFound;  // string 3 / 7
    QString OpenTitle; // string 2 / 8
    QString NewTitle;  // string 5 / 6
    QStringList OpenFilters;
    QStringList NewFilters;
    QString Extension;
};

// Name filters list both cases, since the file system minds case here.
const TFileTexts& Texts(TChildKind kind) {
    static const TFileTexts book{
        "Address Book %1 could not be located",
        "Open Address Book",
        "Create New Address Book",
        {"Address Books (*.ADR *.adr)", "Backup Files (*.BAK *.bak)", "All Files (*)"},
        {"Address Books (*.ADR *.adr)", "All Files (*)"},
        "ADR"};
    static const TFileTexts diary{
        "Diary %1 could not be located",
        "Open Diary",
        "Create New Diary",
        {"Diary Files (*.TDY *.tdy)", "Backup Files (*.BKD *.bkd)", "All Files (*)"},
        {"Diary Files (*.TDY *.tdy)", "All Files (*)"},
        "TDY"};
    return kind == TChildKind::Diary ? diary : book;
}

} // namespace

bool TMainForm::OpenBookFile(const QString& path, bool mustExist, bool readOnly) {
    return OpenFile(TChildKind::Book, path, mustExist, readOnly);
}

bool TMainForm::OpenDiaryFile(const QString& path, bool mustExist, bool readOnly) {
    return OpenFile(TChildKind::Diary, path, mustExist, readOnly);
}

bool TMainForm::OpenFile(TChildKind kind, const QString& path, bool mustExist, bool readOnly) {
    if (path.isEmpty())
        return false;
    // Absolute, with the case the user gave it.
    const QString full = QFileInfo(path).absoluteFilePath();
    if (mustExist) {
        if (!QFileInfo(full).isFile()) {
            ShowMessage(mtAccessError, Texts(kind).NotFound.arg(full), mkError, mbOk);
            return false;
        }
        if (ActivateIfOpen(full))
            return true;
    } else if (ActivateIfOpen(full)) {
        ShowMessage(mtRequestDenied,
                    QString("%1 is Currently Open and therefore can not be Replaced").arg(full),
                    mkError, mbOk);
        return false;
    }
    TChildWindow* child = kind == TChildKind::Diary
                              ? CreateDiaryWindow(*this, full, mustExist, readOnly)
                              : CreateBookWindow(*this, full, mustExist, readOnly);
    if (!child)
        return false;
    AddChild(child);
    UpdateReopenList(false, full, Texts(kind).Extension);
    return true;
}

void TMainForm::AddChild(TChildWindow* child) {
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(windowIcon());
    child->ApplyScreenFont(font());
    connect(child, &QObject::destroyed, this, [this] {
        emit ChildrenChanged();
        // The tick waits until the child is gone: while it is being destroyed it is
        // still listed, and asking it anything would reach a half-destroyed window.
        QTimer::singleShot(0, this, [this] { TimerTick(); });
    });
    sub->show();
    mdi_->setActiveSubWindow(sub);
    emit ChildrenChanged();
    if (child->Kind() == TChildKind::Book || child->Kind() == TChildKind::Diary) {
        connect(child, &TChildWindow::RemindersChanged, this,
                [this, child] { EventsChanged(child, true); });
        EventsChanged(child, true);
    }
}

bool TMainForm::ActivateIfOpen(const QString& path) {
    const std::string wanted = PathToCore(path);
    for (TChildWindow* c : Children()) {
        if (c->FilePath().isEmpty() || !SamePath(PathToCore(c->FilePath()), wanted))
            continue;
        c->Activate();
        return true;
    }
    return false;
}

void TMainForm::ActivateByName(const QString& fileName) {
    for (TChildWindow* c : Children())
        if (c->ActivateIfNamed(fileName))
            return;
}

void TMainForm::UpdateReopenList(bool add, const QString& path, const QString& type) {
    if (add)
        settings_.ReopenList.Add(PathToCore(path), FromQString(type));
    else
        settings_.ReopenList.Remove(PathToCore(path));
}

void TMainForm::ReopenFile(int slot) {
    const TReopenSlot s = settings_.ReopenList.At(slot);
    if (s.Path.empty())
        return;
    const QString path = PathFromCore(s.Path);
    if (FileKindFromType(s.Type) == TFileKind::Book)
        OpenBookFile(path, true, false);
    else
        OpenDiaryFile(path, true, false);
}

void TMainForm::RefreshFileMenu() {
    for (int i = 0; i < TReopenList::kSlots; ++i) {
        const TReopenSlot& s = settings_.ReopenList.At(i);
        reopenActions_[i]->setText(QString("&%1 %2").arg(i + 1).arg(PathFromCore(s.Path)));
        reopenActions_[i]->setVisible(!s.Path.empty());
    }
    closeAction_->setEnabled(!mdi_->subWindowList().isEmpty());
}

void TMainForm::HandOver(const THandOver& h) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (h.Path.empty())
        return;
    const QString path = PathFromCore(h.Path);
    if (h.Kind == TFileKind::Diary)
        OpenDiaryFile(path, true, false);
    else
        OpenBookFile(path, true, false);
}

void TMainForm::FormShow(const QString& commandLineFile) {
    if (shown_)
        return;
    shown_ = true;
    ShowToolPage(0);
    const TOpenFiles last = ReadOpenFiles(access_);
    for (const auto& p : last.Books)
        OpenBookFile(PathFromCore(p), true, false);
    for (const auto& p : last.Diaries)
        OpenDiaryFile(PathFromCore(p), true, false);
    delete splash_.data();
    if (!last.Active.empty())
        ActivateByName(PathFromCore(last.Active));
    if (!commandLineFile.isEmpty()) {
        // A diary named on the command line opens as a diary.
        const QString path = QFileInfo(commandLineFile).absoluteFilePath();
        if (FileKindOf(PathToCore(path)) == TFileKind::Diary)
            OpenDiaryFile(path, true, false);
        else
            OpenBookFile(path, true, false);
    }
    ApplyStoredState();
    TimerTick();
}

void TMainForm::ApplyStoredState() {
    switch (access_.ReadInteger("Main Window", "State", 3)) {
    case 1:
        showMaximized();
        break;
    case 2:
        showMinimized();
        break;
    default:
        showNormal();
        break;
    }
}

QString TMainForm::FileDialogDirectory() {
    return PathFromCore(ReadLastDirectory(access_, "File Management", "Data Directory",
                                          PathToCore(context_.ProgramDirectory)));
}

void TMainForm::RememberFileDialogDirectory(const QString& chosenFile) {
    try {
        WriteLastDirectory(access_, "File Management", "Data Directory", PathToCore(chosenFile));
    } catch (const TSettingsWriteError& e) {
        ReportSettingsError(e, false);
    }
}

namespace {

// The open dialog offers the read-only check box of the original.
QString AskOpenFile(QWidget* parent, const QString& title, const QStringList& filters,
                    const QString& extension, const QString& directory, bool& readOnly) {
    QFileDialog dlg(parent, title, directory);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters(filters);
    dlg.setDefaultSuffix(extension);
    auto* box = new QCheckBox("Open as &read-only", &dlg);
    if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout()))
        grid->addWidget(box, grid->rowCount(), 0, 1, -1);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    readOnly = box->isChecked();
    return dlg.selectedFiles().first();
}

QString AskNewFile(QWidget* parent, const QString& title, const QStringList& filters,
                   const QString& extension, const QString& directory) {
    QFileDialog dlg(parent, title, directory);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setNameFilters(filters);
    dlg.setDefaultSuffix(extension);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().first();
}

} // namespace

void TMainForm::AskAndOpen(TChildKind kind) {
    const TFileTexts& t = Texts(kind);
    bool readOnly = false;
    const QString file =
        AskOpenFile(this, t.OpenTitle, t.OpenFilters, t.Extension, FileDialogDirectory(), readOnly);
    if (file.isEmpty())
        return;
    THourGlass busy;
    RememberFileDialogDirectory(file);
    OpenFile(kind, file, true, readOnly);
}

void TMainForm::AskAndCreate(TChildKind kind) {
    const TFileTexts& t = Texts(kind);
    const QString file =
        AskNewFile(this, t.NewTitle, t.NewFilters, t.Extension, FileDialogDirectory());
    if (file.isEmpty())
        return;
    RememberFileDialogDirectory(file);
    OpenFile(kind, file, false, false);
}

void TMainForm::FileOpenBook() {
    AskAndOpen(TChildKind::Book);
}

void TMainForm::FileNewBook() {
    AskAndCreate(TChildKind::Book);
}

void TMainForm::FileOpenDiary() {
    AskAndOpen(TChildKind::Diary);
}

void TMainForm::FileNewDiary() {
    AskAndCreate(TChildKind::Diary);
}

TWindowPlacement TMainForm::CurrentPlacement() const {
    TWindowPlacement p;
    p.State = isMaximized()   ? TWindowState::Maximised
              : isMinimized() ? TWindowState::Minimised
                              : TWindowState::Normal;
    QRect r = normalGeometry();
    if (!r.isValid())
        r = geometry();
    p.Left = r.x();
    p.Top = r.y();
    p.Width = r.width();
    p.Height = r.height();
    return p;
}

void TMainForm::ShutdownFromSignal() {
    if (signalShutdown_)
        return; // one shut-down at a time
    signalShutdown_ = true;
    // A round waiting on a server would hold the windows for minutes: it ends now, and
    // the book it works on closes after it.
    serverSync_->BreakOffAll();
    // Nobody is there to answer: every dialog and menu is closed as Cancel would close
    // it, now and whenever one opens while the windows close (their questions).
    constexpr int kSweepMs = 20;
    auto* sweeper = new QTimer(this);
    sweeper->setInterval(kSweepMs);
    connect(sweeper, &QTimer::timeout, this, [] { CancelModalWindows(); });
    sweeper->start();
    CancelModalWindows();
    // The windows close once the dialogs' loops have returned to the main loop: the
    // code that opened a dialog still runs on its window afterwards.
    auto* closer = new QTimer(this);
    closer->setInterval(kSweepMs);
    connect(closer, &QTimer::timeout, this, [this, sweeper, closer] {
        if (InNestedEventLoop(mainLoopLevel_) || QApplication::activeModalWidget() ||
            serverSync_->AnyRunning())
            return;
        closer->deleteLater();
        closer->stop();
        // A call being logged would keep its book open: it is written first.
        if (log_)
            log_->CompleteForShutdown();
        close();
        sweeper->stop();
        sweeper->deleteLater();
        signalShutdown_ = false;
    });
    closer->start();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // 1. Every child window may refuse.
    // After a signal a refusal does not stop the exit: the windows still close, and
    // each saves its file as it does.
    for (TChildWindow* c : Children())
        if (!c->QueryClose() && !signalShutdown_) {
            event->ignore();
            return;
        }
    // 2. The frame's own query records the open files and saves the settings.
    if (!CloseQuery(signalShutdown_)) {
        event->ignore();
        return;
    }
    // 3. The children close and save their files.
    CloseChildren();
    // The alarm window is a window of its own: it must not keep the program running.
    if (alarm_)
        alarm_->hide();
    event->accept();
}

bool TMainForm::CloseQuery(bool fromSignal) {
    // A preview or the designer refuses the exit; they close instead. The designer
    // first asks whether its layout is to be saved (unless a signal ends the run).
    bool refused = false;
    for (TChildWindow* c : Children())
        if (c->Kind() == TChildKind::Preview || c->Kind() == TChildKind::Layout) {
            if (c->Kind() == TChildKind::Preview || fromSignal)
                c->ApproveClose();
            c->SubWindow()->close();
            refused = true;
        }
    if (refused && !fromSignal)
        return false;
    for (TChildWindow* c : Children())
        if (c->Kind() == TChildKind::Calendar) {
            c->ApproveClose();
            c->SubWindow()->close();
        }
    THourGlass busy;
    timer_->stop();
    try {
        RecordAndSave();
    } catch (const TSettingsWriteError& e) {
        // The exit is abandoned (the files stay open), unless a signal asked for it:
        // then the books are still saved as they close.
        timer_->start();
        ReportSettingsError(e, fromSignal);
        return fromSignal;
    }
    return true;
}

void TMainForm::RecordAndSave() {
    TOpenFiles files;
    for (TChildWindow* c : Children()) {
        if (c->Kind() == TChildKind::Book)
            files.Books.push_back(PathToCore(c->FilePath()));
        else if (c->Kind() == TChildKind::Diary)
            files.Diaries.push_back(PathToCore(c->FilePath()));
    }
    if (TChildWindow* active = ActiveChild())
        if (active->Kind() == TChildKind::Book || active->Kind() == TChildKind::Diary)
            files.Active = ActiveNameOf(PathToCore(active->FilePath()));
    RecordOpenFiles(access_, files);
    SaveFont(access_, "Font", font_);
    if (alarm_)
        alarm_->SavePlacement();
    SaveWindowPlacement(access_, "Main Window", CurrentPlacement());
    SaveSettings(access_, settings_);
}

void TMainForm::CloseChildren() {
    shuttingDown_ = true;
    setUpdatesEnabled(false);
    for (TChildWindow* c : Children()) {
        c->ApproveClose();
        if (QMdiSubWindow* sub = c->SubWindow())
            sub->close();
    }
    shuttingDown_ = false;
    setUpdatesEnabled(true);
}

} // namespace tessaly
