// tessaly-cli against other writers, protected books, odd targets and hostile input:
// each refusal leaves the book as it was and says why in one line.

#include "cli/edit_commands.h"
#include "cli/list_commands.h"
#include "cli/utf8_pieces.h"
#include "cli/vcard_commands.h"
#include "core/common/codepage.h"
#include "core/store/book_file.h"
#include "core/store/stream.h"
#include "core/system/file_lock.h"
#include "tests/cli/cli_test_run.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using clitest::TRun;
using testing::ReadBytes;
using testing::TFaultFileSystem;
using testing::TScratchDir;

// A command of the tool that changes a book, run with the given streams.
struct TChange {
    const char* Name;
    std::string Input;
    std::function<int(const std::string&, TCliStreams, const TWriteOptions&)> Run;
};

std::vector<TChange> Changes() {
    return {
        {"add", R"({"NameFields": ["", "Eve", "Evans", "", "", "", "", "", "", ""]})",
         [](const std::string& p, TCliStreams io, const TWriteOptions& o) {
             return CommandAdd(p, io, o);
         }},
        {"delete", "",
         [](const std::string& p, TCliStreams io, const TWriteOptions& o) {
             return CommandDelete(p, TEntrySelector{1, std::nullopt, false}, io, o);
         }},
        {"tag", "",
         [](const std::string& p, TCliStreams io, const TWriteOptions& o) {
             return CommandTag(p, TEntrySelector{std::nullopt, std::nullopt, true}, true, io, o);
         }},
        {"vcard import", "",
         [](const std::string& p, TCliStreams io, const TWriteOptions& o) {
             // Beside the book's folder, whose files the tests count.
             const std::string card = ::testing::TempDir() + "tessaly-writers.vcf";
             std::ofstream(card, std::ios::binary) << "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                                                      "N:Evans;Eve;;;\r\nEND:VCARD\r\n";
             return CommandVCardImport(p, card, io, o);
         }},
    };
}

class CliWriters : public ::testing::Test {
protected:
    CliWriters() : path(dir.File("BOOK.ADR")) {
        FakeClock clock(45000);
        auto book = NewBook(path, testing::NoDefaultsFile(), clock);
        for (const char* surname : {"Adams", "Baker", "Clark"}) {
            TRecord e;
            e.SetNameField(kFieldSurname, surname);
            book->Entries.AddEntryCopy(e, clock);
        }
        EXPECT_TRUE(SaveBook(*book, false, TStoreSettings()).Ok);
        original = ReadBytes(path);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.Path()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TScratchDir dir;
    std::string path;
    std::vector<std::uint8_t> original;
};

TEST_F(CliWriters, ABookRewrittenBetweenReadAndWriteIsNotOverwrittenUnlessForced) {
    // The other writer's book: the same with one more entry, written without a lock.
    auto other = LoadBook(path, TStoreSettings()).Book;
    TRecord extra;
    extra.SetNameField(kFieldSurname, "Other");
    other->Entries.AddEntryCopy(extra, SystemClock::Instance());
    const std::vector<std::uint8_t> theirs = WriteBookImage(*other);

    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        testing::WriteBytes(path, original);
        TFaultFileSystem files;
        // The save's first look at the file comes after the book was read.
        files.Before("stat", [&] { testing::WriteBytes(path, theirs); });
        TRun run(change.Input);
        TCliStreams io = run.Streams();
        io.Files = &files;
        EXPECT_EQ(change.Run(path, io, TWriteOptions()), 1);
        EXPECT_EQ(run.Err.str(), "BOOK.ADR was changed by another user or program since it was "
                                 "read; it was not changed. Give --force to overwrite those "
                                 "changes.\n");
        // add prints its entry before the book is written; the status says it was not.
        EXPECT_EQ(run.Out.str().empty(), std::string_view(change.Name) != "add");
        EXPECT_EQ(ReadBytes(path), theirs);
        EXPECT_EQ(Names(), std::vector<std::string>{"BOOK.ADR"});

        // Forced, the change is written over the other writer's.
        testing::WriteBytes(path, original);
        TFaultFileSystem again;
        again.Before("stat", [&] { testing::WriteBytes(path, theirs); });
        TRun forced(change.Input);
        TCliStreams forcedIo = forced.Streams();
        forcedIo.Files = &again;
        TWriteOptions force;
        force.Force = true;
        EXPECT_EQ(change.Run(path, forcedIo, force), 0) << forced.Err.str();
        EXPECT_NE(ReadBytes(path), theirs);
        EXPECT_EQ(Names(), std::vector<std::string>{"BOOK.ADR"});
    }
}

