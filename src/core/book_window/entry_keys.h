#pragma once
// "Select Index Keys for Entry": the entry's own index keys or the book's. Works on
// the working entry directly, keeping a copy of its keys for Cancel; decides which
// controls are enabled and gives the two preview texts.

#include "core/organise/key_list_editor.h"
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

    // The two lists; changes only while the entry overrides the book's keys.
    TKeyListEditor& Lists() { return editor_; }
    std::vector<TKeyField> Available() const { return editor_.Available(); }
    const TIndexList& Keys() const { return entry_.Keys; }
    std::string KeyText(int i) const { return editor_.KeyText(i); }

    // Enabling: both lists and every button need the override; "&Add" also needs an
    // available field, the others a key.
    bool ListsEnabled() const { return Override(); }
    bool CanAdd() const { return editor_.CanAdd(); }
    bool CanChangeKeys() const { return editor_.CanChangeKeys(); }

    // Each returns the key to select afterwards (-1 when nothing changed).
    int Add(int code, int selected) { return editor_.Add(code, selected); }
    int Delete(int i);
    int Move(int i, int step) { return editor_.Move(i, step); }
    void ToggleSortBy(int i) { editor_.ToggleSortBy(i); }

    // "&Index Keys" changed the book's options: an entry following the book's keys
    // takes them again, and the captions are read again.
    void BookChanged();

    // "Text to Display in Index List" and "Sorted on:".
    std::string DisplayPreview() const;
    std::string SortPreview() const;

    // Cancel: the entry's keys and choice as at opening.
    void Cancel();
    // Whether the entry's choice or its own keys differ from those at opening: only
    // then is there anything for the book window to apply, whichever button closed.
    bool Changed() const;

private:
    void ReadCaptions();

    TRecord& entry_;
    const TBookData& book_;
    TKeyListEditor editor_;
    TIndexList savedKeys_;
    std::uint8_t savedDefault_;
};

} // namespace tessaly
