#include "app/widgets/column_fitter.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeView>
#include <algorithm>
#include <vector>

namespace tessaly {

TColumnFitter::TColumnFitter(QTreeView* list, int first, int last,
                             std::function<int(int column)> kept)
    : QObject(list), list_(list), first_(first), last_(last), kept_(std::move(kept)) {
    list_->viewport()->installEventFilter(this);
}

void TColumnFitter::Fit() {
    QHeaderView* header = list_->header();
    // What a column's texts need (the header's caption included).
    const auto needs = [this, header](int column) {
        return std::max(static_cast<const QAbstractItemView*>(list_)->sizeHintForColumn(column),
                        header->sectionSizeHint(column));
    };
    std::vector<int> texts;
    std::vector<int> widened;
    int kept = 0;
    for (int column = first_; column <= last_; ++column) {
        const int need = list_->isColumnHidden(column) ? 0 : needs(column);
        texts.push_back(need);
        widened.push_back(std::max(need, kept_(column)));
        kept += widened.back();
    }
    int others = 0;
    for (int column = 0; column < header->count(); ++column) {
        if ((column >= first_ && column <= last_) || list_->isColumnHidden(column))
            continue;
        others += header->sectionResizeMode(column) == QHeaderView::Stretch
                      ? std::max(needs(column), header->minimumSectionSize())
                      : header->sectionSize(column);
    }
    const bool roomForKept = others + kept <= list_->viewport()->width();
    fitting_ = true;
    for (int column = first_; column <= last_; ++column) {
        const std::size_t i = static_cast<std::size_t>(column - first_);
        if (!list_->isColumnHidden(column))
            header->resizeSection(column, roomForKept ? widened[i] : texts[i]);
    }
    fitting_ = false;
}

bool TColumnFitter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::Resize && !fitting_)
        Fit();
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
