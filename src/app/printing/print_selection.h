#pragma once
// Which of an address book's entries a print takes: the choices as the print wizard,
// the quick report editor and the designer's preview offer them.

#include <QString>
#include <utility>

class QButtonGroup;
class QFormLayout;
class QGroupBox;
class QWidget;

namespace tessaly {

// The choices in the order offered, each caption with its accelerator.
extern const std::pair<const char*, int> kBookSelections[4];

// A "Print Selection:" group of one radio button per choice, `checked` pressed.
QGroupBox* BookSelectionChoices(QButtonGroup* group, int checked);

// The three ways a label layout fills labels per entry, one radio button each added
// to `form` and to `group`, `checked` pressed.
void AddLabelFillChoices(QFormLayout* form, QButtonGroup* group, int checked);

// Asks which entries to take; false on Cancel, `selection` then unchanged.
bool AskBookSelection(QWidget* parent, const QString& title, int& selection);

} // namespace tessaly
