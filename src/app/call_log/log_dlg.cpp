#include "app/call_log/log_dlg.h"

#include "app/book/book.h"
#include "app/widgets/frame.h"
#include "app/widgets/memo_limit.h"
#include "app/widgets/message_dialog.h"
#include "core/common/date_format.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int kCommentLength = 255;

} // namespace

TLogDlg::TLogDlg(IFrame& frame)
    : QWidget(frame.Widget(), Qt::Tool | Qt::WindowStaysOnTopHint), frame_(frame) {
    setObjectName("LogDlg");
    setWindowTitle("Log Current Telephone Call");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Number:"), 0, 0);
    number_ = new QLabel;
    grid->addWidget(number_, 0, 1);
    grid->addWidget(new QLabel("Started:"), 1, 0);
    start_ = new QLabel;
    grid->addWidget(start_, 1, 1);
    grid->addWidget(new QLabel("Duration:"), 2, 0);
    duration_ = new QLabel("00:00:00");
    grid->addWidget(duration_, 2, 1);
    grid->setColumnStretch(1, 1);

    comment_ = new QPlainTextEdit;
    comment_->setObjectName("Comment");
    comment_->setTabChangesFocus(true);
    comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * 4 + 12);
    LimitMemo(comment_, kCommentLength);

    finished_ = new QPushButton("Call Finished");
    ok_ = new QPushButton("OK");
    cancel_ = new QPushButton("Cancel Logging");
    connect(finished_, &QPushButton::clicked, this, &TLogDlg::CallFinished);
    connect(ok_, &QPushButton::clicked, this, &TLogDlg::Accept);
    connect(cancel_, &QPushButton::clicked, this, &TLogDlg::CancelLogging);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(finished_);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);

    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(new QLabel("Comments:"));
    v->addWidget(comment_);
    v->addLayout(buttons);
    hide();
}

bool TLogDlg::StartCallLog(TBook& book, const std::string& number) {
    TRecord* entry = book.CurrentEntry();
    if (!entry)
        return false;
    const TDateTime now = frame_.Clock().Now();
    if (!call_.Start(&book, entry->Stamp, number, now)) {
        ShowMessage(mtRequestDenied, kMsgCallLogBusy, mkInformation, mbOk);
        return false;
    }
    book_ = &book;
    const TFormatSettings& fs = frame_.Settings().FormatSettings;
    number_->setText(ToQString(number));
    start_->setText(ToQString(FormatDateTime("t", now, fs)));
    duration_->setText("00:00:00");
    comment_->clear();
    finished_->show();
    cancel_->setText("Cancel Logging");
    // It comes up over the middle of the frame, where the user is looking.
    adjustSize();
    const QRect frameArea = frame_.Widget()->frameGeometry();
    move(frameArea.center() - QPoint(width() / 2, height() / 2));
    show();
    raise();
    // The book window refreshes its entry after the call: the focus comes here after.
    QTimer::singleShot(0, this, [this] {
        activateWindow();
        comment_->setFocus();
    });
    return true;
}

bool TLogDlg::LoggingFor(const QWidget* book) const {
    return isVisible() && book && call_.LoggingFor(book);
}

void TLogDlg::Tick() {
    if (isVisible() && finished_->isVisible() && call_.Running())
        duration_->setText(ToQString(call_.DurationText(frame_.Clock().Now())));
}

void TLogDlg::CallFinished() {
    QApplication::beep();
    call_.CallFinished(frame_.Clock().Now());
    duration_->setText(ToQString(call_.DurationText(frame_.Clock().Now())));
    finished_->hide();
    cancel_->setText("Cancel");
    comment_->setFocus();
}

std::optional<TDialogMessage> TLogDlg::Complete() {
    TBook* book = book_.data();
    book_.clear();
    hide();
    if (!book || !book->Book()) {
        call_.Cancel();
        return TDialogMessage{kMsgTitleRequestDenied, kMsgCallEntryGone, kMsgKindError,
                              kMsgButtonsOk};
    }
    auto refused =
        call_.Complete(*book->Book(), FromQString(comment_->toPlainText()), frame_.Clock().Now());
    if (!refused) {
        book->RecordChange();
        if (book->EditMode() == kEditViewing)
            book->ShowCurrentEntry();
    }
    return refused;
}

void TLogDlg::Accept() {
    if (const auto refused = Complete())
        ShowMessage(*refused);
}

void TLogDlg::CompleteForShutdown() {
    if (call_.Active())
        Complete();
}

void TLogDlg::CancelLogging() {
    call_.Cancel();
    book_.clear();
    hide();
}

void TLogDlg::closeEvent(QCloseEvent* event) {
    // The close box is "Cancel": nothing is written.
    call_.Cancel();
    book_.clear();
    QWidget::closeEvent(event);
}

void TLogDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CancelLogging();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tessaly
