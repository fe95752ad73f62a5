#pragma once
// The diary window's list of one day's events under the header sections icon,
// "Prty", "Time" and "Description": the icon of the row's kind and urgency, the
// priority, the time (empty without one), the description with the notes on a second
// line when they are shown, the alarm picture at the right end of an open event with
// an alarm, and a line under every row.

#include "core/diary/event_index.h"

#include <QTreeWidget>

namespace tessaly {

class TDiaryDayList : public QTreeWidget {
    Q_OBJECT
public:
    explicit TDiaryDayList(QWidget* parent = nullptr);

    // Refills the list with the rows of a day; the first row is selected.
    void Fill(const std::vector<TDayRow>& rows, const TDiaryData& diary, TDateTime today,
              const TFormatSettings& fs);
    // The index of the event in the diary of a row, -1 for none.
    int EventOfRow(int row) const;
    int SelectedRow() const;
    void SelectRow(int row);
    // The row listing an event on its own day first, else any row of it; -1 for none.
    int RowOfEvent(int event) const;

signals:
    // The Delete key.
    void DeletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tessaly
