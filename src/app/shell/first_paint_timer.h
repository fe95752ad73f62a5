#pragma once
// `--time-first-paint`: measures how long the program takes from its start to the
// first painted entry list of a book window (or day list of a diary window), prints it
// and ends the program. For timing the opening of a large book or diary as a user
// sees it.

#include <QObject>
#include <chrono>

namespace tessaly {

class TFirstPaintTimer : public QObject {
    Q_OBJECT
public:
    // `start` is when the program started.
    explicit TFirstPaintTimer(std::chrono::steady_clock::time_point start,
                              QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::chrono::steady_clock::time_point start_;
    bool seen_ = false;
};

} // namespace tessaly
