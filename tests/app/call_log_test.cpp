// Call logging driven with the mouse and the keyboard: the log window that a confirmed
// call brings up (its running duration, "Call Finished", the record written on OK, a
// second call while the first is logged, the book that may not close meanwhile), and
// the call log dialog with its details, update and delete dialogs.

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/book/entry_list_view.h"
#include "app/call_log/call_details_dlg.h"
#include "app/call_log/call_log_dlg.h"
#include "app/call_log/log_dlg.h"
#include "app/call_log/log_update_dlg.h"
#include "app/dial/dial_command.h"
#include "app/widgets/date_box.h"
#include "core/call_log/call_log_form.h"
#include "core/store/book_file.h"
#include "core/telephony/dialler.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"
#include "tests/support/fake_clock.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace tessaly;

namespace {

const TDateTime kDay = EncodeDate(2024, 3, 7);

TDateTime At(int hour, int minute) {
    return kDay + EncodeTime(hour, minute, 0);
}

// A book whose one entry, Ashdown, has a "Work" address with a number to dial, and
// `logs` calls on record.
QString MakeCallBook(const QString& path, int logs = 0) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    TTemplateValues v;
    v.Name = "Work";
    v.Captions[3] = "Office";
    v.ButtonKinds = {kButtonDial, kButtonNone, kButtonNone, kButtonNone};
    const int t = book->Templates.AddTemplate(v);
    auto e = std::make_unique<TRecord>();
    e->SetNameField(kFieldSurname, "Ashdown");
    const int a = e->Addresses.AddAddress(book->Templates.TemplateId(t));
    e->Addresses.SetFieldOf(a, 3, "020 7946 0000");
    for (int i = 0; i < logs; ++i)
        e->CallLogs.AddLog("0" + std::to_string(i + 1), "call " + std::to_string(i + 1),
                           At(9 + i, 0), At(9 + i, 10));
    book->Entries.Add(std::move(e));
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

void ClickRow(QTreeWidget* view, int row, bool twice = false) {
    const QRect r = view->visualItemRect(view->topLevelItem(row));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList Numbers(QTreeWidget* view) {
    QStringList out;
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        out << view->topLevelItem(i)->text(0);
    return out;
}

int CurrentRow(QTreeWidget* view) {
    return view->indexOfTopLevelItem(view->currentItem());
}

} // namespace

class TCallLogTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init() {
        Begin();
        clock_.SetNow(At(10, 0));
        store_->Write("Dial", "Port", "COM2");
        store_->Write("Dial", "Baud", "9600");
        SetDiallerRunner(
            [](const std::string&, const std::string&, QWidget*) { return kDialConfirmed; });
    }
    void cleanup() {
        SetDiallerRunner(nullptr);
        End();
    }
    void LogWindowTimesTheCallAndWritesTheRecordOnOk();
    void ASecondCallIsNotLoggedAndTheBookMayNotCloseMeanwhile();
    void LoggedEntryDeletedMeanwhileLosesTheRecord();
    void AnEndOnASignalWritesTheCallBeingLogged();
    void CallLogDialogCancelPutsEverythingBack();
    void CallLogDialogAddsEditsAndShowsDetails();
    void LockedBookOnlyShowsTheLog();

private:
    TBook* Open(TTestRun& run, const QString& path) {
        run.Frame->SetClock(clock_);
        run.Frame->Settings().FormatSettings = DefaultFormatSettings();
        return OpenShownBook(run, path);
    }
    // Opens the call log dialog with F2 and runs `act` on it.
    void WithCallLog(TBook* book, std::function<void(TCallLogDlg*)> act) {
        bool ran = false;
        OnModalDialog("Telephone Call Log", [&](QDialog* d) {
            ran = true;
            act(qobject_cast<TCallLogDlg*>(d));
        });
        book->ListBox()->setFocus();
        QTest::keyClick(book->ListBox(), Qt::Key_F2);
        QVERIFY(ran);
    }
    FakeClock clock_{At(10, 0)};
};

