#include "app/book/entry_list_view.h"

#include "app/book/entry_list_model.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

namespace tessaly {

TTessaListBox::TTessaListBox(const IClock& clock, QWidget* parent)
    : QListView(parent), typeAhead_(clock) {
    setObjectName("ListBox");
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setLayoutMode(QListView::SinglePass);
}

void TTessaListBox::SetEntryModel(TEntryListModel* model) {
    model_ = model;
    setModel(model);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!quiet_ && current.isValid())
                    emit EntryChosen(current.row());
            });
}

int TTessaListBox::SelectedRow() const {
    const QModelIndex i = currentIndex();
    return i.isValid() && selectionModel()->isSelected(i) ? i.row() : -1;
}

void TTessaListBox::SelectRow(int row) {
    quiet_ = true;
    if (row < 0 || !model_ || row >= model_->rowCount()) {
        selectionModel()->clear();
    } else {
        const QModelIndex i = model_->index(row);
        selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
        scrollTo(i);
    }
    quiet_ = false;
}

int TTessaListBox::TopRow() const {
    const QModelIndex i = indexAt(QPoint(2, 2));
    return i.isValid() ? i.row() : 0;
}

void TTessaListBox::SetTopRow(int row) {
    if (!model_ || row < 0 || row >= model_->rowCount())
        return;
    scrollTo(model_->index(row), QAbstractItemView::PositionAtTop);
}

void TTessaListBox::Apply(const TTypeAheadResult& r) {
    if (r.What == TTypeAheadResult::Action::Beep) {
        QApplication::beep();
    } else if (r.What == TTypeAheadResult::Action::Select) {
        SelectRow(r.Index);
        emit EntryChosen(r.Index);
    }
}

void TTessaListBox::keyPressEvent(QKeyEvent* event) {
    if (!model_) {
        QListView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Up:
    case Qt::Key_Down:
        typeAhead_.NavigationKey();
        QListView::keyPressEvent(event);
        return;
    case Qt::Key_Backspace:
        Apply(typeAhead_.Backspace(model_->List()));
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0].isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const std::string c = FromQString(text);
        if (c.size() == 1) {
            Apply(typeAhead_.KeyChar(c[0], model_->List()));
            return;
        }
    }
    QListView::keyPressEvent(event);
}

void TTessaListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QModelIndex i = indexAt(event->position().toPoint());
        if (i.isValid() && i.row() != SelectedRow()) {
            SelectRow(i.row());
            emit EntryChosen(i.row());
        }
        return; // the context menu follows
    }
    QListView::mousePressEvent(event);
}

} // namespace tessaly
