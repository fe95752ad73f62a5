#pragma once
// TModemForm ("Modem Configuration"): the dialling method, the modem, re-dial, the
// default dialling options, the location and charge dialling, on the tabs "Modem",
// "Auto-Dial" and "General". OK writes the "Dial" settings.

#include "core/settings/settings_access.h"
#include "core/telephony/dial_settings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

namespace tessaly {

class ITelephony;

class TModemForm : public QDialog {
    Q_OBJECT
public:
    // The three entries of "Dial Using:".
    enum { kDirectModem = 0, kManual = 1, kTelephony = 2 };

    TModemForm(TSettingsAccess& access, ITelephony* telephony, QWidget* parent = nullptr);

    void accept() override;

    QTabWidget* Tabs() const { return tabs_; }
    QComboBox* DialUsing() const { return method_; }
    QComboBox* Port() const { return port_; }
    QComboBox* Baud() const { return baud_; }
    QSpinBox* TimeOut() const { return timeout_; }
    QCheckBox* Redial() const { return redial_; }
    QSpinBox* RedialDelay() const { return delay_; }
    QCheckBox* Prefix() const { return prefix_; }
    QLineEdit* PrefixText() const { return prefixText_; }

private:
    void MethodChanged();
    void Load();

    TSettingsAccess& access_;
    ITelephony* telephony_;
    QTabWidget* tabs_ = nullptr;
    QComboBox* method_ = nullptr;
    QLabel* noLine_ = nullptr;
    bool lineMissing_ = false; // no line can place calls: the telephony choice is off
    QGroupBox* modemBox_ = nullptr;
    QGroupBox* dialTypeBox_ = nullptr;
    QGroupBox* portBox_ = nullptr;
    QGroupBox* deviceBox_ = nullptr;
    QLineEdit* reset_ = nullptr;
    QLineEdit* init_ = nullptr;
    QLineEdit* hangUp_ = nullptr;
    QSpinBox* timeout_ = nullptr;
    QCheckBox* noTone_ = nullptr;
    QRadioButton* tone_ = nullptr;
    QRadioButton* pulse_ = nullptr;
    QComboBox* port_ = nullptr;
    QComboBox* baud_ = nullptr;
    QComboBox* device_ = nullptr;
    QCheckBox* redial_ = nullptr;
    QLabel* delayLabel_ = nullptr;
    QSpinBox* delay_ = nullptr;
    QCheckBox* log_ = nullptr;
    QCheckBox* prefix_ = nullptr;
    QLineEdit* prefixText_ = nullptr;
    QCheckBox* charge_ = nullptr;
    QGroupBox* locationBox_ = nullptr;
    QLineEdit* country_ = nullptr;
    QLineEdit* local_ = nullptr;
    QGroupBox* chargeBox_ = nullptr;
    QLineEdit* pin_ = nullptr;
    QLineEdit* provider_ = nullptr;
    QRadioButton* pinBefore_ = nullptr;
    QRadioButton* pinAfter_ = nullptr;
    QGroupBox* lineBox_ = nullptr;
    QLabel* location_ = nullptr;
};

} // namespace tessaly
