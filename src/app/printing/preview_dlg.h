#pragma once
// The print preview: a child window showing the planned pages of a run one at a time,
// drawn on demand by the one page renderer, with the commands of the tool bar's
// "Preview" page (first, previous, next and last page, zoom, printing the pages
// unchanged, back to the program).

#include "app/widgets/child_window.h"
#include "core/printing/print_plan.h"

class QLabel;
class QScrollArea;

namespace tessaly {

class TPreviewPage;

// String 445: printing from a preview the page designer made.
extern const char kPreviewPrintRefused[];

class TPreviewDlg : public TChildWindow {
    Q_OBJECT
public:
    // `allowPrint` false: "Print the Preview Image" says why it cannot print.
    TPreviewDlg(IFrame& frame, TPrintPlan plan, bool allowPrint);

    const TPrintPlan& Plan() const { return plan_; }
    int PageCount() const { return static_cast<int>(plan_.Pages.size()); }
    // The page shown, from 0.
    int CurrentPage() const { return page_; }
    // Pixels per millimetre at 100 %, times the zoom.
    double Zoom() const { return zoom_; }

    bool RunCommand(const QString& hint) override;
    void Activated() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPage(int page);
    // A zoom box text: "100%" and the like, "Page Width" or "Full Page"; with
    // `remember` kept for the next preview.
    void SetZoom(const QString& choice, bool remember = true);
    void UpdateCommands();
    void PrintPages();

    TPrintPlan plan_;
    bool allowPrint_;
    int page_ = 0;
    double zoom_ = 1.0;
    QString zoomChoice_ = "100%";
    QScrollArea* scroll_ = nullptr;
    TPreviewPage* view_ = nullptr;
    QLabel* counter_ = nullptr;
};

} // namespace tessaly
