// vCards in the book window: "Export vCards..." and "Import vCards..." on its File
// menu, and .vcf files dropped on the entry list.

#include "app/book/book.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "core/store/book_file.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

using namespace tessaly;

namespace {

QString MakeNamedBook(const QString& path, const QStringList& surnames) {
    TStoreSettings settings;
    auto book = NewBook(PathToCore(path), settings);
    for (const QString& surname : surnames) {
        auto e = std::make_unique<TRecord>();
        e->SetNameField(kFieldSurname, FromQString(surname));
        book->Entries.Add(std::move(e));
    }
    if (!SaveBook(*book, false, settings).Ok)
        qFatal("could not write %s", qPrintable(path));
    return path;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("could not write %s", qPrintable(path));
}

// Drags the files over the entry list and drops them there, as a file manager does;
// whether the window took the drag.
bool DropOnList(TBook& book, const QStringList& files) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& f : files)
        urls << QUrl::fromLocalFile(f);
    mime.setUrls(urls);
    QWidget* viewport = book.ListBox()->viewport();
    const QPoint at = viewport->mapTo(&book, viewport->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&book, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&book, &drop);
    return drop.isAccepted();
}

const QByteArray kCard =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Young;Zo\xC3\xAB;;;\r\nFN:Zo\xC3\xAB Young\r\n"
    "TEL;TYPE=home:555 0100\r\nX-PET:Tom\r\nEND:VCARD\r\n";

} // namespace

class TBookVCardsTest : public QObject, protected TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() {
        TBook::VCardExportChooser = exportChooser_;
        TBook::VCardImportChooser = importChooser_;
        End();
    }
    void ExportWritesTheListedEntriesAndImportAddsThemBack();
    void AFailedExportIsReportedAndWritesNothing();
    void TheVersionChosenIsWrittenAndRemembered();
    void AVCardDroppedOnTheListIsImported();

private:
    decltype(TBook::VCardExportChooser) exportChooser_ = TBook::VCardExportChooser;
    decltype(TBook::VCardImportChooser) importChooser_ = TBook::VCardImportChooser;
};

void TBookVCardsTest::ExportWritesTheListedEntriesAndImportAddsThemBack() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeNamedBook(Path("Cards.ADR"), {"Brown", "Adams"}));
    QVERIFY(book);
    QString suggested;
    TBook::VCardExportChooser = [&](QWidget*, const QString&, const QString& s) {
        suggested = s;
        return Path("out.vcf");
    };
    QAction* exportAction = MenuAction(*book, "Export vCards...");
    QVERIFY(exportAction && exportAction->isEnabled());
    OnModalDialog("Export vCards", [](QDialog* d) { ClickDialogButton(d, "OK"); });
    exportAction->trigger();
    QCOMPARE(suggested, Path("Cards.vcf"));
    const QByteArray written = FileBytes(Path("out.vcf"));
    QCOMPARE(written.count("BEGIN:VCARD\r\nVERSION:3.0\r\n"), 2);
    // In the list's order.
    QVERIFY(written.indexOf("\r\nN:Adams;") >= 0);
    QVERIFY(written.indexOf("\r\nN:Adams;") < written.indexOf("\r\nN:Brown;"));
    QVERIFY(messages_->Requests.empty());

    TBook::VCardImportChooser = [&](QWidget*, const QString&) { return Path("out.vcf"); };
    QAction* importAction = MenuAction(*book, "Import vCards...");
    QVERIFY(importAction && importAction->isEnabled());
    importAction->trigger();
    QCOMPARE(book->Book()->Entries.Count(), 4);
    QCOMPARE(ListedSurnames(*book), (QStringList{"Adams", "Adams", "Brown", "Brown"}));
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Text, QString("2 entries were imported from \"out.vcf\"."));
    // New entries with stamps of their own, each a change that undo can take back.
    QVERIFY(book->Book()->Entries.At(2)->Stamp != book->Book()->Entries.At(0)->Stamp);
    QCOMPARE(book->Book()->UndoList.Count(), 2);
    QVERIFY(book->Book()->Modified);
}

void TBookVCardsTest::AFailedExportIsReportedAndWritesNothing() {
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, MakeNamedBook(Path("Fail.ADR"), {"Adams"}));
    QVERIFY(book);
    TBook::VCardExportChooser = [&](QWidget*, const QString&, const QString&) {
        return Path("no-such-folder/out.vcf");
    };
    OnModalDialog("Export vCards", [](QDialog* d) { ClickDialogButton(d, "OK"); });
    MenuAction(*book, "Export vCards...")->trigger();
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QVERIFY(
        messages_->Requests[0].Text.startsWith("The vCards could not be written to \"out.vcf\": "));
    QVERIFY(!QFile::exists(Path("no-such-folder/out.vcf")));
}

