#include "app/shell/tool_icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QStyle>

namespace tessaly {

namespace {

// A small badge with one or two letters, for commands without a standard picture.
QIcon Badge(const QString& letters, QColor colour) {
    QPixmap pm(20, 20);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(140));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(1.5, 1.5, 17, 17), 4, 4);
    QFont f = p.font();
    f.setPixelSize(letters.size() > 1 ? 9 : 12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 20, 20), Qt::AlignCenter, letters);
    return QIcon(pm);
}

} // namespace

QIcon ToolIcon(const QString& hint) {
    QStyle* s = QApplication::style();
    static const QHash<QString, QStyle::StandardPixmap> standard = {
        {"Create Address Book", QStyle::SP_FileIcon},
        {"Open Address Book", QStyle::SP_DialogOpenButton},
        {"Context Help", QStyle::SP_DialogHelpButton},
        {"Close Address Book", QStyle::SP_DialogCloseButton},
        {"Close the Calendar", QStyle::SP_DialogCloseButton},
        {"Close the Diary", QStyle::SP_DialogCloseButton},
        {"Close Layout", QStyle::SP_DialogCloseButton},
        {"Apply Update", QStyle::SP_DialogApplyButton},
        {"Cancel Update", QStyle::SP_DialogCancelButton},
        {"Delete Entry", QStyle::SP_TrashIcon},
        {"Delete Event", QStyle::SP_TrashIcon},
        {"Delete Objects", QStyle::SP_TrashIcon},
        {"Undo Last Update", QStyle::SP_ArrowBack},
        {"Search", QStyle::SP_FileDialogContentsView},
        {"Previous Month", QStyle::SP_MediaSeekBackward},
        {"Next Month", QStyle::SP_MediaSeekForward},
        {"Previous Day", QStyle::SP_MediaSkipBackward},
        {"Next Day", QStyle::SP_MediaSkipForward},
        {"First Page", QStyle::SP_MediaSkipBackward},
        {"Previous Page", QStyle::SP_ArrowLeft},
        {"Next Page", QStyle::SP_ArrowRight},
        {"Last Page", QStyle::SP_MediaSkipForward},
        {"Refresh Calendar", QStyle::SP_BrowserReload},
        {"New Layout", QStyle::SP_FileIcon},
        {"Open Layout", QStyle::SP_DialogOpenButton},
        {"Save Layout", QStyle::SP_DialogSaveButton},
        {"Return to Tessaly", QStyle::SP_ArrowUp},
        {"Modified", QStyle::SP_DialogSaveButton},
    };
    const auto it = standard.find(hint);
    if (it != standard.end())
        return s->standardIcon(it.value());
    static const QHash<QString, std::pair<QString, QColor>> badges = {
        {"View the Calendar", {"31", QColor(0xC0, 0x39, 0x2B)}},
        {"Print First Linked Quick Report", {"P1", QColor(0x55, 0x55, 0x55)}},
        {"Print Second Linked Quick Report", {"P2", QColor(0x55, 0x55, 0x55)}},
        {"Print Linked Quick Report", {"P", QColor(0x55, 0x55, 0x55)}},
        {"Print the Preview Image", {"P", QColor(0x55, 0x55, 0x55)}},
        {"Define Index Keys for Entry", {"K", QColor(0x8E, 0x44, 0xAD)}},
        {"Select Address Templates for Entry", {"T", QColor(0x8E, 0x44, 0xAD)}},
        {"Add an Entry", {"+", QColor(0x27, 0xAE, 0x60)}},
        {"Add an Event", {"+", QColor(0x27, 0xAE, 0x60)}},
        {"Update Entry", {"U", QColor(0x29, 0x80, 0xB9)}},
        {"Update Event", {"U", QColor(0x29, 0x80, 0xB9)}},
        {"Insert to Word Processor", {"W", QColor(0x29, 0x80, 0xB9)}},
        {"Remove Search", {"X", QColor(0x7F, 0x8C, 0x8D)}},
        {"Dial Number", {"D", QColor(0x16, 0xA0, 0x85)}},
        {"Go to Entry", {"E", QColor(0x29, 0x80, 0xB9)}},
        {"View Event", {"V", QColor(0x29, 0x80, 0xB9)}},
        {"Acknowledge Event", {"A", QColor(0xF3, 0x9C, 0x12)}},
        {"Go to Todays Date", {"T", QColor(0xC0, 0x39, 0x2B)}},
        {"Go to Date", {"G", QColor(0xC0, 0x39, 0x2B)}},
        {"Page Width", {"W", QColor(0x55, 0x55, 0x55)}},
        {"Full Page", {"F", QColor(0x55, 0x55, 0x55)}},
        {"Notes", {"N", QColor(0xF3, 0x9C, 0x12)}},
        {"Reminders", {"R", QColor(0xC0, 0x39, 0x2B)}},
    };
    const auto b = badges.find(hint);
    if (b != badges.end())
        return Badge(b.value().first, b.value().second);
    // The designer's commands: the initials of the hint.
    QString letters;
    for (const QString& word : hint.split(' ', Qt::SkipEmptyParts))
        if (letters.size() < 2 && word[0].isUpper())
            letters += word[0];
    return Badge(letters, QColor(0x34, 0x49, 0x5E));
}

} // namespace tessaly
