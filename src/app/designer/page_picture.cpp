#include "app/designer/page_picture.h"

#include "core/designer/designer_text.h"
#include "platform/page_renderer.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace tessaly {

namespace {

// The height of a split bar between two bands, pixels at 100 %.
constexpr int kSplitBar = 6;
// The side of a grab square.
constexpr int kGrabSquare = 5;

QRect ToQRect(const TPixelRect& r) {
    return QRect(r.X, r.Y, r.Width, r.Height);
}

// The bands shown, top to bottom.
std::vector<int> ShownBands(const TPageModel& page) {
    std::vector<int> out;
    if (page.Headers)
        out.push_back(kBandHeader);
    out.push_back(kBandBody);
    if (page.Footers)
        out.push_back(kBandFooter);
    return out;
}

Qt::CursorShape HandleCursor(THandle h) {
    switch (h) {
    case THandle::TopLeft:
    case THandle::BottomRight:
        return Qt::SizeFDiagCursor;
    case THandle::TopRight:
    case THandle::BottomLeft:
        return Qt::SizeBDiagCursor;
    case THandle::Top:
    case THandle::Bottom:
        return Qt::SizeVerCursor;
    case THandle::Left:
    case THandle::Right:
        return Qt::SizeHorCursor;
    case THandle::None:
        break;
    }
    return Qt::ArrowCursor;
}

} // namespace

TPagePicture::TPagePicture(TDesignerPage& design, QWidget* parent)
    : QWidget(parent), design_(design) {
    setObjectName("PagePicture");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    PageChanged();
}

void TPagePicture::SetZoom(double zoom) {
    zoom_ = std::clamp(zoom, 0.25, 4.0);
    PageChanged();
}

void TPagePicture::SetShowBorders(bool show) {
    showBorders_ = show;
    update();
}

void TPagePicture::SetMargins(const QMargins& margins) {
    margins_ = margins;
    update();
}

void TPagePicture::SetRepeat(bool listing, int pageControl) {
    listing_ = listing;
    pageControl_ = pageControl;
    update();
}

int TPagePicture::SheetWidth() const {
    return design_.Page.BandPixels(kBandBody, design_.Scale).Width;
}

QRect TPagePicture::BandRect(int band) const {
    int y = kPad;
    for (int b : ShownBands(design_.Page)) {
        const TPixelSize s = design_.Page.BandPixels(b, design_.Scale);
        if (b == band)
            return QRect(kPad, y, s.Width, s.Height);
        y += s.Height + kSplitBar;
    }
    return {};
}

QRect TPagePicture::SplitBarRect(int band) const {
    const QRect r = BandRect(band);
    if (r.isNull())
        return {};
    if (band == kBandHeader)
        return QRect(r.left(), r.bottom() + 1, r.width(), kSplitBar);
    if (band == kBandFooter)
        return QRect(r.left(), r.top() - kSplitBar, r.width(), kSplitBar);
    return {};
}

std::vector<TRuler::TStretch> TPagePicture::VerticalStretches() const {
    std::vector<TRuler::TStretch> out;
    double mm = 0;
    for (int b : ShownBands(design_.Page)) {
        const QRect r = BandRect(b);
        out.push_back({r.top(), r.height(), mm});
        mm += design_.Page.BandHeight[b];
    }
    return out;
}

int TPagePicture::RulerLength() const {
    if (design_.Page.SheetHeight > 0)
        return design_.Scale.ToPixelsY(design_.Page.SheetHeight);
    int length = 0;
    for (int b : ShownBands(design_.Page))
        length += BandRect(b).height();
    return length;
}

void TPagePicture::PageChanged() {
    int bottom = kPad;
    for (int b : ShownBands(design_.Page))
        bottom = BandRect(b).bottom() + 1;
    const QSize size(SheetWidth() + 2 * kPad, bottom + kPad);
    setFixedSize(static_cast<int>(std::ceil(size.width() * zoom_)),
                 static_cast<int>(std::ceil(size.height() * zoom_)));
    update();
}

QPoint TPagePicture::WidgetPoint(int band, TPixelPoint p) const {
    const QRect r = BandRect(band);
    return QPoint(static_cast<int>(std::floor((r.left() + p.X + 0.5) * zoom_)),
                  static_cast<int>(std::floor((r.top() + p.Y + 0.5) * zoom_)));
}

