#pragma once
// The "&Reopen" list of the frame: five slots of recently closed files that are not
// open now. Opening a file removes it; closing puts it at the top.

#include "core/settings/settings_access.h"

#include <array>
#include <string>

namespace tessaly {

struct TReopenSlot {
    std::string Path; // empty marks an empty slot
    std::string Type; // "ADR" or "TDY"
    bool operator==(const TReopenSlot&) const = default;
};

class TReopenList {
public:
    static constexpr int kSlots = 5;

    // Slot i, 0 to 4; an empty slot out of range.
    const TReopenSlot& At(int i) const;
    bool IsEmpty(int i) const { return At(i).Path.empty(); }
    // The slot holding the path (the same file, by canonical path), or -1.
    int Find(const std::string& path) const;

    // Called when a file is opened: later slots move up, the last becomes empty.
    void Remove(const std::string& path);
    // Called when a file is closed: only when it is not listed, it goes to the top and
    // the fifth slot drops out. The path keeps its case.
    void Add(const std::string& path, const std::string& type);

    // Section "MRU": value n the path, "n Type" its type (default "ADR").
    void Load(const TSettingsAccess& access);
    // Erases the section and writes only the slots that are not empty.
    void Save(TSettingsAccess& access) const;

    bool operator==(const TReopenList&) const = default;

private:
    std::array<TReopenSlot, kSlots> slots_{};
};

} // namespace tessaly
