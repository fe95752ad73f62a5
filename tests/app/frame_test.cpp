// The frame: opening and activating files, the reopen list through the menu, the
// tool-bar and status pages, the record of the open files at exit and their reopening
// at the next start, refused exits, and the options dialog's folder move.

#include "app/book/book.h"
#include "app/calendar/cal_view.h"
#include "app/frame/options_dialog.h"
#include "app/widgets/child_window.h"
#include "core/frame/hand_over.h"
#include "core/settings/open_files.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

using namespace tessaly;

class TFrameTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void MissingFileIsReportedAndOpensNothing();
    void OpeningAnOpenBookActivatesIt();
    void NewBookOverAnOpenOneIsRefused();
    void ReopenListThroughOpenAndClose();
    void PagesFollowTheActiveChild();
    void ExitRecordsFilesAndNextStartReopensWithTheDiaryActive();
    void ExitWithNoChildWindowRecordsNothing();
    void CommandLineDiaryOpensAsADiary();
    void FailedSettingsWriteAbandonsTheExitCleanly();
    void ReadOnlyFileIsLockedAndNotRewritten();
    void BackupBookIsLocked();
    void OptionsKeepTheFolderOrRefuseOneWithConfigurationFiles();
    void OptionsMoveTheConfigurationFiles();
    void OptionsNameTheBrowserTheProgramUses();
    void OptionsSetTheServerSyncInterval();
    void NewChildrenFollowAMaximisedOne();
    void HandOverOpensTheFileAndRaisesTheFrame();
};

void TFrameTest::init() {
    Begin();
}

void TFrameTest::cleanup() {
    End();
}

void TFrameTest::MissingFileIsReportedAndOpensNothing() {
    TTestRun run(*store_, Path("cfg"));
    QVERIFY(!run.Frame->OpenBookFile(Path("Nowhere.ADR"), true, false));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Access Error"));
    QCOMPARE(messages_->Requests[0].Kind, int(mkError));
    QCOMPARE(messages_->Requests[0].Text,
             QString("Address Book %1 could not be located").arg(Path("Nowhere.ADR")));
    QVERIFY(!run.Frame->OpenDiaryFile(Path("Nowhere.TDY"), true, false));
    QCOMPARE(messages_->Requests[1].Text,
             QString("Diary %1 could not be located").arg(Path("Nowhere.TDY")));
    QVERIFY(run.Frame->Children().isEmpty());
}

void TFrameTest::OpeningAnOpenBookActivatesIt() {
    TTestRun run(*store_, Path("cfg"));
    MakeBook(Path("Home.ADR"), 3);
    MakeBook(Path("Work.ADR"));
    QVERIFY(run.Frame->OpenBookFile(Path("Home.ADR"), true, false));
    QVERIFY(run.Frame->OpenBookFile(Path("Work.ADR"), true, false));
    QCOMPARE(run.Frame->ActiveChild()->FilePath(), Path("Work.ADR"));
    // The same file by another spelling of its path.
    QVERIFY(run.Frame->OpenBookFile(Path("sub/../Home.ADR"), true, false));
    QCOMPARE(run.Frame->Children().size(), 2);
    QCOMPARE(run.Frame->ActiveChild()->FilePath(), Path("Home.ADR"));
    QVERIFY(messages_->Requests.empty());
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    QVERIFY(book);
    QCOMPARE(book->Book()->Entries.Count(), 3);
    QCOMPARE(run.Frame->EntryCounter()->text(), QString("3 of 3"));
    QCOMPARE(book->windowTitle(), QString("HOME"));
}

void TFrameTest::NewBookOverAnOpenOneIsRefused() {
    TTestRun run(*store_, Path("cfg"));
    MakeBook(Path("Home.ADR"), 2);
    QVERIFY(run.Frame->OpenBookFile(Path("Home.ADR"), true, false));
    QVERIFY(!run.Frame->OpenBookFile(Path("Home.ADR"), false, false));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Request Denied"));
    QCOMPARE(
        messages_->Requests[0].Text,
        QString("%1 is Currently Open and therefore can not be Replaced").arg(Path("Home.ADR")));
    QCOMPARE(run.Frame->Children().size(), 1);
    // A new book that is not open is created and written at once.
    QVERIFY(run.Frame->OpenBookFile(Path("New.ADR"), false, false));
    QVERIFY(QFile::exists(Path("New.ADR")));
}

