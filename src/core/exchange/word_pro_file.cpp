#include "core/exchange/word_pro_file.h"

#include "core/store/format.h"
#include "core/store/stream.h"

#include <algorithm>

namespace tessaly {

namespace {

bool SignatureAt(TStreamReader& r) {
    std::array<std::uint8_t, kSignatureSize> bytes{};
    r.ReadBytes(bytes.data(), bytes.size());
    return bytes == kSignature;
}

} // namespace

std::optional<TWordProList> ParseWordProImage(std::span<const std::uint8_t> bytes) {
    try {
        TStreamReader r(bytes);
        if (!SignatureAt(r))
            return std::nullopt;
        r.ReadUInt16(); // the version, which every layout shares
        TWordProList list;
        const int count = r.ReadCount();
        list.Selected = r.ReadText();
        for (int i = 0; i < count; ++i)
            list.Add(TWordPro::Read(r, kBookVersion));
        // The trailer must follow the last item.
        if (r.AtEnd() || !SignatureAt(r))
            return std::nullopt;
        return list;
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

std::vector<std::uint8_t> WriteWordProImage(const TWordProList& list) {
    TStreamWriter w;
    w.WriteBytes(kSignature.data(), kSignature.size());
    w.WriteUInt16(kBookVersion);
    const auto count = static_cast<std::size_t>(
        std::count_if(list.begin(), list.end(), [](const auto& item) { return item != nullptr; }));
    w.WriteCount(count);
    w.WriteText(list.Selected);
    for (const auto& item : list)
        if (item)
            item->Write(w, kBookVersion);
    w.WriteBytes(kSignature.data(), kSignature.size());
    return w.TakeBytes();
}

TWordProList LoadWordProcessors(const std::string& path, IFileSystem& fs) {
    std::vector<std::uint8_t> bytes;
    if (ReadWholeFile(path, bytes, fs).Ok)
        if (auto list = ParseWordProImage(bytes))
            return std::move(*list);
    return DefaultWordProcessors();
}

TIoResult SaveWordProcessors(const std::string& path, const TWordProList& list, IFileSystem& fs) {
    std::vector<std::uint8_t> image;
    try {
        image = WriteWordProImage(list);
    } catch (const StreamError& e) {
        TIoResult failed;
        failed.Error = e.what();
        return failed;
    }
    return WriteFileAtomically(path, image, fs);
}

} // namespace tessaly
