#include "app/widgets/tool_icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QStandardPaths>
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

// The desktop's names of the pictures, best first. A name is looked up as it is and
// in its "-symbolic" form, in the desktop's theme and then in the fallback theme.
const QHash<QString, QStringList>& ThemeNames() {
    static const QHash<QString, QStringList> names = {
        {"Create Address Book", {"address-book-new", "document-new"}},
        {"Open Address Book", {"document-open"}},
        {"Context Help", {"help-contextual", "help-browser", "help-contents"}},
        {"Close Address Book", {"window-close"}},
        {"Close the Calendar", {"window-close"}},
        {"Close the Diary", {"window-close"}},
        {"Close Layout", {"window-close"}},
        {"View the Calendar", {"x-office-calendar"}},
        {"Print First Linked Quick Report", {"document-print"}},
        {"Print Second Linked Quick Report", {"document-print-preview", "document-print"}},
        {"Print Linked Quick Report", {"document-print"}},
        {"Print the Preview Image", {"document-print"}},
        {"Undo Last Update", {"edit-undo"}},
        {"Define Index Keys for Entry", {"view-sort-ascending"}},
        {"Select Address Templates for Entry", {"x-office-address-book", "document-properties"}},
        {"Add an Entry", {"contact-new"}},
        {"Update Entry", {"document-edit"}},
        {"Apply Update", {"dialog-ok-apply", "object-select"}},
        {"Cancel Update", {"dialog-cancel", "process-stop"}},
        {"Delete Entry", {"edit-delete"}},
        {"Insert to Word Processor", {"insert-text"}},
        {"Search", {"view-filter", "system-search", "edit-find"}},
        {"Remove Search", {"edit-clear"}},
        {"Dial Number", {"call-start"}},
        {"Go to Entry", {"go-jump"}},
        {"View Event", {"appointment-soon"}},
        {"Go to Todays Date", {"go-home"}},
        {"Go to Date", {"go-jump"}},
        {"Refresh Calendar", {"view-refresh"}},
        {"Previous Month", {"go-first"}},
        {"Next Month", {"go-last"}},
        {"Previous Day", {"go-previous"}},
        {"Next Day", {"go-next"}},
        {"Add an Event", {"appointment-new"}},
        {"Update Event", {"document-edit"}},
        {"Acknowledge Event", {"object-select"}},
        {"Delete Event", {"edit-delete"}},
        {"First Page", {"go-first"}},
        {"Previous Page", {"go-previous"}},
        {"Next Page", {"go-next"}},
        {"Last Page", {"go-last"}},
        {"Page Width", {"zoom-fit-best"}},
        {"Full Page", {"zoom-original"}},
        {"Return to Tessaly", {"go-up"}},
        {"New Layout", {"document-new"}},
        {"Open Layout", {"document-open"}},
        {"Save Layout", {"document-save"}},
        {"Preview Layout", {"document-print-preview"}},
        {"Align Text Left", {"format-justify-left"}},
        {"Centre Text", {"format-justify-center"}},
        {"Align Text Right", {"format-justify-right"}},
        {"Font", {"preferences-desktop-font"}},
        {"Property Editor", {"document-properties"}},
        {"Delete Objects", {"edit-delete"}},
        {"Modified", {"document-save"}},
        {"Notes", {"accessories-text-editor", "text-x-generic"}},
        {"Reminders", {"alarm", "appointment-soon"}},
        {"Tag", {"tag", "bookmark-new"}},
    };
    return names;
}

QIcon ThemeIcon(const QString& hint) {
    static const bool themed = [] {
        // Without a desktop theme of its own the program still looks like the desktop:
        // Adwaita (installed with the program) answers what the theme lacks. Without a
        // desktop session Qt looks in no folder of the system's icon themes.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& dir :
             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            if (!paths.contains(dir + "/icons"))
                paths << dir + "/icons";
        QIcon::setThemeSearchPaths(paths);
        if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor")
            QIcon::setFallbackThemeName("Adwaita");
        if (QIcon::themeName().isEmpty())
            QIcon::setThemeName("Adwaita");
        return true;
    }();
    Q_UNUSED(themed);
    const auto it = ThemeNames().find(hint);
    if (it == ThemeNames().end())
        return QIcon();
    for (const QString& name : it.value())
        for (const QString& candidate : {name, name + "-symbolic"})
            if (QIcon::hasThemeIcon(candidate))
                return QIcon::fromTheme(candidate);
    return QIcon();
}

} // namespace

QIcon ToolIcon(const QString& hint) {
    const QIcon themed = ThemeIcon(hint);
    if (!themed.isNull())
        return themed;
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
