#pragma once
// A page layout (TLayout) and the list of them (TLayoutList, file "TESSALY.TPL"): a
// named design bound to a data source, a paper, a printer and an orientation. The
// list also keeps the designer's remembered settings and the return address. The
// objects of layout N live in a file of their own (layout_objects.h).

#include "core/common/text.h"
#include "core/printing/paper.h"
#include "core/store/my_list.h"
#include "core/store/stream.h"

#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

enum TDataSource : int {
    kSourceEntries = 1,
    kSourceReminders = 2,
    kSourceCallLogs = 3,
    kSourceDiary = 4,
    kSourceCalendar = 5, // quick reports only
};
// "Address Book Entries", ... "Calendar View" for sources 1 to 5, empty for others.
std::string DataSourceCaption(int source);

enum TPageControl : int {
    kBreakOnEntry = 1,
    kBreakOnIndexCharacter = 2,
    kAutomaticPages = 3,
    kBreakOnEventDate = 4,
};

class TLayout {
public:
    Text Name;
    int Number = kNoNumber;
    int Source = kSourceEntries;
    int PaperNumber = kNoNumber;
    bool Portrait = true;
    bool Headers = false;
    bool Footers = false;
    double HeaderHeight = 25.0; // millimetres
    double FooterHeight = 25.0;
    int PageControl = kAutomaticPages;
    int Reserved = -1; // never interpreted, written back as read
    Text Printer;      // empty: the default printer

    // Trimmed and cut to 255 characters.
    void SetName(std::string_view name);
    std::string NameText() const { return Name.str(); }

    static std::unique_ptr<TLayout> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TLayout&) const = default;
};

// Where new text objects are aligned; also an object's alignment.
enum TTextAlign : int { kAlignLeft = 0, kAlignRight = 1, kAlignCentre = 2 };

// The designer's remembered settings.
struct TDesignerSettings {
    bool ShowRulers = true;
    bool ShowBorders = true;
    int TextAlignment = kAlignLeft;
    int PaletteWidth = 130; // pixels
    int Unit = 1;           // 0 inches, 1 metric
    bool SnapToGrid = true; // from version 5 of the file
    int GridAcross = 8;     // pixels
    int GridDown = 8;
    bool operator==(const TDesignerSettings&) const = default;
};

// The most a return address holds, in bytes.
constexpr std::size_t kReturnAddressMax = 32000;

class TLayoutList : public TMyList<TLayout> {
public:
    int NextNumber = 0;
    Text ReturnAddress; // lines separated by CR LF
    TDesignerSettings Designer;

    TLayout* ByNumber(int number) const;
    TLayout* ByName(std::string_view name) const;
    // -1 when absent.
    int NumberByName(std::string_view name) const;
    std::string NameByNumber(int number) const;
    bool Exists(int number) const { return ByNumber(number) != nullptr; }
    // -1 for a position that names no layout.
    int PaperNumberAt(int i) const;
    // 0 for a position or number that names no layout.
    int SourceAt(int i) const;
    int SourceByNumber(int number) const;

    // A new layout with the next number that is neither held by a layout nor by
    // `taken` (an object file already on disk): headers and footers off, heights 25
    // mm, page control 3, portrait, reserved -1, no printer. Null when the numbers
    // have run out.
    template <class Taken>
    TLayout* Create(std::string_view name, int source, int paperNumber, Taken taken) {
        const int number = TakeNumber(taken);
        if (number == kNoNumber)
            return nullptr;
        auto l = std::make_unique<TLayout>();
        l->SetName(name);
        l->Number = number;
        l->Source = source;
        l->PaperNumber = paperNumber;
        return Add(std::move(l));
    }
    // A copy of every field of `source` but its number (and name, when given).
    template <class Taken>
    TLayout* Duplicate(const TLayout& source, std::string_view name, Taken taken) {
        const int number = TakeNumber(taken);
        if (number == kNoNumber)
            return nullptr;
        auto l = std::make_unique<TLayout>(source);
        l->Number = number;
        if (!name.empty())
            l->SetName(name);
        return Add(std::move(l));
    }
    void Remove(const TLayout* layout);
    // Raises the counter above `number` (the highest object file found on disk).
    void KeepCounterAbove(int number);

    // Counter, return address, designer settings (snap and grid from version 5 on),
    // count, layouts.
    void Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w) const;
    bool operator==(const TLayoutList& other) const {
        return NextNumber == other.NextNumber && ReturnAddress == other.ReturnAddress &&
               Designer == other.Designer && ItemsEqual(other);
    }

private:
    template <class Taken> int TakeNumber(Taken taken) {
        if (Count() >= kMaxListCount)
            return kNoNumber;
        while (NextNumber >= 0 && NextNumber <= INT16_MAX &&
               (Exists(NextNumber) || taken(NextNumber)))
            ++NextNumber;
        if (NextNumber < 0 || NextNumber > INT16_MAX)
            return kNoNumber;
        return NextNumber++;
    }
};

} // namespace tessaly
