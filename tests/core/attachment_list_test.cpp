// Attachments and call-log records: the duplicate question and the call-log texts.

#include "core/store/call_log.h"
#include "core/store/document.h"

#include <gtest/gtest.h>
#include <limits>

namespace tessaly {
namespace {

TEST(AttachmentList, AFileAttachedAgainIsAddedOnlyAfterYes) {
    TDocumentList docs;
    const auto first = docs.AddAttachment("Letter", "C:\\Docs\\Letter.DOC", true);
    EXPECT_EQ(first.Index, 0);
    EXPECT_FALSE(first.NeedsAnswer);

    // The same file in another case (and with blanks around it) is the same file.
    const auto asked = docs.AddAttachment("Again", "  c:\\docs\\letter.doc ", true);
    EXPECT_EQ(asked.Index, -1);
    ASSERT_TRUE(asked.NeedsAnswer);
    EXPECT_EQ(asked.Heading, "Attachment Management");
    EXPECT_EQ(asked.Question, "The specified attachment: \"c:\\docs\\letter.doc\" is already "
                              "defined to this Entry\n\nAre you sure you wish to add this "
                              "attachment again ?");
    EXPECT_EQ(docs.Count(), 1);

    const auto no = docs.AddAttachment("Again", "c:\\docs\\letter.doc", true, TDuplicateAnswer::No);
    EXPECT_EQ(no.Index, -1);
    EXPECT_FALSE(no.NeedsAnswer);
    EXPECT_EQ(docs.Count(), 1);

    const auto yes =
        docs.AddAttachment(" Again ", "c:\\docs\\letter.doc", false, TDuplicateAnswer::Yes);
    EXPECT_EQ(yes.Index, 1);
    EXPECT_EQ(docs.DescriptionAt(1), "Again");
    EXPECT_EQ(docs.IsDocumentAt(1), 0);

    // A new file is added whatever the answer given in advance.
    EXPECT_EQ(
        docs.AddAttachment("Web", "http://example.invalid/", false, TDuplicateAnswer::No).Index, 2);
}

TEST(AttachmentList, TheQuestionShowsTheFileNameAsItIs) {
    TDocumentList docs;
    docs.AddAttachment("Odd", "100%s done %d.txt", true);
    const auto asked = docs.AddAttachment("Odd", "100%S DONE %d.txt", true);
    ASSERT_TRUE(asked.NeedsAnswer);
    EXPECT_NE(asked.Question.find("\"100%S DONE %d.txt\" is already"), std::string::npos);
}

TEST(CallLogText, DurationsRoundToTheMillisecond) {
    const TDateTime start = 45000;
    // 5 s as a difference of two date-times is 4.99999991 s.
    EXPECT_EQ(DurationText(start + 5.0 / 86400 - start), "00:00:05");
    EXPECT_EQ(DurationText(EncodeTime(0, 0, 0, 999)), "00:00:00");
    EXPECT_EQ(DurationText(EncodeTime(0, 0, 1, 499)), "00:00:01");
    EXPECT_EQ(DurationText(3 + EncodeTime(2, 3, 4)), "74:03:04");
    EXPECT_EQ(DurationText(-0.25), "00:00:00");
    // Damaged records: no overflow, no garbage.
    EXPECT_EQ(DurationText(std::numeric_limits<double>::quiet_NaN()), "00:00:00");
    EXPECT_EQ(DurationText(-std::numeric_limits<double>::infinity()), "00:00:00");
    EXPECT_EQ(DurationText(std::numeric_limits<double>::infinity()), "00:00:00");
    EXPECT_EQ(DurationText(1e300), DurationText(9999.0 * 366)); // capped, not wrapped
    EXPECT_EQ(DurationText(9999.0 * 366), "87831216:00:00");

    TLogList logs;
    logs.AddLog("1", "", start + 10.0 / 24, start + 10.0 / 24 + 5.0 / 86400);
    EXPECT_EQ(logs.DurationText(0), "00:00:05");
}

TEST(CallLogText, ExportColumnsAndListRows) {
    TFormatSettings fs;
    fs.ShortDateFormat = "yyyy-mm-dd";
    fs.ShortTimeFormat = "hh.nn";
    const TLog log(" 0123 456 ", " Left a message ", EncodeDate(2024, 3, 5) + EncodeTime(23, 58, 0),
                   EncodeDate(2024, 3, 6) + EncodeTime(0, 3, 0));
    const std::string columns[kLogColumns] = {"Ann Smith", "0123 456",      "2024-03-05",
                                              "23.58",     "2024-03-06",    "00.03",
                                              "00:05:00",  "Left a message"};
    for (int c = 0; c < kLogColumns; ++c)
        EXPECT_EQ(LogColumnText(log, c, "Ann Smith", fs), columns[c]) << c;
    EXPECT_EQ(LogColumnText(log, 8, "Ann Smith", fs), "");
    EXPECT_EQ(LogColumnText(log, -1, "Ann Smith", fs), "");

    TLogList logs;
    logs.Add(std::make_unique<TLog>(log));
    logs.AddLog("999", "", EncodeDate(2024, 3, 7) + EncodeTime(9, 0, 0),
                EncodeDate(2024, 3, 8) + EncodeTime(10, 0, 1));
    const auto rows = logs.Rows(fs);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TCallLogRow{"0123 456", "Tue 2024-03-05", "23.58", "00:05:00"}));
    EXPECT_EQ(rows[1], (TCallLogRow{"999", "Thu 2024-03-07", "09.00", "25:00:01"}));
    EXPECT_EQ(logs.Rows(fs, "dd/mm")[1].Date, "07/03");
    EXPECT_TRUE(TLogList().Rows(fs).empty());
}

} // namespace
} // namespace tessaly
