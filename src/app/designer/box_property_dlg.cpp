#include "app/designer/box_property_dlg.h"

#include "app/designer/box_style_panel.h"
#include "core/designer/box_style.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tessaly {

QString SizeInUnit(double widthMm, double heightMm, int unit) {
    if (unit == 0)
        return QString::asprintf("%f Inches x %f Inches", widthMm / 25.4, heightMm / 25.4);
    return QString::asprintf("%.0f mm x %.0f mm", widthMm, heightMm);
}

TBoxPropertyDlg::TBoxPropertyDlg(QWidget* parent, const TLayoutBox& box,
                                 const TBoxEditContext& context)
    : QDialog(parent), box_(box), context_(context) {
    setWindowTitle(QString::fromStdString(BoxEditorTitle(box.Kind)));
    auto* column = new QVBoxLayout(this);
    auto* size = new QLabel("Object Size: " + SizeInUnit(box.Width, box.Height, context.Unit));
    size->setObjectName("ObjectSize");
    column->addWidget(size);
    content_ = new QVBoxLayout;
    column->addLayout(content_, 1);
    style_ = new TBoxStylePanel(box);
    column->addWidget(style_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

TLayoutBox TBoxPropertyDlg::Edited() const {
    TLayoutBox b = box_;
    ApplyOwn(b);
    style_->Apply(b);
    return b;
}

} // namespace tessaly
