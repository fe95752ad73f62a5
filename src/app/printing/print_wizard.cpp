#include "app/printing/print_wizard.h"

#include "core/printing/layout.h"
#include "core/printing/quick_report.h"
#include "platform/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace tessaly {

const char kWizardReportName[] = "Print Wizard Generated";

namespace {
const QDate kDayZero(1899, 12, 30);

QDate DateOf(double day) {
    return kDayZero.addDays(static_cast<qint64>(std::floor(day)));
}
double DayOf(const QDate& date) {
    return static_cast<double>(kDayZero.daysTo(date));
}

QGroupBox* Choices(const QString& title, QButtonGroup* group,
                   std::initializer_list<std::pair<const char*, int>> items, int checked) {
    auto* box = new QGroupBox(title);
    auto* column = new QVBoxLayout(box);
    for (const auto& [caption, id] : items) {
        auto* b = new QRadioButton(caption);
        group->addButton(b, id);
        column->addWidget(b);
        b->setChecked(id == checked);
    }
    return box;
}
} // namespace

TPrintWizard::TPrintWizard(QWidget* parent, const TLayoutList& layouts, bool diary, double today)
    : QDialog(parent), diary_(diary) {
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
        options->addWidget(Choices("Print Selection:", selection_,
                                   {{"Selected Entr&y Only", kSelectEntry},
                                    {"Entries &Displayed in the Index List", kSelectListed},
                                    {"&Tagged Entries", kSelectTagged},
                                    {"&All Entries in the Address Book", kSelectAll}},
                                   kSelectEntry));
    }
    auto* dates = new QGroupBox("Dates");
    auto* dateForm = new QFormLayout(dates);
    allDates_ = new QCheckBox("All Date &Entries");
    allDates_->setChecked(true);
    dateForm->addRow(allDates_);
    from_ = new QDateEdit(DateOf(today));
    to_ = new QDateEdit(DateOf(today));
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
    for (const auto& [caption, id] :
         {std::pair<const char*, int>{"Full &Sheet of Labels per Entry", kFillSheet},
          {"&Complete Row of Labels per Entry", kFillRow},
          {"Specified Number &of Labels per Entry", kFillCopies}}) {
        auto* b = new QRadioButton(caption);
        fill_->addButton(b, id);
        b->setChecked(id == kFillCopies);
        copyForm->addRow(b);
    }
    if (!diary) {
        firstAddress_ = new QCheckBox("Print &First Address Template Only");
        firstAddress_->setChecked(true);
        copyForm->addRow(firstAddress_);
    }
    prompt_ = new QCheckBox("Enable Prompt for &Starting Label Number");
    copyForm->addRow(prompt_);
    column->addWidget(copies);

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
        q.FirstDate = DayOf(from_->date());
        q.LastDate = DayOf(to_->date());
    }
    q.IncludeCompleted = completed_->isChecked();
    q.FirstAddressOnly = firstAddress_ ? firstAddress_->isChecked() : true;
    q.Copies = copies_->value();
    q.LabelFill = fill_->checkedId();
    q.PromptStartingLabel = prompt_->isChecked();
    return q;
}

} // namespace tessaly
