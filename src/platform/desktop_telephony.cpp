#include "platform/desktop_telephony.h"

#include "core/telephony/number.h"
#include "platform/qt_text.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

#ifdef TESSALY_HAVE_PHONENUMBER
#include <phonenumbers/phonenumberutil.h>
#endif

namespace tessaly {

namespace {

// A desktop entry's name and whether it takes tel: links.
struct TDesktopEntry {
    QString Name;
    bool Tel = false;
    bool Hidden = false;
};

TDesktopEntry ReadEntry(const QString& path) {
    TDesktopEntry e;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return e;
    QTextStream in(&f);
    bool main = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('[')) {
            main = line == "[Desktop Entry]";
            continue;
        }
        if (!main)
            continue;
        if (line.startsWith("Name="))
            e.Name = line.mid(5);
        else if (line.startsWith("MimeType="))
            e.Tel = line.mid(9).split(';').contains("x-scheme-handler/tel");
        else if (line == "Hidden=true")
            e.Hidden = true;
    }
    return e;
}

} // namespace

TDesktopTelephony::TDesktopTelephony(std::string countryCode)
    : countryCode_(CleanNumber(countryCode)) {
    OpenUrl = [](const std::string& url) {
        return QProcess::startDetached("xdg-open", {QString::fromStdString(url)});
    };
    for (const QString& d : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        ApplicationFolders.push_back(PathToCore(d));
}

std::vector<TTelephonyDevice> TDesktopTelephony::DeviceNames() {
    std::vector<TTelephonyDevice> devices;
    QSet<QString> seen; // the first folder that has an entry decides it
    for (const std::string& folder : ApplicationFolders) {
        QDir dir(PathFromCore(folder));
        for (const QString& file : dir.entryList({"*.desktop"}, QDir::Files, QDir::Name)) {
            if (seen.contains(file))
                continue;
            seen.insert(file);
            const TDesktopEntry e = ReadEntry(dir.filePath(file));
            if (e.Tel && !e.Hidden && !e.Name.isEmpty())
                devices.push_back({static_cast<int>(devices.size()), FromQString(e.Name)});
        }
    }
    return devices;
}

bool TDesktopTelephony::Available() const {
    return !const_cast<TDesktopTelephony*>(this)->DeviceNames().empty();
}

std::string TDesktopTelephony::Unavailable() const {
    return "No program on this computer is registered to place calls for telephone links. "
           "Install a softphone or a phone link program to dial this way.";
}

std::string TDesktopTelephony::Region() const {
#ifdef TESSALY_HAVE_PHONENUMBER
    if (!countryCode_.empty()) {
        std::string region;
        i18n::phonenumbers::PhoneNumberUtil::GetInstance()->GetRegionCodeForCountryCode(
            std::atoi(countryCode_.c_str()), &region);
        if (!region.empty() && region != "ZZ")
            return region;
    }
#endif
    const QString name = QLocale::system().name(); // "en_GB"
    const qsizetype sep = name.indexOf('_');
    return sep > 0 ? name.mid(sep + 1, 2).toStdString() : std::string("ZZ");
}

std::optional<TTranslatedNumber> TDesktopTelephony::Translate(const std::string& number, int) {
    if (CleanNumber(number).empty())
        return std::nullopt;
#ifdef TESSALY_HAVE_PHONENUMBER
    using i18n::phonenumbers::PhoneNumber;
    using i18n::phonenumbers::PhoneNumberUtil;
    const PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    PhoneNumber parsed;
    if (util->Parse(number, Region(), &parsed) == PhoneNumberUtil::NO_PARSING_ERROR) {
        TTranslatedNumber t;
        util->Format(parsed, PhoneNumberUtil::E164, &t.Dialable);
        util->Format(parsed, PhoneNumberUtil::INTERNATIONAL, &t.Displayable);
        return t;
    }
    return std::nullopt;
#else
    // Without number formatting the number goes over as typed.
    std::string dialable;
    for (char c : number)
        if ((c >= '0' && c <= '9') || c == '+' || c == '*' || c == '#')
            dialable += c;
    return TTranslatedNumber{dialable, CleanNumber(number)};
#endif
}

std::string TDesktopTelephony::LocationName(int) {
    const std::string region = Region();
    const QLocale locale(QLocale::AnyLanguage,
                         QLocale::codeToTerritory(QString::fromStdString(region)));
    if (locale.territory() == QLocale::AnyTerritory)
        return "N/A";
    QString name = QLocale::territoryToString(locale.territory());
#ifdef TESSALY_HAVE_PHONENUMBER
    const int code =
        i18n::phonenumbers::PhoneNumberUtil::GetInstance()->GetCountryCodeForRegion(region);
    if (code > 0)
        name += QString(" (+%1)").arg(code);
#endif
    return FromQString(name);
}

bool TDesktopTelephony::MakeCall(const std::string& dialable, int) {
    if (dialable.empty() || !Available())
        return false;
    return OpenUrl("tel:" + dialable);
}

} // namespace tessaly
