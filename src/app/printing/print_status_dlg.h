#pragma once
// The window shown while a print run goes: "Print Status" (or "Preview Status"), what
// is being done, a progress bar and Cancel, which stops the run after the record or
// page at hand.

#include <QDialog>

class QLabel;
class QProgressBar;

namespace tessaly {

class TPrintStatusDlg : public QDialog {
    Q_OBJECT
public:
    TPrintStatusDlg(QWidget* parent, bool preview);

    void SetText(const QString& text);
    // Shows progress and serves the queue, so that Cancel is seen; false once the user
    // cancelled.
    bool Step(int done, int total);
    bool Cancelled() const { return cancelled_; }

protected:
    void reject() override { cancelled_ = true; }

private:
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    bool cancelled_ = false;
};

} // namespace tessaly
