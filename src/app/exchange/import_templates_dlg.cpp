#include "app/exchange/import_templates_dlg.h"

#include "app/exchange/delimiter_choice.h"
#include "app/widgets/message_dialog.h"
#include "core/exchange/exchange_fields.h"
#include "core/exchange/import.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

int SlotCount(int type) {
    return type == kImportDiaryEvents ? kDiaryImportSlots : kEntryImportSlots;
}

} // namespace

std::function<QString(QWidget*, const QString&, const QString&)> TImportTemplatesDlg::NameAsker =
    [](QWidget* parent, const QString& title, const QString& current) {
        return QInputDialog::getText(parent, title, "Template Name:", QLineEdit::Normal, current);
    };

namespace {

// The row of the field list a drag carries: the list's own item data, whose row must
// still name the same field there.
int DraggedRow(const QMimeData* mime, const QListWidget* source) {
    const QString format = "application/x-qabstractitemmodeldatalist";
    if (!source || !mime || !mime->hasFormat(format))
        return -1;
    QByteArray bytes = mime->data(format);
    QDataStream in(&bytes, QIODevice::ReadOnly);
    int row = -1;
    int column = -1;
    QMap<int, QVariant> roles;
    in >> row >> column >> roles;
    if (in.status() != QDataStream::Ok || !source->item(row) ||
        roles.value(Qt::DisplayRole).toString() != source->item(row)->text())
        return -1;
    return row;
}

} // namespace

