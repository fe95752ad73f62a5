#include "app/book/attachments_page.h"

#include "core/attachments/attachment_commands.h"
#include "core/attachments/launch.h"
#include "core/common/same_text.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMimeDatabase>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace tessaly {

namespace {

constexpr int kAttachmentRole = Qt::UserRole + 1;

// The icon of the application family of a document, from the desktop's theme.
QIcon IconOf(const TDocument& d) {
    if (!d.IsDocument)
        return QIcon::fromTheme("text-html",
                                QApplication::style()->standardIcon(QStyle::SP_DriveNetIcon));
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(
        PathFromCore(DocumentPath(TextValue(d.FileName))), QMimeDatabase::MatchExtension);
    const QIcon fallback = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), fallback));
}

} // namespace

TAttachmentsPage::TAttachmentsPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget;
    icons_ = new QListWidget;
    icons_->setObjectName("Doc_List");
    detail_ = new QTreeWidget;
    detail_->setObjectName("Doc_Detail");
    detail_->setRootIsDecorated(false);
    detail_->setHeaderLabels({"Description", "File Name / URL"});
    detail_->header()->setStretchLastSection(true);
    stack_->addWidget(icons_);
    stack_->addWidget(detail_);
    v->addWidget(stack_);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(icons_), static_cast<QAbstractItemView*>(detail_)}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& p) {
            emit MenuRequested(view->viewport()->mapToGlobal(p));
        });
        // A double click or Enter, as the desktop's style activates items.
        connect(view, &QAbstractItemView::activated, this, [this] { emit OpenRequested(); });
    }
}

QAbstractItemView* TAttachmentsPage::List() const {
    return stack_->currentWidget() == detail_ ? static_cast<QAbstractItemView*>(detail_)
                                              : static_cast<QAbstractItemView*>(icons_);
}

void TAttachmentsPage::Fill(const TRecord& entry, const TBookData& book) {
    icons_->clear();
    detail_->clear();
    const TDocumentList& list = entry.Attachments;
    const bool byDescription = book.AttachmentsByDescription != 0;
    auto key = [&](int i) -> std::string_view {
        return byDescription ? TextValue(list.At(i)->Description) : TextValue(list.At(i)->FileName);
    };
    std::vector<int> order(static_cast<std::size_t>(list.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return UpperCase1252(key(a)) < UpperCase1252(key(b)); });

    const int style = book.AttachmentView;
    if (style == kAttachmentViewDetail) {
        stack_->setCurrentWidget(detail_);
    } else {
        stack_->setCurrentWidget(icons_);
        const bool large = style == kAttachmentViewLargeIcons;
        icons_->setViewMode(large ? QListView::IconMode : QListView::ListMode);
        icons_->setFlow(style == kAttachmentViewSmallIcons ? QListView::LeftToRight
                                                           : QListView::TopToBottom);
        icons_->setWrapping(style != kAttachmentViewList || large);
        icons_->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
        icons_->setResizeMode(QListView::Adjust);
        icons_->setMovement(QListView::Static);
    }
    for (const int i : order) {
        const TDocument* d = list.At(i);
        const QString description = ToQString(TextValue(d->Description));
        const QString target = ToQString(TextValue(d->FileName));
        auto* item = new QListWidgetItem(IconOf(*d), byDescription ? description : target);
        item->setToolTip(target);
        item->setData(kAttachmentRole, i);
        icons_->addItem(item);
        auto* row = new QTreeWidgetItem({description, target});
        row->setIcon(0, item->icon());
        row->setData(0, kAttachmentRole, i);
        detail_->addTopLevelItem(row);
    }
    if (!order.empty()) {
        icons_->setCurrentRow(0);
        detail_->setCurrentItem(detail_->topLevelItem(0));
    }
}

int TAttachmentsPage::SelectedAttachment() const {
    if (stack_->currentWidget() == detail_) {
        const QTreeWidgetItem* row = detail_->currentItem();
        return row ? row->data(0, kAttachmentRole).toInt() : -1;
    }
    const QListWidgetItem* item = icons_->currentItem();
    return item ? item->data(kAttachmentRole).toInt() : -1;
}

void TAttachmentsPage::SelectAttachment(int index) {
    const int rows = icons_->count();
    if (rows == 0)
        return;
    int row = rows - 1;
    for (int r = 0; r < rows; ++r)
        if (icons_->item(r)->data(kAttachmentRole).toInt() == index)
            row = r;
    icons_->setCurrentRow(row);
    detail_->setCurrentItem(detail_->topLevelItem(row));
}

} // namespace tessaly
