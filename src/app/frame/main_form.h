#pragma once
// The frame of the program: a multiple-document window whose children are book and
// diary windows (and later the calendar, previews and the page designer), with its
// menus, tool-bar pages, status pages, reopen list and the 250 ms frame timer.

#include "app/widgets/app_context.h"
#include "app/widgets/child_window.h"
#include "app/widgets/frame.h"
#include "core/frame/frame_schedule.h"
#include "core/frame/hand_over.h"
#include "core/settings/settings.h"
#include "core/settings/window_placement.h"
#include "core/system/clock.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace tessaly {

class INotifier;
struct TEventSource;
class TAlarmDlg;
class TLogDlg;
class TWordProList;
class TCalView;
class TLayoutDlg;
class ISyncNetwork;

class TMainForm : public QMainWindow, public IFrame {
    Q_OBJECT
public:
    static constexpr int kToolPages = 6;
    static constexpr int kStatusPages = 8;
    static constexpr int kProgressPage = 6;
    static constexpr int kHintPage = 7;

    // Frame creation: opens the settings, runs the one-time migrations, loads the
    // settings, restores placement and font.
    explicit TMainForm(TAppContext& context, QWidget* parent = nullptr);
    ~TMainForm() override;

    QMainWindow* Widget() override { return this; }
    TSettings& Settings() override { return settings_; }
    TSettingsAccess& Access() override { return access_; }
    const TAppContext& Context() const { return context_; }
    const QString& VersionText() const { return versionText_; }
    // The desktop that opens attachments.
    IDesktop& Desktop() override;
    // The browser for URLs and e-mail: "Internet"/"Browser", else the desktop's default,
    // found the first time it is needed and kept for the run. Empty when none is known.
    std::string BrowserPath() override;

    // The first show, once: reopens the files of the last run, activates the window
    // that was active, opens the command-line file and applies the stored state.
    void FormShow(const QString& commandLineFile = QString());
    // The splash shown while starting, freed by the first show.
    void SetSplash(QWidget* splash) { splash_ = splash; }

    // Open an existing file (mustExist) or create a new one in a new child window.
    bool OpenBookFile(const QString& path, bool mustExist, bool readOnly);
    bool OpenDiaryFile(const QString& path, bool mustExist, bool readOnly);
    // Brings the window of that file forward; false when none shows it.
    bool ActivateIfOpen(const QString& path);
    // Adds a closed file to the top of the reopen list, or removes an opened one.
    void UpdateReopenList(bool add, const QString& path, const QString& type) override;
    // Reopen item k (0 to 4).
    void ReopenFile(int slot);
    // A file handed over by a second copy: the frame comes to the front and opens it.
    void HandOver(const THandOver& handOver) override;
    // Asks every child window to activate itself if it shows this file name.
    void ActivateByName(const QString& fileName);

    // Child windows in creation order, and the current one.
    QList<TChildWindow*> Children() const override;
    TChildWindow* ActiveChild() const override;
    QMdiArea* MdiArea() const { return mdi_; }
    bool ShuttingDown() const override { return shuttingDown_; }

    int ToolbarPage() const;
    int StatusPage() const;
    // Shows the progress panel with a text (empty: back to the page of the tool bar).
    void ShowProgress(const QString& text) override;

    // One tick of the frame timer (public so that tests can drive it).
    void TimerTick();
    QTimer* Timer() const { return timer_; }
    TFrameSchedule& Schedule() { return schedule_; }
    void SetClock(const IClock& clock) { clock_ = &clock; }
    // The clock of the frame's timer, which the diary windows it opens read too.
    const IClock& Clock() const override { return *clock_; }
    // Called on a due reminder scan instead of the alarm window's scan (tests count).
    std::function<void()> OnReminderScan;

    // The alarm window, which lives as long as the frame.
    TAlarmDlg* AlarmWindow() const { return alarm_.get(); }
    // The call-logging window, which lives as long as the frame.
    TLogDlg* LogWindow() const { return log_.get(); }
    void StartCallLog(TChildWindow& book, const std::string& number) override;
    bool LoggingCallFor(const TChildWindow* book) const override;
    TWordProList& WordProcessors() override { return *wordPros_; }
    IWordProDesktop& WordProDesktop() override;
    // Reads the word processor list from the configuration folder in force (the
    // default list when the file is missing or damaged).
    void LoadWordProcessorList();
    // Writes it there; false with the reason when the file could not be written.
    bool SaveWordProcessorList(std::string& error);
    // "&Calendar" (F12) and "View the Calendar": opens the calendar view, or brings the
    // open one forward.
    TCalView* ShowCalendar();
    void OpenCalendar() override { ShowCalendar(); }
    void AddChildWindow(TChildWindow* child) override { AddChild(child); }
    TCalView* CalendarView() const;
    // "Page &Designer...": opens the designer on the books and diaries of `from` (the
    // window it was asked from, none from the frame), or brings the open one forward.
    // Null when it cannot open (no paper size).
    TLayoutDlg* ShowDesigner(TChildWindow* from);
    void OpenDesigner(TChildWindow* from) override { ShowDesigner(from); }
    // The events of every open book and diary window in child order; `except` (a
    // window that is closing) is left out.
    std::vector<TEventSource> EventSources(const TChildWindow* except = nullptr) const override;
    // A book or diary window opened or changed its events (`include`), or is closing
    // (not `include`, before it frees them): the calendar view and the alarm window
    // follow at once, so that neither lists an event that is gone.
    void EventsChanged(TChildWindow* owner, bool include) override;
    // Desktop notifications (the context's, else the desktop's notification service).
    INotifier& Notifier() override;
    // The rounds with contacts servers, over the context's network (else Qt Network
    // and the desktop's secret service).
    TServerSync& ServerSync() override { return *serverSync_; }

