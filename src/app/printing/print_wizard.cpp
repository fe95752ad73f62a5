#include "app/printing/print_wizard.h"

#include "app/printing/print_selection.h"
#include "app/widgets/message_dialog.h"
#include "core/organise/item_name_check.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/layout.h"
#include "core/printing/quick_report.h"
#include "platform/qt_dates.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace tessaly {

const char kWizardReportName[] = "Print Wizard Generated";

TPrintWizard::TPrintWizard(QWidget* parent, const TLayoutList& layouts, const TQReportList& reports,
                           bool diary, double today, const TBookData* book)
    : QDialog(parent), reports_(reports), diary_(diary) {
    setWindowTitle("Print Wizard");
    auto* column = new QVBoxLayout(this);
    for (int i = 0; i < layouts.Count(); ++i) {
        const TLayout* l = layouts.At(i);
        if ((l->Source == kSourceDiary) == diary && l->Source != kSourceCalendar)
            numbers_.push_back(l->Number);
    }
    if (numbers_.empty()) {
        auto* why = new QLabel(
            diary ? "No Page Layout for printing Diary Events has been defined yet.\n\n"
                    "Please use \"Page Designer...\" of the File Menu to create one."
                  : "No Page Layout for printing from an Address Book has been defined yet.\n\n"
                    "Please use \"Page Designer...\" of the File Menu to create one.");
        why->setObjectName("NoLayout");
        column->addWidget(why);
        auto* close = new QPushButton("Close");
        connect(close, &QPushButton::clicked, this, &QDialog::reject);
        column->addWidget(close, 0, Qt::AlignRight);
        return;
    }

    auto* layoutLabel = new QLabel("Page &Layout:");
    layouts_ = new QListWidget;
    layouts_->setObjectName("Layouts");
    layoutLabel->setBuddy(layouts_);
    for (int number : numbers_) {
        const TLayout* l = layouts.ByNumber(number);
        layouts_->addItem(ToQString(l->NameText()) + "  (" +
                          ToQString(DataSourceCaption(l->Source)) + ")");
    }
    layouts_->setCurrentRow(0);
    column->addWidget(layoutLabel);
    column->addWidget(layouts_, 1);

    auto* options = new QHBoxLayout;
    if (!diary) {
        selection_ = new QButtonGroup(this);
        options->addWidget(BookSelectionChoices(selection_, kSelectEntry));
    }
    auto* dates = new QGroupBox("Dates");
    auto* dateForm = new QFormLayout(dates);
    allDates_ = new QCheckBox("All Date &Entries");
    allDates_->setChecked(true);
    dateForm->addRow(allDates_);
    from_ = new QDateEdit(DateOfDay(today));
    to_ = new QDateEdit(DateOfDay(today));
    for (QDateEdit* d : {from_, to_}) {
        d->setCalendarPopup(true);
        d->setEnabled(false);
    }
    dateForm->addRow("E&vents Between", from_);
    dateForm->addRow("an&d ", to_);
    connect(allDates_, &QCheckBox::toggled, this, [this](bool all) {
        from_->setEnabled(!all);
        to_->setEnabled(!all);
    });
    completed_ = new QCheckBox("Incl&ude Completed Events or Reminders");
    completed_->setChecked(true);
    dateForm->addRow(completed_);
    options->addWidget(dates);
    column->addLayout(options);

    auto* copies = new QGroupBox("Copies and Labels");
    auto* copyForm = new QFormLayout(copies);
    copies_ = new QSpinBox;
    copies_->setObjectName("Copies");
    copies_->setRange(1, 999);
    copyForm->addRow("&Number of Copies:", copies_);
    fill_ = new QButtonGroup(this);
    AddLabelFillChoices(copyForm, fill_, kFillCopies);
    if (!diary) {
        firstAddress_ = new QCheckBox("Print &First Address Template Only");
        firstAddress_->setChecked(true);
        copyForm->addRow(firstAddress_);
    }
    prompt_ = new QCheckBox("Enable Prompt for &Starting Label Number");
    copyForm->addRow(prompt_);
    column->addWidget(copies);

    if (!diary) {
        auto* order = new QGroupBox("Sort Order");
        auto* orderColumn = new QVBoxLayout(order);
        order_ = new QButtonGroup(this);
        auto* byDefault = new QRadioButton("Use Default Print Order");
        auto* byField = new QRadioButton("Use Specified Field to Sort Print");
        order_->addButton(byDefault, 0);
        order_->addButton(byField, 1);
        byDefault->setChecked(true);
        sortField_ = new QComboBox;
        sortField_->setObjectName("SortField");
        for (const TSortFieldChoice& c : SortFieldChoices(book))
            sortField_->addItem(ToQString(c.Caption), c.Number);
        sortField_->setEnabled(false);
        connect(byField, &QRadioButton::toggled, sortField_, &QWidget::setEnabled);
        orderColumn->addWidget(byDefault);
        orderColumn->addWidget(byField);
        orderColumn->addWidget(sortField_);
        options->addWidget(order);
    }

    auto* keep = new QGroupBox;
    auto* keepForm = new QFormLayout(keep);
    saveAs_ = new QCheckBox("Save Settings as a \"&Quick Report\" ?");
    saveName_ = new QLineEdit;
    saveName_->setObjectName("QuickReportName");
    saveName_->setMaxLength(255);
    saveName_->setEnabled(false);
    keepForm->addRow(saveAs_);
    keepForm->addRow("Quick Report Name:", saveName_);
    if (!diary) {
        links_[0] = new QCheckBox("Link to the First Quick Report Print Command");
        links_[1] = new QCheckBox("Link to the Second Quick Report Print Command");
        for (QCheckBox* b : links_) {
            b->setEnabled(false);
            keepForm->addRow(b);
        }
    }
    connect(saveAs_, &QCheckBox::toggled, this, [this](bool on) {
        saveName_->setEnabled(on);
        for (QCheckBox* b : links_)
            if (b)
                b->setEnabled(on);
        if (on)
            saveName_->setFocus();
    });
    column->addWidget(keep);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* print = new QPushButton("&Print");
    auto* preview = new QPushButton("Pre&view");
    auto* cancel = new QPushButton("Cancel");
    print->setDefault(true);
    connect(print, &QPushButton::clicked, this, [this] { Finish(false); });
    connect(preview, &QPushButton::clicked, this, [this] { Finish(true); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(layouts_, &QListWidget::itemDoubleClicked, this, [this] { Finish(true); });
    for (QPushButton* b : {print, preview, cancel})
        buttons->addWidget(b);
    column->addLayout(buttons);
}

void TPrintWizard::Finish(bool preview) {
    if (layouts_->currentRow() < 0)
        return;
    // The dates must make a range before anything is printed.
    if (!allDates_->isChecked() && from_->date() > to_->date()) {
        to_->setFocus();
        return;
    }
    if (saveAs_->isChecked()) {
        const std::string name = FromQString(saveName_->text());
        if (Trim(name).empty()) {
            QApplication::beep();
            saveName_->setFocus();
            return;
        }
        std::vector<std::string> names;
        for (int i = 0; i < reports_.Count(); ++i)
            names.push_back(reports_.NameAt(i));
        if (auto refused = CheckItemName(TNameMode::QReport, names, name, "")) {
            ShowMessage(*refused);
            saveName_->setFocus();
            return;
        }
    }
    preview_ = preview;
    accept();
}

TQReport TPrintWizard::Parameters() const {
    TQReport q;
    q.SetName(kWizardReportName);
    if (!HasLayouts())
        return q;
    q.LayoutNumber = numbers_[static_cast<std::size_t>(std::max(0, layouts_->currentRow()))];
    q.Selection = diary_ ? kSelectDiary : selection_->checkedId();
    q.AllDates = allDates_->isChecked();
    if (!q.AllDates) {
        q.FirstDate = DayOfDate(from_->date());
        q.LastDate = DayOfDate(to_->date());
    }
    q.IncludeCompleted = completed_->isChecked();
    q.FirstAddressOnly = firstAddress_ ? firstAddress_->isChecked() : true;
    q.Copies = copies_->value();
    q.LabelFill = fill_->checkedId();
    q.PromptStartingLabel = prompt_->isChecked();
    if (order_ && order_->checkedId() == 1)
        q.SortField = sortField_->currentData().toInt();
    return q;
}

std::string TPrintWizard::SaveAsName() const {
    return saveAs_ && saveAs_->isChecked() ? Trim(FromQString(saveName_->text())) : std::string();
}

bool TPrintWizard::LinkTo(int link) const {
    return !SaveAsName().empty() && link >= 0 && link < 2 && links_[link] &&
           links_[link]->isChecked();
}

} // namespace tessaly
