// The diary window driven as a user drives it: opening and creating diaries through
// the frame, clicking a date of the month calendar to list its events, adding a
// weekly event through the menu and its dialog and finding it in the saved file and
// on the following weeks, acknowledging and deleting events, the show options and
// sort orders, the lock and the back-up copy, and the re-read of a locked diary whose
// file another writer changed (a damaged file keeps the diary shown).

#include "app/diary/diary_day_list.h"
#include "app/diary/diary_dlg.h"
#include "app/reminders/reminder_dlg.h"
#include "app/widgets/date_box.h"
#include "core/diary/diary.h"
#include "core/settings/settings.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"
#include "tests/support/memory_settings_store.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace tessaly;

namespace {

TDateTime At(int y, int m, int d, int h = 0, int min = 0) {
    return EncodeDate(y, m, d) + EncodeTime(h, min, 0);
}

std::unique_ptr<TReminders> Event(const std::string& description, TDateTime when,
                                  int frequency = kOnceOnly, TDateTime until = 0,
                                  int priority = 5) {
    auto e = std::make_unique<TReminders>();
    e->When = when;
    e->Until = until > when ? until : when;
    e->AlarmTime = when;
    e->Frequency = static_cast<std::int16_t>(frequency);
    e->Priority = static_cast<std::int16_t>(priority);
    e->SetDescription(description);
    return e;
}

QString WriteDiary(const QString& path, std::vector<std::unique_ptr<TReminders>> events) {
    auto diary = NewDiary(PathToCore(path));
    for (auto& e : events)
        diary->Events.Add(std::move(e));
    if (!SaveDiary(*diary, false, TStoreSettings()).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

QStringList Descriptions(TDiaryDlg& w) {
    QStringList out;
    for (int row = 0; row < w.DayList()->topLevelItemCount(); ++row)
        out << w.DayList()->topLevelItem(row)->text(3).section('\n', 0, 0);
    return out;
}

void ClickOk(QDialog* d) {
    QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

} // namespace

class TDiaryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ClickingADateListsItsEvents();
    void WeeklyEventAddedThroughTheWindowIsSavedAndRecurs();
    void AcknowledgeAndDeleteChangeTheListedEvents();
    void ShowOptionsAndSortOrderAreKeptInTheDiary();
    void NewDiaryIsWrittenAtOnceAndBadFilesOpenNoWindow();
    void LockedDiaryRefusesChangesAndBackupCopiesAreLocked();
    void LockedDiaryIsReReadWhenItsFileChanges();
    void SaveAsMovesTheWindowToTheNewFile();

private:
    QString Path(const QString& name) const { return dir_->filePath(name); }
    TDiaryDlg* Open(TTestRun& run, const QString& path, bool readOnly = false);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MemorySettingsStore> store_;
    std::unique_ptr<TRecordingPresenter> presenter_;
    FakeClock clock_{At(2026, 1, 15, 10, 30)};
};

void TDiaryWindowTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<MemorySettingsStore>();
    presenter_ = std::make_unique<TRecordingPresenter>();
    clock_.SetNow(At(2026, 1, 15, 10, 30));
}

void TDiaryWindowTest::cleanup() {
    presenter_.reset();
    store_.reset();
    dir_.reset();
}

TDiaryDlg* TDiaryWindowTest::Open(TTestRun& run, const QString& path, bool readOnly) {
    run.Frame->SetClock(clock_);
    // Day/month/year dates whatever the machine's locale.
    run.Frame->Settings().FormatSettings = DefaultFormatSettings();
    run.Frame->show();
    if (!QTest::qWaitForWindowExposed(run.Frame.get()))
        return nullptr;
    QApplication::setActiveWindow(run.Frame.get());
    if (!run.Frame->OpenDiaryFile(path, true, readOnly))
        return nullptr;
    auto* w = qobject_cast<TDiaryDlg*>(run.Frame->ActiveChild());
    if (w && !QTest::qWaitForWindowActive(run.Frame.get()))
        return nullptr;
    return w;
}

void TDiaryWindowTest::ClickingADateListsItsEvents() {
    std::vector<std::unique_ptr<TReminders>> events;
    events.push_back(Event("Dentist", At(2026, 1, 20, 9, 15), kOnceOnly, 0, 3));
    events.push_back(Event("Budget review", At(2026, 1, 20, 14, 0)));
    events.push_back(Event("Theatre", At(2026, 1, 21, 19, 30)));
    TTestRun run(*store_, Path("cfg"));
    TDiaryDlg* w = Open(run, WriteDiary(Path("Plans.TDY"), std::move(events)));
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QString("Diary - PLANS"));
    // It opens on today, which holds nothing.
    QCOMPARE(w->Calendar()->selectedDate(), QDate(2026, 1, 15));
    QCOMPARE(w->CountLabel()->text(), QString("Entries for this Date: 0"));
    QCOMPARE(run.Frame->DiaryText()->text(), QString(" No Events for Thursday, 15 January 2026"));
    // Days with events are marked in the month calendar.
    QCOMPARE(w->Calendar()->dateTextFormat(QDate(2026, 1, 20)).background().color(),
             QColor(255, 255, 0));
    QVERIFY(w->Calendar()->dateTextFormat(QDate(2026, 1, 22)).background().style() == Qt::NoBrush);

