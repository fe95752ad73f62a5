// The page designer driven with the mouse and keys: placing from the palettes, dragging
// and undoing a drag in one step, arrow keys, resizing by a grab square, aligning by
// the menu shortcuts, the save question and a save that fails.

#include "app/designer/layout_dlg.h"
#include "app/designer/page_picture.h"
#include "app/designer/palette_panel.h"
#include "app/printing/preview_dlg.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"
#include "tests/app/test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

using namespace tessaly;

namespace {

// The first layout printed on paper of this type.
int LayoutOnPaper(TLayoutDlg& d, int paperType) {
    const TPrintCatalogues& c = d.Catalogues();
    for (int i = 0; i < c.Layouts.Count(); ++i) {
        const TLayout* l = c.Layouts.At(i);
        const TPaper* p = c.Papers.ByNumber(l->PaperNumber);
        if (p && p->Type == paperType && l->Source == kSourceEntries)
            return l->Number;
    }
    return kNoNumber;
}

TPixelRect RectOf(TLayoutDlg& d, int id) {
    return d.Design().Page.Pixels(id, d.Design().Scale).value_or(TPixelRect{});
}

// Presses a palette button with the mouse.
void Press(TLayoutDlg& d, const QString& caption) {
    QToolButton* b = d.Palette()->Button(caption);
    QVERIFY2(b, qPrintable(caption));
    QTest::mouseClick(b, Qt::LeftButton);
}

void ShowObjectPalette(TLayoutDlg& d) {
    auto* tabs = d.Palette()->findChild<QTabBar*>("PaletteTabs");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    QVERIFY(d.Palette()->ShowsObjects());
}

// A drag of the mouse from one point of the picture to another, in steps.
void Drag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    for (int i = 1; i <= 4; ++i) {
        const QPoint at = from + (to - from) * i / 4;
        QMouseEvent move(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
}

// Picks a menu's item with the mouse, the menu popped up where a user would see it.
void ClickMenuItem(QMenu* menu, const QString& caption) {
    QAction* item = nullptr;
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            item = a;
    QVERIFY2(item, qPrintable(caption));
    menu->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
}

QMenu* WindowMenu(TLayoutDlg& d, const QString& title) {
    for (QMenu* m : d.WindowMenus())
        if (m->title() == title)
            return m;
    return nullptr;
}

// The distinct "PersonNN" names printed on the plan's pages.
QSet<QString> PrintedPeople(const TPrintPlan& plan) {
    QSet<QString> names;
    static const QRegularExpression person("Person\\d\\d");
    for (const TPlanPage& page : plan.Pages)
        for (const TPlanItem& item : page.Items)
            for (const auto& m : person.globalMatch(ToQString(item.Text)))
                names.insert(m.captured());
    return names;
}

// Answers the preview's question with the choice of this caption.
void ChooseEntries(const QString& caption, bool* asked) {
    OnModalDialog("Preview Layout", [caption, asked](QDialog* dialog) {
        *asked = true;
        for (QRadioButton* b : dialog->findChildren<QRadioButton*>())
            if (b->text() == caption)
                QTest::mouseClick(b, Qt::LeftButton);
        ClickDialogButton(dialog, "OK");
    });
}

} // namespace

class TDesignerTest : public QObject, TProgramFixture {
    Q_OBJECT
private slots:
    void init() { Begin(); }
    void cleanup() { End(); }

