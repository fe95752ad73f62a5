#include "app/dial/dial_dialog.h"

#include "core/common/text.h"
#include "core/settings/settings_access.h"
#include "core/telephony/number.h"
#include "core/telephony/telephony.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace tessaly {

TDialDlg::TDialDlg(const TDialSettings& settings, const TAddress& address, const TTemplate& tmpl,
                   bool bookLocked, ITelephony* telephony, TSettingsAccess* access, QWidget* parent)
    : QDialog(parent), settings_(settings), locked_(bookLocked), telephony_(telephony),
      access_(access), tabs_(DialTabs(address, tmpl, settings)) {
    setObjectName("TDialDlg");
    setWindowTitle("Dial Telephone Number");
    auto* v = new QVBoxLayout(this);

    tabBar_ = new QTabBar;
    tabBar_->setObjectName("Tabs");
    tabBar_->setExpanding(false);
    for (const TDialTab& t : tabs_)
        tabBar_->addTab(ToQString(t.Caption.empty() ? std::string("Telephone") : t.Caption));
    v->addWidget(tabBar_);

    auto* form = new QFormLayout;
    number_ = new QLineEdit;
    number_->setObjectName("Number");
    number_->setMaxLength(255);
    auto* numberLabel = new QLabel("&Telephone Number");
    numberLabel->setBuddy(number_);
    form->addRow(numberLabel, number_);
    prepared_ = new QLabel;
    prepared_->setObjectName("Prepared");
    prepared_->setFrameShape(QFrame::Panel);
    prepared_->setFrameShadow(QFrame::Sunken);
    prepared_->setMinimumHeight(24);
    QFont big = prepared_->font();
    big.setBold(true);
    prepared_->setFont(big);
    auto* preparedLabel = new QLabel("Number to be Dialled");
    form->addRow(preparedLabel, prepared_);
    v->addLayout(form);
    // A caption with a mnemonic can be measured narrower than it is drawn in some
    // fonts; both keep room for their whole text and a letter more.
    for (QLabel* caption : {numberLabel, preparedLabel})
        caption->setMinimumWidth(
            caption->fontMetrics().horizontalAdvance(QString(caption->text()).remove('&') + 'n'));

    pages_ = new QStackedWidget;
    // The default page: the field's options or the "Dial" defaults.
    auto* defaults = new QGroupBox("Dialling Options");
    auto* dv = new QVBoxLayout(defaults);
    useDefaults_ = new QRadioButton("Use Default &Settings");
    useDefaults_->setObjectName("UseDefaults");
    override_ = new QRadioButton("&Override Default Settings");
    override_->setObjectName("Override");
    prefix_ = new QCheckBox("Prefix Call &with");
    prefix_->setObjectName("Prefix");
    prefixText_ = new QLineEdit;
    prefixText_->setObjectName("PrefixText");
    prefixText_->setMaxLength(255);
    charge_ = new QCheckBox("&Use Credit Card / Charge Dialling");
    charge_->setObjectName("Charge");
    dv->addWidget(useDefaults_);
    dv->addWidget(override_);
    auto* prefixRow = new QHBoxLayout;
    prefixRow->addWidget(prefix_);
    prefixRow->addWidget(prefixText_, 1);
    dv->addLayout(prefixRow);
    dv->addWidget(charge_);
    pages_->addWidget(defaults);
    // The telephony page: where numbers are translated for.
    auto* line = new QGroupBox("Dialling from:");
    auto* lv = new QVBoxLayout(line);
    location_ = new QLabel("N/A");
    location_->setObjectName("Location");
    auto* properties = new QPushButton("Dialling properties...");
    properties->setObjectName("DiallingProperties");
    lv->addWidget(location_);
    lv->addWidget(properties, 0, Qt::AlignLeft);
    pages_->addWidget(line);
    v->addWidget(pages_);
    log_ = new QCheckBox("&Log Call to Telephone Log");
    log_->setObjectName("Log");
    v->addWidget(log_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    dial_ = new QPushButton("&Dial");
    dial_->setObjectName("Dial");
    dial_->setDefault(true);
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("Cancel");
    buttons->addWidget(dial_);
    buttons->addWidget(cancel);
    v->addLayout(buttons);
    connect(dial_, &QPushButton::clicked, this, [this] {
        TakeControls();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    if (settings_.UseTapi) {
        pages_->setCurrentIndex(1);
        if (telephony_)
            location_->setText(ToQString(telephony_->LocationName(settings_.TapiId)));
    }
    connect(properties, &QPushButton::clicked, this, [this] {
        bool ok = false;
        const QString code =
            QInputDialog::getText(this, "Dialling properties", "&Country Dialling Code",
                                  QLineEdit::Normal, ToQString(settings_.CountryCode), &ok);
        if (!ok)
            return;
        settings_.CountryCode = FromQString(code.trimmed());
        if (access_)
            access_->WriteString(kDialSection, "Country-Code", settings_.CountryCode);
        Recompute();
        if (telephony_)
            location_->setText(ToQString(telephony_->LocationName(settings_.TapiId)));
    });

    connect(tabBar_, &QTabBar::currentChanged, this, [this](int tab) {
        if (filling_)
            return;
        TakeControls();
        ShowTab(tab);
    });
    const auto changed = [this] {
        if (filling_)
            return;
        TakeControls();
        ShowTab(shown_);
    };
    connect(number_, &QLineEdit::textEdited, this, changed);
    connect(useDefaults_, &QRadioButton::toggled, this, changed);
    connect(prefix_, &QCheckBox::toggled, this, changed);
    connect(prefixText_, &QLineEdit::textEdited, this, changed);
    connect(charge_, &QCheckBox::toggled, this, changed);
    connect(log_, &QCheckBox::toggled, this, changed);

    ShowTab(tabs_.empty() ? -1 : 0);
    setMinimumWidth(420);
}

int TDialDlg::SelectedTab() const {
    return shown_;
}

// The controls into the tab shown.
void TDialDlg::TakeControls() {
    if (shown_ < 0 || shown_ >= static_cast<int>(tabs_.size()))
        return;
    TDialTab& t = tabs_[static_cast<std::size_t>(shown_)];
    t.Number = FromQString(number_->text());
    if (settings_.UseTapi) {
        t.Options.Log = log_->isChecked();
        return;
    }
    // The controls show the field's own options only while it overrides the defaults;
    // while the defaults are shown the field's options are kept as they were.
    const bool wasOwn = !t.Options.UseDefaults;
    t.Options.UseDefaults = useDefaults_->isChecked();
    if (wasOwn && !t.Options.UseDefaults) {
        t.Options.Prefix = prefix_->isChecked();
        t.Options.PrefixText = FromQString(prefixText_->text());
        t.Options.Charge = charge_->isChecked();
        t.Options.Log = log_->isChecked();
    }
}

void TDialDlg::ShowTab(int tab) {
    filling_ = true;
    shown_ = tab;
    const bool any = tab >= 0 && tab < static_cast<int>(tabs_.size());
    const TDialTab empty;
    const TDialTab& t = any ? tabs_[static_cast<std::size_t>(tab)] : empty;
    if (any && tabBar_->currentIndex() != tab)
        tabBar_->setCurrentIndex(tab);
    number_->setEnabled(any);
    if (number_->text() != ToQString(t.Number))
        number_->setText(ToQString(t.Number));
    if (settings_.UseTapi) {
        log_->setChecked(t.Options.Log);
        log_->setEnabled(any);
    } else {
        (t.Options.UseDefaults ? useDefaults_ : override_)->setChecked(true);
        const TDialOptions shown = EffectiveDialOptions(t.Options, settings_);
        const bool own = any && !t.Options.UseDefaults;
        prefix_->setChecked(shown.Prefix);
        prefixText_->setText(ToQString(shown.PrefixText));
        charge_->setChecked(shown.Charge);
        log_->setChecked(shown.Log);
        useDefaults_->setEnabled(any);
        override_->setEnabled(any);
        prefix_->setEnabled(own);
        prefixText_->setEnabled(own && shown.Prefix);
        // Charge dialling needs a modem or a telephony line.
        charge_->setEnabled(own && (settings_.UseModem || settings_.UseTapi));
        // A locked book logs no calls.
        log_->setEnabled(own && !locked_);
    }
    filling_ = false;
    Recompute();
}

TDialOptions TDialDlg::CallOptions() const {
    if (shown_ < 0 || shown_ >= static_cast<int>(tabs_.size()))
        return {};
    const TDialTab& t = tabs_[static_cast<std::size_t>(shown_)];
    if (settings_.UseTapi)
        return t.Options;
    return EffectiveDialOptions(t.Options, settings_);
}

std::string TDialDlg::Prepare(bool forDialling) const {
    if (shown_ < 0 || shown_ >= static_cast<int>(tabs_.size()))
        return {};
    const TDialOptions o = CallOptions();
    return PrepareNumber(tabs_[static_cast<std::size_t>(shown_)].Number, o.PrefixText, o.Prefix,
                         forDialling, o.Charge, settings_, telephony_);
}

std::string TDialDlg::DialString() const {
    return Prepare(true);
}

std::string TDialDlg::DisplayString() const {
    return Prepare(false);
}

std::string TDialDlg::NumberCalled() const {
    if (shown_ < 0 || shown_ >= static_cast<int>(tabs_.size()))
        return {};
    return CleanNumber(tabs_[static_cast<std::size_t>(shown_)].Number);
}

void TDialDlg::Recompute() {
    const std::string shown = DisplayString();
    prepared_->setText(ToQString(shown));
    dial_->setEnabled(!Trim(shown).empty());
}

} // namespace tessaly
