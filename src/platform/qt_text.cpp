#include "platform/qt_text.h"

#include "core/common/codepage.h"

#include <QByteArray>
#include <QFile>

namespace tessaly {

QString ToQString(std::string_view cp1252) {
    const std::string utf8 = Cp1252ToUtf8(cp1252);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& s) {
    const QByteArray utf8 = s.toUtf8();
    return Utf8ToCp1252(std::string(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString CharactersLost(const QString& s) {
    QString lost;
    for (const char32_t c : s.toUcs4()) {
        if (c == U'?')
            continue;
        const QString one = QString::fromUcs4(&c, 1);
        if (FromQString(one) == "?" && !lost.contains(one))
            lost += one;
    }
    return lost;
}

std::string PathToCore(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString PathFromCore(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QString SystemTextToQString(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace tessaly
