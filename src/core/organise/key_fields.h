#pragma once
// The data side of the index-key lists (the entry's index-key dialog and the
// index-key page of the book options): the fields still available as keys, adding a
// field as a key, and toggling a key's sort flag.

#include "core/store/index_key.h"
#include "core/store/template.h"

#include <string>
#include <vector>

namespace tessaly {

struct TKeyField {
    int Code = 0;
    std::string Text; // the code, a blank and the caption: "2 Surname", "21 Company"
    bool operator==(const TKeyField&) const = default;
};

// Name fields 0-8 (captions of template 0; the notes are never a key) and address
// fields 20-26 (captions of the template numbered `addressTemplateId`, empty when the
// book has none of that number), less the fields that already are keys.
std::vector<TKeyField> AvailableKeyFields(const TIndexList& keys, const TTemplateList& templates,
                                          int addressTemplateId);

// Adds a field as a key before the selected key, or at the end when the last key (or
// none, -1) is selected. Returns the new key's index; -1, with nothing added, when
// the field already is a key.
int AddKeyField(TIndexList& keys, int code, int selected, bool sortBy = true);

// "Sort By": flips the sort flag of a key; ignored out of range.
void ToggleKeySortBy(TIndexList& keys, int i);

} // namespace tessaly
