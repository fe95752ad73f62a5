#pragma once
// The user's locale as the core formats dates: the short and long date patterns and
// the month and day names, all as Windows-1252 texts.

#include "core/common/date_format.h"

class QLocale;

namespace tessaly {

TFormatSettings LocaleFormats(const QLocale& locale);

} // namespace tessaly
