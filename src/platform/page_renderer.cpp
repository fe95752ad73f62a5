#include "platform/page_renderer.h"

#include "core/system/file_io.h"
#include "platform/page_sizes.h"
#include "platform/qt_text.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace tessaly {

namespace {

constexpr int kPdfResolution = 1200;

// A colour value 0x00BBGGRR.
QColor ColourOf(std::uint32_t c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

Qt::PenStyle PenStyleOf(int style) {
    switch (style) {
    case 1:
        return Qt::DashLine;
    case 2:
        return Qt::DotLine;
    case 3:
        return Qt::DashDotLine;
    case 4:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle BrushStyleOf(int style) {
    switch (style) {
    case 0:
        return Qt::SolidPattern;
    case 2:
        return Qt::BDiagPattern;
    case 3:
        return Qt::FDiagPattern;
    case 4:
        return Qt::CrossPattern;
    case 5:
        return Qt::DiagCrossPattern;
    case 6:
        return Qt::HorPattern;
    case 7:
        return Qt::VerPattern;
    default:
        return Qt::NoBrush;
    }
}

QPen PenOf(const TPlanPen& p, double dotsPerMm) {
    QPen pen(ColourOf(p.Colour));
    pen.setStyle(PenStyleOf(p.Style));
    pen.setWidthF(p.Width * dotsPerMm);
    return pen;
}

QFont FontOf(const TPlanFont& f) {
    QFont font(ToQString(f.Name));
    font.setPointSizeF(f.Size > 0 ? f.Size : 8);
    font.setBold((f.Style & 1) != 0);
    font.setItalic((f.Style & 2) != 0);
    font.setUnderline((f.Style & 4) != 0);
    font.setStrikeOut((f.Style & 8) != 0);
    return font;
}

Qt::Alignment AlignOf(int align) {
    const Qt::Alignment across = align == 1   ? Qt::AlignRight
                                 : align == 2 ? Qt::AlignHCenter
                                              : Qt::AlignLeft;
    return across | Qt::AlignTop;
}

} // namespace

QPageLayout PageLayoutOf(const TPlanPage& page) {
    // The paper code's size stands upright; a landscape page is the same size turned.
    const double upW = page.Landscape ? page.Height : page.Width;
    const double upH = page.Landscape ? page.Width : page.Height;
    QPageSize size = PageSizeForPaperCode(page.PaperCode, upW, upH);
    const QSizeF mm = size.size(QPageSize::Millimeter);
    // A code whose size is not the page's (a paper of the user's own under a standard
    // code) keeps the page's own size.
    if (std::abs(mm.width() - upW) > 0.5 || std::abs(mm.height() - upH) > 0.5)
        size = PageSizeForPaperCode(kCustomPaperCode, upW, upH);
    return QPageLayout(size, page.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void RenderPage(QPainter& painter, const TPlanPage& page, double dotsPerMm) {
    painter.save();
    const auto rect = [dotsPerMm](const TPlanItem& i) {
        return QRectF(i.Left * dotsPerMm, i.Top * dotsPerMm, i.Width * dotsPerMm,
                      i.Height * dotsPerMm);
    };
    for (const TPlanItem& item : page.Items) {
        switch (item.Kind) {
        case TPlanItemKind::Line:
            painter.setPen(PenOf(item.Pen, dotsPerMm));
            painter.drawLine(QPointF(item.Left * dotsPerMm, item.Top * dotsPerMm),
                             QPointF((item.Left + item.Width) * dotsPerMm,
                                     (item.Top + item.Height) * dotsPerMm));
            break;
        case TPlanItemKind::Rectangle:
            painter.setPen(PenOf(item.Pen, dotsPerMm));
            painter.setBrush(QBrush(ColourOf(item.Brush.Colour), BrushStyleOf(item.Brush.Style)));
            painter.drawRect(rect(item));
            break;
        case TPlanItemKind::Picture: {
            // A picture that does not load prints nothing.
            const QImage image(PathFromCore(item.Picture));
            if (!image.isNull())
                painter.drawImage(rect(item), image);
            break;
        }
        case TPlanItemKind::Text: {
            QFont font = FontOf(item.Font);
            painter.setFont(font);
            painter.setPen(ColourOf(item.Font.Colour));
            painter.drawText(rect(item),
                             static_cast<int>(AlignOf(item.Align)) | Qt::TextWordWrap |
                                 Qt::TextExpandTabs,
                             ToQString(item.Text));
            break;
        }
        }
    }
    painter.restore();
}

bool PaintPlan(QPagedPaintDevice& device, const TPrintPlan& plan, QString* error, int first,
               int last, const std::function<bool(int)>& pageDone) {
    const int count = static_cast<int>(plan.Pages.size());
    last = last < 0 || last >= count ? count - 1 : last;
    first = std::max(0, first);
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    QPainter painter;
    bool begun = false;
    int painted = 0;
    const int copies = std::max(1, plan.Copies);
    for (int p = first; p <= last; ++p) {
        const TPlanPage& page = plan.Pages[static_cast<std::size_t>(p)];
        for (int copy = 0; copy < copies; ++copy) {
            device.setPageLayout(PageLayoutOf(page));
            if (begun ? !device.newPage() : !painter.begin(&device)) {
                if (error)
                    *error = QStringLiteral("the pages cannot be made");
                if (begun)
                    painter.end();
                return false;
            }
            begun = true;
            RenderPage(painter, page, dotsPerMm);
            if (pageDone && !pageDone(++painted)) {
                painter.end();
                return true;
            }
        }
    }
    if (begun)
        painter.end();
    return true;
}

bool WritePlanPdf(const TPrintPlan& plan, const QString& path, QString* error) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setTitle(ToQString(plan.Title));
        writer.setCreator(QStringLiteral("Tessaly"));
        if (!PaintPlan(writer, plan, error)) {
            if (error)
                *error = QStringLiteral("the PDF's pages cannot be made");
            return false;
        }
    }
    // Written whole through the crash-safe writer: an old file is replaced completely
    // or not at all.
    const TIoResult written = WriteFileAtomically(
        PathToCore(path), std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size())));
    if (!written.Ok && error)
        *error = ToQString(written.Error);
    return written.Ok;
}

} // namespace tessaly