QPoint TPagePicture::HandlePoint(THandle handle) const {
    const TPixelRect f = Frame();
    const int left = f.X, right = f.Right() - 1, top = f.Y, bottom = f.Bottom() - 1;
    const int midX = f.X + f.Width / 2, midY = f.Y + f.Height / 2;
    TPixelPoint p{midX, midY};
    switch (handle) {
    case THandle::TopLeft:
        p = {left, top};
        break;
    case THandle::Top:
        p = {midX, top};
        break;
    case THandle::TopRight:
        p = {right, top};
        break;
    case THandle::Right:
        p = {right, midY};
        break;
    case THandle::BottomRight:
        p = {right, bottom};
        break;
    case THandle::Bottom:
        p = {midX, bottom};
        break;
    case THandle::BottomLeft:
        p = {left, bottom};
        break;
    case THandle::Left:
        p = {left, midY};
        break;
    case THandle::None:
        break;
    }
    return WidgetPoint(design_.Sets.Active, p);
}

QPoint TPagePicture::SplitBarPoint(int band) const {
    const QRect r = SplitBarRect(band);
    return QPoint(static_cast<int>((r.center().x() + 0.5) * zoom_),
                  static_cast<int>((r.center().y() + 0.5) * zoom_));
}

int TPagePicture::BandAt(const QPoint& p) const {
    for (int b : ShownBands(design_.Page))
        if (BandRect(b).contains(p))
            return b;
    return -1;
}

int TPagePicture::SplitBarAt(const QPoint& p) const {
    for (int b : {kBandHeader, kBandFooter})
        if (SplitBarRect(b).contains(p))
            return b;
    return -1;
}

QPoint TPagePicture::Unzoomed(const QPointF& p) const {
    return QPoint(static_cast<int>(std::floor(p.x() / zoom_)),
                  static_cast<int>(std::floor(p.y() / zoom_)));
}

TPixelPoint TPagePicture::InBand(int band, const QPoint& p) const {
    const QRect r = BandRect(band);
    return {p.x() - r.left(), p.y() - r.top()};
}

TPixelRect TPagePicture::Frame() const {
    std::vector<TPixelRect> rects;
    for (int id : design_.Sets.Selected())
        if (const auto r = design_.Page.Pixels(id, design_.Scale))
            rects.push_back(*r);
    return SelectionFrame(rects);
}

void TPagePicture::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), QColor(0x80, 0x80, 0x80));
    p.scale(zoom_, zoom_);
    p.setRenderHint(QPainter::TextAntialiasing);
    repeats_.clear();
    for (int b : ShownBands(design_.Page))
        PaintBand(p, b);
    for (int b : {kBandHeader, kBandFooter}) {
        const QRect bar = SplitBarRect(b);
        if (bar.isNull())
            continue;
        p.fillRect(bar, QColor(0xC0, 0xC0, 0xC0));
        p.setPen(Qt::white);
        p.drawLine(bar.topLeft(), bar.topRight());
        p.setPen(Qt::darkGray);
        p.drawLine(bar.bottomLeft(), bar.bottomRight());
    }
    if (splitBand_ >= 0) {
        // Where the split bar goes when it is let go.
        const QRect band = BandRect(splitBand_);
        const int y = splitBand_ == kBandHeader ? band.top() + splitWanted_
                                                : band.bottom() + 1 - splitWanted_;
        p.setPen(QPen(Qt::red, 1, Qt::DashLine));
        p.drawLine(band.left(), y, band.right(), y);
    }
    PaintSelection(p);
}

