#pragma once
// "Create New Page Layout" and "Page Layout Properties": a layout's name, data source
// (chosen only when it is made), paper type and size, printer, orientation and page
// control. OK checks the name, that a paper and a printer are chosen, and puts the
// choices into the layout with its bands after the paper's kind.

#include "core/printing/layout.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tessaly {

class TPrintCatalogues;
struct TLayoutDialogEnv;

class TLayoutPropertiesDlg : public QDialog {
    Q_OBJECT
public:
    // `layout` as it is (a new one not yet in the list, or one of the list's);
    // `creating` for the first.
    TLayoutPropertiesDlg(QWidget* parent, const TPrintCatalogues& catalogues, const TLayout& layout,
                         bool creating, const TLayoutDialogEnv& env);
    // The layout as OK left it.
    const TLayout& Result() const { return result_; }

    void accept() override;

private:
    void SourceChosen();
    void TypeChosen();
    void PaperChosen();
    int PaperNumber() const;

    const TPrintCatalogues& catalogues_;
    const TLayoutDialogEnv& env_;
    TLayout result_;
    std::string originalName_;
    QLineEdit* name_ = nullptr;
    QComboBox* source_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* paper_ = nullptr;
    QComboBox* printer_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QComboBox* pageControl_ = nullptr;
};

} // namespace tessaly
