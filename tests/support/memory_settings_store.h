#pragma once
// Settings held in memory, value names without regard to case as in the real store,
// with writes that can be made to fail.

#include "core/system/settings_store.h"

#include <map>

namespace tessaly {

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
