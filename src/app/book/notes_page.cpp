#include "app/book/notes_page.h"

#include "app/book/field_labels.h"
#include "core/organise/entry_text.h"
#include "core/settings/settings.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tessaly {

TNotesPage::TNotesPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    header_ = new QLabel;
    header_->setObjectName("NotesHeader");
    header_->setFrameShape(QFrame::Panel);
    header_->setFrameShadow(QFrame::Raised);
    notes_ = new QPlainTextEdit;
    notes_->setObjectName("F_Notes");
    v->addWidget(header_);
    v->addWidget(notes_, 1);
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
        if (!filling_)
            emit Typed(notes_);
    });
    SetReadOnly(true);
}

void TNotesPage::Fill(const TRecord& entry, const TBookData& book, const TSettings& settings) {
    const TTemplate* names = book.Templates.At(0);
    TFieldLook look;
    look.Caption = " " + (names ? ToQString(names->Caption(kFieldNotes)) : QString());
    look.FieldVisible = names ? names->ShownAt(kFieldNotes) != 0 : true;
    look.Highlight =
        settings.HighlightIndex && EffectiveKeys(entry, book.IndexKeys).HasCode(kFieldNotes);
    look.Bold = settings.BoldLabels;
    ApplyFieldLook(header_, notes_, look);
    header_->setVisible(look.FieldVisible);
    filling_ = true;
    notes_->setPlainText(ToQString(entry.Notes()));
    filling_ = false;
    notes_->document()->setModified(false);
}

void TNotesPage::Store(TRecord& entry) const {
    if (notes_->document()->isModified())
        entry.SetNotes(FromQString(notes_->toPlainText().replace('\n', "\r\n")));
}

bool TNotesPage::NotesVisible() const {
    return notes_->isVisibleTo(this);
}

void TNotesPage::SetReadOnly(bool readOnly) {
    notes_->setReadOnly(readOnly);
}

} // namespace tessaly
