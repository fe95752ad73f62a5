#include "app/exchange/export_templates_dlg.h"

#include "app/exchange/delimiter_choice.h"
#include "app/exchange/import_templates_dlg.h"
#include "app/widgets/message_dialog.h"
#include "core/exchange/exchange_fields.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// The id of "Ot&her"; "None" is 0.
constexpr int kOther = 256;

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
    o->addWidget(separator_.Build(options, "Field Separator", {{"&Commas", ','}, {"&Tabs", '\t'}},
                                  "Ot&her", kOther, {{"None", 0}}));
    o->addWidget(quote_.Build(options, "Field Delimiter",
                              {{"Double &Quotes", '"'}, {"Sin&gle Quotes", '\''}}, "Oth&er", kOther,
                              {{"None", 0}}));
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
    FollowChoosers();
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

void TExportTemplatesDlg::LoadCurrent() {
    TakeChosen();
    available_->clear();
    for (int f = 0; f < ExportFieldCount(type_); ++f)
        available_->addItem(ToQString(ExportFieldCaption(book_, type_, f)));
    FillColumns();
    const TExport* t = Current();
    if (!t)
        return;
    separator_.Show(t->Separator);
    quote_.Show(t->Quote);
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
    t->Separator = separator_.Chosen();
    t->Quote = quote_.Chosen();
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
    return DelimitersGiven(separator_, quote_);
}

} // namespace tessaly
