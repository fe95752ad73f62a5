#pragma once
// A desktop of files held in memory that records what would have been opened or run.

#include "core/system/desktop.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tessaly::testing {

class TFakeDesktop final : public IDesktop {
public:
    struct File {
        TPathKind Kind = TPathKind::Regular;
        std::string Application; // empty: nothing opens it
        bool Runnable = false;
    };
    std::map<std::string, File> Files;
    // What an empty file created at a path is opened with, by extension (".txt").
    std::map<std::string, std::string> ApplicationsByExtension;
    bool FailCreate = false;
    bool FailRemove = false;
    bool FailStart = false;
    bool FailOpen = false;

    std::vector<std::string> Opened;
    std::vector<std::pair<std::string, std::string>> Started;
    std::vector<std::string> Removed;

    TFileFacts Facts(const std::string& path) const override {
        TFileFacts f;
        const auto it = Files.find(path);
        if (it != Files.end())
            f.Kind = it->second.Kind;
        return f;
    }
    std::string AssociatedApplication(const std::string& path) const override {
        const auto it = Files.find(path);
        return it == Files.end() ? std::string() : it->second.Application;
    }
    bool IsRunnable(const std::string& path) const override {
        const auto it = Files.find(path);
        return it != Files.end() && it->second.Runnable;
    }
    bool CreateEmptyFile(const std::string& path) override {
        if (FailCreate)
            return false;
        File file;
        const std::size_t dot = path.rfind('.');
        if (dot != std::string::npos) {
            const auto app = ApplicationsByExtension.find(path.substr(dot));
            if (app != ApplicationsByExtension.end())
                file.Application = app->second;
        }
        Files[path] = file;
        return true;
    }
    bool RemoveFile(const std::string& path, std::string& error) override {
        if (FailRemove) {
            error = "Permission denied";
            return false;
        }
        Removed.push_back(path);
        Files.erase(path);
        return true;
    }
    bool OpenDocument(const std::string& path) override {
        if (FailOpen)
            return false;
        Opened.push_back(path);
        return true;
    }
    bool StartProgram(const std::string& program, const std::string& argument) override {
        if (FailStart)
            return false;
        Started.emplace_back(program, argument);
        return true;
    }
};

} // namespace tessaly::testing
