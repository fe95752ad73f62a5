#include "app/designer/data_object_property_dlg.h"

#include "platform/qt_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

TDataObjectPropertyDlg::TDataObjectPropertyDlg(QWidget* parent, const TLayoutBox& box,
                                               const TBoxEditContext& context)
    : TBoxPropertyDlg(parent, box, context), edit_(box.Items) {
    auto* grid = new QGridLayout;
    Content()->addLayout(grid, 1);
    auto* itemsCaption = new QLabel("Data &Items:");
    items_ = new QListWidget;
    items_->setObjectName("Items");
    itemsCaption->setBuddy(items_);
    auto* fieldsCaption = new QLabel("Available &Fields:");
    fields_ = new QListWidget;
    fields_->setObjectName("Fields");
    fieldsCaption->setBuddy(fields_);
    for (const TLayoutRecord& f : context.Fields)
        fields_->addItem(ToQString(f.Caption));
    if (fields_->count())
        fields_->setCurrentRow(0);

    auto* buttons = new QVBoxLayout;
    add_ = new QPushButton("&Add");
    remove_ = new QPushButton("&Remove");
    up_ = new QPushButton("Move &Up");
    down_ = new QPushButton("Move &Down");
    for (QPushButton* b : {add_, remove_, up_, down_})
        buttons->addWidget(b);
    buttons->addStretch();

    grid->addWidget(itemsCaption, 0, 0);
    grid->addWidget(fieldsCaption, 0, 2);
    grid->addWidget(items_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(fields_, 1, 2);

    auto* merge = new QGroupBox("Merge");
    auto* mergeRow = new QHBoxLayout(merge);
    single_ = new QRadioButton("Single &Line Merge");
    multi_ = new QRadioButton("&Multi-Line Merge");
    mergeRow->addWidget(single_);
    mergeRow->addWidget(multi_);
    (edit_.SingleLine() ? single_ : multi_)->setChecked(true);
    Content()->addWidget(merge);

    connect(add_, &QPushButton::clicked, this, &TDataObjectPropertyDlg::Add);
    connect(remove_, &QPushButton::clicked, this, &TDataObjectPropertyDlg::Remove);
    connect(up_, &QPushButton::clicked, this, [this] { Move(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { Move(1); });
    connect(fields_, &QListWidget::itemDoubleClicked, this, &TDataObjectPropertyDlg::Add);
    connect(items_, &QListWidget::currentRowChanged, this, &TDataObjectPropertyDlg::Enable);
    connect(fields_, &QListWidget::currentRowChanged, this, &TDataObjectPropertyDlg::Enable);
    connect(single_, &QRadioButton::toggled, this, [this](bool on) { edit_.SetSingleLine(on); });
    FillItems(0);
}

void TDataObjectPropertyDlg::FillItems(int current) {
    items_->clear();
    for (const auto& f : edit_.Items())
        items_->addItem(ToQString(f->Caption.str()));
    items_->setCurrentRow(std::min(current, items_->count() - 1));
    Enable();
}

void TDataObjectPropertyDlg::Enable() {
    const int item = items_->currentRow();
    const int field = fields_->currentRow();
    const auto& fields = Context().Fields;
    add_->setEnabled(field >= 0 && field < static_cast<int>(fields.size()) &&
                     edit_.CanAdd(fields[static_cast<std::size_t>(field)]));
    remove_->setEnabled(edit_.CanRemove(item));
    up_->setEnabled(edit_.CanMove(item, -1));
    down_->setEnabled(edit_.CanMove(item, 1));
}

void TDataObjectPropertyDlg::Add() {
    const int field = fields_->currentRow();
    const auto& fields = Context().Fields;
    if (field < 0 || field >= static_cast<int>(fields.size()) ||
        !edit_.Add(fields[static_cast<std::size_t>(field)]))
        return;
    FillItems(edit_.Count() - 1);
}

void TDataObjectPropertyDlg::Remove() {
    const int item = items_->currentRow();
    if (edit_.Remove(item))
        FillItems(item);
}

void TDataObjectPropertyDlg::Move(int delta) {
    const int to = edit_.Move(items_->currentRow(), delta);
    if (to >= 0)
        FillItems(to);
}

void TDataObjectPropertyDlg::ApplyOwn(TLayoutBox& box) const {
    if (!(edit_.Items() == box.Items))
        box.Items = edit_.Items();
}

} // namespace tessaly
