#include "app/designer/colour_combo.h"

#include "core/designer/box_style.h"

#include <QPixmap>

namespace tessaly {

namespace {

QIcon Swatch(std::uint32_t value) {
    QPixmap p(16, 12);
    p.fill(ColourOfValue(value));
    return QIcon(p);
}

} // namespace

QColor ColourOfValue(std::uint32_t value) {
    if (value & 0xFF000000u)
        return QColor(Qt::gray);
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

TColourCombo::TColourCombo(QWidget* parent) : QComboBox(parent) {
    for (const TBasicColour& c : BasicColours())
        addItem(Swatch(c.Value), c.Name, QVariant::fromValue<uint>(c.Value));
}

void TColourCombo::SetColour(std::uint32_t value) {
    const int basic = BasicColourIndex(value);
    if (count() > static_cast<int>(BasicColours().size()))
        removeItem(count() - 1);
    if (basic < 0) {
        addItem(Swatch(value), "Custom", QVariant::fromValue<uint>(value));
        setCurrentIndex(count() - 1);
    } else {
        setCurrentIndex(basic);
    }
}

std::uint32_t TColourCombo::Colour() const {
    return currentData().toUInt();
}

} // namespace tessaly
