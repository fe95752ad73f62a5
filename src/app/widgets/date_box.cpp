#include "app/widgets/date_box.h"

#include "platform/qt_text.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace tessaly {

namespace {

QDate ToQDate(TDateTime t) {
    const TDateParts p = DecodeDate(t);
    return QDate(p.Year, p.Month, p.Day);
}

} // namespace

TDateBox::TDateBox(const TFormatSettings& fs, const IClock& clock, QWidget* parent)
    : QWidget(parent), fs_(fs), clock_(clock) {
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    edit_ = new QLineEdit;
    edit_->setMaxLength(10);
    drop_ = new QToolButton;
    drop_->setArrowType(Qt::DownArrow);
    drop_->setFocusPolicy(Qt::NoFocus);
    h->addWidget(edit_);
    h->addWidget(drop_);
    setFocusProxy(edit_);
    connect(drop_, &QToolButton::clicked, this, &TDateBox::DropDown);
}

QString TDateBox::Text() const {
    return edit_->text();
}

void TDateBox::SetText(const QString& text) {
    edit_->setText(text);
}

void TDateBox::DropDown() {
    const TDateTime today = DateOf(clock_.Now());
    const auto date = ParseDate(FromQString(edit_->text()), fs_, today);
    if (!date)
        QApplication::beep();
    QDate shown = ToQDate(date.value_or(today));
    const QDate first(1900, 1, 1), last(2100, 12, 31);
    if (shown < first || shown > last)
        shown = ToQDate(today);
    delete calendar_;
    calendar_ = new QCalendarWidget(this);
    calendar_->setWindowFlags(Qt::Popup);
    calendar_->setAttribute(Qt::WA_DeleteOnClose);
    calendar_->setObjectName("DropDownCalendar");
    calendar_->setDateRange(first, last);
    calendar_->setSelectedDate(shown);
    calendar_->setGridVisible(true);
    connect(calendar_, &QCalendarWidget::clicked, this, &TDateBox::Pick);
    connect(calendar_, &QCalendarWidget::activated, this, &TDateBox::Pick);
    connect(calendar_, &QObject::destroyed, this, [this] { calendar_ = nullptr; });
    calendar_->move(edit_->mapToGlobal(QPoint(0, edit_->height())));
    calendar_->show();
}

void TDateBox::Pick(const QDate& date) {
    const TDateTime t = EncodeDate(date.year(), date.month(), date.day());
    edit_->setText(ToQString(FormatDateTime("ddddd", t, fs_)));
    if (calendar_)
        calendar_->close();
    edit_->setFocus();
}

} // namespace tessaly
