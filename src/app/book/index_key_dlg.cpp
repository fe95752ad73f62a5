#include "app/book/index_key_dlg.h"

#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QPushButton* Button(const QString& caption, QWidget* parent, const char* name) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// Keys taking part in sorting are marked.
constexpr const char* kSortMarker = "\u2195 ";

} // namespace

TIndexKeyDlg::TIndexKeyDlg(TRecord& entry, const TBookData& book, QWidget* parent)
    : QDialog(parent), keys_(entry, book) {
    setWindowTitle("Select Index Keys for Entry");
    auto* layout = new QVBoxLayout(this);
    useDefault_ =
        new QRadioButton("Use the Address &Book's Default Index Keys for this Entry", this);
    override_ = new QRadioButton("Ove&rride the Default Index Keys for this Entry", this);
    useDefault_->setObjectName("UseDefaultKeys");
    override_->setObjectName("OverrideKeys");
    (keys_.Override() ? override_ : useDefault_)->setChecked(true);
    layout->addWidget(useDefault_);
    layout->addWidget(override_);

    auto* grid = new QGridLayout;
    auto* availableLabel = new QLabel("Available Fi&elds", this);
    auto* keysLabel = new QLabel("Index &Keys", this);
    available_ = new QListWidget(this);
    available_->setObjectName("AvailableFields");
    keyList_ = new QListWidget(this);
    keyList_->setObjectName("IndexKeys");
    availableLabel->setBuddy(available_);
    keysLabel->setBuddy(keyList_);
    auto* buttons = new QVBoxLayout;
    add_ = Button("&Add", this, "AddKey");
    delete_ = Button("&Delete", this, "DeleteKey");
    up_ = Button("M&ove", this, "MoveUp");
    down_ = Button("Mo&ve", this, "MoveDown");
    up_->setToolTip("Move the key up");
    down_->setToolTip("Move the key down");
    sortBy_ = Button("&Sort By", this, "SortBy");
    for (QPushButton* b : {add_, delete_, up_, down_, sortBy_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(keysLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(keyList_, 1, 2);
    layout->addLayout(grid, 1);

    auto* preview = new QGroupBox("Text to Display in Index List", this);
    auto* pv = new QVBoxLayout(preview);
    display_ = new QLabel(preview);
    display_->setObjectName("DisplayPreview");
    sorted_ = new QLabel(preview);
    sorted_->setObjectName("SortPreview");
    pv->addWidget(display_);
    pv->addWidget(sorted_);
    layout->addWidget(preview);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &TIndexKeyDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &TIndexKeyDlg::reject);
    layout->addWidget(box);

    connect(override_, &QRadioButton::toggled, this, [this](bool on) {
        keys_.SetOverride(on);
        Fill(keyList_->currentRow());
    });
    connect(add_, &QPushButton::clicked, this, &TIndexKeyDlg::AddField);
    connect(available_, &QListWidget::itemDoubleClicked, this, &TIndexKeyDlg::AddField);
    connect(delete_, &QPushButton::clicked, this, &TIndexKeyDlg::DeleteKey);
    connect(up_, &QPushButton::clicked, this, [this] { MoveKey(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { MoveKey(+1); });
    connect(sortBy_, &QPushButton::clicked, this, &TIndexKeyDlg::ToggleSort);
    connect(keyList_, &QListWidget::itemDoubleClicked, this, &TIndexKeyDlg::ToggleSort);
    Fill(0);
    resize(520, 420);
}

void TIndexKeyDlg::Fill(int selectKey) {
    available_->clear();
    for (const TKeyField& f : keys_.Available()) {
        auto* item = new QListWidgetItem(ToQString(f.Text), available_);
        item->setData(Qt::UserRole, f.Code);
    }
    if (available_->count() > 0)
        available_->setCurrentRow(0);
    keyList_->clear();
    const TIndexList& keys = keys_.Keys();
    for (int i = 0; i < keys.Count(); ++i)
        keyList_->addItem(QString(keys.KeySortBy(i) ? kSortMarker : "   ") +
                          ToQString(keys_.KeyText(i)));
    if (keyList_->count() > 0)
        keyList_->setCurrentRow(std::clamp(selectKey, 0, keyList_->count() - 1));
    display_->setText(ToQString(keys_.DisplayPreview()));
    sorted_->setText("Sorted on: " + ToQString(keys_.SortPreview()).replace("\r\n", " "));
    EnableControls();
}

void TIndexKeyDlg::EnableControls() {
    available_->setEnabled(keys_.ListsEnabled());
    keyList_->setEnabled(keys_.ListsEnabled());
    add_->setEnabled(keys_.CanAdd());
    for (QPushButton* b : {delete_, up_, down_, sortBy_})
        b->setEnabled(keys_.CanChangeKeys());
}

void TIndexKeyDlg::AddField() {
    QListWidgetItem* field = available_->currentItem();
    if (!field)
        return;
    const int at = keys_.Add(field->data(Qt::UserRole).toInt(), keyList_->currentRow());
    if (at >= 0)
        Fill(at);
}

void TIndexKeyDlg::DeleteKey() {
    const int next = keys_.Delete(keyList_->currentRow());
    if (next >= -1)
        Fill(next);
}

void TIndexKeyDlg::MoveKey(int step) {
    const int to = keys_.Move(keyList_->currentRow(), step);
    if (to >= 0)
        Fill(to);
}

void TIndexKeyDlg::ToggleSort() {
    const int row = keyList_->currentRow();
    keys_.ToggleSortBy(row);
    Fill(row);
}

void TIndexKeyDlg::reject() {
    keys_.Cancel();
    QDialog::reject();
}

} // namespace tessaly
