#include "core/printing/catalogue_file.h"

#include "core/store/format.h"

#include <new>

namespace tessaly {

namespace {

bool ReadSignature(TStreamReader& r) {
    std::array<std::uint8_t, kSignatureSize> sig{};
    r.ReadBytes(sig.data(), sig.size());
    return sig == kSignature;
}

} // namespace

bool ParseFramedImage(std::span<const std::uint8_t> bytes, const TBodyReader& read) {
    try {
        TStreamReader r(bytes);
        if (r.Size() < 2 * kSignatureSize + 2 || !ReadSignature(r))
            return false;
        const int version = r.ReadInt16();
        if (version < 1 || version > kCatalogueVersion)
            return false;
        read(r, version);
        // The trailer must follow the body exactly and end the file.
        return r.Remaining() == kSignatureSize && ReadSignature(r);
    } catch (const StreamError&) {
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return false;
}

std::vector<std::uint8_t> WriteFramedImage(const TBodyWriter& write) {
    TStreamWriter w;
    w.WriteBytes(kSignature.data(), kSignature.size());
    w.WriteInt16(kCatalogueVersion);
    write(w);
    w.WriteBytes(kSignature.data(), kSignature.size());
    return w.TakeBytes();
}

std::string DamagedCopyPath(const std::string& path) {
    return path + ".BAD";
}

bool KeepDamagedFile(const std::string& path, IFileSystem& fs) {
    return fs.Rename(path, DamagedCopyPath(path)) == 0;
}

} // namespace tessaly
