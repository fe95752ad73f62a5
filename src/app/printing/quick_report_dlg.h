#pragma once
// "Quick Report Templates": one stored quick report edited (or a new one made): its
// name, type and layout, the records it prints and their order, the address, date, copy
// and label options. OK checks the name and layout, stores the report and saves the
// list; links naming the report follow a rename.

#include "core/printing/report_links.h"

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace tessaly {

class TBookData;
class TPrintCatalogues;
class TQReport;

class TQuickReportDlg : public QDialog {
    Q_OBJECT
public:
    // `name` the report edited, empty for a new one; `diary` the family offered; `book`
    // captions the sort fields (the built-in templates without one). `links` are
    // renamed with the report.
    TQuickReportDlg(QWidget* parent, TPrintCatalogues& catalogues, TReportLinks& links,
                    const std::string& name, bool diary, const TBookData* book);
    ~TQuickReportDlg() override;

    // The report's name after OK.
    const std::string& StoredName() const { return stored_; }

    void accept() override;

private:
    void FillLayouts();
    // Enables the options the chosen layout's data source and paper use.
    void UpdateOptions();
    int ChosenSource() const;
    int ChosenLayout() const;

    TPrintCatalogues& catalogues_;
    TReportLinks& links_;
    std::string original_;
    bool diary_;
    // The report as it was, or a new one with the defaults (kept out of this header:
    // its selection names clash with the export wizard's in the program's moc unit).
    std::unique_ptr<TQReport> report_;
    std::string stored_;
    std::vector<int> types_;
    std::vector<int> layoutNumbers_;

    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* layout_ = nullptr;
    QComboBox* selection_ = nullptr;
    QComboBox* sort_ = nullptr;
    QButtonGroup* addresses_ = nullptr;
    QCheckBox* prompt_ = nullptr;
    QRadioButton* allDates_ = nullptr;
    QRadioButton* between_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QCheckBox* completed_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QButtonGroup* fill_ = nullptr;
};

} // namespace tessaly
