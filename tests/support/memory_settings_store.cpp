#include "tests/support/memory_settings_store.h"

#include <algorithm>
#include <cctype>

namespace tessaly {

namespace {
std::string Key(const std::string& s) {
    std::string k = s;
    std::transform(k.begin(), k.end(), k.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return k;
}
} // namespace

std::optional<std::string> MemorySettingsStore::Read(const std::string& section,
                                                     const std::string& name) const {
    const auto s = sections_.find(Key(section));
    if (s == sections_.end())
        return std::nullopt;
    const auto v = s->second.find(Key(name));
    if (v == s->second.end())
        return std::nullopt;
    return v->second.value;
}

bool MemorySettingsStore::Write(const std::string& section, const std::string& name,
                                const std::string& value) {
    if (failWrites_)
        return false;
    auto& values = sections_[Key(section)];
    auto [it, inserted] = values.try_emplace(Key(name), Value{name, value});
    if (!inserted)
        it->second.value = value;
    return true;
}

bool MemorySettingsStore::EraseSection(const std::string& section) {
    if (failWrites_)
        return false;
    sections_.erase(Key(section));
    return true;
}

std::vector<std::string> MemorySettingsStore::ValueNames(const std::string& section) const {
    std::vector<std::string> names;
    const auto s = sections_.find(Key(section));
    if (s != sections_.end())
        for (const auto& [key, v] : s->second)
            names.push_back(v.name);
    return names;
}

} // namespace tessaly
