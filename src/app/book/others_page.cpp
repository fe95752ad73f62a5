#include "app/book/others_page.h"

#include "app/book/field_labels.h"
#include "core/access/dates.h"
#include "core/common/date_format.h"
#include "core/organise/entry_text.h"
#include "core/settings/settings.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tessaly {

TOthersPage::TOthersPage(QWidget* parent) : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea;
    scroll->setObjectName("OthersScrollBox");
    scroll->setWidgetResizable(true);
    scroll->setFocusPolicy(Qt::NoFocus);
    // The page is as wide as the window; only its height scrolls.
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    grid->setContentsMargins(3, 4, 3, 4);
    grid->setHorizontalSpacing(8);
    int row = 0;
    for (int i = 0; i < 6; ++i) {
        labels_[i] = new QLabel;
        fields_[i] = new QLineEdit;
        fields_[i]->setObjectName(QString("F_Others%1").arg(i + 1));
        grid->addWidget(labels_[i], row, 0);
        grid->addWidget(fields_[i], row++, 1);
    }
    grid->setRowMinimumHeight(row++, 8);
    // The dates have a grid of their own: their captions do not widen the fields'
    // label column, and a long date wraps rather than push the page wider.
    auto* dates = new QGridLayout;
    dates->setHorizontalSpacing(8);
    dates->setColumnStretch(1, 1);
    grid->addLayout(dates, row++, 0, 1, 2);
    const char* captions[] = {
        "Entry Created on:", "Entry Last Updated on:", "Entry Last Telephoned on:"};
    const char* names[] = {"CreatedDate", "UpdatedDate", "CalledDate"};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(captions[i]);
        dates_[i] = new QLabel;
        dates_[i]->setObjectName(names[i]);
        // A value, not a label: "Bold Labels" leaves it alone.
        dates_[i]->setProperty("dateValue", true);
        // The three dates are always black, whatever the labels' colours.
        for (QLabel* x : {l, dates_[i]}) {
            QPalette p = x->palette();
            p.setColor(QPalette::WindowText, Qt::black);
            x->setPalette(p);
        }
        dates_[i]->setWordWrap(true);
        dates->addWidget(l, i, 0);
        dates->addWidget(dates_[i], i, 1);
    }
    today_ = new QPushButton("Set to Today's Date && Time");
    today_->setObjectName("SetToToday");
    dates->addWidget(today_, 3, 0, 1, 2, Qt::AlignRight);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    scroll->setWidget(inner);
    outer->addWidget(scroll);
    for (QLineEdit* f : fields_)
        connect(f, &QLineEdit::textEdited, this, [this, f] { emit Typed(f); });
    SetReadOnly(true);
}

void TOthersPage::Fill(const TRecord& entry, const TBookData& book, const TSettings& settings) {
    const TTemplate* names = book.Templates.At(0);
    for (int i = 0; i < 6; ++i) {
        const int field = 3 + i;
        TFieldLook look;
        look.Caption = names ? ToQString(names->Caption(field)) : QString();
        look.FieldVisible = names ? names->ShownAt(field) != 0 : true;
        look.Highlight =
            settings.HighlightIndex && EffectiveKeys(entry, book.IndexKeys).HasCode(field);
        look.Bold = settings.BoldLabels;
        ApplyFieldLook(labels_[i], fields_[i], look);
        fields_[i]->setText(ToQString(entry.NameField(field)));
        fields_[i]->setCursorPosition(0); // a long value shows its start
        fields_[i]->setModified(false);
    }
    const TFormatSettings& fs = settings.FormatSettings;
    dates_[0]->setText(ToQString(EntryCreatedText(entry, fs)));
    dates_[1]->setText(ToQString(EntryUpdatedText(entry, fs)));
    dates_[2]->setText(ToQString(EntryLastCalledText(entry, fs)));
}

void TOthersPage::Store(TRecord& entry) const {
    for (int i = 0; i < 6; ++i)
        if (fields_[i]->isModified())
            entry.SetNameField(3 + i, FromQString(fields_[i]->text()));
}

void TOthersPage::SetReadOnly(bool readOnly) {
    for (QLineEdit* f : fields_)
        f->setReadOnly(readOnly);
    today_->setEnabled(!readOnly);
}

void TOthersPage::ReadVisibility(TFieldVisibility& visible) const {
    for (int i = 0; i < 6; ++i)
        visible.Others[i] = fields_[i]->isVisibleTo(this);
}

QWidget* TOthersPage::FocusWidget(TFocusField field) const {
    const int i = static_cast<int>(field) - static_cast<int>(TFocusField::Others1);
    return i >= 0 && i < 6 ? fields_[i] : nullptr;
}

QString TOthersPage::DateText(int i) const {
    return i >= 0 && i < 3 ? dates_[i]->text() : QString();
}

} // namespace tessaly