void TBookVCardsTest::TheVersionChosenIsWrittenAndRemembered() {
    const QString path = MakeNamedBook(Path("Four.ADR"), {"Adams"});
    int asked = 0;
    TBook::VCardExportChooser = [&](QWidget*, const QString&, const QString&) {
        ++asked;
        return Path("four.vcf");
    };
    {
        TTestRun run(*store_, Path("cfg"));
        TBook* book = OpenShownBook(run, path);
        QVERIFY(book);
        // Cancel in the version step exports nothing.
        OnModalDialog("Export vCards", [](QDialog* d) { ClickDialogButton(d, "Cancel"); });
        MenuAction(*book, "Export vCards...")->trigger();
        QCOMPARE(asked, 0);
        OnModalDialog("Export vCards", [](QDialog* d) {
            auto* v3 = d->findChild<QRadioButton*>(QString(), Qt::FindChildrenRecursively);
            QVERIFY(v3 && v3->isChecked()); // 3.0 at first
            for (QRadioButton* r : d->findChildren<QRadioButton*>())
                if (r->text().startsWith("vCard &4.0"))
                    QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(8, r->height() / 2));
            ClickDialogButton(d, "OK");
        });
        MenuAction(*book, "Export vCards...")->trigger();
        QCOMPARE(asked, 1);
        const QByteArray written = FileBytes(Path("four.vcf"));
        QCOMPARE(written.count("BEGIN:VCARD\r\nVERSION:4.0\r\n"), 1);
        QCOMPARE(written.count("VERSION:3.0"), 0);
    }
    // The next run offers 4.0 first.
    TTestRun run(*store_, Path("cfg"));
    TBook* book = OpenShownBook(run, path);
    QVERIFY(book);
    bool fourFirst = false;
    OnModalDialog("Export vCards", [&](QDialog* d) {
        for (QRadioButton* r : d->findChildren<QRadioButton*>())
            if (r->text().startsWith("vCard &4.0"))
                fourFirst = r->isChecked();
        ClickDialogButton(d, "Cancel");
    });
    MenuAction(*book, "Export vCards...")->trigger();
    QVERIFY(fourFirst);
}

void TBookVCardsTest::AVCardDroppedOnTheListIsImported() {
    TTestRun run(*store_, Path("cfg"));
    // An empty book takes a dropped card too: no entry need be selected.
    TBook* book = OpenShownBook(run, MakeNamedBook(Path("Drop.ADR"), {}));
    QVERIFY(book);
    WriteFile(Path("young.vcf"), kCard);
    WriteFile(Path("empty.vcf"), "nothing here\r\n");
    QVERIFY(DropOnList(*book, {Path("young.vcf")}));
    QCOMPARE(book->Book()->Entries.Count(), 1);
    const TRecord& young = *book->Book()->Entries.At(0);
    QCOMPARE(ToQString(young.NameField(kFieldFirstName)), QString::fromUtf8("Zo\xC3\xAB"));
    QCOMPARE(ToQString(young.Addresses.FieldOf(0, 3)), QString("555 0100"));
    QCOMPARE(ListedSurnames(*book), QStringList{"Young"});
    QCOMPARE(book->ListBox()->SelectedRow(), 0); // the new entry is shown
    QCOMPARE(messages_->Requests.size(), std::size_t(1));

    // A file without cards is refused with a message, and adds nothing.
    QVERIFY(DropOnList(*book, {Path("empty.vcf")}));
    QCOMPARE(messages_->Requests.size(), std::size_t(2));
    QCOMPARE(messages_->Requests[1].Text,
             QString("The file \"empty.vcf\" holds no vCard.\n\nNo entries were imported."));
    QCOMPARE(book->Book()->Entries.Count(), 1);

    // A locked book takes no drop at all.
    book->ToggleLock();
    QVERIFY(book->ReadOnly());
    QVERIFY(!DropOnList(*book, {Path("young.vcf")}));
    QCOMPARE(book->Book()->Entries.Count(), 1);
}

QTEST_MAIN(TBookVCardsTest)
#include "book_vcards_test.moc"
