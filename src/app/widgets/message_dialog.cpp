#include "app/widgets/message_dialog.h"

#include "platform/qt_text.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace tessaly {

namespace {

const char* const kTitles[] = {"Request Denied",
                               "Access Error",
                               "Create Required File ?",
                               "File Name is Invalid",
                               "Validation Failed",
                               "Unknown Error",
                               "Deletion Requested",
                               "Caution - Data Loss Possible",
                               "Function not Set-up",
                               "Search Failed",
                               "Required Field Missing or Invalid",
                               "Attachment Management",
                               "Caution - Changing Default Setting",
                               "Telephone Dialling",
                               "Adjusting Options",
                               "TAPI Failure"};

// The dialog of the program: the kind's icon and heading, the text, the buttons.
class TMessageDlg : public QDialog {
public:
    explicit TMessageDlg(const TMessageRequest& r) {
        setWindowTitle(r.Title);
        setModal(true);
        auto* top = new QHBoxLayout;
        const QStyle::StandardPixmap icons[] = {
            QStyle::SP_MessageBoxWarning, QStyle::SP_MessageBoxCritical,
            QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxQuestion};
        if (r.Kind >= mkWarning && r.Kind <= mkConfirmation) {
            auto* icon = new QLabel;
            icon->setPixmap(style()->standardIcon(icons[r.Kind]).pixmap(32, 32));
            icon->setAlignment(Qt::AlignTop);
            top->addWidget(icon);
        }
        auto* texts = new QVBoxLayout;
        auto* heading = new QLabel(r.Heading);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        texts->addWidget(heading);
        auto* text = new QLabel(r.Text);
        text->setObjectName("MessageText");
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        text->setMinimumWidth(300);
        texts->addWidget(text);
        top->addLayout(texts, 1);
        auto* buttons = new QHBoxLayout;
        buttons->addStretch();
        for (const auto& b : r.Buttons) {
            auto* button = new QPushButton(b.Caption);
            button->setDefault(b.IsDefault);
            button->setAutoDefault(false);
            const int result = b.Result;
            connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
            buttons->addWidget(button);
            if (b.IsDefault)
                button->setFocus();
        }
        buttons->addStretch();
        auto* all = new QVBoxLayout(this);
        all->addLayout(top);
        all->addSpacing(8);
        all->addLayout(buttons);
        cancelResult_ = CancelResult(r.Buttons);
    }

    void reject() override { done(cancelResult_); }

private:
    int cancelResult_ = mrCancel;
};

class TQtPresenter final : public IMessagePresenter {
public:
    int Present(const TMessageRequest& r) override {
        QApplication::beep();
        TMessageDlg dlg(r);
        return dlg.exec();
    }
};

IMessagePresenter* gPresenter = nullptr;

} // namespace

QString MessageTitle(int number) {
    if (number >= mtRequestDenied && number <= mtTapiFailure)
        return QString::fromLatin1(kTitles[number - mtRequestDenied]);
    return QStringLiteral("Tessaly");
}

QString MessageHeading(int kind) {
    switch (kind) {
    case mkWarning:
        return QStringLiteral("Warning - Please Note");
    case mkError:
        return QStringLiteral("Error Encountered");
    case mkInformation:
        return QStringLiteral("Information - Please Note");
    case mkConfirmation:
        return QStringLiteral("Confirmation Required");
    default:
        return QStringLiteral("Unknown Message Type");
    }
}

std::vector<TMessageButton> MessageButtons(int set) {
    switch (set) {
    case mbOkCancel:
        return {{"OK", mrOk, true, false}, {"Cancel", mrCancel, false, true}};
    case mbYesNo:
        return {{"&Yes", mrYes, true, false}, {"&No", mrNo, false, true}};
    case mbAbortRetryIgnore:
        return {{"&Abort", mrAbort, true, false},
                {"&Retry", mrRetry, false, true},
                {"&Ignore", mrIgnore, false, false}};
    case mbYesNoCancel:
        return {{"&Yes", mrYes, true, false},
                {"&No", mrNo, false, false},
                {"Cancel", mrCancel, false, true}};
    case mbYesNoCancelAll:
        return {{"&Yes", mrYes, true, false},
                {"&No", mrNo, false, false},
                {"Cancel", mrCancel, false, true},
                {"Yes to &All", mrIgnore, false, false}};
    default:
        return {{"OK", mrOk, true, false}};
    }
}

int CancelResult(const std::vector<TMessageButton>& buttons) {
    for (const auto& b : buttons)
        if (b.IsCancel)
            return b.Result;
    return buttons.size() == 1 ? buttons.front().Result : mrCancel;
}

void SetMessagePresenter(IMessagePresenter* presenter) {
    gPresenter = presenter;
}

int ShowMessage(int titleNumber, const QString& text, int kind, int buttons) {
    TMessageRequest r;
    r.TitleNumber = titleNumber;
    r.Title = MessageTitle(titleNumber);
    r.Kind = (kind >= mkWarning && kind <= mkNone) ? kind : mkNone;
    r.Heading = MessageHeading(r.Kind);
    r.Text = text;
    r.ButtonSet = (buttons >= mbOk && buttons <= mbYesNoCancelAll) ? buttons : mbOk;
    r.Buttons = MessageButtons(r.ButtonSet);
    static TQtPresenter real;
    IMessagePresenter* presenter = gPresenter ? gPresenter : &real;
    // The arrow for the dialog; the cursor before it comes back afterwards.
    QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    struct Restore {
        ~Restore() { QGuiApplication::restoreOverrideCursor(); }
    } restore;
    return presenter->Present(r);
}

int ShowMessage(const TDialogMessage& message) {
    return ShowMessage(message.Title, ToQString(message.Text), message.Kind, message.Buttons);
}

} // namespace tessaly
