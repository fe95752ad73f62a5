#include "app/designer/return_address_dlg.h"

#include "app/widgets/memo_limit.h"
#include "core/designer/box_edits.h"
#include "core/printing/layout.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tessaly {

QPlainTextEdit* ReturnAddressMemo(const Text& stored) {
    auto* memo = new QPlainTextEdit;
    memo->setObjectName("ReturnAddress");
    memo->setPlainText(ToQString(EditedReturnAddress(stored.str())));
    // CR LF takes two bytes of the list's room where the memo counts one character.
    LimitMemo(memo, static_cast<int>(kReturnAddressMax / 2));
    return memo;
}

bool KeepReturnAddress(const QPlainTextEdit* memo, Text& stored) {
    const std::string text = StoredReturnAddress(FromQString(memo->toPlainText()));
    if (text == stored.str())
        return false;
    stored = text;
    return true;
}

TReturnAddressDlg::TReturnAddressDlg(QWidget* parent, const Text& stored) : QDialog(parent) {
    setWindowTitle("Return Address Property Editor");
    auto* column = new QVBoxLayout(this);
    auto* caption = new QLabel("&Return Address:");
    memo_ = ReturnAddressMemo(stored);
    caption->setBuddy(memo_);
    column->addWidget(caption);
    column->addWidget(memo_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
    memo_->setFocus();
}

bool TReturnAddressDlg::Commit(Text& stored) const {
    return KeepReturnAddress(memo_, stored);
}

} // namespace tessaly
