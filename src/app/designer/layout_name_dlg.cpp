#include "app/designer/layout_name_dlg.h"

#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_rules.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace tessaly {

TLayoutNameDlg::TLayoutNameDlg(QWidget* parent, const TLayoutList& layouts,
                               const std::string& suggested)
    : QDialog(parent), layouts_(layouts) {
    setWindowTitle("Save Page Layout As");
    auto* form = new QFormLayout(this);
    name_ = new QLineEdit(ToQString(suggested));
    name_->setObjectName("Name");
    name_->setMaxLength(255);
    name_->setMinimumWidth(300);
    form->addRow("Layout &Name:", name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLayoutNameDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    name_->selectAll();
}

std::string TLayoutNameDlg::Name() const {
    return FromQString(name_->text());
}

void TLayoutNameDlg::accept() {
    // The copy is a new layout: no name of the list is its own.
    if (auto m = CheckLayoutName(layouts_, Name(), "")) {
        ShowMessage(*m);
        name_->setFocus();
        name_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
