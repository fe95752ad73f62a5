#include "app/book/index_key_dlg.h"

#include "app/book_options/key_lists.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

TIndexKeyDlg::TIndexKeyDlg(TRecord& entry, const TBookData& book, std::function<bool()> bookKeys,
                           QWidget* parent)
    : QDialog(parent), keys_(entry, book), bookKeys_(std::move(bookKeys)) {
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

    lists_ = new TKeyLists(
        keys_.Lists(), "Available Fi&elds", "Index &Keys",
        {"AvailableFields", "IndexKeys", "AddKey", "DeleteKey", "MoveUp", "MoveDown", "SortBy"},
        this);
    layout->addWidget(lists_, 1);

    auto* preview = new QGroupBox("Text to Display in Index List", this);
    auto* pv = new QVBoxLayout(preview);
    display_ = new QLabel(preview);
    display_->setObjectName("DisplayPreview");
    sorted_ = new QLabel(preview);
    sorted_->setObjectName("SortPreview");
    pv->addWidget(display_);
    pv->addWidget(sorted_);
    layout->addWidget(preview);

    auto* bottom = new QHBoxLayout;
    auto* bookKeysButton = new QPushButton("&Index Keys", this);
    bookKeysButton->setObjectName("BookIndexKeys");
    bookKeysButton->setAutoDefault(false);
    bookKeysButton->setToolTip("Define the Address Book's Default Index Keys");
    bookKeysButton->setEnabled(static_cast<bool>(bookKeys_));
    bottom->addWidget(bookKeysButton);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &TIndexKeyDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &TIndexKeyDlg::reject);
    bottom->addWidget(box, 1);
    layout->addLayout(bottom);

    connect(override_, &QRadioButton::toggled, this, [this](bool on) {
        keys_.SetOverride(on);
        Refresh(lists_->KeyList()->currentRow());
    });
    connect(lists_, &TKeyLists::Changed, this,
            [this] { Refresh(lists_->KeyList()->currentRow()); });
    connect(bookKeysButton, &QPushButton::clicked, this, &TIndexKeyDlg::OpenBookKeys);
    Refresh(0);
    resize(560, 440);
}

void TIndexKeyDlg::Refresh(int selectKey) {
    lists_->Fill(selectKey);
    display_->setText(ToQString(keys_.DisplayPreview()));
    sorted_->setText("Sorted on: " + ToQString(keys_.SortPreview()).replace("\r\n", " "));
}

void TIndexKeyDlg::OpenBookKeys() {
    if (!bookKeys_ || !bookKeys_())
        return;
    // The book's keys and captions may have changed: an entry that follows them shows
    // them at once.
    keys_.BookChanged();
    Refresh(lists_->KeyList()->currentRow());
}

void TIndexKeyDlg::reject() {
    keys_.Cancel();
    QDialog::reject();
}

} // namespace tessaly
