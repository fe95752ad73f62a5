#include "core/access/book_header.h"

#include "core/common/text.h"
#include "core/store/undo.h"

#include <algorithm>
#include <limits>

namespace tessaly {

namespace {

std::int16_t Int16(int value) {
    return static_cast<std::int16_t>(std::clamp<int>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

} // namespace

TBookWindowPlacement WindowPlacement(const TBookData& book) {
    TBookWindowPlacement p;
    p.Bounds = book.WindowBounds;
    p.State = book.WindowState;
    p.ListWidth = book.ListWidth;
    p.TitleWidth = book.TitleWidth;
    p.NamePanelWidth = book.NamePanelWidth;
    p.ActivePage = book.ActivePage;
    return p;
}

void SetWindowPlacement(TBookData& book, const TBookWindowPlacement& placement) {
    const bool known = placement.State >= kWindowNormal && placement.State <= kWindowMaximised;
    book.WindowState = static_cast<std::uint8_t>(known ? placement.State : kWindowNormal);
    if (book.WindowState == kWindowNormal)
        book.WindowBounds = placement.Bounds;
    book.ListWidth = Int16(placement.ListWidth);
    book.TitleWidth = Int16(placement.TitleWidth);
    book.NamePanelWidth = Int16(placement.NamePanelWidth);
    const bool pageKnown = placement.ActivePage >= 0 && placement.ActivePage < kPageCaptions;
    book.ActivePage = static_cast<std::int16_t>(pageKnown ? placement.ActivePage : 0);
}

std::string PageCaption(const TBookData& book, int i) {
    if (i < 0 || i >= kPageCaptions)
        return std::string();
    return book.PageCaptions[static_cast<std::size_t>(i)].str();
}

void SetPageCaption(TBookData& book, int i, std::string_view caption) {
    if (i >= 0 && i < kPageCaptions)
        book.PageCaptions[static_cast<std::size_t>(i)] = CleanShort(caption);
}

int ColumnWidth(const TBookData& book, int i) {
    if (i < 0 || i >= static_cast<int>(book.ColumnWidths.size()))
        return 0;
    return book.ColumnWidths[static_cast<std::size_t>(i)];
}

void SetColumnWidth(TBookData& book, int i, int width) {
    if (i >= 0 && i < static_cast<int>(book.ColumnWidths.size()))
        book.ColumnWidths[static_cast<std::size_t>(i)] = Int16(width);
}

int UndoLimit(const TStoreSettings& settings) {
    return ClampUndoLevel(settings.UndoLevel);
}

int AutoSaveInterval(const TStoreSettings& settings) {
    return std::clamp(settings.AutoSaveInterval, kMinAutoSaveInterval, kMaxAutoSaveInterval);
}

bool AutoSaveDue(const TBookData& book, const TStoreSettings& settings) {
    return settings.AutoSave && book.ChangeCount >= AutoSaveInterval(settings);
}

} // namespace tessaly
