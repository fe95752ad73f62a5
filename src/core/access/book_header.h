#pragma once
// The book header as the windows reach it: the window placement kept with the book,
// the page captions and reminder column widths by index, and the settings-driven
// rules of counting changes (undo depth, automatic saving).

#include "core/store/book.h"
#include "core/store/store_settings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly {

// The range of the "Auto Save Interval" setting, counted in changes.
constexpr int kMinAutoSaveInterval = 1;
constexpr int kMaxAutoSaveInterval = 99;

// Where the book window stands and how it is divided.
struct TBookWindowPlacement {
    std::array<std::int32_t, 4> Bounds{}; // left, top, right, bottom in the normal state
    int State = kWindowNormal;
    int ListWidth = 0;
    int TitleWidth = 0;
    int NamePanelWidth = 0;
    int ActivePage = 0;
};

TBookWindowPlacement WindowPlacement(const TBookData& book);
// Stores every value; the bounds only when the state is normal (a minimised or
// maximised window does not show its normal bounds). An unknown state counts as
// normal, a page outside 0-5 as 0, and widths are kept within the stored 16 bits.
void SetWindowPlacement(TBookData& book, const TBookWindowPlacement& placement);

// Caption of entry page i (0-5); empty out of range. Set trims and cuts it to 255
// characters and ignores an index out of range.
std::string PageCaption(const TBookData& book, int i);
void SetPageCaption(TBookData& book, int i, std::string_view caption);
// Width of reminders column i (0-3); 0 out of range, where setting is ignored.
int ColumnWidth(const TBookData& book, int i);
void SetColumnWidth(TBookData& book, int i, int width);

// "Undo Level" brought into 1-30 and "Auto Save Interval" into 1-99.
int UndoLimit(const TStoreSettings& settings);
int AutoSaveInterval(const TStoreSettings& settings);
// After MarkChanged: whether the book window saves the book now ("Auto Save" on and
// the changes since the last save have reached the interval). Whether the book may
// be written (its lock) is the window's to check.
bool AutoSaveDue(const TBookData& book, const TStoreSettings& settings);

} // namespace tessaly
