#pragma once
// "Print Wizard": the parameters of a print run from the book or diary window's
// "&Print...": the layout of the window's family, which records, the address, date,
// copy and label options and the order of the records; it ends in printing or in the
// preview, and can keep its settings as a quick report first. Without a layout of the
// family it shows only why nothing can be printed.

#include <QDialog>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace tessaly {

class TBookData;
class TLayoutList;
class TQReport;
class TQReportList;

// String 408, the name of a run the wizard makes.
extern const char kWizardReportName[];

class TPrintWizard : public QDialog {
    Q_OBJECT
public:
    // `diary`: the layouts printing diary events; else those printing entries,
    // reminders and call logs. `today`: the dates "E&vents Between" starts with.
    // `reports`: the names a new quick report must not take. `book` captions the sort
    // fields (the built-in templates without one).
    TPrintWizard(QWidget* parent, const TLayoutList& layouts, const TQReportList& reports,
                 bool diary, double today, const TBookData* book = nullptr);

    // Whether there is a layout to print with.
    bool HasLayouts() const { return !numbers_.empty(); }
    // The run's parameters, from what is chosen.
    TQReport Parameters() const;
    // "Pre&view" was pressed rather than "&Print".
    bool Preview() const { return preview_; }
    // The name to keep the settings under as a quick report; empty when not asked.
    std::string SaveAsName() const;
    // Whether the kept report is to be the first or second linked report (0, 1).
    bool LinkTo(int link) const;

private:
    void Finish(bool preview);

    const TQReportList& reports_;
    bool diary_;
    std::vector<int> numbers_;
    QListWidget* layouts_ = nullptr;
    QButtonGroup* selection_ = nullptr;
    QCheckBox* firstAddress_ = nullptr;
    QCheckBox* prompt_ = nullptr;
    QSpinBox* copies_ = nullptr;
    QButtonGroup* fill_ = nullptr;
    QCheckBox* allDates_ = nullptr;
    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QCheckBox* completed_ = nullptr;
    QButtonGroup* order_ = nullptr;
    QComboBox* sortField_ = nullptr;
    QCheckBox* saveAs_ = nullptr;
    QLineEdit* saveName_ = nullptr;
    QCheckBox* links_[2] = {nullptr, nullptr};
    bool preview_ = false;
};

} // namespace tessaly
