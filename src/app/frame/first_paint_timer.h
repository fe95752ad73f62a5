#pragma once
// `--time-first-paint`: measures how long the program takes from its start to the
// first painted entry list of a book window (or day list of a diary window), prints it
// and ends the program. For timing the opening of a large book or diary as a user
// sees it. `--time-calendar` does the same for a diary shown in the calendar view's
// month tab.

#include <QObject>
#include <chrono>

namespace tessaly {

class TFirstPaintTimer : public QObject {
    Q_OBJECT
public:
    // The entry list (or a diary's day list), or the calendar view's month tab.
    enum class TTarget { EntryList, MonthView };
    // `start` is when the program started.
    explicit TFirstPaintTimer(std::chrono::steady_clock::time_point start,
                              TTarget target = TTarget::EntryList, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a paint of `watched` is the first of; null when it is not one we wait for.
    const char* Seen(QObject* watched) const;

    std::chrono::steady_clock::time_point start_;
    TTarget target_;
    bool seen_ = false;
};

} // namespace tessaly
