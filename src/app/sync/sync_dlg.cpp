#include "app/sync/sync_dlg.h"

#include "app/book/book.h"
#include "app/sync/server_sync.h"
#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QString BookName(const QString& path) {
    return QFileInfo(path).fileName();
}

// The password field holds UTF-8 for the server; the book's texts are not involved.
std::string Utf8(const QString& text) {
    return text.toUtf8().toStdString();
}

bool LooksLikeServer(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && (url.scheme() == "http" || url.scheme() == "https") &&
           !url.host().isEmpty();
}

} // namespace

TSyncDlg::TSyncDlg(TBook& book, TServerSync& sync, QWidget* parent)
    : QDialog(parent), book_(book), sync_(sync), path_(book.FilePath()) {
    setWindowTitle("Synchronise with Server - " + BookName(path_));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    server_ = new QLineEdit(this);
    server_->setObjectName("server");
    server_->setPlaceholderText("https://server.example/dav/");
    server_->setMinimumWidth(360);
    user_ = new QLineEdit(this);
    user_->setObjectName("user");
    password_ = new QLineEdit(this);
    password_->setObjectName("password");
    password_->setEchoMode(QLineEdit::Password);
    keepPassword_ = new QCheckBox("&Keep the password in the desktop's secret service", this);
    automatic_ = new QCheckBox("Synchronise &automatically", this);
    automatic_->setToolTip("The book is synchronised in the background every few minutes "
                           "(Server Sync Interval, on the Network page of Options...)");
    form->addRow("Ser&ver:", server_);
    form->addRow("&User name:", user_);
    form->addRow("&Password:", password_);
    form->addRow(QString(), keepPassword_);
    form->addRow(QString(), automatic_);
    layout->addLayout(form);

    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0); // the round does not say how far it has come
    progress_->setTextVisible(false);
    progress_->hide();
    state_ = new QLabel(this);
    result_ = new QLabel(this);
    result_->setObjectName("result");
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_ = new QPlainTextEdit(this);
    notes_->setReadOnly(true);
    notes_->setMaximumBlockCount(1000);
    notes_->hide();
    layout->addWidget(progress_);
    layout->addWidget(state_);
    layout->addWidget(result_);
    layout->addWidget(notes_);

    auto* buttons = new QDialogButtonBox(this);
    syncButton_ = buttons->addButton("&Synchronise", QDialogButtonBox::AcceptRole);
    closeButton_ = buttons->addButton("&Close", QDialogButtonBox::RejectRole);
    syncButton_->setDefault(true);
    connect(syncButton_, &QPushButton::clicked, this, &TSyncDlg::StartRound);
    connect(closeButton_, &QPushButton::clicked, this, &TSyncDlg::reject);
    layout->addWidget(buttons);

    // What the book synchronised with last, and how.
    server_->setText(PathFromCore(RememberedServer(path_)));
    for (const TServerSyncBook& b : sync_.Books())
        if (PathFromCore(b.Path) == path_) {
            user_->setText(ToQString(b.User));
            automatic_->setChecked(b.Automatic);
        }
    const TStoredPassword stored =
        sync_.Network().LookUpPassword(Utf8(server_->text()), Utf8(user_->text()));
    if (stored.Password && !server_->text().isEmpty() && !user_->text().isEmpty()) {
        password_->setText(QString::fromStdString(*stored.Password));
        keepPassword_->setChecked(true);
    }
    secretService_ = stored.ServiceRuns;
    if (!secretService_) {
        // Never anywhere else: without the service a password lasts for this run.
        keepPassword_->setEnabled(false);
        keepPassword_->setToolTip(
            QString("No secret service answers on this desktop (%1): the password is kept "
                    "in memory until the program ends")
                .arg(QString::fromStdString(stored.Error)));
    }
    (server_->text().isEmpty() ? server_ : user_->text().isEmpty() ? user_ : password_)->setFocus();

    ticker_ = new QTimer(this);
    ticker_->setInterval(200);
    connect(ticker_, &QTimer::timeout, this, [this] {
        const int n = sync_.Exchanges(path_);
        state_->setText(stopping_ ? QString("Stopping after the exchange under way...")
                                  : QString("Synchronising: %1 exchanges with the server").arg(n));
    });
}

