// Logging a call as the log window does, and the call log dialogs' checks and edits.

#include "core/access/entries.h"
#include "core/access/work_record.h"
#include "core/call_log/call_log_form.h"
#include "core/call_log/call_logging.h"
#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

const TDateTime kDay = EncodeDate(2024, 3, 7);

TDateTime At(int hour, int minute, int second = 0) {
    return kDay + EncodeTime(hour, minute, second);
}

struct TwoEntries : ::testing::Test {
    std::unique_ptr<TBookData> book = NewBook("/tmp/calls.ADR", testing::NoDefaultsFile());
    TDateTime first = 0;
    TDateTime second = 0;

    void SetUp() override {
        for (const char* name : {"Smith", "Jones"}) {
            NewWorkRecord(*book);
            book->WorkRecord->SetNameField(kFieldSurname, name);
            StoreEntry(*book, nullptr, nullptr, 10, false);
        }
        first = book->Entries.StampAt(0);
        second = book->Entries.StampAt(1);
    }
};

TEST_F(TwoEntries, TheEndIsWhenOkIsPressedWhileTheDurationStoppedAtCallFinished) {
    LoadWorkRecord(*book, 0);
    TCallLogging call;
    const int owner = 0;
    ASSERT_TRUE(call.Start(&owner, first, "012 345", At(10, 0)));
    EXPECT_TRUE(call.LoggingFor(&owner));
    EXPECT_EQ(call.DurationText(At(10, 3, 15)), "00:03:15");
    call.CallFinished(At(10, 5));
    EXPECT_FALSE(call.Running());
    EXPECT_EQ(call.DurationText(At(10, 7)), "00:05:00");

    EXPECT_EQ(call.Complete(*book, " went well ", At(10, 7)), std::nullopt);
    EXPECT_FALSE(call.Active());
    const TLog* log = book->Entries.At(0)->CallLogs.At(0);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->Start, At(10, 0));
    EXPECT_EQ(log->End, At(10, 7));
    EXPECT_EQ(log->Number.str(), "012 345");
    EXPECT_EQ(log->Comment.str(), "went well");
    // The entry is the open one: its working copy shows the record too.
    EXPECT_EQ(book->WorkRecord->CallLogs.Count(), 1);
}

TEST_F(TwoEntries, AnEntryThatIsNoLongerCurrentGetsTheRecordInTheBookOnly) {
    LoadWorkRecord(*book, 0);
    TCallLogging call;
    call.Start(this, first, "1", At(9, 0));
    LoadWorkRecord(*book, 1); // the user moved on to Jones
    EXPECT_EQ(call.Complete(*book, "", At(9, 1)), std::nullopt);
    EXPECT_EQ(book->Entries.At(0)->CallLogs.Count(), 1);
    EXPECT_EQ(book->Entries.At(1)->CallLogs.Count(), 0);
    EXPECT_EQ(book->WorkRecord->CallLogs.Count(), 0);
}

TEST_F(TwoEntries, ADeletedEntryLosesTheRecordWithAMessage) {
    TCallLogging call;
    call.Start(this, second, "1", At(9, 0));
    DeleteEntry(*book, 1, false, 10);
    const auto refused = call.Complete(*book, "lost", At(9, 2));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->Text, kMsgCallEntryGone);
    EXPECT_FALSE(call.Active());
    EXPECT_EQ(book->Entries.At(0)->CallLogs.Count(), 0);
}

TEST(CallLogging, ASecondCallDoesNotTakeOverTheOpenLog) {
    TCallLogging call;
    const int a = 0, b = 0;
    ASSERT_TRUE(call.Start(&a, 1.5, "111", At(8, 0)));
    EXPECT_FALSE(call.Start(&b, 2.5, "222", At(8, 1)));
    EXPECT_TRUE(call.LoggingFor(&a));
    EXPECT_FALSE(call.LoggingFor(&b));
    EXPECT_EQ(call.Number(), "111");
    EXPECT_EQ(call.Stamp(), 1.5);
    call.Cancel();
    EXPECT_FALSE(call.LoggingFor(&a));
    EXPECT_TRUE(call.Start(&b, 2.5, "222", At(8, 2)));
    EXPECT_TRUE(call.Running());
}

