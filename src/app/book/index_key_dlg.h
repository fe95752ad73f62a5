#pragma once
// "Select Index Keys for Entry": the book's keys or the entry's own, chosen with two
// radio buttons; the two lists of fields and keys (buttons, dragging, double clicks);
// the display and sort texts of the entry after every change; "&Index Keys" opens the
// book's options on their index-key page. Cancel puts the entry's keys back.

#include "core/book_window/entry_keys.h"

#include <QDialog>
#include <functional>

class QLabel;
class QRadioButton;

namespace tessaly {

class TKeyLists;

class TIndexKeyDlg : public QDialog {
    Q_OBJECT
public:
    // `bookKeys` opens the book's options on their index-key page and says whether
    // they were applied to the book.
    TIndexKeyDlg(TRecord& entry, const TBookData& book, std::function<bool()> bookKeys,
                 QWidget* parent = nullptr);

    // Whether the entry's keys differ from those at opening (after Cancel they never do).
    bool KeysChanged() const { return keys_.Changed(); }

    void reject() override;

private:
    void Refresh(int selectKey);
    void OpenBookKeys();

    TEntryKeys keys_;
    std::function<bool()> bookKeys_;
    QRadioButton* useDefault_ = nullptr;
    QRadioButton* override_ = nullptr;
    TKeyLists* lists_ = nullptr;
    QLabel* display_ = nullptr;
    QLabel* sorted_ = nullptr;
};

} // namespace tessaly
