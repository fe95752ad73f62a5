#include "app/book/entry_dialogs.h"

#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QRadioButton* Choice(const QString& caption, QVBoxLayout* into) {
    auto* r = new QRadioButton(caption);
    r->setObjectName(QString(caption).remove('&'));
    into->addWidget(r);
    return r;
}

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

TDeleteEntriesDlg::TDeleteEntriesDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Delete Entries");
    setObjectName("DeleteEntries");
    auto* v = new QVBoxLayout(this);
    auto* group = new QGroupBox("Delete ");
    auto* g = new QVBoxLayout(group);
    selected_ = Choice("Selected Entry Only", g);
    listed_ = Choice("All Entries Displayed in the Index List", g);
    tagged_ = Choice("All Tagged Entries", g);
    selected_->setChecked(true);
    v->addWidget(group);
    v->addWidget(OkCancel(this));
}

TDeleteScope TDeleteEntriesDlg::Scope() const {
    if (listed_->isChecked())
        return TDeleteScope::AllListed;
    if (tagged_->isChecked())
        return TDeleteScope::AllTagged;
    return TDeleteScope::SelectedEntry;
}

TTagEntriesDlg::TTagEntriesDlg(bool removing, bool selectedTagged, bool entrySelected,
                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ToQString(TagDialogCaption(removing)));
    setObjectName("TagEntries");
    auto* v = new QVBoxLayout(this);
    auto* group = new QGroupBox(ToQString(TagDialogGroup(removing)));
    auto* g = new QVBoxLayout(group);
    selected_ = Choice("&Selected Entry Only", g);
    listed_ = Choice("All Entries &Displayed in the Index List", g);
    all_ = Choice("&All Entries in the Address Book", g);
    const bool offerSelected = entrySelected && SelectedTagChoiceEnabled(removing, selectedTagged);
    selected_->setEnabled(offerSelected);
    (offerSelected ? selected_ : listed_)->setChecked(true);
    v->addWidget(group);
    v->addWidget(OkCancel(this));
}

TTagScope TTagEntriesDlg::Scope() const {
    if (selected_->isChecked())
        return TTagScope::SelectedEntry;
    if (all_->isChecked())
        return TTagScope::AllInBook;
    return TTagScope::AllListed;
}

TFindEntryDlg::TFindEntryDlg(const QString& text, bool matchCase, bool wholeWords, bool down,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Find Entry with Text");
    setObjectName("FindEntry");
    auto* h = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* row = new QHBoxLayout;
    text_ = new QLineEdit(text);
    text_->setObjectName("FindWhat");
    auto* label = new QLabel("Fi&nd what:");
    label->setBuddy(text_);
    row->addWidget(label);
    row->addWidget(text_);
    left->addLayout(row);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    matchCase_ = new QCheckBox("Match &case");
    matchCase_->setChecked(matchCase);
    wholeWords_ = new QCheckBox("Match &whole word only");
    wholeWords_->setChecked(wholeWords);
    checks->addWidget(wholeWords_);
    checks->addWidget(matchCase_);
    options->addLayout(checks);
    auto* direction = new QGroupBox("Direction");
    auto* d = new QHBoxLayout(direction);
    up_ = new QRadioButton("&Up");
    down_ = new QRadioButton("&Down");
    (down ? down_ : up_)->setChecked(true);
    d->addWidget(up_);
    d->addWidget(down_);
    options->addWidget(direction);
    left->addLayout(options);
    h->addLayout(left);
    auto* buttons = new QVBoxLayout;
    auto* find = new QPushButton("&Find Next");
    find->setObjectName("FindNext");
    find->setDefault(true);
    auto* cancel = new QPushButton("Cancel");
    connect(find, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    const auto enable = [this, find] { find->setEnabled(!text_->text().isEmpty()); };
    connect(text_, &QLineEdit::textChanged, this, enable);
    enable();
    buttons->addWidget(find);
    buttons->addWidget(cancel);
    buttons->addStretch();
    h->addLayout(buttons);
    text_->selectAll();
    text_->setFocus();
}

QString TFindEntryDlg::Text() const {
    return text_->text();
}
bool TFindEntryDlg::MatchCase() const {
    return matchCase_->isChecked();
}
bool TFindEntryDlg::WholeWords() const {
    return wholeWords_->isChecked();
}
bool TFindEntryDlg::Down() const {
    return down_->isChecked();
}

TBookInfoDlg::TBookInfoDlg(const TBookInfo& info, QWidget* parent) : QDialog(parent) {
    setWindowTitle("Address Book Information");
    setObjectName("BookInfo");
    auto* v = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    const auto value = [](const QString& text, const char* name) {
        auto* l = new QLabel(text);
        l->setObjectName(name);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    form->addRow("Address Book Name:", value(info.Name, "InfoName"));
    form->addRow("", value(info.Path, "InfoPath"));
    form->addRow("Entries", value(QString::number(info.Entries), "InfoEntries"));
    form->addRow("Book Created:", value(info.Created, "InfoCreated"));
    form->addRow("Last Updated:", value(info.Updated, "InfoUpdated"));
    form->addRow("Access:", value(info.Locked ? "Locked" : "Update", "InfoAccess"));
    v->addLayout(form);
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    v->addWidget(ok);
}

TEntryTemplatesDlg::TEntryTemplatesDlg(const TTemplateList& templates,
                                       const TAddressList& addresses, QWidget* parent)
    : QDialog(parent), edit_(templates, addresses) {
    setWindowTitle("Select Address Templates for Entry");
    setObjectName("EntryTemplates");
    auto* v = new QVBoxLayout(this);
    auto* h = new QHBoxLayout;
    list_ = new QListWidget;
    list_->setObjectName("Templates");
    h->addWidget(list_, 1);
    auto* buttons = new QVBoxLayout;
    auto* up = new QPushButton("Move &Up");
    up->setObjectName("MoveUp");
    auto* down = new QPushButton("Move &Down");
    down->setObjectName("MoveDown");
    buttons->addWidget(up);
    buttons->addWidget(down);
    buttons->addStretch();
    h->addLayout(buttons);
    v->addLayout(h);
    v->addWidget(OkCancel(this));
    connect(up, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (edit_.MoveUp(row))
            Fill(row - 1);
    });
    connect(down, &QPushButton::clicked, this, [this] {
        const int row = list_->currentRow();
        if (edit_.MoveDown(row))
            Fill(row + 1);
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_)
            return;
        const int row = list_->row(item);
        const bool ticked = item->checkState() == Qt::Checked;
        if (!ticked) {
            if (const auto question = edit_.DeselectQuestion(row)) {
                if (ShowMessage(question->Title, ToQString(question->Text), question->Kind,
                                question->Buttons) != mrYes) {
                    Fill(row); // the tick goes back
                    return;
                }
            }
        }
        edit_.Select(row, ticked);
    });
    Fill(0);
}

void TEntryTemplatesDlg::Fill(int current) {
    filling_ = true;
    list_->clear();
    for (const auto& row : edit_.Rows()) {
        auto* item = new QListWidgetItem(ToQString(row.Name));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(row.Selected ? Qt::Checked : Qt::Unchecked);
        list_->addItem(item);
    }
    list_->setCurrentRow(current);
    filling_ = false;
}

void TEntryTemplatesDlg::accept() {
    if (const auto refusal = edit_.Check()) {
        ShowMessage(refusal->Title, ToQString(refusal->Text), refusal->Kind, refusal->Buttons);
        return; // the dialog stays open
    }
    QDialog::accept();
}

} // namespace tessaly
