#include "app/exchange/export_templates_dlg.h"

#include "app/exchange/import_templates_dlg.h"
#include "app/widgets/message_dialog.h"
#include "core/exchange/exchange_fields.h"
#include "platform/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr const char* kMsgNoSeparator =
    "A Character for Field Separation must be specified.\n\nThis Character is used to Separate "
    "the Fields within each Record";
constexpr const char* kMsgNoQuote =
    "A Record Delimiter Character must be specified.\n\nThis Character is used to Enclose each "
    "Field within a Record";
// The id of "Ot&her"; "None" is 0.
constexpr int kOther = 256;

void Radio(QButtonGroup* group, QLayout* layout, const char* text, int id) {
    auto* b = new QRadioButton(text);
    group->addButton(b, id);
    layout->addWidget(b);
}

const char* const kFilterCaptions[] = {
    "Templates for Address Book Exports", "Templates for Reminder Exports",
    "Templates for Telephone Log Exports", "Templates for Diary Exports"};

} // namespace

std::function<QString(QWidget*, const QString&, const QString&)> TExportTemplatesDlg::NameAsker =
    [](QWidget* parent, const QString& title, const QString& current) {
        return QInputDialog::getText(parent, title, "Template Name:", QLineEdit::Normal, current);
    };

TExportTemplatesDlg::TExportTemplatesDlg(QWidget* parent, const TExportList& templates,
                                         const TBookData* book, int type, std::string path)
    : QDialog(parent), list_(templates), book_(book), path_(std::move(path)), type_(type) {
    setWindowTitle("Export Templates");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    filter_ = new QComboBox(this);
    for (int t = kExportEntries; t <= kExportDiaryEvents; ++t)
        filter_->addItem(kFilterCaptions[t - 1], t);
    filter_->setCurrentIndex(type - 1);
    current_ = new QComboBox(this);
    top->addWidget(filter_);
    top->addWidget(new QLabel("Template:"));
    top->addWidget(current_, 1);
    layout->addLayout(top);
    auto* tabs = new QTabWidget(this);
    layout->addWidget(tabs, 1);

    auto* mapping = new QWidget;
    auto* m = new QHBoxLayout(mapping);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel("Available &Fields"));
    available_ = new QListWidget(mapping);
    available_->setDragEnabled(true);
    available_->setDragDropMode(QAbstractItemView::DragOnly);
    left->addWidget(available_, 1);
    auto* buttons = new QVBoxLayout;
    QPushButton* b[8];
    const char* captions[] = {"&Add",     "&Delete",    "Add A&ll", "Dele&te All",
                              "Move &Up", "Move Do&wn", "&Label "};
    for (int i = 0; i < 7; ++i) {
        b[i] = new QPushButton(captions[i], mapping);
        buttons->addWidget(b[i]);
    }
    buttons->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("E&xport Fields"));
    columns_ = new TSlotList(mapping);
    columns_->Source = available_;
    columns_->DropsAtEnd = true;
    right->addWidget(columns_, 1);
    m->addLayout(left, 1);
    m->addLayout(buttons);
    m->addLayout(right, 1);
    tabs->addTab(mapping, "Mapping");

    auto* options = new QWidget;
    auto* o = new QVBoxLayout(options);
    auto* sepBox = new QGroupBox("Field Separator", options);
    auto* s = new QHBoxLayout(sepBox);
    separator_ = new QButtonGroup(this);
    Radio(separator_, s, "&Commas", ',');
    Radio(separator_, s, "&Tabs", '\t');
    Radio(separator_, s, "Ot&her", kOther);
    otherSeparator_ = new QLineEdit(sepBox);
    otherSeparator_->setMaxLength(1);
    s->addWidget(otherSeparator_);
    Radio(separator_, s, "None", 0);
    o->addWidget(sepBox);
    auto* quoteBox = new QGroupBox("Field Delimiter", options);
    auto* q = new QHBoxLayout(quoteBox);
    quote_ = new QButtonGroup(this);
    Radio(quote_, q, "Double &Quotes", '"');
    Radio(quote_, q, "Sin&gle Quotes", '\'');
    Radio(quote_, q, "Oth&er", kOther);
    otherQuote_ = new QLineEdit(quoteBox);
    otherQuote_->setMaxLength(1);
    q->addWidget(otherQuote_);
    Radio(quote_, q, "None", 0);
    o->addWidget(quoteBox);
    header_ = new QCheckBox("E&xport Field Headers as First Line of File", options);
    mailMerge_ =
        new QCheckBox("Export File formatted for use in Word Processor Mail Merge", options);
    split_ = new QCheckBox("Split Address into Seperate Export Fields", options);
    o->addWidget(header_);
    o->addWidget(mailMerge_);
    o->addWidget(split_);
    auto* splitRow = new QHBoxLayout;
    splitRow->addWidget(new QLabel("Maximum Number of  Address Export Fields"));
    splitCount_ = new QSpinBox(options);
    splitCount_->setRange(2, 20);
    splitRow->addWidget(splitCount_);
    splitRow->addStretch(1);
    o->addLayout(splitRow);
    o->addStretch(1);
    connect(split_, &QCheckBox::toggled, splitCount_, &QWidget::setEnabled);
    tabs->addTab(options, "Options");

    AddSavedTemplateControls(tabs, layout, "Saved Templates", "Save As");
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] {
        StoreOptions();
        shown_ = -1;
        type_ = filter_->currentData().toInt();
        FillTemplates();
    });
    connect(current_, &QComboBox::currentIndexChanged, this, [this] {
        if (loading_)
            return;
        StoreOptions();
        LoadCurrent();
    });
    connect(columns_, &TSlotList::FieldDropped, this,
            [this](int field, int at) { AddColumn(field, at); });
    const auto change = [this](const std::function<void(std::vector<TExportColumn>&, int)>& f) {
        TExport* t = Current();
        if (!t)
            return;
        auto used = t->UsedColumns();
        const int row = columns_->currentRow();
        f(used, row);
        t->SetColumns(used);
        FillColumns();
    };
    connect(b[0], &QPushButton::clicked, this,
            [this] { AddColumn(available_->currentRow(), columns_->count()); });
    connect(b[1], &QPushButton::clicked, this, [change, this] {
        change([this](std::vector<TExportColumn>& used, int row) {
            if (row >= 0 && row < static_cast<int>(used.size()))
                used.erase(used.begin() + row);
            columns_->setCurrentRow(-1);
        });
    });
    connect(b[2], &QPushButton::clicked, this, [change, this] {
        change([this](std::vector<TExportColumn>& used, int) {
            used.clear();
            for (int f = 0; f < ExportFieldCount(type_); ++f)
                used.push_back({f, false});
        });
    });
    connect(b[3], &QPushButton::clicked, this,
            [change] { change([](std::vector<TExportColumn>& used, int) { used.clear(); }); });
    for (const int step : {-1, 1}) {
        connect(b[step < 0 ? 4 : 5], &QPushButton::clicked, this, [change, step, this] {
            int moved = -1;
            change([&](std::vector<TExportColumn>& used, int row) {
                const int to = row + step;
                if (row >= 0 && to >= 0 && to < static_cast<int>(used.size())) {
                    std::swap(used[static_cast<std::size_t>(row)],
                              used[static_cast<std::size_t>(to)]);
                    moved = to;
                }
            });
            if (moved >= 0)
                columns_->setCurrentRow(moved);
        });
    }
    connect(b[6], &QPushButton::clicked, this, [change, this] {
        const int row = columns_->currentRow();
        change([](std::vector<TExportColumn>& used, int r) {
            if (r >= 0 && r < static_cast<int>(used.size()))
                used[static_cast<std::size_t>(r)].Label = !used[static_cast<std::size_t>(r)].Label;
        });
        columns_->setCurrentRow(row);
    });
    FillTemplates();
    resize(620, 440);
}

