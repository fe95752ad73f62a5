#include "app/book/notes_find_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

TNotesFindDlg::TNotesFindDlg(bool replace, QWidget* parent) : QDialog(parent), replace_(replace) {
    setWindowTitle(replace ? "Replace" : "Find");
    setObjectName(replace ? "NotesReplace" : "NotesFind");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* h = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* form = new QFormLayout;
    find_ = new QLineEdit;
    find_->setObjectName("FindWhat");
    form->addRow("Fi&nd what:", find_);
    if (replace) {
        with_ = new QLineEdit;
        with_->setObjectName("ReplaceWith");
        form->addRow("Re&place with:", with_);
    }
    left->addLayout(form);
    wholeWord_ = new QCheckBox("Match &whole word only");
    matchCase_ = new QCheckBox("Match &case");
    left->addWidget(wholeWord_);
    left->addWidget(matchCase_);
    down_ = new QRadioButton("&Down");
    down_->setChecked(true);
    if (!replace) {
        auto* direction = new QGroupBox("Direction");
        auto* d = new QHBoxLayout(direction);
        d->addWidget(new QRadioButton("&Up"));
        d->addWidget(down_);
        left->addWidget(direction);
    }
    h->addLayout(left);
    auto* buttons = new QVBoxLayout;
    const auto button = [&](const QString& caption, auto signal) {
        auto* b = new QPushButton(caption);
        b->setObjectName(QString(caption).remove('&').remove(' '));
        connect(b, &QPushButton::clicked, this, signal);
        buttons->addWidget(b);
        return b;
    };
    button("&Find Next", &TNotesFindDlg::FindNext)->setDefault(true);
    if (replace) {
        button("&Replace", &TNotesFindDlg::Replace);
        button("Replace &All", &TNotesFindDlg::ReplaceAll);
    }
    auto* cancel = new QPushButton("Cancel");
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
    buttons->addWidget(cancel);
    buttons->addStretch();
    h->addLayout(buttons);
}

QString TNotesFindDlg::FindText() const {
    return find_->text();
}
QString TNotesFindDlg::ReplaceText() const {
    return with_ ? with_->text() : QString();
}
bool TNotesFindDlg::MatchCase() const {
    return matchCase_->isChecked();
}
bool TNotesFindDlg::WholeWord() const {
    return wholeWord_->isChecked();
}
bool TNotesFindDlg::Down() const {
    return down_->isChecked();
}

} // namespace tessaly
