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

TEST(EntryKeys, ChangedOnlyWhenTheEntryDiffersAndBookKeysFollowed) {
    TStoreSettings settings;
    auto book = NewBook("/nowhere/K.ADR", settings);
    TRecord entry;
    entry.SetNameField(kFieldSurname, "Smith");
    entry.SetNameField(1, "Anna");
    ApplyBookKeys(entry, book->IndexKeys);
    {
        TEntryKeys keys(entry, *book);
        EXPECT_FALSE(keys.Changed());
        keys.SetOverride(true);
        EXPECT_TRUE(keys.Changed()); // the choice alone is a change
        keys.SetOverride(false);
        EXPECT_FALSE(keys.Changed());
        keys.SetOverride(true);
        keys.Lists().MoveTo(2, 0);
        EXPECT_TRUE(keys.Changed());
        EXPECT_EQ(keys.DisplayPreview(), "Smith Anna");
        keys.Cancel();
        EXPECT_FALSE(keys.Changed());
        EXPECT_FALSE(keys.CanChangeKeys()); // back on the book's keys: lists off
    }

    // The book's keys changed while the dialog is open ("&Index Keys"): an entry that
    // follows them takes them at once, one with its own keys keeps them.
    TEntryKeys follows(entry, *book);
    book->IndexKeys.DeleteKey(1);
    follows.BookChanged();
    EXPECT_EQ(entry.Keys, book->IndexKeys);
    EXPECT_EQ(follows.DisplayPreview(), "Smith");
    EXPECT_FALSE(follows.Changed());

    TRecord own;
    own.SetNameField(1, "Bea");
    own.UseDefaultKeys = 0;
    own.Keys.AddKey(1, true);
    TEntryKeys keeps(own, *book);
    book->IndexKeys.DeleteKey(0);
    keeps.BookChanged();
    EXPECT_EQ(own.Keys.Count(), 1);
    EXPECT_EQ(keeps.DisplayPreview(), "Bea");
}

} // namespace
} // namespace tessaly