    QVERIFY(ClickCalendarDay(w->Calendar(), 20));
    QCOMPARE(w->SelectedDate(), EncodeDate(2026, 1, 20));
    // Priority order: the dentist (3) before the review (5).
    QCOMPARE(Descriptions(*w), QStringList({"Dentist", "Budget review"}));
    QCOMPARE(w->DayList()->topLevelItem(0)->text(1), QString("3"));
    QCOMPARE(w->DayList()->topLevelItem(0)->text(2), QString("09:15"));
    QCOMPARE(w->DayList()->SelectedRow(), 0);
    // Priority and time as wide as their texts, the description the rest.
    QCOMPARE(CutColumn(w->DayList(), 1, 3), QString());
    QCOMPARE(w->CountLabel()->text(), QString("Entries for this Date: 2"));
    QCOMPARE(run.Frame->DiaryText()->text(), QString(" 2 Events for Tuesday, 20 January 2026"));
    QCOMPARE(w->findChild<QLabel*>("DayNumber")->text(), QString("20"));
    QCOMPARE(w->findChild<QLabel*>("MonthYear")->text(), QString("January 2026"));
    QCOMPARE(w->findChild<QLabel*>("Weekday")->text(), QString("Tuesday"));
    QCOMPARE(w->findChild<QLabel*>("DayOfYear")->text(), QString("Day: 20"));

    // The frame's next-day button moves the selection on.
    QTest::mouseClick(run.Frame->ToolButton(3, "Next Day"), Qt::LeftButton);
    QCOMPARE(Descriptions(*w), QStringList({"Theatre"}));
    QCOMPARE(run.Frame->DiaryText()->text(), QString(" 1 Event for Wednesday, 21 January 2026"));
    // Viewing needs a row; with none the commands are off.
    QVERIFY(w->MenuAction("&View Event...")->isEnabled());
    QTest::mouseClick(run.Frame->ToolButton(3, "Next Day"), Qt::LeftButton);
    QVERIFY(!w->MenuAction("&View Event...")->isEnabled());
    QVERIFY(!w->MenuAction("&Edit Event...")->isEnabled());
    QVERIFY(w->MenuAction("&Add Event...")->isEnabled());

    // Going to an event (from the alarm window or the calendar) selects its day and
    // its row.
    QVERIFY(w->GoToEvent(1));
    QCOMPARE(w->Calendar()->selectedDate(), QDate(2026, 1, 20));
    QCOMPARE(w->SelectedEventIndex(), 1);
    QVERIFY(!w->GoToEvent(3));
}

void TDiaryWindowTest::WeeklyEventAddedThroughTheWindowIsSavedAndRecurs() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeDiary(Path("Weekly.TDY"));
    TDiaryDlg* w = Open(run, path);
    QVERIFY(w);
    QVERIFY(ClickCalendarDay(w->Calendar(), 19));
    OnModalDialog("Add Reminder to WEEKLY.TDY", [](QDialog* d) {
        auto* dlg = static_cast<TReminderDlg*>(d);
        // A diary event starts without a time, on the selected date.
        QVERIFY(dlg->NoTimeBox()->isChecked());
        QCOMPARE(dlg->DateBox()->Text(), QString("19/01/2026"));
        ReplaceText(dlg->DescriptionBox()->lineEdit(), "Choir practice");
        QTest::mouseClick(dlg->FrequencyButton(kWeekly), Qt::LeftButton, {},
                          QPoint(6, dlg->FrequencyButton(kWeekly)->height() / 2));
        ReplaceText(dlg->UntilBox()->Edit(), "09/02/2026");
        ClickOk(d);
    });
    w->MenuAction("&Add Event...")->trigger();
    QCOMPARE(Descriptions(*w), QStringList({"Choir practice"}));
    QVERIFY(w->Diary()->Modified);
    QVERIFY(w->MenuAction("&Save")->isEnabled());
    // The following Monday lists it as a later occurrence.
    QTest::mouseClick(run.Frame->ToolButton(3, "Next Day"), Qt::LeftButton);
    QVERIFY(Descriptions(*w).isEmpty());
    QVERIFY(ClickCalendarDay(w->Calendar(), 26));
    QCOMPARE(Descriptions(*w), QStringList({"Choir practice"}));

    w->MenuAction("&Save")->trigger();
    QVERIFY(!w->Diary()->Modified);
    const TDiaryLoad saved = LoadDiary(PathToCore(path));
    QVERIFY(saved.Diary);
    QCOMPARE(saved.Diary->Events.Count(), 1);
    const TReminders& e = *saved.Diary->Events.At(0);
    QCOMPARE(TextValue(e.Description), std::string("Choir practice"));
    QCOMPARE(int(e.Frequency), kWeekly);
    QCOMPARE(e.When, At(2026, 1, 19));
    QCOMPARE(DateOf(e.Until), EncodeDate(2026, 2, 9));

    // Cancelling a new event leaves the diary as it was.
    OnModalDialog("Add Reminder to WEEKLY.TDY", [](QDialog* d) { d->reject(); });
    w->MenuAction("&Add Event...")->trigger();
    QCOMPARE(w->Diary()->Events.Count(), 1);
    QVERIFY(!w->Diary()->Modified);
}

