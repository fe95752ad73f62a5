#include "platform/qt_settings_store.h"

#include "platform/qt_text.h"

#include <QSettings>

namespace tessaly {

namespace {
// QSettings treats '/' and '\' as group separators; keep names flat.
QString GroupName(const std::string& section) {
    return ToQString(section).replace('/', '_').replace('\\', '_');
}
} // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            "Marrowby", "Tessaly")) {}

QtSettingsStore::QtSettingsStore(const std::string& iniPath)
    : settings_(std::make_unique<QSettings>(PathFromCore(iniPath), QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

QString QtSettingsStore::StoredGroup(const std::string& section) const {
    // Sections, like value names, match without regard to case.
    const QString wanted = GroupName(section);
    for (const QString& group : settings_->childGroups())
        if (group.compare(wanted, Qt::CaseInsensitive) == 0)
            return group;
    return wanted;
}

QString QtSettingsStore::StoredKey(const std::string& section, const std::string& name) const {
    const QString wanted = ToQString(name);
    settings_->beginGroup(StoredGroup(section));
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    for (const QString& key : keys)
        if (key.compare(wanted, Qt::CaseInsensitive) == 0)
            return key;
    return wanted;
}

std::optional<std::string> QtSettingsStore::Read(const std::string& section,
                                                 const std::string& name) const {
    const QString key = StoredGroup(section) + '/' + StoredKey(section, name);
    const QVariant v = settings_->value(key);
    if (!v.isValid())
        return std::nullopt;
    return FromQString(v.toString());
}

bool QtSettingsStore::Write(const std::string& section, const std::string& name,
                            const std::string& value) {
    const QString key = StoredGroup(section) + '/' + StoredKey(section, name);
    settings_->setValue(key, ToQString(value));
    settings_->sync();
    return settings_->status() == QSettings::NoError && settings_->isWritable();
}

bool QtSettingsStore::EraseSection(const std::string& section) {
    settings_->remove(StoredGroup(section));
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

std::vector<std::string> QtSettingsStore::ValueNames(const std::string& section) const {
    settings_->beginGroup(StoredGroup(section));
    const QStringList keys = settings_->childKeys();
    settings_->endGroup();
    std::vector<std::string> names;
    for (const QString& key : keys)
        names.push_back(FromQString(key));
    return names;
}

} // namespace tessaly
