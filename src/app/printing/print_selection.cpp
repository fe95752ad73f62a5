#include "app/printing/print_selection.h"

#include "core/printing/quick_report.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

const std::pair<const char*, int> kBookSelections[4] = {
    {"Selected Entr&y Only", kSelectEntry},
    {"Entries &Displayed in the Index List", kSelectListed},
    {"&Tagged Entries", kSelectTagged},
    {"&All Entries in the Address Book", kSelectAll}};

QGroupBox* BookSelectionChoices(QButtonGroup* group, int checked) {
    auto* box = new QGroupBox("Print Selection:");
    auto* column = new QVBoxLayout(box);
    for (const auto& [caption, id] : kBookSelections) {
        auto* b = new QRadioButton(caption);
        group->addButton(b, id);
        column->addWidget(b);
        b->setChecked(id == checked);
    }
    return box;
}

void AddLabelFillChoices(QFormLayout* form, QButtonGroup* group, int checked) {
    for (const auto& [caption, id] :
         {std::pair<const char*, int>{"Full &Sheet of Labels per Entry", kFillSheet},
          {"&Complete Row of Labels per Entry", kFillRow},
          {"Specified Number &of Labels per Entry", kFillCopies}}) {
        auto* b = new QRadioButton(caption);
        group->addButton(b, id);
        b->setChecked(id == checked);
        form->addRow(b);
    }
}

bool AskBookSelection(QWidget* parent, const QString& title, int& selection) {
    QDialog dialog(parent);
    dialog.setObjectName("PrintSelection");
    dialog.setWindowTitle(title);
    auto* column = new QVBoxLayout(&dialog);
    auto* group = new QButtonGroup(&dialog);
    column->addWidget(BookSelectionChoices(group, selection));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    column->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || group->checkedId() < 0)
        return false;
    selection = group->checkedId();
    return true;
}

} // namespace tessaly
