#pragma once
// TLogUpdateDlg: a call log record added ("Add New Call Log Record") or changed
// ("Update Call Log Record") by hand: the number, the start and the end each as a
// date with a drop-down calendar and a time, and the comment. OK checks them and
// stays open on a refusal, with the focus on the box to correct.

#include "core/call_log/call_log_form.h"
#include "core/system/clock.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace tessaly {

class TDateBox;

class TLogUpdateDlg : public QDialog {
    Q_OBJECT
public:
    // The boxes show `shown`: the record edited, or a new one starting and ending now.
    TLogUpdateDlg(const QString& caption, const QString& entryName, const TLog& shown,
                  const TFormatSettings& fs, const IClock& clock, QWidget* parent = nullptr);

    // The record as accepted by OK.
    const TLog& Record() const { return record_; }
    void accept() override;

    QLineEdit* Number() const { return number_; }
    TDateBox* StartDate() const { return startDate_; }
    QLineEdit* StartTime() const { return startTime_; }
    TDateBox* EndDate() const { return endDate_; }
    QLineEdit* EndTime() const { return endTime_; }
    QPlainTextEdit* Comment() const { return comment_; }

private:
    const TFormatSettings& fs_;
    const IClock& clock_;
    TLog shown_;
    TLog record_;
    QLineEdit* number_ = nullptr;
    TDateBox* startDate_ = nullptr;
    QLineEdit* startTime_ = nullptr;
    TDateBox* endDate_ = nullptr;
    QLineEdit* endTime_ = nullptr;
    QPlainTextEdit* comment_ = nullptr;
};

} // namespace tessaly