void TFrameTest::ReopenListThroughOpenAndClose() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    QStringList names;
    for (int i = 1; i <= 6; ++i)
        names << MakeBook(Path(QString("Book%1.ADR").arg(i)));
    for (const QString& n : names)
        QVERIFY(f.OpenBookFile(n, true, false));
    // Closing puts each at the top; the sixth pushes the first out.
    for (TChildWindow* c : f.Children())
        QVERIFY(c->SubWindow()->close());
    QCoreApplication::processEvents();
    f.RefreshFileMenu();
    QCOMPARE(f.ReopenAction(0)->text(), QString("&1 %1").arg(Path("Book6.ADR")));
    QCOMPARE(f.ReopenAction(4)->text(), QString("&5 %1").arg(Path("Book2.ADR")));
    QVERIFY(f.ReopenAction(4)->isVisible());
    QVERIFY(!f.CloseAction()->isEnabled());
    // Reopening one removes it; the later ones move up and the last slot empties.
    f.ReopenFile(2); // Book4
    QCOMPARE(f.ActiveChild()->FilePath(), Path("Book4.ADR"));
    f.RefreshFileMenu();
    QCOMPARE(f.ReopenAction(2)->text(), QString("&3 %1").arg(Path("Book3.ADR")));
    QVERIFY(!f.ReopenAction(4)->isVisible());
    QVERIFY(f.CloseAction()->isEnabled());
    // Close and reopen again: back at the top.
    f.ActiveChild()->SubWindow()->close();
    QCoreApplication::processEvents();
    QCOMPARE(f.Settings().ReopenList.At(0).Path, PathToCore(Path("Book4.ADR")));
    QCOMPARE(f.Settings().ReopenList.At(0).Type, std::string("ADR"));
}

void TFrameTest::PagesFollowTheActiveChild() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    f.TimerTick();
    QCOMPARE(f.ToolbarPage(), 0);
    QCOMPARE(f.StatusPage(), 0);
    QVERIFY(f.OpenBookFile(MakeBook(Path("Home.ADR"), 4), true, false));
    f.TimerTick();
    QCOMPARE(f.ToolbarPage(), 1);
    QCOMPARE(f.StatusPage(), 1);
    QCOMPARE(f.EntryCounter()->text(), QString("4 of 4"));
    // The book window offers the commands it has, as its state allows; the others
    // stay disabled.
    QVERIFY(f.ToolButton(1, "Close Address Book")->isEnabled());
    QVERIFY(f.ToolButton(1, "Add an Entry")->isEnabled());
    QVERIFY(!f.ToolButton(1, "Apply Update")->isEnabled());
    QVERIFY(f.ToolButton(1, "Search")->isEnabled());
    QVERIFY(!f.ToolButton(1, "Dial Number")->isEnabled());
    QVERIFY(f.OpenDiaryFile(MakeDiary(Path("Plans.TDY")), true, false));
    f.TimerTick();
    QCOMPARE(f.ToolbarPage(), 3);
    QCOMPARE(f.StatusPage(), 3);
    // The close button of the diary page closes the diary.
    f.ToolButton(3, "Close the Diary")->click();
    QCoreApplication::processEvents();
    f.TimerTick();
    QCOMPARE(f.ToolbarPage(), 1);
    f.CloseAll();
    QCoreApplication::processEvents();
    f.TimerTick();
    QCOMPARE(f.ToolbarPage(), 0);
    QVERIFY(f.Children().isEmpty());
}

