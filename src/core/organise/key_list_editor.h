#pragma once
// The two lists of an index-key editor: the fields still available and the chosen
// keys, in order. Shared by the entry's index-key dialog, the book's default keys and
// the book's word-processor insert fields. Fields move between the lists with the
// buttons or by dragging; keys move up and down, also by dragging within their list.

#include "core/organise/key_fields.h"
#include "core/store/index_key.h"

#include <array>
#include <string>
#include <vector>

namespace tessaly {

class TKeyListEditor {
public:
    struct TCaptions {
        std::array<std::string, 10> Names;  // name fields 0-9
        std::array<std::string, 7> Address; // address fields 20-26
    };
    // `withNotes`: the notes field (9) is offered too, as the insert fields allow it;
    // `sortFlags`: keys carry a sort flag ("&Sort By"), new keys taking part in sorting.
    TKeyListEditor(TIndexList& keys, bool withNotes, bool sortFlags);

    void SetCaptions(const TCaptions& captions) { captions_ = captions; }
    // Off while the entry follows the book's keys: nothing can change.
    void SetEnabled(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }
    bool HasSortFlags() const { return sortFlags_; }

    std::vector<TKeyField> Available() const;
    const TIndexList& Keys() const { return keys_; }
    // A key's text as listed: its code, a blank and its caption.
    std::string KeyText(int i) const;

    // "&Add" needs an available field, the other buttons a key.
    bool CanAdd() const { return enabled_ && !Available().empty(); }
    bool CanChangeKeys() const { return enabled_ && keys_.Count() > 0; }

    // Each returns the key to select afterwards, or -1 when nothing changed.
    // "&Add": before the selected key, or at the end when the last key (or none) is
    // selected.
    int Add(int code, int selected);
    // A field dropped on the key list: before the key at `row`, at the end for a row
    // past the last (or -1).
    int Drop(int code, int row);
    // "&Delete", or a key dragged back to the available fields. Returns the key now at
    // that place (the last, -1 when none is left), or -2 when nothing changed.
    int Delete(int i);
    int Move(int i, int step); // the two move buttons: -1 up, +1 down
    // A key dragged within its list and dropped on the key at `row` (past the last or
    // -1: the end): it takes that place.
    int MoveTo(int from, int row);
    // "&Sort By" or a double click on a key.
    bool ToggleSortBy(int i);

private:
    std::string Caption(int code) const;

    TIndexList& keys_;
    TCaptions captions_;
    bool withNotes_;
    bool sortFlags_;
    bool enabled_ = true;
};

// The captions offered for the keys of an entry whose first address uses template
// number `addressTemplateId` (address captions empty when the book has none of that
// number).
TKeyListEditor::TCaptions KeyCaptions(const TTemplateList& templates, int addressTemplateId);

} // namespace tessaly
