#include "app/dial/modem_form.h"

#include "app/widgets/message_dialog.h"
#include "core/telephony/telephony.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QLineEdit* Edit(const char* name, int maxLength) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    e->setMaxLength(maxLength);
    return e;
}

QCheckBox* Check(const char* caption, const char* name) {
    auto* c = new QCheckBox(caption);
    c->setObjectName(name);
    return c;
}

} // namespace

TModemForm::TModemForm(TSettingsAccess& access, ITelephony* telephony, QWidget* parent)
    : QDialog(parent), access_(access), telephony_(telephony) {
    setObjectName("TModemForm");
    setWindowTitle("Modem Configuration");
    auto* v = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    v->addWidget(tabs_);

    // ---- "Modem" ----
    auto* modemPage = new QWidget;
    auto* mv = new QVBoxLayout(modemPage);
    auto* using_ = new QHBoxLayout;
    method_ = new QComboBox;
    method_->setObjectName("DialUsing");
    method_->addItems({"Direct Modem Dialling", "Manual Dialling", "Windows TAPI Dialling"});
    auto* usingLabel = new QLabel("Dial Using:");
    usingLabel->setBuddy(method_);
    using_->addWidget(usingLabel);
    using_->addWidget(method_, 1);
    mv->addLayout(using_);
    noLine_ = new QLabel;
    noLine_->setObjectName("NoLine");
    noLine_->setWordWrap(true);
    noLine_->setVisible(false);
    mv->addWidget(noLine_);

    modemBox_ = new QGroupBox("Modem Settings");
    auto* mf = new QFormLayout(modemBox_);
    reset_ = Edit("Reset", 255);
    init_ = Edit("InitStr", 255);
    hangUp_ = Edit("HangUp", 255);
    timeout_ = new QSpinBox;
    timeout_->setObjectName("TimeOut");
    timeout_->setRange(kMinModemTimeout, kMaxModemTimeout);
    noTone_ = Check("Dis&able Calling Tone", "NoCallingTone");
    mf->addRow("&Reset String:", reset_);
    mf->addRow("Initialisation &String:", init_);
    mf->addRow("&Hang Up String:", hangUp_);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(timeout_);
    timeRow->addStretch(1);
    timeRow->addWidget(noTone_);
    auto* timeLabel = new QLabel("Modem &Time-out ");
    timeLabel->setBuddy(timeout_);
    mf->addRow(timeLabel, timeRow);
    mv->addWidget(modemBox_);

    auto* lower = new QHBoxLayout;
    dialTypeBox_ = new QGroupBox("Dial Type");
    auto* dt = new QVBoxLayout(dialTypeBox_);
    tone_ = new QRadioButton("T&one");
    tone_->setObjectName("Tone");
    pulse_ = new QRadioButton("Pul&se");
    pulse_->setObjectName("Pulse");
    dt->addWidget(tone_);
    dt->addWidget(pulse_);
    lower->addWidget(dialTypeBox_);
    portBox_ = new QGroupBox("Settings");
    auto* pf = new QFormLayout(portBox_);
    port_ = new QComboBox;
    port_->setObjectName("Port");
    port_->setEditable(true); // COM1-COM4, or any device path
    for (auto p : kPortChoices)
        port_->addItem(QString::fromLatin1(p.data(), static_cast<qsizetype>(p.size())));
    baud_ = new QComboBox;
    baud_->setObjectName("Baud");
    for (auto b : kBaudChoices)
        baud_->addItem(QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size())));
    pf->addRow("&Port:", port_);
    pf->addRow("&Baud:", baud_);
    lower->addWidget(portBox_, 1);
    mv->addLayout(lower);

    deviceBox_ = new QGroupBox("Telephony Device");
    auto* df = new QVBoxLayout(deviceBox_);
    device_ = new QComboBox;
    device_->setObjectName("Device");
    auto* deviceLabel = new QLabel("Device to Use:");
    deviceLabel->setBuddy(device_);
    auto* props = new QPushButton("Device Properties...");
    props->setObjectName("DeviceProperties");
    df->addWidget(deviceLabel);
    df->addWidget(device_);
    df->addWidget(props, 0, Qt::AlignLeft);
    mv->addWidget(deviceBox_);
    mv->addStretch(1);
    tabs_->addTab(modemPage, "Modem");

    // ---- "Auto-Dial" ----
    auto* autoPage = new QWidget;
    auto* av = new QVBoxLayout(autoPage);
    redial_ = Check("&Enable Automatic Re-Dial", "Redial");
    delay_ = new QSpinBox;
    delay_->setObjectName("RedialDelay");
    delay_->setRange(kMinRedialDelay, kMaxRedialDelay);
    delayLabel_ = new QLabel("&Delay between Re-Dials (Seconds)  ");
    delayLabel_->setBuddy(delay_);
    av->addWidget(redial_);
    auto* delayRow = new QHBoxLayout;
    delayRow->addWidget(delayLabel_);
    delayRow->addWidget(delay_);
    delayRow->addStretch(1);
    av->addLayout(delayRow);
    auto* defaults = new QGroupBox("Default Dialling Options");
    auto* dv = new QVBoxLayout(defaults);
    log_ = Check("&Log Calls to Telephone Log", "LogCalls");
    prefix_ = Check("Prefix Call &with", "UsePrefix");
    prefixText_ = Edit("DefaultPrefix", 255);
    charge_ = Check("&Use Credit Card / Charge Dialling", "ChargeDialling");
    dv->addWidget(log_);
    auto* prefixRow = new QHBoxLayout;
    prefixRow->addWidget(prefix_);
    prefixRow->addWidget(prefixText_, 1);
    dv->addLayout(prefixRow);
    dv->addWidget(charge_);
    av->addWidget(defaults);
    av->addStretch(1);
    tabs_->addTab(autoPage, "Auto-Dial");

    // ---- "General" ----
    auto* generalPage = new QWidget;
    auto* gv = new QVBoxLayout(generalPage);
    locationBox_ = new QGroupBox("Location Settings");
    auto* lf = new QFormLayout(locationBox_);
    country_ = Edit("CountryCode", 20);
    local_ = Edit("LocalCode", 20);
    lf->addRow("&Country Dialling Code", country_);
    lf->addRow("&Local Area Code", local_);
    gv->addWidget(locationBox_);
    chargeBox_ = new QGroupBox("Credit Card / Charge Dialling");
    auto* cf = new QFormLayout(chargeBox_);
    pin_ = Edit("PIN", 255);
    provider_ = Edit("Provider", 255);
    cf->addRow("Accoun&t Number", pin_);
    cf->addRow("Pro&vider Code", provider_);
    pinBefore_ = new QRadioButton("Dial Account Number before Telephone Number");
    pinBefore_->setObjectName("PinBefore");
    pinAfter_ = new QRadioButton("Dial Account Number after Telephone Number");
    pinAfter_->setObjectName("PinAfter");
    cf->addRow(pinBefore_);
    cf->addRow(pinAfter_);
    gv->addWidget(chargeBox_);
    lineBox_ = new QGroupBox("Dialling from:");
    auto* lv = new QVBoxLayout(lineBox_);
    location_ = new QLabel;
    location_->setObjectName("Location");
    auto* properties = new QPushButton("Dialling properties...");
    properties->setObjectName("DiallingProperties");
    auto* notes = new QLabel(
        "Numbers are translated for the country shown: numbers stored with their country "
        "code (+44 20 7946 0000) are dialled as they are, others as numbers of this country.");
    notes->setWordWrap(true);
    lv->addWidget(location_);
    lv->addWidget(properties, 0, Qt::AlignLeft);
    lv->addWidget(notes);
    gv->addWidget(lineBox_);
    gv->addStretch(1);
    tabs_->addTab(generalPage, "General");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    v->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TModemForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TModemForm::reject);

    connect(method_, &QComboBox::currentIndexChanged, this, &TModemForm::MethodChanged);
    connect(redial_, &QCheckBox::toggled, this, [this](bool on) {
        delay_->setEnabled(on);
        delayLabel_->setEnabled(on);
    });
    connect(prefix_, &QCheckBox::toggled, prefixText_, &QWidget::setEnabled);
    // Choosing a device stores it at once.
    connect(device_, &QComboBox::activated, this, [this](int i) {
        access_.WriteInteger(kDialSection, "TAPI ID", device_->itemData(i).toInt());
    });
    connect(props, &QPushButton::clicked, this, [this] {
        const int keep = device_->currentData().toInt();
        device_->clear();
        if (telephony_)
            for (const TTelephonyDevice& d : telephony_->DeviceNames())
                device_->addItem(ToQString(d.Name), d.Id);
        device_->setCurrentIndex(std::max(0, device_->findData(keep)));
    });
    connect(properties, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString code =
            QInputDialog::getText(this, "Dialling properties", "&Country Dialling Code",
                                  QLineEdit::Normal, country_->text(), &ok);
        if (!ok)
            return;
        country_->setText(code.trimmed());
        access_.WriteString(kDialSection, "Country-Code", FromQString(country_->text()));
        if (telephony_)
            location_->setText(ToQString(telephony_->LocationName(device_->currentData().toInt())));
    });
    Load();
}

