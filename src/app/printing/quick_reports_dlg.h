#pragma once
// The quick report list of a book or diary window's "&Quick Reports...": the stored
// reports of the window's family, of one report type or all, printed, previewed,
// edited, made anew, deleted (asking first) or linked to the tool bar's print buttons.

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace tessaly {

class IFrame;
class TBookData;
class TPrintCatalogues;

// Keeps the frame's report links in the settings at once and gives the tool bar's
// linked report buttons their hints.
void KeepReportLinks(IFrame& frame);

class TQuickReportsDlg : public QDialog {
    Q_OBJECT
public:
    // `book` captions the sort fields of the report dialog; null for a diary.
    TQuickReportsDlg(QWidget* parent, IFrame& frame, TPrintCatalogues& catalogues, bool diary,
                     const TBookData* book = nullptr);

    // The report to run when the dialog was accepted, and whether into the preview.
    const std::string& Chosen() const { return chosen_; }
    bool Preview() const { return preview_; }

private:
    void Fill();
    std::string Selected() const;
    void Run(bool preview);
    void Delete();
    // The quick report dialog on the selected report, or on a new one.
    void Edit(bool fresh);
    void Link(int link);

    IFrame& frame_;
    TPrintCatalogues& catalogues_;
    bool diary_;
    const TBookData* book_;
    std::vector<int> types_; // the filter's data sources; 0 every type of the family
    QComboBox* filter_ = nullptr;
    QListWidget* list_ = nullptr;
    std::vector<std::string> names_;
    std::string chosen_;
    bool preview_ = false;
};

} // namespace tessaly