    void PlacesMergedFieldsDragsAndUndoesTheDragInOneStep();
    void ResizesByAGrabSquareAndAlignsByTheMenuShortcuts();
    void AsksBeforeClosingAndAFailedSaveKeepsTheLayoutModified();
    void ARepaintOfTwoHundredObjectsIsQuick();
    void PreviewAsksForTheEntriesAndRefusesToPrint();
    void DoubleClickEditsAnObjectAndZoomScalesThePicture();
    void SplitBarAndBandsAreUndoable();

private:
    TLayoutDlg* OpenDesigner(TTestRun& run, int paperType) {
        run.Frame->show();
        QApplication::setActiveWindow(run.Frame.get());
        TLayoutDlg* d = run.Frame->ShowDesigner(nullptr);
        if (!d)
            return nullptr;
        const int number = LayoutOnPaper(*d, paperType);
        if (number == kNoNumber || !d->OpenLayout(number))
            return nullptr;
        d->Picture()->setFocus();
        return d;
    }
};

void TDesignerTest::PlacesMergedFieldsDragsAndUndoesTheDragInOneStep() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperLabel);
    QVERIFY(d);
    TPagePicture* picture = d->Picture();
    auto& body = d->Design().Page.Bands[kBandBody];
    const std::size_t before = body.size();
    const auto shown = d->Palette()->Shown();
    QVERIFY(shown.size() >= 3);
    // Pressed in the order third, first: the object holds them in palette order.
    Press(*d, ToQString(shown[2].Caption));
    Press(*d, ToQString(shown[0].Caption));
    QVERIFY(d->Design().Palette.DropMode());
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->WidgetPoint(kBandBody, {20, 20}));
    QCOMPARE(body.size(), before + 1);
    QVERIFY(!d->Design().Palette.DropMode());
    QVERIFY(!d->Palette()->Button(ToQString(shown[2].Caption))->isChecked());
    const TDesignObject placed = body.back();
    QCOMPARE(placed.Box.Items.Count(), 2);
    QCOMPARE(placed.Box.Items.At(0)->Caption.str(), shown[0].Caption);
    QCOMPARE(placed.Box.Items.At(1)->Caption.str(), shown[2].Caption);
    QCOMPARE(placed.Box.FontName, std::string("Arial"));
    QCOMPARE(d->Design().Sets.Selected(), std::vector<int>{placed.Id});
    QVERIFY(d->StatusText().startsWith("Merged Data Object"));

    // A drag of the object: one undo step, the corner on the grid.
    const TPixelRect start = RectOf(*d, placed.Id);
    const int steps = d->UndoStack().count();
    Drag(picture, picture->WidgetPoint(kBandBody, {start.X + 3, start.Y + 3}),
         picture->WidgetPoint(kBandBody, {start.X + 43, start.Y + 21}));
    const TPixelRect moved = RectOf(*d, placed.Id);
    QVERIFY(moved.X != start.X && moved.Y != start.Y);
    QCOMPARE(moved.X % 8, 0);
    QCOMPARE(moved.Y % 8, 0);
    QCOMPARE(d->UndoStack().count(), steps + 1);
    QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(RectOf(*d, placed.Id), start);
    QTest::keyClick(picture, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(RectOf(*d, placed.Id), moved);
    // Arrow keys: a pixel at a time, not snapped.
    QTest::keyClick(picture, Qt::Key_Right);
    QTest::keyClick(picture, Qt::Key_Down);
    QCOMPARE(RectOf(*d, placed.Id).X, moved.X + 1);
    QCOMPARE(RectOf(*d, placed.Id).Y, moved.Y + 1);
    // Undo of the placing takes the object away, redo brings it back by its identity.
    while (d->UndoStack().canUndo())
        QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(body.size(), before);
    while (d->UndoStack().canRedo())
        QTest::keyClick(picture, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(d->Design().Page.Find(placed.Id));
    QCOMPARE(RectOf(*d, placed.Id).X, moved.X + 1);
    messages_->Answer = mrNo;
}

void TDesignerTest::ResizesByAGrabSquareAndAlignsByTheMenuShortcuts() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperListing);
    QVERIFY(d);
    TPagePicture* picture = d->Picture();
    ShowObjectPalette(*d);
    auto& body = d->Design().Page.Bands[kBandBody];
    // Two rectangles placed by clicks.
    Press(*d, "Rectangle");
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->WidgetPoint(kBandBody, {40, 40}));
    const int first = body.back().Id;
    Press(*d, "Rectangle");
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->WidgetPoint(kBandBody, {200, 100}));
    const int second = body.back().Id;
    QCOMPARE(body.back().Box.Kind, static_cast<int>(kBoxRectangle));

    // The bottom right grab square of the single selected object.
    const TPixelRect r = RectOf(*d, second);
    const QPoint handle = picture->HandlePoint(THandle::BottomRight);
    Drag(picture, handle, handle + QPoint(30, 20));
    const TPixelRect resized = RectOf(*d, second);
    QCOMPARE(resized.X, r.X);
    QCOMPARE(resized.Y, r.Y);
    QVERIFY(resized.Width > r.Width && resized.Height > r.Height);
    QCOMPARE(resized.Right() % 8, 0);

    // Both selected, the first one clicked the reference: bottoms and left edges align.
    const TPixelRect a = RectOf(*d, first);
    QTest::mouseClick(picture, Qt::LeftButton, {},
                      picture->WidgetPoint(kBandBody, {a.X + 4, a.Y + 4}));
    QTest::mouseClick(picture, Qt::LeftButton, Qt::ShiftModifier,
                      picture->WidgetPoint(kBandBody, {resized.X + 4, resized.Y + 4}));
    QCOMPARE(d->Design().Sets.Selected().size(), std::size_t(2));
    QVERIFY(d->StatusText().startsWith("2 Objects Selected"));
    QTest::keyClick(picture, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(RectOf(*d, second).Bottom(), a.Bottom());
    QTest::keyClick(picture, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(RectOf(*d, second).X, a.X);
    QCOMPARE(RectOf(*d, first), a);
    // Each align one step of its own.
    QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(RectOf(*d, second).X, resized.X);
    QCOMPARE(RectOf(*d, second).Bottom(), a.Bottom());
    messages_->Answer = mrNo;
}

void TDesignerTest::AsksBeforeClosingAndAFailedSaveKeepsTheLayoutModified() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperLabel);
    QVERIFY(d);
    TPagePicture* picture = d->Picture();
    const int number = d->Layout()->Number;
    // A picture whose file cannot be read: it keeps its path.
    ShowObjectPalette(*d);
    Press(*d, "Graphic Image");
    QTest::mouseClick(picture, Qt::LeftButton, {}, picture->WidgetPoint(kBandBody, {100, 10}));
    const int graphic = d->Design().Page.Bands[kBandBody].back().Id;
    d->Design().Page.Box(graphic)->Format = Text("/nowhere/logo.png");
    QVERIFY(d->SaveLayout());
    QVERIFY(!d->Design().AsksToSave());

    // Selecting an object without moving it still asks; Cancel keeps the window.
    const TPixelRect g = RectOf(*d, graphic);
    const TPixelSize band = d->Design().Page.BandPixels(kBandBody, d->Design().Scale);
    QTest::mouseClick(picture, Qt::LeftButton, {},
                      picture->WidgetPoint(kBandBody, {band.Width - 2, band.Height - 2}));
    QVERIFY(d->Design().Sets.Selected().empty());
    QTest::mouseClick(picture, Qt::LeftButton, {},
                      picture->WidgetPoint(kBandBody, {g.X + 2, g.Y + 2}));
    messages_->Answers = {mrCancel};
    QVERIFY(!d->SubWindow()->close());
    QCOMPARE(messages_->Requests.size(), std::size_t(1));
    QCOMPARE(messages_->Requests[0].Text, QString(kLayoutSaveQuestion));

    // Yes with an object file that cannot be written: said, the window stays, still
    // modified.
    QTest::keyClick(picture, Qt::Key_Right);
    const QString objects = PathFromCore(d->Catalogues().ObjectFilePath(number));
    QVERIFY(QFile::remove(objects));
    QVERIFY(QDir().mkdir(objects));
    messages_->Answers = {mrYes, mrOk};
    QVERIFY(!d->SubWindow()->close());
    QCOMPARE(messages_->Requests.size(), std::size_t(3));
    QVERIFY(messages_->Requests[2].Text.contains("could not be saved"));
    QVERIFY(d->Design().AsksToSave());

    // Once the file can be written, Ctrl+S saves what is drawn.
    QVERIFY(QDir().rmdir(objects));
    QTest::keyClick(picture, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!d->Design().AsksToSave());
    TLayoutObjects read;
    QVERIFY(d->Catalogues().ReadObjects(number, read));
    // What is drawn, to the pixel (lengths are stored as six-byte reals).
    const TLayoutObjects drawn = d->Design().Page.Objects();
    QCOMPARE(read.Body.size(), drawn.Body.size());
    const TScreenScale& s = d->Design().Scale;
    for (std::size_t i = 0; i < drawn.Body.size(); ++i) {
        const TLayoutBox &x = read.Body[i], &y = drawn.Body[i];
        QCOMPARE(x.Kind, y.Kind);
        QVERIFY(x.Items == y.Items);
        QCOMPARE(s.ToPixelsX(x.Left), s.ToPixelsX(y.Left));
        QCOMPARE(s.ToPixelsY(x.Top), s.ToPixelsY(y.Top));
        QCOMPARE(s.ToPixelsX(x.Width), s.ToPixelsX(y.Width));
        QCOMPARE(s.ToPixelsY(x.Height), s.ToPixelsY(y.Height));
    }
    QCOMPARE(read.Body.back().Format.str(), std::string("/nowhere/logo.png"));
    QVERIFY(d->SubWindow()->close());
}

