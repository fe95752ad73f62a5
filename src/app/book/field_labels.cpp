#include "app/book/field_labels.h"

namespace tessaly {

void ApplyFieldLook(QLabel* label, QWidget* field, const TFieldLook& look) {
    if (field)
        field->setVisible(look.FieldVisible);
    if (!label)
        return;
    label->setText(look.Caption);
    label->setVisible(look.FieldVisible && !look.Caption.isEmpty());
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, look.Highlight ? Qt::red : Qt::black);
    label->setPalette(p);
    QFont f = label->font();
    f.setBold(look.Bold);
    label->setFont(f);
}

} // namespace tessaly
