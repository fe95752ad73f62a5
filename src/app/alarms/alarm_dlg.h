#pragma once
// TAlarmDlg ("Reminder Alarm Notification"): the window the frame's periodic scan
// raises with the reminders of all open books and diaries whose alarm is due. It lives
// for the whole run and is hidden while its list is empty. Its items name reminders by
// owner and position, so a book or diary that is re-read or closed never leaves an
// item pointing at a freed record.

#include "core/diary/alarms.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace tessaly {

class TChildWindow;
class IFrame;

class TAlarmDlg : public QWidget {
    Q_OBJECT
public:
    explicit TAlarmDlg(IFrame& frame);
    ~TAlarmDlg() override;

    // ScanAlarms: the list from every open book and diary window; an empty list hides
    // the window.
    void ScanAlarms();
    // RescanAlarms: one window's items again (it opened, changed or was re-read).
    void RescanAlarms(TChildWindow* owner);
    // A window is closing: its items go before its events are freed, and the list is
    // collected again from the others.
    void OwnerClosing(TChildWindow* owner);
    // The frame timer's scan: ScanAlarms, then, when anything is due, the window comes
    // up on top with a beep (and the desktop is told while the program is out of sight).
    void PeriodicScan();

    const TAlarmList& List() const { return list_; }
    QTreeWidget* ListView() const { return view_; }
    QGroupBox* Group() const { return group_; }
    QPushButton* ViewButton() const { return viewButton_; }
    QPushButton* GoToButton() const { return goToButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    QLabel* OwnerLabel() const { return ownerLabel_; }
    QLabel* OwnerName() const { return ownerName_; }
    QLabel* EntryName() const { return entryName_; }
    bool Topmost() const;
    // Writes the window's placement to "Alarm" (the frame does so as it closes).
    void SavePlacement();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Fill();
    void ShowSelected();
    void SetTopmost(bool on);
    void ViewSelected();
    void GoToSelected();
    TChildWindow* OwnerWindow(const void* owner) const;

    IFrame& frame_;
    TAlarmList list_;
    QGroupBox* group_ = nullptr;
    QTreeWidget* view_ = nullptr;
    QLabel* ownerLabel_ = nullptr;
    QLabel* ownerName_ = nullptr;
    QLabel* entryName_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QPushButton* goToButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    bool filling_ = false;
};

} // namespace tessaly