void TModemForm::Load() {
    const TDialSettings s = LoadDialSettings(access_);
    const char* d = kDialSection;
    // What the dialog offers for values never set.
    reset_->setText(ToQString(access_.Exists(d, "Reset") ? s.Reset : "ATZ"));
    init_->setText(ToQString(s.InitStr));
    hangUp_->setText(ToQString(s.HangUp));
    timeout_->setValue(s.ModemTimeout);
    noTone_->setChecked(s.NoCallingTone);
    (s.Pulse ? pulse_ : tone_)->setChecked(true);
    port_->setCurrentText(ToQString(s.Port.empty() ? "COM2" : s.Port));
    const int b = baud_->findText(ToQString(s.Baud));
    baud_->setCurrentIndex(b >= 0 ? b : baud_->findText("9600"));
    redial_->setChecked(s.Redial);
    delay_->setValue(s.RedialDelay);
    delay_->setEnabled(s.Redial);
    delayLabel_->setEnabled(s.Redial);
    log_->setChecked(s.LogCalls);
    prefix_->setChecked(s.UsePrefix);
    prefixText_->setText(ToQString(s.DefaultPrefix));
    prefixText_->setEnabled(s.UsePrefix);
    charge_->setChecked(s.ChargeDialling);
    country_->setText(ToQString(s.CountryCode));
    local_->setText(ToQString(s.LocalCode));
    pin_->setText(ToQString(s.Pin));
    provider_->setText(ToQString(s.Provider));
    (s.DialPinBefore ? pinBefore_ : pinAfter_)->setChecked(true);

    if (telephony_) {
        for (const TTelephonyDevice& dev : telephony_->DeviceNames())
            device_->addItem(ToQString(dev.Name), dev.Id);
        device_->setCurrentIndex(std::max(0, device_->findData(s.TapiId)));
        location_->setText(ToQString(telephony_->LocationName(s.TapiId)));
    }
    // The telephony choice needs a line that can place calls.
    const bool line = telephony_ && telephony_->Available();
    if (!line) {
        // The choice says why it cannot be taken; the other methods are not told.
        const QString why = ToQString(telephony_ ? telephony_->Unavailable()
                                                 : std::string("Telephony dialling is not "
                                                               "available on this computer."));
        if (auto* model = qobject_cast<QStandardItemModel*>(method_->model())) {
            model->item(kTelephony)->setEnabled(false);
            model->item(kTelephony)->setToolTip(why);
        }
        noLine_->setText(why);
    }
    lineMissing_ = !line;
    // An absent "Use TAPI" counts as on, as long as there is a line to use.
    const bool useTapi = access_.ReadBool(d, "Use TAPI", true) && line;
    method_->setCurrentIndex(useTapi ? kTelephony : s.UseModem ? kDirectModem : kManual);
    MethodChanged();
}

