#include "app/exchange/import_templates_dlg.h"

#include "app/widgets/message_dialog.h"
#include "core/exchange/exchange_fields.h"
#include "core/exchange/import.h"
#include "platform/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDataStream>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr const char* kMsgNoSeparator =
    "A Character for Field Separation must be specified.\n\nThis Character is used to Separate "
    "the Fields within each Record"; // string 202
constexpr const char* kMsgNoQuote =
    "A Record Delimiter Character must be specified.\n\nThis Character is used to Enclose each "
    "Field within a Record"; // string 203

int SlotCount(int type) {
    return type == kImportDiaryEvents ? kDiaryImportSlots : kEntryImportSlots;
}

QRadioButton* Radio(QButtonGroup* group, QLayout* layout, const char* text, int id) {
    auto* b = new QRadioButton(text);
    group->addButton(b, id);
    layout->addWidget(b);
    return b;
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
    auto* sepBox = new QGroupBox("Field Separator", options);
    auto* s = new QHBoxLayout(sepBox);
    separator_ = new QButtonGroup(this);
    Radio(separator_, s, "&Commas", ',');
    Radio(separator_, s, "&Tabs", '\t');
    Radio(separator_, s, "Ot&her", 0);
    otherSeparator_ = new QLineEdit(sepBox);
    otherSeparator_->setMaxLength(1);
    s->addWidget(otherSeparator_);
    o->addWidget(sepBox);
    auto* quoteBox = new QGroupBox("Field Delimiter", options);
    auto* q = new QHBoxLayout(quoteBox);
    quote_ = new QButtonGroup(this);
    Radio(quote_, q, "Double &Quotes", '"');
    Radio(quote_, q, "Sin&gle &Quotes", '\'');
    Radio(quote_, q, "Oth&er", 0);
    otherQuote_ = new QLineEdit(quoteBox);
    otherQuote_->setMaxLength(1);
    q->addWidget(otherQuote_);
    o->addWidget(quoteBox);
    header_ = new QCheckBox("&First Line of Import File contains Field Descriptions", options);
    o->addWidget(header_);
    descriptions_ =
        new QCheckBox("&Use Descriptions to replace  Address Book Field Labels", options);
    o->addWidget(descriptions_);
    o->addStretch(1);
    tabs_->addTab(options, "&Options");

    AddSavedTemplateControls(tabs_, layout, "&Saved Templates", "Save &As");
    connect(refresh, &QPushButton::clicked, this, &TImportTemplatesDlg::RefreshFields);
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] {
        StoreOptions();
        type_ = filter_->currentData().toInt();
        FillTemplates();
    });
    connect(current_, &QComboBox::currentIndexChanged, this, [this] {
        if (loading_)
            return;
        StoreOptions();
        LoadCurrent();
    });
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

void TImportTemplatesDlg::FillTemplates(const QString& select) {
    loading_ = true;
    current_->clear();
    saved_->clear();
    for (int i = 0; i < list_.Count(); ++i) {
        if (list_.At(i)->ImportType != type_)
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

void TImportTemplatesDlg::LoadCurrent() {
    shown_ = current_->currentData().isValid() ? current_->currentData().toInt() : -1;
    if (const TImport* chosen = list_.At(shown_))
        work_ = *chosen;
    else
        shown_ = -1;
    const TImport* t = Current();
    FillSlots();
    if (!t)
        return;
    const auto check = [](QButtonGroup* group, QLineEdit* other, int value) {
        QAbstractButton* b = group->button(value);
        (b ? b : group->button(0))->setChecked(true);
        other->setText(b ? QString() : QString(QChar(value)));
    };
    check(separator_, otherSeparator_, t->Separator);
    check(quote_, otherQuote_, t->Quote);
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
    const auto value = [](QButtonGroup* group, QLineEdit* other) {
        const int id = group->checkedId();
        const std::string typed = FromQString(other->text());
        return static_cast<std::uint8_t>(id > 0 ? id : typed.empty() ? 0 : typed[0]);
    };
    if (const std::uint8_t sep = value(separator_, otherSeparator_))
        t->Separator = sep;
    if (const std::uint8_t quote = value(quote_, otherQuote_))
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
    if (separator_->checkedId() == 0 && otherSeparator_->text().isEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoSeparator, mkError, mbOk);
        return false;
    }
    if (quote_->checkedId() == 0 && otherQuote_->text().isEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoQuote, mkError, mbOk);
        return false;
    }
    return true;
}

} // namespace tessaly
