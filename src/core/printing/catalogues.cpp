#include "core/printing/catalogues.h"

#include "core/common/text.h"
#include "core/printing/starter_layouts.h"
#include "core/settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace tessaly {

std::string ReturnAddressFromSettings(const TSettingsAccess& settings) {
    std::string address;
    for (int i = 1; i <= 6; ++i) {
        const std::string line =
            Trim(settings.ReadString("General", "Return Address " + std::to_string(i), ""));
        if (line.empty())
            continue;
        std::string next = address.empty() ? line : address + "\r\n" + line;
        if (next.size() > kReturnAddressMax)
            break;
        address = std::move(next);
    }
    return address;
}

bool ParsePapersImage(std::span<const std::uint8_t> bytes, TPaperList& out) {
    TPaperList read;
    if (!ParseFramedImage(bytes, [&read](TStreamReader& r, int version) { read.Read(r, version); }))
        return false;
    out = std::move(read);
    return true;
}

std::vector<std::uint8_t> WritePapersImage(const TPaperList& papers) {
    return WriteFramedImage([&papers](TStreamWriter& w) { papers.Write(w); });
}

bool ParseLayoutsImage(std::span<const std::uint8_t> bytes, TLayoutList& out) {
    TLayoutList read;
    if (!ParseFramedImage(bytes, [&read](TStreamReader& r, int version) { read.Read(r, version); }))
        return false;
    out = std::move(read);
    return true;
}

std::vector<std::uint8_t> WriteLayoutsImage(const TLayoutList& layouts) {
    return WriteFramedImage([&layouts](TStreamWriter& w) { layouts.Write(w); });
}

bool ParseReportsImage(std::span<const std::uint8_t> bytes, TQReportList& out) {
    TQReportList read;
    if (!ParseFramedImage(bytes, [&read](TStreamReader& r, int version) { read.Read(r, version); }))
        return false;
    out = std::move(read);
    return true;
}

std::vector<std::uint8_t> WriteReportsImage(const TQReportList& reports) {
    return WriteFramedImage([&reports](TStreamWriter& w) { reports.Write(w); });
}

namespace {

// Reads a catalogue file: Missing, Valid with `parse` done, or Damaged.
template <class List, class Parse>
TCatalogueState ReadCatalogue(const std::string& path, IFileSystem& fs, List& list, Parse parse,
                              std::vector<std::string>& errors) {
    std::vector<std::uint8_t> bytes;
    const TIoResult io = ReadWholeFile(path, bytes, fs);
    if (!io.Ok) {
        if (io.ErrorCode == ENOENT)
            return TCatalogueState::Missing;
        errors.push_back(io.Error);
        return TCatalogueState::Damaged;
    }
    if (!parse(bytes, list)) {
        errors.push_back(path + " is damaged");
        return TCatalogueState::Damaged;
    }
    return TCatalogueState::Valid;
}

} // namespace

TPrintCatalogues::TPrintCatalogues(TStoreSettings place, IFileSystem& fs)
    : place_(std::move(place)), fs_(fs) {}

std::string TPrintCatalogues::PapersPath() const {
    return place_.ConfigFile(".TPP");
}

std::string TPrintCatalogues::LayoutsPath() const {
    return place_.ConfigFile(".TPL");
}

std::string TPrintCatalogues::ReportsPath() const {
    return place_.ConfigFile(".TPQ");
}

std::string TPrintCatalogues::ObjectFilePath(int layoutNumber) const {
    return (std::filesystem::path(place_.ConfigDirectory) / ObjectFileName(layoutNumber)).string();
}

bool TPrintCatalogues::ObjectFileExists(int number) const {
    TFileStat st;
    return fs_.Stat(ObjectFilePath(number), st) == 0;
}

void TPrintCatalogues::SetAside(const std::string& path, bool& blocked) {
    TFileStat st;
    if (fs_.Stat(path, st) != 0)
        return; // nothing there to keep
    blocked = !KeepDamagedFile(path, fs_);
    if (blocked)
        errors_.push_back("The damaged file " + path + " could not be kept as " +
                          DamagedCopyPath(path) + ", so it is not written over");
}

bool TPrintCatalogues::LoadPapers(IPaperLibrary* library) {
    Papers = TPaperList();
    papersBlocked_ = false;
    PapersState = ReadCatalogue(PapersPath(), fs_, Papers, ParsePapersImage, errors_);
    if (PapersState == TCatalogueState::Valid && !Papers.Empty())
        return true;
    if (PapersState == TCatalogueState::Damaged)
        SetAside(PapersPath(), papersBlocked_);
    else if (PapersState == TCatalogueState::Valid)
        PapersState = TCatalogueState::Missing; // a list of no papers holds nothing to keep
    Papers = TPaperList();
    if (!library) {
        errors_.push_back(kPaperLibraryMissing);
        return false;
    }
    Papers = BuildFactoryPapers(*library);
    return SavePapers().Ok;
}

void TPrintCatalogues::LoadLayouts(const std::string& returnAddress) {
    Layouts = TLayoutList();
    layoutsBlocked_ = false;
    LayoutsState = ReadCatalogue(LayoutsPath(), fs_, Layouts, ParseLayoutsImage, errors_);
    if (LayoutsState != TCatalogueState::Valid) {
        if (LayoutsState == TCatalogueState::Damaged)
            SetAside(LayoutsPath(), layoutsBlocked_);
        Layouts = TLayoutList();
        if (!returnAddress.empty())
            Layouts.ReturnAddress = returnAddress;
    }
    // A new layout must never take the number of an object file already on disk.
    std::vector<std::string> names;
    if (fs_.ListFolder(place_.ConfigDirectory, names) == 0)
        for (const auto& name : names)
            if (const int number = ObjectFileNumber(name); number >= 0)
                Layouts.KeepCounterAbove(number);
}

