#include "app/book/entry_list_delegate.h"

#include "app/book/entry_list_model.h"
#include "app/book/reminder_icons.h"
#include "core/settings/settings.h"

#include <QApplication>
#include <QPainter>

namespace tessaly {

namespace {
QColor FromColorRef(std::uint32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
} // namespace

TEntryListDelegate::TEntryListDelegate(const TSettings& settings, QObject* parent)
    : QStyledItemDelegate(parent), settings_(settings) {}

int TEntryListDelegate::ItemHeight(const QFont& font) {
    return std::max(16, QFontMetrics(font).boundingRect('W').height() + 2);
}

QSize TEntryListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return QSize(option.rect.width(), ItemHeight(option.font));
}

void TEntryListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    if (closing_)
        return;
    const bool selected = option.state & QStyle::State_Selected;
    const bool enabled = option.state & QStyle::State_Enabled;
    const QPalette& pal = option.palette;
    painter->save();
    painter->fillRect(option.rect, selected ? pal.highlight() : pal.base());

    int textLeft = 4;
    if (settings_.IndicateReminders) {
        textLeft = 22;
        const QString icon = AlertIconName(index.data(TEntryListModel::ReminderStatusRole).toInt());
        if (!icon.isEmpty()) {
            const QPixmap p = ReminderIcon(icon);
            painter->drawPixmap(option.rect.left() + 2,
                                option.rect.top() + (option.rect.height() - p.height()) / 2, p);
        }
    }

    QFont f = option.font;
    f.setItalic(!index.data(TEntryListModel::PassesRole).toBool());
    painter->setFont(f);
    QColor colour = selected ? pal.highlightedText().color() : pal.text().color();
    if (!enabled)
        colour = pal.color(QPalette::Disabled, QPalette::Text);
    else if (index.data(TEntryListModel::TaggedRole).toBool() && !selected)
        colour = FromColorRef(settings_.TagColour());
    painter->setPen(colour);
    const QRect textRect = option.rect.adjusted(textLeft, 2, -2, 0);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      QFontMetrics(f).elidedText(index.data(Qt::DisplayRole).toString(),
                                                 Qt::ElideRight, textRect.width()));
    if (option.state & QStyle::State_HasFocus && selected) {
        painter->setPen(QPen(pal.highlightedText().color(), 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

} // namespace tessaly
