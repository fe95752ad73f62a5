#include "app/designer/layout_list_dlg.h"

#include "app/widgets/list_dialog_parts.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_listing.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

TLayoutListDlg::TLayoutListDlg(QWidget* parent, TPrintCatalogues& catalogues,
                               const TLayoutDialogEnv* env, int currentNumber)
    : QDialog(parent), catalogues_(catalogues), env_(env), current_(currentNumber) {
    setWindowTitle(env ? "Page Layout Maintainance" : "Open Page Layout");
    auto* row = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    const TFilteredList parts =
        AddFilteredList(column, LayoutFilterCaptions(), "Layouts",
                        {"Layout Name", "Data Source", "Paper Size"}, QSize(560, 300));
    filter_ = parts.Filter;
    list_ = parts.List;
    row->addLayout(column, 1);

    auto* buttons = new TButtonColumn(this);
    const auto button = [buttons](const char* text, auto action) {
        return buttons->Add(text, action);
    };
    if (env) {
        button("&New", [this] { New(); });
        button("&Open", [this] { Open(); })->setDefault(true);
        button("&Edit", [this] { Edit(); });
        button("&Delete", [this] { Delete(); });
        buttons->addStretch();
        button("Close", [this] { reject(); });
    } else {
        button("&Open", [this] { Open(); })->setDefault(true);
        buttons->addStretch();
        button("Cancel", [this] { reject(); });
    }
    row->addLayout(buttons);
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { Fill(SelectedNumber()); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { Open(); });
    Fill(currentNumber);
}

void TLayoutListDlg::Fill(int selectNumber) {
    std::vector<TNumberedRow> rows;
    for (const TLayoutRow& r :
         LayoutRows(catalogues_.Layouts, catalogues_.Papers, filter_->currentIndex()))
        rows.push_back({{ToQString(r.Name), ToQString(r.Source), ToQString(r.Paper)}, r.Number});
    FillNumberedRows(list_, rows, selectNumber);
}

int TLayoutListDlg::SelectedNumber() const {
    return ChosenRowNumber(list_, kNoNumber);
}

void TLayoutListDlg::Open() {
    const int number = SelectedNumber();
    if (!catalogues_.Layouts.Exists(number))
        return;
    result_.OpenNumber = number;
    accept();
}

void TLayoutListDlg::New() {
    if (const TLayout* made = NewLayout(this, catalogues_, *env_)) {
        result_.Changed = true;
        result_.OpenNumber = made->Number;
        accept();
    }
}

void TLayoutListDlg::Edit() {
    TLayout* layout = catalogues_.Layouts.ByNumber(SelectedNumber());
    if (layout && EditLayoutProperties(this, catalogues_, *layout, *env_)) {
        result_.Changed = true;
        result_.CurrentEdited = result_.CurrentEdited || layout->Number == current_;
        Fill(layout->Number);
    }
}

void TLayoutListDlg::Delete() {
    const TLayout* layout = catalogues_.Layouts.ByNumber(SelectedNumber());
    if (!layout || ShowMessage(DeleteLayoutQuestion(layout->NameText())) != mrYes)
        return;
    result_.CurrentDeleted = result_.CurrentDeleted || layout->Number == current_;
    catalogues_.DeleteLayout(layout);
    result_.Changed = true;
    Fill(kNoNumber);
}

} // namespace tessaly
