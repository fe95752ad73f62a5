#include "app/call_log/log_update_dlg.h"

#include "app/widgets/date_box.h"
#include "app/widgets/memo_limit.h"
#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr int kCommentLength = 255;

} // namespace

TLogUpdateDlg::TLogUpdateDlg(const QString& caption, const QString& entryName, const TLog& shown,
                             const TFormatSettings& fs, const IClock& clock, QWidget* parent)
    : QDialog(parent), fs_(fs), clock_(clock), shown_(shown) {
    const TLogUpdateForm form = FillLogForm(shown, fs);
    setWindowTitle(caption);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Call to"), 0, 0);
    auto* name = new QLabel(entryName);
    name->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(name, 0, 1, 1, 2);

    number_ = new QLineEdit(ToQString(form.Number));
    number_->setObjectName("Number");
    number_->setMaxLength(255);
    auto* numberLabel = new QLabel("&Number");
    numberLabel->setBuddy(number_);
    grid->addWidget(numberLabel, 1, 0);
    grid->addWidget(number_, 1, 1, 1, 2);

    const auto dateTime = [&](int row, const QString& caption, TDateBox*& date, QLineEdit*& time,
                              const std::string& dateText, const std::string& timeText) {
        date = new TDateBox(fs, clock);
        date->SetText(ToQString(dateText));
        time = new QLineEdit(ToQString(timeText));
        time->setMaximumWidth(80);
        auto* label = new QLabel(caption);
        label->setBuddy(date->Edit());
        grid->addWidget(label, row, 0);
        grid->addWidget(date, row, 1);
        grid->addWidget(time, row, 2);
    };
    dateTime(2, "&Started", startDate_, startTime_, form.StartDate, form.StartTime);
    dateTime(3, "&Finished", endDate_, endTime_, form.EndDate, form.EndTime);
    startDate_->Edit()->setObjectName("StartDate");
    startTime_->setObjectName("StartTime");
    endDate_->Edit()->setObjectName("EndDate");
    endTime_->setObjectName("EndTime");

    comment_ = new QPlainTextEdit(ToQString(form.Comment));
    comment_->setObjectName("Comment");
    comment_->setTabChangesFocus(true);
    comment_->setFixedHeight(comment_->fontMetrics().lineSpacing() * 4 + 12);
    LimitMemo(comment_, kCommentLength);
    auto* commentLabel = new QLabel("&Call Comment");
    commentLabel->setBuddy(comment_);
    grid->addWidget(commentLabel, 4, 0, Qt::AlignTop);
    grid->addWidget(comment_, 4, 1, 1, 2);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TLogUpdateDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(buttons);
    number_->setFocus();
}

void TLogUpdateDlg::accept() {
    TLogUpdateForm form;
    form.StartDate = FromQString(startDate_->Text());
    form.StartTime = FromQString(startTime_->text());
    form.EndDate = FromQString(endDate_->Text());
    form.EndTime = FromQString(endTime_->text());
    form.Number = FromQString(number_->text());
    form.Comment = FromQString(comment_->toPlainText());
    const TLogCheck check = CheckLogForm(form, DateOf(clock_.Now()), fs_, &shown_);
    if (check.Refusal) {
        ShowMessage(*check.Refusal);
        switch (check.Focus) {
        case TLogField::StartDate:
            startDate_->Edit()->setFocus();
            break;
        case TLogField::EndDate:
            endDate_->Edit()->setFocus();
            break;
        case TLogField::Number:
            number_->setFocus();
            break;
        case TLogField::None:
            break;
        }
        return;
    }
    record_ = check.Record;
    QDialog::accept();
}

} // namespace tessaly
