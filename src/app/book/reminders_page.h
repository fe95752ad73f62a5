#pragma once
// Page 2 of the book window: the current entry's reminders in `Reminders` under the
// columns "Prty", "Date", "Time" and "Description", in the book's reminder order,
// completed ones only with "&Show Completed Events", notes on a second line with
// "Show Event &Notes", and the "Remin&ders" menu that is also the list's pop-up.

#include "core/system/clock.h"

#include <QWidget>

class QMenu;
class QTreeWidget;
class QAction;

namespace tessaly {

class TBookData;
class TRecord;
class TReminders;
class TColumnFitter;
class TFixedRowHeight;
struct TSettings;

class TRemindersPage : public QWidget {
    Q_OBJECT
public:
    TRemindersPage(const IClock& clock, QWidget* parent = nullptr);

    // Refills the list from the entry; the first item is selected.
    void Fill(const TRecord& entry, TBookData& book, const TSettings& settings);
    // Refills the list; the first item is selected.
    void Refill();
    QTreeWidget* List() const { return list_; }
    QMenu* Menu() const { return menu_; }
    // The reminder of the selected row, nullptr when none.
    TReminders* SelectedReminder() const;
    // Selects the row of a reminder; false when it is not listed.
    bool SelectReminder(const TReminders* reminder);
    int SelectedRow() const;
    // Selects a row by number, clamped to the list.
    void SelectRow(int row);
    // The reminder commands follow whether the book may be changed and the selection.
    void SetWritable(bool writable);
    void UpdateActions();
    QAction* AddAction() const { return add_; }
    QAction* EditAction() const { return edit_; }
    QAction* DeleteAction() const { return delete_; }
    QAction* AcknowledgeAction() const { return acknowledge_; }
    QAction* ViewAction() const { return view_; }

signals:
    // "Reminder Options...": the general options on their "Reminders" page.
    void OptionsRequested();
    // "Set Display Filter..." and "Remove Display Filter": the search dialog and
    // "Re&move Active Search" of the book window.
    void SearchRequested();
    void RemoveSearchRequested();
    // The reminder commands, carried out by the book window on the working entry.
    void AddRequested();
    void EditRequested();
    void DeleteRequested();
    void AcknowledgeRequested();
    void ViewRequested();

private:
    void SetSortOrder(int order);

    const IClock& clock_;
    const TRecord* entry_ = nullptr;
    TBookData* book_ = nullptr;
    const TSettings* settings_ = nullptr;
    QTreeWidget* list_ = nullptr;
    TFixedRowHeight* rows_ = nullptr;
    TColumnFitter* fitter_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* add_ = nullptr;
    QAction* edit_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* acknowledge_ = nullptr;
    QAction* view_ = nullptr;
    bool writable_ = false;
    QAction* showCompleted_ = nullptr;
    QAction* showNotes_ = nullptr;
    QList<QAction*> sortActions_;
    bool filling_ = false;
};

} // namespace tessaly
