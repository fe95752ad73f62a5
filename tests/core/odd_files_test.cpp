// Books and diaries named by targets that are not plain files: a FIFO, a device, a
// huge sparse file, a symbolic link to a file not yet made. Each is refused at once or
// handled as an ordinary file is, never read without end or silently replaced.

#include "core/diary/diary.h"
#include "core/store/book_file.h"
#include "core/system/file_io.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tessaly {
namespace {

namespace fs = std::filesystem;
using testing::NoDefaultsFile;
using testing::ReadBytes;
using testing::TScratchDir;
using testing::WriteBytes;

// Runs `read` on a thread and tells whether it came back within a few seconds. A
// reader stuck opening the FIFO is let go by opening and closing the FIFO's other
// end, so that a fault fails the test instead of hanging it.
bool ReturnsAtOnce(const std::string& fifo, const std::function<void()>& read) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread reader([&] {
        read();
        done.set_value();
    });
    const bool quick = finished.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    while (finished.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            ::close(fd);
    }
    reader.join();
    return quick;
}

TEST(OddFiles, AFifoAsABookOrDiaryIsRefusedAtOnce) {
    TScratchDir dir;
    for (const char* name : {"PIPE.ADR", "PIPE.TDY", "TESSALY.DEF"}) {
        SCOPED_TRACE(name);
        const std::string fifo = dir.File(name);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        TLoadResult book;
        EXPECT_TRUE(ReturnsAtOnce(fifo, [&] { book = LoadBook(fifo, NoDefaultsFile()); }));
        EXPECT_FALSE(book.Book);
        EXPECT_EQ(book.Code, kCodeUnreadable);
        EXPECT_NE(book.Message.find("not a regular file"), std::string::npos) << book.Message;
        TLoadResult events;
        EXPECT_TRUE(ReturnsAtOnce(fifo, [&] { events = LoadBookEvents(fifo, NoDefaultsFile()); }));
        EXPECT_EQ(events.Code, kCodeUnreadable);
        TDiaryLoad diary;
        EXPECT_TRUE(ReturnsAtOnce(fifo, [&] { diary = LoadDiary(fifo); }));
        EXPECT_FALSE(diary.Diary);
        EXPECT_TRUE(diary.Unreadable);
        EXPECT_NE(diary.Message.find("not a regular file"), std::string::npos) << diary.Message;
        // The defaults file and the back-up copy are read through the same seam.
        std::vector<std::uint8_t> bytes;
        TIoResult whole;
        EXPECT_TRUE(ReturnsAtOnce(fifo, [&] { whole = ReadWholeFile(fifo, bytes); }));
        EXPECT_FALSE(whole.Ok);
        TIoResult copy;
        EXPECT_TRUE(ReturnsAtOnce(fifo, [&] { copy = CopyFileAtomically(fifo, dir.File("c")); }));
        EXPECT_FALSE(copy.Ok);
        EXPECT_FALSE(fs::exists(dir.File("c")));
    }
}

