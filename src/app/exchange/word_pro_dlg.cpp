#include "app/exchange/word_pro_dlg.h"

#include "app/widgets/message_dialog.h"
#include "core/exchange/word_pro_edit.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

TWordProDlg::TWordProDlg(const TWordProList& list, int item, QWidget* parent)
    : QDialog(parent), list_(list), item_(list.InRange(item) ? item : -1) {
    setWindowTitle(item_ >= 0 ? "Edit Word Processor" : "Add New Word Processor");
    nameEdit_ = new QLineEdit(ToQString(list.NameAt(item_)));
    nameEdit_->setObjectName("WordProcessor");
    nameEdit_->setMaxLength(255);
    titleEdit_ = new QLineEdit(ToQString(list.TitleAt(item_)));
    titleEdit_->setObjectName("TitleBarText");
    titleEdit_->setMaxLength(255);
    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel("&Word Processor");
    nameLabel->setBuddy(nameEdit_);
    auto* titleLabel = new QLabel("&Title Bar Text");
    titleLabel->setBuddy(titleEdit_);
    form->addRow(nameLabel, nameEdit_);
    form->addRow(titleLabel, titleEdit_);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TWordProDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(buttons);
    setMinimumWidth(360);
    nameEdit_->setFocus();
}

void TWordProDlg::accept() {
    const TWordProCheck check = CheckWordProEdit(list_, FromQString(nameEdit_->text()),
                                                 FromQString(titleEdit_->text()), item_);
    if (check.Refusal) {
        ShowMessage(*check.Refusal);
        (check.Focus == TWordProField::Title ? titleEdit_ : nameEdit_)->setFocus();
        return;
    }
    name_ = check.Name;
    title_ = check.Title;
    QDialog::accept();
}

} // namespace tessaly
