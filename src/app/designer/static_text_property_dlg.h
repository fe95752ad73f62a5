#pragma once
// "Static Text Property Editor": the object's text in a memo.

#include "app/designer/box_property_dlg.h"

class QPlainTextEdit;

namespace tessaly {

class TStaticTextPropertyDlg : public TBoxPropertyDlg {
    Q_OBJECT
public:
    TStaticTextPropertyDlg(QWidget* parent, const TLayoutBox& box, const TBoxEditContext& context);

protected:
    void ApplyOwn(TLayoutBox& box) const override;

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace tessaly
