#include "app/designer/date_time_property_dlg.h"

#include "core/designer/box_edits.h"
#include "core/printing/object_text.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tessaly {

namespace {
// Patterns offered beside the object's own.
const char* const kDatePatterns[] = {
    "ddddd", "dddddd", "dd/mm/yyyy", "d mmmm yyyy", "dddd, d mmmm yyyy", "mmmm yyyy"};
const char* const kTimePatterns[] = {"t", "tt", "hh:mm", "hh:mm:ss", "h:nn am/pm"};
} // namespace

TDateTimePropertyDlg::TDateTimePropertyDlg(QWidget* parent, const TLayoutBox& box,
                                           const TBoxEditContext& context)
    : TBoxPropertyDlg(parent, box, context) {
    auto* form = new QFormLayout;
    Content()->addLayout(form);
    if (IsPageNumberKind(box.Kind)) {
        digits_ = new QSpinBox;
        digits_->setObjectName("Digits");
        digits_->setRange(1, kMaxPageDigits);
        digits_->setValue(PageNumberDigits(box.Format.str()));
        form->addRow("&Number of Digits for Page Numbers", digits_);
        connect(digits_, &QSpinBox::valueChanged, this, &TDateTimePropertyDlg::ShowPreview);
    } else {
        format_ = new QComboBox;
        format_->setObjectName("Format");
        format_->setEditable(true);
        format_->setInsertPolicy(QComboBox::NoInsert);
        const bool time =
            BoxBehaviour(box.Kind) == kBoxTime || BoxBehaviour(box.Kind) == kBoxTimePrinted;
        if (time)
            for (const char* p : kTimePatterns)
                format_->addItem(p);
        else
            for (const char* p : kDatePatterns)
                format_->addItem(p);
        format_->setEditText(ToQString(box.Format.str()));
        form->addRow("Use &Format:", format_);
        connect(format_, &QComboBox::editTextChanged, this, &TDateTimePropertyDlg::ShowPreview);
    }
    preview_ = new QLabel;
    preview_->setObjectName("Preview");
    preview_->setMinimumWidth(220);
    form->addRow("Preview:", preview_);
    ShowPreview();
}

std::string TDateTimePropertyDlg::Pattern() const {
    if (digits_)
        return PageNumberPattern(digits_->value());
    return FromQString(format_->currentText());
}

void TDateTimePropertyDlg::ShowPreview() {
    preview_->setText(
        ToQString(FormatPreview(Box().Kind, Pattern(), Context().Now, *Context().Formats)));
}

void TDateTimePropertyDlg::ApplyOwn(TLayoutBox& box) const {
    // A page number whose digits were not touched keeps its pattern as stored.
    if (digits_ && digits_->value() == PageNumberDigits(box.Format.str()))
        return;
    box.Format = Pattern();
}

} // namespace tessaly
