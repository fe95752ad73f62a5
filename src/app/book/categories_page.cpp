#include "app/book/categories_page.h"

#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QListWidget>
#include <QMenu>
#include <QStyle>
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
    // Rows across the columns, so that every column shows however few the names are.
    list_->setFlow(QListView::LeftToRight);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    v->addWidget(list_);
    // The columns follow the list's own width: a page resized while hidden has its
    // list laid out only when shown.
    list_->viewport()->installEventFilter(this);
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
    // The width the list lays its rows out in: it keeps room for a vertical scroll bar.
    const QStyle* style = list_->style();
    const bool overlap = style->pixelMetric(QStyle::PM_ScrollView_ScrollBarOverlap, nullptr, list_);
    const int frame =
        style->styleHint(QStyle::SH_ScrollView_FrameOnlyAroundContents, nullptr, list_)
            ? 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, list_)
            : 0;
    const int width =
        list_->viewport()->width() -
        (overlap ? 0 : style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_) + frame);
    const int columns = std::max(1, width / (widest + 50));
    // The last column ends inside the width (the list wraps a row reaching its edge).
    const QSize cell((width - 1) / columns, std::max(fm.height() + 6, 20));
    if (list_->gridSize() != cell)
        list_->setGridSize(cell);
}

bool TCategoriesPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::Resize)
        FitColumns();
    return QWidget::eventFilter(watched, event);
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
