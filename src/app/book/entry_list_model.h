#pragma once
// The entry list as a Qt model over the core's ordered entry list. Items are not
// copied into the view: each row's display text, search mark, tag and reminder
// urgency are produced only when the view asks for a visible row, so a book of
// 32,767 entries lists at the cost of ordering it.

#include "core/organise/entry_list.h"
#include "core/system/clock.h"

#include <QAbstractListModel>

namespace tessaly {

class TEntryListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        SortTextRole = Qt::UserRole + 1,
        PassesRole,         // false: listed on request, drawn italic
        TaggedRole,         // the entry is tagged
        ReminderStatusRole, // the most urgent reminder's status (record.h)
    };

    TEntryListModel(TBookData& book, const IClock& clock, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Lists the entries that pass the book's active search, in sort-text order.
    void Rebuild();
    // Points the model at another book (after a re-read) and lists it.
    void SetBook(TBookData& book);
    TEntryList& List() { return *list_; }
    const TEntryList& List() const { return *list_; }
    TRecord* EntryAt(int row) const { return list_->EntryAt(row); }
    int RowOf(const TRecord* entry) const { return list_->IndexOfEntry(entry); }
    // Lists one entry at its sorted place (an entry shown on request); its row.
    int InsertEntry(TRecord& entry);
    // Removes an entry's row; the row it had, or -1.
    int RemoveEntry(const TRecord* entry);

private:
    TBookData* book_;
    const IClock& clock_;
    std::unique_ptr<TEntryList> list_;
};

} // namespace tessaly
