#pragma once
// Where days stand in the calendar view's month and year tabs, moving the selected
// day by days and months, and the day header's texts.

#include "core/common/date_format.h"
#include "core/common/date_time.h"

#include <string>

namespace tessaly {

struct TGridPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const TGridPoint&) const = default;
};

// The month tab shows six weeks of seven days, Sunday first, starting with the Sunday
// on or before the 1st of the month.
constexpr int kMonthGridCells = 42;
TDateTime MonthGridFirstDay(int year, int month);

// The year tab: 13 columns and 43 rows; row 0 names the months, column 0 holds the
// weekday initials. Month m's day d stands in column m, row w + d - 1, where w is the
// weekday (1 Sunday to 7 Saturday) of the 1st of the month.
constexpr int kYearGridColumns = 13;
constexpr int kYearGridRows = 43;
// The day in a cell of the grid for `year`; 0 when the cell holds no day.
TDateTime YearGridDay(int year, int column, int row);
// The cell of a day in the grid of its year.
TGridPoint YearGridCell(TDateTime day);
// "S", "M", "T", "W", "T", "F" or "S" for rows 1 to 42; empty for row 0.
std::string YearGridWeekday(int row);

// 1 for 1 January.
int DayOfYear(TDateTime day);
// "Day: %d" with the day of the year.
std::string DayOfYearText(TDateTime day);

// The day moved by whole months, the day of the month lowered to the month's last
// when the target month is shorter (31 March back one month is 28 or 29 February).
TDateTime AddMonthsClamped(TDateTime day, int months);

// The top-left corner of the index-th small icon of a month-tab cell: 18 pixels apart
// leftwards from 18 pixels inside the cell's right edge and 1 pixel below its top,
// two to a row, the next row 18 pixels lower.
TGridPoint MonthIconPosition(int cellRight, int cellTop, int index);
// Icons are drawn only in cells larger than 56 by 36 pixels.
bool MonthCellShowsIcons(int width, int height);

// Where "Go to Date..." opens its drop-down calendar: at the mouse, moved 100 pixels
// left or up when the mouse is within 100 pixels of the right or bottom screen edge.
TGridPoint DropDownPosition(TGridPoint mouse, int screenRight, int screenBottom);

} // namespace tessaly
