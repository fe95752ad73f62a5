#include "app/designer/layout_properties_dlg.h"

#include "app/designer/layout_dialogs.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_listing.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {
const char kDefaultPrinter[] = "<Default Printer>";
} // namespace

TLayoutPropertiesDlg::TLayoutPropertiesDlg(QWidget* parent, const TPrintCatalogues& catalogues,
                                           const TLayout& layout, bool creating,
                                           const TLayoutDialogEnv& env)
    : QDialog(parent), catalogues_(catalogues), env_(env), result_(layout),
      originalName_(creating ? std::string() : layout.NameText()) {
    setWindowTitle(creating ? "Create New Page Layout" : "Page Layout Properties");
    auto* column = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    column->addLayout(form);

    name_ = new QLineEdit(ToQString(layout.NameText()));
    name_->setObjectName("Name");
    name_->setMaxLength(255);
    form->addRow("Layout &Name:", name_);
    source_ = new QComboBox;
    source_->setObjectName("Source");
    for (int s = kSourceEntries; s <= kSourceDiary; ++s)
        source_->addItem(ToQString(DataSourceCaption(s)), s);
    source_->setCurrentIndex(std::max(0, source_->findData(layout.Source)));
    // The objects were made for the data source: it is chosen once.
    source_->setEnabled(creating);
    form->addRow("&Data Source:", source_);

    const TPaper* paper = catalogues.Papers.ByNumber(layout.PaperNumber);
    type_ = new QComboBox;
    type_->setObjectName("PaperType");
    for (int t = kPaperEnvelope; t <= kPaperListing; ++t)
        type_->addItem(ToQString(PaperTypeCaption(t)), t);
    type_->setCurrentIndex(std::max(0, type_->findData(paper ? paper->Type : kPaperListing)));
    form->addRow("Paper &Type:", type_);
    paper_ = new QComboBox;
    paper_->setObjectName("Paper");
    paper_->setMinimumContentsLength(28);
    form->addRow("&Paper Size:", paper_);

    printer_ = new QComboBox;
    printer_->setObjectName("Printer");
    printer_->addItem(kDefaultPrinter);
    for (const std::string& p : env.Printers)
        printer_->addItem(ToQString(p));
    const QString held = ToQString(layout.Printer.str());
    if (!held.isEmpty() && printer_->findText(held) < 0)
        printer_->addItem(held); // a printer gone from the system is kept until changed
    printer_->setCurrentIndex(held.isEmpty() ? -1 : printer_->findText(held));
    form->addRow("P&rinter:", printer_);

    auto* orientation = new QGroupBox("Orientation");
    auto* orow = new QHBoxLayout(orientation);
    portrait_ = new QRadioButton("P&ortrait");
    portrait_->setObjectName("Portrait");
    landscape_ = new QRadioButton("&Landscape");
    landscape_->setObjectName("Landscape");
    (layout.Portrait ? portrait_ : landscape_)->setChecked(true);
    orow->addWidget(portrait_);
    orow->addWidget(landscape_);
    column->addWidget(orientation);

    auto* pageForm = new QFormLayout;
    pageControl_ = new QComboBox;
    pageControl_->setObjectName("PageControl");
    pageForm->addRow("Page &Control:", pageControl_);
    column->addLayout(pageForm);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLayoutPropertiesDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(source_, &QComboBox::currentIndexChanged, this, &TLayoutPropertiesDlg::SourceChosen);
    connect(type_, &QComboBox::currentIndexChanged, this, &TLayoutPropertiesDlg::TypeChosen);
    connect(paper_, &QComboBox::currentIndexChanged, this, &TLayoutPropertiesDlg::PaperChosen);
    TypeChosen();
    SourceChosen();
}

void TLayoutPropertiesDlg::SourceChosen() {
    const int was =
        pageControl_->count() ? pageControl_->currentData().toInt() : result_.PageControl;
    pageControl_->clear();
    for (int c : PageControlChoices(source_->currentData().toInt()))
        pageControl_->addItem(ToQString(PageControlCaption(c)), c);
    pageControl_->setCurrentIndex(std::max(0, pageControl_->findData(was)));
    PaperChosen();
}

void TLayoutPropertiesDlg::TypeChosen() {
    const int type = type_->currentData().toInt();
    paper_->blockSignals(true);
    paper_->clear();
    for (const TPaper* p : PapersOfType(catalogues_.Papers, type))
        paper_->addItem(ToQString(p->NameText()), p->Number);
    int number = result_.PaperNumber;
    if (paper_->findData(number) < 0)
        number = type == kPaperListing ? PreselectedListing(catalogues_.Papers, env_.CountryCode)
                                       : kNoNumber;
    paper_->setCurrentIndex(paper_->findData(number));
    paper_->blockSignals(false);
    PaperChosen();
}

void TLayoutPropertiesDlg::PaperChosen() {
    const int type = type_->currentData().toInt();
    // An envelope's orientation is its paper's; the others choose theirs.
    portrait_->parentWidget()->setEnabled(type != kPaperEnvelope);
    if (type == kPaperEnvelope)
        portrait_->setChecked(true);
    // Page breaks belong to listings.
    pageControl_->setEnabled(type == kPaperListing);
}

int TLayoutPropertiesDlg::PaperNumber() const {
    return paper_->currentIndex() < 0 ? kNoNumber : paper_->currentData().toInt();
}

void TLayoutPropertiesDlg::accept() {
    const std::string name = FromQString(name_->text());
    if (auto m = CheckLayoutName(catalogues_.Layouts, name, originalName_)) {
        ShowMessage(*m);
        name_->setFocus();
        name_->selectAll();
        return;
    }
    const std::string printer =
        printer_->currentIndex() < 0 ? std::string() : FromQString(printer_->currentText());
    if (auto m = CheckLayoutChoices(catalogues_.Papers, PaperNumber(), printer)) {
        ShowMessage(*m);
        (catalogues_.Papers.Exists(PaperNumber()) ? printer_ : paper_)->setFocus();
        return;
    }
    result_.SetName(name);
    result_.Source = source_->currentData().toInt();
    result_.PaperNumber = PaperNumber();
    result_.Printer = printer;
    result_.Portrait = portrait_->isChecked();
    result_.PageControl = pageControl_->currentData().toInt();
    ApplyPaperKind(result_, catalogues_.Papers);
    QDialog::accept();
}

} // namespace tessaly
