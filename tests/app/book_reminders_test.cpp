// The book window's reminder commands, driven through the "Remin&ders" menu, the
// reminder list's keys and the reminder dialogs: a reminder added to the selected
// entry is applied at once and reaches the saved file; one added with no entry
// selected starts a new entry; the commands follow the lock and the selection;
// acknowledging and deleting keep the list's place.

#include "app/book/book.h"
#include "app/book/entry_list_view.h"
#include "app/book/reminders_page.h"
#include "app/reminders/reminder_dlg.h"
#include "app/widgets/date_box.h"
#include "core/diary/reminder_form.h"
#include "core/settings/settings.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/memory_settings_store.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace tessaly;

namespace {

TDateTime At(int y, int m, int d, int h = 0, int min = 0) {
    return EncodeDate(y, m, d) + EncodeTime(h, min, 0);
}

// A book of entries with these surnames; the first carries `reminders`.
QString MakeReminderBook(const QString& path, const QStringList& surnames,
                         std::vector<std::unique_ptr<TReminders>> reminders = {}) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (int i = 0; i < surnames.size(); ++i) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(surnames[i]));
        if (i == 0)
            for (auto& r : reminders)
                e->Reminders.Add(std::move(r));
        book->Entries.Add(std::move(e));
    }
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

std::unique_ptr<TReminders> Reminder(const std::string& description, TDateTime when, int frequency,
                                     bool alarm) {
    auto r = std::make_unique<TReminders>();
    r->When = when;
    r->Until = when + 365;
    r->AlarmTime = when;
    r->AlarmSet = alarm ? 1 : 0;
    r->Frequency = static_cast<std::int16_t>(frequency);
    r->SetDescription(description);
    return r;
}

QAction* ReminderAction(TBook& book, const QString& text) {
    for (QAction* a : book.RemindersPage()->Menu()->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

void ClickOk(QDialog* d) {
    QTest::mouseClick(d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
}

QStringList Listed(TBook& book) {
    QStringList out;
    QTreeWidget* list = book.RemindersPage()->List();
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(3).section('\n', 0, 0);
    return out;
}

} // namespace

class TBookRemindersTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ReminderAddedToAnEntryIsInTheSavedFile();
    void ReminderWithoutAnEntryStartsANewOne();
    void CommandsFollowTheLockAndTheSelection();
    void AcknowledgeAndDeleteKeepTheListsPlace();

private:
    QString Path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MemorySettingsStore> store_;
    std::unique_ptr<TRecordingPresenter> presenter_;
};

void TBookRemindersTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    store_ = std::make_unique<MemorySettingsStore>();
    presenter_ = std::make_unique<TRecordingPresenter>();
}

void TBookRemindersTest::cleanup() {
    presenter_.reset();
    store_.reset();
    dir_.reset();
}

void TBookRemindersTest::ReminderAddedToAnEntryIsInTheSavedFile() {
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().FormatSettings = DefaultFormatSettings();
    const QString path = MakeReminderBook(Path("Rem.ADR"), {"Adams", "Brown"});
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    book->ListBox()->SelectRow(1);
    book->ShowCurrentEntry();
    QTest::keyClick(book->ListBox(), Qt::Key_F7); // the reminders page
    QCOMPARE(book->CurrentPage(), 2);
    QVERIFY(book->RemindersPage()->Menu()->isEnabled());

    // Cancel adds nothing.
    OnModalDialog("Add Reminder to REM.ADR", [](QDialog* d) { d->reject(); });
    ReminderAction(*book, "&Add Event...")->trigger();
    QVERIFY(Listed(*book).isEmpty());
    QVERIFY(!book->Book()->Modified);

    OnModalDialog("Add Reminder to REM.ADR", [](QDialog* d) {
        auto* dlg = static_cast<TReminderDlg*>(d);
        // A book reminder has a time of day.
        QVERIFY(!dlg->NoTimeBox()->isChecked());
        ReplaceText(dlg->DescriptionBox()->lineEdit(), "Send the contract");
        ReplaceText(dlg->DateBox()->Edit(), "02/03/2026");
        ReplaceText(dlg->TimeBox(), "14:30");
        ClickOk(d);
    });
    ReminderAction(*book, "&Add Event...")->trigger();
    QCOMPARE(Listed(*book), QStringList({"Send the contract"}));
    QVERIFY(book->Book()->Modified);
    QCOMPARE(book->EditMode(), 0); // applied as an update at once

    book->RunCommand("Save");
    TLoadResult saved = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(saved.Book);
    const TRecord* brown = saved.Book->Entries.At(1);
    QCOMPARE(brown->Reminders.Count(), 1);
    QCOMPARE(TextValue(brown->Reminders.At(0)->Description), std::string("Send the contract"));
    QCOMPARE(brown->Reminders.At(0)->When, At(2026, 3, 2, 14, 30));
    QCOMPARE(saved.Book->Entries.At(0)->Reminders.Count(), 0);
}

