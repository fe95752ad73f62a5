#include "app/book_options/key_lists.h"

#include "platform/qt_text.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

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
constexpr const char* kNoMarker = "   ";

} // namespace

TKeyLists::TKeyLists(TKeyListEditor& editor, const QString& availableCaption,
                     const QString& keysCaption, const TKeyListNames& names, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* availableLabel = new QLabel(availableCaption, this);
    auto* keysLabel = new QLabel(keysCaption, this);
    available_ = new QListWidget(this);
    available_->setObjectName(names.Available);
    keys_ = new QListWidget(this);
    keys_->setObjectName(names.Keys);
    availableLabel->setBuddy(available_);
    keysLabel->setBuddy(keys_);
    auto* buttons = new QVBoxLayout;
    add_ = Button("&Add", this, names.Add);
    delete_ = Button("&Delete", this, names.Delete);
    up_ = Button("M&ove", this, names.Up);
    down_ = Button("Mo&ve", this, names.Down);
    up_->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    down_->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    up_->setToolTip("Move the key up");
    down_->setToolTip("Move the key down");
    buttons->addStretch(1);
    for (QPushButton* b : {add_, delete_, up_, down_})
        buttons->addWidget(b);
    if (editor_.HasSortFlags()) {
        sortBy_ = Button("&Sort By", this, names.SortBy);
        buttons->addWidget(sortBy_);
    }
    buttons->addStretch(1);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(keysLabel, 0, 2);
    grid->addWidget(available_, 1, 0);
    grid->addLayout(buttons, 1, 1);
    grid->addWidget(keys_, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);

    available_->viewport()->installEventFilter(this);
    keys_->viewport()->installEventFilter(this);
    connect(add_, &QPushButton::clicked, this, &TKeyLists::AddField);
    connect(available_, &QListWidget::itemDoubleClicked, this, &TKeyLists::AddField);
    connect(delete_, &QPushButton::clicked, this,
            [this] { Done(editor_.Delete(keys_->currentRow())); });
    connect(up_, &QPushButton::clicked, this,
            [this] { Done(editor_.Move(keys_->currentRow(), -1)); });
    connect(down_, &QPushButton::clicked, this,
            [this] { Done(editor_.Move(keys_->currentRow(), +1)); });
    auto toggle = [this] {
        const int row = keys_->currentRow();
        if (editor_.ToggleSortBy(row))
            Done(row);
    };
    if (sortBy_) {
        connect(sortBy_, &QPushButton::clicked, this, toggle);
        connect(keys_, &QListWidget::itemDoubleClicked, this, toggle);
    }
    Fill(0);
}

void TKeyLists::Fill(int selectKey) {
    const int availableRow = std::max(0, available_->currentRow());
    available_->clear();
    for (const TKeyField& f : editor_.Available()) {
        auto* item = new QListWidgetItem(ToQString(f.Text), available_);
        item->setData(Qt::UserRole, f.Code);
    }
    if (available_->count() > 0)
        available_->setCurrentRow(std::min(availableRow, available_->count() - 1));
    keys_->clear();
    const TIndexList& keys = editor_.Keys();
    for (int i = 0; i < keys.Count(); ++i) {
        // Lists without sort flags need no room for the marker.
        const QString mark = !editor_.HasSortFlags() ? QString()
                             : keys.KeySortBy(i)     ? kSortMarker
                                                     : kNoMarker;
        keys_->addItem(mark + ToQString(editor_.KeyText(i)));
    }
    if (keys_->count() > 0)
        keys_->setCurrentRow(std::clamp(selectKey, 0, keys_->count() - 1));
    EnableControls();
}

void TKeyLists::EnableControls() {
    available_->setEnabled(editor_.Enabled());
    keys_->setEnabled(editor_.Enabled());
    add_->setEnabled(editor_.CanAdd());
    for (QPushButton* b : {delete_, up_, down_, sortBy_})
        if (b)
            b->setEnabled(editor_.CanChangeKeys());
}

void TKeyLists::Done(int select) {
    // Each editor step gives the key to select, or a value below it when nothing changed.
    if (select < (editor_.Keys().Count() == 0 ? -1 : 0))
        return;
    Fill(select);
    emit Changed();
}

void TKeyLists::AddField() {
    QListWidgetItem* field = available_->currentItem();
    if (!field)
        return;
    const int at = editor_.Add(field->data(Qt::UserRole).toInt(), keys_->currentRow());
    if (at >= 0)
        Done(at);
}

bool TKeyLists::eventFilter(QObject* watched, QEvent* event) {
    QListWidget* list = watched == available_->viewport() ? available_
                        : watched == keys_->viewport()    ? keys_
                                                          : nullptr;
    if (!list)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        EndDrag();
        if (e->button() != Qt::LeftButton || !editor_.Enabled())
            break;
        const QModelIndex at = list->indexAt(e->position().toPoint());
        if (!at.isValid())
            break;
        dragFrom_ = list;
        dragRow_ = at.row();
        pressedAt_ = e->globalPosition().toPoint();
        break;
    }
    case QEvent::MouseMove: {
        if (!dragFrom_)
            break;
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint at = e->globalPosition().toPoint();
        if (!dragging_ &&
            (at - pressedAt_).manhattanLength() >= QApplication::startDragDistance()) {
            dragging_ = true;
            QApplication::setOverrideCursor(Qt::DragMoveCursor);
        }
        if (dragging_)
            return true; // the lists keep their selection while a field is carried
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (!dragFrom_)
            break;
        auto* e = static_cast<QMouseEvent*>(event);
        // The release still reaches the list, which ends its own press with it.
        if (dragging_)
            Drop(e->globalPosition().toPoint());
        EndDrag();
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TKeyLists::Drop(const QPoint& at) {
    QListWidget* to = nullptr;
    QPoint local;
    for (QListWidget* list : {available_, keys_}) {
        const QPoint p = list->viewport()->mapFromGlobal(at);
        if (list->viewport()->rect().contains(p)) {
            to = list;
            local = p;
        }
    }
    if (!to)
        return;
    const int row = to->indexAt(local).row();
    if (dragFrom_ == available_ && to == keys_) {
        QListWidgetItem* field = available_->item(dragRow_);
        if (field)
            Done(editor_.Drop(field->data(Qt::UserRole).toInt(), row));
    } else if (dragFrom_ == keys_ && to == available_) {
        Done(editor_.Delete(dragRow_));
    } else if (dragFrom_ == keys_ && to == keys_) {
        Done(editor_.MoveTo(dragRow_, row));
    }
}

void TKeyLists::EndDrag() {
    if (dragging_)
        QApplication::restoreOverrideCursor();
    dragFrom_ = nullptr;
    dragRow_ = -1;
    dragging_ = false;
}

} // namespace tessaly