void TModemForm::MethodChanged() {
    const int m = method_->currentIndex();
    const bool modem = m == kDirectModem;
    const bool tapi = m == kTelephony;
    modemBox_->setVisible(modem);
    dialTypeBox_->setVisible(modem);
    portBox_->setVisible(modem);
    deviceBox_->setVisible(tapi);
    lineBox_->setVisible(tapi);
    locationBox_->setVisible(!tapi);
    chargeBox_->setVisible(!tapi);
    prefix_->setVisible(!tapi);
    prefixText_->setVisible(!tapi);
    charge_->setVisible(!tapi);
    noLine_->setVisible(tapi && lineMissing_);
    // The form grows to hold what the method shows; it keeps any larger size.
    if (QLayout* l = layout()) {
        l->activate();
        resize(size().expandedTo(sizeHint()));
    }
}

void TModemForm::accept() {
    TDialSettings s = LoadDialSettings(access_);
    s.UseModem = method_->currentIndex() == kDirectModem;
    s.UseTapi = method_->currentIndex() == kTelephony;
    s.Port = FromQString(port_->currentText().trimmed());
    s.Baud = FromQString(baud_->currentText());
    s.Reset = FromQString(reset_->text());
    s.InitStr = FromQString(init_->text());
    s.HangUp = FromQString(hangUp_->text());
    s.Pulse = pulse_->isChecked();
    s.NoCallingTone = noTone_->isChecked();
    s.ModemTimeout = timeout_->value();
    s.Redial = redial_->isChecked();
    s.RedialDelay = delay_->value();
    s.CountryCode = FromQString(country_->text().trimmed());
    s.LocalCode = FromQString(local_->text().trimmed());
    s.Provider = FromQString(provider_->text());
    s.Pin = FromQString(pin_->text());
    s.DialPinBefore = pinBefore_->isChecked();
    s.UsePrefix = prefix_->isChecked();
    s.DefaultPrefix = FromQString(prefixText_->text());
    s.ChargeDialling = charge_->isChecked();
    s.LogCalls = log_->isChecked();
    if (s.Port.empty()) {
        ShowMessage(mtRequiredField, "Please enter the Port the Modem is connected to", mkWarning,
                    mbOk);
        tabs_->setCurrentIndex(0);
        port_->setFocus();
        return;
    }
    try {
        SaveDialSettings(access_, s);
    } catch (const TSettingsWriteError& e) {
        ShowMessage(mtAccessError, SystemTextToQString(e.what()), mkError, mbOk);
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
