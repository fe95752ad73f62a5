#pragma once
// "Date / Time Property Editor" of dates, times and the page number: the pattern
// ("Use &Format:") or the page number's digits, with a "Preview:" that follows them.

#include "app/designer/box_property_dlg.h"

class QComboBox;
class QLabel;
class QSpinBox;

namespace tessaly {

class TDateTimePropertyDlg : public TBoxPropertyDlg {
    Q_OBJECT
public:
    TDateTimePropertyDlg(QWidget* parent, const TLayoutBox& box, const TBoxEditContext& context);

protected:
    void ApplyOwn(TLayoutBox& box) const override;

private:
    std::string Pattern() const;
    void ShowPreview();

    QComboBox* format_ = nullptr; // dates and times
    QSpinBox* digits_ = nullptr;  // the page number
    QLabel* preview_ = nullptr;
};

} // namespace tessaly
