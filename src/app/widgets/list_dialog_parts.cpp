#include "app/widgets/list_dialog_parts.h"

#include "platform/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>

namespace tessaly {

TFilteredList AddFilteredList(QVBoxLayout* column, const std::vector<std::string>& filterCaptions,
                              const char* listName, const QStringList& headers, QSize minimum) {
    TFilteredList parts;
    auto* caption = new QLabel("&Show:");
    parts.Filter = new QComboBox;
    parts.Filter->setObjectName("Filter");
    for (const std::string& c : filterCaptions)
        parts.Filter->addItem(ToQString(c));
    caption->setBuddy(parts.Filter);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(caption);
    filterRow->addWidget(parts.Filter, 1);
    column->addLayout(filterRow);
    parts.List = new QTreeWidget;
    parts.List->setObjectName(listName);
    parts.List->setRootIsDecorated(false);
    parts.List->setHeaderLabels(headers);
    parts.List->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    parts.List->setMinimumSize(minimum);
    column->addWidget(parts.List, 1);
    return parts;
}

void FillNumberedRows(QTreeWidget* list, const std::vector<TNumberedRow>& rows, int selectNumber) {
    list->clear();
    QTreeWidgetItem* chosen = nullptr;
    for (const TNumberedRow& r : rows) {
        auto* item = new QTreeWidgetItem(list, r.Texts);
        item->setData(0, Qt::UserRole, r.Number);
        if (!chosen || r.Number == selectNumber)
            chosen = item;
    }
    if (chosen)
        list->setCurrentItem(chosen);
    for (int c = 1; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
}

int ChosenRowNumber(const QTreeWidget* list, int none) {
    const QTreeWidgetItem* item = list->currentItem();
    return item ? item->data(0, Qt::UserRole).toInt() : none;
}

} // namespace tessaly