void TExportTemplatesDlg::FillTemplates(const QString& select) {
    loading_ = true;
    current_->clear();
    saved_->clear();
    for (int i = 0; i < list_.Count(); ++i) {
        if (list_.At(i)->ExportType != type_)
            continue;
        const QString name = ToQString(list_.At(i)->NameText());
        current_->addItem(name, i);
        saved_->addItem(name);
        if (name == select)
            current_->setCurrentIndex(current_->count() - 1);
    }
    loading_ = false;
    LoadCurrent();
}

void TExportTemplatesDlg::LoadCurrent() {
    shown_ = current_->currentData().isValid() ? current_->currentData().toInt() : -1;
    if (const TExport* chosen = list_.At(shown_))
        work_ = *chosen;
    else
        shown_ = -1;
    available_->clear();
    for (int f = 0; f < ExportFieldCount(type_); ++f)
        available_->addItem(ToQString(ExportFieldCaption(book_, type_, f)));
    FillColumns();
    const TExport* t = Current();
    if (!t)
        return;
    const auto check = [](QButtonGroup* group, QLineEdit* other, int value) {
        QAbstractButton* b = group->button(value);
        (b ? b : group->button(kOther))->setChecked(true);
        other->setText(b ? QString() : QString(QChar(value)));
    };
    check(separator_, otherSeparator_, t->Separator);
    check(quote_, otherQuote_, t->Quote);
    header_->setChecked(t->HeaderLine != 0);
    mailMerge_->setChecked(t->MailMerge != 0);
    split_->setChecked(t->SplitsAddress());
    splitCount_->setValue(std::max<int>(2, t->AddressColumns));
    splitCount_->setEnabled(t->SplitsAddress());
}