void TDesignerTest::ARepaintOfTwoHundredObjectsIsQuick() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperListing);
    QVERIFY(d);
    auto& page = d->Design().Page;
    for (int i = 0; i < 200; ++i) {
        TLayoutBox box;
        auto f = std::make_unique<TFields>();
        f->Caption = Text("Field " + std::to_string(i));
        box.Items.Add(std::move(f));
        box.Left = (i % 5) * 38.0;
        box.Top = (i / 5) * 5.0;
        box.Width = 35;
        box.Height = 4.5;
        page.Add(kBandBody, box);
    }
    d->Picture()->PageChanged();
    d->Picture()->resize(d->Picture()->size());
    QImage image(d->Picture()->size(), QImage::Format_RGB32);
    d->Picture()->render(&image);
    QElapsedTimer t;
    t.start();
    const int frames = 10;
    for (int i = 0; i < frames; ++i)
        d->Picture()->render(&image);
    const double ms = t.elapsed() / double(frames);
    qInfo("one repaint of 200 objects: %.1f ms", ms);
    QVERIFY2(ms < 100, qPrintable(QString::number(ms)));
    messages_->Answer = mrNo;
}

QTEST_MAIN(TDesignerTest)
void TDesignerTest::PreviewAsksForTheEntriesAndRefusesToPrint() {
    TTestRun run(*store_, dir_->path());
    QVERIFY(OpenShownBook(run, MakePeopleBook(Path("People.ADR"), 5)));
    TLayoutDlg* d = OpenDesigner(run, kPaperLabel);
    QVERIFY(d);
    QTRY_COMPARE(run.Frame->ToolbarPage(), 5);
    QToolButton* previewButton = run.Frame->ToolButton(5, "Preview Layout");
    QVERIFY(previewButton && previewButton->isEnabled());

    // Cancel at the question: nothing is previewed.
    bool asked = false;
    OnModalDialog("Preview Layout", [&asked](QDialog* dialog) {
        asked = true;
        ClickDialogButton(dialog, "Cancel");
    });
    QTest::mouseClick(previewButton, Qt::LeftButton);
    QVERIFY(asked);
    QCOMPARE(run.Frame->ActiveChild(), static_cast<TChildWindow*>(d));

    asked = false;
    ChooseEntries("&All Entries in the Address Book", &asked);
    QTest::mouseClick(previewButton, Qt::LeftButton);
    QVERIFY(asked);
    TPreviewDlg* preview = nullptr;
    QTRY_VERIFY((preview = qobject_cast<TPreviewDlg*>(run.Frame->ActiveChild())));
    QCOMPARE(preview->windowTitle(), QString("Print Wizard Generated"));
    QCOMPARE(PrintedPeople(preview->Plan()).size(), 5);

    // The preview cannot print: it says why instead.
    QTRY_COMPARE(run.Frame->ToolbarPage(), 4);
    QToolButton* printButton = run.Frame->ToolButton(4, "Print the Preview Image");
    QTRY_VERIFY(printButton->isEnabled());
    // A sheet per entry: five pages, and the way on from the first is open.
    QCOMPARE(preview->Plan().Pages.size(), std::size_t(5));
    QVERIFY(run.Frame->ToolButton(4, "Next Page")->isEnabled());
    QVERIFY(run.Frame->ToolButton(4, "Last Page")->isEnabled());
    QVERIFY(!run.Frame->ToolButton(4, "First Page")->isEnabled());
    const std::size_t said = messages_->Requests.size();
    QTest::mouseClick(printButton, Qt::LeftButton);
    QCOMPARE(messages_->Requests.size(), said + 1);
    QVERIFY(messages_->Requests.back().Text.startsWith(
        "The Print Facility is not available when generated from the Page Designer"));

    // The selected entry only: the book window's selection is what is printed.
    d->Activate();
    QTRY_COMPARE(run.Frame->ToolbarPage(), 5);
    asked = false;
    ChooseEntries("Selected Entr&y Only", &asked);
    QTest::mouseClick(previewButton, Qt::LeftButton);
    QVERIFY(asked);
    TPreviewDlg* single = nullptr;
    QTRY_VERIFY((single = qobject_cast<TPreviewDlg*>(run.Frame->ActiveChild())) &&
                single != preview);
    QCOMPARE(PrintedPeople(single->Plan()).size(), 1);
}

