#pragma once
// Importing a delimited text file through a template: one new entry of a book, or one
// new event of a diary, for every line after the optional header line.

#include "core/common/date_format.h"
#include "core/exchange/csv_file.h"
#include "core/exchange/import_template.h"
#include "core/system/file_system.h"

#include <functional>
#include <string>
#include <vector>

namespace tessaly {

class TBookData;
class TDiaryData;

constexpr const char* kMsgImportFailed =
    "File: %s \n\nUnable to Process File due to an Unknown Error"; // string 315
// The ranges the reminder dialog allows.
constexpr int kMinPriority = 1;
constexpr int kMaxPriority = 9;
constexpr int kMinInterval = 1;
constexpr int kMaxInterval = 99;
constexpr int kMaxAdvanceDays = 99;

struct TImportOptions {
    TFormatSettings Format = DefaultFormatSettings();
    TDateTime Now = 0;      // stamps the new entries; its day resolves short years
    int AdvanceWarning = 2; // the program's default advance warning, in days
    // Called with the number of lines done; false stops the import there.
    std::function<bool(int done)> Progress;
};

struct TImportResult {
    bool Ok = false;      // the file was read (a stop or a full book still counts)
    int Imported = 0;     // entries or events added
    int Replaced = 0;     // characters of a UTF-8 file Windows-1252 cannot hold
    bool Stopped = false; // Progress asked to stop
    bool Full = false;    // the book or diary could take no more
    std::string Message;  // string 315 with the file name, when not Ok
};

// The file's text, decoded (csv_file.h), or false when it cannot be read.
bool ReadImportText(const std::string& path, TDecodedText& out, IFileSystem& fs = RealFileSystem());

// Imports into a book. Entries already added stay when a line fails. The book is
// marked changed once when anything was added.
TImportResult ImportIntoBook(TBookData& book, const std::string& path, const TImport& tpl,
                             const TImportOptions& options, IFileSystem& fs = RealFileSystem());
TImportResult ImportTextIntoBook(TBookData& book, const TDecodedText& text, const TImport& tpl,
                                 const TImportOptions& options);
// Imports into a diary: a line without a date that converts is skipped.
TImportResult ImportIntoDiary(TDiaryData& diary, const std::string& path, const TImport& tpl,
                              const TImportOptions& options, IFileSystem& fs = RealFileSystem());
TImportResult ImportTextIntoDiary(TDiaryData& diary, const TDecodedText& text, const TImport& tpl,
                                  const TImportOptions& options);

// The lines an import would take: the lines less the header line; -1 when the file
// cannot be read.
int CountImportable(const std::string& path, const TImport& tpl,
                    IFileSystem& fs = RealFileSystem());
int CountImportableText(const std::string& text, const TImport& tpl);

// The fields of the file's first line as the mapping tab lists them: "%.2d " and the
// column's description, or "Field %.2d" for a file without descriptions (column
// numbers from 0).
std::vector<std::string> ImportFieldList(const std::string& text, const TImport& tpl);

// String 315 for a file.
std::string ImportFailureMessage(const std::string& path);

} // namespace tessaly
