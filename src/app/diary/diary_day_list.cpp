#include "app/diary/diary_day_list.h"

#include "app/book/reminder_icons.h"
#include "platform/qt_text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace tessaly {

namespace {

constexpr int kEventRole = Qt::UserRole + 1;
constexpr int kLaterRole = Qt::UserRole + 2;
constexpr int kIconNameRole = Qt::UserRole + 3;

// Draws the cell as usual, then the line under the row.
class TRowLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(p, option, index);
        p->save();
        p->setPen(option.palette.color(QPalette::Mid));
        p->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        p->restore();
    }
};

} // namespace

TDiaryDayList::TDiaryDayList(QWidget* parent) : QTreeWidget(parent) {
    setObjectName("DayList");
    setColumnCount(5);
    setHeaderLabels({"", "Prty", "Time", "Description", ""});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setIconSize(QSize(16, 16));
    setItemDelegate(new TRowLineDelegate(this));
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(3, QHeaderView::Stretch);
    header()->setSectionResizeMode(4, QHeaderView::Fixed);
    header()->resizeSection(4, 20);
    header()->setMinimumSectionSize(8);
}

void TDiaryDayList::Fill(const std::vector<TDayRow>& rows, const TDiaryData& diary, TDateTime today,
                         const TFormatSettings& fs) {
    clear();
    const bool notes = diary.ShowNotes != 0;
    // The text height of "W" plus 4, twice that with the notes; never below 16.
    const int text = fontMetrics().boundingRect("W").height();
    const int height = std::max(16, (notes ? 2 * text : text) + 4);
    const int iconWidth = header()->sectionSize(0);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(rows.size()));
    for (const TDayRow& row : rows) {
        const TReminders* e = diary.Events.At(row.Item.Ref.Event);
        if (!e)
            continue;
        auto* item = new QTreeWidgetItem;
        item->setData(0, kEventRole, row.Item.Ref.Event);
        item->setData(0, kLaterRole, row.Item.Later);
        const QString icon = ToQString(RowIcon(*e, row.Item.Later, today, iconWidth));
        item->setData(0, kIconNameRole, icon);
        if (!icon.isEmpty())
            item->setIcon(0, ReminderIcon(icon));
        item->setText(1, QString::number(e->Priority));
        item->setText(2, e->NoTime ? QString() : ToQString(FormatDateTime("t", e->When, fs)));
        QString description = ToQString(TextValue(e->Description));
        if (notes)
            description += "\n" + ToQString(TextValue(e->Notes));
        item->setText(3, description);
        item->setTextAlignment(3, Qt::AlignLeft | Qt::AlignTop);
        if (RowShowsAlarm(*e))
            item->setIcon(4, ReminderIcon("AlarmBMP"));
        item->setSizeHint(0, QSize(-1, height));
        items.append(item);
    }
    addTopLevelItems(items);
    if (!items.isEmpty())
        setCurrentItem(items.first());
}

int TDiaryDayList::EventOfRow(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->data(0, kEventRole).toInt() : -1;
}

int TDiaryDayList::SelectedRow() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void TDiaryDayList::SelectRow(int row) {
    if (QTreeWidgetItem* item = topLevelItem(row))
        setCurrentItem(item);
}

int TDiaryDayList::RowOfEvent(int event) const {
    int any = -1;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        if (item->data(0, kEventRole).toInt() != event)
            continue;
        if (!item->data(0, kLaterRole).toBool())
            return row;
        if (any < 0)
            any = row;
    }
    return any;
}

void TDiaryDayList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
        emit DeletePressed();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace tessaly
