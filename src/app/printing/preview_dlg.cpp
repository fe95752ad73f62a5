#include "app/printing/preview_dlg.h"

#include "app/printing/printer_output.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/preview_zoom.h"
#include "core/settings/settings_access.h"
#include "platform/page_renderer.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPainter>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

const char kPreviewPrintRefused[] =
    "The Print Facility is not available when generated from the Page Designer as Tessaly "
    "cannot identify which entries you require to print. \n\nIf you wish to print using this "
    "Layout, please use the Print Command of the Address Book or Diary\x92s File Menu.";

namespace {
// The sheet's distance from the edges of the view, pixels.
constexpr int kBorder = 10;
} // namespace

// One page of the plan as a sheet of paper, drawn only when it is shown.
class TPreviewPage : public QWidget {
public:
    explicit TPreviewPage(const TPreviewDlg& preview) : preview_(preview) {
        setObjectName("PreviewPage");
        setAutoFillBackground(false);
    }
    // The sheet's size in pixels at the preview's zoom.
    QSize SheetSize() const {
        const TPlanPage* p = Page();
        if (!p)
            return QSize(0, 0);
        const double perMm = logicalDpiX() / 25.4 * preview_.Zoom();
        return QSize(std::max(1, qRound(p->Width * perMm)), std::max(1, qRound(p->Height * perMm)));
    }
    void Fit() {
        const QSize s = SheetSize();
        setFixedSize(s.width() + 2 * kBorder, s.height() + 2 * kBorder);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().dark());
        const TPlanPage* p = Page();
        if (!p)
            return;
        const QRect sheet(QPoint(kBorder, kBorder), SheetSize());
        painter.fillRect(sheet.translated(3, 3), Qt::black);
        painter.fillRect(sheet, Qt::white);
        painter.setClipRect(sheet);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.translate(sheet.topLeft());
        // Scaled rather than laid out anew, so that text keeps its place at every zoom.
        painter.scale(preview_.Zoom(), preview_.Zoom());
        RenderPage(painter, *p, logicalDpiX() / 25.4);
    }

private:
    const TPlanPage* Page() const {
        const int i = preview_.CurrentPage();
        return i >= 0 && i < preview_.PageCount()
                   ? &preview_.Plan().Pages[static_cast<std::size_t>(i)]
                   : nullptr;
    }
    const TPreviewDlg& preview_;
};

TPreviewDlg::TPreviewDlg(IFrame& frame, TPrintPlan plan, bool allowPrint)
    : TChildWindow(frame, TChildKind::Preview, QString()), plan_(std::move(plan)),
      allowPrint_(allowPrint) {
    setWindowTitle(ToQString(plan_.Title));
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    scroll_ = new QScrollArea;
    scroll_->setObjectName("PreviewArea");
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setFocusPolicy(Qt::NoFocus);
    view_ = new TPreviewPage(*this);
    scroll_->setWidget(view_);
    column->addWidget(scroll_, 1);
    counter_ = new QLabel;
    counter_->setObjectName("PageCounter");
    counter_->setContentsMargins(4, 2, 4, 2);
    column->addWidget(counter_);
    resize(640, 560);
    ShowPage(0);
    // The zoom of the last preview; the fits are fitted again once the window is shown.
    SetZoom(ToQString(ZoomChoiceOfScale(frame.Access().ReadInteger("Preview", "Scale", 100))),
            false);
}

void TPreviewDlg::ShowPage(int page) {
    page_ = std::clamp(page, 0, std::max(0, PageCount() - 1));
    view_->Fit();
    counter_->setText(PageCount() ? QString("Page %1 of %2").arg(page_ + 1).arg(PageCount())
                                  : QString("No pages"));
    scroll_->verticalScrollBar()->setValue(0);
    UpdateCommands();
}

