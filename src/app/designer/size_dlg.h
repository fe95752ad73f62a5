#pragma once
// "Size Objects": for the width and for the height independently, no change, shrink
// to the smallest, grow to the largest of the selected objects, or a size in pixels
// (3 to 9999, preset from the selection frame).

#include "core/designer/edit_rules.h"

#include <QDialog>

class QButtonGroup;
class QSpinBox;

namespace tessaly {

class TSizeDlg : public QDialog {
public:
    TSizeDlg(TPixelSize frame, QWidget* parent = nullptr);
    TSizeRule Width() const;
    TSizeRule Height() const;

private:
    QButtonGroup* widthModes_ = nullptr;
    QButtonGroup* heightModes_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
};

} // namespace tessaly
