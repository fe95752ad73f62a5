#include "app/book/entry_list_model.h"

#include "core/organise/entry_text.h"
#include "platform/qt_text.h"

namespace tessaly {

TEntryListModel::TEntryListModel(TBookData& book, const IClock& clock, QObject* parent)
    : QAbstractListModel(parent), book_(&book), clock_(clock),
      list_(std::make_unique<TEntryList>(book, clock)) {}

int TEntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_->Count();
}

QVariant TEntryListModel::data(const QModelIndex& index, int role) const {
    TRecord* entry = list_->EntryAt(index.row());
    if (!entry || index.parent().isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ToQString(DisplayText(*entry, book_->IndexKeys));
    case SortTextRole:
        return ToQString(list_->SortTextAt(index.row()));
    case PassesRole:
        return list_->PassesAt(index.row());
    case TaggedRole:
        return entry->Tagged != 0;
    case ReminderStatusRole: {
        const TDateTime today = DateOf(clock_.Now());
        return entry->LowestReminderStatus(
            [today](const TReminders& r) { return ReminderStatus(r, today); });
    }
    default:
        return {};
    }
}

void TEntryListModel::Rebuild() {
    beginResetModel();
    list_->Rebuild();
    endResetModel();
}

void TEntryListModel::SetBook(TBookData& book) {
    beginResetModel();
    book_ = &book;
    list_ = std::make_unique<TEntryList>(book, clock_);
    list_->Rebuild();
    endResetModel();
}

int TEntryListModel::InsertEntry(TRecord& entry) {
    // The entry may move; a reset keeps the view's rows and the list in step.
    beginResetModel();
    const int row = list_->InsertEntry(entry);
    endResetModel();
    return row;
}

int TEntryListModel::RemoveEntry(const TRecord* entry) {
    const int row = list_->IndexOfEntry(entry);
    if (row < 0)
        return -1;
    beginRemoveRows(QModelIndex(), row, row);
    list_->RemoveEntry(entry);
    endRemoveRows();
    return row;
}

} // namespace tessaly
