#pragma once
// Exporting entries, their reminders or call logs, or diary events to a delimited text
// file through a template: one line per exported item, the template's columns in its
// order, with an optional header line of captions.

#include "core/common/date_format.h"
#include "core/exchange/csv_file.h"
#include "core/exchange/export_template.h"
#include "core/system/file_io.h"
#include "core/system/file_system.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

class TBookData;
class TDiaryData;
class TRecord;
class TReminders;

constexpr const char* kMsgExportFailed =
    "File: %s \n\nUnable to Write File due to an Unknown Error"; // string 313

// Which addresses of an entry give lines.
enum class TAddressChoice {
    All,      // every address; an entry without addresses gives none
    First,    // the first address, always one line
    Template, // the address of a chosen template, when the entry has one
};

struct TExportOptions {
    TFormatSettings Format = DefaultFormatSettings();
    // Called once with the number of records to walk, before the first.
    std::function<void(int total)> Started;
    // Called with the number of records done; false stops the export there.
    std::function<bool(int done)> Progress;
};

// The file's text (Windows-1252) and what went into it.
struct TExportText {
    std::string Text;
    int Lines = 0; // items written, the header line not counted
    bool Stopped = false;
};

// The lines an export of entries writes through a template, the header line first:
// the lines of each entry are added as it is given.
class TEntryLines {
public:
    // The book gives the captions, index keys and address formats; it must outlive this.
    TEntryLines(const TBookData& book, const TExport& tpl, TAddressChoice choice, int templateId);
    // Adds the entry's lines; returns how many.
    int Write(const TRecord& entry);
    // The lines written so far, without a copy; valid until the next Write.
    std::string_view Written() const { return csv_.Written(); }
    std::string TakeText() { return csv_.TakeText(); }
    // Forgets the lines written so far (and the header line).
    void Clear() { csv_.Clear(); }

private:
    const TBookData& book_;
    const TExport& tpl_;
    TAddressChoice choice_;
    int templateId_;
    TCSVWriter csv_;
    std::vector<std::string> prefixes_;
};

TExportText ExportEntries(const TBookData& book, const std::vector<const TRecord*>& order,
                          const TExport& tpl, TAddressChoice choice, int templateId,
                          const TExportOptions& options = TExportOptions());
TExportText ExportReminders(const TBookData& book, const std::vector<const TRecord*>& order,
                            const TExport& tpl, const TExportOptions& options = TExportOptions());
TExportText ExportCallLogs(const TBookData& book, const std::vector<const TRecord*>& order,
                           const TExport& tpl, const TExportOptions& options = TExportOptions());
TExportText ExportDiaryEvents(const std::vector<const TReminders*>& events, const TExport& tpl,
                              const TExportOptions& options = TExportOptions());

// The text of field n of a reminder or diary event as a reminder export writes it
// (1 date to 10 notes; 0 is the entry's name, given by the caller).
std::string ReminderFieldText(const TReminders& r, int field, const TFormatSettings& fs);

// The text to write: Windows-1252 as it is, or converted to UTF-8.
std::string ExportBytes(const std::string& text, bool utf8);
// Writes the whole file through the crash-safe writer: a failed export leaves the file
// as it was. Gives string 313 with the file name on failure, empty when written.
std::string WriteExportFile(const std::string& path, const std::string& bytes,
                            IFileSystem& fs = RealFileSystem());
// The same for bytes handed over in pieces.
std::string WriteExportFile(const std::string& path, const TByteSource& bytes,
                            IFileSystem& fs = RealFileSystem());
std::string ExportFailureMessage(const std::string& path);

} // namespace tessaly
