#pragma once
// What a window sees of the frame that holds it: the settings, the other open books
// and diaries, the desktop, the status bar and the frame's shared commands. The frame
// implements it; windows include this header and never the frame's own, so that only
// the frame knows every family of windows.

#include "app/widgets/child_window.h"
#include "core/frame/hand_over.h"
#include "core/settings/settings.h"
#include "core/settings/settings_access.h"
#include "core/system/clock.h"
#include "core/system/desktop.h"
#include "core/system/notifier.h"

#include <QList>
#include <QString>
#include <string>
#include <vector>

class QLabel;
class QMainWindow;
class QMenu;
class QToolButton;

namespace tessaly {

struct TEventSource;
class IWordProDesktop;
class TServerSync;
class TWordProList;

class IFrame {
public:
    virtual ~IFrame() = default;

    // The frame's own window: what windows connect to it lives as long as it does, and
    // its menu bar, state and status labels are there to read.
    virtual QMainWindow* Widget() = 0;

    virtual TSettings& Settings() = 0;
    virtual TSettingsAccess& Access() = 0;
    // The clock of the frame's timer, which every window reads.
    virtual const IClock& Clock() const = 0;
    // The desktop that opens attachments, and the browser for URLs and e-mail (empty
    // when none is known).
    virtual IDesktop& Desktop() = 0;
    virtual std::string BrowserPath() = 0;
    // Desktop notifications.
    virtual INotifier& Notifier() = 0;
    // The orderly shut-down has begun: windows stop showing themselves.
    virtual bool ShuttingDown() const = 0;

    // Child windows in creation order, and the current one.
    virtual QList<TChildWindow*> Children() const = 0;
    virtual TChildWindow* ActiveChild() const = 0;
    // The events of every open book and diary window in child order; `except` (a
    // window that is closing) is left out.
    virtual std::vector<TEventSource> EventSources(const TChildWindow* except = nullptr) const = 0;
    // A book or diary window opened or changed its events (`include`), or is closing
    // (not `include`, before it frees them): whoever lists them follows at once.
    virtual void EventsChanged(TChildWindow* owner, bool include) = 0;

    // A file to open as if handed over by a second copy of the program.
    virtual void HandOver(const THandOver& handOver) = 0;
    // "Page &Designer..." of a book or diary window (`from`), or of the frame (null):
    // opens the page designer, or brings the open one forward.
    virtual void OpenDesigner(TChildWindow* from) = 0;
    // "&Calendar" (F12): opens the calendar view, or brings the open one forward.
    virtual void OpenCalendar() = 0;
    // Puts a new child window (a print preview) in the frame and makes it the active one;
    // the frame owns it from now on.
    virtual void AddChildWindow(TChildWindow* child) = 0;
    // The options dialog, on one of its pages.
    virtual void ShowOptions(int page = 0) = 0;
    // Adds a closed file to the top of the reopen list, or removes an opened one.
    virtual void UpdateReopenList(bool add, const QString& path, const QString& type) = 0;
    // The folder the file dialogs start in, and keeping the folder of a chosen file.
    virtual QString FileDialogDirectory() = 0;
    virtual void RememberFileDialogDirectory(const QString& chosenFile) = 0;

    // Call logging: a confirmed call from a book window starts the log window (which
    // refuses, saying so, while another call is being logged), and a book window whose
    // call is being logged may not close.
    virtual void StartCallLog(TChildWindow& book, const std::string& number) = 0;
    virtual bool LoggingCallFor(const TChildWindow* book) const = 0;

    // The program's word processors (loaded at start-up, saved by the options dialog)
    // and the desktop they are typed into.
    virtual TWordProList& WordProcessors() = 0;
    virtual IWordProDesktop& WordProDesktop() = 0;

    // The frame's "&File" menu, whose file commands windows share, and its refresh.
    virtual QMenu* FileMenu() const = 0;
    virtual void RefreshFileMenu() = 0;
    // The buttons of the tool-bar pages, by hint.
    virtual QToolButton* ToolButton(int page, const QString& hint) const = 0;
    // Shows the progress panel with a text (empty: back to the page of the tool bar).
    virtual void ShowProgress(const QString& text) = 0;
    // Status page 1, filled by book windows, and the diary's status text.
    virtual QLabel* EntryCounter() const = 0;
    virtual QLabel* SearchIndicator() const = 0;
    virtual QLabel* InfoLabel() const = 0;
    virtual QLabel* DiaryText() const = 0;
    // Status page 5, the designer's status line.
    virtual QLabel* LayoutStatus() const = 0;

    // The rounds with contacts servers, run in the background, one at a time per book.
    virtual TServerSync& ServerSync() = 0;
};

} // namespace tessaly
