#include "app/book/categories_page.h"

#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

namespace {
constexpr int kIdRole = Qt::UserRole + 1;
}

TCategoriesPage::TCategoriesPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget;
    list_->setObjectName("CatList");
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    v->addWidget(list_);
    connect(list_, &QListWidget::itemChanged, this, [this] {
        if (filling_)
            return;
        changed_ = true;
        emit Typed(list_);
    });
    menu_ = new QMenu(this);
    menu_->setObjectName("CategoriesMenu");
    menu_->addAction("Category Maintenance...", this, &TCategoriesPage::Maintenance);
    menu_->addAction("Select All Categories", this, [this] { TickAll(true); });
    menu_->addAction("Clear all Selections", this, [this] { TickAll(false); });
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        // All three wait for a writable book.
        for (QAction* a : menu_->actions())
            a->setEnabled(!readOnly_);
        menu_->popup(list_->viewport()->mapToGlobal(p));
    });
}

void TCategoriesPage::Fill(const TRecord& entry, const TBookData& book) {
    book_ = &book;
    filling_ = true;
    list_->clear();
    std::vector<std::pair<QString, int>> names;
    for (int i = 0; i < book.Categories.Count(); ++i)
        if (!book.Categories.CategoryDeleted(i))
            names.emplace_back(ToQString(book.Categories.CategoryName(i)),
                               book.Categories.CategoryId(i));
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    for (const auto& [name, id] : names) {
        auto* item = new QListWidgetItem(name);
        item->setData(kIdRole, id);
        item->setFlags(readOnly_ ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.CategoriesInUse.FindMembership(id) >= 0 ? Qt::Checked
                                                                          : Qt::Unchecked);
        list_->addItem(item);
    }
    filling_ = false;
    changed_ = false;
    FitColumns();
}

void TCategoriesPage::FitColumns() {
    // Columns as wide as the widest name plus 50 pixels.
    int widest = 0;
    const QFontMetrics fm(list_->font());
    for (int i = 0; i < list_->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(list_->item(i)->text()));
    const int columns = std::max(1, list_->viewport()->width() / (widest + 50));
    list_->setGridSize(QSize(list_->viewport()->width() / columns, fm.height() + 6));
}

void TCategoriesPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitColumns();
}

void TCategoriesPage::Store(TRecord& entry) const {
    if (!changed_)
        return;
    entry.CategoriesInUse.Clear();
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            entry.CategoriesInUse.AddMembership(list_->item(i)->data(kIdRole).toInt());
}

void TCategoriesPage::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    filling_ = true;
    for (int i = 0; i < list_->count(); ++i)
        list_->item(i)->setFlags(readOnly ? Qt::ItemIsEnabled
                                          : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    filling_ = false;
}

void TCategoriesPage::TickAll(bool ticked) {
    if (readOnly_)
        return;
    filling_ = true;
    for (int i = 0; i < list_->count(); ++i)
        list_->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
    changed_ = true;
    emit Typed(list_);
}

QStringList TCategoriesPage::Ticked() const {
    QStringList out;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            out << list_->item(i)->text();
    return out;
}

} // namespace tessaly
