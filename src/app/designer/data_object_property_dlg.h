#pragma once
// "Data Object Property Editor": the merged data fields of the object, added from the
// layout's data fields, removed and put in order, merged on a single line or on
// several lines.

#include "app/designer/box_property_dlg.h"
#include "core/designer/box_edits.h"

class QListWidget;
class QPushButton;
class QRadioButton;

namespace tessaly {

class TDataObjectPropertyDlg : public TBoxPropertyDlg {
    Q_OBJECT
public:
    TDataObjectPropertyDlg(QWidget* parent, const TLayoutBox& box, const TBoxEditContext& context);

protected:
    void ApplyOwn(TLayoutBox& box) const override;

private:
    void FillItems(int current);
    void Enable();
    void Add();
    void Remove();
    void Move(int delta);

    TDataItemsEdit edit_;
    QListWidget* items_ = nullptr;
    QListWidget* fields_ = nullptr;
    QPushButton *add_ = nullptr, *remove_ = nullptr, *up_ = nullptr, *down_ = nullptr;
    QRadioButton *single_ = nullptr, *multi_ = nullptr;
};

} // namespace tessaly