TEST(CallLogForm, ChecksInOrderWithTheirFocus) {
    TLogUpdateForm f = FillLogForm(TLog("", "", At(14, 30), At(14, 30)));
    EXPECT_EQ(f.StartDate, "07/03/2024");
    EXPECT_EQ(f.StartTime, "14:30");
    EXPECT_EQ(f.EndTime, "14:30");
    EXPECT_TRUE(f.Number.empty());

    // The number is checked last: the dates first.
    f.StartDate = "31/02/2024";
    TLogCheck c = CheckLogForm(f, kDay);
    ASSERT_TRUE(c.Refusal);
    EXPECT_EQ(c.Refusal->Text, kMsgLogDateInvalid);
    EXPECT_EQ(c.Focus, TLogField::StartDate);
    f.StartDate = "07/03/2024";
    f.EndTime = "25:00";
    c = CheckLogForm(f, kDay);
    EXPECT_EQ(c.Refusal->Text, kMsgLogDateInvalid);
    EXPECT_EQ(c.Focus, TLogField::EndDate);

    f.EndTime = "14:29";
    c = CheckLogForm(f, kDay);
    EXPECT_EQ(c.Refusal->Text, kMsgLogEndBeforeStart);
    EXPECT_EQ(c.Focus, TLogField::EndDate);

    // An end equal to the start is a call of no length, which is accepted.
    f.EndTime = "14:30";
    f.Number = "   ";
    c = CheckLogForm(f, kDay);
    EXPECT_EQ(c.Refusal->Text, kMsgLogNumberRequired);
    EXPECT_EQ(c.Focus, TLogField::Number);
    f.Number = " 0123 ";
    f.Comment = " hello ";
    c = CheckLogForm(f, kDay);
    EXPECT_FALSE(c.Refusal);
    EXPECT_EQ(c.Record, TLog("0123", "hello", At(14, 30), At(14, 30)));

    f.EndDate = "08/03/2024";
    f.EndTime = "01:00";
    EXPECT_EQ(CheckLogForm(f, kDay).Record.End, kDay + 1 + EncodeTime(1, 0, 0));
}

TEST(CallLogForm, TimesLeftAsShownKeepTheirSeconds) {
    const TLog call("0123", "first", kDay + EncodeTime(9, 40, 20), kDay + EncodeTime(9, 41, 35));
    TLogUpdateForm f = FillLogForm(call);
    EXPECT_EQ(f.StartTime, "09:40");
    f.Comment = "only the comment";
    TLogCheck c = CheckLogForm(f, kDay, DefaultFormatSettings(), &call);
    EXPECT_EQ(c.Record.Start, call.Start);
    EXPECT_EQ(c.Record.End, call.End);
    EXPECT_EQ(c.Record.Comment.str(), "only the comment");
    // A time the user typed is taken as typed.
    f.EndTime = "09:45";
    c = CheckLogForm(f, kDay, DefaultFormatSettings(), &call);
    EXPECT_EQ(c.Record.Start, call.Start);
    EXPECT_EQ(c.Record.End, At(9, 45));
}

TEST(CallLogForm, DetailsTexts) {
    const TLog log("0123", "chat", At(9, 5), kDay + 1 + EncodeTime(10, 6, 7));
    const TLogDetails d = LogDetails(log);
    EXPECT_EQ(d.Started, "09:05 on Thursday, 7 March 2024");
    EXPECT_EQ(d.Finished, "10:06 on Friday, 8 March 2024");
    EXPECT_EQ(d.Duration, "25:01:07");
    EXPECT_EQ(FillLogForm(log).EndDate, "08/03/2024");
}

TEST(CallLogEdit, DeletionsKeepTheRowAndCancelBringsEverythingBack) {
    TLogList logs;
    for (int i = 0; i < 4; ++i)
        logs.AddLog(std::to_string(i), "", At(8, i), At(8, i + 1));
    const TLogList before = logs;
    TCallLogEdit edit(logs);
    EXPECT_EQ(edit.InitialRow(), 3);
    EXPECT_EQ(edit.Delete(1), 1); // the same row, now the next record
    EXPECT_EQ(logs.NumberAt(1), "2");
    EXPECT_EQ(edit.Delete(2), 1); // the last row: the new last
    EXPECT_EQ(edit.Add(TLog("9", "new", At(9, 0), At(9, 1))), 2);
    EXPECT_EQ(edit.Replace(0, TLog("0b", "", At(7, 0), At(7, 1))), 0);
    EXPECT_EQ(edit.Replace(7, TLog()), -1);
    EXPECT_TRUE(edit.Changed());
    edit.Restore();
    EXPECT_EQ(logs, before);
    EXPECT_FALSE(edit.Changed());

    TLogList one;
    one.AddLog("1", "", 0, 0);
    TCallLogEdit single(one);
    EXPECT_EQ(single.Delete(0), -1);
}

} // namespace
} // namespace tessaly
