#include "core/common/file_paths.h"
#include "core/frame/hand_over.h"
#include "core/settings/config_files.h"
#include "core/settings/ini_migration.h"
#include "core/settings/open_files.h"
#include "core/settings/reopen_list.h"
#include "tests/support/memory_settings_store.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tessaly {
namespace {

// A fresh folder for one test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (fs::temp_directory_path() / "tessaly-settings-XXXXXX").string();
        path_ = mkdtemp(tmpl.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

void WriteFile(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Slot(const TReopenList& l, int i) {
    return l.At(i).Path;
}

TEST(ReopenList, RemoveOnOpenAddOnCloseAndTheSixthPushesTheOldestOut) {
    TReopenList l;
    for (const char* p : {"/b/1.ADR", "/b/2.ADR", "/b/3.TDY", "/b/4.ADR", "/b/5.ADR"})
        l.Add(p, FileTypeText(FileKindOf(p)));
    EXPECT_EQ(Slot(l, 0), "/b/5.ADR");
    EXPECT_EQ(Slot(l, 4), "/b/1.ADR");
    EXPECT_EQ(l.At(2).Type, "TDY");
    l.Add("/b/6.ADR", "ADR");
    EXPECT_EQ(Slot(l, 0), "/b/6.ADR");
    EXPECT_EQ(Slot(l, 4), "/b/2.ADR");
    EXPECT_EQ(l.Find("/b/1.ADR"), -1);

    // Opening a listed file removes it; the later slots move up.
    l.Remove("/b/./4.ADR");
    EXPECT_EQ(Slot(l, 2), "/b/3.TDY");
    EXPECT_EQ(l.At(2).Type, "TDY");
    EXPECT_TRUE(l.IsEmpty(4));
    EXPECT_TRUE(l.At(4).Type.empty());

    // A listed file closing again stays where it is.
    l.Add("/b/3.TDY", "TDY");
    EXPECT_EQ(Slot(l, 2), "/b/3.TDY");
    EXPECT_EQ(Slot(l, 0), "/b/6.ADR");
    EXPECT_TRUE(l.At(99).Path.empty());
}

TEST(ReopenList, PathsKeepTheirCaseAndCompareByFile) {
    TReopenList l;
    l.Add("/home/u/Books/Friends.ADR", "ADR");
    EXPECT_EQ(Slot(l, 0), "/home/u/Books/Friends.ADR");
    EXPECT_EQ(l.Find("/home/u/Books/../Books/Friends.ADR"), 0);
#ifndef _WIN32
    // Where case matters these are two files.
    EXPECT_EQ(l.Find("/home/u/books/friends.adr"), -1);
#endif
}

TEST(ReopenList, StoredInMruWithOnlyTheFilledSlots) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    store.Write("MRU", "9", "stale");
    TReopenList l;
    l.Add("/b/One.ADR", "ADR");
    l.Add("/b/Two.TDY", "TDY");
    l.Save(a);
    EXPECT_FALSE(store.Read("MRU", "9"));
    EXPECT_EQ(store.Read("MRU", "1"), "/b/Two.TDY");
    EXPECT_EQ(store.Read("MRU", "1 Type"), "TDY");
    EXPECT_EQ(store.ValueNames("MRU").size(), 4u);
    TReopenList r;
    store.Write("MRU", "4", "/b/Three.ADR"); // no type stored: an address book
    r.Load(a);
    EXPECT_EQ(Slot(r, 1), "/b/One.ADR");
    EXPECT_TRUE(r.IsEmpty(2));
    EXPECT_EQ(r.At(3).Type, "ADR");
}

TEST(OpenFiles, RecordedAndReadBack) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    store.Write("Files", "3", "/old/Gone.ADR");
    TOpenFiles f{{"/b/Home.ADR", "/b/Work.ADR"}, {"/d/Plans.tdy"}, ActiveNameOf("/d/Plans.tdy")};
    RecordOpenFiles(a, f);
    EXPECT_FALSE(store.Read("Files", "3"));
    EXPECT_EQ(store.Read("Opened", "Active"), "PLANS.TDY");
    EXPECT_EQ(store.Read("Opened", "Open Books"), "2");
    EXPECT_EQ(store.Read("Diary", "1"), "/d/Plans.tdy");
    EXPECT_EQ(ReadOpenFiles(a), f);

    RecordOpenFiles(a, TOpenFiles{});
    EXPECT_EQ(store.Read("Opened", "Open Books"), "0");
    EXPECT_EQ(store.Read("Opened", "Open Diary"), "0");
    EXPECT_EQ(ReadOpenFiles(a), TOpenFiles{});
}

TEST(HandOver, MessagesRoundTripAndPartsAreIncomplete) {
    const THandOver open{"/home/u/My Books/Friends\n.ADR", TFileKind::Book};
    const THandOver diary{"/d/Plans.TDY", TFileKind::Diary};
    for (const THandOver& h : {open, diary, THandOver{}}) {
        const std::string msg = EncodeHandOver(h);
        THandOver out{"unchanged", TFileKind::Diary};
        for (std::size_t n = 0; n < msg.size(); ++n)
            ASSERT_EQ(DecodeHandOver(msg.substr(0, n), out), THandOverStatus::Incomplete) << n;
        ASSERT_EQ(DecodeHandOver(msg, out), THandOverStatus::Complete);
        EXPECT_EQ(out, h);
        EXPECT_EQ(DecodeHandOver(msg + "x", out), THandOverStatus::Invalid);
    }
    THandOver out;
    EXPECT_EQ(DecodeHandOver("GET / HTTP/1.0\r\n", out), THandOverStatus::Invalid);
    EXPECT_EQ(DecodeHandOver("TESSALY-HANDOVER 1\nOPEN XYZ 3\nabc", out), THandOverStatus::Invalid);
    EXPECT_EQ(DecodeHandOver("TESSALY-HANDOVER 1\nOPEN ADR 99999999\n", out),
              THandOverStatus::Invalid);
    EXPECT_EQ(DecodeHandOver("TESSALY-HANDOVER 1\nOPEN ADR 0\n", out), THandOverStatus::Invalid);
}

TEST(HandOver, RelativeArgumentResolvesInTheSecondCopysFolder) {
    TempDir dir;
    WriteFile(dir / "Books/Home.ADR", "x");
    WriteFile(dir / "Books/Plans.TDY", "x");
    const THandOver h = HandOverFor("Books/Home.ADR", dir.Path().string());
    EXPECT_EQ(h.Path, CanonicalPath((dir / "Books/Home.ADR").string()));
    EXPECT_EQ(h.Kind, TFileKind::Book);
    EXPECT_EQ(HandOverFor("Books/Plans.TDY", dir.Path().string()).Kind, TFileKind::Diary);
    // A missing file or none at all only raises the running copy.
    EXPECT_TRUE(HandOverFor("Books/None.ADR", dir.Path().string()).Path.empty());
    EXPECT_TRUE(HandOverFor("", dir.Path().string()).Path.empty());
    EXPECT_TRUE(HandOverFor("Books", dir.Path().string()).Path.empty());
}

class MoveConfig : public ::testing::Test {
protected:
    TempDir dir;
    fs::path source = dir / "prog";
    fs::path target = dir / "cfg";
    void SetUp() override {
        WriteFile(source / "TESSALY.DEF", "defaults");
        WriteFile(source / "TESSALY.TPW", std::string(20000, 'w'));
        WriteFile(source / "Letters.TPL", "layout");
        WriteFile(source / "TESSALY.TPP", "papers");
        WriteFile(source / "README.TXT", "other");
    }
};

TEST_F(MoveConfig, MovesEveryFileAndDeletesTheSources) {
    const auto r = MoveConfigFiles(target.string(), source.string(), "TESSALY");
    ASSERT_TRUE(r.Success);
    EXPECT_FALSE(r.TargetHadFiles);
    EXPECT_EQ(ReadFile(target / "TESSALY.TPW"), std::string(20000, 'w'));
    EXPECT_EQ(ReadFile(target / "Letters.TPL"), "layout");
    EXPECT_EQ(ReadFile(target / "TESSALY.TPP"), "papers");
    EXPECT_FALSE(fs::exists(source / "TESSALY.DEF"));
    EXPECT_FALSE(fs::exists(source / "Letters.TPL"));
    EXPECT_FALSE(fs::exists(target / "README.TXT"));
    EXPECT_TRUE(fs::exists(source / "README.TXT"));
}

TEST_F(MoveConfig, SameDirectorySucceedsAtOnce) {
    const auto r = MoveConfigFiles(source.string() + "/.", source.string(), "TESSALY");
    EXPECT_TRUE(r.Success);
    EXPECT_TRUE(fs::exists(source / "TESSALY.DEF"));
}

TEST_F(MoveConfig, TargetWithConfigurationFilesIsRefusedUntouched) {
    WriteFile(target / "tessaly.tpq", "theirs");
    const auto r = MoveConfigFiles(target.string(), source.string(), "TESSALY");
    EXPECT_FALSE(r.Success);
    EXPECT_TRUE(r.TargetHadFiles);
    EXPECT_EQ(ReadFile(target / "tessaly.tpq"), "theirs");
    EXPECT_TRUE(fs::exists(source / "TESSALY.DEF"));
    EXPECT_FALSE(fs::exists(target / "TESSALY.DEF"));
}

TEST_F(MoveConfig, ExistingLayoutInTargetIsNeverOverwrittenAndOnlyCopiesAreRolledBack) {
    WriteFile(target / "Letters.TPL", "their layout");
    const auto r = MoveConfigFiles(target.string(), source.string(), "TESSALY");
    EXPECT_FALSE(r.Success);
    EXPECT_FALSE(r.TargetHadFiles);
    EXPECT_EQ(ReadFile(target / "Letters.TPL"), "their layout");
    // The files copied before the clash are gone again; the sources are all kept.
    EXPECT_FALSE(fs::exists(target / "TESSALY.DEF"));
    EXPECT_FALSE(fs::exists(target / "TESSALY.TPW"));
    EXPECT_EQ(ReadFile(source / "TESSALY.TPW"), std::string(20000, 'w'));
    EXPECT_EQ(ReadFile(source / "Letters.TPL"), "layout");
}

TEST_F(MoveConfig, UnwritableTargetFailsAndKeepsTheSources) {
    fs::create_directories(target);
    WriteFile(target / "notes.txt", "mine");
    // A plain file where the target's layout copy would go cannot be written even by
    // root: the target path is below a file, not a directory.
    const auto below = (target / "notes.txt" / "sub").string();
    auto r = MoveConfigFiles(below, source.string(), "TESSALY");
    EXPECT_FALSE(r.Success);
    EXPECT_TRUE(fs::exists(source / "TESSALY.DEF"));
    EXPECT_EQ(ReadFile(target / "notes.txt"), "mine");
    // The root directory is not supported, nor is an empty name.
    EXPECT_FALSE(MoveConfigFiles("/", source.string(), "TESSALY").Success);
    EXPECT_FALSE(MoveConfigFiles("", source.string(), "TESSALY").Success);
}

TEST_F(MoveConfig, MissingTargetFolderIsCreated) {
    const auto deep = target / "a" / "b";
    ASSERT_TRUE(MoveConfigFiles(deep.string(), source.string(), "TESSALY").Success);
    EXPECT_EQ(ReadFile(deep / "TESSALY.DEF"), "defaults");
}

TEST(IniMigration, CopiesNonEmptyValuesOnceAndSetsTheFlag) {
    TempDir dir;
    WriteFile(dir / "TESSALY.INI", "; old settings\r\n"
                                   "[General]\r\nUndo Level=12\r\nEmpty=\r\n"
                                   "[main window]\r\nState = 1\r\n"
                                   "[Unknown]\r\nSkip=1\r\n"
                                   "[Important]\r\nMigrated=0\r\nDo Not Delete=1\r\n");
    MemorySettingsStore store;
    TSettingsAccess a(store);
    ASSERT_TRUE(MigrateIniSettings(a, (dir / "TESSALY.INI").string()));
    EXPECT_EQ(store.Read("General", "Undo Level"), "12");
    EXPECT_FALSE(store.Read("General", "Empty"));
    EXPECT_EQ(store.Read("Main Window", "State"), "1");
    EXPECT_FALSE(store.Read("Unknown", "Skip"));
    EXPECT_EQ(store.Read("Important", "Do Not Delete"), "1");
    EXPECT_EQ(store.Read("Important", "Migrated"), "1");
    // Never again, even when the old file changes.
    WriteFile(dir / "TESSALY.INI", "[General]\nUndo Level=3\n");
    EXPECT_FALSE(MigrateIniSettings(a, (dir / "TESSALY.INI").string()));
    EXPECT_EQ(store.Read("General", "Undo Level"), "12");
}

TEST(IniMigration, MissingFileStillSetsTheFlag) {
    MemorySettingsStore store;
    TSettingsAccess a(store);
    EXPECT_TRUE(MigrateIniSettings(a, "/nonexistent/TESSALY.INI"));
    EXPECT_EQ(a.ReadInteger("Important", "Migrated", 0), 1);
}

} // namespace
} // namespace tessaly