void TFrameTest::ExitRecordsFilesAndNextStartReopensWithTheDiaryActive() {
    const QString home = MakeBook(Path("Home.ADR"), 2);
    const QString work = MakeBook(Path("Work.ADR"), 5);
    const QString plans = MakeDiary(Path("Plans.TDY"));
    {
        TTestRun run(*store_, Path("cfg"));
        TMainForm& f = *run.Frame;
        f.FormShow();
        QVERIFY(f.OpenBookFile(home, true, false));
        QVERIFY(f.OpenDiaryFile(plans, true, false));
        QVERIFY(f.OpenBookFile(work, true, false));
        f.ActivateIfOpen(plans);
        QCOMPARE(f.ActiveChild()->FilePath(), plans);
        QVERIFY(f.close());
    }
    QCOMPARE(store_->Read("Opened", "Open Books"), std::string("2"));
    QCOMPARE(store_->Read("Opened", "Open Diary"), std::string("1"));
    QCOMPARE(store_->Read("Opened", "Active"), std::string("PLANS.TDY"));
    QCOMPARE(store_->Read("Files", "1"), PathToCore(home));
    QCOMPARE(store_->Read("Files", "2"), PathToCore(work));
    QCOMPARE(store_->Read("Diary", "1"), PathToCore(plans));
    // Files open at exit are reopened, so they are not in the reopen list.
    QVERIFY(!store_->Read("MRU", "1"));
    // The books were saved as they closed, with their back-up copies.
    QVERIFY(QFile::exists(Path("Home.BAK")));
    {
        TTestRun run(*store_, Path("cfg"));
        TMainForm& f = *run.Frame;
        f.FormShow();
        const auto children = f.Children();
        QCOMPARE(children.size(), 3);
        QCOMPARE(children[0]->FilePath(), home);
        QCOMPARE(children[1]->FilePath(), work);
        QCOMPARE(children[2]->FilePath(), plans);
        QCOMPARE(children[2]->Kind(), TChildKind::Diary);
        // Activate a book, then the stored name activates the diary again.
        children[0]->Activate();
        f.ActivateByName("plans.tdy");
        QCOMPARE(f.ActiveChild(), children[2]);
        QVERIFY(messages_->Requests.empty());
    }
}

void TFrameTest::ExitWithNoChildWindowRecordsNothing() {
    store_->Write("Files", "1", "/old/Gone.ADR");
    store_->Write("Opened", "Open Books", "1");
    store_->Write("Opened", "Active", "GONE.ADR");
    {
        TTestRun run(*store_, Path("cfg"));
        run.Frame->FormShow(); // the old book is missing: reported, not opened
        QCOMPARE(messages_->Requests.size(), std::size_t(1));
        QVERIFY(run.Frame->close());
    }
    QCOMPARE(store_->Read("Opened", "Open Books"), std::string("0"));
    QCOMPARE(store_->Read("Opened", "Open Diary"), std::string("0"));
    QCOMPARE(store_->Read("Opened", "Active"), std::string(""));
    QVERIFY(!store_->Read("Files", "1"));
    // Every setting was written at the first exit.
    QCOMPARE(store_->Read("General", "Undo Level"), std::string("10"));
    QCOMPARE(store_->Read("Main Window", "State"), std::string("3"));
    QCOMPARE(store_->Read("Font", "Font Size"), std::string("8"));
    TTestRun again(*store_, Path("cfg"));
    again.Frame->FormShow();
    QVERIFY(again.Frame->Children().isEmpty());
}

void TFrameTest::CommandLineDiaryOpensAsADiary() {
    TTestRun run(*store_, Path("cfg"));
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir_->path());
    MakeDiary(Path("Plans.tdy"));
    run.Frame->FormShow("Plans.tdy");
    QDir::setCurrent(old);
    QCOMPARE(run.Frame->Children().size(), 1);
    QCOMPARE(run.Frame->Children()[0]->Kind(), TChildKind::Diary);
    QCOMPARE(run.Frame->Children()[0]->FilePath(), Path("Plans.tdy"));
}

void TFrameTest::FailedSettingsWriteAbandonsTheExitCleanly() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    QVERIFY(f.OpenBookFile(MakeBook(Path("Home.ADR")), true, false));
    f.Timer()->start();
    store_->SetFailWrites(true);
    QVERIFY(!f.close());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Kind, int(mkError));
    QVERIFY(messages_->Requests[0].Text.contains("Opened") ||
            messages_->Requests[0].Text.contains("Files"));
    // Nothing is left behind: the timer runs, no hour-glass, the book is still open.
    QVERIFY(f.Timer()->isActive());
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(f.Children().size(), 1);
    store_->SetFailWrites(false);
    QVERIFY(f.close());
    QCOMPARE(store_->Read("Opened", "Open Books"), std::string("1"));
}

