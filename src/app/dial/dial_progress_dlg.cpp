#include "app/dial/dial_progress_dlg.h"

#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"
#include "platform/serial_port.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tessaly {

TDialProgressDlg::TDialProgressDlg(const TDialSettings& settings, const std::string& dial,
                                   const std::string& display, TComm32* port, ITelephony* telephony,
                                   const IClock& clock, QWidget* parent)
    : QDialog(parent), dial_(dial), display_(display), port_(port) {
    setObjectName("TDialProgressDlg");
    setWindowTitle("Dialler");
    setModal(true);
    if (!port_)
        port_ = new TComm32(this);
    IDiallerEvents& events = *this;
    dialler_ = std::make_unique<TDialler>(settings, port_, telephony, clock, events);
    connect(port_, &TComm32::ReceiveData, this, [this](const QByteArray& data) {
        dialler_->Received(
            std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    });
    connect(port_, &TComm32::RequestHangup, this, [this] { dialler_->HangupRequested(); });

    auto* v = new QVBoxLayout(this);
    title_ = new QLabel;
    title_->setObjectName("Title");
    QFont bold = title_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    title_->setFont(bold);
    section_ = new QLabel;
    section_->setObjectName("Section");
    output_ = new QLabel;
    output_->setObjectName("Output");
    output_->setAlignment(Qt::AlignCenter);
    output_->setMinimumHeight(40);
    output_->setFrameShape(QFrame::Panel);
    output_->setFrameShadow(QFrame::Sunken);
    output_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    status_ = new QLabel;
    status_->setObjectName("Status");
    ignore_ = new QCheckBox("&Ignore Time-Out");
    ignore_->setObjectName("IgnoreTimeOut");
    ignore_->setVisible(false);
    connect(ignore_, &QCheckBox::toggled, this,
            [this](bool on) { dialler_->SetIgnoreTimeout(on); });
    v->addWidget(title_);
    v->addWidget(section_);
    v->addWidget(output_);
    v->addWidget(status_);
    auto* row = new QHBoxLayout;
    row->addWidget(ignore_);
    row->addStretch(1);
    cancel_ = new QPushButton("Cancel");
    cancel_->setObjectName("Cancel");
    cancel_->setAutoDefault(false);
    ok_ = new QPushButton("OK");
    ok_->setObjectName("OK");
    ok_->setEnabled(false);
    row->addWidget(cancel_);
    row->addWidget(ok_);
    v->addLayout(row);
    connect(ok_, &QPushButton::clicked, this, [this] { dialler_->PressOk(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { dialler_->PressCancel(); });
    setMinimumWidth(380);

    ticker_ = new QTimer(this);
    ticker_->setInterval(100);
    connect(ticker_, &QTimer::timeout, this, [this] { dialler_->Tick(); });
}

TDialProgressDlg::~TDialProgressDlg() {
    ticker_->stop();
    // A dialog closed from outside still lets the modem go.
    if (port_->IsOpen())
        port_->Close();
}

void TDialProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    // The call starts once the dialog is on the screen.
    QTimer::singleShot(0, this, [this] {
        ticker_->start();
        dialler_->Start(dial_, display_);
    });
}

void TDialProgressDlg::reject() {
    // Escape and the close box are the Cancel button; the dialog closes when the
    // dialler has let the line go.
    if (dialler_->Done() || !started_) {
        QDialog::reject();
        return;
    }
    dialler_->PressCancel();
}

void TDialProgressDlg::ScreenChanged() {
    const TDiallerScreen& s = dialler_->Screen();
    title_->setText(ToQString(s.Title));
    section_->setText(ToQString(s.Section));
    output_->setText(ToQString(s.Output));
    QFont f = font();
    if (s.LargeOutput) {
        f.setPointSizeF(f.pointSizeF() * 2);
        f.setBold(true);
    }
    output_->setFont(f);
    status_->setText(ToQString(s.Status));
    ignore_->setVisible(s.IgnoreVisible);
    ok_->setText(ToQString(s.OkCaption));
    ok_->setEnabled(s.OkEnabled);
    ok_->setDefault(s.OkEnabled);
    if (s.OkFocused && s.OkEnabled)
        ok_->setFocus();
}

void TDialProgressDlg::Beep() {
    QApplication::beep();
}

void TDialProgressDlg::Message(const TDialogMessage& m) {
    ShowMessage(m.Title, ToQString(m.Text), m.Kind, m.Buttons);
}

void TDialProgressDlg::Finished(int result) {
    ticker_->stop();
    // Closed from the event loop: the dialler's call stack unwinds first.
    QTimer::singleShot(0, this, [this, result] { done(result); });
}

int RunDialler(const TDialSettings& settings, const std::string& dial, const std::string& display,
               ITelephony* telephony, QWidget* parent) {
    TDialProgressDlg dlg(settings, dial, display, nullptr, telephony, SystemClock::Instance(),
                         parent);
    return dlg.exec();
}

} // namespace tessaly
