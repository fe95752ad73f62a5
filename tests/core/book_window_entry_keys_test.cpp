// The index-key dialog's data side: enabling by the override, adding before the
// selected key, deleting, moving, the sort flag, the previews, and Cancel putting the
// entry's keys and choice back.

#include "core/book_window/entry_keys.h"
#include "core/organise/entry_text.h"
#include "core/store/book_file.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(EntryKeys, OverrideEnablesAndDefaultsApplyAtOnce) {
    TStoreSettings settings;
    auto book = NewBook("/nowhere/K.ADR", settings);
    TRecord entry;
    entry.SetNameField(kFieldSurname, "Smith");
    entry.SetNameField(1, "Anna");
    ApplyBookKeys(entry, book->IndexKeys);
    const TIndexList bookKeys = book->IndexKeys;
    TEntryKeys keys(entry, *book);
    EXPECT_FALSE(keys.Override());
    EXPECT_FALSE(keys.CanAdd());
    EXPECT_FALSE(keys.CanChangeKeys());
    EXPECT_EQ(keys.Add(0, -1), -1); // nothing without the override

    keys.SetOverride(true);
    EXPECT_TRUE(keys.CanChangeKeys());
    const int count = keys.Keys().Count();
    ASSERT_GT(count, 0);
    const auto available = keys.Available();
    ASSERT_FALSE(available.empty());
    for (const auto& f : available)
        EXPECT_FALSE(keys.Keys().HasCode(f.Code)) << f.Text;

    // Added before the selected key, with the sort flag set.
    const int added = keys.Add(available.front().Code, 0);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(keys.Keys().KeyCode(0), available.front().Code);
    EXPECT_EQ(keys.Keys().KeySortBy(0), 1);
    EXPECT_EQ(keys.KeyText(0), available.front().Text);
    keys.ToggleSortBy(0);
    EXPECT_EQ(keys.Keys().KeySortBy(0), 0);
    EXPECT_EQ(keys.Move(0, -1), -1);
    EXPECT_EQ(keys.Move(0, +1), 1);
    EXPECT_EQ(keys.Keys().KeyCode(1), available.front().Code);
    EXPECT_EQ(keys.Delete(1), 1);
    EXPECT_EQ(keys.Keys().Count(), count);

    // Only the surname as key: the previews follow.
    while (keys.Keys().Count() > 0)
        keys.Delete(0);
    keys.Add(kFieldSurname, -1);
    EXPECT_EQ(keys.DisplayPreview(), "Smith");
    EXPECT_EQ(keys.SortPreview(), "Smith");

    keys.Cancel();
    EXPECT_EQ(entry.UseDefaultKeys, 1);
    EXPECT_EQ(entry.Keys, bookKeys);

    // Back to the book's keys: applied at once.
    keys.SetOverride(true);
    keys.Delete(0);
    keys.SetOverride(false);
    EXPECT_EQ(entry.Keys, bookKeys);
}

} // namespace
} // namespace tessaly
