#include "app/designer/rulers.h"

#include <QPainter>
#include <cmath>

namespace tessaly {

TRuler::TRuler(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
    setObjectName(orientation == Qt::Horizontal ? "HRuler" : "VRuler");
    setAttribute(Qt::WA_OpaquePaintEvent);
    Fit();
}

void TRuler::SetUnits(int units) {
    units_ = units == 0 ? 0 : 1;
    update();
}

void TRuler::SetScale(double dpi, double zoom) {
    dpi_ = dpi > 0 ? dpi : 96;
    zoom_ = zoom > 0 ? zoom : 1;
    Fit();
}

void TRuler::SetStretches(std::vector<TStretch> stretches) {
    stretches_ = std::move(stretches);
    Fit();
}

int TRuler::RulerLength() const {
    return stretches_.empty() ? 0 : stretches_.back().Start + stretches_.back().Length;
}

void TRuler::Fit() {
    const int length = static_cast<int>(std::ceil(RulerLength() * zoom_)) + 1;
    if (orientation_ == Qt::Horizontal)
        setFixedSize(length, kThickness);
    else
        setFixedSize(kThickness, length);
    update();
}

void TRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xFF, 0xFF, 0x80));
    p.setPen(Qt::black);
    QFont f = font();
    f.setPixelSize(9);
    p.setFont(f);
    const bool across = orientation_ == Qt::Horizontal;
    // Metric: a tick a millimetre, 12 / 18 / 24 pixels long. Inches: a tick a twelfth,
    // 6 / 12 / 18 / 24 pixels long.
    const int perUnit = units_ == 1 ? 10 : 12; // ticks per numbered unit
    const double unitMm = units_ == 1 ? 10.0 : 25.4;
    const double tickMm = unitMm / perUnit;
    for (const TStretch& s : stretches_) {
        const double pxPerMm = dpi_ / 25.4;
        const int first = static_cast<int>(std::ceil(s.StartMm / tickMm - 1e-9));
        const double endMm = s.StartMm + s.Length / pxPerMm;
        for (int t = first; t * tickMm <= endMm + 1e-9; ++t) {
            const double at = (s.Start + (t * tickMm - s.StartMm) * pxPerMm) * zoom_;
            int len;
            if (units_ == 1)
                len = t % 10 == 0 ? 24 : t % 5 == 0 ? 18 : 12;
            else
                len = t % 12 == 0 ? 24 : t % 6 == 0 ? 18 : t % 3 == 0 ? 12 : 6;
            len = len * kThickness / 26;
            const int pos = static_cast<int>(std::lround(at));
            if (across)
                p.drawLine(pos, kThickness - len, pos, kThickness - 1);
            else
                p.drawLine(kThickness - len, pos, kThickness - 1, pos);
            if (t % perUnit == 0 && t != 0) {
                const QString n = QString::number(t / perUnit);
                if (across)
                    p.drawText(pos + 2, 10, n);
                else
                    p.drawText(1, pos + 10, n);
            }
        }
    }
    p.setPen(Qt::darkGray);
    if (across)
        p.drawLine(0, kThickness - 1, width(), kThickness - 1);
    else
        p.drawLine(kThickness - 1, 0, kThickness - 1, height());
}

} // namespace tessaly
