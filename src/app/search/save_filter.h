#pragma once
// "Save Search As": names or renames a saved search, an export or import template or
// a quick report. OK trims the name and checks it against the other names of the list;
// a refusal keeps the dialog open with the focus in the name box.

#include "core/organise/item_name_check.h"

#include <QDialog>
#include <string>
#include <vector>

class QLineEdit;

namespace tessaly {

class TSaveFilter : public QDialog {
    Q_OBJECT
public:
    // `names` are the names of the list's items; `renaming` picks the caption.
    TSaveFilter(TNameMode mode, const QString& name, bool renaming, std::vector<std::string> names,
                QWidget* parent = nullptr);
    QString Name() const;
    QLineEdit* NameBox() const { return name_; }

    void accept() override;

private:
    TNameMode mode_;
    std::string original_;
    std::vector<std::string> names_;
    QLineEdit* name_ = nullptr;
};

} // namespace tessaly
