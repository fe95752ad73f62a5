// The calendar view: the events and later occurrences of every open book and diary by
// day, month and year; navigation from the tool bar and the grids; going to a book's
// reminder; rebuilding as books change and close; its options kept in "Calendar";
// the month tab of a full diary drawn quickly.

#include "app/book/book.h"
#include "app/calendar/cal_view.h"
#include "app/calendar/date_grids.h"
#include "app/calendar/day_calendar.h"
#include "platform/qt_text.h"
#include "tests/app/reminder_files.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace tessaly;

namespace {

TDateTime Day(int y, int m, int d) {
    return EncodeDate(y, m, d);
}

constexpr int kCalPage = static_cast<int>(TChildKind::Calendar);

QStringList Column(QTreeWidget* list, int column) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(column).section('\n', 0, 0);
    return out;
}

QStringList Icons(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->data(0, Qt::UserRole).toString();
    return out;
}

QAction* Action(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (a->menu())
            if (QAction* inner = Action(a->menu(), text))
                return inner;
    }
    return nullptr;
}

} // namespace

class TCalendarViewTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void LaterOccurrencesOfTwoBooksAndADiary();
    void GridsAndToolBarMoveTheSelectedDay();
    void AnotherYearIsIndexedWhenTheDayMovesIntoIt();
    void ViewAndGoToTheSelectedEvent();
    void FollowsBooksThatChangeAndClose();
    void OptionsAreKeptInCalendar();
    void FullDiaryMonthIsDrawnQuickly();

private:
    std::unique_ptr<TTestRun> Run() {
        auto run = std::make_unique<TTestRun>(*store_, Path("cfg"));
        run->Frame->SetClock(clock_);
        return run;
    }
    // Opens the two books and the diary, the first book active, then the calendar from
    // the book's tool-bar button.
    TCalView* OpenAll(TTestRun& run);
    void ClickTool(TTestRun& run, const QString& hint) {
        QToolButton* b = run.Frame->ToolButton(kCalPage, hint);
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void ClickDay(TDateGrid* grid, TDateTime day) {
        const QRect r = grid->DayRect(day);
        QVERIFY(!r.isEmpty());
        QTest::mouseClick(grid, Qt::LeftButton, {}, r.center());
    }

    FakeClock clock_;
};

void TCalendarViewTest::init() {
    Begin();
    clock_.SetNow(Day(2024, 5, 6) + 0.4); // Monday 6 May 2024
    store_->Write("Calendar", "Show Recurring", "1");
}

void TCalendarViewTest::cleanup() {
    End();
}

TCalView* TCalendarViewTest::OpenAll(TTestRun& run) {
    const TDateTime may6 = Day(2024, 5, 6);
    MakeReminderBook(Path("Friends.ADR"),
                     {{"Team call", may6 + 0.25, kWeekly, 1, Day(2024, 12, 31), true}});
    MakeReminderBook(Path("Clients.ADR"), {{"Review", may6 + 0.5, kWeekly, 2, Day(2024, 12, 31),
                                            false, false, "Clark"}});
    MakeEventDiary(Path("Work.TDY"), {{"Backup", may6, kDaily, 7, Day(2024, 6, 30)}});
    if (!OpenShownBook(run, Path("Clients.ADR")) ||
        !run.Frame->OpenDiaryFile(Path("Work.TDY"), true, false) ||
        !run.Frame->OpenBookFile(Path("Friends.ADR"), true, false))
        return nullptr;
    run.Frame->TimerTick(); // the book's tool-bar page
    QToolButton* view =
        run.Frame->ToolButton(static_cast<int>(TChildKind::Book), "View the Calendar");
    if (!view)
        return nullptr;
    QTest::mouseClick(view, Qt::LeftButton);
    auto* cal = qobject_cast<TCalView*>(run.Frame->ActiveChild());
    run.Frame->TimerTick();
    return cal;
}

