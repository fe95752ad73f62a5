#include "app/printing/quick_report_dlg.h"

#include "app/printing/print_selection.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "core/printing/print_run.h"
#include "platform/qt_dates.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tessaly {

TQuickReportDlg::TQuickReportDlg(QWidget* parent, TPrintCatalogues& catalogues, TReportLinks& links,
                                 const std::string& name, bool diary, const TBookData* book)
    : QDialog(parent), catalogues_(catalogues), links_(links), original_(name), diary_(diary),
      report_(std::make_unique<TQReport>()), types_(ReportTypes(diary)) {
    setWindowTitle("Quick Report Templates");
    if (const TQReport* stored = catalogues.Reports.ByName(name))
        *report_ = *stored;
    else
        original_.clear();
    if (diary_)
        report_->Selection = kSelectDiary;

    auto* column = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    name_ = new QLineEdit(ToQString(report_->NameText()));
    name_->setObjectName("ReportName");
    name_->setMaxLength(255);
    top->addRow("&Quick Report Name:", name_);
    type_ = new QComboBox;
    type_->setObjectName("ReportType");
    for (int source : types_)
        type_->addItem(ToQString(ReportTypeCaption(source)));
    top->addRow("Type of Report:", type_);
    layout_ = new QComboBox;
    layout_->setObjectName("Layout");
    top->addRow("Page &Layout:", layout_);
    selection_ = new QComboBox;
    selection_->setObjectName("Selection");
    if (!diary_) {
        for (const auto& [caption, id] : kBookSelections) {
            selection_->addItem(QString(caption).remove('&'), id);
            if (id == report_->Selection)
                selection_->setCurrentIndex(selection_->count() - 1);
        }
        top->addRow("&Print Selection:", selection_);
    } else {
        selection_->hide();
    }
    sort_ = new QComboBox;
    sort_->setObjectName("SortField");
    sort_->addItem("Use Default Print Order", -1);
    for (const TSortFieldChoice& c : SortFieldChoices(book)) {
        sort_->addItem(ToQString(c.Caption), c.Number);
        if (c.Number == report_->SortField)
            sort_->setCurrentIndex(sort_->count() - 1);
    }
    top->addRow("Sort &Report by:", sort_);
    column->addLayout(top);

    auto* options = new QGridLayout;
    auto* addressBox = new QGroupBox("Address Options");
    auto* addressColumn = new QVBoxLayout(addressBox);
    addresses_ = new QButtonGroup(this);
    auto* firstOnly = new QRadioButton("Print &First Address Template Only");
    auto* every = new QRadioButton("Print &All Address Templates");
    addresses_->addButton(firstOnly, 1);
    addresses_->addButton(every, 0);
    (report_->FirstAddressOnly ? firstOnly : every)->setChecked(true);
    addressColumn->addWidget(firstOnly);
    addressColumn->addWidget(every);
    prompt_ = new QCheckBox("Enable Prompt for &Starting Label Number");
    prompt_->setChecked(report_->PromptStartingLabel);
    addressColumn->addWidget(prompt_);
    options->addWidget(addressBox, 0, 0);

    auto* dateBox = new QGroupBox("Dates");
    auto* dateGrid = new QGridLayout(dateBox);
    allDates_ = new QRadioButton("All Date &Entries");
    between_ = new QRadioButton("E&vents Between");
    (report_->AllDates ? allDates_ : between_)->setChecked(true);
    // A new report starts its range at today, as the wizard does.
    const QDate today = QDate::currentDate();
    from_ = new QDateEdit(
        report_->AllDates && report_->FirstDate == 0 ? today : DateOfDay(report_->FirstDate));
    to_ = new QDateEdit(report_->AllDates && report_->LastDate == 0 ? today
                                                                    : DateOfDay(report_->LastDate));
    from_->setObjectName("FirstDate");
    to_->setObjectName("LastDate");
    for (QDateEdit* d : {from_, to_})
        d->setCalendarPopup(true);
    auto* andLabel = new QLabel("an&d ");
    andLabel->setBuddy(to_);
    dateGrid->addWidget(allDates_, 0, 0, 1, 2);
    dateGrid->addWidget(between_, 1, 0);
    dateGrid->addWidget(from_, 1, 1);
    dateGrid->addWidget(andLabel, 2, 0, Qt::AlignRight);
    dateGrid->addWidget(to_, 2, 1);
    completed_ = new QCheckBox("Incl&ude Completed Events or Reminders");
    completed_->setChecked(report_->IncludeCompleted);
    dateGrid->addWidget(completed_, 3, 0, 1, 2);
    options->addWidget(dateBox, 0, 1);

    auto* copyBox = new QGroupBox("Copies and Labels");
    auto* copyForm = new QFormLayout(copyBox);
    copies_ = new QSpinBox;
    copies_->setObjectName("Copies");
    copies_->setRange(1, 999);
    copies_->setValue(std::clamp(report_->Copies, 1, 999));
    copyForm->addRow("&Number of Copies:", copies_);
    fill_ = new QButtonGroup(this);
    AddLabelFillChoices(copyForm, fill_, report_->LabelFill);
    options->addWidget(copyBox, 1, 0, 1, 2);
    column->addLayout(options);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    // The type is the stored layout's data source, or the family's first.
    const int source = catalogues.Layouts.SourceByNumber(report_->LayoutNumber);
    const auto at = std::find(types_.begin(), types_.end(), source);
    type_->setCurrentIndex(at == types_.end() ? 0 : static_cast<int>(at - types_.begin()));
    FillLayouts();
    connect(type_, &QComboBox::currentIndexChanged, this, [this] { FillLayouts(); });
    connect(layout_, &QComboBox::currentIndexChanged, this, [this] { UpdateOptions(); });
    connect(between_, &QRadioButton::toggled, this, [this] { UpdateOptions(); });
    UpdateOptions();
}

