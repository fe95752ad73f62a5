#pragma once
// The page picture of the designer: the header, body and footer bands of the layout at
// screen scale (times the zoom) with the split bars between them, the objects drawn as
// they print, their outlines when borders are shown, the grid, the printable-area
// margins of the layout's printer, the repeat preview of a listing's detail and the
// selection frame with its grab squares. The mouse selects, places, moves and resizes,
// drags the split bars; the arrow keys move the selection a pixel.

#include "app/designer/rulers.h"
#include "core/common/date_time.h"
#include "core/designer/designer_page.h"

#include <QMargins>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

namespace tessaly {

class TPagePicture : public QWidget {
public:
    explicit TPagePicture(TDesignerPage& design, QWidget* parent = nullptr);

    // What is shown besides the page.
    void SetZoom(double zoom);
    double Zoom() const { return zoom_; }
    void SetShowBorders(bool show);
    // The printable-area margins in pixels (none for label sheets).
    void SetMargins(const QMargins& margins);
    const QMargins& Margins() const { return margins_; }
    // The repeat preview is drawn for listings unless the page breaks after every entry.
    void SetRepeat(bool listing, int pageControl);
    void SetReturnAddress(const std::string& text) { returnAddress_ = text; }
    void SetNow(TDateTime now) { now_ = now; }
    // The page or the selection changed: new size, repainted.
    void PageChanged();

    // Where a band lies on the widget at 100 % (empty when it is not shown), and a
    // point of a band on the widget as it is shown.
    QRect BandRect(int band) const;
    QPoint WidgetPoint(int band, TPixelPoint p) const;
    // The grab square of the single selected object on the widget, as shown.
    QPoint HandlePoint(THandle handle) const;
    // The split bar under the header or above the footer, on the widget as shown.
    QPoint SplitBarPoint(int band) const;
    // The stretches of the left ruler (the bands shown) and the length of the top one.
    std::vector<TRuler::TStretch> VerticalStretches() const;
    int SheetWidth() const;
    // The vertical ruler's length in pixels, which bounds the header and footer.
    int RulerLength() const;
    // The repeat shapes drawn at the last repaint of the body.
    const std::vector<TPixelRect>& RepeatShapes() const { return repeats_; }
    static constexpr int kPad = 10;

    // A left click on a band that is not on the selection: the window drops or selects.
    std::function<void(int band, TPixelPoint p, bool shift)> OnBandClick;
    // An edit made on the page (a drag step, an arrow key, a split bar).
    std::function<void(TDesignCommand)> OnEdit;
    // The selection may have changed.
    std::function<void()> OnSelection;
    std::function<void()> OnDoubleClick;
    std::function<void(const QPoint& global)> OnContextMenu;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The band under an unzoomed widget point, -1 for none; and the band whose split
    // bar is there (header or footer), -1 for none.
    int BandAt(const QPoint& p) const;
    int SplitBarAt(const QPoint& p) const;
    QRect SplitBarRect(int band) const;
    QPoint Unzoomed(const QPointF& p) const;
    TPixelPoint InBand(int band, const QPoint& p) const;
    // The selection frame of the active set in band pixels; empty when none.
    TPixelRect Frame() const;
    void PaintBand(QPainter& p, int band);
    void PaintSelection(QPainter& p);
    void UpdateCursor(const QPoint& p);

    TDesignerPage& design_;
    double zoom_ = 1.0;
    bool showBorders_ = true;
    QMargins margins_;
    bool listing_ = false;
    int pageControl_ = 3;
    std::string returnAddress_;
    TDateTime now_ = 0;
    std::vector<TPixelRect> repeats_;

    // The drag under way: of objects, or of a split bar.
    std::optional<TDragEdit> drag_;
    int dragId_ = 0;
    QPoint pressAt_;
    int splitBand_ = -1;
    int splitWanted_ = 0;
};

} // namespace tessaly
