#include "core/settings/reopen_list.h"

#include "core/common/file_paths.h"

namespace tessaly {

namespace {
const char kSection[] = "MRU";
}

const TReopenSlot& TReopenList::At(int i) const {
    static const TReopenSlot none;
    if (i < 0 || i >= kSlots)
        return none;
    return slots_[static_cast<std::size_t>(i)];
}

int TReopenList::Find(const std::string& path) const {
    if (path.empty())
        return -1;
    for (int i = 0; i < kSlots; ++i)
        if (!IsEmpty(i) && SamePath(slots_[static_cast<std::size_t>(i)].Path, path))
            return i;
    return -1;
}

void TReopenList::Remove(const std::string& path) {
    const int k = Find(path);
    if (k < 0)
        return;
    for (int i = k; i + 1 < kSlots; ++i)
        slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i + 1)];
    slots_[kSlots - 1] = TReopenSlot{};
}

void TReopenList::Add(const std::string& path, const std::string& type) {
    if (path.empty() || Find(path) >= 0)
        return;
    for (int i = kSlots - 1; i > 0; --i)
        slots_[static_cast<std::size_t>(i)] = slots_[static_cast<std::size_t>(i - 1)];
    slots_[0] = TReopenSlot{path, type};
}

void TReopenList::Load(const TSettingsAccess& access) {
    for (int i = 0; i < kSlots; ++i) {
        const std::string n = std::to_string(i + 1);
        auto& slot = slots_[static_cast<std::size_t>(i)];
        slot.Path = access.ReadString(kSection, n, "");
        slot.Type = slot.Path.empty() ? "" : access.ReadString(kSection, n + " Type", "ADR");
    }
}

void TReopenList::Save(TSettingsAccess& access) const {
    access.EraseSection(kSection);
    for (int i = 0; i < kSlots; ++i) {
        if (IsEmpty(i))
            continue;
        const std::string n = std::to_string(i + 1);
        access.WriteString(kSection, n, slots_[static_cast<std::size_t>(i)].Path);
        access.WriteString(kSection, n + " Type", slots_[static_cast<std::size_t>(i)].Type);
    }
}

} // namespace tessaly
