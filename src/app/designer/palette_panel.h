#pragma once
// The designer's palettes: a tab set switching between "Data Palette" and "Object
// Palette", a label above the buttons reading the same, and up to 21 toggle buttons
// in a scrolling panel, one per palette item. The buttons show the pressed state the
// designer keeps; several may be down at once.

#include "core/designer/placing.h"

#include <QWidget>
#include <functional>
#include <vector>

class QLabel;
class QScrollArea;
class QTabBar;
class QToolButton;
class QVBoxLayout;

namespace tessaly {

class TPalettePanel : public QWidget {
public:
    static constexpr int kMaxButtons = 21;

    TPalettePanel(TPaletteState& state, QWidget* parent = nullptr);

    // The palettes of the layout shown (empty ones when no layout is open).
    void SetPalettes(std::vector<TLayoutRecord> data, std::vector<TLayoutRecord> objects);
    bool ShowsObjects() const;
    // The palette whose buttons are shown.
    const std::vector<TLayoutRecord>& Shown() const;
    // The buttons follow the state again (after a drop or a cancel).
    void Refresh();
    QToolButton* Button(const QString& caption) const;

    // A button was pressed or released.
    std::function<void()> OnToggled;

private:
    void Rebuild();

    TPaletteState& state_;
    std::vector<TLayoutRecord> data_, objects_;
    QTabBar* tabs_ = nullptr;
    QLabel* caption_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* buttonPanel_ = nullptr;
    QVBoxLayout* buttonColumn_ = nullptr;
    std::vector<QToolButton*> buttons_;
};

} // namespace tessaly
