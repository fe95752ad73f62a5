#include "app/exchange/vcard_version_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

TVCardVersionDlg::TVCardVersionDlg(int version, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Export vCards");
    auto* layout = new QVBoxLayout(this);
    auto* group = new QGroupBox("vCard version", this);
    auto* inGroup = new QVBoxLayout(group);
    v3_ = new QRadioButton("vCard &3.0 (most address books and telephones)", group);
    v4_ = new QRadioButton("vCard &4.0", group);
    inGroup->addWidget(v3_);
    inGroup->addWidget(v4_);
    (version == 4 ? v4_ : v3_)->setChecked(true);
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int TVCardVersionDlg::Version() const {
    return v4_->isChecked() ? 4 : 3;
}

} // namespace tessaly
