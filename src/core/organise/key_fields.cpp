#include "core/organise/key_fields.h"

#include "core/store/address.h"
#include "core/store/record.h"

namespace tessaly {

std::vector<TKeyField> AvailableKeyFields(const TIndexList& keys, const TTemplateList& templates,
                                          int addressTemplateId) {
    std::vector<TKeyField> fields;
    auto offer = [&](int code, const std::string& caption) {
        if (!keys.HasCode(code))
            fields.push_back({code, std::to_string(code) + " " + caption});
    };
    for (int i = 0; i < kFieldNotes; ++i)
        offer(i, templates.TemplateCaption(0, i));
    const int t = templates.FindTemplateById(addressTemplateId);
    for (int i = 0; i < kAddressFields; ++i)
        offer(kAddressKeyBase + i, templates.TemplateCaption(t, i));
    return fields;
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
