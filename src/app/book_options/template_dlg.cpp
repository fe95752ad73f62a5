#include "app/book_options/template_dlg.h"

#include "app/widgets/message_dialog.h"
#include "core/common/text.h"
#include "core/organise/validation.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

const char* const kKindTexts[] = {"None", "Dial", "Mail"};

} // namespace

TTemplateDlg::TTemplateDlg(bool existing, const TTemplateValues& values,
                           const TTemplateValues& defaults, TStore store, QWidget* parent)
    : QDialog(parent), existing_(existing), oldFormat_(values.AddressFormat), defaults_(defaults),
      store_(std::move(store)) {
    setWindowTitle(existing ? "Edit Address Template" : "Add a New Address Template");
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* nameLabel = new QLabel("Template &Name:", this);
    name_ = new QLineEdit(this);
    name_->setObjectName("TemplateName");
    name_->setMaxLength(255);
    nameLabel->setBuddy(name_);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(name_, 0, 1, 1, 3);
    for (int f = 0; f < 7; ++f) {
        captions_[f] = new QLineEdit(this);
        captions_[f]->setObjectName(QString("Caption%1").arg(f));
        captions_[f]->setMaxLength(255);
        shown_[f] = new QCheckBox("Shown", this);
        grid->addWidget(new QLabel(QString("Field %1:").arg(f + 1), this), f + 1, 0);
        grid->addWidget(captions_[f], f + 1, 1);
        grid->addWidget(shown_[f], f + 1, 2);
        if (f >= 3) {
            const int b = f - 3;
            buttons_[b] = new QPushButton(this);
            buttons_[b]->setObjectName(QString("Button%1").arg(b));
            buttons_[b]->setAutoDefault(false);
            connect(buttons_[b], &QPushButton::clicked, this, [this, b] {
                kinds_[b] = NextButtonKind(kinds_[b]);
                ShowButton(b);
            });
            grid->addWidget(buttons_[b], f + 1, 3);
        }
    }
    auto* formatLabel = new QLabel("Address &Format:", this);
    format_ = new QComboBox(this);
    format_->setObjectName("Format");
    format_->addItems({"Freeform Address ", "Separate Address Fields (as Tessaly V2.x) ",
                       "US Postal Address Format", "UK Postal Address Format"});
    formatLabel->setBuddy(format_);
    grid->addWidget(formatLabel, 8, 0);
    grid->addWidget(format_, 8, 1, 1, 3);
    layout->addLayout(grid);
    include_ = new QCheckBox("&Include for New Entries", this);
    base_ = new QCheckBox("&Base New Templates on this Template", this);
    layout->addWidget(include_);
    layout->addWidget(base_);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* reset = box->addButton("&Default", QDialogButtonBox::ResetRole);
    connect(reset, &QPushButton::clicked, this, [this] {
        const QString name = name_->text();
        Show(defaults_);
        name_->setText(name);
    });
    connect(box, &QDialogButtonBox::accepted, this, &TTemplateDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &TTemplateDlg::reject);
    layout->addWidget(box);
    Show(values);
}

void TTemplateDlg::Show(const TTemplateValues& v) {
    name_->setText(ToQString(v.Name));
    for (int f = 0; f < 7; ++f) {
        captions_[f]->setText(ToQString(v.Captions[f]));
        shown_[f]->setChecked(v.Shown[f] != 0);
    }
    for (int b = 0; b < kTemplateButtons; ++b) {
        kinds_[b] = v.ButtonKinds[b];
        ShowButton(b);
    }
    format_->setCurrentIndex(std::clamp(v.AddressFormat, 0, 3));
    include_->setChecked(v.IncludeForNew);
}

void TTemplateDlg::ShowButton(int b) {
    buttons_[b]->setText(kKindTexts[std::clamp(kinds_[b], 0, 2)]);
}

TTemplateValues TTemplateDlg::Values() const {
    TTemplateValues v;
    v.Name = FromQString(name_->text());
    for (int f = 0; f < 7; ++f) {
        v.Captions[f] = CleanShort(FromQString(captions_[f]->text()));
        v.Shown[f] = shown_[f]->isChecked() ? 1 : 0;
    }
    v.ButtonKinds = kinds_;
    v.AddressFormat = format_->currentIndex();
    v.IncludeForNew = include_->isChecked();
    return v;
}

void TTemplateDlg::accept() {
    if (auto question = FormatChangeQuestion(existing_, oldFormat_, format_->currentIndex())) {
        if (ShowMessage(*question) == mrNo) {
            format_->setFocus();
            return;
        }
    }
    if (auto refusal = store_(Values(), base_->isChecked())) {
        ShowMessage(*refusal);
        name_->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
