// The two lists of an index-key editor: fields dropped at a place in the key list (and
// refused when already a key or not offered), keys dragged within the list and back
// out, the notes offered only where the editor allows them, sort flags only where the
// editor has them, and nothing changing while the editor is off.

#include "core/organise/key_list_editor.h"
#include "core/store/book_file.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

std::vector<int> Codes(const TIndexList& keys) {
    std::vector<int> codes;
    for (int i = 0; i < keys.Count(); ++i)
        codes.push_back(keys.KeyCode(i));
    return codes;
}

TKeyListEditor::TCaptions Captions() {
    TStoreSettings settings;
    auto book = NewBook("/nowhere/K.ADR", settings);
    return KeyCaptions(book->Templates, 1);
}

TEST(KeyListEditor, DroppedFieldsTakeTheirPlaceAndDraggedKeysMove) {
    TIndexList keys;
    keys.AddKey(0, true);
    keys.AddKey(1, true);
    keys.AddKey(2, true);
    TKeyListEditor e(keys, false, true);
    e.SetCaptions(Captions());
    EXPECT_EQ(e.KeyText(2), "2 Surname");

    // Dropped on the first key: before it, taking part in sorting.
    EXPECT_EQ(e.Drop(21, 0), 0);
    EXPECT_EQ(Codes(keys), (std::vector<int>{21, 0, 1, 2}));
    EXPECT_EQ(keys.KeySortBy(0), 1);
    EXPECT_EQ(e.KeyText(0), "21 Company");
    // Below the last key, or on no key: at the end (Add would have needed the last key
    // selected to append).
    EXPECT_EQ(e.Drop(22, 9), 4);
    EXPECT_EQ(e.Drop(3, -1), 5);
    EXPECT_EQ(Codes(keys), (std::vector<int>{21, 0, 1, 2, 22, 3}));
    // A key again, the notes, or a code no list offers: refused, nothing changes.
    EXPECT_EQ(e.Drop(2, 0), -1);
    EXPECT_EQ(e.Drop(9, 0), -1);
    EXPECT_EQ(e.Drop(15, 0), -1);
    EXPECT_EQ(keys.Count(), 6);

    // Dragged within the list: the key takes the place it was dropped on.
    EXPECT_EQ(e.MoveTo(0, 3), 3);
    EXPECT_EQ(Codes(keys), (std::vector<int>{0, 1, 2, 21, 22, 3}));
    EXPECT_EQ(e.MoveTo(1, -1), 5); // below the last: to the end
    EXPECT_EQ(Codes(keys), (std::vector<int>{0, 2, 21, 22, 3, 1}));
    EXPECT_EQ(e.MoveTo(5, 5), -1); // onto itself: nothing
    EXPECT_EQ(e.MoveTo(7, 0), -1);

    // Dragged back out: the field is available again; the last key goes last.
    EXPECT_EQ(e.Delete(5), 4);
    bool offered = false;
    for (const auto& f : e.Available())
        offered = offered || f.Code == 1;
    EXPECT_TRUE(offered);
    EXPECT_EQ(e.Delete(9), -2);

    EXPECT_TRUE(e.ToggleSortBy(0));
    EXPECT_EQ(keys.KeySortBy(0), 0);
    EXPECT_FALSE(e.ToggleSortBy(8));
}

TEST(KeyListEditor, InsertFieldsOfferTheNotesAndHaveNoSortFlags) {
    TIndexList fields;
    TKeyListEditor e(fields, true, false);
    e.SetCaptions(Captions());
    const auto available = e.Available();
    ASSERT_EQ(available.size(), 17u); // name fields 0-9 and address fields 20-26
    EXPECT_EQ(available[9].Text, "9 Notes");
    EXPECT_EQ(e.Add(9, -1), 0);
    EXPECT_EQ(fields.KeySortBy(0), 0);
    EXPECT_EQ(e.Drop(23, 0), 0);
    EXPECT_EQ(fields.KeySortBy(0), 0);
    EXPECT_FALSE(e.ToggleSortBy(0));
    EXPECT_EQ(fields.KeySortBy(0), 0);
    EXPECT_EQ(e.KeyText(0), "23 Home");
}

TEST(KeyListEditor, NothingChangesWhileOff) {
    TIndexList keys;
    keys.AddKey(2, true);
    keys.AddKey(1, true);
    TKeyListEditor e(keys, false, true);
    e.SetEnabled(false);
    EXPECT_FALSE(e.CanAdd());
    EXPECT_FALSE(e.CanChangeKeys());
    EXPECT_EQ(e.Add(0, -1), -1);
    EXPECT_EQ(e.Drop(0, 0), -1);
    EXPECT_EQ(e.Delete(0), -2);
    EXPECT_EQ(e.Move(0, 1), -1);
    EXPECT_EQ(e.MoveTo(0, 1), -1);
    EXPECT_FALSE(e.ToggleSortBy(0));
    EXPECT_EQ(Codes(keys), (std::vector<int>{2, 1}));
    EXPECT_EQ(keys.KeySortBy(0), 1);
    e.SetEnabled(true);
    EXPECT_TRUE(e.CanAdd());
    EXPECT_TRUE(e.CanChangeKeys());
}

} // namespace
} // namespace tessaly
