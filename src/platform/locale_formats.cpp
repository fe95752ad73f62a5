#include "platform/locale_formats.h"

#include "core/frame/start_up.h"
#include "platform/qt_text.h"

#include <QLocale>

namespace tessaly {

TFormatSettings LocaleFormats(const QLocale& locale) {
    TFormatSettings fs = DefaultFormatSettings();
    // The short date keeps at most two month letters, so that dates line up.
    fs.ShortDateFormat =
        LimitMonthLetters(DateFormatFromQt(FromQString(locale.dateFormat(QLocale::ShortFormat))));
    // The separator the short date is written with is the one it is read back with.
    for (const char c : fs.ShortDateFormat) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && c != '\'' && c != '"') {
            if (c != '/')
                fs.DateSeparator = std::string(1, c);
            break;
        }
    }
    fs.LongDateFormat = DateFormatFromQt(FromQString(locale.dateFormat(QLocale::LongFormat)));
    for (int month = 1; month <= 12; ++month) {
        fs.LongMonthNames[month - 1] = FromQString(locale.monthName(month, QLocale::LongFormat));
        fs.ShortMonthNames[month - 1] = FromQString(locale.monthName(month, QLocale::ShortFormat));
    }
    // Qt counts Monday as 1 and Sunday as 7; the core starts with Sunday.
    for (int day = 1; day <= 7; ++day) {
        fs.LongDayNames[day % 7] = FromQString(locale.dayName(day, QLocale::LongFormat));
        fs.ShortDayNames[day % 7] = FromQString(locale.dayName(day, QLocale::ShortFormat));
    }
    return fs;
}

} // namespace tessaly
