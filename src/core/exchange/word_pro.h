#pragma once
// TWordPro: a word processor the program can type an entry into, known by the text
// its main window shows in the title bar; TWordProList: the program's list of them,
// in the user's order, with the name of the selected one.

#include "core/common/text.h"
#include "core/store/my_list.h"

#include <memory>
#include <string>
#include <string_view>

namespace tessaly {

// The selected name of a list that has none.
inline constexpr std::string_view kWordProNotDefined = "Not Defined";

class TWordPro {
public:
    Text Name = std::string();         // unique within the list, without regard to case
    Text TitleBarText = std::string(); // searched for in window titles

    TWordPro() = default;
    TWordPro(std::string_view name, std::string_view title) : Name(name), TitleBarText(title) {}

    static std::unique_ptr<TWordPro> Read(TStreamReader& r, int version);
    void Write(TStreamWriter& w, int version) const;
    bool operator==(const TWordPro&) const = default;
};

class TWordProList : public TMyList<TWordPro> {
public:
    Text Selected = std::string(kWordProNotDefined);

    std::string SelectedWordProcessor() const { return std::string(TextValue(Selected)); }
    void SelectWordProcessor(std::string_view name) { Selected = Text(name); }
    // Whether a word processor is selected at all.
    bool WordProcessorDefined() const { return TextValue(Selected) != kWordProNotDefined; }

    // The title bar text of the item named `name` (case-insensitive; of several, the
    // last); empty when none is.
    std::string TitleBarTextOf(std::string_view name) const;
    // The first item named `name` (case-insensitive), -1 when none is.
    int IndexOfName(std::string_view name) const;
    // Changes item `item`, or appends a new one when `item` is out of range. A changed
    // item that was the selected one keeps it selected under its new name. Returns the
    // item's index.
    int AddOrChangeWordProcessor(std::string_view name, std::string_view title, int item = -1);
    std::string NameAt(int i) const;
    std::string TitleAt(int i) const;

    bool operator==(const TWordProList& o) const;
};

// The list in force when there is no word processor file: the nine of the original
// string table, then the word processors and editors of the Linux desktop, none of
// them selected.
TWordProList DefaultWordProcessors();

} // namespace tessaly