// A diary is read as far as its counts need, as a book is, not whole into memory.
TEST(OddFiles, AHugeDiaryOrADeviceIsRefusedWithoutReadingItWhole) {
    TScratchDir dir;
    const std::string huge = dir.File("HUGE.TDY");
    auto diary = NewDiary(huge);
    auto event = std::make_unique<TReminders>();
    event->SetDescription("Dentist");
    diary->Events.Add(std::move(event));
    const auto image = WriteDiaryImage(*diary);
    const std::int64_t size = std::int64_t{4} << 30;
    // Its body and its trailer are right, with a hole of 4 GB between them.
    WriteBytes(huge, std::vector<std::uint8_t>(image.begin(), image.end() - 6));
    fs::resize_file(huge, static_cast<std::uintmax_t>(size));
    {
        std::fstream out(huge, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(size - 6);
        out.write(reinterpret_cast<const char*>(kDiarySignature.data()), 6);
    }
    testing::TFaultFileSystem counted;
    const TDiaryLoad refused = LoadDiary(huge, counted);
    EXPECT_FALSE(refused.Diary);
    EXPECT_FALSE(refused.Unreadable);
    EXPECT_EQ(refused.Message, "HUGE.TDY " + std::string(kMsgDiaryCorrupt));
    EXPECT_LE(std::ranges::count(counted.Log(), std::string("read")), 3);

    // The same diary with its trailer where it belongs reads as before.
    WriteBytes(huge, image);
    const TDiaryLoad loaded = LoadDiary(huge);
    ASSERT_TRUE(loaded.Diary) << loaded.Message;
    EXPECT_EQ(WriteDiaryImage(*loaded.Diary), image);

    const std::string zero = dir.File("ZERO.TDY");
    fs::create_symlink("/dev/zero", zero);
    const TDiaryLoad device = LoadDiary(zero);
    EXPECT_TRUE(device.Unreadable);
    EXPECT_EQ(device.Message,
              "cannot read " + zero + ": Invalid argument (it is not a regular file)");
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(ReadWholeFile(zero, bytes).Ok);
    EXPECT_TRUE(bytes.empty());
}

// A link to a file that does not exist yet is written through, as a link to an
// existing file is: the link stays and its target is made.
TEST(OddFiles, ASaveThroughALinkToAFileNotYetMadeMakesTheFile) {
    TScratchDir dir;
    fs::create_directories(dir.File("data"));
    fs::create_directories(dir.File("links"));
    const std::string link = dir.File("links/BOOK.ADR");
    fs::create_symlink("../data/REAL.ADR", link);
    auto book = NewBook(link, NoDefaultsFile());
    book->ListWidth = 222;
    const TSaveResult saved = SaveBook(*book, false, NoDefaultsFile());
    ASSERT_TRUE(saved.Ok) << saved.Error;
    EXPECT_TRUE(fs::is_symlink(link));
    ASSERT_TRUE(fs::is_regular_file(dir.File("data/REAL.ADR")));
    const TLoadResult back = LoadBook(link, NoDefaultsFile());
    ASSERT_TRUE(back.Book) << back.Message;
    EXPECT_EQ(back.Book->ListWidth, 222);
    // Saved again, the book finds the file it wrote, not a changed one.
    EXPECT_TRUE(SaveBook(*book, false, NoDefaultsFile()).Ok);
    EXPECT_TRUE(fs::is_symlink(link));

    // A diary the same way, through a chain of two links.
    fs::create_symlink("DIARY2.TDY", dir.File("links/DIARY.TDY"));
    fs::create_symlink(dir.File("data/PLANS.TDY"), dir.File("links/DIARY2.TDY"));
    auto diary = NewDiary(dir.File("links/DIARY.TDY"));
    ASSERT_TRUE(SaveDiary(*diary, false, NoDefaultsFile()).Ok);
    EXPECT_TRUE(fs::is_symlink(dir.File("links/DIARY.TDY")));
    EXPECT_TRUE(fs::is_symlink(dir.File("links/DIARY2.TDY")));
    EXPECT_TRUE(LoadDiary(dir.File("data/PLANS.TDY")).Diary);
}

TEST(OddFiles, ALinkThatCannotLeadToAFileIsRefusedAndKept) {
    TScratchDir dir;
    const std::vector<std::uint8_t> data{1, 2, 3};
    // Its target's folder is missing.
    const std::string nowhere = dir.File("NOWHERE.ADR");
    fs::create_symlink(dir.File("missing/REAL.ADR"), nowhere);
    EXPECT_FALSE(WriteFileAtomically(nowhere, data).Ok);
    EXPECT_TRUE(fs::is_symlink(nowhere));
    EXPECT_FALSE(fs::exists(dir.File("missing")));
    // Two links that name each other.
    const std::string a = dir.File("A.ADR");
    const std::string b = dir.File("B.ADR");
    fs::create_symlink(b, a);
    fs::create_symlink(a, b);
    const TIoResult loop = WriteFileAtomically(a, data);
    EXPECT_FALSE(loop.Ok);
    EXPECT_TRUE(fs::is_symlink(a));
    EXPECT_TRUE(fs::is_symlink(b));
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A.ADR", "B.ADR", "NOWHERE.ADR"}));
}

} // namespace
} // namespace tessaly