void TDiaryWindowTest::AcknowledgeAndDeleteChangeTheListedEvents() {
    std::vector<std::unique_ptr<TReminders>> events;
    events.push_back(Event("Rent", At(2026, 1, 31, 9, 0), kMonthly, At(2026, 12, 31, 9, 0)));
    events.push_back(Event("Gas meter", At(2026, 1, 31, 11, 0)));
    TTestRun run(*store_, Path("cfg"));
    const QString path = WriteDiary(Path("Bills.TDY"), std::move(events));
    TDiaryDlg* w = Open(run, path);
    QVERIFY(w);
    w->Diary()->ShowRecurring = 0;
    QVERIFY(ClickCalendarDay(w->Calendar(), 31));
    QCOMPARE(Descriptions(*w), QStringList({"Rent", "Gas meter"}));
    OnModalDialog("Acknowledge Reminder in BILLS.TDY", [](QDialog* d) { ClickOk(d); });
    w->MenuAction("Ac&knowledge Event...")->trigger();
    // The monthly rent moved to the last day of February; the day keeps its row.
    QCOMPARE(w->Diary()->Events.At(0)->When, At(2026, 2, 28, 9, 0));
    QCOMPARE(Descriptions(*w), QStringList({"Gas meter"}));
    QCOMPARE(w->DayList()->SelectedRow(), 0);

    // The Delete key asks; "No" keeps the event, "Yes" removes it.
    w->DayList()->setFocus();
    OnModalDialog("Delete Reminder from BILLS.TDY", [](QDialog* d) { ClickDialogButton(d, "No"); });
    QTest::keyClick(w->DayList(), Qt::Key_Delete);
    QCOMPARE(w->Diary()->Events.Count(), 2);
    OnModalDialog("Delete Reminder from BILLS.TDY",
                  [](QDialog* d) { ClickDialogButton(d, "Yes"); });
    QTest::keyClick(w->DayList(), Qt::Key_Delete);
    QCOMPARE(w->Diary()->Events.Count(), 1);
    QVERIFY(Descriptions(*w).isEmpty());
    QCOMPARE(w->CountLabel()->text(), QString("Entries for this Date: 0"));

    // Closing the window saves the diary with its back-up copy.
    w->SubWindow()->close();
    const TDiaryLoad saved = LoadDiary(PathToCore(path));
    QVERIFY(saved.Diary);
    QCOMPARE(saved.Diary->Events.Count(), 1);
    QCOMPARE(saved.Diary->Events.At(0)->When, At(2026, 2, 28, 9, 0));
    QVERIFY(QFileInfo::exists(Path("Bills.BKD")));
}

