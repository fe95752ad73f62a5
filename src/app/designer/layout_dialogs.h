#pragma once
// The designer's layout and paper dialogs, as its File and Tools menus call them: a
// new layout, opening one from the list, the maintenance of layouts, a layout's
// properties, "Save Layout &as...", the return address and the paper sizes. They
// work on the catalogues the designer has loaded; saving the layout list is left to
// the designer, which does it after each of them (the paper list is saved by the
// paper dialog's OK itself).

#include "core/printing/layout.h"

#include <string>
#include <vector>

class QWidget;

namespace tessaly {

class TPrintCatalogues;

// What the layout dialogs offer besides the catalogues.
struct TLayoutDialogEnv {
    // The locale's country code: 1 the United States, 2 Canada (Letter paper and
    // inches), anything else A4 and millimetres.
    int CountryCode = 44;
    // The printers the printing system lists; "<Default Printer>" is offered first.
    std::vector<std::string> Printers;
};
// The system's printers and the locale's country code.
TLayoutDialogEnv SystemLayoutDialogEnv();

// "&New Layout...": the properties dialog titled "Create New Page Layout". On OK the
// layout is added to the layout list (its objects file is not written yet) and
// returned; null on Cancel.
TLayout* NewLayout(QWidget* parent, TPrintCatalogues& catalogues, const TLayoutDialogEnv& env);

// "&Open Layout...": the list "Open Page Layout" with its filter by data source. The
// number of the layout chosen, kNoNumber on Cancel.
int OpenLayout(QWidget* parent, const TPrintCatalogues& catalogues);

// What "&Maintenance..." did.
struct TLayoutMaintenance {
    // The layout to open now (chosen with Open, or made with New), kNoNumber for none.
    int OpenNumber = kNoNumber;
    // Layouts were created, edited or deleted: the list is to be saved.
    bool Changed = false;
    // The layout `currentNumber` was deleted (with its objects file) or had its
    // properties edited.
    bool CurrentDeleted = false;
    bool CurrentEdited = false;
};
// "Page Layout Maintainance": New, Open, Edit (the properties dialog) and Delete
// (asking string 379; the objects file goes with the layout). `currentNumber` is the
// layout open in the designer, kNoNumber for none.
TLayoutMaintenance MaintainLayouts(QWidget* parent, TPrintCatalogues& catalogues,
                                   const TLayoutDialogEnv& env, int currentNumber);

// "Page Layout Properties" of `layout` (one of the list's): name, paper, printer,
// orientation and page control; its data source is the one it was made with. On OK
// the changes are put into `layout` (header and footer bands after the paper's kind)
// and true is answered.
bool EditLayoutProperties(QWidget* parent, TPrintCatalogues& catalogues, TLayout& layout,
                          const TLayoutDialogEnv& env);

// "Save Layout &as...": the name dialog "Save Page Layout As". On OK a copy of
// `source` under the new name and a new number is added to the list and returned, for
// the designer to write its objects under that number; null on Cancel.
TLayout* SaveLayoutAs(QWidget* parent, TPrintCatalogues& catalogues, const TLayout& source);

// "Set Return &Address...": the "Return Address Property Editor" of the list's return
// address text. True when OK changed it.
bool EditReturnAddress(QWidget* parent, TLayoutList& layouts);

// "&Paper Setup...": "Paper Size Maintenance". OK saves the paper list (crash-safe;
// a failed save is said and answers false), Cancel or closing puts back the list as it
// was when the dialog opened. True when the list was saved.
bool MaintainPapers(QWidget* parent, TPrintCatalogues& catalogues, int countryCode);

} // namespace tessaly