void TFrameTest::ReadOnlyFileIsLockedAndNotRewritten() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Locked.ADR"), 1);
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    QVERIFY(run.Frame->OpenBookFile(path, true, false));
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    QVERIFY(book && book->ReadOnly());
    QCOMPARE(book->windowTitle(), QString("LOCKED (Locked)"));
    book->SubWindow()->close();
    QCoreApplication::processEvents();
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
    QVERIFY(!QFile::exists(Path("Locked.BAK")));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TFrameTest::BackupBookIsLocked() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeBook(Path("Home.BAK"));
    QVERIFY(run.Frame->OpenBookFile(path, true, false));
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    QVERIFY(book && book->ReadOnly());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(messages_->Requests[0].Text.startsWith("The Address Book opened is a Back-up File"));
    QCOMPARE(messages_->Requests[0].Kind, int(mkInformation));
}

void TFrameTest::OptionsKeepTheFolderOrRefuseOneWithConfigurationFiles() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    {
        TOptionsDlg dlg(f, 0);
        QVERIFY(dlg.Apply()); // the same folder: nothing to move
        QVERIFY(messages_->Requests.empty());
        QCOMPARE(store_->Read("File Management", "Config Directory"), PathToCore(Path("cfg")));
        QCOMPARE(store_->Read("Display", "Tooltips"), std::string("1"));
    }
    QDir().mkpath(Path("other"));
    QFile existing(Path("other/TESSALY.TPL"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    TOptionsDlg dlg(f, 0);
    dlg.FolderPanel()->setText(Path("other"));
    QVERIFY(!dlg.Apply());
    QCOMPARE(dlg.Pages()->currentIndex(), 1);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Title, QString("Request Denied"));
    QCOMPARE(messages_->Requests[0].Text,
             QString("The Directory specified already contains copies of the Tessaly "
                     "Configuration Files.\n\r\n\rRequest Failed"));
    QCOMPARE(f.Settings().ConfigDirectory, PathToCore(Path("cfg")));
}

