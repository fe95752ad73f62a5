#pragma once
// The quick report list of a book or diary window's "&Quick Reports...": the stored
// reports of the window's family, printed, previewed, deleted (asking first) or linked
// to the tool bar's print buttons.

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

namespace tessaly {

class IFrame;
class TPrintCatalogues;

class TQuickReportsDlg : public QDialog {
    Q_OBJECT
public:
    TQuickReportsDlg(QWidget* parent, IFrame& frame, TPrintCatalogues& catalogues, bool diary);

    // The report to run when the dialog was accepted, and whether into the preview.
    const std::string& Chosen() const { return chosen_; }
    bool Preview() const { return preview_; }

private:
    void Fill();
    std::string Selected() const;
    void Run(bool preview);
    void Delete();
    void Link(int link);

    IFrame& frame_;
    TPrintCatalogues& catalogues_;
    bool diary_;
    QListWidget* list_ = nullptr;
    std::vector<std::string> names_;
    std::string chosen_;
    bool preview_ = false;
};

} // namespace tessaly
