#pragma once
// What every child window of the frame has in common: its kind (which decides the
// tool-bar page), the file it shows, the close query and the close itself.

#include <QWidget>

class QMdiSubWindow;
class QMenu;

namespace tessaly {

class IFrame;
struct TEventRef;
struct TEventSource;
struct TPrintSource;

// The kinds in the order of the tool-bar pages 1 to 5.
enum class TChildKind { Book = 1, Calendar = 2, Diary = 3, Preview = 4, Layout = 5 };

class TChildWindow : public QWidget {
    Q_OBJECT
public:
    TChildWindow(IFrame& frame, TChildKind kind, const QString& path);

    TChildKind Kind() const { return kind_; }
    // The full path of the file shown (empty for windows without a file).
    const QString& FilePath() const { return path_; }
    // The window works on another file from now on ("Save &as...").
    void SetFilePath(const QString& path) { path_ = path; }
    // The file name without directory, upper case.
    QString ShortName() const;
    IFrame& Frame() const { return frame_; }
    QMdiSubWindow* SubWindow() const;

    // Whether the window may close now; it may ask the user.
    virtual bool QueryClose() { return true; }
    // Re-reads a locked file that changed on disk (the frame timer's synchronisation).
    virtual void Synchronise() {}
    // Shows one of its reminders at the request of the calendar view or the alarm
    // window (the private message 1024); false when the window no longer holds it.
    virtual bool ShowReminder(const TEventRef& ref) {
        Q_UNUSED(ref);
        return false;
    }
    // An entry update is in progress: going to a reminder now would lose it.
    virtual bool UpdateInProgress() const { return false; }
    // A tool-bar command of the window's page, by the button's hint. False when the
    // window has no such command.
    virtual bool RunCommand(const QString& hint) {
        Q_UNUSED(hint);
        return false;
    }
    // The window became the active child: it fills its status page.
    virtual void Activated() {}
    // The general options changed (display settings) or the screen font did.
    virtual void ApplyDisplaySettings() {}
    virtual void ApplyScreenFont(const QFont& font) { setFont(font); }
    // Menus that replace the frame's "&File" and "&Tools" while the window is active;
    // "&Window" and "&Help" stay. None by default.
    virtual QList<QMenu*> WindowMenus() const { return {}; }
    // The reminders the window holds, for the alarm list, the calendar and the
    // reminder dialog's suggestions; false for windows without reminders.
    virtual bool EventSource(TEventSource& source) const {
        Q_UNUSED(source);
        return false;
    }
    // The records a print from this window takes (a book's index list and selected
    // entry); false for windows that hold none.
    virtual bool RecordsToPrint(TPrintSource& source) const {
        Q_UNUSED(source);
        return false;
    }
    // Brings the window forward when its short name equals the file name given
    // (without regard to case); returns whether it did.
    bool ActivateIfNamed(const QString& fileName);
    void Activate();

    // How a window first shows itself: in `bounds` (kept with its file or settings;
    // an empty rectangle keeps the size it has) and in the state kept with them. While
    // the frame shows its children maximised (another one is), it is maximised too,
    // and `bounds` is where it goes when restored.
    enum class TFirstState { Normal, Minimised, Maximised };
    void PlaceOnFirstShow(const QRect& bounds, TFirstState state);

    // Set by the frame once the shut-down has asked every window.
    void ApproveClose() { approved_ = true; }

signals:
    // The window's reminders were added, changed, deleted or re-read: whoever lists
    // them (alarms, the calendar) gathers them again.
    void RemindersChanged();

protected:
    // Saving and the other work of a close that was allowed.
    virtual void CloseFile() {}
    void closeEvent(QCloseEvent* event) override;

private:
    IFrame& frame_;
    TChildKind kind_;
    QString path_;
    bool approved_ = false;
    bool closed_ = false;
};

// The events of one window (none for a window without reminders); the window is the
// owner.
TEventSource EventsOf(const TChildWindow& window);

} // namespace tessaly