TEST_F(CliWriters, ASecondWriterWaitsForTheLockThenGivesUp) {
    TFileLock held;
    ASSERT_TRUE(held.Acquire(path, std::chrono::milliseconds(0)));
    ASSERT_TRUE(held.Held());
    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        TRun run(change.Input);
        TWriteOptions noWait;
        noWait.WaitSeconds = 0;
        EXPECT_EQ(change.Run(path, run.Streams(), noWait), 1);
        EXPECT_EQ(run.Err.str(), "BOOK.ADR is being changed by another program; it was not "
                                 "changed. Try again later.\n");
        EXPECT_EQ(ReadBytes(path), original);
    }
    // Released while the writer waits: it goes ahead.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        held.Release();
    });
    TRun run;
    TWriteOptions wait;
    wait.WaitSeconds = 5;
    EXPECT_EQ(CommandTag(path, TEntrySelector{0, std::nullopt, false}, true, run.Streams(), wait),
              0)
        << run.Err.str();
    release.join();
    EXPECT_EQ(LoadBook(path, TStoreSettings()).Book->Entries.CountTagged(), 1);
}

TEST_F(CliWriters, AReadOnlyBookIsNotReplacedWhoeverAsks) {
    // Also for the superuser, whom the system itself would let write: the mode bits
    // are what mark a book read-only, as the book window reads them.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    const std::string expected = "BOOK.ADR could not be written: cannot write " + path +
                                 ": Permission denied (the file is read-only for this user)\n";
    for (const TChange& change : Changes()) {
        SCOPED_TRACE(change.Name);
        TRun run(change.Input);
        EXPECT_EQ(change.Run(path, run.Streams(), TWriteOptions()), 1);
        EXPECT_EQ(run.Err.str(), expected);
    }
    TRun dump;
    ASSERT_EQ(CommandDump(path, dump.Streams()), 0);
    TRun loadRun(dump.Out.str());
    EXPECT_EQ(CommandLoad(path, loadRun.Streams()), 1);
    EXPECT_EQ(loadRun.Err.str(), expected);
    TRun newRun;
    EXPECT_EQ(CommandNew(path, dir.File("config"), true, newRun.Streams()), 1);
    EXPECT_EQ(newRun.Err.str(), expected);
    TRun sample;
    EXPECT_EQ(CommandSample(path, true, sample.Streams()), 1);
    EXPECT_EQ(sample.Err.str(), expected);

    EXPECT_EQ(ReadBytes(path), original);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(Names(), std::vector<std::string>{"BOOK.ADR"});
}

