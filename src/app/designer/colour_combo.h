#pragma once
// A drop-down of the 16 basic colours, each with its swatch. A colour that is not one
// of them (the user's own, or a system colour code) is offered as "Custom" at the end,
// so that an editor never loses it.

#include <QColor>
#include <QComboBox>
#include <cstdint>

namespace tessaly {

// A colour value of the layout files (red in the low byte) as Qt's colour; a system
// colour code (high byte set) shows as grey.
QColor ColourOfValue(std::uint32_t value);

class TColourCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TColourCombo(QWidget* parent = nullptr);
    void SetColour(std::uint32_t value);
    std::uint32_t Colour() const;
};

} // namespace tessaly
