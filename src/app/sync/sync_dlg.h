#pragma once
// "Synchronise with Server...": the server's address (the one the book synchronised
// with last, when it did), the user and the password (which the desktop's secret
// service may keep; the settings never do), whether the frame's timer synchronises
// the book on its own, and the round itself with its result. The round runs in the
// background; "Cancel" stops it before its next exchange with the server.

#include <QDialog>
#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tessaly {

class TBook;
class TServerSync;
struct TSyncResult;

class TSyncDlg : public QDialog {
    Q_OBJECT
public:
    TSyncDlg(TBook& book, TServerSync& sync, QWidget* parent = nullptr);

    QLineEdit* ServerField() const { return server_; }
    QLineEdit* UserField() const { return user_; }
    QLineEdit* PasswordField() const { return password_; }
    QCheckBox* KeepPasswordBox() const { return keepPassword_; }
    QCheckBox* AutomaticBox() const { return automatic_; }
    QPushButton* SyncButton() const { return syncButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    QLabel* ResultLabel() const { return result_; }
    QPlainTextEdit* NotesView() const { return notes_; }
    QProgressBar* Progress() const { return progress_; }
    bool RoundRunning() const { return running_; }

    void reject() override;

private:
    void StartRound();
    void RoundEnded(const TSyncResult& result);
    void SetRunning(bool running);
    // Keeps the user and the automatic flag for the book; false after saying why not.
    bool RememberSetup();

    TBook& book_;
    TServerSync& sync_;
    QString path_;
    bool running_ = false;
    bool stopping_ = false;
    bool secretService_ = true; // the desktop's secret service answers
    QLineEdit* server_ = nullptr;
    QLineEdit* user_ = nullptr;
    QLineEdit* password_ = nullptr;
    QCheckBox* keepPassword_ = nullptr;
    QCheckBox* automatic_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* result_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QPushButton* syncButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QTimer* ticker_ = nullptr;
};

} // namespace tessaly
