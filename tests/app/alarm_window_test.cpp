// The alarm window: raised by the frame timer's scan at the minute a reminder is due
// and not before, held back while a modal dialog is open, topmost with "&View" and
// "&Go to...", its columns and place kept in "Alarm", the desktop told while the
// program is out of sight, and its items following books that are re-read or closed.

#include "app/alarms/alarm_dlg.h"
#include "app/book/book.h"
#include "app/book/reminders_page.h"
#include "core/store/book_file.h"
#include "platform/dbus_notifier.h"
#include "platform/qt_text.h"
#include "tests/app/reminder_files.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_notifier.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace tessaly;

namespace {

const TDateTime kDay = EncodeDate(2024, 5, 6);
TDateTime At(int hour, int minute, int second = 0) {
    return kDay + EncodeTime(hour, minute, second);
}

QString RowText(TAlarmDlg& alarm, int row, int column) {
    QTreeWidgetItem* item = alarm.ListView()->topLevelItem(row);
    return item ? item->text(column) : QString();
}

void ClickRow(QTreeWidget* view, int row) {
    const QRect r = view->visualItemRect(view->topLevelItem(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, r.center().y()));
}

} // namespace

class TAlarmWindowTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void AlarmComesUpAtTheDueMinuteNotBefore();
    void ModalDialogHoldsTheScanBack();
    void DesktopIsToldOnlyWhileTheProgramIsOutOfSight();
    void ViewAndGoToShowTheReminder();
    void GoToIsRefusedWhileTheBookIsBeingUpdated();
    void ColumnsAndPlaceAreKeptInAlarm();
    void ItemsFollowAReReadAndAClose();
    void NoSessionBusMeansNoNotification();

private:
    // A run on the fake clock with a one-minute scan and a recording notifier.
    std::unique_ptr<TTestRun> Run() {
        auto run = std::make_unique<TTestRun>(*store_, Path("cfg"));
        run->Frame->SetClock(clock_);
        run->Frame->Settings().ScanReminders = 1;
        return run;
    }
    // Ticks the frame at a time of the test day.
    void TickAt(TTestRun& run, TDateTime t) {
        clock_.SetNow(t);
        run.Frame->TimerTick();
    }

    FakeClock clock_;
};

void TAlarmWindowTest::init() {
    Begin();
    clock_.SetNow(At(9, 58));
}

void TAlarmWindowTest::cleanup() {
    End();
}

void TAlarmWindowTest::AlarmComesUpAtTheDueMinuteNotBefore() {
    auto run = Run();
    MakeReminderBook(Path("Friends.ADR"),
                     {{"Call Brown", At(10, 0), kOnceOnly, 1, 0, true},
                      {"No alarm", At(9, 0), kOnceOnly, 1, 0, false},
                      {"Done already", At(8, 0), kOnceOnly, 1, 0, true, true}});
    QVERIFY(OpenShownBook(*run, Path("Friends.ADR")));
    TAlarmDlg* alarm = run->Frame->AlarmWindow();
    TickAt(*run, At(9, 59)); // the first scan is due a minute after the first tick
    QVERIFY(!alarm->isVisible());
    TickAt(*run, At(9, 59, 59));
    QVERIFY(!alarm->isVisible());
    QCOMPARE(alarm->List().Count(), 0);
    TickAt(*run, At(10, 0)); // the scan of 10:00 finds it due
    QVERIFY(alarm->isVisible());
    QVERIFY(alarm->Topmost());
    QCOMPARE(alarm->Group()->title(), QString("1 Outstanding Reminder"));
    QCOMPARE(RowText(*alarm, 0, 2), QString("Call Brown"));
    QCOMPARE(RowText(*alarm, 0, 1),
             ToQString(FormatDateTime("t", At(10, 0), run->Frame->Settings().FormatSettings)));
    QCOMPARE(alarm->OwnerLabel()->text(), QString("Address Book:"));
    QCOMPARE(alarm->OwnerName()->text(), QString("FRIENDS.ADR"));
    QVERIFY(alarm->EntryName()->text().contains("Brown"));
    // "Close" hides it; the next scan a minute later brings it back.
    QTest::mouseClick(alarm->CloseButton(), Qt::LeftButton);
    QVERIFY(!alarm->isVisible());
    TickAt(*run, At(10, 0, 30));
    QVERIFY(!alarm->isVisible());
    QApplication::setActiveWindow(run->Frame.get());
    TickAt(*run, At(10, 1));
    QVERIFY(alarm->isVisible());
}

