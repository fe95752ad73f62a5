#pragma once
// Where settings live: sections of named string values. The program's store is
// QSettings; tests use MemorySettingsStore. Value names compare without regard to
// case, as the registry the settings were designed for does.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual std::optional<std::string> Read(const std::string& section,
                                            const std::string& name) const = 0;
    // False when the value could not be written.
    virtual bool Write(const std::string& section, const std::string& name,
                       const std::string& value) = 0;
    virtual bool EraseSection(const std::string& section) = 0;
    virtual std::vector<std::string> ValueNames(const std::string& section) const = 0;
};

class MemorySettingsStore final : public ISettingsStore {
public:
    std::optional<std::string> Read(const std::string& section,
                                    const std::string& name) const override;
    bool Write(const std::string& section, const std::string& name,
               const std::string& value) override;
    bool EraseSection(const std::string& section) override;
    std::vector<std::string> ValueNames(const std::string& section) const override;

    // Makes every later write fail, to test how callers report it.
    void SetFailWrites(bool fail) { failWrites_ = fail; }

private:
    struct Value {
        std::string name; // as first written
        std::string value;
    };
    // Keyed by upper-cased section and value name.
    std::map<std::string, std::map<std::string, Value>> sections_;
    bool failWrites_ = false;
};

} // namespace tessaly
