#pragma once
// The settings store of the program: QSettings under organisation "Marrowby",
// application "Tessaly" (a configuration file on Linux).

#include "core/system/settings_store.h"

#include <QString>
#include <memory>

class QSettings;

namespace tessaly {

class QtSettingsStore final : public ISettingsStore {
public:
    QtSettingsStore();
    // A store in a given INI file (tests).
    explicit QtSettingsStore(const std::string& iniPath);
    ~QtSettingsStore() override;

    std::optional<std::string> Read(const std::string& section,
                                    const std::string& name) const override;
    bool Write(const std::string& section, const std::string& name,
               const std::string& value) override;
    bool EraseSection(const std::string& section) override;
    std::vector<std::string> ValueNames(const std::string& section) const override;

private:
    // The stored section whose name matches without regard to case, or the name itself.
    QString StoredGroup(const std::string& section) const;
    // The stored key whose name matches without regard to case, or the name itself.
    QString StoredKey(const std::string& section, const std::string& name) const;
    std::unique_ptr<QSettings> settings_;
};

} // namespace tessaly
