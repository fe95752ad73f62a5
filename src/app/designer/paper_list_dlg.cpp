#include "app/designer/paper_list_dlg.h"

#include "app/designer/paper_setup_dlg.h"
#include "app/widgets/list_dialog_parts.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_listing.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

TPaperListDlg::TPaperListDlg(QWidget* parent, TPrintCatalogues& catalogues, int countryCode)
    : QDialog(parent), catalogues_(catalogues), countryCode_(countryCode),
      kept_(catalogues.Papers) {
    setWindowTitle("Paper Size Maintenance");
    auto* row = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    const TFilteredList parts = AddFilteredList(column, PaperFilterCaptions(), "Papers",
                                                {"Paper Name", "Width", "Height"}, QSize(520, 320));
    filter_ = parts.Filter;
    list_ = parts.List;
    row->addLayout(column, 1);

    auto* buttons = new TButtonColumn(this);
    const auto button = [buttons](const char* text, auto action) {
        return buttons->Add(text, action);
    };
    button("&Edit", [this] { Edit(); });
    button("De&lete", [this] { Delete(); });
    button("Custo&m", [this] { Custom(); });
    button("&Copy", [this] { Copy(); });
    buttons->addStretch();
    button("OK", [this] { accept(); })->setDefault(true);
    button("Cancel", [this] { reject(); });
    row->addLayout(buttons);

    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { Fill(SelectedNumber()); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { Edit(); });
    Fill(kNoNumber);
}

void TPaperListDlg::Fill(int selectNumber) {
    std::vector<TNumberedRow> rows;
    for (const TPaperRow& r : PaperRows(catalogues_.Papers, filter_->currentIndex()))
        rows.push_back({{ToQString(r.Name), ToQString(r.Width), ToQString(r.Height)}, r.Number});
    FillNumberedRows(list_, rows, selectNumber);
}

int TPaperListDlg::SelectedNumber() const {
    return ChosenRowNumber(list_, kNoNumber);
}

bool TPaperListDlg::Setup(TPaper& paper, bool copy) {
    TPaperSetupDlg dialog(this, catalogues_.Papers, paper, copy);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    paper = dialog.Result();
    return true;
}

void TPaperListDlg::Edit() {
    if (TPaper* paper = catalogues_.Papers.ByNumber(SelectedNumber()))
        if (Setup(*paper, false))
            Fill(paper->Number);
}

void TPaperListDlg::Delete() {
    const TPaper* paper = catalogues_.Papers.ByNumber(SelectedNumber());
    if (!paper || ShowMessage(DeletePaperQuestion(paper->NameText())) != mrYes)
        return;
    catalogues_.Papers.Remove(paper);
    Fill(kNoNumber);
}

void TPaperListDlg::Custom() {
    TPaper* paper = catalogues_.Papers.Create("", kPaperEnvelope, countryCode_);
    if (!paper)
        return;
    if (Setup(*paper, false))
        Fill(paper->Number);
    else
        catalogues_.Papers.Remove(paper);
}

void TPaperListDlg::Copy() {
    const TPaper* source = catalogues_.Papers.ByNumber(SelectedNumber());
    TPaper* paper = source ? catalogues_.Papers.Duplicate(*source) : nullptr;
    if (!paper)
        return;
    if (Setup(*paper, true))
        Fill(paper->Number);
    else
        catalogues_.Papers.Remove(paper);
}

void TPaperListDlg::accept() {
    const TIoResult saved = catalogues_.SavePapers();
    if (!saved.Ok) {
        ShowMessage(mtAccessError,
                    "The Paper Sizes could not be saved.\n\n" + SystemTextToQString(saved.Error),
                    mkError, mbOk);
        return;
    }
    QDialog::accept();
}

void TPaperListDlg::reject() {
    catalogues_.Papers = kept_;
    QDialog::reject();
}

} // namespace tessaly
