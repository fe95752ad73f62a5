#pragma once
// "Print Wizard": the parameters of a print run from the book or diary window's
// "&Print...": the layout of the window's family, which records, the address, date,
// copy and label options; it ends in printing or in the preview. Without a layout of
// the family it shows only why nothing can be printed.

#include <QDialog>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QListWidget;
class QSpinBox;

namespace tessaly {

class TLayoutList;
class TQReport;

// String 408, the name of a run the wizard makes.
extern const char kWizardReportName[];

class TPrintWizard : public QDialog {
    Q_OBJECT
public:
    // `diary`: the layouts printing diary events; else those printing entries,
    // reminders and call logs. `today`: the dates "E&vents Between" starts with.
    TPrintWizard(QWidget* parent, const TLayoutList& layouts, bool diary, double today);

    // Whether there is a layout to print with.
    bool HasLayouts() const { return !numbers_.empty(); }
    // The run's parameters, from what is chosen.
    TQReport Parameters() const;
    // "Pre&view" was pressed rather than "&Print".
    bool Preview() const { return preview_; }

private:
    void Finish(bool preview);

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
    bool preview_ = false;
};

} // namespace tessaly
