#include "app/designer/box_properties_dlg.h"

#include "app/designer/box_property_dlg.h"
#include "app/designer/data_object_property_dlg.h"
#include "app/designer/date_time_property_dlg.h"
#include "app/designer/graphic_property_dlg.h"
#include "app/designer/return_address_property_dlg.h"
#include "app/designer/static_text_property_dlg.h"
#include "core/designer/box_edits.h"

#include <memory>

namespace tessaly {

namespace {

std::unique_ptr<TBoxPropertyDlg> EditorOf(QWidget* parent, const TLayoutBox& box,
                                          const TBoxEditContext& c) {
    const int kind = box.Behaviour();
    if (IsDateTimeKind(kind) || IsPageNumberKind(kind))
        return std::make_unique<TDateTimePropertyDlg>(parent, box, c);
    switch (kind) {
    case kBoxGraphic:
        return std::make_unique<TGraphicPropertyDlg>(parent, box, c);
    case kBoxStaticText:
        return std::make_unique<TStaticTextPropertyDlg>(parent, box, c);
    case kBoxReturnAddress:
        return std::make_unique<TReturnAddressPropertyDlg>(parent, box, c);
    case kBoxVerticalLine:
    case kBoxHorizontalLine:
    case kBoxRectangle:
        return std::make_unique<TBoxPropertyDlg>(parent, box, c);
    default:
        return std::make_unique<TDataObjectPropertyDlg>(parent, box, c);
    }
}

} // namespace

bool EditBoxProperties(QWidget* parent, TLayoutBox& box, const TBoxEditContext& context) {
    const auto editor = EditorOf(parent, box, context);
    if (editor->exec() != QDialog::Accepted)
        return false;
    const TLayoutBox edited = editor->Edited();
    const bool outside = editor->CommitOutside();
    const bool changed = !(edited == box);
    box = edited;
    return changed || outside;
}

} // namespace tessaly
