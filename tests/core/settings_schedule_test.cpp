#include "core/frame/frame_schedule.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

constexpr double kMinute = 1.0 / (24 * 60);
constexpr double kStart = 46000.5;

TEST(FrameSchedule, FirstReminderScanOneMinuteAfterStartThenEveryInterval) {
    TSettings s;
    s.ScanReminders = 5;
    TFrameSchedule f;
    const TTickState ok{true, true, true};
    EXPECT_FALSE(f.Tick(kStart, s, ok).ScanReminders);
    EXPECT_DOUBLE_EQ(f.NextReminderScan, kStart + kMinute);
    EXPECT_FALSE(f.Tick(kStart + 0.9 * kMinute, s, ok).ScanReminders);
    EXPECT_TRUE(f.Tick(kStart + kMinute, s, ok).ScanReminders);
    EXPECT_FALSE(f.Tick(kStart + 5 * kMinute, s, ok).ScanReminders);
    EXPECT_TRUE(f.Tick(kStart + 6.01 * kMinute, s, ok).ScanReminders);
}

TEST(FrameSchedule, AScanWaitsForAModalDialogAndRunsAtTheNextTickAfter) {
    TSettings s;
    TFrameSchedule f;
    f.Tick(kStart, s, {true, true, true});
    const double due = kStart + 2 * kMinute;
    EXPECT_FALSE(f.Tick(due, s, {true, false, false}).ScanReminders);
    EXPECT_DOUBLE_EQ(f.NextReminderScan, kStart + kMinute); // not rescheduled
    EXPECT_TRUE(f.Tick(due + 0.0001, s, {true, true, true}).ScanReminders);
}

TEST(FrameSchedule, NothingWhileSwitchedOff) {
    TSettings s;
    s.ScanActive = false;
    s.NetworkScan = false;
    TFrameSchedule f;
    for (int i = 0; i < 100; ++i) {
        const auto a = f.Tick(kStart + i * kMinute, s, {true, true, true});
        EXPECT_FALSE(a.ScanReminders || a.Synchronise);
    }
    EXPECT_EQ(f.NextReminderScan, 0);
    EXPECT_EQ(f.NextNetworkSync, 0);
}

TEST(FrameSchedule, SynchronisationNeedsTheActiveProgramAndAFileWindow) {
    TSettings s;
    s.NetworkScan = true;
    s.NetworkInterval = 10;
    s.ScanActive = false;
    TFrameSchedule f;
    f.Tick(kStart, s, {true, true, true});
    EXPECT_DOUBLE_EQ(f.NextNetworkSync, kStart + 10 * kMinute);
    // At the time itself it is not yet later.
    EXPECT_FALSE(f.Tick(kStart + 10 * kMinute, s, {true, true, true}).Synchronise);
    EXPECT_FALSE(f.Tick(kStart + 11 * kMinute, s, {false, true, true}).Synchronise);
    EXPECT_FALSE(f.Tick(kStart + 11 * kMinute, s, {true, false, true}).Synchronise);
    EXPECT_TRUE(f.Tick(kStart + 12 * kMinute, s, {true, true, true}).Synchronise);
    EXPECT_DOUBLE_EQ(f.NextNetworkSync, kStart + 22 * kMinute);
}

TEST(FrameSchedule, ServerRoundsComeEveryIntervalInTheBackgroundButNotUnderAModalDialog) {
    TSettings s;
    s.ScanActive = false;
    s.ServerSyncInterval = 5;
    TFrameSchedule f;
    const TTickState away{false, false, false, false};
    EXPECT_FALSE(f.Tick(kStart, s, away).SyncWithServers);
    EXPECT_DOUBLE_EQ(f.NextServerSync, kStart + 5 * kMinute);
    EXPECT_FALSE(f.Tick(kStart + 4.9 * kMinute, s, away).SyncWithServers);
    // Due: a modal dialog holds it back, and it runs at the first tick after.
    EXPECT_FALSE(f.Tick(kStart + 5 * kMinute, s, {false, false, false, true}).SyncWithServers);
    EXPECT_DOUBLE_EQ(f.NextServerSync, kStart + 5 * kMinute);
    // Another program being active does not.
    EXPECT_TRUE(f.Tick(kStart + 6 * kMinute, s, away).SyncWithServers);
    EXPECT_DOUBLE_EQ(f.NextServerSync, kStart + 11 * kMinute);
    EXPECT_FALSE(f.Tick(kStart + 6 * kMinute, s, away).SyncWithServers);
}

} // namespace
} // namespace tessaly