void TAlarmWindowTest::ModalDialogHoldsTheScanBack() {
    auto run = Run();
    MakeReminderBook(Path("Friends.ADR"), {{"Call Brown", At(10, 0), kOnceOnly, 1, 0, true}});
    QVERIFY(OpenShownBook(*run, Path("Friends.ADR")));
    TAlarmDlg* alarm = run->Frame->AlarmWindow();
    TickAt(*run, At(9, 59));
    QDialog dialog(run->Frame.get());
    bool heldBack = false;
    QTimer::singleShot(0, [&] {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        TickAt(*run, At(10, 5));
        TickAt(*run, At(10, 6));
        heldBack = !alarm->isVisible();
        dialog.reject();
    });
    dialog.exec();
    QVERIFY(heldBack);
    // The next tick after the dialog closed raises it.
    QApplication::setActiveWindow(run->Frame.get());
    QVERIFY(QTest::qWaitForWindowActive(run->Frame.get()));
    TickAt(*run, At(10, 6, 1));
    QVERIFY(alarm->isVisible());
}

void TAlarmWindowTest::DesktopIsToldOnlyWhileTheProgramIsOutOfSight() {
    auto notifier = std::make_unique<testing::TFakeNotifier>();
    testing::TFakeNotifier* sent = notifier.get();
    auto run = std::make_unique<TTestRun>(*store_, Path("cfg"));
    run->Context.Notifier = std::move(notifier);
    run->Frame->SetClock(clock_);
    run->Frame->Settings().ScanReminders = 1;
    MakeReminderBook(Path("Friends.ADR"), {{"Call Brown", At(9, 0), kOnceOnly, 1, 0, true}});
    QVERIFY(OpenShownBook(*run, Path("Friends.ADR")));
    TickAt(*run, At(9, 58));
    TickAt(*run, At(9, 59));
    QVERIFY(run->Frame->AlarmWindow()->isVisible());
    QVERIFY(sent->Sent.empty());
    // Minimised: the alarm window still comes up, and the desktop is told.
    run->Frame->AlarmWindow()->hide();
    run->Frame->showMinimized();
    TickAt(*run, At(10, 0));
    QVERIFY(run->Frame->AlarmWindow()->isVisible());
    QCOMPARE(sent->Sent.size(), std::size_t(1));
    QCOMPARE(sent->Sent[0].first, std::string("1 Outstanding Reminder"));
    QVERIFY(sent->Sent[0].second.find("Call Brown") != std::string::npos);
}

void TAlarmWindowTest::ViewAndGoToShowTheReminder() {
    auto run = Run();
    MakeReminderBook(Path("Friends.ADR"),
                     {{"Lunch", At(9, 0), kOnceOnly, 1, 0, true, false, "Adams"},
                      {"Call Brown", At(9, 30), kOnceOnly, 1, 0, true}});
    TBook* book = OpenShownBook(*run, Path("Friends.ADR"));
    QVERIFY(book);
    TickAt(*run, At(9, 59));
    TAlarmDlg* alarm = run->Frame->AlarmWindow();
    QVERIFY(alarm->isVisible());
    QCOMPARE(alarm->List().Count(), 2);
    const int brown = RowText(*alarm, 0, 2) == "Call Brown" ? 0 : 1;
    ClickRow(alarm->ListView(), brown);
    QVERIFY(alarm->EntryName()->text().contains("Brown"));
    // "&View": the view dialog of that reminder, the alarm window no longer on top.
    QString caption, description;
    bool topmostMeanwhile = true;
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        caption = dlg->windowTitle();
        if (auto* label = dlg->findChild<QLabel*>("Description:"))
            description = label->text();
        topmostMeanwhile = alarm->Topmost();
        dlg->accept();
    });
    QTest::mouseClick(alarm->ViewButton(), Qt::LeftButton);
    QCOMPARE(caption, QString("View Reminder Event in FRIENDS.ADR"));
    QCOMPARE(description, QString("Call Brown"));
    QVERIFY(!topmostMeanwhile);
    alarm->show();
    QTest::mouseClick(alarm->GoToButton(), Qt::LeftButton);
    QVERIFY(!alarm->Topmost());
    QCOMPARE(book->CurrentPage(), 2);
    QVERIFY(book->CurrentEntry());
    QCOMPARE(ToQString(book->CurrentEntry()->NameField(kFieldSurname)), QString("Brown"));
    QVERIFY(book->RemindersPage()->SelectedReminder());
    QCOMPARE(ToQString(TextValue(book->RemindersPage()->SelectedReminder()->Description)),
             QString("Call Brown"));
}

void TAlarmWindowTest::GoToIsRefusedWhileTheBookIsBeingUpdated() {
    auto run = Run();
    MakeReminderBook(Path("Friends.ADR"), {{"Call Brown", At(9, 30), kOnceOnly, 1, 0, true}});
    TBook* book = OpenShownBook(*run, Path("Friends.ADR"));
    QVERIFY(book);
    TickAt(*run, At(9, 59));
    book->StartUpdating();
    QVERIFY(book->UpdateInProgress());
    const int page = book->CurrentPage();
    QTest::mouseClick(run->Frame->AlarmWindow()->GoToButton(), Qt::LeftButton);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(
        messages_->Requests[0].Text.startsWith("Address Book: FRIENDS.ADR \n\nUnable to action"));
    QCOMPARE(book->CurrentPage(), page);
    book->CancelEdit();
}

