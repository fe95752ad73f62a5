#pragma once
// Shared rules of the entry pages' labels: a label shows only with a caption and a
// visible field, and is red while it names a field of the current index key.

#include <QLabel>
#include <QString>

namespace tessaly {

struct TFieldLook {
    QString Caption;
    bool FieldVisible = true;
    bool Highlight = false; // "Highlight Index" on and the field used by the index key
    bool Bold = false;      // "Bold Labels"
};

// Applies caption, visibility, colour and weight to a label and the visibility to
// its field.
void ApplyFieldLook(QLabel* label, QWidget* field, const TFieldLook& look);

} // namespace tessaly
