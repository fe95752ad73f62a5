#pragma once
// "Paper Size Maintenance": the paper sizes, sorted and filtered by kind, with Edit,
// Delete, Custom and Copy. OK saves the list (crash-safe, a failure said and the
// dialog kept open); Cancel or closing puts back the list taken when it opened.

#include "core/printing/paper.h"

#include <QDialog>
#include <vector>

class QComboBox;
class QTreeWidget;

namespace tessaly {

class TPrintCatalogues;

class TPaperListDlg : public QDialog {
    Q_OBJECT
public:
    TPaperListDlg(QWidget* parent, TPrintCatalogues& catalogues, int countryCode);

    void accept() override;
    void reject() override;

private:
    void Fill(int selectNumber);
    int SelectedNumber() const;
    void Edit();
    void Delete();
    void Custom();
    void Copy();
    // The paper dialog on a paper of the list; false on Cancel.
    bool Setup(TPaper& paper, bool copy);

    TPrintCatalogues& catalogues_;
    int countryCode_;
    TPaperList kept_;
    QComboBox* filter_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

} // namespace tessaly
