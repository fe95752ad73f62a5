#pragma once
// "Set Alignment Grid...": whether moves snap to the grid, and its spacing across and
// down, 2 to 32 pixels each.

#include "core/designer/design_geometry.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace tessaly {

class TGridDlg : public QDialog {
public:
    TGridDlg(const TGrid& grid, QWidget* parent = nullptr);
    TGrid Grid() const;

private:
    QCheckBox* enabled_ = nullptr;
    QSpinBox* across_ = nullptr;
    QSpinBox* down_ = nullptr;
};

} // namespace tessaly
