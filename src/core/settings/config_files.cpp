#include "core/settings/config_files.h"

#include "core/common/file_paths.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace tessaly {

namespace {

// Copies in blocks of 8192 bytes; never replaces an existing target.
bool CopyFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    if (fs::exists(to, ec) || ec)
        return false;
    std::ifstream in(from, std::ios::binary);
    if (!in)
        return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    char block[8192];
    while (in) {
        in.read(block, sizeof block);
        const std::streamsize got = in.gcount();
        if (got > 0 && !out.write(block, got))
            return false;
    }
    if (in.bad())
        return false;
    out.close();
    return !out.fail();
}

bool SameBytes(const fs::path& a, const fs::path& b) {
    std::error_code ec1, ec2;
    const auto sa = fs::file_size(a, ec1);
    const auto sb = fs::file_size(b, ec2);
    if (ec1 || ec2 || sa != sb)
        return false;
    std::ifstream ia(a, std::ios::binary), ib(b, std::ios::binary);
    if (!ia || !ib)
        return false;
    char ba[8192], bb[8192];
    while (ia && ib) {
        ia.read(ba, sizeof ba);
        ib.read(bb, sizeof bb);
        if (ia.gcount() != ib.gcount() || !std::equal(ba, ba + ia.gcount(), bb))
            return false;
    }
    return ia.eof() && ib.eof();
}

bool HasExtension(const fs::path& p, const char* ext) {
    return UpperCase(p.extension().string()) == ext;
}

} // namespace

std::vector<std::string> ConfigFileNames(const std::string& programName) {
    std::vector<std::string> names;
    for (const char* ext : {".TPE", ".TPI", ".TPW", ".TPQ", ".TPL", ".TPP", ".DEF"})
        names.push_back(programName + ext);
    return names;
}

TMoveResult MoveConfigFiles(const std::string& target, const std::string& source,
                            const std::string& programName) {
    TMoveResult result;
    // The target must name a directory below the root: "target/T.T" must be a valid
    // file name there.
    if (target.empty() || target.find('\0') != std::string::npos)
        return result;
    const fs::path to(CanonicalPath(target));
    if (to == to.root_path())
        return result;
    if (SamePath(target, source)) {
        result.Success = true;
        return result;
    }

    std::error_code ec;
    // Any of the seven names, in any case, already there refuses the move.
    if (fs::is_directory(to, ec)) {
        const auto names = ConfigFileNames(programName);
        for (const auto& entry : fs::directory_iterator(to, ec)) {
            const std::string name = entry.path().filename().string();
            for (const auto& n : names)
                if (SameTextIgnoringCase(name, n)) {
                    result.TargetHadFiles = true;
                    return result;
                }
        }
        if (ec)
            return result;
    }

    // The files to move, in order: the named ones, every layout file, the paper sizes.
    const fs::path from(CanonicalPath(source));
    std::vector<fs::path> files;
    for (const char* ext : {".TPE", ".TPI", ".TPW", ".DEF", ".TPQ"})
        files.push_back(from / (programName + ext));
    std::vector<fs::path> layouts;
    for (const auto& entry : fs::directory_iterator(from, ec))
        if (entry.is_regular_file() && HasExtension(entry.path(), ".TPL"))
            layouts.push_back(entry.path());
    std::sort(layouts.begin(), layouts.end());
    files.insert(files.end(), layouts.begin(), layouts.end());
    files.push_back(from / (programName + ".TPP"));

    bool createdDirectory = false;
    if (!fs::exists(to, ec)) {
        createdDirectory = fs::create_directories(to, ec);
        if (ec)
            return result;
    }
    if (!fs::is_directory(to, ec))
        return result;

    std::vector<fs::path> created;
    std::vector<fs::path> moved;
    bool ok = true;
    for (const auto& file : files) {
        if (!fs::is_regular_file(file, ec))
            continue; // a missing source file counts as copied
        const fs::path copy = to / file.filename();
        if (fs::exists(copy, ec)) {
            ok = false; // never overwrite what was there before
            break;
        }
        const bool copied = CopyFile(file, copy);
        if (fs::exists(copy, ec))
            created.push_back(copy);
        if (!copied || !SameBytes(file, copy)) {
            ok = false;
            break;
        }
        moved.push_back(file);
    }

    if (!ok) {
        for (const auto& c : created)
            fs::remove(c, ec);
        if (createdDirectory)
            fs::remove(to, ec);
        return result;
    }
    for (const auto& m : moved)
        fs::remove(m, ec);
    result.Success = true;
    return result;
}

} // namespace tessaly