TEST_F(CliWriters, ASaveKeepsTheOwnerGroupAndModeOrRefuses) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to give the book to another user";
    constexpr uid_t kOther = 65534;
    ASSERT_EQ(::chown(path.c_str(), kOther, kOther), 0);
    // The superuser is held to the bits of the others, as any user who neither owns the
    // book nor is in its group.
    ASSERT_EQ(::chmod(path.c_str(), 0646), 0);
    TRun run;
    ASSERT_EQ(CommandTag(path, TEntrySelector{0, std::nullopt, false}, true, run.Streams()), 0)
        << run.Err.str();
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(st.st_gid, kOther);
    EXPECT_EQ(st.st_mode & 07777, 0646u);

    // Another user may write the book (its mode allows it) but could not keep its
    // owner: the book is refused rather than handed to that user.
    ASSERT_EQ(::chown(path.c_str(), 0, 0), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const auto before = ReadBytes(path);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(kOther) != 0 || ::setuid(kOther) != 0)
            ::_exit(3);
        TRun other;
        const int status =
            CommandTag(path, TEntrySelector{1, std::nullopt, false}, true, other.Streams());
        const bool said = other.Err.str() == "BOOK.ADR could not be written: cannot keep the "
                                             "owner of " +
                                                 path +
                                                 ": Operation not permitted (the file belongs "
                                                 "to another user)\n";
        ::_exit(status == 1 && said ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(path), before);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(Names(), std::vector<std::string>{"BOOK.ADR"});
}

TEST_F(CliWriters, ADeviceOrFifoIsNeverReplacedByABook) {
    const std::string fifo = dir.File("PIPE.ADR");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::vector<std::string> targets{fifo};
    const std::string device = dir.File("NULL.ADR");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        targets.push_back(device);
    TRun dump;
    ASSERT_EQ(CommandDump(path, dump.Streams()), 0);
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const std::string expected = fs::path(target).filename().string() +
                                     " could not be written: cannot write " + target +
                                     ": Invalid argument (it is not a regular file)\n";
        TRun load(dump.Out.str());
        EXPECT_EQ(CommandLoad(target, load.Streams()), 1);
        EXPECT_EQ(load.Err.str(), expected);
        TRun made;
        EXPECT_EQ(CommandNew(target, dir.File("config"), true, made.Streams()), 1);
        EXPECT_EQ(made.Err.str(), expected);
        TRun sample;
        EXPECT_EQ(CommandSample(target, true, sample.Streams()), 1);
        EXPECT_EQ(sample.Err.str(), expected);
        struct stat st {};
        ASSERT_EQ(::lstat(target.c_str(), &st), 0);
        EXPECT_FALSE(S_ISREG(st.st_mode));
    }
}

TEST_F(CliWriters, ABookIsNeverWrittenAsADiaryNorADiaryAsABook) {
    const std::string diary = dir.File("PLANS.TDY");
    const std::string backup = dir.File("PLANS.BKD");
    TRun makeDiary;
    ASSERT_EQ(CommandNew(diary, dir.File("config"), false, makeDiary.Streams()), 0);
    fs::copy_file(diary, backup);
    const auto diaryBytes = ReadBytes(diary);
    TRun dump;
    ASSERT_EQ(CommandDump(path, dump.Streams()), 0);

    // Every command that writes a book refuses a diary's name, whatever the file holds.
    for (const std::string& target : {diary, backup}) {
        SCOPED_TRACE(target);
        const std::string said = fs::path(target).filename().string() +
                                 " is a diary's name; an address book is not written to it\n";
        TRun sample;
        EXPECT_EQ(CommandSample(target, true, sample.Streams()), 1);
        EXPECT_EQ(sample.Err.str(), said);
        if (target == backup) {
            TRun made;
            EXPECT_EQ(CommandNew(target, dir.File("config"), true, made.Streams()), 1);
            EXPECT_EQ(made.Err.str(), said);
            TRun load(dump.Out.str());
            EXPECT_EQ(CommandLoad(target, load.Streams()), 1);
            EXPECT_EQ(load.Err.str(), said);
        }
        for (const TChange& change : Changes()) {
            SCOPED_TRACE(change.Name);
            TRun run(change.Input);
            EXPECT_EQ(change.Run(target, run.Streams(), TWriteOptions()), 1);
            EXPECT_EQ(run.Err.str(), said);
        }
        EXPECT_EQ(ReadBytes(target), diaryBytes);
    }

    // A file that holds the other kind is not replaced under a name of this kind.
    const std::string misnamed = dir.File("OLD.ADR");
    fs::copy_file(diary, misnamed);
    TRun sample;
    EXPECT_EQ(CommandSample(misnamed, true, sample.Streams()), 1);
    EXPECT_EQ(sample.Err.str(), "OLD.ADR holds a diary; an address book is not written over it\n");
    TRun load(dump.Out.str());
    EXPECT_EQ(CommandLoad(misnamed, load.Streams()), 1);
    EXPECT_EQ(load.Err.str(), sample.Err.str());
    EXPECT_EQ(ReadBytes(misnamed), diaryBytes);
    const std::string bookAsDiary = dir.File("BOOK.TDY");
    fs::copy_file(path, bookAsDiary);
    TRun fresh;
    EXPECT_EQ(CommandNew(bookAsDiary, dir.File("config"), true, fresh.Streams()), 1);
    EXPECT_EQ(fresh.Err.str(), "BOOK.TDY holds an address book; a diary is not written over it\n");
    TRun diaryDump;
    ASSERT_EQ(CommandDump(diary, diaryDump.Streams()), 0);
    TRun loadDiary(diaryDump.Out.str());
    EXPECT_EQ(CommandLoad(bookAsDiary, loadDiary.Streams()), 1);
    EXPECT_EQ(loadDiary.Err.str(), fresh.Err.str());
    EXPECT_EQ(ReadBytes(bookAsDiary), original);
    // A file of the right kind is replaced as before.
    TRun again;
    EXPECT_EQ(CommandSample(path, true, again.Streams()), 0) << again.Err.str();
    TRun newDiary;
    EXPECT_EQ(CommandNew(diary, dir.File("config"), true, newDiary.Streams()), 0)
        << newDiary.Err.str();
}

