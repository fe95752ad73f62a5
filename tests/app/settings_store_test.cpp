// The settings on the program's own store (QSettings in an INI file): the round trip
// of every setting with defaults and hexadecimal values, and names that ignore case.

#include "app/widgets/app_context.h"
#include "core/settings/settings.h"
#include "platform/qt_settings_store.h"
#include "platform/qt_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaly;

class TSettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void DefaultsThenRoundTripThroughTheFile();
    void HexadecimalAndBadNumbers();
    void SectionAndValueNamesIgnoreCase();
    void UnwritableFileReportsTheWrite();
};

void TSettingsStoreTest::DefaultsThenRoundTripThroughTheFile() {
    QTemporaryDir dir;
    const std::string ini = PathToCore(dir.filePath("Tessaly.conf"));
    {
        QtSettingsStore store(ini);
        TSettingsAccess a(store);
        TSettings s = LoadSettings(a, "/home/u/.config/Marrowby/Tessaly");
        QCOMPARE(s.UndoLevel, 10);
        QCOMPARE(s.TagColor, 9);
        QCOMPARE(s.EventFormat, std::string("ddd ddddd"));
        QVERIFY(s.ReopenList.IsEmpty(0));
        s.UndoLevel = 25;
        s.FastEdit = false;
        s.ConfigDirectory = "/Data/Tessaly Config";
        s.ReportLinks[0] = "Christmas Cards";
        s.ReopenList.Add("/home/u/Books/Friends.ADR", "ADR");
        s.ReopenList.Add("/home/u/Diaries/Work Plans.TDY", "TDY");
        SaveSettings(a, s);
    }
    // A new store on the same file: another run of the program.
    QtSettingsStore store(ini);
    TSettingsAccess a(store);
    const TSettings r = LoadSettings(a, "/elsewhere");
    QCOMPARE(r.UndoLevel, 25);
    QCOMPARE(r.FastEdit, false);
    QCOMPARE(r.ConfigDirectory, std::string("/Data/Tessaly Config"));
    QCOMPARE(r.ReportLinks[0], std::string("Christmas Cards"));
    QCOMPARE(r.ReportLinks[1], std::string(kNoLinkedReport));
    QCOMPARE(r.ReopenList.At(0).Path, std::string("/home/u/Diaries/Work Plans.TDY"));
    QCOMPARE(r.ReopenList.At(0).Type, std::string("TDY"));
    QCOMPARE(r.ReopenList.At(1).Path, std::string("/home/u/Books/Friends.ADR"));
    QVERIFY(r.ReopenList.IsEmpty(2));
}

void TSettingsStoreTest::HexadecimalAndBadNumbers() {
    QTemporaryDir dir;
    QtSettingsStore store(PathToCore(dir.filePath("Tessaly.conf")));
    TSettingsAccess a(store);
    a.WriteString("General", "Undo Level", "0x1A");
    a.WriteString("Reminders", "Scan Reminders", "often");
    a.WriteString("Reminders", "Advance Warning", "0X0c");
    const TSettings s = LoadSettings(a, "/cfg");
    QCOMPARE(s.UndoLevel, 26);
    QCOMPARE(s.ScanReminders, 5);
    QCOMPARE(s.AdvanceWarning, 12);
}

void TSettingsStoreTest::SectionAndValueNamesIgnoreCase() {
    QTemporaryDir dir;
    QtSettingsStore store(PathToCore(dir.filePath("Tessaly.conf")));
    TSettingsAccess a(store);
    a.WriteInteger("Dial", "Modem Time-out", 30);
    a.WriteInteger("DIAL", "Modem Time-Out", 45);
    QCOMPARE(a.ReadInteger("dial", "MODEM TIME-OUT", 0), 45);
    QCOMPARE(store.ValueNames("Dial").size(), std::size_t(1));
    a.EraseSection("dIAL");
    QVERIFY(!a.Exists("Dial", "Modem Time-out"));
}

void TSettingsStoreTest::UnwritableFileReportsTheWrite() {
    QTemporaryDir dir;
    // A folder where the file should be: no write succeeds, whoever runs the test.
    const QString path = dir.filePath("Tessaly.conf");
    QVERIFY(QDir().mkdir(path));
    QtSettingsStore store(PathToCore(path));
    TSettingsAccess a(store);
    QVERIFY_THROWS_EXCEPTION(TSettingsWriteError, a.WriteBool("General", "Lock Tab", false));
}

QTEST_MAIN(TSettingsStoreTest)
#include "settings_store_test.moc"