void TSlotList::dragEnterEvent(QDragEnterEvent* event) {
    if (DraggedRow(event->mimeData(), Source) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSlotList::dragMoveEvent(QDragMoveEvent* event) {
    const bool onSlot = DropsAtEnd || itemAt(event->position().toPoint()) != nullptr;
    if (onSlot && DraggedRow(event->mimeData(), Source) >= 0)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TSlotList::dropEvent(QDropEvent* event) {
    QListWidgetItem* target = itemAt(event->position().toPoint());
    const int field = DraggedRow(event->mimeData(), Source);
    if ((!target && !DropsAtEnd) || field < 0) {
        event->ignore();
        return;
    }
    const int at = target ? row(target) : count();
    emit FieldDropped(field, at);
    if (item(at))
        setCurrentRow(at);
    event->acceptProposedAction();
}

TImportTemplatesDlg::TImportTemplatesDlg(QWidget* parent, const TImportList& templates,
                                         const TBookData* book, int type, std::string path)
    : QDialog(parent), list_(templates), book_(book), path_(std::move(path)), type_(type) {
    setWindowTitle("Import Templates");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    filter_ = new QComboBox(this);
    filter_->addItem("Templates for Address Book Imports", kImportEntries);
    filter_->addItem("Templates for Diary Event Imports", kImportDiaryEvents);
    filter_->setCurrentIndex(type == kImportDiaryEvents ? 1 : 0);
    current_ = new QComboBox(this);
    top->addWidget(filter_);
    top->addWidget(new QLabel("Template:"));
    top->addWidget(current_, 1);
    layout->addLayout(top);

    tabs_ = new QTabWidget(this);
    layout->addWidget(tabs_, 1);

    auto* mapping = new QWidget;
    auto* m = new QVBoxLayout(mapping);
    auto* sampleRow = new QHBoxLayout;
    sampleRow->addWidget(new QLabel("Sample File:"));
    sample_ = new QLineEdit(mapping);
    sampleRow->addWidget(sample_, 1);
    auto* refresh = new QPushButton("&Refresh", mapping);
    sampleRow->addWidget(refresh);
    m->addLayout(sampleRow);
    auto* lists = new QHBoxLayout;
    fields_ = new QListWidget(mapping);
    fields_->setDragEnabled(true);
    fields_->setDragDropMode(QAbstractItemView::DragOnly);
    slots_ = new TSlotList(mapping);
    slots_->Source = fields_;
    auto* buttons = new QVBoxLayout;
    auto* add = new QPushButton("&Add", mapping);
    auto* remove = new QPushButton("&Delete", mapping);
    auto* up = new QPushButton("Move &Up", mapping);
    auto* down = new QPushButton("Move Do&wn", mapping);
    for (QPushButton* b : {add, remove, up, down})
        buttons->addWidget(b);
    buttons->addStretch(1);
    lists->addWidget(fields_, 1);
    lists->addLayout(buttons);
    lists->addWidget(slots_, 1);
    m->addLayout(lists, 1);
    tabs_->addTab(mapping, "&Mapping");

    auto* options = new QWidget;
    auto* o = new QVBoxLayout(options);
    o->addWidget(separator_.Build(options, "Field Separator", {{"&Commas", ','}, {"&Tabs", '\t'}},
                                  "Ot&her", 0));
    o->addWidget(quote_.Build(options, "Field Delimiter",
                              {{"Double &Quotes", '"'}, {"Sin&gle &Quotes", '\''}}, "Oth&er", 0));
    header_ = new QCheckBox("&First Line of Import File contains Field Descriptions", options);
    o->addWidget(header_);
    descriptions_ =
        new QCheckBox("&Use Descriptions to replace  Address Book Field Labels", options);
    o->addWidget(descriptions_);
    o->addStretch(1);
    tabs_->addTab(options, "&Options");

    AddSavedTemplateControls(tabs_, layout, "&Saved Templates", "Save &As");
    connect(refresh, &QPushButton::clicked, this, &TImportTemplatesDlg::RefreshFields);
    FollowChoosers();
    connect(slots_, &TSlotList::FieldDropped, this, &TImportTemplatesDlg::MapField);
    connect(add, &QPushButton::clicked, this, [this] {
        if (fields_->currentRow() >= 0 && slots_->currentRow() >= 0)
            MapField(fields_->currentRow(), slots_->currentRow());
    });
    const auto changeSlot = [this](const std::function<void(TLinkedFieldList&)>& change) {
        TImport* t = Current();
        const int slot = slots_->currentRow();
        if (!t || slot < 0)
            return;
        change(t->Mappings[static_cast<std::size_t>(slot)]);
        FillSlots();
        slots_->setCurrentRow(slot);
    };
    connect(remove, &QPushButton::clicked, this,
            [changeSlot] { changeSlot([](TLinkedFieldList& l) { l.Delete(l.Count() - 1); }); });
    connect(up, &QPushButton::clicked, this,
            [changeSlot] { changeSlot([](TLinkedFieldList& l) { l.Move(l.Count() - 1, 0); }); });
    connect(down, &QPushButton::clicked, this,
            [changeSlot] { changeSlot([](TLinkedFieldList& l) { l.Move(0, l.Count() - 1); }); });
    FillTemplates();
    resize(620, 440);
}

TImport* TImportTemplatesDlg::Current() {
    return shown_ >= 0 ? &work_ : nullptr;
}

void TImportTemplatesDlg::LoadCurrent() {
    TakeChosen();
    const TImport* t = Current();
    FillSlots();
    if (!t)
        return;
    separator_.Show(t->Separator);
    quote_.Show(t->Quote);
    header_->setChecked(t->HeaderLine != 0);
    descriptions_->setChecked(t->UseDescriptions != 0);
    descriptions_->setEnabled(type_ == kImportEntries);
    RefreshFields();
}

void TImportTemplatesDlg::StoreOptions() {
    ReadOptions();
    if (TImport* shown = list_.At(shown_))
        *shown = work_;
}

void TImportTemplatesDlg::ReadOptions() {
    TImport* t = Current();
    if (!t)
        return;
    // An import always has a separator and a quote: an empty "Other" keeps the last.
    if (const std::uint8_t sep = separator_.Chosen())
        t->Separator = sep;
    if (const std::uint8_t quote = quote_.Chosen())
        t->Quote = quote;
    t->HeaderLine = header_->isChecked() ? 1 : 0;
    t->UseDescriptions = descriptions_->isChecked() ? 1 : 0;
}

void TImportTemplatesDlg::FillSlots() {
    const int keep = slots_->currentRow();
    slots_->clear();
    const TImport* t = Current();
    for (int slot = 0; slot < SlotCount(type_); ++slot) {
        QString text = ToQString(ImportSlotCaption(book_, type_ == kImportDiaryEvents, slot));
        if (t) {
            QStringList columns;
            for (const auto& f : t->Mappings[static_cast<std::size_t>(slot)])
                columns << QString("%1").arg(f->FieldNo, 2, 10, QChar('0'));
            if (!columns.isEmpty())
                text += "  <  " + columns.join(", ");
        }
        slots_->addItem(text);
    }
    slots_->setCurrentRow(std::min(keep, slots_->count() - 1));
}

void TImportTemplatesDlg::RefreshFields() {
    fields_->clear();
    const TImport* t = Current();
    TDecodedText text;
    if (!t || sample_->text().isEmpty() || !ReadImportText(FromQString(sample_->text()), text))
        return;
    for (const std::string& f : ImportFieldList(text.Text, *t))
        fields_->addItem(ToQString(f));
}

void TImportTemplatesDlg::SetSampleFile(const QString& path) {
    sample_->setText(path);
    RefreshFields();
}

void TImportTemplatesDlg::MapField(int fieldRow, int slot) {
    TImport* t = Current();
    if (!t || fieldRow < 0 || slot < 0 || slot >= SlotCount(type_))
        return;
    t->Mappings[static_cast<std::size_t>(slot)].AddField(fieldRow);
    FillSlots();
    slots_->setCurrentRow(slot);
}

bool TImportTemplatesDlg::ValidOptions() {
    return DelimitersGiven(separator_, quote_);
}

} // namespace tessaly
