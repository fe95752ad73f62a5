#include "app/attachments/remove_attachment_dialog.h"

#include "core/common/text.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

TRemoveAttachmentDlg::TRemoveAttachmentDlg(const TDocument& attachment, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Remove Attachment");
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    auto* description = new QLabel(ToQString(TextValue(attachment.Description)));
    description->setObjectName("Description");
    auto* target = new QLabel(ToQString(TextValue(attachment.FileName)));
    target->setObjectName("Target");
    target->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow("Description:", description);
    form->addRow(attachment.IsDocument ? "File Name" : "Internet URL:", target);
    v->addLayout(form);

    if (attachment.IsDocument) {
        associationOnly_ = new QRadioButton("&Remove File Association Only");
        associationOnly_->setObjectName("AssociationOnly");
        associationOnly_->setChecked(true);
        withFile_ = new QRadioButton("Remove File Association and Actual Disk &File");
        withFile_->setObjectName("WithFile");
        care_ = new QLabel("Care: Removing the Actual Disk File cannot be Undone");
        care_->setObjectName("Care");
        care_->setVisible(false);
        connect(withFile_, &QRadioButton::toggled, care_, &QWidget::setVisible);
        v->addWidget(associationOnly_);
        v->addWidget(withFile_);
        v->addWidget(care_);
    } else {
        v->addWidget(new QLabel("The Attached Internet URL will be removed from this Entry"));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    v->addWidget(buttons);
}

bool TRemoveAttachmentDlg::DeleteDiskFile() const {
    return withFile_ && withFile_->isChecked();
}

} // namespace tessaly
