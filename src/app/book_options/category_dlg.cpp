#include "app/book_options/category_dlg.h"

#include "app/widgets/message_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace tessaly {

TCategoryDlg::TCategoryDlg(const QString& caption, const QString& name, bool isDefault,
                           TCheck check, QWidget* parent)
    : QDialog(parent), check_(std::move(check)) {
    setWindowTitle(caption);
    auto* form = new QFormLayout(this);
    name_ = new QLineEdit(name, this);
    name_->setObjectName("CategoryName");
    name_->setMaxLength(255);
    default_ = new QCheckBox("&Default", this);
    default_->setChecked(isDefault);
    form->addRow("Category &Name:", name_);
    form->addRow(QString(), default_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TCategoryDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TCategoryDlg::reject);
    form->addRow(buttons);
    setMinimumWidth(320);
}

void TCategoryDlg::accept() {
    if (auto refusal = check_(name_->text(), default_->isChecked())) {
        ShowMessage(*refusal);
        name_->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
