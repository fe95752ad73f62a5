#pragma once
// TDialProgressDlg ("Dialler"): the modal dialog that places one call and shows its
// progress. It hosts a TDialler: a 100 ms timer lets time pass, the serial port's
// bytes and hang-up requests arrive through its queued signals, and the buttons and
// "&Ignore Time-Out" go to the dialler. The dialog closes itself with the dialler's
// result (1 confirmed, 2 cancelled, 0 otherwise).

#include "core/system/clock.h"
#include "core/telephony/dialler.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace tessaly {

class ITelephony;
class TComm32;

class TDialProgressDlg : public QDialog, private IDiallerEvents {
    Q_OBJECT
public:
    // `port`: the serial port to dial on (a port of its own when null). `telephony`:
    // the line for the telephony method.
    TDialProgressDlg(const TDialSettings& settings, const std::string& dial,
                     const std::string& display, TComm32* port = nullptr,
                     ITelephony* telephony = nullptr, const IClock& clock = SystemClock::Instance(),
                     QWidget* parent = nullptr);
    ~TDialProgressDlg() override;

    TDialler& Dialler() { return *dialler_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QCheckBox* IgnoreTimeOut() const { return ignore_; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ScreenChanged() override;
    void Beep() override;
    void Message(const TDialogMessage& message) override;
    void Finished(int result) override;

    std::string dial_;
    std::string display_;
    TComm32* port_ = nullptr;
    std::unique_ptr<TDialler> dialler_;
    bool started_ = false;
    QTimer* ticker_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* section_ = nullptr;
    QLabel* output_ = nullptr;
    QLabel* status_ = nullptr;
    QCheckBox* ignore_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Shows the dialler for one call and returns its result.
int RunDialler(const TDialSettings& settings, const std::string& dial, const std::string& display,
               ITelephony* telephony, QWidget* parent);

} // namespace tessaly
