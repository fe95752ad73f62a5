#include "app/printing/label_print_dlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace tessaly {

TLabelPrintDlg::TLabelPrintDlg(QWidget* parent, int labels)
    : QDialog(parent), labels_(std::max(1, labels)) {
    setWindowTitle("Label Print");
    auto* form = new QFormLayout(this);
    box_ = new QSpinBox;
    box_->setObjectName("StartingLabel");
    // The box takes any number typed; OK keeps the dialog open on one out of range.
    box_->setRange(-99999, 99999);
    box_->setValue(1);
    form->addRow("Starting Label Number:", box_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLabelPrintDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TLabelPrintDlg::reject);
    form->addRow(buttons);
}

int TLabelPrintDlg::Value() const {
    return box_->value();
}

void TLabelPrintDlg::accept() {
    box_->interpretText();
    if (box_->value() > labels_ || box_->value() < 1) {
        QApplication::beep();
        box_->setValue(box_->value() < 1 ? 1 : labels_);
        box_->selectAll();
        return;
    }
    QDialog::accept();
}

int TLabelPrintDlg::Ask(QWidget* parent, int labels) {
    TLabelPrintDlg dialog(parent, labels);
    return dialog.exec() == QDialog::Accepted ? dialog.Value() : 0;
}

} // namespace tessaly
