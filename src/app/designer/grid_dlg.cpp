#include "app/designer/grid_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tessaly {

TGridDlg::TGridDlg(const TGrid& grid, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Alignment Grid");
    auto* column = new QVBoxLayout(this);
    enabled_ = new QCheckBox("&Enable Grid Alignment");
    enabled_->setChecked(grid.Enabled);
    column->addWidget(enabled_);
    auto* form = new QFormLayout;
    const auto spin = [](int value, const char* name) {
        auto* s = new QSpinBox;
        s->setObjectName(name);
        s->setRange(kMinGridSpacing, kMaxGridSpacing);
        s->setValue(std::clamp(value, kMinGridSpacing, kMaxGridSpacing));
        s->setSuffix(" pixels");
        return s;
    };
    across_ = spin(grid.Across, "GridAcross");
    down_ = spin(grid.Down, "GridDown");
    form->addRow("Grid Size (Across)", across_);
    form->addRow("Grid Size (Down)", down_);
    column->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

TGrid TGridDlg::Grid() const {
    return {enabled_->isChecked(), across_->value(), down_->value()};
}

} // namespace tessaly
