#pragma once
// The templates a wizard offers: those of one type in the list's order, each item
// holding its place in the list, with the one last used (or else the only one)
// chosen.

#include "platform/qt_text.h"

#include <QListWidget>
#include <string>

namespace tessaly {

template <class List, class TypeOf>
void FillTemplateChoices(QListWidget* choices, const List& list, int type,
                         const std::string& lastUsed, TypeOf typeOf) {
    choices->clear();
    for (int i = 0; i < list.Count(); ++i) {
        const auto* t = list.At(i);
        if (typeOf(*t) != type)
            continue;
        auto* item = new QListWidgetItem(ToQString(t->NameText()), choices);
        item->setData(Qt::UserRole, i);
        if (t->NameText() == lastUsed || choices->count() == 1)
            choices->setCurrentItem(item);
    }
}

} // namespace tessaly