void TDiaryWindowTest::ShowOptionsAndSortOrderAreKeptInTheDiary() {
    std::vector<std::unique_ptr<TReminders>> events;
    auto done = Event("Archive", At(2026, 1, 15, 8, 0), kOnceOnly, 0, 2);
    done->Completed = 1;
    events.push_back(std::move(done));
    events.push_back(Event("Zumba", At(2026, 1, 15, 18, 0), kOnceOnly, 0, 1));
    events.push_back(Event("Apples", At(2026, 1, 15, 12, 0), kOnceOnly, 0, 9));
    events.push_back(Event("Standup", At(2026, 1, 14, 9, 0), kDaily, At(2026, 1, 20, 9, 0)));
    events.back()->SetNotes("Room 4");
    TTestRun run(*store_, Path("cfg"));
    const QString path = WriteDiary(Path("Opts.TDY"), std::move(events));
    TDiaryDlg* w = Open(run, path);
    QVERIFY(w);
    QCOMPARE(Descriptions(*w), QStringList({"Zumba", "Apples", "Archive", "Standup"}));
    QCOMPARE(w->DayList()->topLevelItem(3)->text(3), QString("Standup\nRoom 4"));
    w->MenuAction("&Time")->trigger();
    QCOMPARE(Descriptions(*w), QStringList({"Apples", "Zumba", "Archive", "Standup"}));
    w->MenuAction("&Description")->trigger();
    // A later occurrence is keyed "X" and its description: it follows the events of
    // the day only in the orders that start with the date.
    QCOMPARE(Descriptions(*w), QStringList({"Apples", "Archive", "Standup", "Zumba"}));
    w->MenuAction("&Show Completed Events")->trigger();
    w->MenuAction("Show &Future Recurring Events")->trigger();
    w->MenuAction("Show Event &Notes")->trigger();
    QCOMPARE(Descriptions(*w), QStringList({"Apples", "Zumba"}));
    QCOMPARE(w->DayList()->topLevelItem(0)->text(3), QString("Apples"));
    // The header widths are kept too.
    w->DayList()->header()->resizeSection(1, 55);
    w->MenuAction("&Save")->setEnabled(true);
    QVERIFY(w->Save(false));
    const TDiaryLoad saved = LoadDiary(PathToCore(path));
    QVERIFY(saved.Diary);
    QCOMPARE(int(saved.Diary->SortOrder), 3);
    QCOMPARE(int(saved.Diary->ShowCompleted), 0);
    QCOMPARE(int(saved.Diary->ShowRecurring), 0);
    QCOMPARE(int(saved.Diary->ShowNotes), 0);
    QCOMPARE(int(saved.Diary->ColumnWidths[1]), 55);
}

void TDiaryWindowTest::NewDiaryIsWrittenAtOnceAndBadFilesOpenNoWindow() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->SetClock(clock_);
    QVERIFY(run.Frame->OpenDiaryFile(Path("Fresh.TDY"), false, false));
    const TDiaryLoad fresh = LoadDiary(PathToCore(Path("Fresh.TDY")));
    QVERIFY(fresh.Diary);
    QCOMPARE(fresh.Diary->Created, clock_.Now());
    QCOMPARE(fresh.Diary->Events.Count(), 0);

    {
        QFile f(Path("Bad.TDY"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a diary at all");
    }
    presenter_->Requests.clear();
    QVERIFY(!run.Frame->OpenDiaryFile(Path("Bad.TDY"), true, false));
    QCOMPARE(presenter_->Requests.size(), std::size_t(1));
    QCOMPARE(presenter_->Requests[0].Text,
             QString("BAD.TDY is not a Valid Tessaly Version 3 Diary File"));
    QCOMPARE(run.Frame->Children().size(), 1);
}

void TDiaryWindowTest::LockedDiaryRefusesChangesAndBackupCopiesAreLocked() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = WriteDiary(Path("Lock.TDY"), {});
    TDiaryDlg* w = Open(run, path);
    QVERIFY(w && !w->Locked());
    QCOMPARE(w->MenuAction("&Lock Diary")->statusTip(),
             QString("Locks the current Diary making it read only"));
    w->MenuAction("&Lock Diary")->trigger();
    QVERIFY(w->Locked());
    QCOMPARE(w->windowTitle(), QString("Diary - LOCK (Locked)"));
    QVERIFY(!(QFileInfo(path).permissions() & QFileDevice::WriteOwner));
    QVERIFY(!w->MenuAction("&Add Event...")->isEnabled());
    // Nothing reaches a locked diary, not even through the tool bar.
    QTest::mouseClick(run.Frame->ToolButton(3, "Add an Event"), Qt::LeftButton);
    w->AddEvent();
    QCOMPARE(w->Diary()->Events.Count(), 0);
    w->MenuAction("Un&lock Diary")->trigger();
    QVERIFY(!w->Locked());
    QCOMPARE(w->windowTitle(), QString("Diary - LOCK"));
    w->SubWindow()->close();

    // A back-up copy opens locked, with the warning, and is never written.
    QFile::copy(path, Path("Lock.BKD"));
    const QByteArray before = FileBytes(Path("Lock.BKD"));
    presenter_->Requests.clear();
    TDiaryDlg* b = Open(run, Path("Lock.BKD"));
    QVERIFY(b && b->Locked());
    QCOMPARE(presenter_->Requests.size(), std::size_t(1));
    QVERIFY(presenter_->Requests[0].Text.startsWith("The Diary opened is a Back-up File"));
    b->SubWindow()->close();
    QCOMPARE(FileBytes(Path("Lock.BKD")), before);
}

