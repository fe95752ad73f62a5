#include "book/book_header.h"

#include "store/access_book.h"
#include "widgets/qt_text.h"

namespace tessaly {

TBookView BookView(const TBookData& book) {
    const TWindowPlacement p = WindowPlacement(book);
    TBookView v;
    v.Bounds = QRect(QPoint(p.Bounds[0], p.Bounds[1]), QPoint(p.Bounds[2] - 1, p.Bounds[3] - 1));
    v.State = p.State;
    v.ListWidth = p.ListWidth;
    v.TitleWidth = p.TitleWidth;
    v.InitialsWidth = p.NamePanelWidth;
    v.ActivePage = p.ActivePage;
    return v;
}

void SetBookView(TBookData& book, const TBookView& view) {
    TWindowPlacement p;
    p.Bounds = {view.Bounds.left(), view.Bounds.top(), view.Bounds.right() + 1,
                view.Bounds.bottom() + 1};
    p.State = view.State;
    p.ListWidth = view.ListWidth;
    p.TitleWidth = view.TitleWidth;
    p.NamePanelWidth = view.InitialsWidth;
    p.ActivePage = view.ActivePage;
    SetWindowPlacement(book, p);
}

bool BookAutoSaveDue(const TBookData& book, const TStoreSettings& settings) {
    return AutoSaveDue(book, settings);
}

QString BookPageCaption(const TBookData& book, int page) {
    return ToQString(PageCaption(book, page));
}

} // namespace tessaly