void TDesignerTest::DoubleClickEditsAnObjectAndZoomScalesThePicture() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperLabel);
    QVERIFY(d);
    TPagePicture* picture = d->Picture();
    const auto& body = d->Design().Page.Bands[kBandBody];
    QVERIFY(!body.empty());
    const TDesignObject object = body.front();
    const TPixelRect r = RectOf(*d, object.Id);
    QString title;
    OnModalDialog("", [&title](QDialog* editor) {
        title = editor->windowTitle();
        auto* colour = editor->findChild<QComboBox*>("BorderColour");
        colour->setFocus();
        QTest::keyClick(colour, Qt::Key_End); // White
        ClickDialogButton(editor, "OK");
    });
    // The press of a double-click selects, its second click opens the editor.
    const QPoint centre = picture->WidgetPoint(kBandBody, {r.X + r.Width / 2, r.Y + r.Height / 2});
    QTest::mouseClick(picture, Qt::LeftButton, {}, centre);
    QTest::mouseDClick(picture, Qt::LeftButton, {}, centre);
    QVERIFY2(title.endsWith(" Property Editor"), qPrintable(title));
    QCOMPARE(d->Design().Page.Box(object.Id)->PenColour, std::uint32_t(0xFFFFFF));
    QVERIFY(object.Box.PenColour != 0xFFFFFF);
    // Without a window manager nothing gives the frame back its activation.
    QApplication::setActiveWindow(run.Frame.get());
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(*d->Design().Page.Box(object.Id), object.Box);
    QTest::keyClick(picture, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(d->Design().Page.Box(object.Id)->PenColour, std::uint32_t(0xFFFFFF));

    // Zooming scales the picture and where the objects are drawn, never the page.
    const auto across = [picture] {
        return picture->WidgetPoint(kBandBody, {200, 0}).x() -
               picture->WidgetPoint(kBandBody, {0, 0}).x();
    };
    QCOMPARE(across(), 200);
    const int width = picture->width();
    QTest::keyClick(picture, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(picture->Zoom(), 1.25);
    QCOMPARE(across(), 250);
    QVERIFY(picture->width() > width);
    QTest::keyClick(picture, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(picture, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(across(), 250);
    QTest::keyClick(picture, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(across(), 200);
    QCOMPARE(picture->width(), width);
    QCOMPARE(RectOf(*d, object.Id), r);
}

void TDesignerTest::SplitBarAndBandsAreUndoable() {
    TTestRun run(*store_, dir_->path());
    TLayoutDlg* d = OpenDesigner(run, kPaperListing);
    QVERIFY(d);
    TPagePicture* picture = d->Picture();
    TPageModel& page = d->Design().Page;
    QMenu* tools = WindowMenu(*d, "&Tools");
    QVERIFY(tools);
    QAction* headers = d->Action("Enable &Headers");
    QVERIFY(headers->isEnabled());

    const bool was = page.Headers;
    ClickMenuItem(tools, "Enable &Headers");
    QCOMPARE(page.Headers, !was);
    QCOMPARE(headers->isChecked(), !was);
    QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(page.Headers, was);
    QCOMPARE(headers->isChecked(), was);
    QTest::keyClick(picture, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(page.Headers, !was);
    if (!page.Headers)
        ClickMenuItem(tools, "Enable &Headers");
    QVERIFY(page.Headers);
    QVERIFY(d->Design().AsksToSave());

    // The header's split bar dragged 40 pixels down: the header grows, the body shrinks.
    const double header = page.BandHeight[kBandHeader];
    const double bodyHeight = page.BandHeight[kBandBody];
    const QPoint bar = picture->SplitBarPoint(kBandHeader);
    Drag(picture, bar, bar + QPoint(0, 40));
    QVERIFY2(page.BandHeight[kBandHeader] > header + 5,
             qPrintable(QString::number(page.BandHeight[kBandHeader])));
    QVERIFY(page.BandHeight[kBandBody] < bodyHeight);
    QCOMPARE(picture->BandRect(kBandHeader).height(),
             d->Design().Scale.ToPixelsY(page.BandHeight[kBandHeader]));
    QTest::keyClick(picture, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(page.BandHeight[kBandHeader], header);
    QCOMPARE(page.BandHeight[kBandBody], bodyHeight);
}

#include "designer_test.moc"
