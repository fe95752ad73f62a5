#include "app/search/save_filter.h"

#include "app/widgets/message_dialog.h"
#include "core/common/text.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tessaly {

TSaveFilter::TSaveFilter(TNameMode mode, const QString& name, bool renaming,
                         std::vector<std::string> names, QWidget* parent)
    : QDialog(parent), mode_(mode), original_(FromQString(name)), names_(std::move(names)) {
    setWindowTitle(ToQString(NameDialogCaption(mode, renaming)));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel("&Name:", this);
    name_ = new QLineEdit(name, this);
    name_->setObjectName("Name");
    name_->setMaxLength(static_cast<int>(kShortStringMax));
    name_->selectAll();
    label->setBuddy(name_);
    layout->addWidget(label);
    layout->addWidget(name_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TSaveFilter::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TSaveFilter::reject);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString TSaveFilter::Name() const {
    return name_->text();
}

void TSaveFilter::accept() {
    const std::string clean = Trim(FromQString(name_->text()));
    name_->setText(ToQString(clean));
    if (auto refusal = CheckItemName(mode_, names_, clean, original_)) {
        ShowMessage(*refusal);
        name_->setFocus();
        name_->selectAll();
        return;
    }
    QDialog::accept();
}

} // namespace tessaly
