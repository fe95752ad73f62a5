#include "app/printing/print_status_dlg.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

TPrintStatusDlg::TPrintStatusDlg(QWidget* parent, bool preview) : QDialog(parent) {
    setWindowTitle(preview ? "Preview Status" : "Print Status");
    setWindowModality(Qt::ApplicationModal);
    auto* column = new QVBoxLayout(this);
    label_ = new QLabel(preview ? "Preparing Preview" : "Extracting Data...");
    label_->setObjectName("StatusText");
    label_->setMinimumWidth(260);
    column->addWidget(label_);
    bar_ = new QProgressBar;
    bar_->setObjectName("Progress");
    bar_->setRange(0, 1);
    bar_->setValue(0);
    column->addWidget(bar_);
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* cancel = new QPushButton("Cancel");
    connect(cancel, &QPushButton::clicked, this, &TPrintStatusDlg::reject);
    row->addWidget(cancel);
    row->addStretch();
    column->addLayout(row);
}

void TPrintStatusDlg::SetText(const QString& text) {
    label_->setText(text);
}

bool TPrintStatusDlg::Step(int done, int total) {
    // The queue is served some fifty times a second, not once per record: a run of
    // thousands of records spends its time printing them.
    static QElapsedTimer since;
    if (!since.isValid() || since.elapsed() >= 20 || done >= total) {
        since.restart();
        bar_->setRange(0, std::max(1, total));
        bar_->setValue(std::min(done, std::max(1, total)));
        QCoreApplication::processEvents();
    }
    return !cancelled_;
}

} // namespace tessaly
