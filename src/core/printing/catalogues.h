#pragma once
// The printing catalogues of the configuration directory: the papers ("TESSALY.TPP"),
// the layouts ("TESSALY.TPL") with one object file per layout ("%08d.TPL"), and the
// quick reports ("TESSALY.TPQ"); their loading, saving and the consistency pass that
// runs each time they are loaded for a print, a quick report or the designer.
//
// A damaged catalogue is moved aside to "NAME.BAD" before anything is written over it,
// and while any catalogue was found damaged the pass deletes nothing: a layout is
// deleted only when the papers were read from their file, a quick report only when
// the layouts were.

#include "core/printing/catalogue_file.h"
#include "core/printing/layout.h"
#include "core/printing/layout_objects.h"
#include "core/printing/paper.h"
#include "core/printing/paper_library.h"
#include "core/printing/quick_report.h"
#include "core/printing/report_links.h"
#include "core/settings/settings_access.h"
#include "core/store/store_settings.h"
#include "core/system/file_system.h"

#include <string>
#include <vector>

namespace tessaly {

// The return address of a new layout list: "General" / "Return Address 1" to "6",
// each trimmed, the empty ones skipped, joined with CR LF, at most 32000 bytes.
std::string ReturnAddressFromSettings(const TSettingsAccess& settings);

// The bodies of the three catalogue files.
bool ParsePapersImage(std::span<const std::uint8_t> bytes, TPaperList& out);
std::vector<std::uint8_t> WritePapersImage(const TPaperList& papers);
bool ParseLayoutsImage(std::span<const std::uint8_t> bytes, TLayoutList& out);
std::vector<std::uint8_t> WriteLayoutsImage(const TLayoutList& layouts);
bool ParseReportsImage(std::span<const std::uint8_t> bytes, TQReportList& out);
std::vector<std::uint8_t> WriteReportsImage(const TQReportList& reports);

struct TConsistencyResult {
    int LayoutsDeleted = 0;
    int ReportsDeleted = 0;
    int LinksReset = 0;
    // Deletions were held back because a catalogue was damaged or missing.
    bool DeletionsHeld = false;
};

class TPrintCatalogues {
public:
    // The files are found where the store settings put the configuration files.
    explicit TPrintCatalogues(TStoreSettings place, IFileSystem& fs = RealFileSystem());

    TPaperList Papers;
    TLayoutList Layouts;
    TQReportList Reports;
    TCatalogueState PapersState = TCatalogueState::Missing;
    TCatalogueState LayoutsState = TCatalogueState::Missing;
    TCatalogueState ReportsState = TCatalogueState::Missing;

    std::string PapersPath() const;
    std::string LayoutsPath() const;
    std::string ReportsPath() const;
    std::string ObjectFilePath(int layoutNumber) const;

    // Reads the papers; when the file is missing, damaged or holds no papers, builds
    // the factory list from the library and saves it at once. Without a library the
    // list stays empty and the error is string 449.
    bool LoadPapers(IPaperLibrary* library);
    // Reads the layouts; on any failure an empty list with the designer's defaults and
    // `returnAddress`. The counter is kept above every object file present.
    void LoadLayouts(const std::string& returnAddress);
    // Reads the quick reports; a missing or damaged file gives an empty list.
    void LoadReports();
    // All three, then the consistency pass over them and the links. When no layout
    // file exists yet, the starter layouts are made for the locale's country code.
    TConsistencyResult LoadAll(IPaperLibrary* library, const std::string& returnAddress,
                               TReportLinks& links, int countryCode = 44);

    // Deletes layouts whose paper is gone (with their object files) and saves the
    // layouts; deletes quick reports whose layout is gone; resets links whose report
    // is gone; saves the quick reports. Deletions only as the class comment says.
    TConsistencyResult CheckConsistency(TReportLinks& links);

    // Crash-safe saves; a catalogue found damaged and not moved aside is not written
    // over (the save fails and says so).
    TIoResult SavePapers();
    TIoResult SaveLayouts();
    TIoResult SaveReports();

    // A new layout whose number no layout and no object file on disk holds.
    TLayout* CreateLayout(std::string_view name, int source, int paperNumber);
    // Removes the layout and its object file.
    void DeleteLayout(const TLayout* layout);
    // The objects of a layout; false when its number is negative or its file is
    // missing or damaged.
    bool ReadObjects(int layoutNumber, TLayoutObjects& out) const;
    TIoResult WriteObjects(int layoutNumber, const TLayoutObjects& objects);

    // Why the last load or save failed, for the message to show.
    const std::vector<std::string>& Errors() const { return errors_; }

private:
    bool ObjectFileExists(int number) const;
    // Moves a damaged file aside; remembers when it could not be.
    void SetAside(const std::string& path, bool& keptFlag);
    TIoResult Save(const std::string& path, const std::vector<std::uint8_t>& image, bool blocked);

    TStoreSettings place_;
    IFileSystem& fs_;
    std::vector<std::string> errors_;
    // A damaged file that could not be moved aside: never written over.
    bool papersBlocked_ = false, layoutsBlocked_ = false, reportsBlocked_ = false;
};

} // namespace tessaly
