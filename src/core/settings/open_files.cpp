#include "core/settings/open_files.h"

#include "core/common/file_paths.h"

namespace tessaly {

namespace {
void WriteList(TSettingsAccess& a, const char* section, const std::vector<std::string>& paths) {
    for (std::size_t i = 0; i < paths.size(); ++i)
        a.WriteString(section, std::to_string(i + 1), paths[i]);
}

std::vector<std::string> ReadList(const TSettingsAccess& a, const char* section, int count) {
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        std::string p = a.ReadString(section, std::to_string(i), "");
        if (!p.empty())
            paths.push_back(std::move(p));
    }
    return paths;
}
} // namespace

void RecordOpenFiles(TSettingsAccess& a, const TOpenFiles& f) {
    a.EraseSection("Files");
    a.EraseSection("Diary");
    a.WriteString("Opened", "Active", f.Active);
    WriteList(a, "Files", f.Books);
    WriteList(a, "Diary", f.Diaries);
    a.WriteInteger("Opened", "Open Books", static_cast<int>(f.Books.size()));
    a.WriteInteger("Opened", "Open Diary", static_cast<int>(f.Diaries.size()));
}

TOpenFiles ReadOpenFiles(const TSettingsAccess& a) {
    // The counts are limited so that a damaged value cannot make the start crawl.
    constexpr int kMostFiles = 1000;
    TOpenFiles f;
    f.Books = ReadList(a, "Files", a.ReadInteger("Opened", "Open Books", 0, 0, kMostFiles));
    f.Diaries = ReadList(a, "Diary", a.ReadInteger("Opened", "Open Diary", 0, 0, kMostFiles));
    f.Active = a.ReadString("Opened", "Active", "");
    return f;
}

std::string ActiveNameOf(const std::string& path) {
    return UpperCase(FileNameOf(path));
}

} // namespace tessaly
