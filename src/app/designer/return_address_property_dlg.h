#pragma once
// The property editor of a return address object: the list's return address, which
// every such object prints, beside the object's border and background.

#include "app/designer/box_property_dlg.h"

class QPlainTextEdit;

namespace tessaly {

class TReturnAddressPropertyDlg : public TBoxPropertyDlg {
    Q_OBJECT
public:
    TReturnAddressPropertyDlg(QWidget* parent, const TLayoutBox& box,
                              const TBoxEditContext& context);
    bool CommitOutside() override;

private:
    QPlainTextEdit* memo_ = nullptr;
};

} // namespace tessaly
