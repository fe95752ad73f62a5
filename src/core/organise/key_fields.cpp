#include "core/organise/key_fields.h"

#include "core/organise/key_list_editor.h"

namespace tessaly {

std::vector<TKeyField> AvailableKeyFields(const TIndexList& keys, const TTemplateList& templates,
                                          int addressTemplateId) {
    TIndexList copy;
    AssignKeys(copy, keys);
    TKeyListEditor editor(copy, false, true);
    editor.SetCaptions(KeyCaptions(templates, addressTemplateId));
    return editor.Available();
}

int AddKeyField(TIndexList& keys, int code, int selected, bool sortBy) {
    if (keys.HasCode(code))
        return -1;
    if (selected < 0 || selected >= keys.Count() - 1)
        return keys.AddKey(code, sortBy);
    return keys.InsertKey(selected, code, sortBy);
}

void ToggleKeySortBy(TIndexList& keys, int i) {
    keys.SetKeySortBy(i, keys.KeySortBy(i) == 0);
}

} // namespace tessaly
