// The message dialog: titles, headings, button sets, the answers of Escape and of
// "Yes to All", and the cursor rule.

#include "app/widgets/hour_glass.h"
#include "tests/app/test_support.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tessaly;

class TMessageDialogTest : public QObject {
    Q_OBJECT
private slots:
    void TitlesAndHeadings();
    void ButtonSetsWithTheirDefaultsAndCancels();
    void RequestCarriesEverythingAndOutOfRangeValuesFallBack();
    void ArrowWhileShownAndTheHourGlassAfter();
    void RealDialogAnswersEscapeWithItsCancelButton();
    void RealDialogYesToAllAnswersIgnore();
};

void TMessageDialogTest::TitlesAndHeadings() {
    QCOMPARE(MessageTitle(1000), QString("Request Denied"));
    QCOMPARE(MessageTitle(1002), QString("Create Required File ?"));
    QCOMPARE(MessageTitle(1010), QString("Required Field Missing or Invalid"));
    QCOMPARE(MessageTitle(1015), QString("TAPI Failure"));
    QCOMPARE(MessageTitle(1016), QString("Tessaly"));
    QCOMPARE(MessageTitle(999), QString("Tessaly"));
    QCOMPARE(MessageHeading(0), QString("Warning - Please Note"));
    QCOMPARE(MessageHeading(1), QString("Error Encountered"));
    QCOMPARE(MessageHeading(2), QString("Information - Please Note"));
    QCOMPARE(MessageHeading(3), QString("Confirmation Required"));
    QCOMPARE(MessageHeading(4), QString("Unknown Message Type"));
}

void TMessageDialogTest::ButtonSetsWithTheirDefaultsAndCancels() {
    struct Want {
        int set;
        std::vector<int> results;
        int defaultResult;
        int cancel;
    };
    const Want wants[] = {
        {mbOk, {mrOk}, mrOk, mrOk},
        {mbOkCancel, {mrOk, mrCancel}, mrOk, mrCancel},
        {mbYesNo, {mrYes, mrNo}, mrYes, mrNo},
        {mbAbortRetryIgnore, {mrAbort, mrRetry, mrIgnore}, mrAbort, mrRetry},
        {mbYesNoCancel, {mrYes, mrNo, mrCancel}, mrYes, mrCancel},
        {mbYesNoCancelAll, {mrYes, mrNo, mrCancel, mrIgnore}, mrYes, mrCancel},
    };
    for (const Want& w : wants) {
        const auto buttons = MessageButtons(w.set);
        std::vector<int> results;
        int defaults = 0;
        for (const auto& b : buttons) {
            results.push_back(b.Result);
            if (b.IsDefault) {
                ++defaults;
                QCOMPARE(b.Result, w.defaultResult);
            }
        }
        QVERIFY(results == w.results);
        QCOMPARE(defaults, 1);
        QCOMPARE(CancelResult(buttons), w.cancel);
    }
    QCOMPARE(MessageButtons(5).back().Caption, QString("Yes to &All"));
}

void TMessageDialogTest::RequestCarriesEverythingAndOutOfRangeValuesFallBack() {
    TRecordingPresenter p;
    p.Answer = mrNo;
    QCOMPARE(ShowMessage(1006, "Delete it?", mkConfirmation, mbYesNo), int(mrNo));
    QCOMPARE(p.Requests.size(), std::size_t(1));
    const TMessageRequest& r = p.Requests[0];
    QCOMPARE(r.Title, QString("Deletion Requested"));
    QCOMPARE(r.Heading, QString("Confirmation Required"));
    QCOMPARE(r.Text, QString("Delete it?"));
    QCOMPARE(r.Buttons.size(), std::size_t(2));
    ShowMessage(1001, "odd", 9, 42);
    QCOMPARE(p.Requests[1].Kind, int(mkNone));
    QCOMPARE(p.Requests[1].Heading, QString("Unknown Message Type"));
    QCOMPARE(p.Requests[1].ButtonSet, int(mbOk));
}

void TMessageDialogTest::ArrowWhileShownAndTheHourGlassAfter() {
    TRecordingPresenter p;
    QVERIFY(!QGuiApplication::overrideCursor());
    {
        THourGlass busy;
        ShowMessage(1005, "failed", mkError, mbOk);
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    QCOMPARE(p.Cursors.front(), Qt::ArrowCursor);
    QVERIFY(!QGuiApplication::overrideCursor());
}

namespace {
// Presses a key, or clicks a button by caption, in the modal dialog once it shows.
// Gives up after five seconds so that the suite never hangs.
void AnswerLater(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(w);
        } else if (++*tries > 100) {
            timer->stop();
            timer->deleteLater();
            qWarning("no dialog appeared");
        }
    });
    timer->start(50);
}
} // namespace

void TMessageDialogTest::RealDialogAnswersEscapeWithItsCancelButton() {
    SetMessagePresenter(nullptr);
    AnswerLater([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(ShowMessage(1000, "Abort?", mkWarning, mbAbortRetryIgnore), int(mrRetry));
    AnswerLater([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    QCOMPARE(ShowMessage(1000, "Only OK", mkInformation, mbOk), int(mrOk));
}

void TMessageDialogTest::RealDialogYesToAllAnswersIgnore() {
    SetMessagePresenter(nullptr);
    QString heading;
    AnswerLater([&heading](QWidget* w) {
        for (auto* label : w->findChildren<QLabel*>())
            if (label->text().contains("Confirmation"))
                heading = label->text();
        for (auto* b : w->findChildren<QPushButton*>())
            if (b->text() == "Yes to &All")
                b->click();
    });
    QCOMPARE(ShowMessage(1006, "All of them?", mkConfirmation, mbYesNoCancelAll), int(mrIgnore));
    QCOMPARE(heading, QString("Confirmation Required"));
}

QTEST_MAIN(TMessageDialogTest)
#include "message_dialog_test.moc"
