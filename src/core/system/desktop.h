#pragma once
// What attachments need of the desktop: files, the applications the desktop opens
// them with, and starting programs. The program's desktop is the shared MIME database
// and the desktop's opener; tests record what would have been opened.

#include "core/common/date_time.h"

#include <cstdint>
#include <string>

namespace tessaly {

enum class TPathKind { Missing, Regular, Other };

struct TFileFacts {
    TPathKind Kind = TPathKind::Missing;
    std::uint64_t Size = 0;
    TDateTime Modified = 0; // local time
    bool ReadOnly = false;  // the user may not write it
    bool Hidden = false;    // a dot file
    std::string MimeType;   // "text/plain"; empty when unknown
    std::string TypeName;   // "plain text document"; empty when unknown
};

class IDesktop {
public:
    virtual ~IDesktop() = default;
    virtual TFileFacts Facts(const std::string& path) const = 0;
    // The name of the application the desktop opens the file with; empty when none.
    virtual std::string AssociatedApplication(const std::string& path) const = 0;
    // Whether opening the file runs it: a program or a desktop launcher.
    virtual bool IsRunnable(const std::string& path) const = 0;
    virtual bool CreateEmptyFile(const std::string& path) = 0;
    // False with the system's reason when the file could not be removed.
    virtual bool RemoveFile(const std::string& path, std::string& error) = 0;
    // Opens a document with its associated application.
    virtual bool OpenDocument(const std::string& path) = 0;
    // Starts a program with exactly one argument, in the program's own folder.
    virtual bool StartProgram(const std::string& program, const std::string& argument) = 0;
};

} // namespace tessaly
