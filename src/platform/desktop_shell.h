#pragma once
// The desktop as attachments see it: file facts from the file system and the shared
// MIME database, associations as the desktop's own default applications, documents
// opened through the desktop's opener and programs started with one argument.

#include "core/system/desktop.h"

namespace tessaly {

class TDesktopShell final : public IDesktop {
public:
    TFileFacts Facts(const std::string& path) const override;
    std::string AssociatedApplication(const std::string& path) const override;
    bool IsRunnable(const std::string& path) const override;
    bool CreateEmptyFile(const std::string& path) override;
    bool RemoveFile(const std::string& path, std::string& error) override;
    bool OpenDocument(const std::string& path) override;
    bool StartProgram(const std::string& program, const std::string& argument) override;
};

// The desktop's default web browser as a program path, found without creating any
// file; empty when none is known.
std::string FindDefaultBrowser();

} // namespace tessaly
