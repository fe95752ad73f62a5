#include "app/designer/box_style_panel.h"

#include "app/designer/colour_combo.h"
#include "core/designer/box_style.h"
#include "core/printing/layout_objects.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <algorithm>

namespace tessaly {

namespace {

QComboBox* StyleCombo(const std::vector<std::string>& captions, int current) {
    auto* c = new QComboBox;
    for (const std::string& s : captions)
        c->addItem(QString::fromStdString(s));
    c->setCurrentIndex(std::clamp(current, 0, c->count() - 1));
    return c;
}

} // namespace

TBoxStylePanel::TBoxStylePanel(const TLayoutBox& box, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);

    auto* border = new QGroupBox("Border Settings");
    auto* bf = new QFormLayout(border);
    borderStyle_ = StyleCombo(PenStyleCaptions(), box.PenStyle);
    borderStyle_->setObjectName("BorderStyle");
    borderColour_ = new TColourCombo;
    borderColour_->setObjectName("BorderColour");
    borderColour_->SetColour(box.PenColour);
    borderWidth_ = new QSpinBox;
    borderWidth_->setObjectName("BorderWidth");
    borderWidth_->setRange(0, kMaxPenWidth);
    borderWidth_->setValue(std::clamp(box.PenWidth, 0, kMaxPenWidth));
    bf->addRow("&Border Style :", borderStyle_);
    bf->addRow("Border &Colour :", borderColour_);
    bf->addRow("Border &Width:", borderWidth_);
    row->addWidget(border);

    auto* background = new QGroupBox("Background Settings");
    auto* gf = new QFormLayout(background);
    backgroundStyle_ = StyleCombo(BrushStyleCaptions(), box.BrushStyle);
    backgroundStyle_->setObjectName("BackgroundStyle");
    backgroundColour_ = new TColourCombo;
    backgroundColour_->setObjectName("BackgroundColour");
    backgroundColour_->SetColour(box.BrushColour);
    gf->addRow("&Style :", backgroundStyle_);
    gf->addRow("Colou&r :", backgroundColour_);
    row->addWidget(background);

    initial_ = {borderStyle_->currentIndex(), borderWidth_->value(),
                backgroundStyle_->currentIndex()};
    for (QComboBox* c : {borderStyle_, static_cast<QComboBox*>(borderColour_), backgroundStyle_,
                         static_cast<QComboBox*>(backgroundColour_)})
        connect(c, &QComboBox::currentIndexChanged, this, &TBoxStylePanel::Changed);
    connect(borderWidth_, &QSpinBox::valueChanged, this, &TBoxStylePanel::Changed);
}

void TBoxStylePanel::Apply(TLayoutBox& box) const {
    borderWidth_->interpretText();
    // A control left as it was shown keeps the box's value, even one it cannot show
    // (a style or width from a foreign file).
    const auto keep = [](int shown, int initial, int& value) {
        if (shown != initial)
            value = shown;
    };
    keep(borderStyle_->currentIndex(), initial_[0], box.PenStyle);
    keep(borderWidth_->value(), initial_[1], box.PenWidth);
    keep(backgroundStyle_->currentIndex(), initial_[2], box.BrushStyle);
    box.PenColour = borderColour_->Colour();
    box.BrushColour = backgroundColour_->Colour();
}

} // namespace tessaly
