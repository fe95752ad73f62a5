#include "app/designer/layout_dialogs.h"

#include "app/designer/layout_list_dlg.h"
#include "app/designer/layout_name_dlg.h"
#include "app/designer/layout_properties_dlg.h"
#include "app/designer/paper_list_dlg.h"
#include "app/designer/return_address_dlg.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"

#include <QLocale>
#include <QPrinterInfo>

namespace tessaly {

TLayoutDialogEnv SystemLayoutDialogEnv() {
    TLayoutDialogEnv env;
    const QLocale::Territory t = QLocale::system().territory();
    env.CountryCode = t == QLocale::UnitedStates ? 1 : t == QLocale::Canada ? 2 : 44;
    for (const QString& p : QPrinterInfo::availablePrinterNames())
        env.Printers.push_back(FromQString(p));
    return env;
}

TLayout* NewLayout(QWidget* parent, TPrintCatalogues& catalogues, const TLayoutDialogEnv& env) {
    TLayout fresh;
    TLayoutPropertiesDlg dialog(parent, catalogues, fresh, true, env);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    const TLayout& chosen = dialog.Result();
    TLayout* made = catalogues.CreateLayout(chosen.NameText(), chosen.Source, chosen.PaperNumber);
    if (!made) {
        ShowMessage(mtRequestDenied, "No more Page Layouts can be created.", mkError, mbOk);
        return nullptr;
    }
    const int number = made->Number;
    *made = chosen;
    made->Number = number;
    return made;
}

int OpenLayout(QWidget* parent, const TPrintCatalogues& catalogues) {
    // The open list changes nothing; the maintenance list shares its window.
    TLayoutListDlg dialog(parent, const_cast<TPrintCatalogues&>(catalogues), nullptr, kNoNumber);
    return dialog.exec() == QDialog::Accepted ? dialog.Chosen() : kNoNumber;
}

TLayoutMaintenance MaintainLayouts(QWidget* parent, TPrintCatalogues& catalogues,
                                   const TLayoutDialogEnv& env, int currentNumber) {
    TLayoutListDlg dialog(parent, catalogues, &env, currentNumber);
    dialog.exec();
    return dialog.Result();
}

bool EditLayoutProperties(QWidget* parent, TPrintCatalogues& catalogues, TLayout& layout,
                          const TLayoutDialogEnv& env) {
    TLayoutPropertiesDlg dialog(parent, catalogues, layout, false, env);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    layout = dialog.Result();
    return true;
}

TLayout* SaveLayoutAs(QWidget* parent, TPrintCatalogues& catalogues, const TLayout& source) {
    TLayoutNameDlg dialog(parent, catalogues.Layouts, source.NameText());
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    // A copy under a number no layout and no objects file holds.
    TLayout* made = catalogues.CreateLayout(dialog.Name(), source.Source, source.PaperNumber);
    if (!made) {
        ShowMessage(mtRequestDenied, "No more Page Layouts can be created.", mkError, mbOk);
        return nullptr;
    }
    const int number = made->Number;
    *made = source;
    made->Number = number;
    made->SetName(dialog.Name());
    return made;
}

bool EditReturnAddress(QWidget* parent, TLayoutList& layouts) {
    TReturnAddressDlg dialog(parent, layouts.ReturnAddress);
    return dialog.exec() == QDialog::Accepted && dialog.Commit(layouts.ReturnAddress);
}

bool MaintainPapers(QWidget* parent, TPrintCatalogues& catalogues, int countryCode) {
    TPaperListDlg dialog(parent, catalogues, countryCode);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tessaly
