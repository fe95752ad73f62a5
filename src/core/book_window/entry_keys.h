#pragma once
// "Select Index Keys for Entry": the entry's own index keys or the book's. Works on
// the working entry directly, keeping a copy of its keys for Cancel; decides which
// controls are enabled and gives the two preview texts.

#include "core/organise/key_fields.h"
#include "core/store/book.h"

#include <string>
#include <vector>

namespace tessaly {

class TEntryKeys {
public:
    TEntryKeys(TRecord& entry, const TBookData& book);

    bool Override() const { return entry_.UseDefaultKeys == 0; }
    // The radio buttons: choosing the book's keys applies them at once.
    void SetOverride(bool on);

    std::vector<TKeyField> Available() const;
    const TIndexList& Keys() const { return entry_.Keys; }
    // A key's text as listed: its code, a blank and its caption.
    std::string KeyText(int i) const;

    // Enabling: both lists and every button need the override; "&Add" also needs an
    // available field, the others a key.
    bool ListsEnabled() const { return Override(); }
    bool CanAdd() const { return Override() && !Available().empty(); }
    bool CanChangeKeys() const { return Override() && entry_.Keys.Count() > 0; }

    // Each returns the key to select afterwards (-1 when nothing changed).
    int Add(int code, int selected);
    int Delete(int i);
    int Move(int i, int step); // -1 up, +1 down
    void ToggleSortBy(int i);

    // "Text to Display in Index List" and "Sorted on:".
    std::string DisplayPreview() const;
    std::string SortPreview() const;

    // Cancel: the entry's keys and choice as at opening.
    void Cancel();

private:
    TRecord& entry_;
    const TBookData& book_;
    TIndexList savedKeys_;
    std::uint8_t savedDefault_;
};

} // namespace tessaly
