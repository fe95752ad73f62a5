#pragma once
// Page 4 of the book window: the entry's attachments in `Doc_List`, sorted by
// description or by file name and URL, in the book's view style (large icons, small
// icons, list or detail). Rows remember which attachment they show.

#include <QWidget>

class QAbstractItemView;
class QListWidget;
class QStackedWidget;
class QTreeWidget;

namespace tessaly {

class TBookData;
class TRecord;

class TAttachmentsPage : public QWidget {
    Q_OBJECT
public:
    explicit TAttachmentsPage(QWidget* parent = nullptr);
    void Fill(const TRecord& entry, const TBookData& book);
    // The view shown now.
    QAbstractItemView* List() const;
    // The entry's index of the selected attachment, -1 when none.
    int SelectedAttachment() const;
    // Selects the row of an attachment; an index past the end selects the last row.
    void SelectAttachment(int index);

signals:
    void OpenRequested();
    void MenuRequested(const QPoint& globalPos);

private:
    QStackedWidget* stack_ = nullptr;
    QListWidget* icons_ = nullptr;
    QTreeWidget* detail_ = nullptr;
};

} // namespace tessaly
