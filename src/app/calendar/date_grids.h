#pragma once
// The calendar view's month and year tabs: grids of days painted by the view, which
// tells them the selected day, today, and what each day holds. A click selects a day,
// a double click also returns the view to its Day tab.

#include "core/common/date_format.h"
#include "core/common/date_time.h"

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace tessaly {

class TDateGrid : public QWidget {
    Q_OBJECT
public:
    using TLookup = std::function<bool(TDateTime)>;
    explicit TDateGrid(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetSelected(TDateTime day);
    TDateTime Selected() const { return selected_; }
    void SetToday(TDateTime today) { today_ = DateOf(today); }
    void SetHasEvents(TLookup f) { hasEvents_ = std::move(f); }
    void SetFormats(const TFormatSettings& fs) { fs_ = fs; }
    // The cell a day stands in (an empty rectangle when it is not shown).
    virtual QRect DayRect(TDateTime day) const = 0;

signals:
    void DayClicked(TDateTime day);
    void DayDoubleClicked(TDateTime day);

protected:
    // The day under a point, 0 when none.
    virtual TDateTime DayAt(const QPoint& p) const = 0;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool HasEvents(TDateTime day) const { return hasEvents_ && hasEvents_(day); }

    TDateTime selected_ = 0;
    TDateTime today_ = 0;
    TLookup hasEvents_;
    TFormatSettings fs_ = DefaultFormatSettings();
};

// Six weeks of the selected day's month, Sunday first, each cell with its day number
// and small icons of what the day holds.
class TMonthGrid : public TDateGrid {
    Q_OBJECT
public:
    using TIcons = std::function<std::vector<std::string>(TDateTime)>;
    explicit TMonthGrid(QWidget* parent = nullptr);
    void SetIcons(TIcons f) { icons_ = std::move(f); }
    QRect DayRect(TDateTime day) const override;

protected:
    TDateTime DayAt(const QPoint& p) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect CellRect(int cell) const;
    int HeaderHeight() const;
    TIcons icons_;
};

// The selected day's year: 13 columns (weekday initials, then the twelve months) and
// 43 rows (the months' names, then six weeks of days).
class TYearGrid : public TDateGrid {
    Q_OBJECT
public:
    explicit TYearGrid(QWidget* parent = nullptr);
    QRect DayRect(TDateTime day) const override;
    QRect CellRect(int column, int row) const;

protected:
    TDateTime DayAt(const QPoint& p) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int FirstColumnWidth() const;
    int Year() const;
};

} // namespace tessaly
