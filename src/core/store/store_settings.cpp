#include "core/store/store_settings.h"

#include <filesystem>

namespace tessaly {

std::string TStoreSettings::ConfigFile(const std::string& extension) const {
    return (std::filesystem::path(ConfigDirectory) / (ProgramName + extension)).string();
}

} // namespace tessaly
