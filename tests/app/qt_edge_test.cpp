// Where the core's strings meet Qt's: Windows-1252 texts both ways, paths as the file
// system's bytes, and the locale's date patterns and names handed to the core in the
// core's code page.

#include "core/common/date_format.h"
#include "core/common/date_time.h"
#include "platform/locale_formats.h"
#include "platform/page_sizes.h"
#include "platform/qt_text.h"

#include <QLocale>
#include <QTest>

using namespace tessaly;

class TQtEdgeTest : public QObject {
    Q_OBJECT
private slots:
    void TextsKeepTheirCodePage();
    void TheLostCharactersAreNamedOnceEach();
    void PathsKeepTheirBytes();
    void LocaleNamesReachTheCoreInItsCodePage();
    void QuotedLocaleTextIsNotAFormatLetter();
    void EveryLocalesShortDateReadsBack();
    void PaperCodesMapToPageSizes();
};

void TQtEdgeTest::TextsKeepTheirCodePage() {
    const std::string cp1252 = "Caf\xE9 \x80 \x93quoted\x94 M\xFCller";
    const QString shown = ToQString(cp1252);
    QCOMPARE(shown, QString::fromUtf8("Café € “quoted” Müller"));
    QCOMPARE(FromQString(shown), cp1252);
    // What the code page cannot hold is not passed on as UTF-8 bytes.
    QCOMPARE(FromQString(QString::fromUtf8("Ж €")), std::string("? \x80"));
    QCOMPARE(ToQString(std::string("a\0b", 3)).size(), 3);
}

void TQtEdgeTest::TheLostCharactersAreNamedOnceEach() {
    // Polish and Greek letters beside the code page's own (ó, €, “), a typed '?' and a
    // character outside the basic plane (one character, two UTF-16 units).
    const QString typed = QString::fromUtf8("Łódź? Ω € “ź” Привет 😀 Ł");
    QCOMPARE(CharactersLost(typed), QString::fromUtf8("ŁźΩПривет😀"));
    QCOMPARE(FromQString(typed).size(), std::size_t(typed.toUcs4().size()));
    QCOMPARE(CharactersLost(QString::fromUtf8("Café M\u00fcller \u20ac ?")), QString());
    QCOMPARE(CharactersLost(QString()), QString());
}

void TQtEdgeTest::PathsKeepTheirBytes() {
    const QString path = QString::fromUtf8("/home/zoë/Adressen/Bäcker.ADR");
    const std::string bytes = PathToCore(path);
    QCOMPARE(bytes, std::string("/home/zo\xC3\xAB/Adressen/B\xC3\xA4"
                                "cker.ADR"));
    QCOMPARE(PathFromCore(bytes), path);
}

void TQtEdgeTest::LocaleNamesReachTheCoreInItsCodePage() {
    const TFormatSettings fs = LocaleFormats(QLocale(QLocale::French, QLocale::France));
    QCOMPARE(fs.LongMonthNames[1], std::string("f\xE9vrier"));
    QCOMPARE(fs.LongMonthNames[11], std::string("d\xE9"
                                                "cembre"));
    QCOMPARE(fs.LongDayNames[0], std::string("dimanche"));
    QCOMPARE(fs.LongDayNames[2], std::string("mardi"));
    const TDateTime tuesday = EncodeDate(2026, 12, 8);
    QCOMPARE(FormatDateTime(fs.LongDateFormat, tuesday, fs), std::string("mardi 8 d\xE9"
                                                                         "cembre 2026"));
    QCOMPARE(FormatDateTime("mmmm", EncodeDate(2026, 8, 1), fs), std::string("ao\xFBt"));
    // The short date keeps at most two month letters.
    QVERIFY(fs.ShortDateFormat.find("mmm") == std::string::npos);
}

void TQtEdgeTest::QuotedLocaleTextIsNotAFormatLetter() {
    const TFormatSettings fs = LocaleFormats(QLocale(QLocale::Spanish, QLocale::Spain));
    QCOMPARE(FormatDateTime(fs.LongDateFormat, EncodeDate(2026, 9, 1), fs),
             std::string("martes, 1 de septiembre de 2026"));
}

// A short date written in a locale's format must read back as the same day, whatever
// separator the locale uses (the C locale's blank, the German full stop).
void TQtEdgeTest::EveryLocalesShortDateReadsBack() {
    const TDateTime day = EncodeDate(2026, 12, 8);
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                  QLocale(QLocale::English, QLocale::UnitedKingdom),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        const TFormatSettings fs = LocaleFormats(locale);
        const std::string text = FormatDateTime(fs.ShortDateFormat, day, fs);
        const auto read = ParseDate(text, fs, day);
        QVERIFY2(read && *read == day,
                 (locale.name() + " " + QString::fromStdString(text)).toUtf8());
    }
}

void TQtEdgeTest::PaperCodesMapToPageSizes() {
    QCOMPARE(PageSizeForPaperCode(1, 0, 0).id(), QPageSize::Letter);
    QCOMPARE(PageSizeForPaperCode(9, 0, 0).id(), QPageSize::A4);
    QCOMPARE(PageSizeForPaperCode(20, 0, 0).id(), QPageSize::Envelope10);
    QCOMPARE(PageSizeForPaperCode(27, 0, 0).id(), QPageSize::EnvelopeDL);
    QCOMPARE(PageSizeForPaperCode(70, 0, 0).id(), QPageSize::A6);
    // Every code the catalogue's factory papers carry comes back from its page size.
    for (int code :
         {1, 5, 7, 8, 9, 11, 19, 20, 21, 22, 23, 27, 28, 30, 31, 32, 33, 34, 35, 37, 38, 42, 70})
        QCOMPARE(PaperCodeOfPageSize(PageSizeForPaperCode(code, 0, 0)), code);
    // A size of the user's own, and a code Qt does not know, keep the paper's size
    // exactly, even one a hair from a standard size.
    const QPageSize own = PageSizeForPaperCode(256, 210.5, 297);
    QCOMPARE(own.id(), QPageSize::Custom);
    QVERIFY(qAbs(own.size(QPageSize::Millimeter).width() - 210.5) < 0.01);
    QCOMPARE(PaperCodeOfPageSize(own), 256);
    const QPageSize unknown = PageSizeForPaperCode(9999, 100, 50);
    QVERIFY(qAbs(unknown.size(QPageSize::Millimeter).height() - 50) < 0.01);
    QCOMPARE(PaperCodeOfPageSize(QPageSize()), 256);
}

QTEST_GUILESS_MAIN(TQtEdgeTest)
#include "qt_edge_test.moc"
