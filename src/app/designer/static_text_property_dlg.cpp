#include "app/designer/static_text_property_dlg.h"

#include "app/widgets/memo_limit.h"
#include "core/designer/box_edits.h"
#include "platform/qt_text.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tessaly {

TStaticTextPropertyDlg::TStaticTextPropertyDlg(QWidget* parent, const TLayoutBox& box,
                                               const TBoxEditContext& context)
    : TBoxPropertyDlg(parent, box, context) {
    auto* caption = new QLabel("&Text:");
    text_ = new QPlainTextEdit;
    text_->setObjectName("Text");
    text_->setPlainText(ToQString(StaticText(box)));
    LimitMemo(text_, static_cast<int>(kStaticTextMax));
    caption->setBuddy(text_);
    Content()->addWidget(caption);
    Content()->addWidget(text_, 1);
    text_->setFocus();
}

void TStaticTextPropertyDlg::ApplyOwn(TLayoutBox& box) const {
    const std::string typed = FromQString(text_->toPlainText());
    if (typed != StaticText(box))
        SetStaticText(box, typed);
}

} // namespace tessaly