    // The exit started by a signal (SIGTERM, SIGINT): the same orderly shut-down, but
    // failures are reported on standard error instead of in a dialog. Open dialogs and
    // menus are closed as Cancel would first, and so is every question the closing
    // windows ask; the windows close once control is back in the main loop.
    void ShutdownFromSignal();
    // The depth of the main event loop (1 under QApplication::exec(); 0, the default,
    // for a frame driven by processing events without a loop, as in tests).
    void SetMainLoopLevel(int level) { mainLoopLevel_ = level; }

    // Status page 1, filled by book windows.
    QLabel* EntryCounter() const override { return entryCounter_; }
    QLabel* SearchIndicator() const override { return searchIndicator_; }
    QLabel* InfoLabel() const override { return infoLabel_; }
    QLabel* DiaryText() const override { return diaryText_; }
    QLabel* LayoutStatus() const override { return layoutStatus_; }
    // The buttons of the tool-bar pages, by hint.
    QToolButton* ToolButton(int page, const QString& hint) const override;
    // The five reopen items of "&File", refreshed when the menu opens.
    QAction* ReopenAction(int slot) const { return reopenActions_[slot]; }
    QAction* CloseAction() const { return closeAction_; }
    QMenu* FileMenu() const override { return fileMenu_; }
    void RefreshFileMenu() override;
    // Applies the linked quick reports' names to the hints of their print buttons.
    void UpdateLinkHints();
    // The screen font of the frame and all child windows.
    void ApplyScreenFont(const TFontSetting& font);
    const TFontSetting& ScreenFont() const { return font_; }

    // Commands of the menus.
    void FileOpenBook();
    void FileNewBook();
    void FileOpenDiary();
    void FileNewDiary();
    void ChangeScreenFont();
    void ShowOptions(int page = 0) override;
    void CloseAll();
    void ArrangeIcons();
    void ShowAbout();
    // The folder the file dialogs start in ("Data Directory"), and keeping the folder
    // of a chosen file for the next one.
    QString FileDialogDirectory() override;
    void RememberFileDialogDirectory(const QString& chosenFile) override;

signals:
    void ChildrenChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateMenus();
    // Shows the active child's menus in place of the frame's "&File" and "&Tools".
    void MergeChildMenus(TChildWindow* child);
    void CreateToolBar();
    void CreateStatusBar();
    QWidget* CreateToolPage(int page, const QStringList& hints);
    void ShowToolPage(int page);
    void ApplyStoredState();
    bool OpenFile(TChildKind kind, const QString& path, bool mustExist, bool readOnly);
    void AddChild(TChildWindow* child);
    void ForwardCommand(int page, const QString& hint);
    // The close query of the frame: false refuses the exit.
    bool CloseQuery(bool fromSignal);
    void RecordAndSave();
    void CloseChildren();
    void ReportSettingsError(const std::exception& e, bool quietly);
    TWindowPlacement CurrentPlacement() const;
    // The open and new file commands of a book or diary: the file dialog, then the file.
    void AskAndOpen(TChildKind kind);
    void AskAndCreate(TChildKind kind);

    TAppContext& context_;
    TSettingsAccess access_;
    TSettings settings_;
    TFontSetting font_;
    TFrameSchedule schedule_;
    const IClock* clock_ = &SystemClock::Instance();
    QString versionText_ = "N/A";
    std::unique_ptr<IDesktop> ownDesktop_;
    std::unique_ptr<INotifier> ownNotifier_;
    std::unique_ptr<TAlarmDlg> alarm_;
    std::unique_ptr<TLogDlg> log_;
    std::unique_ptr<TWordProList> wordPros_;
    std::unique_ptr<IWordProDesktop> ownWordProDesktop_;
    std::unique_ptr<ISyncNetwork> ownSyncNetwork_;
    std::unique_ptr<TServerSync> serverSync_;
    // The window that had the focus last, for the scan while the program is not active.
    QPointer<QWidget> lastFocused_;
    std::optional<std::string> defaultBrowser_;

    QMdiArea* mdi_ = nullptr;
    QStackedWidget* toolPages_ = nullptr;
    QStackedWidget* statusPages_ = nullptr;
    QTimer* timer_ = nullptr;
    QLabel* versionPanel_ = nullptr;
    QLabel* entryCounter_ = nullptr;
    QLabel* searchIndicator_ = nullptr;
    QLabel* infoLabel_ = nullptr;
    QLabel* diaryText_ = nullptr;
    QLabel* layoutStatus_ = nullptr;
    QLabel* progressLabel_ = nullptr;
    QLabel* hintLabel_ = nullptr;
    QComboBox* zoomBox_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* closeAction_ = nullptr;
    QAction* reopenActions_[TReopenList::kSlots] = {};
    QList<QToolButton*> linkButtons_;
    QMenu* toolsMenu_ = nullptr;
    QList<QPointer<QAction>> mergedMenus_; // a child's menus go with the child

    QPointer<QWidget> splash_;
    bool shown_ = false;
    bool shuttingDown_ = false;
    bool signalShutdown_ = false;
    int mainLoopLevel_ = 0;
    bool closeQueried_ = false;
};

} // namespace tessaly