void TDiaryWindowTest::LockedDiaryIsReReadWhenItsFileChanges() {
    std::vector<std::unique_ptr<TReminders>> events;
    events.push_back(Event("First", At(2026, 1, 15, 9, 0)));
    events.push_back(Event("Second", At(2026, 1, 15, 10, 0)));
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().NetworkScan = true;
    run.Frame->Settings().NetworkInterval = 1;
    const QString path = WriteDiary(Path("Shared.TDY"), std::move(events));
    TDiaryDlg* w = Open(run, path, true);
    QVERIFY(w && w->Locked());
    w->Diary()->SortOrder = 3; // the window's own order survives the re-read
    w->MenuAction("&Description")->trigger();
    w->DayList()->SelectRow(1);
    auto tick = [&] {
        clock_.AdvanceMs(61 * 1000);
        run.Frame->TimerTick();
        clock_.AdvanceMs(61 * 1000);
        run.Frame->TimerTick();
    };
    const TDiaryData* before = w->Diary();
    tick();
    QCOMPARE(w->Diary(), before); // the file did not change: nothing was read

    // Another writer adds an event.
    {
        TDiaryLoad other = LoadDiary(PathToCore(path));
        QVERIFY(other.Diary);
        other.Diary->Events.Add(Event("Another", At(2026, 1, 15, 11, 0)));
        QVERIFY(SaveDiary(*other.Diary, false, TStoreSettings()).Ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    }
    // Not while a dialog is open: it may be showing one of the events.
    bool readWhileOpen = true;
    OnModalDialog("Diary Information", [&](QDialog* d) {
        tick();
        readWhileOpen = w->Diary() != before;
        d->accept();
    });
    w->DayList()->setFocus();
    QTest::keyClick(w->DayList(), Qt::Key_I, Qt::ControlModifier);
    QVERIFY(!readWhileOpen);
    QApplication::setActiveWindow(run.Frame.get());
    QVERIFY(QTest::qWaitForWindowActive(run.Frame.get()));
    tick();
    QVERIFY(w->Diary() != before);
    QCOMPARE(Descriptions(*w), QStringList({"Another", "First", "Second"}));
    QCOMPARE(int(w->Diary()->SortOrder), 3);
    QCOMPARE(w->DayList()->SelectedRow(), 1);

    // A damaged file keeps the diary shown.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("half a diary");
        f.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime);
    }
    const TDiaryData* shown = w->Diary();
    tick();
    QCOMPARE(w->Diary(), shown);
    QCOMPARE(Descriptions(*w), QStringList({"Another", "First", "Second"}));
}

void TDiaryWindowTest::SaveAsMovesTheWindowToTheNewFile() {
    std::vector<std::unique_ptr<TReminders>> events;
    events.push_back(Event("Keep me", At(2026, 1, 15, 9, 0)));
    TTestRun run(*store_, Path("cfg"));
    const QString path = WriteDiary(Path("Old.TDY"), std::move(events));
    TDiaryDlg* w = Open(run, path);
    QVERIFY(w);
    const auto chooser = TDiaryDlg::SaveAsChooser;
    QString chosen = Path("New.TDY");
    TDiaryDlg::SaveAsChooser = [&chosen](QWidget*, const QString&, const QString&) {
        return chosen;
    };
    w->MenuAction("Save &as...")->trigger();
    QCOMPARE(w->FilePath(), Path("New.TDY"));
    QCOMPARE(w->windowTitle(), QString("Diary - NEW"));
    const TDiaryLoad copy = LoadDiary(PathToCore(Path("New.TDY")));
    QVERIFY(copy.Diary);
    QCOMPARE(copy.Diary->Events.Count(), 1);

    // A back-up name locks the window on the new file, with the warning.
    chosen = Path("New.BKD");
    presenter_->Requests.clear();
    w->MenuAction("Save &as...")->trigger();
    QVERIFY(w->Locked());
    QCOMPARE(w->windowTitle(), QString("Diary - NEW (Locked)"));
    QCOMPARE(presenter_->Requests.size(), std::size_t(1));
    QVERIFY(QFileInfo::exists(Path("New.BKD")));
    TDiaryDlg::SaveAsChooser = chooser;
}

QTEST_MAIN(TDiaryWindowTest)
#include "diary_window_test.moc"
