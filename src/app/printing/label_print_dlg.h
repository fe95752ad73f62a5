#pragma once
// "Label Print": the first label position to print on the first sheet, from 1 to the
// sheet's labels.

#include <QDialog>

class QSpinBox;

namespace tessaly {

class TLabelPrintDlg : public QDialog {
    Q_OBJECT
public:
    TLabelPrintDlg(QWidget* parent, int labels);
    // The position chosen; 0 when cancelled.
    static int Ask(QWidget* parent, int labels);

    void accept() override;
    int Value() const;

private:
    int labels_;
    QSpinBox* box_ = nullptr;
};

} // namespace tessaly