void TCallLogTest::LogWindowTimesTheCallAndWritesTheRecordOnOk() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeCallBook(Path("Calls.ADR")));
    QVERIFY(book);
    TLogDlg* log = run.Frame->LogWindow();
    QVERIFY(!log->isVisible());

    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QVERIFY(log->isVisible());
    QVERIFY(log->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(log->windowTitle(), QString("Log Current Telephone Call"));
    QCOMPARE(log->NumberLabel()->text(), QString("020 7946 0000"));
    QCOMPARE(log->StartLabel()->text(), QString("10:00"));
    QCOMPARE(log->DurationLabel()->text(), QString("00:00:00"));
    QCOMPARE(log->CancelButton()->text(), QString("Cancel Logging"));
    QVERIFY(QTest::qWaitForWindowActive(log));
    QTRY_COMPARE(QApplication::focusWidget(), log->Comment());

    clock_.SetNow(At(10, 5));
    run.Frame->TimerTick();
    QCOMPARE(log->DurationLabel()->text(), QString("00:05:00"));
    QTest::mouseClick(log->FinishedButton(), Qt::LeftButton);
    QVERIFY(!log->FinishedButton()->isVisible());
    QCOMPARE(log->CancelButton()->text(), QString("Cancel"));
    clock_.SetNow(At(10, 7));
    run.Frame->TimerTick();
    QCOMPARE(log->DurationLabel()->text(), QString("00:05:00")); // stopped at the finish

    QTest::keyClicks(log->Comment(), "Agreed the terms");
    QTest::mouseClick(log->OkButton(), Qt::LeftButton);
    QVERIFY(!log->isVisible());
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->CallLogs.Count(), 1);
    const TLog* record = entry->CallLogs.At(0);
    QCOMPARE(record->Start, At(10, 0));
    QCOMPARE(record->End, At(10, 7));
    QCOMPARE(record->Number.str(), std::string("020 7946 0000"));
    QCOMPARE(record->Comment.str(), std::string("Agreed the terms"));
    QVERIFY(book->Book()->Modified);
    QVERIFY(messages_->Requests.empty());

    // Cancel Logging writes nothing.
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QVERIFY(log->isVisible());
    QTest::keyClicks(log->Comment(), "never kept");
    QTest::mouseClick(log->CancelButton(), Qt::LeftButton);
    QVERIFY(!log->isVisible());
    QCOMPARE(book->Book()->Entries.At(0)->CallLogs.Count(), 1);
}

void TCallLogTest::ASecondCallIsNotLoggedAndTheBookMayNotCloseMeanwhile() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeCallBook(Path("Calls.ADR")));
    QVERIFY(book);
    TLogDlg* log = run.Frame->LogWindow();
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QVERIFY(log->isVisible());
    QTest::keyClicks(log->Comment(), "first");

    clock_.SetNow(At(10, 2));
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(FromQString(messages_->Requests[0].Text), std::string(kMsgCallLogBusy));
    // The open log is untouched.
    QCOMPARE(log->StartLabel()->text(), QString("10:00"));
    QCOMPARE(log->Comment()->toPlainText(), QString("first"));

    QVERIFY(!book->QueryClose());
    QCOMPARE(messages_->Requests.size(), std::size_t(2));
    QCOMPARE(FromQString(messages_->Requests[1].Text), std::string(kMsgCloseWhileLogging));
    QCOMPARE(messages_->Requests[1].TitleNumber, int(mtRequestDenied));
    QCOMPARE(messages_->Requests[1].Kind, int(mkInformation));

    QTest::mouseClick(log->OkButton(), Qt::LeftButton);
    QCOMPARE(book->Book()->Entries.At(0)->CallLogs.Count(), 1);
    QVERIFY(book->QueryClose());
}

void TCallLogTest::LoggedEntryDeletedMeanwhileLosesTheRecord() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeCallBook(Path("Calls.ADR")));
    QVERIFY(book);
    TLogDlg* log = run.Frame->LogWindow();
    QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
    QVERIFY(log->isVisible());
    messages_->Answer = mrYes;
    book->DeleteSelectedEntry();
    QCOMPARE(book->Book()->Entries.Count(), 0);
    messages_->Requests.clear();
    QTest::mouseClick(log->OkButton(), Qt::LeftButton);
    QVERIFY(!log->isVisible());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(FromQString(messages_->Requests[0].Text), std::string(kMsgCallEntryGone));
}

