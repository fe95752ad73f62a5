#pragma once
// What every property editor shares: the window titled after the object's kind, the
// object's size in the designer's unit, the kind's own controls, the border and
// background settings, OK and Cancel. Lines and rectangles need nothing more.

#include "core/designer/box_edit_context.h"
#include "core/printing/layout_objects.h"

#include <QDialog>

class QVBoxLayout;

namespace tessaly {

class TBoxStylePanel;

class TBoxPropertyDlg : public QDialog {
    Q_OBJECT
public:
    TBoxPropertyDlg(QWidget* parent, const TLayoutBox& box, const TBoxEditContext& context);

    // The object as the editor has it now.
    TLayoutBox Edited() const;
    // What else OK changes beside the object (the return address); true when it did.
    virtual bool CommitOutside() { return false; }

protected:
    // The kind's own controls go here, above the border and background settings.
    QVBoxLayout* Content() const { return content_; }
    // Puts the kind's own controls into the box.
    virtual void ApplyOwn(TLayoutBox&) const {}
    const TLayoutBox& Box() const { return box_; }
    const TBoxEditContext& Context() const { return context_; }
    TBoxStylePanel* Style() const { return style_; }

private:
    TLayoutBox box_;
    const TBoxEditContext& context_;
    QVBoxLayout* content_ = nullptr;
    TBoxStylePanel* style_ = nullptr;
};

// "%f Inches x %f Inches" or "%.0f mm x %.0f mm": a size in millimetres in a unit.
QString SizeInUnit(double widthMm, double heightMm, int unit);

} // namespace tessaly
