// Replays the fuzzers' seed corpus through the checks the fuzz targets make: no file
// may crash a reader or break the read-write-read cycle; the valid seeds must read and
// the damaged ones must be refused.

#include "fuzz/fuzz_checks.h"
#include "tests/support/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace tessaly {
namespace {

using fuzz::TOutcome;
using testing::TScratchDir;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

// Runs every seed of a folder through `check`; returns the number of seeds.
int Replay(const std::string& folder,
           const std::function<TOutcome(std::span<const std::uint8_t>)>& check) {
    int seeds = 0;
    const std::filesystem::path dir = std::filesystem::path(TESSALY_FUZZ_CORPUS_DIR) / folder;
    for (const auto& file : std::filesystem::directory_iterator(dir)) {
        const std::string name = file.path().filename().string();
        const auto bytes = FileBytes(file.path());
        const TOutcome outcome = check(bytes);
        EXPECT_FALSE(fuzz::IsFault(outcome)) << name << " gives " << static_cast<int>(outcome);
        if (name.starts_with("valid")) {
            EXPECT_EQ(outcome, TOutcome::Accepted) << name;
        } else if (name.starts_with("damaged")) {
            EXPECT_EQ(outcome, TOutcome::Refused) << name;
        }
        // Every prefix of a seed too: each cut lands somewhere else in the reader.
        for (std::size_t cut = 0; cut < bytes.size(); cut += 1 + bytes.size() / 64) {
            const TOutcome part = check(std::span(bytes).first(cut));
            EXPECT_FALSE(fuzz::IsFault(part)) << name << " cut at " << cut;
        }
        ++seeds;
    }
    return seeds;
}

TEST(FuzzCorpus, BookSeedsReadOrAreRefused) {
    EXPECT_GE(Replay("book", fuzz::CheckBookBytes), 4);
}

TEST(FuzzCorpus, BookSeedsTakeATagOnEveryEntryAsASaveWritesIt) {
    TScratchDir dir;
    EXPECT_GE(Replay("book",
                     [&](std::span<const std::uint8_t> bytes) {
                         return fuzz::CheckTagRewriteBytes(bytes, dir.Path());
                     }),
              4);
}

TEST(FuzzCorpus, DefaultsSeedsReadOrAreRefused) {
    EXPECT_GE(Replay("defaults", fuzz::CheckDefaultsBytes), 4);
}

TEST(FuzzCorpus, VCardSeedsComeBackFromTheirEntries) {
    EXPECT_GE(Replay("vcard", fuzz::CheckVCardBytes), 3);
}

TEST(FuzzCorpus, WordProcessorSeedsReadOrAreRefused) {
    EXPECT_GE(Replay("word_pro", fuzz::CheckWordProBytes), 6);
    // A new user's file is the default list exactly.
    EXPECT_EQ(FileBytes(std::filesystem::path(TESSALY_FUZZ_CORPUS_DIR) / "word_pro" /
                        "valid-defaults.tpw"),
              WriteWordProImage(DefaultWordProcessors()));
}

TEST(FuzzCorpus, DiarySeedsReadOrAreRefused) {
    EXPECT_GE(Replay("diary", fuzz::CheckDiaryBytes), 6);
}

TEST(FuzzCorpus, PrintingSeedsReadOrAreRefused) {
    EXPECT_GE(Replay("papers", fuzz::CheckPaperBytes), 6);
    EXPECT_GE(Replay("layouts", fuzz::CheckLayoutBytes), 6);
    EXPECT_GE(Replay("layout_objects", fuzz::CheckLayoutObjectBytes), 8);
    EXPECT_GE(Replay("quick_reports", fuzz::CheckQuickReportBytes), 6);
    EXPECT_GE(Replay("label_templates", fuzz::CheckLabelTemplateBytes), 4);
}

TEST(FuzzCorpus, AFreshDiaryPassesAndItsDamagedCopiesAreRefused) {
    TDiaryData diary;
    auto event = std::make_unique<TReminders>();
    event->When = 45000.25;
    event->Until = 44000; // before When: reads back as When
    event->SetDescription("Fuzz");
    diary.Events.Add(std::move(event));
    auto image = WriteDiaryImage(diary);
    EXPECT_EQ(fuzz::CheckDiaryBytes(image), TOutcome::Accepted);
    auto longer = image;
    longer.insert(longer.end() - 6, {0, 0});
    EXPECT_EQ(fuzz::CheckDiaryBytes(longer), TOutcome::Refused);
    image.back() ^= 1;
    EXPECT_EQ(fuzz::CheckDiaryBytes(image), TOutcome::Refused);
}

TEST(FuzzCorpus, AFreshBookPassesAndOneFlippedTrailerByteIsRefused) {
    TBookData book;
    book.SetBuiltInDefaults();
    auto image = WriteBookImage(book);
    EXPECT_EQ(fuzz::CheckBookBytes(image), TOutcome::Accepted);
    EXPECT_EQ(fuzz::CheckDefaultsBytes(WriteDefaultsImage(book)), TOutcome::Accepted);
    image.back() ^= 1;
    EXPECT_EQ(fuzz::CheckBookBytes(image), TOutcome::Refused);
}

TEST(FuzzCorpus, TemplateSeedsReadOrAreRefused) {
    // Each seed is one kind of template file; the other reader must refuse it cleanly.
    const auto either = [](std::span<const std::uint8_t> bytes) {
        const TOutcome i = fuzz::CheckImportTemplateBytes(bytes);
        const TOutcome e = fuzz::CheckExportTemplateBytes(bytes);
        if (fuzz::IsFault(i) || fuzz::IsFault(e))
            return fuzz::IsFault(i) ? i : e;
        return i == TOutcome::Accepted || e == TOutcome::Accepted ? TOutcome::Accepted
                                                                  : TOutcome::Refused;
    };
    EXPECT_GE(Replay("templates", either), 6);
}

TEST(FuzzCorpus, DelimitedSeedsReadBackTheSame) {
    EXPECT_GE(Replay("csv", fuzz::CheckCsvBytes), 3);
}

} // namespace
} // namespace tessaly
