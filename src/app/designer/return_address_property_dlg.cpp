#include "app/designer/return_address_property_dlg.h"

#include "app/designer/return_address_dlg.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tessaly {

TReturnAddressPropertyDlg::TReturnAddressPropertyDlg(QWidget* parent, const TLayoutBox& box,
                                                     const TBoxEditContext& context)
    : TBoxPropertyDlg(parent, box, context) {
    auto* caption = new QLabel("&Return Address:");
    memo_ = ReturnAddressMemo(context.ReturnAddress ? *context.ReturnAddress : Text());
    memo_->setReadOnly(context.ReturnAddress == nullptr);
    caption->setBuddy(memo_);
    Content()->addWidget(caption);
    Content()->addWidget(memo_, 1);
}

bool TReturnAddressPropertyDlg::CommitOutside() {
    return Context().ReturnAddress && KeepReturnAddress(memo_, *Context().ReturnAddress);
}

} // namespace tessaly
