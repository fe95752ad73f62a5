#pragma once
// "Save Page Layout As": the name of the copy, which must be new.

#include "core/printing/layout.h"

#include <QDialog>
#include <string>

class QLineEdit;

namespace tessaly {

class TLayoutNameDlg : public QDialog {
    Q_OBJECT
public:
    TLayoutNameDlg(QWidget* parent, const TLayoutList& layouts, const std::string& suggested);
    std::string Name() const;
    void accept() override;

private:
    const TLayoutList& layouts_;
    QLineEdit* name_ = nullptr;
};

} // namespace tessaly
