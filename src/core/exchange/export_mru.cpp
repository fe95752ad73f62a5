#include "core/exchange/export_mru.h"

#include "core/common/same_text.h"

#include <algorithm>
#include <utility>

namespace tessaly {

namespace {

constexpr int kDefaultSize = 10;
constexpr int kLargestSize = 99;

std::string EncodingName(const std::string& templateName) {
    return "Encoding " + templateName;
}

} // namespace

TExportMru ReadExportMru(const TSettingsAccess& access) {
    TExportMru mru;
    mru.Size = access.ReadInteger(kExportMruSection, "Size", kDefaultSize, 1, kLargestSize);
    mru.Last = access.ReadString(kExportMruSection, "Last", std::string());
    for (int i = 1; i < mru.Size; ++i) {
        std::string name = access.ReadString(kExportMruSection, std::to_string(i), std::string());
        if (!name.empty())
            mru.Files.push_back(std::move(name));
    }
    return mru;
}

std::string LastTemplate(const TSettingsAccess& access, int type) {
    return access.ReadString(kExportMruSection, "Template " + std::to_string(type), std::string());
}

void RecordWizardRun(TSettingsAccess& access, int type, const std::string& templateName,
                     const std::string& fileName) {
    TExportMru mru = ReadExportMru(access);
    // The values that outlive a rewrite: the other types' templates and the encodings.
    std::vector<std::pair<std::string, std::string>> kept;
    for (const std::string& name : access.Store().ValueNames(kExportMruSection))
        if (name.starts_with("Template ") || name.starts_with("Encoding "))
            kept.emplace_back(name, access.ReadString(kExportMruSection, name, std::string()));
    const bool known = std::any_of(mru.Files.begin(), mru.Files.end(),
                                   [&](const std::string& f) { return SameText(f, fileName); });
    if (!known && !fileName.empty())
        mru.Files.insert(mru.Files.begin(), fileName);
    if (static_cast<int>(mru.Files.size()) > mru.Size - 1)
        mru.Files.resize(static_cast<std::size_t>(mru.Size - 1));

    access.EraseSection(kExportMruSection);
    access.WriteInteger(kExportMruSection, "Size", mru.Size);
    for (const auto& [name, value] : kept)
        access.WriteString(kExportMruSection, name, value);
    access.WriteString(kExportMruSection, "Template " + std::to_string(type), templateName);
    access.WriteString(kExportMruSection, "Last", fileName);
    for (std::size_t i = 0; i < mru.Files.size(); ++i)
        access.WriteString(kExportMruSection, std::to_string(i + 1), mru.Files[i]);
}

bool ExportsUtf8(const TSettingsAccess& access, const std::string& templateName) {
    return access.ReadString(kExportMruSection, EncodingName(templateName), kEncodingWindows1252) ==
           kEncodingUtf8;
}

void SetExportsUtf8(TSettingsAccess& access, const std::string& templateName, bool utf8) {
    access.WriteString(kExportMruSection, EncodingName(templateName),
                       utf8 ? kEncodingUtf8 : kEncodingWindows1252);
}

} // namespace tessaly
