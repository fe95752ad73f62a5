#pragma once
// TCallLogDlg ("Telephone Call Log"): the current entry's calls, one row each with the
// number, the day and time it started and its duration, where the user views, adds,
// changes and deletes records. It works on the entry's working copy; Cancel puts back
// the log as it was when the dialog opened.

#include "core/call_log/call_log_form.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tessaly {

class TBook;

class TCallLogDlg : public QDialog {
    Q_OBJECT
public:
    explicit TCallLogDlg(TBook& book, QWidget* parent = nullptr);
    ~TCallLogDlg() override;

    void reject() override;
    // Whether the log differs from the one the dialog opened on.
    bool Changed() const { return edit_->Changed(); }

    QTreeWidget* List() const { return list_; }
    QLabel* NameLabel() const { return name_; }
    QPushButton* DetailsButton() const { return details_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return editButton_; }
    QPushButton* DeleteButton() const { return delete_; }

private:
    void Fill(int select);
    int SelectedRow() const;
    void ShowDetails();
    void DeleteRecord();
    void AddRecord();
    void EditRecord();
    void UpdateButtons();

    TBook& book_;
    std::unique_ptr<TCallLogEdit> edit_;
    QString entryName_;
    QLabel* name_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* details_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* delete_ = nullptr;
};

} // namespace tessaly
