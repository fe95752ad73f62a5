#pragma once
// The find and the find-and-replace dialogs on the Notes field: modeless, with the
// text, "Match &case", "Match &whole word only" and, for find, the direction. The
// buttons are reported; the book window searches.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace tessaly {

class TNotesFindDlg : public QDialog {
    Q_OBJECT
public:
    TNotesFindDlg(bool replace, QWidget* parent = nullptr);
    bool Replacing() const { return replace_; }
    QString FindText() const;
    QString ReplaceText() const;
    bool MatchCase() const;
    bool WholeWord() const;
    bool Down() const;

signals:
    void FindNext();
    void Replace();
    void ReplaceAll();

private:
    bool replace_;
    QLineEdit* find_ = nullptr;
    QLineEdit* with_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* wholeWord_ = nullptr;
    QRadioButton* down_ = nullptr;
};

} // namespace tessaly
