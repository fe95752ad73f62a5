#pragma once
// "Select Index Keys for Entry": the book's keys or the entry's own, chosen with two
// radio buttons; fields move between "Available Fi&elds" and "Index &Keys" with the
// buttons or a double click on a field; a double click on a key toggles its sort flag
// (keys taking part in sorting are marked). Cancel puts the entry's keys back.

#include "core/book_window/entry_keys.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tessaly {

class TIndexKeyDlg : public QDialog {
    Q_OBJECT
public:
    TIndexKeyDlg(TRecord& entry, const TBookData& book, QWidget* parent = nullptr);

    void reject() override;

private:
    void Fill(int selectKey);
    void EnableControls();
    void AddField();
    void DeleteKey();
    void MoveKey(int step);
    void ToggleSort();

    TEntryKeys keys_;
    QRadioButton* useDefault_ = nullptr;
    QRadioButton* override_ = nullptr;
    QListWidget* available_ = nullptr;
    QListWidget* keyList_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QPushButton* sortBy_ = nullptr;
    QLabel* display_ = nullptr;
    QLabel* sorted_ = nullptr;
};

} // namespace tessaly