TQuickReportDlg::~TQuickReportDlg() = default;

int TQuickReportDlg::ChosenSource() const {
    const int i = type_->currentIndex();
    return i >= 0 && i < static_cast<int>(types_.size()) ? types_[static_cast<std::size_t>(i)] : -1;
}

int TQuickReportDlg::ChosenLayout() const {
    const int i = layout_->currentIndex();
    return i >= 0 && i < static_cast<int>(layoutNumbers_.size())
               ? layoutNumbers_[static_cast<std::size_t>(i)]
               : -1;
}

void TQuickReportDlg::FillLayouts() {
    const QSignalBlocker quiet(layout_);
    layout_->clear();
    layoutNumbers_.clear();
    const int source = ChosenSource();
    for (int i = 0; i < catalogues_.Layouts.Count(); ++i) {
        const TLayout* l = catalogues_.Layouts.At(i);
        if (l->Source != source)
            continue;
        layoutNumbers_.push_back(l->Number);
        layout_->addItem(ToQString(l->NameText()));
        if (l->Number == report_->LayoutNumber)
            layout_->setCurrentIndex(layout_->count() - 1);
    }
    UpdateOptions();
}

void TQuickReportDlg::UpdateOptions() {
    const int source = ChosenSource();
    const TLayout* layout = catalogues_.Layouts.ByNumber(ChosenLayout());
    const bool labels =
        layout && catalogues_.Papers.TypeByNumber(layout->PaperNumber) == kPaperLabel;
    const bool entries = source == kSourceEntries;
    for (QAbstractButton* b : addresses_->buttons())
        b->setEnabled(entries);
    prompt_->setEnabled(labels);
    allDates_->setEnabled(!entries);
    between_->setEnabled(!entries);
    from_->setEnabled(!entries && between_->isChecked());
    to_->setEnabled(!entries && between_->isChecked());
    completed_->setEnabled(source == kSourceReminders || source == kSourceDiary ||
                           source == kSourceCalendar);
    for (QAbstractButton* b : fill_->buttons())
        b->setEnabled(labels);
    sort_->setEnabled(!diary_);
}

void TQuickReportDlg::accept() {
    const int source = ChosenSource();
    if (source != kSourceEntries && between_->isChecked() && from_->date() > to_->date()) {
        QApplication::beep();
        to_->setFocus();
        return;
    }
    const std::string name = FromQString(name_->text());
    const int layout = ChosenLayout();
    if (auto refused =
            CheckQuickReport(catalogues_.Reports, catalogues_.Layouts, name, original_, layout)) {
        ShowMessage(*refused);
        (refused->Text == kInvalidLayoutMessage ? static_cast<QWidget*>(layout_) : name_)
            ->setFocus();
        return;
    }
    TQReport edited = *report_;
    edited.SetName(name);
    edited.LayoutNumber = layout;
    if (!diary_)
        edited.Selection = selection_->currentData().toInt();
    edited.SortField = sort_->currentData().toInt();
    edited.FirstAddressOnly = addresses_->checkedId() != 0;
    edited.PromptStartingLabel = prompt_->isChecked();
    edited.AllDates = allDates_->isChecked();
    edited.FirstDate = edited.AllDates ? 0 : DayOfDate(from_->date());
    edited.LastDate = edited.AllDates ? 0 : DayOfDate(to_->date());
    edited.IncludeCompleted = completed_->isChecked();
    edited.Copies = copies_->value();
    // One label per entry has no choice of its own: kept while none is chosen.
    if (fill_->checkedId() >= 0)
        edited.LabelFill = fill_->checkedId();
    const TQReport* stored = StoreQuickReport(catalogues_.Reports, links_, edited, original_);
    if (!stored) {
        ShowMessage(mtRequestDenied, "No more Quick Reports can be stored.", mkError, mbOk);
        return;
    }
    const TIoResult saved = catalogues_.SaveReports();
    if (!saved.Ok) {
        ShowMessage(mtAccessError, ToQString(saved.Error), mkError, mbOk);
        return;
    }
    stored_ = stored->NameText();
    QDialog::accept();
}

} // namespace tessaly