void TPagePicture::PaintBand(QPainter& p, int band) {
    const QRect r = BandRect(band);
    p.fillRect(r.translated(3, 3), QColor(0x40, 0x40, 0x40));
    p.fillRect(r, Qt::white);
    p.save();
    p.setClipRect(r);
    p.translate(r.topLeft());
    const TScreenScale& scale = design_.Scale;
    // The grid, where the selection snaps.
    if (design_.Grid.Enabled && zoom_ >= 0.5) {
        QList<QPoint> dots;
        for (int y = 0; y < r.height(); y += std::max(2, design_.Grid.Down))
            for (int x = 0; x < r.width(); x += std::max(2, design_.Grid.Across))
                dots.append(QPoint(x, y));
        p.setPen(QColor(0xC8, 0xC8, 0xC8));
        p.drawPoints(dots.constData(), static_cast<int>(dots.size()));
    }
    const double dotsPerMm = scale.DpiX / 25.4;
    // The page renderer draws in millimetres at one resolution; down is scaled to the
    // vertical one.
    p.save();
    p.scale(1.0, scale.DpiY / scale.DpiX);
    for (const TDesignObject& o : design_.Page.Bands[band]) {
        TPlanPage one;
        one.Items = DesignerItems(o.Box, DesignerText(o.Box, now_, returnAddress_));
        RenderPage(p, one, dotsPerMm);
    }
    p.restore();
    std::vector<TPixelRect> body;
    for (const TDesignObject& o : design_.Page.Bands[band]) {
        const auto pr = design_.Page.Pixels(o.Id, scale);
        if (!pr)
            continue;
        body.push_back(*pr);
        if (showBorders_) {
            p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(ToQRect(*pr).adjusted(0, 0, -1, -1));
        }
    }
    // How the detail repeats down a listing's page.
    if (band == kBandBody && listing_) {
        repeats_ = RepeatPreview(body, r.height(), pageControl_);
        p.setPen(QColor(0xA0, 0xA0, 0xA0));
        p.setBrush(QBrush(QColor(0xC0, 0xC0, 0xC0), Qt::VerPattern));
        for (const TPixelRect& copy : repeats_)
            p.drawRect(ToQRect(copy).adjusted(0, 0, -1, -1));
    }
    // The printable area of the layout's printer.
    if (!margins_.isNull()) {
        p.setPen(QPen(QColor(0xE0, 0x40, 0x40), 0, Qt::DashLine));
        const bool first = BandRect(kBandHeader).isNull() ? band == kBandBody : band == kBandHeader;
        const bool last = BandRect(kBandFooter).isNull() ? band == kBandBody : band == kBandFooter;
        if (margins_.left() > 0)
            p.drawLine(margins_.left(), 0, margins_.left(), r.height());
        if (margins_.right() > 0)
            p.drawLine(r.width() - margins_.right(), 0, r.width() - margins_.right(), r.height());
        if (first && margins_.top() > 0)
            p.drawLine(0, margins_.top(), r.width(), margins_.top());
        if (last && margins_.bottom() > 0)
            p.drawLine(0, r.height() - margins_.bottom(), r.width(),
                       r.height() - margins_.bottom());
    }
    p.restore();
}

void TPagePicture::PaintSelection(QPainter& p) {
    const TPixelRect f = Frame();
    if (f.Width <= 0)
        return;
    const QRect band = BandRect(design_.Sets.Active);
    const QRect frame = ToQRect(f).translated(band.topLeft());
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 0, Qt::DotLine));
    p.drawRect(frame.adjusted(0, 0, -1, -1));
    // Grab squares: black when the single object can be resized, grey for a group.
    const bool single = design_.Sets.Selected().size() == 1 && !design_.Sets.Locked;
    const QColor fill = single ? Qt::black : QColor(0x80, 0x80, 0x80);
    for (THandle h : {THandle::TopLeft, THandle::Top, THandle::TopRight, THandle::Right,
                      THandle::BottomRight, THandle::Bottom, THandle::BottomLeft, THandle::Left}) {
        const QPoint at = HandlePoint(h);
        const QPoint c(static_cast<int>(std::floor(at.x() / zoom_)),
                       static_cast<int>(std::floor(at.y() / zoom_)));
        p.fillRect(
            QRect(c.x() - kGrabSquare / 2, c.y() - kGrabSquare / 2, kGrabSquare, kGrabSquare),
            fill);
    }
}

