#pragma once
// TLogDlg ("Log Current Telephone Call"): the window that times a call dialled from
// an entry and writes its record when the user presses OK. It lives for the whole run,
// hidden while no call is being logged, and stays on top while the user talks.

#include "core/call_log/call_logging.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tessaly {

class IFrame;
class TBook;

class TLogDlg : public QWidget {
    Q_OBJECT
public:
    explicit TLogDlg(IFrame& frame);

    // Starts logging a call to the book's current entry. While another call is being
    // logged nothing changes and the user is told (false).
    bool StartCallLog(TBook& book, const std::string& number);
    // Logging a call for this book window.
    bool LoggingFor(const QWidget* book) const;
    // The frame timer's tick: the running duration.
    void Tick();
    // The program is ending on a signal, with no one to answer: the call being logged
    // is written as OK would write it (ending now, with the comment typed so far), so
    // that the book closes with it.
    void CompleteForShutdown();

    const TCallLogging& Call() const { return call_; }
    QLabel* NumberLabel() const { return number_; }
    QLabel* StartLabel() const { return start_; }
    QLabel* DurationLabel() const { return duration_; }
    QPlainTextEdit* Comment() const { return comment_; }
    QPushButton* FinishedButton() const { return finished_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CallFinished();
    void Accept();
    // OK's work; the message when the entry is gone.
    std::optional<TDialogMessage> Complete();
    void CancelLogging();

    IFrame& frame_;
    TCallLogging call_;
    QPointer<TBook> book_;
    QLabel* number_ = nullptr;
    QLabel* start_ = nullptr;
    QLabel* duration_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
    QPushButton* finished_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tessaly
