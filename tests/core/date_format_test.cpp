#include "core/common/date_format.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

// Thursday 31 December 1998, 14:05:09.007; Tuesday 5 March 2024, 09:07:03.
const TDateTime kNewYearsEve = EncodeDate(1998, 12, 31) + EncodeTime(14, 5, 9, 7);
const TDateTime kMarch = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 3);
const TDateTime kToday = EncodeDate(2025, 6, 15);

std::string F(std::string_view pattern, TDateTime t) {
    return FormatDateTime(pattern, t);
}

TEST(DateFormat, SingleTokens) {
    const std::pair<const char*, const char*> cases[] = {
        {"d", "5"},
        {"dd", "05"},
        {"ddd", "Tue"},
        {"dddd", "Tuesday"},
        {"m", "3"},
        {"mm", "03"},
        {"mmm", "Mar"},
        {"mmmm", "March"},
        {"yy", "24"},
        {"yyyy", "2024"},
        {"h", "9"},
        {"hh", "09"},
        {"n", "7"},
        {"nn", "07"},
        {"s", "3"},
        {"ss", "03"},
        {"ddddd", "05/03/2024"},
        {"dddddd", "Tuesday, 5 March 2024"},
        {"t", "09:07"},
        {"tt", "09:07:03"},
        {"c", "05/03/2024 09:07:03"},
        {"DD/MM/YYYY", "05/03/2024"},
        {"", "05/03/2024 09:07:03"},
    };
    for (const auto& [pattern, expected] : cases)
        EXPECT_EQ(F(pattern, kMarch), expected) << pattern;
    EXPECT_EQ(F("z zzz", kNewYearsEve), "7 007");
    // "c" leaves out a midnight time.
    EXPECT_EQ(F("c", EncodeDate(1998, 12, 31)), "31/12/1998");
    EXPECT_EQ(F("dd/mm/yyyy", EncodeDate(1850, 6, 1)), "01/06/1850");
}

TEST(DateFormat, CombinationsAndLiterals) {
    EXPECT_EQ(F("dddddd \"at\" t", kNewYearsEve), "Thursday, 31 December 1998 at 14:05");
    EXPECT_EQ(F(" \"until\" ddddd", kNewYearsEve), " until 31/12/1998");
    EXPECT_EQ(F("ddd ddddd", kNewYearsEve), "Thu 31/12/1998");
    EXPECT_EQ(F("hh:mm:ss", kNewYearsEve), "14:05:09");
    EXPECT_EQ(F("t \"on\" dddddd", kNewYearsEve), "14:05 on Thursday, 31 December 1998");
    EXPECT_EQ(F("'dd/mm' dd 'at' \"t\"", kNewYearsEve), "dd/mm 31 at t");
    EXPECT_EQ(F("dd 'unclosed t", kNewYearsEve), "31 unclosed t");
    // Minutes only right after an hour: literals between do not matter, other tokens do.
    EXPECT_EQ(F("hh'h'mm", kNewYearsEve), "14h05");
    EXPECT_EQ(F("hh:mm dd/mm", kNewYearsEve), "14:05 31/12");
    EXPECT_EQ(F("mm/dd hh", kNewYearsEve), "12/31 14");
    // Unknown letters stand for themselves; an "a" that starts no marker too.
    EXPECT_EQ(F("[dd] x q a", kNewYearsEve), "[31] x q a");
}

TEST(DateFormat, TwelveHourClock) {
    EXPECT_EQ(F("h:nn am/pm", kNewYearsEve), "2:05 pm");
    EXPECT_EQ(F("hh:nn AM/PM", kNewYearsEve), "02:05 PM");
    EXPECT_EQ(F("h a/p", kNewYearsEve), "2 p");
    EXPECT_EQ(F("h ampm", kNewYearsEve), "2 PM");
    EXPECT_EQ(F("h am/pm", EncodeDate(2000, 1, 1)), "12 am");
    EXPECT_EQ(F("h am/pm", EncodeDate(2000, 1, 1) + 0.5), "12 pm");
    EXPECT_EQ(F("h:nn 'am/pm' h", kNewYearsEve), "14:05 am/pm 14"); // quoted: no marker
}

