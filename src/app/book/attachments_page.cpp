#include "app/book/attachments_page.h"

#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QListWidget>
#include <QStyle>
#include <QVBoxLayout>

namespace tessaly {

TAttachmentsPage::TAttachmentsPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget;
    list_->setObjectName("Doc_List");
    v->addWidget(list_);
}

void TAttachmentsPage::Fill(const TRecord& entry, const TBookData& book) {
    list_->clear();
    const QIcon document = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon url = QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon);
    for (int i = 0; i < entry.Attachments.Count(); ++i) {
        const TDocument* d = entry.Attachments.At(i);
        const std::string& description = TextValue(d->Description);
        const std::string& file = TextValue(d->FileName);
        const bool byDescription = book.AttachmentsByDescription && !description.empty();
        auto* item = new QListWidgetItem(d->IsDocument ? document : url,
                                         ToQString(byDescription ? description : file));
        item->setToolTip(ToQString(file));
        list_->addItem(item);
    }
    if (list_->count() > 0)
        list_->setCurrentRow(0);
}

} // namespace tessaly
