#pragma once
// The word processor editor: "Add New Word Processor" or "Edit Word Processor", with
// the descriptive name and the text its window's title bar shows. OK checks them and
// stays open on a refusal, with the focus on the box to correct.

#include "core/exchange/word_pro.h"

#include <QDialog>

class QLineEdit;

namespace tessaly {

class TWordProDlg : public QDialog {
    Q_OBJECT
public:
    // `item` is the item edited, or out of range for a new one.
    TWordProDlg(const TWordProList& list, int item, QWidget* parent = nullptr);

    void accept() override;
    // The values accepted, trimmed.
    const std::string& Name() const { return name_; }
    const std::string& Title() const { return title_; }
    QLineEdit* NameEdit() const { return nameEdit_; }
    QLineEdit* TitleEdit() const { return titleEdit_; }

private:
    const TWordProList& list_;
    int item_;
    std::string name_;
    std::string title_;
    QLineEdit* nameEdit_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
};

} // namespace tessaly
