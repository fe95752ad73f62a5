#pragma once
// The book header as the book window reads and writes it, kept apart from the frame's
// headers (the frame has a window placement type of its own).

#include "store/book.h"

#include <QRect>

namespace tessaly {

struct TBookView {
    QRect Bounds; // the window's normal rectangle
    int State = kWindowNormal;
    int ListWidth = 0;
    int TitleWidth = 0;
    int InitialsWidth = 0;
    int ActivePage = 0;
};

TBookView BookView(const TBookData& book);
void SetBookView(TBookData& book, const TBookView& view);
// Whether the change just counted makes the book save itself.
bool BookAutoSaveDue(const TBookData& book, const TStoreSettings& settings);
QString BookPageCaption(const TBookData& book, int page);

} // namespace tessaly
