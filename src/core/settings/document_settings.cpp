#include "core/settings/document_settings.h"

#include <algorithm>
#include <utility>

namespace tessaly {

namespace {
constexpr const char* kExtensionsSection = "Document Extensions";
}

TDocumentSettings LoadDocumentSettings(const TSettingsAccess& access) {
    TDocumentSettings s;
    s.UseFileName = access.ReadBool("Documents", "Use Filename", true);
    s.UseUrlName = access.ReadBool("URLs", "Use URL Name", true);
    s.DocumentExt = access.ReadString("Documents", "Document Ext", "*.*");
    s.Directory = access.ReadString("File Management", "Document Directory", "");
    // Each extension is a value name; its value is its place in the list, since the
    // store does not keep the order names were written in.
    std::vector<std::pair<int, std::string>> ranked;
    const std::vector<std::string> names = access.Store().ValueNames(kExtensionsSection);
    for (const std::string& name : names)
        ranked.emplace_back(access.ReadInteger(kExtensionsSection, name, 1000), name);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [rank, name] : ranked)
        s.Extensions.push_back(std::move(name));
    return s;
}

void SaveDescriptionChoices(TSettingsAccess& access, const TDocumentSettings& s) {
    access.WriteBool("Documents", "Use Filename", s.UseFileName);
    access.WriteBool("URLs", "Use URL Name", s.UseUrlName);
}

void SaveBrowseChoice(TSettingsAccess& access, const TDocumentSettings& s) {
    access.WriteString("Documents", "Document Ext", s.DocumentExt);
    access.WriteString("File Management", "Document Directory", s.Directory);
    access.EraseSection(kExtensionsSection);
    for (std::size_t i = 0; i < s.Extensions.size() && i < 10; ++i)
        access.WriteInteger(kExtensionsSection, s.Extensions[i], static_cast<int>(i) + 1);
}

} // namespace tessaly
