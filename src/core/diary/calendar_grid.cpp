#include "core/diary/calendar_grid.h"

#include <algorithm>

namespace tessaly {

TDateTime MonthGridFirstDay(int year, int month) {
    const TDateTime first = EncodeDate(year, month, 1);
    return first - (DayOfWeek(first) - 1);
}

TDateTime YearGridDay(int year, int column, int row) {
    if (column < 1 || column > 12 || row < 1 || row >= kYearGridRows)
        return 0;
    const int w = DayOfWeek(EncodeDate(year, column, 1));
    const int d = row - w + 1;
    if (d < 1 || d > DaysInMonth(year, column))
        return 0;
    return EncodeDate(year, column, d);
}

TGridPoint YearGridCell(TDateTime day) {
    const TDateParts p = DecodeDate(day);
    const int w = DayOfWeek(EncodeDate(p.Year, p.Month, 1));
    return TGridPoint{p.Month, w + p.Day - 1};
}

std::string YearGridWeekday(int row) {
    static const char kInitials[] = "SMTWTFS";
    if (row < 1 || row >= kYearGridRows)
        return std::string();
    return std::string(1, kInitials[(row - 1) % 7]);
}

int DayOfYear(TDateTime day) {
    const TDateParts p = DecodeDate(day);
    return static_cast<int>(DateOf(day) - EncodeDate(p.Year, 1, 1)) + 1;
}

std::string DayOfYearText(TDateTime day) {
    return "Day: " + std::to_string(DayOfYear(day));
}

TDateTime AddMonthsClamped(TDateTime day, int months) {
    const TDateParts p = DecodeDate(day);
    // Months counted from year 0 keep the arithmetic simple for both directions.
    long total = static_cast<long>(p.Year) * 12 + (p.Month - 1) + months;
    total = std::clamp(total, 12L * 1, 12L * 9999 + 11);
    const int year = static_cast<int>(total / 12);
    const int month = static_cast<int>(total % 12) + 1;
    const int d = std::min(p.Day, DaysInMonth(year, month));
    return EncodeDate(year, month, d) + TimeOf(day);
}

TGridPoint MonthIconPosition(int cellRight, int cellTop, int index) {
    return TGridPoint{cellRight - 18 * (index % 2 + 1), cellTop + 1 + 18 * (index / 2)};
}

bool MonthCellShowsIcons(int width, int height) {
    return width > 56 && height > 36;
}

TGridPoint DropDownPosition(TGridPoint mouse, int screenRight, int screenBottom) {
    TGridPoint p = mouse;
    if (screenRight - mouse.X < 100)
        p.X -= 100;
    if (screenBottom - mouse.Y < 100)
        p.Y -= 100;
    return p;
}

} // namespace tessaly
