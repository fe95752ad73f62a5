#pragma once
// The "Word Processor" page of the options dialog: the program's word processors by
// name, the selected one, and "Add", "Edit", "Delete" and "Select" (also on the
// list's pop-up menu; a double click selects). It works on the live list and keeps a
// copy taken when it was made, which Restore puts back.

#include "core/exchange/word_pro.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace tessaly {

class TWordProPage : public QWidget {
    Q_OBJECT
public:
    explicit TWordProPage(TWordProList& list, QWidget* parent = nullptr);

    // Cancel: the list as it was when the page was made.
    void Restore() { list_ = saved_; }

    QListWidget* List() const { return names_; }
    QLabel* SelectedLabel() const { return selected_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* DeleteButton() const { return delete_; }
    QPushButton* SelectButton() const { return select_; }

private:
    // Refills the names and highlights `name` (the first row when it is not there).
    void Fill(const std::string& name);
    void FillRow(int row);
    void AddItem();
    void EditItem();
    void DeleteItem();
    void SelectItem();

    TWordProList& list_;
    TWordProList saved_;
    QListWidget* names_ = nullptr;
    QLabel* selected_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* select_ = nullptr;
};

} // namespace tessaly
