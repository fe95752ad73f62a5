#pragma once
// The diary window: one diary file, a small month calendar with the selected day's
// number, month, weekday and day of the year, and the list of that day's events. Its
// menus replace the frame's while it is active: "&File" (the frame's file commands,
// "&Save", "Save &as...", "&Close", "&Lock Diary", "Diary &Info..."), "&Tools",
// "&View" and "Re&minders" (the event commands, the show options and the sort order,
// which are kept in the diary). The diary is saved after every "Auto Save Interval"
// changes and when the window closes; a locked diary is never changed or saved, and
// is re-read when another copy of the program changed its file.

#include "app/widgets/child_window.h"
#include "core/diary/diary.h"
#include "core/diary/event_source.h"
#include "core/system/clock.h"

#include <QDate>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCalendarWidget;
class QLabel;
class QMenu;

namespace tessaly {

class TColumnFitter;
class TDiaryDayList;
struct TSettings;

class TDiaryDlg : public TChildWindow {
    Q_OBJECT
public:
    // Loads the file (mustExist) or creates and saves a new diary. Diary() is null
    // when that failed, after the reason was shown.
    TDiaryDlg(IFrame& frame, const QString& path, bool mustExist, bool readOnly,
              const IClock& clock = SystemClock::Instance());
    ~TDiaryDlg() override;

    TDiaryData* Diary() const { return diary_.get(); }
    bool Locked() const { return locked_; }
    // The diary's file name in upper case: how the reminder dialogs name it.
    QString OwnerName() const;

    TDateTime SelectedDate() const { return selected_; }
    void SelectDate(TDateTime day);
    QCalendarWidget* Calendar() const { return calendar_; }
    TDiaryDayList* DayList() const { return list_; }
    QLabel* CountLabel() const { return countLabel_; }
    // The event of the selected row and its index in the diary; null / -1 for none.
    TReminders* SelectedEvent() const;
    int SelectedEventIndex() const;
    // A menu item of the window's menus by its caption; null when none.
    QAction* MenuAction(const QString& text) const;

    // ---- commands ----
    void AddEvent();
    void EditEvent();
    void ViewEvent();
    void AcknowledgeEvent();
    void DeleteEvent();
    // "&Save" (closing false) and the save of a closing window (with the back-up).
    bool Save(bool closing);
    void SaveAs();
    void ToggleLock();
    void ShowInfo();
    // "I&mport..." and "&Export...": the data-exchange wizards on this diary.
    void ImportData();
    void ExportData();
    void GoToDate();
    // Message 1024: brings the window forward on the event's day with its row
    // selected; false when the diary holds no such event.
    bool GoToEvent(int eventIndex);

    // Where "Save &as..." gets its file name; tests put their own chooser here.
    static std::function<QString(QWidget* parent, const QString& directory, const QString& current)>
        SaveAsChooser;

    bool QueryClose() override;
    void Synchronise() override;
    bool RunCommand(const QString& hint) override;
    void Activated() override;
    QList<QMenu*> WindowMenus() const override { return menus_; }
    bool EventSource(TEventSource& source) const override;
    bool ShowReminder(const TEventRef& ref) override { return GoToEvent(ref.Event); }
    void ApplyScreenFont(const QFont& font) override;

protected:
    void CloseFile() override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void ApplyLock(bool showBackupWarning);
    void SetCaption();
    // Rebuilds the day list of the selected date, keeping `row` selected (clamped).
    void RefillDay(int row = 0);
    void MarkMonth(int year, int month);
    void UpdateCommandState();
    void ShowModified();
    // After a change of the events: MarkChanged, the automatic save, the list.
    void RecordChange(int row);
    void SetShowOption(std::uint8_t TDiaryData::*option, bool on);
    void SetSortOrder(int order);
    void RecordFileTime();
    const TSettings& Settings() const;

    const IClock& clock_;
    std::unique_ptr<TDiaryData> diary_;
    bool openedReadOnly_ = false;
    bool locked_ = false;
    bool savedAtClose_ = false;
    bool closing_ = false;
    bool shownOnce_ = false;
    std::optional<std::int64_t> fileTime_;
    QString lastSaveMessage_; // why the last save failed, with the closing question
    TDateTime selected_ = 0;
    QDate markedMonth_;

    QCalendarWidget* calendar_ = nullptr;
    TDiaryDayList* list_ = nullptr;
    TColumnFitter* fitter_ = nullptr;
    QLabel* dayNumber_ = nullptr;
    QLabel* monthYear_ = nullptr;
    QLabel* weekday_ = nullptr;
    QLabel* dayOfYear_ = nullptr;
    QLabel* countLabel_ = nullptr;

    QList<QMenu*> menus_;
    QAction* saveAction_ = nullptr;
    QAction* lockAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* reportsAction_ = nullptr;
    QAction* importAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    QAction* addAction_ = nullptr;
    QAction* editAction_ = nullptr;
    QAction* deleteAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QAction* acknowledgeAction_ = nullptr;
    QAction* showCompleted_ = nullptr;
    QAction* showRecurring_ = nullptr;
    QAction* showNotes_ = nullptr;
    QList<QAction*> sortActions_;
};

// Opens the diary (mustExist) or creates it in a new window for the frame; nullptr when
// it could not be loaded or created (the window has reported why).
TChildWindow* CreateDiaryWindow(IFrame& frame, const QString& path, bool mustExist, bool readOnly);

} // namespace tessaly
