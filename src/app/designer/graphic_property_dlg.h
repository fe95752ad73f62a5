#pragma once
// "Graphic Image Property Editor": the picture's file, chosen or typed, with the
// picture shown as far as it loads. A file that cannot be loaded is kept as the
// object's file all the same (the object stays empty on screen and on paper).

#include "app/designer/box_property_dlg.h"

class QLabel;
class QLineEdit;

namespace tessaly {

class TGraphicPropertyDlg : public TBoxPropertyDlg {
    Q_OBJECT
public:
    TGraphicPropertyDlg(QWidget* parent, const TLayoutBox& box, const TBoxEditContext& context);

protected:
    void ApplyOwn(TLayoutBox& box) const override;

private:
    void Browse();
    void ShowPicture();

    QLineEdit* file_ = nullptr;
    QLabel* picture_ = nullptr;
};

} // namespace tessaly
