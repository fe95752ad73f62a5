#include "app/designer/size_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// One side's choices; the value box is enabled only with its own choice.
QGroupBox* Side(const QString& title, const QString& valueCaption, int preset, QButtonGroup*& modes,
                QSpinBox*& value) {
    auto* box = new QGroupBox(title);
    auto* column = new QVBoxLayout(box);
    modes = new QButtonGroup(box);
    const QString captions[] = {"&No Change", "&Shrink to Smallest", "&Grow to Largest",
                                valueCaption};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QRadioButton(captions[i]);
        modes->addButton(b, i);
        if (i < 3) {
            column->addWidget(b);
            continue;
        }
        auto* row = new QHBoxLayout;
        row->addWidget(b);
        value = new QSpinBox;
        value->setRange(kMinSizeValue, kMaxSizeValue);
        value->setValue(std::clamp(preset, kMinSizeValue, kMaxSizeValue));
        value->setEnabled(false);
        row->addWidget(value);
        column->addLayout(row);
        QObject::connect(b, &QRadioButton::toggled, value, &QSpinBox::setEnabled);
    }
    modes->button(0)->setChecked(true);
    return box;
}

TSizeRule RuleOf(const QButtonGroup* modes, const QSpinBox* value) {
    switch (modes->checkedId()) {
    case 1:
        return {TSizeMode::Smallest, 0};
    case 2:
        return {TSizeMode::Largest, 0};
    case 3:
        return {TSizeMode::Value, value->value()};
    default:
        return {TSizeMode::NoChange, 0};
    }
}

} // namespace

TSizeDlg::TSizeDlg(TPixelSize frame, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Size Objects");
    auto* column = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(Side("Width", "&Width:", frame.Width, widthModes_, width_));
    row->addWidget(Side("Height", "&Height:", frame.Height, heightModes_, height_));
    width_->setObjectName("SizeWidth");
    height_->setObjectName("SizeHeight");
    column->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);
}

TSizeRule TSizeDlg::Width() const {
    return RuleOf(widthModes_, width_);
}

TSizeRule TSizeDlg::Height() const {
    return RuleOf(heightModes_, height_);
}

} // namespace tessaly
