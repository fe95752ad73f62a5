#pragma once
// Draws one item of the entry list: the reminder indicator, then the entry's display
// name, italic for an entry outside the active search and in the tag colour for a
// tagged entry.

#include <QStyledItemDelegate>

namespace tessaly {

struct TSettings;

class TEntryListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TEntryListDelegate(const TSettings& settings, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The height of "W" in the font plus 2 pixels, at least 16.
    static int ItemHeight(const QFont& font);
    // Nothing is drawn while the window closes.
    void SetClosing(bool closing) { closing_ = closing; }

private:
    const TSettings& settings_;
    bool closing_ = false;
};

} // namespace tessaly