void TCalendarViewTest::LaterOccurrencesOfTwoBooksAndADiary() {
    auto run = Run();
    TCalView* cal = OpenAll(*run);
    QVERIFY(cal);
    QCOMPARE(run->Frame->ToolbarPage(), kCalPage);
    QCOMPARE(cal->SelectedDate(), Day(2024, 5, 6));
    // Today: the three events on their own day, in priority order then time.
    QCOMPARE(cal->DayList()->topLevelItemCount(), 3);
    QVERIFY(!Icons(cal->DayList()).contains("RecurBMP"));
    QCOMPARE(cal->EntriesLabel()->text(), QString("Entries for this Date: 3"));

    // Monday 20 May in the month tab: a later occurrence of each.
    QTest::mouseClick(cal->Tabs()->tabBar(), Qt::LeftButton, {},
                      cal->Tabs()->tabBar()->tabRect(TCalView::kMonthTab).center());
    QCOMPARE(cal->Tabs()->currentIndex(), int(TCalView::kMonthTab));
    ClickDay(cal->MonthGrid(), Day(2024, 5, 20));
    QCOMPARE(cal->SelectedDate(), Day(2024, 5, 20));
    QCOMPARE(Icons(cal->DayList()), QStringList({"RecurBMP", "RecurBMP", "RecurBMP"}));
    QStringList descriptions = Column(cal->DayList(), 3);
    descriptions.sort();
    QCOMPARE(descriptions, QStringList({"Backup", "Review", "Team call"}));
    // Priority, time and description as wide as their texts, the contact the rest.
    QCOMPARE(CutColumn(cal->DayList(), 1, 4), QString());
    const QStringList contacts = Column(cal->DayList(), 4);
    QVERIFY(contacts.filter("Clark").size() == 1);
    QVERIFY(contacts.filter("Brown").size() == 1);
    QCOMPARE(contacts.filter(QRegularExpression("^$")).size(), 1); // the diary's event

    // Monday 13 May: the fortnightly review skips it.
    ClickDay(cal->MonthGrid(), Day(2024, 5, 13));
    descriptions = Column(cal->DayList(), 3);
    descriptions.sort();
    QCOMPARE(descriptions, QStringList({"Backup", "Team call"}));
    // Past the diary's until date only the books' events go on.
    ClickTool(*run, "Next Month");
    ClickTool(*run, "Next Month");
    QCOMPARE(cal->SelectedDate(), Day(2024, 7, 13));
    ClickDay(cal->MonthGrid(), Day(2024, 7, 15));
    descriptions = Column(cal->DayList(), 3);
    descriptions.sort();
    QCOMPARE(descriptions, QStringList({"Review", "Team call"}));
    // With later occurrences off, only the events' own days hold anything.
    QAction* recurring = Action(cal->RemindersMenu(), "Show &Future Recurring Events");
    QVERIFY(recurring && recurring->isChecked());
    recurring->trigger();
    QCOMPARE(cal->DayList()->topLevelItemCount(), 0);
    QVERIFY(!cal->Index().HasEvents(Day(2024, 5, 20)));
    QVERIFY(cal->Index().HasEvents(Day(2024, 5, 6)));
}

