#pragma once
// TDialDlg ("Dial Telephone Number"): one tab per dialable telephone field of the
// entry's address, the number (editable), its dialling options or the "Dial"
// defaults, and the number as it will be dialled. "&Dial" is open only while there is
// something to dial.

#include "core/telephony/dial_choices.h"
#include "core/telephony/dial_settings.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;

namespace tessaly {

class ITelephony;
class TSettingsAccess;

class TDialDlg : public QDialog {
    Q_OBJECT
public:
    // `access`: for "Dialling properties..." (which sets the own country).
    TDialDlg(const TDialSettings& settings, const TAddress& address, const TTemplate& tmpl,
             bool bookLocked, ITelephony* telephony, TSettingsAccess* access,
             QWidget* parent = nullptr);

    // The tabs with what the user made of them.
    const std::vector<TDialTab>& Tabs() const { return tabs_; }
    int SelectedTab() const;
    // The options the call is made with (the defaults while the tab uses them).
    TDialOptions CallOptions() const;
    std::string DialString() const;
    std::string DisplayString() const;
    // The number called, as the call log records it.
    std::string NumberCalled() const;

    QTabBar* TabBar() const { return tabBar_; }
    QLineEdit* Number() const { return number_; }
    QLabel* Prepared() const { return prepared_; }
    QPushButton* DialButton() const { return dial_; }
    QRadioButton* UseDefaults() const { return useDefaults_; }
    QRadioButton* Override() const { return override_; }
    QCheckBox* Prefix() const { return prefix_; }
    QLineEdit* PrefixText() const { return prefixText_; }
    QCheckBox* Charge() const { return charge_; }
    QCheckBox* Log() const { return log_; }

private:
    void ShowTab(int tab);
    void TakeControls();
    void Recompute();
    std::string Prepare(bool forDialling) const;

    TDialSettings settings_;
    bool locked_;
    ITelephony* telephony_;
    TSettingsAccess* access_;
    std::vector<TDialTab> tabs_;
    int shown_ = -1;
    bool filling_ = false;

    QTabBar* tabBar_ = nullptr;
    QLineEdit* number_ = nullptr;
    QLabel* prepared_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QRadioButton* useDefaults_ = nullptr;
    QRadioButton* override_ = nullptr;
    QCheckBox* prefix_ = nullptr;
    QLineEdit* prefixText_ = nullptr;
    QCheckBox* charge_ = nullptr;
    QCheckBox* log_ = nullptr;
    QLabel* location_ = nullptr;
    QPushButton* dial_ = nullptr;
};

} // namespace tessaly
