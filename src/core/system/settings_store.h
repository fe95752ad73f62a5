#pragma once
// Where settings live: sections of named string values. The program's store is
// QSettings. Value names compare without regard to case, as the registry the settings
// were designed for does.

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

} // namespace tessaly
