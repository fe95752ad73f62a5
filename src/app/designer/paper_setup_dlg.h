#pragma once
// "Paper Setup": one paper's name, type, unit, sizes and label grid (changeable only
// on a size of the user's own; the name also on a copy) and, for envelopes, how the
// printer feeds them. OK checks every field: a number that does not read beeps and
// takes the focus, a missing or taken name is said.

#include "core/printing/paper_form.h"

#include <QDialog>
#include <array>
#include <map>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace tessaly {

class TPaperSetupDlg : public QDialog {
    Q_OBJECT
public:
    // `papers` holds `paper`; `copy` when the paper is a copy just made.
    TPaperSetupDlg(QWidget* parent, const TPaperList& papers, const TPaper& paper, bool copy);
    // The paper as OK left it.
    const TPaper& Result() const { return result_; }

    void accept() override;

private:
    TPaperForm Form() const;
    void TypeChosen();
    void FeedChosen(int feed);
    void OrientationChosen(bool portrait);

    const TPaperList& papers_;
    const TPaper& paper_;
    TPaperEditable editable_;
    TPaper result_;
    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* unit_ = nullptr;
    std::map<TPaperField, QLineEdit*> fields_;
    QGroupBox* labels_ = nullptr;
    QGroupBox* envelope_ = nullptr;
    QButtonGroup* feeds_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QCheckBox* faceUp_ = nullptr;
    QCheckBox* rotate_ = nullptr;
    bool reverting_ = false;
};

} // namespace tessaly