void TPagePicture::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = Unzoomed(event->position());
    pressAt_ = at;
    // A split bar.
    if (const int bar = SplitBarAt(at); bar >= 0 && !design_.Palette.DropMode()) {
        splitBand_ = bar;
        splitWanted_ = BandRect(bar).height();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // A grab square of the single selected object, or the selection frame.
    if (!design_.Palette.DropMode() && !shift && !design_.Sets.Selected().empty()) {
        const TPixelPoint p = InBand(design_.Sets.Active, at);
        const TPixelRect f = Frame();
        const THandle h = design_.Sets.Selected().size() == 1 ? HandleAt(f, p) : THandle::None;
        const int under = design_.Page.ObjectAt(design_.Sets.Active, p, design_.Scale);
        if (h != THandle::None || (under && design_.Sets.Contains(under))) {
            drag_ = design_.BeginDrag(h, ++dragId_);
            return;
        }
    }
    const int band = BandAt(at);
    if (band < 0)
        return;
    const TPixelPoint p = InBand(band, at);
    if (OnBandClick)
        OnBandClick(band, p, shift);
    // Pressed on an object just selected: it can be dragged at once.
    const int under = design_.Page.ObjectAt(band, p, design_.Scale);
    if (!shift && under && design_.Sets.Active == band && design_.Sets.Contains(under))
        drag_ = design_.BeginDrag(THandle::None, ++dragId_);
    if (OnSelection)
        OnSelection();
    update();
}

void TPagePicture::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = Unzoomed(event->position());
    if (splitBand_ >= 0) {
        const QRect band = BandRect(splitBand_);
        const int wanted =
            splitBand_ == kBandHeader ? at.y() - band.top() : band.bottom() + 1 - at.y();
        splitWanted_ = SplitBandHeight(wanted, RulerLength());
        update();
        return;
    }
    if (drag_ && (event->buttons() & Qt::LeftButton)) {
        TDesignCommand c =
            drag_->Step(design_.Page, at.x() - pressAt_.x(), at.y() - pressAt_.y(), design_.Grid);
        design_.Edited();
        if (OnEdit)
            OnEdit(std::move(c));
        update();
        return;
    }
    UpdateCursor(at);
}

void TPagePicture::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (splitBand_ >= 0) {
        const QRect band = BandRect(splitBand_);
        const QPoint at = Unzoomed(event->position());
        const int wanted =
            splitBand_ == kBandHeader ? at.y() - band.top() : band.bottom() + 1 - at.y();
        const int which = splitBand_;
        splitBand_ = -1;
        TDesignCommand c =
            BandHeightEdit(design_.Page, which, wanted, RulerLength(), design_.Scale);
        if (c.Changes()) {
            design_.Modified = true;
            if (OnEdit)
                OnEdit(std::move(c));
        }
        PageChanged();
        return;
    }
    drag_.reset();
    if (OnSelection)
        OnSelection();
}

void TPagePicture::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = Unzoomed(event->position());
    const int band = BandAt(at);
    if (band >= 0 && design_.Page.ObjectAt(band, InBand(band, at), design_.Scale) &&
        OnDoubleClick) {
        drag_.reset();
        OnDoubleClick();
    }
}

void TPagePicture::keyPressEvent(QKeyEvent* event) {
    int dx = 0, dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -1;
        break;
    case Qt::Key_Right:
        dx = 1;
        break;
    case Qt::Key_Up:
        dy = -1;
        break;
    case Qt::Key_Down:
        dy = 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (auto c = design_.Nudge(dx, dy); c && OnEdit)
        OnEdit(std::move(*c));
    update();
}

void TPagePicture::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint at = Unzoomed(event->pos());
    const int band = BandAt(at);
    if (band >= 0 && OnBandClick && !design_.Palette.DropMode()) {
        // The object under the pointer joins the selection the menu works on.
        const TPixelPoint p = InBand(band, at);
        const int under = design_.Page.ObjectAt(band, p, design_.Scale);
        if (under && !design_.Sets.Contains(under))
            OnBandClick(band, p, false);
        if (OnSelection)
            OnSelection();
        update();
    }
    if (OnContextMenu)
        OnContextMenu(event->globalPos());
}

void TPagePicture::UpdateCursor(const QPoint& at) {
    if (design_.Palette.DropMode()) {
        setCursor(Qt::CrossCursor);
        return;
    }
    if (SplitBarAt(at) >= 0) {
        setCursor(Qt::SplitVCursor);
        return;
    }
    if (design_.Sets.Selected().size() == 1 && !design_.Sets.Locked) {
        const THandle h = HandleAt(Frame(), InBand(design_.Sets.Active, at));
        if (h != THandle::None) {
            setCursor(HandleCursor(h));
            return;
        }
    }
    setCursor(Qt::ArrowCursor);
}

} // namespace tessaly
