// The "Export MRU" section: recent files put first once, the size kept, the template of
// each type, and the encodings of the templates surviving every rewrite.

#include "core/exchange/export_mru.h"
#include "tests/support/memory_settings_store.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(ExportMru, RecentFilesTemplatesAndEncodings) {
    MemorySettingsStore store;
    TSettingsAccess access(store);
    access.WriteInteger(kExportMruSection, "Size", 3);
    SetExportsUtf8(access, "Mail Merge", true);
    EXPECT_TRUE(ExportsUtf8(access, "Mail Merge"));
    EXPECT_FALSE(ExportsUtf8(access, "Other"));

    RecordWizardRun(access, 1, "Mail Merge", "/tmp/a.csv");
    RecordWizardRun(access, 5, "Default Address Book Import", "/tmp/b.csv");
    RecordWizardRun(access, 2, "Reminders", "/tmp/a.csv"); // known: the order stays
    TExportMru mru = ReadExportMru(access);
    EXPECT_EQ(mru.Size, 3);
    EXPECT_EQ(mru.Last, "/tmp/a.csv");
    EXPECT_EQ(mru.Files, (std::vector<std::string>{"/tmp/b.csv", "/tmp/a.csv"}));
    RecordWizardRun(access, 1, "Mail Merge", "/tmp/c.csv"); // at most Size - 1 names
    EXPECT_EQ(ReadExportMru(access).Files, (std::vector<std::string>{"/tmp/c.csv", "/tmp/b.csv"}));
    EXPECT_EQ(LastTemplate(access, 5), "Default Address Book Import");
    EXPECT_EQ(LastTemplate(access, 2), "Reminders");
    EXPECT_EQ(LastTemplate(access, 4), "");
    EXPECT_TRUE(ExportsUtf8(access, "Mail Merge"));

    MemorySettingsStore empty;
    TSettingsAccess fresh(empty);
    EXPECT_EQ(ReadExportMru(fresh).Size, 10);
}

} // namespace
} // namespace tessaly