void TCallLogTest::AnEndOnASignalWritesTheCallBeingLogged() {
    const QString path = MakeCallBook(Path("Calls.ADR"));
    {
        TTestRun run(*store_, Path("cfg"));
        TBook* book = Open(run, path);
        QVERIFY(book);
        TLogDlg* log = run.Frame->LogWindow();
        QTest::mouseClick(book->AddressPage()->DialButton(0), Qt::LeftButton);
        QVERIFY(log->isVisible());
        QTest::keyClicks(log->Comment(), "cut short");
        clock_.SetNow(At(10, 4));
        run.Frame->ShutdownFromSignal();
        // The windows close once control is back in the main loop.
        QTRY_VERIFY_WITH_TIMEOUT(!log->isVisible(), 5000);
        QVERIFY(messages_->Requests.empty());
    }
    TLoadResult saved = LoadBook(PathToCore(path), TStoreSettings());
    QVERIFY(saved.Book);
    const TLog* record = saved.Book->Entries.At(0)->CallLogs.At(0);
    QVERIFY(record);
    QCOMPARE(record->Comment.str(), std::string("cut short"));
    QCOMPARE(record->End, At(10, 4));
}

void TCallLogTest::CallLogDialogCancelPutsEverythingBack() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeCallBook(Path("Calls.ADR"), 3));
    QVERIFY(book);
    WithCallLog(book, [&](TCallLogDlg* d) {
        QVERIFY(d);
        QCOMPARE(d->NameLabel()->text(), QString("Ashdown"));
        QTreeWidget* list = d->List();
        QCOMPARE(Numbers(list), QStringList({"01", "02", "03"}));
        QCOMPARE(list->topLevelItem(0)->text(1), QString("Thu 07/03/2024"));
        QCOMPARE(list->topLevelItem(0)->text(2), QString("09:00"));
        QCOMPARE(list->topLevelItem(0)->text(3), QString("00:10:00"));
        QCOMPARE(CurrentRow(list), 2);
        QCOMPARE(list->header()->sectionSize(0), 144);
        QCOMPARE(list->header()->sectionSize(1), 166);
        QCOMPARE(list->header()->sectionSize(2), 59);

        // Deleting the middle record keeps the row; deleting the last moves up.
        ClickRow(list, 1);
        OnModalDialog("Delete Call Log Record", [](QDialog* del) {
            QVERIFY(del->findChild<QLabel*>("Confirmation"));
            ClickDialogButton(del, "OK");
        });
        QTest::mouseClick(d->DeleteButton(), Qt::LeftButton);
        QCOMPARE(Numbers(list), QStringList({"01", "03"}));
        QCOMPARE(CurrentRow(list), 1);
        // Cancel in the confirmation deletes nothing.
        OnModalDialog("Delete Call Log Record",
                      [](QDialog* del) { ClickDialogButton(del, "Cancel"); });
        QTest::mouseClick(d->DeleteButton(), Qt::LeftButton);
        QCOMPARE(Numbers(list), QStringList({"01", "03"}));
        OnModalDialog("Delete Call Log Record", [](QDialog* del) { ClickDialogButton(del, "OK"); });
        QTest::mouseClick(d->DeleteButton(), Qt::LeftButton);
        QCOMPARE(Numbers(list), QStringList({"01"}));
        QCOMPARE(CurrentRow(list), 0);
        // A column made wider is remembered.
        list->header()->resizeSection(0, 200);
        ClickDialogButton(d, "Cancel");
    });
    QCOMPARE(book->Book()->Entries.At(0)->CallLogs.Count(), 3);
    QCOMPARE(book->Book()->WorkRecord->CallLogs.Count(), 3);
    QVERIFY(!book->Book()->Modified);
    QCOMPARE(store_->Read("Dial", "Log Header"), std::optional<std::string>("200"));
}