void TPrintCatalogues::LoadReports() {
    Reports = TQReportList();
    reportsBlocked_ = false;
    ReportsState = ReadCatalogue(ReportsPath(), fs_, Reports, ParseReportsImage, errors_);
    if (ReportsState == TCatalogueState::Damaged) {
        SetAside(ReportsPath(), reportsBlocked_);
        Reports = TQReportList();
    }
}

TConsistencyResult TPrintCatalogues::LoadAll(IPaperLibrary* library,
                                             const std::string& returnAddress, TReportLinks& links,
                                             int countryCode) {
    errors_.clear();
    LoadPapers(library);
    LoadLayouts(returnAddress);
    if (LayoutsState == TCatalogueState::Missing)
        AddStarterLayouts(*this, countryCode);
    LoadReports();
    return CheckConsistency(links);
}

TConsistencyResult TPrintCatalogues::CheckConsistency(TReportLinks& links) {
    TConsistencyResult result;
    const bool damaged = PapersState == TCatalogueState::Damaged ||
                         LayoutsState == TCatalogueState::Damaged ||
                         ReportsState == TCatalogueState::Damaged;
    const bool layoutsMayGo = !damaged && PapersState == TCatalogueState::Valid;
    const bool reportsMayGo = !damaged && LayoutsState == TCatalogueState::Valid;

    for (int i = Layouts.Count() - 1; i >= 0; --i) {
        const TLayout* layout = Layouts.At(i);
        if (Papers.Exists(layout->PaperNumber))
            continue;
        if (!layoutsMayGo) {
            result.DeletionsHeld = true;
            continue;
        }
        DeleteLayout(layout);
        ++result.LayoutsDeleted;
    }
    SaveLayouts();

    for (int i = Reports.Count() - 1; i >= 0; --i) {
        const TQReport* report = Reports.At(i);
        if (Layouts.Exists(report->LayoutNumber))
            continue;
        if (!reportsMayGo) {
            result.DeletionsHeld = true;
            continue;
        }
        Reports.Remove(report);
        ++result.ReportsDeleted;
    }
    for (auto& link : links) {
        if (!IsLinked(link) || Reports.IndexByName(link) >= 0)
            continue;
        if (damaged) {
            result.DeletionsHeld = true;
            continue;
        }
        link = kNoLinkedReport;
        ++result.LinksReset;
    }
    SaveReports();
    return result;
}

TIoResult TPrintCatalogues::Save(const std::string& path, const std::vector<std::uint8_t>& image,
                                 bool blocked) {
    TIoResult result;
    if (blocked) {
        result.Error = path + " is damaged and could not be kept aside, so it is not written over";
    } else {
        result = WriteFileAtomically(path, image, fs_);
    }
    if (!result.Ok)
        errors_.push_back(result.Error);
    return result;
}

namespace {

template <class List>
bool Image(const List& list, std::vector<std::uint8_t> (*write)(const List&),
           std::vector<std::uint8_t>& out, std::string& error) {
    try {
        out = write(list);
        return true;
    } catch (const StreamError& e) {
        error = e.what();
        return false;
    }
}

} // namespace

TIoResult TPrintCatalogues::SavePapers() {
    std::vector<std::uint8_t> image;
    TIoResult failed;
    if (!Image(Papers, WritePapersImage, image, failed.Error)) {
        errors_.push_back(failed.Error);
        return failed;
    }
    return Save(PapersPath(), image, papersBlocked_);
}

TIoResult TPrintCatalogues::SaveLayouts() {
    std::vector<std::uint8_t> image;
    TIoResult failed;
    if (!Image(Layouts, WriteLayoutsImage, image, failed.Error)) {
        errors_.push_back(failed.Error);
        return failed;
    }
    return Save(LayoutsPath(), image, layoutsBlocked_);
}

TIoResult TPrintCatalogues::SaveReports() {
    std::vector<std::uint8_t> image;
    TIoResult failed;
    if (!Image(Reports, WriteReportsImage, image, failed.Error)) {
        errors_.push_back(failed.Error);
        return failed;
    }
    return Save(ReportsPath(), image, reportsBlocked_);
}

TLayout* TPrintCatalogues::CreateLayout(std::string_view name, int source, int paperNumber) {
    return Layouts.Create(name, source, paperNumber,
                          [this](int number) { return ObjectFileExists(number); });
}

void TPrintCatalogues::DeleteLayout(const TLayout* layout) {
    if (!layout)
        return;
    if (layout->Number >= 0)
        fs_.Unlink(ObjectFilePath(layout->Number));
    Layouts.Remove(layout);
}

bool TPrintCatalogues::ReadObjects(int layoutNumber, TLayoutObjects& out) const {
    if (layoutNumber < 0)
        return false;
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(ObjectFilePath(layoutNumber), bytes, fs_).Ok)
        return false;
    return ParseLayoutObjects(bytes, out);
}

TIoResult TPrintCatalogues::WriteObjects(int layoutNumber, const TLayoutObjects& objects) {
    TIoResult result;
    if (layoutNumber < 0) {
        result.Error = "a layout without a number has no object file";
        return result;
    }
    std::vector<std::uint8_t> image;
    try {
        image = WriteLayoutObjects(objects);
    } catch (const StreamError& e) {
        result.Error = e.what();
        errors_.push_back(result.Error);
        return result;
    }
    return Save(ObjectFilePath(layoutNumber), image, false);
}

} // namespace tessaly