TEST_F(CliWriters, HostileJsonIsRefusedWithAMessage) {
    const std::string deep =
        "{\"Notes\": " + std::string(90000, '[') + std::string(90000, ']') + "}";
    const struct {
        const char* Name;
        std::string Json;
        const char* Reason;
    } cases[] = {
        {"huge number", R"({"Created": 1e400})", "number overflow parsing '1e400'"},
        {"deep nesting", deep, "nested deeper than 64 levels"},
        {"not JSON", "{\"Created\": ", "not valid JSON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TRun add(c.Json);
        EXPECT_EQ(CommandAdd(path, add.Streams()), 1);
        EXPECT_EQ(add.Err.str().rfind("BOOK.ADR was not changed. The JSON is refused: ", 0), 0u)
            << add.Err.str();
        EXPECT_NE(add.Err.str().find(c.Reason), std::string::npos) << add.Err.str();
        TRun load(c.Json);
        EXPECT_EQ(CommandLoad(path, load.Streams()), 1);
        const std::string message = load.Err.str();
        EXPECT_NE(message.find(c.Reason), std::string::npos) << message;
        EXPECT_EQ(std::ranges::count(message, '\n'), 1);
        EXPECT_EQ(ReadBytes(path), original);
    }
}

// An output that fails as a full disk does.
class TFullBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(CliWriters, ALostOutputIsAFailure) {
    TFullBuffer full;
    const struct {
        const char* Name;
        std::function<int(TCliStreams)> Run;
    } commands[] = {
        {"dump", [&](TCliStreams io) { return CommandDump(path, io); }},
        {"check", [&](TCliStreams io) { return CommandCheck(path, io); }},
        {"list", [&](TCliStreams io) { return CommandList(path, std::nullopt, io); }},
        {"searches", [&](TCliStreams io) { return CommandSearches(path, io); }},
    };
    for (const auto& c : commands) {
        SCOPED_TRACE(c.Name);
        std::istringstream in;
        std::ostream out(&full);
        std::ostringstream err;
        EXPECT_EQ(c.Run(TCliStreams{in, out, err}), 1);
        EXPECT_EQ(err.str(), "tessaly-cli: the output could not be written completely\n");
    }
    // add prints the new entry before the book is written: a lost printout leaves the
    // book as it was, so that a script that tries again does not add the entry twice.
    std::istringstream in("{}");
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(CommandAdd(path, TCliStreams{in, out, err}), 1);
    EXPECT_EQ(err.str(), "BOOK.ADR was not changed: the new entry could not be printed\n");
    EXPECT_EQ(ReadBytes(path), original);
}

TEST(CliPieces, OutputWrittenInPiecesIsTheWholeTextInUtf8) {
    // Lines of every length, with characters outside ASCII, over several pieces.
    std::string all;
    std::ostringstream out;
    TUtf8Pieces pieces(out);
    for (int i = 0; i < 20000; ++i) {
        const std::string line = std::string(static_cast<std::size_t>(i % 37), 'a') + "\xE9\x80" +
                                 std::to_string(i) + "\x9F\n";
        all += line;
        pieces.Text() += line;
        pieces.Written();
        ASSERT_LT(pieces.Text().size(), TUtf8Pieces::kPiece);
    }
    ASSERT_GT(all.size(), 3 * TUtf8Pieces::kPiece);
    pieces.Write();
    EXPECT_EQ(out.str(), Cp1252ToUtf8(all));
}

TEST_F(CliWriters, NumberOptionsAreDecimalOnly) {
    const struct {
        const char* Index;
        const char* Stamp;
        bool Ok;
    } cases[] = {
        {"0", nullptr, true},      {"12", nullptr, true},           {"007", nullptr, true},
        {"", nullptr, false},      {"0x1", nullptr, false},         {"-1", nullptr, false},
        {"+1", nullptr, false},    {" 1", nullptr, false},          {"1e2", nullptr, false},
        {"32768", nullptr, false}, {"99999999999", nullptr, false}, {nullptr, "45000.5", true},
        {nullptr, "-3", true},     {nullptr, "4.5e4", true},        {nullptr, "", false},
        {nullptr, "0x1p3", false}, {nullptr, "inf", false},         {nullptr, "nan", false},
        {nullptr, "1e400", false}, {nullptr, "1.", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index ? c.Index : c.Stamp);
        TRun run;
        TEntrySelector which;
        const auto text = [](const char* t) {
            return t ? std::optional<std::string>(t) : std::nullopt;
        };
        EXPECT_EQ(ParseEntrySelector(text(c.Index), text(c.Stamp), which, run.Streams()), c.Ok);
        if (c.Ok) {
            EXPECT_EQ(run.Err.str(), "");
            EXPECT_TRUE(c.Index ? which.Index == std::stoi(c.Index)
                                : which.Stamp == std::stod(c.Stamp));
        } else {
            EXPECT_NE(run.Err.str().find(c.Index ? "--index must be a decimal entry number"
                                                 : "--stamp must be a decimal number"),
                      std::string::npos);
            EXPECT_EQ(run.Err.str().back(), '\n');
        }
    }
}

TEST_F(CliWriters, AddingToAFullBookSaysSo) {
    auto book = LoadBook(path, TStoreSettings()).Book;
    TRecord e;
    e.SetNameField(kFieldSurname, "Filler");
    while (book->Entries.Count() < kMaxListCount)
        book->Entries.Add(std::make_unique<TRecord>(e));
    TSaveOptions force;
    force.Force = true;
    ASSERT_TRUE(SaveBook(*book, false, TStoreSettings(), force).Ok);
    const auto full = ReadBytes(path);
    TRun add("{}");
    EXPECT_EQ(CommandAdd(path, add.Streams()), 1);
    EXPECT_EQ(add.Err.str(),
              "BOOK.ADR is full: a book holds at most 32767 entries. The entry was not added.\n");
    EXPECT_EQ(ReadBytes(path), full);
}

} // namespace
} // namespace tessaly
