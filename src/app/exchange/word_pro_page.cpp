#include "app/exchange/word_pro_page.h"

#include "app/exchange/word_pro_dlg.h"
#include "app/widgets/message_dialog.h"
#include "core/exchange/word_pro_edit.h"
#include "platform/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

TWordProPage::TWordProPage(TWordProList& list, QWidget* parent)
    : QWidget(parent), list_(list), saved_(list) {
    list_.Pack();
    names_ = new QListWidget;
    names_->setObjectName("WordProcessors");
    selected_ = new QLabel;
    selected_->setObjectName("SelectedWordProcessor");
    add_ = new QPushButton("Add");
    edit_ = new QPushButton("Edit");
    delete_ = new QPushButton("Delete");
    select_ = new QPushButton("Select");
    connect(add_, &QPushButton::clicked, this, &TWordProPage::AddItem);
    connect(edit_, &QPushButton::clicked, this, &TWordProPage::EditItem);
    connect(delete_, &QPushButton::clicked, this, &TWordProPage::DeleteItem);
    connect(select_, &QPushButton::clicked, this, &TWordProPage::SelectItem);
    connect(names_, &QListWidget::itemDoubleClicked, this, &TWordProPage::SelectItem);
    names_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(names_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction("Add", this, &TWordProPage::AddItem);
        menu.addAction("Edit", this, &TWordProPage::EditItem)
            ->setEnabled(names_->currentRow() >= 0);
        menu.addAction("Delete", this, &TWordProPage::DeleteItem)
            ->setEnabled(names_->currentRow() >= 0);
        menu.addAction("Select", this, &TWordProPage::SelectItem)
            ->setEnabled(names_->currentRow() >= 0);
        menu.exec(names_->viewport()->mapToGlobal(at));
    });

    auto* caption = new QLabel("Selected Word Processor:");
    auto* selectedRow = new QHBoxLayout;
    selectedRow->addWidget(caption);
    selectedRow->addWidget(selected_, 1);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add_, edit_, delete_, select_})
        side->addWidget(b);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(names_, 1);
    middle->addLayout(side);
    auto* v = new QVBoxLayout(this);
    v->addLayout(middle, 1);
    v->addLayout(selectedRow);
    Fill(list_.SelectedWordProcessor());
}

void TWordProPage::Fill(const std::string& name) {
    FillRow(std::max(0, list_.IndexOfName(name)));
}

void TWordProPage::FillRow(int row) {
    names_->clear();
    for (int i = 0; i < list_.Count(); ++i)
        names_->addItem(ToQString(list_.NameAt(i)));
    if (names_->count() > 0)
        names_->setCurrentRow(std::clamp(row, 0, names_->count() - 1));
    selected_->setText(ToQString(list_.SelectedWordProcessor()));
    const bool any = names_->count() > 0;
    edit_->setEnabled(any);
    delete_->setEnabled(any);
    select_->setEnabled(any);
}

void TWordProPage::AddItem() {
    TWordProDlg dlg(list_, -1, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    list_.AddOrChangeWordProcessor(dlg.Name(), dlg.Title());
    Fill(dlg.Name());
}

void TWordProPage::EditItem() {
    const int row = names_->currentRow();
    if (!list_.InRange(row))
        return;
    TWordProDlg dlg(list_, row, this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    list_.AddOrChangeWordProcessor(dlg.Name(), dlg.Title(), row);
    Fill(dlg.Name());
}

void TWordProPage::DeleteItem() {
    const int row = names_->currentRow();
    if (!list_.InRange(row))
        return;
    if (ShowMessage(DeleteWordProQuestion(list_.NameAt(row))) == mrNo)
        return;
    list_.Delete(row);
    FillRow(row);
}

void TWordProPage::SelectItem() {
    const int row = names_->currentRow();
    if (!list_.InRange(row))
        return;
    list_.SelectWordProcessor(list_.NameAt(row));
    selected_->setText(ToQString(list_.SelectedWordProcessor()));
}

} // namespace tessaly
