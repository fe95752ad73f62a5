#pragma once
// The "Border Settings" and "Background Settings" every property editor shows: the
// border's style, colour and width, the background's style and colour.

#include <QWidget>
#include <array>

class QComboBox;
class QSpinBox;

namespace tessaly {

class TColourCombo;
class TLayoutBox;

class TBoxStylePanel : public QWidget {
    Q_OBJECT
public:
    TBoxStylePanel(const TLayoutBox& box, QWidget* parent = nullptr);
    // Puts the settings into the box.
    void Apply(TLayoutBox& box) const;

signals:
    void Changed();

private:
    QComboBox* borderStyle_ = nullptr;
    TColourCombo* borderColour_ = nullptr;
    QSpinBox* borderWidth_ = nullptr;
    QComboBox* backgroundStyle_ = nullptr;
    TColourCombo* backgroundColour_ = nullptr;
    // What the style and width controls first showed.
    std::array<int, 3> initial_{};
};

} // namespace tessaly
