#include "core/exchange/template_file.h"

#include "core/store/book_file.h"
#include "core/store/format.h"

namespace tessaly {

bool ReadTemplateImage(std::span<const std::uint8_t> bytes,
                       const std::function<void(TStreamReader&, int version)>& readList) {
    try {
        TStreamReader r(bytes);
        if (!CheckSignature(r, false).Valid || !CheckTrailer(r).Valid)
            return false;
        const int version = r.ReadInt16();
        if (version < 1 || version > kTemplateFileVersion)
            return false;
        readList(r, version);
        if (!CheckSignature(r, false).Valid)
            return false;
        return r.AtEnd();
    } catch (const StreamError&) {
        return false;
    }
}

std::vector<std::uint8_t>
WriteTemplateImage(const std::function<void(TStreamWriter&, int version)>& writeList) {
    TStreamWriter w;
    w.WriteBytes(kSignature.data(), kSignature.size());
    w.WriteInt16(kTemplateFileVersion);
    writeList(w, kTemplateFileVersion);
    w.WriteBytes(kSignature.data(), kSignature.size());
    return w.TakeBytes();
}

} // namespace tessaly