void TPreviewDlg::SetZoom(const QString& choice, bool remember) {
    zoomChoice_ = choice;
    if (remember)
        Frame().Access().WriteInteger("Preview", "Scale", ScaleOfZoomChoice(FromQString(choice)));
    if (PageCount() == 0)
        return;
    const TPlanPage& p = plan_.Pages[static_cast<std::size_t>(page_)];
    const double perMm = logicalDpiX() / 25.4;
    const QSize room = scroll_->viewport()->size() - QSize(2 * kBorder + 4, 2 * kBorder + 4);
    if (choice == "Page Width") {
        zoom_ = room.width() / (p.Width * perMm);
    } else if (choice == "Full Page") {
        zoom_ = std::min(room.width() / (p.Width * perMm), room.height() / (p.Height * perMm));
    } else {
        bool ok = false;
        const int percent = QString(choice).remove('%').toInt(&ok);
        if (!ok || percent <= 0)
            return;
        zoom_ = percent / 100.0;
    }
    zoom_ = std::clamp(zoom_, 0.05, 8.0);
    view_->Fit();
    if (auto* box = Frame().Widget()->findChild<QComboBox*>("Zoom"))
        if (box->currentText() != choice)
            box->setCurrentText(choice);
}

bool TPreviewDlg::RunCommand(const QString& hint) {
    if (hint == "First Page")
        ShowPage(0);
    else if (hint == "Previous Page")
        ShowPage(page_ - 1);
    else if (hint == "Next Page")
        ShowPage(page_ + 1);
    else if (hint == "Last Page")
        ShowPage(PageCount() - 1);
    else if (hint == "Page Width" || hint == "Full Page" || hint.endsWith('%'))
        SetZoom(hint);
    else if (hint == "Print the Preview Image")
        PrintPages();
    else
        return false;
    return true;
}

void TPreviewDlg::UpdateCommands() {
    if (Frame().ActiveChild() != this)
        return;
    const auto enable = [this](const char* hint, bool on) {
        if (QToolButton* b = Frame().ToolButton(static_cast<int>(TChildKind::Preview), hint))
            b->setEnabled(on);
    };
    enable("First Page", page_ > 0);
    enable("Previous Page", page_ > 0);
    enable("Next Page", page_ + 1 < PageCount());
    enable("Last Page", page_ + 1 < PageCount());
    enable("Print the Preview Image", PageCount() > 0);
    enable("Page Width", PageCount() > 0);
    enable("Full Page", PageCount() > 0);
}

void TPreviewDlg::Activated() {
    UpdateCommands();
    if (auto* box = Frame().Widget()->findChild<QComboBox*>("Zoom"))
        box->setCurrentText(zoomChoice_);
}

void TPreviewDlg::PrintPages() {
    if (!allowPrint_) {
        ShowMessage(mtRequestDenied, ToQString(kPreviewPrintRefused), mkInformation, mbOk);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(ToQString(plan_.Title));
    printer.setFromTo(1, PageCount());
    if (!ChoosePrinter(printer, this))
        return;
    PrintPlanOn(printer, plan_);
}

void TPreviewDlg::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_PageDown:
        ShowPage(page_ + 1);
        return;
    case Qt::Key_PageUp:
        ShowPage(page_ - 1);
        return;
    case Qt::Key_Home:
        if (ctrl) {
            ShowPage(0);
            return;
        }
        break;
    case Qt::Key_End:
        if (ctrl) {
            ShowPage(PageCount() - 1);
            return;
        }
        break;
    default:
        break;
    }
    TChildWindow::keyPressEvent(event);
}

void TPreviewDlg::resizeEvent(QResizeEvent* event) {
    TChildWindow::resizeEvent(event);
    // Fitted once the layout has given the scroll area its new size.
    if (zoomChoice_ == "Page Width" || zoomChoice_ == "Full Page")
        QTimer::singleShot(0, this, [this] { SetZoom(zoomChoice_, false); });
}

} // namespace tessaly