void TCallLogTest::CallLogDialogAddsEditsAndShowsDetails() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = Open(run, MakeCallBook(Path("Calls.ADR"), 1));
    QVERIFY(book);
    WithCallLog(book, [&](TCallLogDlg* d) {
        QTreeWidget* list = d->List();
        bool details = false;
        OnModalDialog("Call Log Details", [&](QDialog* dd) {
            details = true;
            auto* shown = qobject_cast<TCallDetailsDlg*>(dd);
            QCOMPARE(shown->Field("CallTo")->text(), QString("Ashdown"));
            QCOMPARE(shown->Field("Started")->text(), QString("09:00 on Thursday, 7 March 2024"));
            QCOMPARE(shown->Field("Duration")->text(), QString("00:10:00"));
            QCOMPARE(shown->Field("Comment")->text(), QString("call 1"));
            ClickDialogButton(dd, "OK");
        });
        ClickRow(list, 0, true);
        QVERIFY(details);

        // A new record: the number is required, then OK adds it and selects it.
        OnModalDialog("Add New Call Log Record", [&](QDialog* ad) {
            auto* u = qobject_cast<TLogUpdateDlg*>(ad);
            QCOMPARE(u->StartDate()->Text(), QString("07/03/2024"));
            QCOMPARE(u->EndTime()->text(), QString("10:00"));
            ClickDialogButton(ad, "OK");
            QVERIFY(ad->isVisible());
            QCOMPARE(FromQString(messages_->Requests.back().Text),
                     std::string(kMsgLogNumberRequired));
            QCOMPARE(ad->focusWidget(), u->Number());
            QTest::keyClicks(u->Number(), " 0800 123 ");
            QTest::keyClicks(u->Comment(), "booked");
            ClickDialogButton(ad, "OK");
            QVERIFY(!ad->isVisible());
        });
        QTest::mouseClick(d->AddButton(), Qt::LeftButton);
        QCOMPARE(Numbers(list), QStringList({"01", "0800 123"}));
        QCOMPARE(CurrentRow(list), 1);

        // An end before the start is refused with the end date focused; the same moment
        // is accepted.
        ClickRow(list, 0);
        OnModalDialog("Update Call Log Record", [&](QDialog* ed) {
            auto* u = qobject_cast<TLogUpdateDlg*>(ed);
            QCOMPARE(u->Number()->text(), QString("01"));
            ReplaceText(u->EndTime(), "08:59");
            ClickDialogButton(ed, "OK");
            QVERIFY(ed->isVisible());
            QCOMPARE(FromQString(messages_->Requests.back().Text),
                     std::string(kMsgLogEndBeforeStart));
            QCOMPARE(ed->focusWidget(), u->EndDate()->Edit());
            ReplaceText(u->EndDate()->Edit(), "07/03/2O24");
            ReplaceText(u->EndTime(), "09:00");
            ClickDialogButton(ed, "OK");
            QCOMPARE(FromQString(messages_->Requests.back().Text), std::string(kMsgLogDateInvalid));
            ReplaceText(u->EndDate()->Edit(), "07/03/2024");
            ClickDialogButton(ed, "OK");
            QVERIFY(!ed->isVisible());
        });
        QTest::mouseClick(d->EditButton(), Qt::LeftButton);
        QCOMPARE(list->topLevelItem(0)->text(3), QString("00:00:00"));
        QCOMPARE(CurrentRow(list), 0);
        ClickDialogButton(d, "OK");
    });
    // OK applies the change to the entry at once.
    const TRecord* entry = book->Book()->Entries.At(0);
    QCOMPARE(entry->CallLogs.Count(), 2);
    QCOMPARE(entry->CallLogs.At(0)->End, At(9, 0));
    QCOMPARE(entry->CallLogs.At(1)->Comment.str(), std::string("booked"));
    QVERIFY(book->Book()->Modified);
}

void TCallLogTest::LockedBookOnlyShowsTheLog() {
    TTestRun run(*store_, Path("cfg"));
    const QString path = MakeCallBook(Path("Calls.ADR"), 2);
    run.Frame->SetClock(clock_);
    run.Frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(run.Frame.get()));
    QVERIFY(run.Frame->OpenBookFile(path, true, true));
    auto* book = qobject_cast<TBook*>(run.Frame->ActiveChild());
    QVERIFY(book && book->ReadOnly());
    WithCallLog(book, [&](TCallLogDlg* d) {
        QVERIFY(d->DetailsButton()->isEnabled());
        QVERIFY(!d->AddButton()->isEnabled());
        QVERIFY(!d->EditButton()->isEnabled());
        QVERIFY(!d->DeleteButton()->isEnabled());
        ClickDialogButton(d, "OK");
    });
    QVERIFY(!book->Book()->Modified);
}

QTEST_MAIN(TCallLogTest)
#include "call_log_test.moc"
