#include "app/book/reminders_page.h"

#include "app/book/reminder_icons.h"
#include "app/widgets/column_fitter.h"
#include "core/access/book_header.h"
#include "core/common/date_format.h"
#include "core/settings/settings.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

namespace {
constexpr int kReminderRole = Qt::UserRole + 1;
// The stored reminder orders with their menu captions, in menu order.
const std::pair<int, const char*> kOrders[] = {
    {1, "&Priority"}, {2, "Date and Time"}, {4, "Date, Priority and Time"}, {3, "Description"}};
} // namespace

// Rows of one height, whatever their texts ask: 40 pixels while the notes are shown
// on a second line, else 20.
class TFixedRowHeight : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(), Height);
    }
    int Height = 20;
};

TRemindersPage::TRemindersPage(const IClock& clock, QWidget* parent)
    : QWidget(parent), clock_(clock) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    list_ = new QTreeWidget;
    list_->setObjectName("Reminders");
    list_->setColumnCount(5);
    list_->setHeaderLabels({"Prty", "Date", "Time", "Description", ""});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->header()->setStretchLastSection(false);
    // The description takes the room the other columns leave.
    list_->header()->setSectionResizeMode(3, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(4, QHeaderView::Fixed);
    list_->header()->resizeSection(4, 20);
    list_->setIconSize(QSize(16, 16));
    rows_ = new TFixedRowHeight(list_);
    list_->setItemDelegate(rows_);
    v->addWidget(list_);
    // Priority, date and time show their kept widths when there is room, at least
    // their texts; the description the rest.
    fitter_ = new TColumnFitter(
        list_, 0, 2, [this](int column) { return book_ ? ColumnWidth(*book_, column) : 0; });
    connect(list_->header(), &QHeaderView::sectionResized, this, [this](int section, int, int w) {
        if (!filling_ && !fitter_->Fitting() && book_ && section < 4)
            SetColumnWidth(*book_, section, w);
    });

    menu_ = new QMenu("Remin&ders", this);
    menu_->setObjectName("RemindersMenu");
    add_ = menu_->addAction("&Add Event...", this, [this] { emit AddRequested(); });
    edit_ = menu_->addAction("&Edit Event...", this, [this] { emit EditRequested(); });
    delete_ = menu_->addAction("&Delete Event...", this, [this] { emit DeleteRequested(); });
    acknowledge_ =
        menu_->addAction("Ac&knowledge Event...", this, [this] { emit AcknowledgeRequested(); });
    view_ = menu_->addAction("&View Event...", this, [this] { emit ViewRequested(); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { UpdateActions(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (SelectedReminder())
            emit ViewRequested();
    });
    // The Delete key deletes the selected reminder while the list has the focus.
    auto* deleteKey = new QAction(this);
    deleteKey->setShortcut(QKeySequence(Qt::Key_Delete));
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    list_->addAction(deleteKey);
    connect(deleteKey, &QAction::triggered, this, [this] {
        if (writable_ && SelectedReminder())
            emit DeleteRequested();
    });
    menu_->addSeparator();
    showCompleted_ = menu_->addAction("&Show Completed Events");
    showCompleted_->setCheckable(true);
    connect(showCompleted_, &QAction::triggered, this, [this](bool on) {
        if (book_) {
            book_->ShowCompleted = on ? 1 : 0;
            Refill();
        }
    });
    showNotes_ = menu_->addAction("Show Event &Notes");
    showNotes_->setCheckable(true);
    connect(showNotes_, &QAction::triggered, this, [this](bool on) {
        if (book_) {
            book_->ShowNotes = on ? 1 : 0;
            Refill();
        }
    });
    QMenu* sortBy = menu_->addMenu("&Sort by");
    auto* group = new QActionGroup(this);
    for (const auto& [order, caption] : kOrders) {
        QAction* a = sortBy->addAction(caption);
        a->setCheckable(true);
        a->setData(order);
        group->addAction(a);
        sortActions_.append(a);
        connect(a, &QAction::triggered, this, [this, order] { SetSortOrder(order); });
    }
    menu_->addSeparator();
    menu_->addAction("Reminder Options...", this, [this] { emit OptionsRequested(); });
    menu_->addSeparator();
    menu_->addAction("Set Display Filter...", this, [this] { emit SearchRequested(); });
    menu_->addAction("Remove Display Filter", this, [this] { emit RemoveSearchRequested(); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menu_->popup(list_->viewport()->mapToGlobal(p)); });
}

void TRemindersPage::SetSortOrder(int order) {
    if (!book_)
        return;
    book_->SortOrder = static_cast<std::int16_t>(order);
    Refill();
}

void TRemindersPage::Fill(const TRecord& entry, TBookData& book, const TSettings& settings) {
    entry_ = &entry;
    book_ = &book;
    settings_ = &settings;
    filling_ = true;
    for (int i = 0; i < 4; ++i)
        list_->header()->resizeSection(i, ColumnWidth(book, i));
    filling_ = false;
    showCompleted_->setChecked(book.ShowCompleted);
    showNotes_->setChecked(book.ShowNotes);
    for (QAction* a : sortActions_)
        a->setChecked(a->data().toInt() == book.SortOrder);
    Refill();
}

void TRemindersPage::Refill() {
    if (!entry_ || !book_)
        return;
    list_->clear();
    rows_->Height = book_->ShowNotes ? 40 : 20;
    const TDateTime today = DateOf(clock_.Now());
    const int order = book_->SortOrder;
    const bool notes = book_->ShowNotes;
    std::vector<std::pair<std::string, int>> rows;
    for (int i = 0; i < entry_->Reminders.Count(); ++i) {
        const TReminders* r = entry_->Reminders.At(i);
        if (r->Completed && !book_->ShowCompleted)
            continue;
        rows.emplace_back(SortKey(*r, order), i);
    }
    std::stable_sort(rows.begin(), rows.end());
    const TFormatSettings& fs = settings_->FormatSettings;
    for (const auto& [key, i] : rows) {
        const TReminders* r = entry_->Reminders.At(i);
        auto* item = new QTreeWidgetItem;
        item->setData(0, kReminderRole, i);
        const int status = ReminderStatus(*r, today);
        QString icon = "NoteBMP";
        if (r->Completed)
            icon = "ActedBMP";
        else if (r->AlarmSet && status <= kReminderPending && list_->header()->sectionSize(0) > 20)
            icon = status == kReminderOverdue   ? "Alert1"
                   : status == kReminderPending ? "Alert3"
                                                : "Alert2";
        item->setIcon(0, ReminderIcon(icon));
        item->setData(0, Qt::UserRole + 2, icon);
        item->setText(0, QString::number(r->Priority));
        item->setText(1, ToQString(FormatDateTime(settings_->EventFormat, r->When, fs)));
        item->setText(2, r->NoTime ? QString()
                                   : ToQString(FormatDateTime(fs.ShortTimeFormat, r->When, fs)));
        QString description = ToQString(TextValue(r->Description));
        if (notes && !TextValue(r->Notes).empty())
            description += "\n" + ToQString(TextValue(r->Notes));
        item->setText(3, description);
        if (!r->Completed && r->AlarmSet)
            item->setIcon(4, ReminderIcon("AlarmBMP"));
        list_->addTopLevelItem(item);
    }
    // The first item is selected after every refill.
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    fitter_->Fit();
    UpdateActions();
}

void TRemindersPage::SetWritable(bool writable) {
    writable_ = writable;
    UpdateActions();
}

void TRemindersPage::UpdateActions() {
    const TReminders* r = SelectedReminder();
    add_->setEnabled(writable_);
    edit_->setEnabled(writable_ && r);
    delete_->setEnabled(writable_ && r);
    // Only a reminder with its alarm set that has not been acknowledged.
    acknowledge_->setEnabled(writable_ && r && !r->Completed && r->AlarmSet);
    view_->setEnabled(r != nullptr);
}

int TRemindersPage::SelectedRow() const {
    const QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void TRemindersPage::SelectRow(int row) {
    const int count = list_->topLevelItemCount();
    if (count > 0)
        list_->setCurrentItem(list_->topLevelItem(std::clamp(row, 0, count - 1)));
}

TReminders* TRemindersPage::SelectedReminder() const {
    const QTreeWidgetItem* item = list_->currentItem();
    if (!item || !entry_)
        return nullptr;
    return entry_->Reminders.At(item->data(0, kReminderRole).toInt());
}

bool TRemindersPage::SelectReminder(const TReminders* reminder) {
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        if (entry_ && entry_->Reminders.At(item->data(0, kReminderRole).toInt()) == reminder) {
            list_->setCurrentItem(item);
            return true;
        }
    }
    return false;
}

} // namespace tessaly