void TExportTemplatesDlg::FillColumns() {
    const int keep = columns_->currentRow();
    columns_->clear();
    if (const TExport* t = Current())
        for (const TExportColumn& c : t->UsedColumns())
            columns_->addItem((c.Label ? "[Label] " : "") +
                              ToQString(ExportFieldCaption(book_, type_, c.Field)));
    columns_->setCurrentRow(std::min(keep, columns_->count() - 1));
}

bool TExportTemplatesDlg::AddColumn(int field, int at) {
    TExport* t = Current();
    if (!t || field < 0 || field >= ExportFieldCount(type_))
        return false;
    auto used = t->UsedColumns();
    if (static_cast<int>(used.size()) >= kExportColumns)
        return false;
    at = std::clamp(at, 0, static_cast<int>(used.size()));
    used.insert(used.begin() + at, TExportColumn{field, false});
    t->SetColumns(used);
    FillColumns();
    columns_->setCurrentRow(at);
    return true;
}

void TExportTemplatesDlg::ReadOptions() {
    TExport* t = Current();
    if (!t)
        return;
    const auto value = [](QButtonGroup* group, QLineEdit* other) {
        const int id = group->checkedId();
        const std::string typed = FromQString(other->text());
        return static_cast<std::uint8_t>(id != kOther ? id : typed.empty() ? 0 : typed[0]);
    };
    t->Separator = value(separator_, otherSeparator_);
    t->Quote = value(quote_, otherQuote_);
    t->HeaderLine = header_->isChecked() ? 1 : 0;
    t->MailMerge = mailMerge_->isChecked() ? 1 : 0;
    t->AddressColumns = static_cast<std::int16_t>(split_->isChecked() ? splitCount_->value() : 1);
}

void TExportTemplatesDlg::StoreOptions() {
    ReadOptions();
    if (TExport* shown = list_.At(shown_))
        *shown = work_;
}

bool TExportTemplatesDlg::ValidOptions() {
    if (separator_->checkedId() == kOther && otherSeparator_->text().isEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoSeparator, mkError, mbOk);
        return false;
    }
    if (quote_->checkedId() == kOther && otherQuote_->text().isEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoQuote, mkError, mbOk);
        return false;
    }
    return true;
}

} // namespace tessaly