TEST(DateFormat, LocaleSettingsAreUsed) {
    TFormatSettings fs;
    fs.DateSeparator = "-";
    fs.TimeSeparator = ".";
    fs.ShortDateFormat = "yyyy/mm/dd";
    fs.LongDateFormat = "d. mmmm yyyy";
    fs.ShortTimeFormat = "hh:nn";
    fs.LongMonthNames[11] = "Dezember";
    fs.ShortDayNames[4] = "Do";
    EXPECT_EQ(FormatDateTime("ddddd t", kNewYearsEve, fs), "1998-12-31 14.05");
    EXPECT_EQ(FormatDateTime("ddd, dddddd", kNewYearsEve, fs), "Do, 31. Dezember 1998");
    // A format naming itself is expanded only a bounded number of times.
    fs.ShortDateFormat = "ddddd!";
    EXPECT_EQ(FormatDateTime("ddddd", kNewYearsEve, fs), "!!");
}

TEST(DateParse, DatesInTheShortDateOrder) {
    const TFormatSettings& fs = DefaultFormatSettings();
    EXPECT_EQ(ParseDate("31/12/1998", fs, kToday), EncodeDate(1998, 12, 31));
    EXPECT_EQ(ParseDate(" 1/2/2024 ", fs, kToday), EncodeDate(2024, 2, 1));
    EXPECT_EQ(ParseDate("1/2", fs, kToday), EncodeDate(2025, 2, 1));
    EXPECT_EQ(ParseDate("31/12/98", fs, kToday), EncodeDate(1998, 12, 31));
    EXPECT_EQ(ParseDate("1/1/24", fs, kToday), EncodeDate(2024, 1, 1));
    TFormatSettings us;
    us.ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(ParseDate("12/31/1998", us, kToday), EncodeDate(1998, 12, 31));
    TFormatSettings iso;
    iso.ShortDateFormat = "yyyy-mm-dd";
    iso.DateSeparator = "-";
    iso.TwoDigitYearCenturyWindow = 0;
    EXPECT_EQ(ParseDate("1998-12-31", iso, kToday), EncodeDate(1998, 12, 31));
    EXPECT_EQ(ParseDate("98-12-31", iso, kToday), EncodeDate(2098, 12, 31));
    for (const char* bad :
         {"", "  ", "abc", "31/02/1998", "32/1/1998", "1/13/1998", "0/1/1998", "31/12/1998x",
          "31-12-1998", "1/", "/1/1998", "1234567890/1/1", "31/12/1998 10:00"})
        EXPECT_FALSE(ParseDate(bad, fs, kToday)) << bad;
}

TEST(DateParse, TimesAndDateTimes) {
    const TFormatSettings& fs = DefaultFormatSettings();
    EXPECT_EQ(ParseTime("10:30", fs), EncodeTime(10, 30, 0));
    EXPECT_EQ(ParseTime(" 10:30:15 ", fs), EncodeTime(10, 30, 15));
    EXPECT_EQ(ParseTime("2:05 PM", fs), EncodeTime(14, 5, 0));
    EXPECT_EQ(ParseTime("12:00 am", fs), EncodeTime(0, 0, 0));
    EXPECT_EQ(ParseTime("12:00 PM", fs), EncodeTime(12, 0, 0));
    EXPECT_EQ(ParseTime("9 pm", fs), EncodeTime(21, 0, 0));
    for (const char* bad : {"", "10", "24:00", "10:60", "10:00:60", "13:00 PM", "ab", "10:", "1 0"})
        EXPECT_FALSE(ParseTime(bad, fs)) << bad;
    EXPECT_EQ(ParseDateTime("31/12/1998 14:05", fs, kToday),
              EncodeDate(1998, 12, 31) + EncodeTime(14, 5, 0));
    EXPECT_EQ(ParseDateTime("31/12/1998 ", fs, kToday), EncodeDate(1998, 12, 31));
    EXPECT_DOUBLE_EQ(*ParseDateTime("29/12/1899 06:00", fs, kToday), -1.25);
    EXPECT_FALSE(ParseDateTime("31/12/1998 x", fs, kToday));
    EXPECT_FALSE(ParseDateTime("14:05", fs, kToday));
}

TEST(DateParse, ShortDateTextsReadBack) {
    TFormatSettings us;
    us.ShortDateFormat = "m/d/yyyy";
    const TFormatSettings* both[] = {&DefaultFormatSettings(), &us};
    for (const TFormatSettings* fs : both)
        for (TDateTime day = EncodeDate(1899, 12, 1); day < EncodeDate(2101, 1, 1); day += 37)
            ASSERT_EQ(ParseDate(FormatDateTime("ddddd", day, *fs), *fs, kToday), day);
}

} // namespace
} // namespace tessaly
