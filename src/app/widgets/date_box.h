#pragma once
// A date typed in the short date format, with a button that drops a calendar (years
// 1900 to 2100) down just below the box. The calendar opens on the box's date, or on
// today's date with a beep when the box cannot be read; picking a date writes it into
// the box in the short date format.

#include "core/common/date_format.h"
#include "core/system/clock.h"

#include <QWidget>

class QLineEdit;
class QToolButton;
class QCalendarWidget;

namespace tessaly {

class TDateBox : public QWidget {
    Q_OBJECT
public:
    TDateBox(const TFormatSettings& fs, const IClock& clock, QWidget* parent = nullptr);

    QString Text() const;
    void SetText(const QString& text);
    QLineEdit* Edit() const { return edit_; }
    QToolButton* DropButton() const { return drop_; }
    // The open calendar, null while it is closed.
    QCalendarWidget* Calendar() const { return calendar_; }
    void DropDown();

private:
    void Pick(const QDate& date);

    const TFormatSettings& fs_;
    const IClock& clock_;
    QLineEdit* edit_ = nullptr;
    QToolButton* drop_ = nullptr;
    QCalendarWidget* calendar_ = nullptr;
};

} // namespace tessaly
