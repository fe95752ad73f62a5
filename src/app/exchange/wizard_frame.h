#pragma once
// The frame both data-exchange wizards are built in: pages shown one at a time with
// "< &Back", "&Next >" (on the last page "&Finish") and "Cancel". A page is left
// forward only when the wizard accepts it.

#include <QDialog>
#include <QString>
#include <functional>

class QComboBox;
class QPushButton;
class QStackedWidget;
class QVBoxLayout;

namespace tessaly {

struct TExportMru;

class TWizardFrame : public QDialog {
    Q_OBJECT
public:
    explicit TWizardFrame(QWidget* parent);

    int Page() const;
    QPushButton* BackButton() const { return back_; }
    QPushButton* NextButton() const { return next_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    // A new page; its layout is for the caller to fill.
    QVBoxLayout* AddPage();
    // Whether the page may be left forward (messages are the page's own).
    virtual bool Accept(int page) = 0;
    // The last page was accepted: the wizard's work; true closes the wizard.
    virtual bool Run() = 0;
    // Called when a page is shown.
    virtual void Entered(int /*page*/) {}
    void Step(int delta);
    // An editable box of the files last used (the last one typed in) with "&Browse"
    // beside it, added to `page`; Browse asks `chooser` (called as it is then) for a
    // file in place of the one typed.
    using TFileChooser = std::function<QString(QWidget* parent, const QString& current)>;
    QComboBox* AddFileRow(QVBoxLayout* page, const TExportMru& mru, const TFileChooser* chooser);

private:
    void Refresh();

    QStackedWidget* pages_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* next_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tessaly