void TAlarmWindowTest::ColumnsAndPlaceAreKeptInAlarm() {
    {
        auto run = Run();
        TAlarmDlg* alarm = run->Frame->AlarmWindow();
        // The defaults of a first run.
        QCOMPARE(alarm->geometry(), QRect(75, 75, 550, 470));
        alarm->ListView()->header()->resizeSection(0, 140);
        alarm->ListView()->header()->resizeSection(1, 70);
        QCOMPARE(store_->Read("Alarm", "0"), std::optional<std::string>("140"));
        QCOMPARE(store_->Read("Alarm", "1"), std::optional<std::string>("70"));
        alarm->setGeometry(120, 90, 600, 400);
        run->Frame->show();
        QVERIFY(run->Frame->close());
        QCOMPARE(store_->Read("Alarm", "State"), std::optional<std::string>("3"));
        QCOMPARE(store_->Read("Alarm", "Left"), std::optional<std::string>("120"));
        QCOMPARE(store_->Read("Alarm", "Height"), std::optional<std::string>("400"));
    }
    auto run = Run();
    TAlarmDlg* alarm = run->Frame->AlarmWindow();
    QCOMPARE(alarm->geometry(), QRect(120, 90, 600, 400));
    QCOMPARE(alarm->ListView()->header()->sectionSize(0), 140);
    QCOMPARE(alarm->ListView()->header()->sectionSize(1), 70);
}

void TAlarmWindowTest::ItemsFollowAReReadAndAClose() {
    auto run = Run();
    const QString path =
        MakeReminderBook(Path("Net.ADR"), {{"Old text", At(9, 30), kOnceOnly, 1, 0, true}});
    MakeEventDiary(Path("Work.TDY"), {{"Dentist", At(9, 45), kOnceOnly, 1, 0, true}});
    run->Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run->Frame.get()));
    QApplication::setActiveWindow(run->Frame.get());
    QVERIFY(run->Frame->OpenBookFile(path, true, true));
    auto* book = qobject_cast<TBook*>(run->Frame->ActiveChild());
    QVERIFY(book);
    QVERIFY(run->Frame->OpenDiaryFile(Path("Work.TDY"), true, false));
    QVERIFY(QTest::qWaitForWindowActive(run->Frame.get()));
    TickAt(*run, At(9, 59));
    TAlarmDlg* alarm = run->Frame->AlarmWindow();
    QCOMPARE(alarm->List().Count(), 2);

    // A failed re-read keeps the old book and its items.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("half a book");
        f.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime);
    }
    book->Synchronise();
    QCOMPARE(alarm->List().Count(), 2);
    QStringList texts{RowText(*alarm, 0, 2), RowText(*alarm, 1, 2)};
    QVERIFY(texts.contains("Old text"));

    // A second writer changes the reminder: the re-read book's items replace the old.
    MakeReminderBook(path, {{"New text", At(9, 30), kOnceOnly, 1, 0, true},
                            {"Second", At(9, 40), kOnceOnly, 1, 0, true, false, "Clark"}});
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime);
    }
    book->Synchronise();
    QCOMPARE(alarm->List().Count(), 3);
    texts.clear();
    for (int i = 0; i < 3; ++i)
        texts << RowText(*alarm, i, 2);
    QVERIFY(texts.contains("New text"));
    QVERIFY(!texts.contains("Old text"));

    // Closing the book takes its items away; closing the diary empties the list.
    book->SubWindow()->close();
    QCOMPARE(alarm->List().Count(), 1);
    QCOMPARE(RowText(*alarm, 0, 2), QString("Dentist"));
    QCOMPARE(alarm->OwnerLabel()->text(), QString("Diary File:"));
    QVERIFY(alarm->EntryName()->isHidden());
    run->Frame->ActiveChild()->SubWindow()->close();
    QCOMPARE(alarm->List().Count(), 0);
    QVERIFY(!alarm->isVisible());
}

void TAlarmWindowTest::NoSessionBusMeansNoNotification() {
    // Without a session bus the desktop cannot be told; the call says so and returns.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + Path("no-bus").toUtf8());
    TDBusNotifier notifier;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!notifier.Notify("1 Outstanding Reminder", "Call Brown"));
    QVERIFY(timer.elapsed() < 5000);
}

QTEST_MAIN(TAlarmWindowTest)
#include "alarm_window_test.moc"