void TCalendarViewTest::GridsAndToolBarMoveTheSelectedDay() {
    auto run = Run();
    TCalView* cal = OpenAll(*run);
    QVERIFY(cal);
    ClickTool(*run, "Next Day");
    QCOMPARE(cal->SelectedDate(), Day(2024, 5, 7));
    ClickTool(*run, "Previous Month");
    QCOMPARE(cal->SelectedDate(), Day(2024, 4, 7));
    ClickTool(*run, "Previous Day");
    QCOMPARE(cal->SelectedDate(), Day(2024, 4, 6));
    // No events on that day: the status line says so.
    auto* status = run->Frame->findChild<QLabel*>("CalendarText");
    QVERIFY(status);
    QVERIFY(status->text().startsWith(" No Events for "));
    QVERIFY(!run->Frame->ToolButton(kCalPage, "View Event")->isEnabled());
    ClickTool(*run, "Go to Todays Date");
    QCOMPARE(cal->SelectedDate(), Day(2024, 5, 6));
    QVERIFY(status->text().startsWith(" 3 Events for "));
    QVERIFY(run->Frame->ToolButton(kCalPage, "View Event")->isEnabled());

    // The year tab: a day's cell selects it, an empty cell does nothing.
    QTest::mouseClick(cal->Tabs()->tabBar(), Qt::LeftButton, {},
                      cal->Tabs()->tabBar()->tabRect(TCalView::kYearTab).center());
    ClickDay(cal->YearGrid(), Day(2024, 11, 30));
    QCOMPARE(cal->SelectedDate(), Day(2024, 11, 30));
    // 1 February 2024 was a Thursday: the cell above it is empty.
    const QRect empty = cal->YearGrid()->CellRect(2, 4);
    QTest::mouseClick(cal->YearGrid(), Qt::LeftButton, {}, empty.center());
    QCOMPARE(cal->SelectedDate(), Day(2024, 11, 30));
    // A double click on a day returns to the Day tab on that day.
    const QRect cell = cal->YearGrid()->DayRect(Day(2024, 5, 20));
    QTest::mouseDClick(cal->YearGrid(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(cal->Tabs()->currentIndex(), int(TCalView::kDayTab));
    QCOMPARE(cal->SelectedDate(), Day(2024, 5, 20));
    // The Day tab's calendar follows, and a click in it selects as well.
    QCOMPARE(cal->DayCalendar()->selectedDate(), QDate(2024, 5, 20));
}

void TCalendarViewTest::AnotherYearIsIndexedWhenTheDayMovesIntoIt() {
    auto run = Run();
    MakeReminderBook(Path("Dates.ADR"),
                     {{"Anniversary", Day(1995, 3, 10), kYearly, 1, Day(2030, 1, 1)}});
    QVERIFY(OpenShownBook(*run, Path("Dates.ADR")));
    TCalView* cal = run->Frame->ShowCalendar();
    QVERIFY(cal);
    run->Frame->TimerTick();
    QCOMPARE(cal->IndexedYear(), 2024);
    // Later occurrences reach 1 March of the next year, no further.
    QVERIFY(cal->Index().HasEvents(Day(2024, 3, 10)));
    QVERIFY(!cal->Index().HasEvents(Day(2025, 3, 10)));
    for (int i = 0; i < 10; ++i)
        ClickTool(*run, "Next Month");
    for (int i = 0; i < 4; ++i)
        ClickTool(*run, "Next Day");
    QCOMPARE(cal->SelectedDate(), Day(2025, 3, 10));
    QCOMPARE(cal->IndexedYear(), 2025);
    QCOMPARE(Icons(cal->DayList()), QStringList({"RecurBMP"}));
}

void TCalendarViewTest::ViewAndGoToTheSelectedEvent() {
    auto run = Run();
    TCalView* cal = OpenAll(*run);
    QVERIFY(cal);
    const int row = Column(cal->DayList(), 3).indexOf("Review");
    QVERIFY(row >= 0);
    const QRect r = cal->DayList()->visualItemRect(cal->DayList()->topLevelItem(row));
    QTest::mouseClick(cal->DayList()->viewport(), Qt::LeftButton, {}, QPoint(5, r.center().y()));
    // "View Event": the view dialog captioned with the owning book.
    QString caption;
    QTimer::singleShot(0, [&] {
        if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            caption = dlg->windowTitle();
            dlg->accept();
        }
    });
    ClickTool(*run, "View Event");
    QCOMPARE(caption, QString("View Reminder Event in CLIENTS.ADR"));
    ClickTool(*run, "Go to Entry");
    auto* book = qobject_cast<TBook*>(run->Frame->ActiveChild());
    QVERIFY(book);
    QCOMPARE(book->ShortName(), QString("CLIENTS.ADR"));
    QCOMPARE(book->CurrentPage(), 2);
    QCOMPARE(ToQString(book->CurrentEntry()->NameField(kFieldSurname)), QString("Clark"));
}

void TCalendarViewTest::FollowsBooksThatChangeAndClose() {
    auto run = Run();
    TCalView* cal = OpenAll(*run);
    QVERIFY(cal);
    QCOMPARE(cal->DayList()->topLevelItemCount(), 3);
    // Deleting the entry that holds "Team call" in its book takes it off the calendar.
    TBook* friends = nullptr;
    for (TChildWindow* c : run->Frame->Children())
        if (c->ShortName() == "FRIENDS.ADR")
            friends = qobject_cast<TBook*>(c);
    QVERIFY(friends);
    friends->Activate();
    friends->DeleteSelectedEntry();
    QCOMPARE(friends->Book()->Entries.Count(), 0);
    QCOMPARE(cal->DayList()->topLevelItemCount(), 2);
    QVERIFY(!Column(cal->DayList(), 3).contains("Team call"));
    // Closing a window takes its events away before they are freed.
    for (TChildWindow* c : run->Frame->Children())
        if (c->ShortName() == "WORK.TDY")
            c->SubWindow()->close();
    QCOMPARE(Column(cal->DayList(), 3), QStringList({"Review"}));
    QVERIFY(!cal->Index().HasEvents(Day(2024, 5, 13)));
    // A book opened while the calendar is open joins it.
    MakeReminderBook(Path("More.ADR"), {{"Extra", Day(2024, 5, 6), kOnceOnly}});
    QVERIFY(run->Frame->OpenBookFile(Path("More.ADR"), true, false));
    QVERIFY(Column(cal->DayList(), 3).contains("Extra"));
}

void TCalendarViewTest::OptionsAreKeptInCalendar() {
    {
        auto run = Run();
        TCalView* cal = OpenAll(*run);
        QVERIFY(cal);
        const int oneLine =
            cal->DayList()->visualItemRect(cal->DayList()->topLevelItem(0)).height();
        QAction* notes = Action(cal->RemindersMenu(), "Show Event &Notes");
        QVERIFY(notes && notes->isChecked());
        notes->trigger();
        QVERIFY(cal->DayList()->visualItemRect(cal->DayList()->topLevelItem(0)).height() < oneLine);
        Action(cal->RemindersMenu(), "&Description")->trigger();
        QCOMPARE(Column(cal->DayList(), 3), QStringList({"Backup", "Review", "Team call"}));
        cal->DayList()->header()->resizeSection(2, 61);
        QCOMPARE(store_->Read("Calendar", "Header2"), std::optional<std::string>("61"));
        QTest::mouseClick(cal->Tabs()->tabBar(), Qt::LeftButton, {},
                          cal->Tabs()->tabBar()->tabRect(TCalView::kYearTab).center());
        ClickTool(*run, "Close the Calendar");
        QVERIFY(!run->Frame->CalendarView());
        QCOMPARE(store_->Read("Calendar", "Show Notes"), std::optional<std::string>("0"));
        QCOMPARE(store_->Read("Calendar", "Sort"), std::optional<std::string>("3"));
        QCOMPARE(store_->Read("Calendar", "View"), std::optional<std::string>("2"));
        QCOMPARE(store_->Read("Calendar", "State"), std::optional<std::string>("3"));
    }
    auto run = Run();
    TCalView* cal = OpenAll(*run);
    QVERIFY(cal);
    QCOMPARE(cal->Tabs()->currentIndex(), int(TCalView::kYearTab));
    QCOMPARE(cal->Options().Sort, 3);
    QVERIFY(!cal->Options().ShowNotes);
    // The kept width is shown where the list has room for it beside the other texts;
    // in a narrow list the column shows just its texts, and the kept width stays.
    QCOMPARE(store_->Read("Calendar", "Header2"), std::optional<std::string>("61"));
    QTest::mouseClick(cal->Tabs()->tabBar(), Qt::LeftButton, {},
                      cal->Tabs()->tabBar()->tabRect(TCalView::kDayTab).center());
    run->Frame->resize(1100, 700);
    cal->SubWindow()->showMaximized();
    QCoreApplication::processEvents();
    QVERIFY(cal->DayList()->viewport()->width() >= 400);
    QCOMPARE(cal->DayList()->header()->sectionSize(2), 61);
    QCOMPARE(store_->Read("Calendar", "Header2"), std::optional<std::string>("61"));
}

void TCalendarViewTest::FullDiaryMonthIsDrawnQuickly() {
    // A diary as full as its file allows: an event on each day from 1935 on.
    std::vector<TTestEvent> events;
    for (int i = 0; i < 32767; ++i)
        events.push_back({"Event " + std::to_string(i), Day(1935, 1, 1) + i, kOnceOnly});
    MakeEventDiary(Path("Full.TDY"), events);
    auto run = Run();
    run->Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run->Frame.get()));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(run->Frame->OpenDiaryFile(Path("Full.TDY"), true, false));
    TCalView* cal = run->Frame->ShowCalendar();
    cal->Tabs()->setCurrentIndex(TCalView::kMonthTab);
    cal->MonthGrid()->repaint();
    const qint64 ms = timer.elapsed();
    qInfo("opening a diary of 32767 events and drawing its month: %lld ms", ms);
    QCOMPARE(cal->Index().EventCount(), 32767);
    QVERIFY(cal->Index().HasEvents(Day(2024, 5, 6)));
    // Generous for a debug build on a busy machine; a release build takes far less.
    QVERIFY2(ms < 3000, qPrintable(QString::number(ms)));
}

QTEST_MAIN(TCalendarViewTest)
#include "calendar_view_test.moc"