bool TSyncDlg::RememberSetup() {
    TServerSyncBook setup;
    setup.Path = PathToCore(path_);
    setup.User = FromQString(user_->text().trimmed());
    setup.Automatic = automatic_->isChecked();
    std::string error;
    if (sync_.Remember(setup, error))
        return true;
    ShowMessage(mtAccessError,
                QString("The settings could not be written.\n\n%1").arg(ToQString(error)), mkError,
                mbOk);
    return false;
}

void TSyncDlg::StartRound() {
    if (running_)
        return;
    const QString server = server_->text().trimmed();
    if (server.isEmpty()) {
        ShowMessage(mtRequiredField,
                    "Give the address of the server, or of the address book on it "
                    "(for example https://server.example/dav/)",
                    mkWarning, mbOk);
        server_->setFocus();
        return;
    }
    if (!LooksLikeServer(server)) {
        ShowMessage(mtValidationFailed,
                    QString("%1 is not the address of a server: it starts with http:// or "
                            "https:// and names the server's host")
                        .arg(server),
                    mkWarning, mbOk);
        server_->setFocus();
        return;
    }
    if (sync_.Running(path_)) {
        ShowMessage(mtRequestDenied,
                    QString("Address Book %1 is being synchronised already; try again when "
                            "that round has ended")
                        .arg(BookName(path_)),
                    mkInformation, mbOk);
        return;
    }
    // The book's own changes go to the file first: the round works on the file.
    if (!book_.BeginServerSync()) {
        ShowMessage(mtRequestDenied,
                    QString("Address Book %1 cannot be synchronised now: it is locked, an "
                            "entry is being edited, or its changes could not be saved")
                        .arg(BookName(path_)),
                    mkInformation, mbOk);
        return;
    }
    RememberSetup();
    TSyncLogin login;
    login.Server = Utf8(server);
    login.User = Utf8(user_->text().trimmed());
    login.Password = Utf8(password_->text());
    if (login.Password.empty())
        login.Password = sync_.PasswordFor(path_, login.Server, login.User);
    else
        sync_.KeepPassword(path_, login.Password);
    notes_->clear();
    if (keepPassword_->isChecked() && !login.User.empty() && !password_->text().isEmpty()) {
        std::string error;
        if (!sync_.Network().StorePassword(login.Server, login.User, login.Password, error))
            notes_->appendPlainText(QString("The password was not kept in the secret service: %1")
                                        .arg(QString::fromStdString(error)));
    }
    result_->clear();
    const bool started = sync_.Start(path_, login,
                                     [self = QPointer<TSyncDlg>(this),
                                      book = QPointer<TBook>(&book_)](const TSyncResult& result) {
                                         if (book)
                                             book->EndServerSync();
                                         if (self)
                                             self->RoundEnded(result);
                                     });
    if (!started) {
        book_.EndServerSync();
        return;
    }
    SetRunning(true);
}

void TSyncDlg::SetRunning(bool running) {
    running_ = running;
    stopping_ = false;
    progress_->setVisible(running);
    server_->setEnabled(!running);
    user_->setEnabled(!running);
    password_->setEnabled(!running);
    keepPassword_->setEnabled(!running && secretService_);
    automatic_->setEnabled(!running);
    syncButton_->setEnabled(!running);
    closeButton_->setText(running ? "Cancel" : "&Close");
    if (running) {
        state_->setText("Synchronising...");
        ticker_->start();
    } else {
        ticker_->stop();
        state_->clear();
    }
}

void TSyncDlg::RoundEnded(const TSyncResult& result) {
    SetRunning(false);
    QString line = SyncResultLine(result);
    if (result.CreatedCollection)
        line =
            QString("Made the address book %1\n").arg(QString::fromStdString(result.Collection)) +
            line;
    result_->setText(line);
    for (const std::string& note : result.Notes)
        notes_->appendPlainText(QString::fromStdString(note));
    notes_->setVisible(!notes_->document()->isEmpty());
    if (!result.Ok)
        ShowMessage(mtAccessError,
                    QString("The sync of %1 stopped: %2\n\nWhat was done is kept: the book holds "
                            "every change received so far and the server every change sent; "
                            "the next sync goes on from there.")
                        .arg(BookName(path_), QString::fromStdString(result.Failure)),
                    mkError, mbOk);
    syncButton_->setFocus();
}

void TSyncDlg::reject() {
    if (running_) {
        // The round ends at its next exchange; the dialog stays until it has.
        stopping_ = true;
        sync_.Stop(path_);
        return;
    }
    if (!server_->text().trimmed().isEmpty())
        RememberSetup();
    QDialog::reject();
}

} // namespace tessaly
