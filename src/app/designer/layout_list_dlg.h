#pragma once
// The list of page layouts, filtered by data source: "Open Page Layout" (Open and
// Cancel) and "Page Layout Maintainance" (New, Open, Edit, Delete and Close).

#include "app/designer/layout_dialogs.h"

#include <QDialog>

class QComboBox;
class QTreeWidget;

namespace tessaly {

class TLayoutListDlg : public QDialog {
    Q_OBJECT
public:
    // Maintenance when `env` is given, else the open list.
    TLayoutListDlg(QWidget* parent, TPrintCatalogues& catalogues, const TLayoutDialogEnv* env,
                   int currentNumber);
    // Open chosen (or New made): the layout to open.
    int Chosen() const { return result_.OpenNumber; }
    const TLayoutMaintenance& Result() const { return result_; }

private:
    void Fill(int selectNumber);
    int SelectedNumber() const;
    void Open();
    void New();
    void Edit();
    void Delete();

    TPrintCatalogues& catalogues_;
    const TLayoutDialogEnv* env_;
    int current_;
    TLayoutMaintenance result_;
    QComboBox* filter_ = nullptr;
    QTreeWidget* list_ = nullptr;
};

} // namespace tessaly
