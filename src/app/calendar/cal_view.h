#pragma once
// TCalView ("Calendar View"): the reminders of every open address book and every open
// diary by day, month and year on three tabs. At most one is open, a child window of
// the frame. Its index names events by owner and position and is rebuilt whenever a
// book or diary window opens, changes, is re-read or closes, so that no item outlives
// the record it stands for.

#include "app/widgets/child_window.h"
#include "core/diary/calendar_settings.h"
#include "core/diary/event_index.h"

#include <QList>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTreeWidget;

namespace tessaly {

class TColumnFitter;
class TDayCalendar;
class TMonthGrid;
class TYearGrid;

class TCalView : public TChildWindow {
    Q_OBJECT
public:
    enum { kDayTab = 0, kMonthTab = 1, kYearTab = 2 };

    explicit TCalView(IFrame& frame);
    ~TCalView() override;

    // Once, after the frame shows the window: selects today (which builds the index),
    // the stored tab and the stored window state.
    void FirstShow();
    // After a window's reminders changed (include) or as it closes (not include);
    // with no window, everything is rebuilt.
    void RebuildCalendar(TChildWindow* window, bool include);
    // Selects a day: the header, the index (for another year), the day list, the
    // calendars.
    void SelectDate(TDateTime day);
    TDateTime SelectedDate() const { return selected_; }
    int IndexedYear() const { return indexedYear_; }
    const TEventIndex& Index() const { return index_; }
    const std::vector<TDayRow>& Rows() const { return rows_; }
    const TCalendarSettings& Options() const { return options_; }

    QTabWidget* Tabs() const { return tabs_; }
    QTreeWidget* DayList() const { return list_; }
    TDayCalendar* DayCalendar() const { return calendar_; }
    TMonthGrid* MonthGrid() const { return month_; }
    TYearGrid* YearGrid() const { return year_; }
    QLabel* EntriesLabel() const { return entriesLabel_; }
    QMenu* RemindersMenu() const { return menu_; }

    // "&View Event..." (a double click on a row) and "G&o to Event...".
    void ViewEvent();
    void GoToEvent();

    bool RunCommand(const QString& hint) override;
    QList<QMenu*> WindowMenus() const override;
    void Activated() override;
    void ApplyScreenFont(const QFont& font) override;

protected:
    void CloseFile() override;

private:
    void CreateControls();
    void CreateMenus();
    void RebuildAll();
    void FillDayList();
    void ShowCounts();
    void RepaintCalendars();
    void GoToDate();
    void SetOption(bool TCalendarSettings::*option, bool on);
    void SetSort(int order);
    int RowHeight() const;
    const TDayRow* SelectedRow() const;
    TChildWindow* OwnerWindow(const void* owner) const;
    void StoreHeaders();

    TCalendarSettings options_;
    TEventIndex index_;
    int indexedYear_ = -1;
    TDateTime selected_ = 0;
    std::vector<TDayRow> rows_;
    bool shownOnce_ = false;
    bool selecting_ = false;
    bool filling_ = false;

    QTabWidget* tabs_ = nullptr;
    TDayCalendar* calendar_ = nullptr;
    TMonthGrid* month_ = nullptr;
    TYearGrid* year_ = nullptr;
    QTreeWidget* list_ = nullptr;
    TColumnFitter* fitter_ = nullptr;
    QLabel* dayNumber_ = nullptr;
    QLabel* monthYear_ = nullptr;
    QLabel* weekday_ = nullptr;
    QLabel* dayOfYear_ = nullptr;
    QLabel* entriesLabel_ = nullptr;
    QLabel* monthTitle_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* showAll_ = nullptr;
    QAction* showRecurring_ = nullptr;
    QAction* showNotes_ = nullptr;
    QList<QAction*> sortActions_;
};

} // namespace tessaly
