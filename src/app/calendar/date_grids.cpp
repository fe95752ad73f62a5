#include "app/calendar/date_grids.h"

#include "app/book/reminder_icons.h"
#include "core/diary/calendar_grid.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace tessaly {

namespace {

const QColor kEventDay(255, 255, 160); // a day with events
const QColor kNeighbour(128, 128, 128);

} // namespace

// ---- both grids -----------------------------------------------------------------

void TDateGrid::SetSelected(TDateTime day) {
    selected_ = DateOf(day);
    update();
}

void TDateGrid::mousePressEvent(QMouseEvent* event) {
    const TDateTime day = DayAt(event->position().toPoint());
    if (day != 0)
        emit DayClicked(day);
}

void TDateGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    const TDateTime day = DayAt(event->position().toPoint());
    if (day != 0)
        emit DayDoubleClicked(day);
}

// ---- month ------------------------------------------------------------------------

TMonthGrid::TMonthGrid(QWidget* parent) : TDateGrid(parent) {
    setObjectName("MonthGrid");
    setMinimumSize(7 * 40, 6 * 30);
}

int TMonthGrid::HeaderHeight() const {
    return fontMetrics().height() + 4;
}

QRect TMonthGrid::CellRect(int cell) const {
    const int top = HeaderHeight();
    const int w = width() / 7;
    const int h = (height() - top) / 6;
    return QRect((cell % 7) * w, top + (cell / 7) * h, w, h);
}

QRect TMonthGrid::DayRect(TDateTime day) const {
    const TDateParts p = DecodeDate(selected_);
    const int cell = static_cast<int>(DateOf(day) - MonthGridFirstDay(p.Year, p.Month));
    return cell >= 0 && cell < kMonthGridCells ? CellRect(cell) : QRect();
}

TDateTime TMonthGrid::DayAt(const QPoint& pt) const {
    const TDateParts p = DecodeDate(selected_);
    const TDateTime first = MonthGridFirstDay(p.Year, p.Month);
    for (int cell = 0; cell < kMonthGridCells; ++cell)
        if (CellRect(cell).contains(pt))
            return first + cell;
    return 0;
}

void TMonthGrid::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), palette().base());
    const TDateParts sel = DecodeDate(selected_);
    const TDateTime first = MonthGridFirstDay(sel.Year, sel.Month);
    // The weekday names over the columns.
    for (int c = 0; c < 7; ++c) {
        const QRect cell = CellRect(c);
        const QRect head(cell.left(), 0, cell.width(), HeaderHeight());
        g.fillRect(head, palette().button());
        g.setPen(palette().buttonText().color());
        g.drawText(head, Qt::AlignCenter, ToQString(FormatDateTime("ddd", first + c, fs_)));
    }
    QFont bold = font();
    bold.setBold(true);
    for (int cell = 0; cell < kMonthGridCells; ++cell) {
        const TDateTime day = first + cell;
        const QRect r = CellRect(cell);
        const bool events = HasEvents(day);
        if (events)
            g.fillRect(r, kEventDay);
        if (day == selected_)
            g.fillRect(r.adjusted(1, 1, -1, -1), palette().highlight().color().lighter(170));
        g.setPen(palette().mid().color());
        g.drawRect(r.adjusted(0, 0, -1, -1));
        const TDateParts p = DecodeDate(day);
        QColor number = palette().text().color();
        if (p.Month != sel.Month)
            number = kNeighbour;
        if (day == today_)
            number = Qt::red;
        g.setPen(number);
        g.setFont(day == today_ ? bold : font());
        g.drawText(r.adjusted(3, 1, -3, -1), Qt::AlignLeft | Qt::AlignTop, QString::number(p.Day));
        if (!icons_ || !MonthCellShowsIcons(r.width(), r.height()))
            continue;
        const std::vector<std::string> names = icons_(day);
        for (int i = 0; i < static_cast<int>(names.size()); ++i) {
            const TGridPoint at = MonthIconPosition(r.right() + 1, r.top(), i);
            if (at.Y + 16 > r.bottom())
                break;
            g.drawPixmap(at.X, at.Y, ReminderIcon(ToQString(names[static_cast<std::size_t>(i)])));
        }
    }
}

// ---- year ---------------------------------------------------------------------------

TYearGrid::TYearGrid(QWidget* parent) : TDateGrid(parent) {
    setObjectName("YearGrid");
    setMinimumSize(13 * 24, 43 * 12);
}

int TYearGrid::Year() const {
    return DecodeDate(selected_).Year;
}

int TYearGrid::FirstColumnWidth() const {
    return 2 * fontMetrics().horizontalAdvance('W');
}

QRect TYearGrid::CellRect(int column, int row) const {
    const int first = FirstColumnWidth();
    const double w = (width() - first) / 12.0;
    const double h = height() / static_cast<double>(kYearGridRows);
    const int top = static_cast<int>(row * h);
    const int bottom = static_cast<int>((row + 1) * h);
    if (column == 0)
        return QRect(0, top, first, bottom - top);
    const int left = first + static_cast<int>((column - 1) * w);
    const int right = first + static_cast<int>(column * w);
    return QRect(left, top, right - left, bottom - top);
}

QRect TYearGrid::DayRect(TDateTime day) const {
    if (DecodeDate(day).Year != Year())
        return QRect();
    const TGridPoint c = YearGridCell(day);
    return CellRect(c.X, c.Y);
}

TDateTime TYearGrid::DayAt(const QPoint& pt) const {
    for (int column = 1; column < kYearGridColumns; ++column)
        for (int row = 1; row < kYearGridRows; ++row)
            if (CellRect(column, row).contains(pt))
                return YearGridDay(Year(), column, row);
    return 0;
}

void TYearGrid::mousePressEvent(QMouseEvent* event) {
    // A cell without a day number beeps.
    if (DayAt(event->position().toPoint()) == 0) {
        QApplication::beep();
        return;
    }
    TDateGrid::mousePressEvent(event);
}

void TYearGrid::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.fillRect(rect(), palette().base());
    const int year = Year();
    QFont small = font();
    small.setPointSizeF(std::max(6.0, font().pointSizeF() - 1));
    g.setFont(small);
    for (int column = 0; column < kYearGridColumns; ++column) {
        for (int row = 0; row < kYearGridRows; ++row) {
            const QRect r = CellRect(column, row);
            if (row == 0 || column == 0) {
                g.fillRect(r, palette().button());
                g.setPen(palette().buttonText().color());
                const QString text =
                    row == 0
                        ? (column == 0
                               ? QString()
                               : ToQString(FormatDateTime("mmm", EncodeDate(year, column, 1), fs_)))
                        : ToQString(YearGridWeekday(row));
                g.drawText(r, Qt::AlignCenter, text);
                continue;
            }
            const TDateTime day = YearGridDay(year, column, row);
            if (day == 0)
                continue;
            if (HasEvents(day))
                g.fillRect(r, kEventDay);
            if (day == selected_)
                g.fillRect(r, palette().highlight().color().lighter(150));
            g.setPen(day == today_ ? QColor(Qt::red) : palette().text().color());
            g.drawText(r, Qt::AlignCenter, QString::number(DecodeDate(day).Day));
        }
    }
    g.setPen(palette().mid().color());
    for (int column = 1; column < kYearGridColumns; ++column) {
        const int x = CellRect(column, 0).left();
        g.drawLine(x, 0, x, height());
    }
}

} // namespace tessaly