void TBookRemindersTest::ReminderWithoutAnEntryStartsANewOne() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeReminderBook(Path("Empty.ADR"), {});
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    book->ShowPage(2);
    OnModalDialog("Add Reminder to EMPTY.ADR", [](QDialog* d) {
        auto* dlg = static_cast<TReminderDlg*>(d);
        ReplaceText(dlg->DescriptionBox()->lineEdit(), "First call");
        ClickOk(d);
    });
    ReminderAction(*book, "&Add Event...")->trigger();
    // The new entry is being added; applying it stores the reminder with it.
    QCOMPARE(book->EditMode(), 1);
    QCOMPARE(Listed(*book), QStringList({"First call"}));
    book->ApplyEdit();
    QCOMPARE(book->Book()->Entries.Count(), 1);
    QCOMPARE(book->Book()->Entries.At(0)->Reminders.Count(), 1);
}

void TBookRemindersTest::CommandsFollowTheLockAndTheSelection() {
    std::vector<std::unique_ptr<TReminders>> rs;
    rs.push_back(Reminder("No alarm", At(2026, 5, 1, 9, 0), kOnceOnly, false));
    rs.push_back(Reminder("With alarm", At(2026, 5, 2, 9, 0), kOnceOnly, true));
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeReminderBook(Path("Cmd.ADR"), {"Adams"}, std::move(rs));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    book->ShowPage(2);
    QTreeWidget* list = book->RemindersPage()->List();
    QCOMPARE(Listed(*book), QStringList({"No alarm", "With alarm"}));
    QVERIFY(ReminderAction(*book, "&Edit Event...")->isEnabled());
    QVERIFY(ReminderAction(*book, "&View Event...")->isEnabled());
    // Acknowledging needs an alarm.
    QVERIFY(!ReminderAction(*book, "Ac&knowledge Event...")->isEnabled());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->topLevelItem(1)).center());
    QVERIFY(ReminderAction(*book, "Ac&knowledge Event...")->isEnabled());

    // A double click views the reminder.
    QString viewed;
    OnModalDialog("View Reminder Event in CMD.ADR", [&viewed](QDialog* d) {
        viewed = d->windowTitle();
        d->accept();
    });
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualItemRect(list->topLevelItem(1)).center());
    QCOMPARE(viewed, QString("View Reminder Event in CMD.ADR"));

    book->ToggleLock();
    QVERIFY(book->ReadOnly());
    QVERIFY(!ReminderAction(*book, "&Add Event...")->isEnabled());
    QVERIFY(!ReminderAction(*book, "&Delete Event...")->isEnabled());
    QVERIFY(ReminderAction(*book, "&View Event...")->isEnabled());
    // The Delete key does nothing on a locked book.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    QCOMPARE(book->Book()->WorkRecord->Reminders.Count(), 2);
    book->ToggleLock();
}

void TBookRemindersTest::AcknowledgeAndDeleteKeepTheListsPlace() {
    std::vector<std::unique_ptr<TReminders>> rs;
    rs.push_back(Reminder("A once", At(2026, 5, 1, 9, 0), kOnceOnly, true));
    rs.push_back(Reminder("B monthly", At(2026, 1, 31, 9, 0), kMonthly, true));
    rs.push_back(Reminder("C once", At(2026, 5, 3, 9, 0), kOnceOnly, true));
    TTestRun run(*store_, Path("cfg"));
    run.Frame->Settings().ConfirmReminders = false;
    const QString path = MakeReminderBook(Path("Ack.ADR"), {"Adams"}, std::move(rs));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    book->ShowPage(2);
    // Ordered by priority, then date: the monthly one first.
    QCOMPARE(Listed(*book), QStringList({"B monthly", "A once", "C once"}));
    book->RemindersPage()->SelectRow(0);
    ReminderAction(*book, "Ac&knowledge Event...")->trigger();
    QCOMPARE(book->Book()->Entries.At(0)->Reminders.At(1)->When, At(2026, 2, 28, 9, 0));
    QCOMPARE(book->RemindersPage()->SelectedRow(), 0);
    QVERIFY(book->Book()->Modified);

    book->RemindersPage()->SelectRow(1);
    book->RemindersPage()->List()->setFocus();
    OnModalDialog("Delete Reminder from ACK.ADR", [](QDialog* d) { ClickDialogButton(d, "Yes"); });
    QTest::keyClick(book->RemindersPage()->List(), Qt::Key_Delete);
    QCOMPARE(Listed(*book), QStringList({"B monthly", "C once"}));
    QCOMPARE(book->RemindersPage()->SelectedRow(), 1);
    QCOMPARE(book->Book()->Entries.At(0)->Reminders.Count(), 2);
}

QTEST_MAIN(TBookRemindersTest)
#include "book_reminders_test.moc"
