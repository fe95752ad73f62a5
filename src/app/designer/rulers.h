#pragma once
// The rulers along the top and the left of the page picture: yellow strips with a tick
// every millimetre (longer every 5 and 10, centimetres numbered) or every twelfth of
// an inch (longer every quarter, half and inch, inches numbered). The left ruler runs
// down the bands shown, each band a stretch of its own that goes on where the one
// above ended, so that the split bars between them take no length.

#include <QWidget>
#include <vector>

namespace tessaly {

class TRuler : public QWidget {
public:
    // One stretch of the ruler: where it starts on the widget (pixels at 100 %), how
    // long it is, and the millimetres it starts at.
    struct TStretch {
        int Start = 0;
        int Length = 0;
        double StartMm = 0;
    };

    TRuler(Qt::Orientation orientation, QWidget* parent = nullptr);

    // 0 inches, 1 millimetres.
    void SetUnits(int units);
    int Units() const { return units_; }
    // Pixels per inch along the ruler, and the zoom of the page picture.
    void SetScale(double dpi, double zoom);
    void SetStretches(std::vector<TStretch> stretches);
    // The ruler's length in pixels at 100 %: the end of its last stretch.
    int RulerLength() const;

    static constexpr int kThickness = 26;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Fit();

    Qt::Orientation orientation_;
    int units_ = 1;
    double dpi_ = 96, zoom_ = 1;
    std::vector<TStretch> stretches_;
};

} // namespace tessaly
