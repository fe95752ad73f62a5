#include "app/exchange/delimiter_choice.h"

#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace tessaly {

namespace {

constexpr const char* kMsgNoSeparator =
    "A Character for Field Separation must be specified.\n\nThis Character is used to Separate "
    "the Fields within each Record"; // string 202
constexpr const char* kMsgNoQuote =
    "A Record Delimiter Character must be specified.\n\nThis Character is used to Enclose each "
    "Field within a Record"; // string 203

} // namespace

QGroupBox* TDelimiterChoice::Build(QWidget* owner, const QString& title,
                                   const std::vector<TChoice>& choices, const char* otherText,
                                   int otherId, const std::vector<TChoice>& after) {
    auto* box = new QGroupBox(title, owner);
    auto* row = new QHBoxLayout(box);
    group_ = new QButtonGroup(box);
    otherId_ = otherId;
    const auto add = [&](const char* text, int id) {
        auto* b = new QRadioButton(text, box);
        group_->addButton(b, id);
        row->addWidget(b);
    };
    for (const TChoice& c : choices)
        add(c.Text, c.Character);
    add(otherText, otherId);
    other_ = new QLineEdit(box);
    other_->setMaxLength(1);
    row->addWidget(other_);
    for (const TChoice& c : after)
        add(c.Text, c.Character);
    return box;
}

void TDelimiterChoice::Show(int character) {
    QAbstractButton* b = group_->button(character);
    (b ? b : group_->button(otherId_))->setChecked(true);
    other_->setText(b ? QString() : QString(QChar(character)));
}

std::uint8_t TDelimiterChoice::Chosen() const {
    const int id = group_->checkedId();
    if (id >= 0 && id != otherId_)
        return static_cast<std::uint8_t>(id);
    const std::string typed = FromQString(other_->text());
    return static_cast<std::uint8_t>(typed.empty() ? 0 : typed[0]);
}

bool TDelimiterChoice::OtherLeftEmpty() const {
    return group_->checkedId() == otherId_ && other_->text().isEmpty();
}

bool DelimitersGiven(const TDelimiterChoice& separator, const TDelimiterChoice& quote) {
    if (separator.OtherLeftEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoSeparator, mkError, mbOk);
        return false;
    }
    if (quote.OtherLeftEmpty()) {
        ShowMessage(mtRequiredField, kMsgNoQuote, mkError, mbOk);
        return false;
    }
    return true;
}

} // namespace tessaly