// With no browser configured the options show the one found on the desktop, the one
// URLs open in; a launcher that only looks for a browser counts as none.
void TFrameTest::OptionsNameTheBrowserTheProgramUses() {
    const QByteArray path = qgetenv("PATH");
    const auto program = [this](const QString& dir, const QString& name) {
        QDir().mkpath(Path(dir));
        QFile f(Path(dir + "/" + name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 0\n");
        f.close();
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    };
    program("bin1", "x-www-browser");
    program("bin2", "sensible-browser");
    for (const QString dir : {"bin1", "bin2"}) {
        qputenv("PATH", Path(dir).toLocal8Bit()); // no desktop tools to ask
        TTestRun run(*store_, Path("cfg"));
        TOptionsDlg dlg(*run.Frame, 0);
        const QString shown = dlg.findChild<QLabel*>("BrowserPath")->text();
        const QString used = PathFromCore(run.Frame->BrowserPath());
        QCOMPARE(used, dir == "bin1" ? Path("bin1/x-www-browser") : QString());
        QCOMPARE(shown, used.isEmpty() ? QString("<Not Defined>") : used);
    }
    qputenv("PATH", path);
}

// The rounds with contacts servers come at the interval typed on the Network page,
// kept in the settings and counted from the moment it was set; Cancel keeps the old.
void TFrameTest::OptionsSetTheServerSyncInterval() {
    TTestRun run(*store_, Path("cfg"));
    FakeClock clock(EncodeDate(2027, 3, 1));
    run.Frame->SetClock(clock);
    constexpr double kMinute = 1.0 / 1440;
    run.Frame->TimerTick();
    QCOMPARE(CalendarMs(run.Frame->Schedule().NextServerSync),
             CalendarMs(clock.Now() + 5 * kMinute));
    QAction* options = nullptr;
    for (QAction* a : run.Frame->findChildren<QAction*>())
        if (a->text() == "&Options...")
            options = a;
    QVERIFY(options);
    const auto typeInterval = [&](const QString& typed, const QString& button) {
        bool seen = false;
        OnModalDialog("General Options", [&](QDialog* d) {
            ClickTab(d, 5);
            auto* field = d->findChild<QSpinBox*>("ServerSyncInterval");
            QVERIFY(field && field->isVisible());
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(field, typed);
            seen = true;
            ClickDialogButton(d, button);
        });
        options->trigger();
        QVERIFY(seen);
    };

    clock.AdvanceMs(60000);
    typeInterval("90", "OK");
    QCOMPARE(store_->Read("Network", "Server Sync Interval"), std::string("90"));
    run.Frame->TimerTick();
    QCOMPARE(CalendarMs(run.Frame->Schedule().NextServerSync),
             CalendarMs(clock.Now() + 90 * kMinute));
    // More than a day is not taken: the field stops at its last digit that fits.
    typeInterval("2000", "OK");
    QCOMPARE(store_->Read("Network", "Server Sync Interval"), std::string("200"));
    typeInterval("7", "Cancel");
    QCOMPARE(store_->Read("Network", "Server Sync Interval"), std::string("200"));
    QCOMPARE(run.Frame->Settings().ServerSyncInterval, 200);
}

// While the active child is maximised, every window opened after it (a diary, the
// calendar, a file handed over by a second copy) is maximised too and fills the
// frame's client area, its contents with it.
void TFrameTest::NewChildrenFollowAMaximisedOne() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->resize(900, 700);
    TBook* book = OpenShownBook(run, MakeBook(Path("First.ADR"), 1));
    QVERIFY(book);
    book->SubWindow()->showMaximized();
    QMdiArea* area = run.Frame->MdiArea();
    const QRect client = area->viewport()->rect();
    const auto fillsTheFrame = [&](TChildWindow* child) {
        QVERIFY(child);
        QTest::qWait(20);
        QMdiSubWindow* sub = child->SubWindow();
        QVERIFY(sub->isMaximized());
        QCOMPARE(area->activeSubWindow(), sub);
        QCOMPARE(sub->geometry(), client);
        // The window's own contents grow with it.
        QVERIFY2(child->geometry().width() >= client.width() - 20,
                 qPrintable(QString::number(child->width())));
        QVERIFY(child->geometry().height() >= client.height() - 40);
    };
    QVERIFY(run.Frame->OpenDiaryFile(MakeDiary(Path("Work.TDY")), true, false));
    TChildWindow* diary = run.Frame->ActiveChild();
    fillsTheFrame(diary);
    auto* days = diary->findChild<QTreeWidget*>();
    QVERIFY(days);
    QVERIFY2(days->geometry().right() >= diary->width() - 20,
             qPrintable(QString::number(days->geometry().right())));
    fillsTheFrame(run.Frame->ShowCalendar());
    THandOver handed;
    handed.Path = PathToCore(MakeBook(Path("Second.ADR"), 1));
    run.Frame->HandOver(handed);
    fillsTheFrame(run.Frame->ActiveChild());
    QCOMPARE(run.Frame->ActiveChild()->FilePath(), Path("Second.ADR"));
    QCOMPARE(run.Frame->Children().size(), 4);
}

void TFrameTest::OptionsMoveTheConfigurationFiles() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    QFile def(Path("cfg/TESSALY.DEF"));
    QVERIFY(def.open(QIODevice::WriteOnly));
    def.write("defaults");
    def.close();
    TOptionsDlg dlg(f, 0);
    dlg.FolderPanel()->setText(Path("Moved Here"));
    QVERIFY(dlg.Apply());
    QVERIFY(QFile::exists(Path("Moved Here/TESSALY.DEF")));
    QVERIFY(!QFile::exists(Path("cfg/TESSALY.DEF")));
    QCOMPARE(f.Settings().ConfigDirectory, PathToCore(Path("Moved Here")));
    QCOMPARE(f.Settings().StoreSettings().ConfigFile(".DEF"),
             PathToCore(Path("Moved Here/TESSALY.DEF")));
}

void TFrameTest::HandOverOpensTheFileAndRaisesTheFrame() {
    TTestRun run(*store_, Path("cfg"));
    TMainForm& f = *run.Frame;
    f.show();
    f.showMinimized();
    f.HandOver(THandOver{PathToCore(MakeDiary(Path("Plans.TDY"))), TFileKind::Diary});
    QVERIFY(!f.isMinimized());
    QCOMPARE(f.Children().size(), 1);
    QCOMPARE(f.Children()[0]->Kind(), TChildKind::Diary);
    // Only to the front: nothing opens.
    f.HandOver(THandOver{});
    QCOMPARE(f.Children().size(), 1);
}

QTEST_MAIN(TFrameTest)
#include "frame_test.moc"
#include "tests/support/memory_settings_store.h"
