#include "app/widgets/qt_text.h"

#include "core/common/codepage.h"

namespace tessaly {

QString ToQString(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQString(const QString& s) {
    return Utf8ToCp1252(s.toStdString());
}

} // namespace tessaly
