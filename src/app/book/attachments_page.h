#pragma once
// Page 4 of the book window: the entry's attachments in `Doc_List`, by description
// or by file name and URL as the book says.

#include <QWidget>

class QListWidget;

namespace tessaly {

class TBookData;
class TRecord;

class TAttachmentsPage : public QWidget {
    Q_OBJECT
public:
    explicit TAttachmentsPage(QWidget* parent = nullptr);
    void Fill(const TRecord& entry, const TBookData& book);
    QListWidget* List() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};

} // namespace tessaly
