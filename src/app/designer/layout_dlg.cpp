#include "app/designer/layout_dlg.h"

#include "app/designer/box_properties_dlg.h"
#include "app/designer/design_undo.h"
#include "app/designer/grid_dlg.h"
#include "app/designer/layout_dialogs.h"
#include "app/designer/page_picture.h"
#include "app/designer/palette_panel.h"
#include "app/designer/rulers.h"
#include "app/designer/size_dlg.h"
#include "app/printing/print_command.h"
#include "app/printing/print_selection.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/designer/designer_text.h"
#include "core/printing/catalogues.h"
#include "platform/printer_device.h"
#include "platform/qt_text.h"

#include <QActionGroup>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

const char kLayoutSaveQuestion[] = "This Layout has been updated since it was last saved.\n\nDo "
                                   "you wish to save the changes, before continuing ?";

namespace {

// String 403.
const char kPaperGone[] =
    "Open of Page Layout \"%1\" Failed.\n\nUnable to located the associated Paper Size, as the "
    "Paper Size has been deleted from the System.";

// The menu item of a tool-bar button, by the button's hint.
struct TToolCommand {
    const char* Hint;
    const char* Caption;
};
const TToolCommand kToolCommands[] = {
    {"New Layout", "&New Layout..."},
    {"Open Layout", "&Open Layout..."},
    {"Save Layout", "&Save Layout"},
    {"Close Layout", "&Close Layout"},
    {"Preview Layout", "&Preview..."},
    {"Cancel Placements", "&Cancel Placements"},
    {"Align Left Edges", "&Left Edges"},
    {"Align Right Edges", "&Right Edges"},
    {"Align Tops", "&Tops"},
    {"Align Bottoms", "&Bottoms"},
    {"Align Text Left", "&Left"},
    {"Centre Text", "&Centre"},
    {"Align Text Right", "&Right"},
    {"Font", "Change Text &Font..."},
    {"Property Editor", "&Property Editor..."},
    {"Delete Objects", "&Delete Objects"},
    {"Toggle Borders", "Show &Borders"},
};

} // namespace

TLayoutDlg::TLayoutDlg(IFrame& frame, const TEventSource& from)
    : TChildWindow(frame, TChildKind::Layout, QString()), from_(from) {
    setWindowTitle("Page Designer");
    catalogues_ = LoadPrintCatalogues(frame);
    if (catalogues_->Papers.Count() == 0) {
        if (catalogues_->Errors().empty())
            ShowMessage(mtRequestDenied,
                        "No Paper Size is defined.\n\nThe Page Designer needs at least one Paper "
                        "Size to lay a page out on.",
                        mkError, mbOk);
        return;
    }
    ready_ = true;
    design_.Scale = {static_cast<double>(logicalDpiX()), static_cast<double>(logicalDpiY())};
    CreateMenus();
    CreateView();
    ApplySettings();
    ShowLayout();
}

TLayoutDlg::~TLayoutDlg() {
    // The commands refer to the page, which goes first otherwise.
    undo_.clear();
}

void TLayoutDlg::CreateMenus() {
    QMenu* file = new QMenu("&File", this);
    file->addAction("&New Layout...", this, &TLayoutDlg::NewLayout);
    file->addAction("&Open Layout...", this, &TLayoutDlg::OpenLayoutChosen);
    file->addAction("&Close Layout", this, [this] { CloseLayout(); });
    file->addAction("&Save Layout", QKeySequence::Save, this, [this] { SaveLayout(); });
    file->addAction("Save Layout &as...", this, &TLayoutDlg::SaveLayoutAs);
    file->addSeparator();
    file->addAction("&Maintenance...", this, &TLayoutDlg::Maintenance);
    file->addAction("&Paper Setup...", this, &TLayoutDlg::PaperSetup);
    file->addSeparator();
    file->addAction("&Return", this, [this] {
        if (SubWindow())
            SubWindow()->close();
    });

    QMenu* tools = new QMenu("&Tools", this);
    tools->addAction("Set Return &Address...", this, &TLayoutDlg::ReturnAddress);
    QAction* borders = tools->addAction("Show &Borders");
    borders->setCheckable(true);
    connect(borders, &QAction::toggled, this, [this](bool on) {
        catalogues_->Layouts.Designer.ShowBorders = on;
        ApplySettings();
    });
    QAction* rulers = tools->addAction("Show &Rulers");
    rulers->setCheckable(true);
    connect(rulers, &QAction::toggled, this, [this](bool on) {
        catalogues_->Layouts.Designer.ShowRulers = on;
        ApplySettings();
    });
    QMenu* unitMenu = tools->addMenu("Measurement &Units");
    units_ = new QActionGroup(this);
    for (const auto& [caption, unit] : {std::pair{"&Inches", 0}, std::pair{"&Metric", 1}}) {
        QAction* a = unitMenu->addAction(caption);
        a->setCheckable(true);
        a->setData(unit);
        units_->addAction(a);
        connect(a, &QAction::triggered, this, [this, unit = unit] { SetUnit(unit); });
    }
    tools->addSeparator();
    QAction* headers = tools->addAction("Enable &Headers");
    headers->setCheckable(true);
    connect(headers, &QAction::triggered, this, [this](bool on) { ToggleBand(kBandHeader, on); });
    QAction* footers = tools->addAction("Enable &Footers");
    footers->setCheckable(true);
    connect(footers, &QAction::triggered, this, [this](bool on) { ToggleBand(kBandFooter, on); });
    tools->addAction("Set Alignment Grid...", this, &TLayoutDlg::SetGrid);
    QMenu* zoom = tools->addMenu("&Zoom");
    zoom->addAction("Zoom &In", QKeySequence::ZoomIn, this, [this] { Zoom(1.25); });
    zoom->addAction("Zoom &Out", QKeySequence::ZoomOut, this, [this] { Zoom(0.8); });
    zoom->addAction("&Actual Size", QKeySequence(Qt::CTRL | Qt::Key_0), this, [this] { Zoom(0); });
    tools->addSeparator();
    tools->addAction("&Preview...", this, &TLayoutDlg::Preview);

    QMenu* objects = objectsMenu_ = new QMenu("&Objects", this);
    QAction* undo = undo_.createUndoAction(this, "&Undo");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = undo_.createRedoAction(this, "&Redo");
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    objects->addAction(undo);
    objects->addAction(redo);
    objects->addSeparator();
    objects->addAction("&Delete Objects", QKeySequence::Delete, this, &TLayoutDlg::DeleteObjects);
    QMenu* align = objects->addMenu("Align &Objects");
    align->addAction("&Left Edges", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Left), this,
                     [this] { Align(TAlignEdge::Left); });
    align->addAction("&Right Edges", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Right), this,
                     [this] { Align(TAlignEdge::Right); });
    align->addAction("&Tops", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up), this,
                     [this] { Align(TAlignEdge::Top); });
    align->addAction("&Bottoms", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down), this,
                     [this] { Align(TAlignEdge::Bottom); });
    QMenu* text = objects->addMenu("&Align Text");
    text->addAction("&Left", QKeySequence(Qt::CTRL | Qt::Key_L), this,
                    [this] { AlignText(kAlignLeft); });
    text->addAction("&Right", QKeySequence(Qt::CTRL | Qt::Key_R), this,
                    [this] { AlignText(kAlignRight); });
    text->addAction("&Centre", QKeySequence(Qt::CTRL | Qt::Key_E), this,
                    [this] { AlignText(kAlignCentre); });
    objects->addAction("&Size...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this,
                       &TLayoutDlg::SizeObjects);
    objects->addAction("Change Text &Font...", this, &TLayoutDlg::ChangeFont);
    objects->addAction("&Property Editor...", QKeySequence(Qt::ALT | Qt::Key_Return), this,
                       &TLayoutDlg::PropertyEditor);
    objects->addSeparator();
    objects->addAction("Bring to &Front", QKeySequence(Qt::CTRL | Qt::Key_BracketRight), this,
                       [this] { Order(true); });
    objects->addAction("Send to &Back", QKeySequence(Qt::CTRL | Qt::Key_BracketLeft), this,
                       [this] { Order(false); });
    objects->addSeparator();
    objects->addAction("&Cancel Placements", QKeySequence(Qt::Key_Escape), this,
                       &TLayoutDlg::CancelDrop);

    menus_ = {file, tools, objects};
    // The shortcuts work while the window has the focus, whichever menus the bar shows.
    for (QMenu* m : menus_)
        for (QAction* a : m->actions()) {
            if (a->menu())
                addActions(a->menu()->actions());
            else
                addAction(a);
        }
    for (QAction* a : actions())
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
}

QAction* TLayoutDlg::Action(const QString& caption) const {
    for (QMenu* m : menus_)
        for (QAction* a : m->findChildren<QAction*>() + m->actions())
            if (a->text() == caption)
                return a;
    for (QAction* a : actions())
        if (a->text() == caption)
            return a;
    return nullptr;
}

void TLayoutDlg::CreateView() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal);
    palette_ = new TPalettePanel(design_.Palette);
    palette_->OnToggled = [this] {
        picture_->update();
        picture_->setFocus();
    };
    splitter_->addWidget(palette_);

    auto* right = new QWidget;
    auto* rightColumn = new QVBoxLayout(right);
    rightColumn->setContentsMargins(0, 0, 0, 0);
    empty_ = new QLabel("No Page Layout is open.\n\nUse \"Open Layout...\" or \"New "
                        "Layout...\" of the File menu.");
    empty_->setTextFormat(Qt::PlainText);
    empty_->setAlignment(Qt::AlignCenter);
    rightColumn->addWidget(empty_);
    scroll_ = new QScrollArea;
    scroll_->setObjectName("DesignerArea");
    scroll_->setBackgroundRole(QPalette::Dark);
    surface_ = new QWidget;
    auto* grid = new QGridLayout(surface_);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    unitButton_ = new QToolButton;
    unitButton_->setObjectName("UnitButton");
    unitButton_->setFixedSize(TRuler::kThickness, TRuler::kThickness);
    unitButton_->setFocusPolicy(Qt::NoFocus);
    unitButton_->setToolTip("Measurement Units");
    connect(unitButton_, &QToolButton::clicked, this,
            [this] { SetUnit(catalogues_->Layouts.Designer.Unit == 1 ? 0 : 1); });
    hRuler_ = new TRuler(Qt::Horizontal);
    vRuler_ = new TRuler(Qt::Vertical);
    picture_ = new TPagePicture(design_);
    grid->addWidget(unitButton_, 0, 0);
    grid->addWidget(hRuler_, 0, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(vRuler_, 1, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(picture_, 1, 1, Qt::AlignLeft | Qt::AlignTop);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(2, 1);
    scroll_->setWidget(surface_);
    scroll_->setWidgetResizable(true);
    rightColumn->addWidget(scroll_, 1);
    splitter_->addWidget(right);
    splitter_->setStretchFactor(1, 1);
    splitter_->setCollapsible(0, false);
    column->addWidget(splitter_);

    picture_->OnBandClick = [this](int band, TPixelPoint p, bool shift) {
        BandClick(band, p, shift);
    };
    picture_->OnEdit = [this](TDesignCommand c) { Push(std::move(c)); };
    picture_->OnSelection = [this] {
        UpdateStatus();
        UpdateCommands();
    };
    picture_->OnDoubleClick = [this] { PropertyEditor(); };
    picture_->OnContextMenu = [this](const QPoint& at) {
        UpdateCommands();
        objectsMenu_->exec(at);
    };
    setFocusProxy(picture_);
    resize(900, 640);
}

void TLayoutDlg::ApplySettings() {
    const TDesignerSettings& s = catalogues_->Layouts.Designer;
    design_.Grid = {s.SnapToGrid, std::clamp(s.GridAcross, kMinGridSpacing, kMaxGridSpacing),
                    std::clamp(s.GridDown, kMinGridSpacing, kMaxGridSpacing)};
    design_.TextAlignment = s.TextAlignment;
    picture_->SetShowBorders(s.ShowBorders);
    hRuler_->setVisible(s.ShowRulers);
    vRuler_->setVisible(s.ShowRulers);
    unitButton_->setVisible(s.ShowRulers);
    hRuler_->SetUnits(s.Unit);
    vRuler_->SetUnits(s.Unit);
    unitButton_->setText(s.Unit == 1 ? "mm" : "in");
    Action("Show &Borders")->setChecked(s.ShowBorders);
    Action("Show &Rulers")->setChecked(s.ShowRulers);
    for (QAction* a : units_->actions())
        a->setChecked(a->data().toInt() == s.Unit);
    if (splitter_->sizes().value(0) != s.PaletteWidth)
        splitter_->setSizes(
            {std::max(60, s.PaletteWidth), std::max(300, width() - s.PaletteWidth)});
    picture_->update();
    UpdateStatus();
}

const TBookData* TLayoutDlg::Book() const {
    // The window it was opened from, when still open; else the first book open.
    const TBookData* first = nullptr;
    for (const TEventSource& s : Frame().EventSources()) {
        if (from_.Owner && s.Owner == from_.Owner)
            return s.Book;
        if (!first)
            first = s.Book;
    }
    return first;
}

const TDiaryData* TLayoutDlg::Diary() const {
    const TDiaryData* first = nullptr;
    for (const TEventSource& s : Frame().EventSources()) {
        if (from_.Owner && s.Owner == from_.Owner && s.Diary)
            return s.Diary;
        if (!first)
            first = s.Diary;
    }
    return first;
}

bool TLayoutDlg::OpenLayout(int number) {
    if (!AskToSave())
        return false;
    TLayout* layout = catalogues_->Layouts.ByNumber(number);
    if (!layout)
        return false;
    const TPaper* paper = catalogues_->Papers.ByNumber(layout->PaperNumber);
    if (!paper) {
        ShowMessage(mtAccessError, QString(kPaperGone).arg(ToQString(layout->NameText())), mkError,
                    mbOk);
        if (layout == layout_)
            layout_ = nullptr;
        catalogues_->DeleteLayout(layout);
        const TIoResult saved = catalogues_->SaveLayouts();
        if (!saved.Ok)
            ShowMessage(mtAccessError, SystemTextToQString(saved.Error), mkError, mbOk);
        ShowLayout();
        return false;
    }
    TLayoutObjects objects;
    const QString path = PathFromCore(catalogues_->ObjectFilePath(number));
    // A layout never saved has no object file yet; one that cannot be read opens nothing.
    if (QFileInfo::exists(path) && !catalogues_->ReadObjects(number, objects)) {
        ShowMessage(mtAccessError,
                    QString("The Objects of Page Layout \"%1\" could not be read from\n%2\n\nThe "
                            "file is damaged or of another format.")
                        .arg(ToQString(layout->NameText()), path),
                    mkError, mbOk);
        return false;
    }
    const TBookData* book = layout->Source == kSourceEntries ? Book() : nullptr;
    if (book)
        RefreshEntryCaptions(objects, *book);
    undo_.clear();
    const TScreenScale scale = design_.Scale;
    design_ = TDesignerPage();
    design_.Scale = scale;
    design_.Source = layout->Source;
    design_.Page.SetBands(*layout, *paper);
    design_.Page.Load(objects);
    dataPalette_ = DataPalette(layout->Source, book);
    layout_ = layout;
    ApplySettings();
    ShowLayout();
    picture_->setFocus();
    return true;
}

bool TLayoutDlg::CloseLayout() {
    if (!AskToSave())
        return false;
    undo_.clear();
    layout_ = nullptr;
    const TScreenScale scale = design_.Scale;
    design_ = TDesignerPage();
    design_.Scale = scale;
    ApplySettings();
    ShowLayout();
    return true;
}

bool TLayoutDlg::AskToSave() {
    if (!layout_ || !design_.AsksToSave())
        return true;
    switch (ShowMessage(mtDataLossPossible, kLayoutSaveQuestion, mkConfirmation, mbYesNoCancel)) {
    case mrYes:
        return SaveLayout();
    case mrNo:
        return true;
    default:
        return false;
    }
}

bool TLayoutDlg::SaveLayout() {
    if (!layout_)
        return true;
    const TLayout before = *layout_;
    design_.Page.StoreBands(*layout_);
    layout_->Headers = design_.Page.Headers;
    layout_->Footers = design_.Page.Footers;
    TIoResult saved = catalogues_->WriteObjects(layout_->Number, design_.Page.Objects());
    if (saved.Ok)
        saved = catalogues_->SaveLayouts();
    if (!saved.Ok) {
        // The list keeps what is on disk; the page keeps its changes, still to be saved.
        *layout_ = before;
        ShowMessage(mtAccessError,
                    QString("The Page Layout \"%1\" could not be saved.\n\n%2")
                        .arg(ToQString(layout_->NameText()), SystemTextToQString(saved.Error)),
                    mkError, mbOk);
        return false;
    }
    design_.Saved();
    UpdateCommands();
    return true;
}

void TLayoutDlg::ShowLayout() {
    const bool open = layout_ != nullptr;
    empty_->setVisible(!open);
    scroll_->setVisible(open);
    const TPaper* paper = open ? catalogues_->Papers.ByNumber(layout_->PaperNumber) : nullptr;
    if (open)
        palette_->SetPalettes(dataPalette_, ObjectPalette(layout_->Source));
    else
        palette_->SetPalettes({}, {});
    setWindowTitle(open ? QString("Page Designer - %1").arg(ToQString(layout_->NameText()))
                        : QString("Page Designer"));
    picture_->SetRepeat(paper && paper->Type == kPaperListing,
                        open ? layout_->PageControl : kAutomaticPages);
    picture_->SetMargins(open ? PrintableMargins() : QMargins());
    picture_->SetReturnAddress(catalogues_->Layouts.ReturnAddress.str());
    picture_->SetNow(Frame().Clock().Now());
    Action("Enable &Headers")->setChecked(design_.Page.Headers);
    Action("Enable &Footers")->setChecked(design_.Page.Footers);
    PageEdited();
}

QMargins TLayoutDlg::PrintableMargins() const {
    const TPaper* paper = catalogues_->Papers.ByNumber(layout_->PaperNumber);
    if (!paper || paper->Type == kPaperLabel)
        return {};
    QPrinter printer;
    const std::string named = layout_->Printer.str();
    if (!named.empty() && named != "<Default Printer>")
        printer.setPrinterName(ToQString(named));
    const bool landscape = paper->Type == kPaperListing && !layout_->Portrait;
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const TPrintDevice device = DeviceOfPrinter(printer);
    const TScreenScale& s = design_.Scale;
    return QMargins(s.ToPixelsX(device.LeftMargin), s.ToPixelsY(device.TopMargin),
                    s.ToPixelsX(device.LeftMargin), s.ToPixelsY(device.BottomMargin));
}

void TLayoutDlg::PageEdited() {
    picture_->PageChanged();
    hRuler_->SetScale(design_.Scale.DpiX, picture_->Zoom());
    vRuler_->SetScale(design_.Scale.DpiY, picture_->Zoom());
    hRuler_->SetStretches({{TPagePicture::kPad, picture_->SheetWidth(), 0}});
    vRuler_->SetStretches(picture_->VerticalStretches());
    UpdateStatus();
    UpdateCommands();
    // An undo can enable or disable a band again.
    if (QAction* a = Action("Enable &Headers"))
        a->setChecked(design_.Page.Headers);
    if (QAction* a = Action("Enable &Footers"))
        a->setChecked(design_.Page.Footers);
}

void TLayoutDlg::Push(TDesignCommand command) {
    if (!command.Changes()) {
        // Only a drag step back to where the drag began undoes the step before.
        const auto* top = dynamic_cast<const TDesignUndo*>(undo_.command(undo_.index() - 1));
        if (!(command.DragId && top && top->Command().DragId == command.DragId)) {
            PageEdited();
            return;
        }
    }
    undo_.push(new TDesignUndo(design_, std::move(command), [this] { PageEdited(); }));
}

void TLayoutDlg::BandClick(int band, TPixelPoint p, bool shift) {
    if (!layout_)
        return;
    const bool drop = design_.Palette.DropMode();
    const std::vector<TLayoutRecord>& shown = palette_->Shown();
    const TPixelSize size = NewObjectSize(design_.Palette.Pressed(shown));
    auto placed = design_.Click(band, p, shift, shown, size);
    if (drop)
        palette_->Refresh();
    if (placed) {
        // The new object is the selection.
        design_.Sets.Click(band, placed->After.Objects.front().Id, false);
        Push(std::move(*placed));
    }
    UpdateStatus();
    UpdateCommands();
}

TPixelSize TLayoutDlg::NewObjectSize(const std::vector<TLayoutRecord>& pressed) const {
    if (pressed.empty())
        return {kMinObjectPixels, kMinObjectPixels};
    const int kind = pressed.size() > 1 ? kBoxData : BoxBehaviour(pressed.front().Kind);
    switch (kind) {
    case kBoxVerticalLine:
        return {10, 80};
    case kBoxHorizontalLine:
        return {120, 10};
    case kBoxRectangle:
        return {120, 60};
    case kBoxGraphic:
        return {80, 80};
    default:
        break;
    }
    QFont font("Arial");
    font.setPointSize(8);
    const QFontMetrics fm(font, const_cast<TLayoutDlg*>(this));
    QStringList lines;
    if (kind == kBoxReturnAddress) {
        lines = ToQString(catalogues_->Layouts.ReturnAddress.str()).split("\r\n");
    } else if (BoxHasFormat(kind)) {
        lines << ToQString(PlacedSizingText(kind, Frame().Clock().Now()));
    } else if (kind == kBoxStaticText) {
        lines << ToQString(pressed.front().Caption);
    } else {
        QStringList fields;
        for (const TLayoutRecord& r : pressed)
            fields << "{" + ToQString(r.Caption) + "}";
        lines << fields.join(' ');
    }
    int width = 0;
    for (const QString& l : lines)
        width = std::max(width, fm.horizontalAdvance(l));
    return {width + 8, static_cast<int>(lines.size()) * fm.lineSpacing() + 4};
}

QString TLayoutDlg::StatusText() const {
    if (!layout_)
        return "No Page Layout is Open";
    return ToQString(StatusLineText(design_.Page, design_.Sets, design_.Scale,
                                    catalogues_->Layouts.Designer.Unit));
}

void TLayoutDlg::UpdateStatus() {
    if (Frame().ActiveChild() == this)
        if (QLabel* l = Frame().LayoutStatus())
            l->setText(" " + StatusText());
}

void TLayoutDlg::UpdateCommands() {
    const bool open = layout_ != nullptr;
    const bool selected = open && !design_.Sets.Selected().empty();
    bool text = false;
    for (int id : design_.Sets.Selected())
        if (const TLayoutBox* b = design_.Page.Box(id))
            text = text || CarriesText(*b);
    const bool listing = open && catalogues_->Papers.ByNumber(layout_->PaperNumber) &&
                         catalogues_->Papers.ByNumber(layout_->PaperNumber)->Type == kPaperListing;
    for (const char* c : {"&Close Layout", "&Save Layout", "Save Layout &as...", "&Preview...",
                          "Set Alignment Grid..."})
        Action(c)->setEnabled(open);
    Action("Enable &Headers")->setEnabled(listing);
    Action("Enable &Footers")->setEnabled(listing);
    for (const char* c : {"&Delete Objects", "&Left Edges", "&Right Edges", "&Tops", "&Bottoms",
                          "&Size...", "&Property Editor...", "Bring to &Front", "Send to &Back"})
        Action(c)->setEnabled(selected);
    Action("Change Text &Font...")->setEnabled(text);
}

void TLayoutDlg::Activated() {
    UpdateStatus();
    UpdateCommands();
}

bool TLayoutDlg::QueryClose() {
    return AskToSave();
}

void TLayoutDlg::CloseFile() {
    if (!catalogues_ || !ready_)
        return;
    TDesignerSettings& s = catalogues_->Layouts.Designer;
    s.PaletteWidth = splitter_->sizes().value(0, s.PaletteWidth);
    s.TextAlignment = design_.TextAlignment;
    const TIoResult saved = catalogues_->SaveLayouts();
    if (!saved.Ok)
        ShowMessage(mtAccessError,
                    QString("The list of Page Layouts could not be saved.\n\n%1")
                        .arg(SystemTextToQString(saved.Error)),
                    mkError, mbOk);
}

bool TLayoutDlg::RunCommand(const QString& hint) {
    for (const TToolCommand& c : kToolCommands)
        if (hint == c.Hint) {
            QAction* a = Action(c.Caption);
            if (a->isCheckable())
                a->toggle();
            else
                a->trigger();
            return true;
        }
    return false;
}

void TLayoutDlg::NewLayout() {
    if (!AskToSave())
        return;
    TLayout* made = tessaly::NewLayout(this, *catalogues_, SystemLayoutDialogEnv());
    if (!made)
        return;
    const TIoResult saved = catalogues_->SaveLayouts();
    if (!saved.Ok)
        ShowMessage(mtAccessError, SystemTextToQString(saved.Error), mkError, mbOk);
    design_.Saved(); // already asked
    OpenLayout(made->Number);
}

void TLayoutDlg::OpenLayoutChosen() {
    if (!AskToSave())
        return;
    const int number = tessaly::OpenLayout(this, *catalogues_);
    if (number == kNoNumber)
        return;
    design_.Saved(); // already asked
    OpenLayout(number);
}

void TLayoutDlg::SaveLayoutAs() {
    if (!layout_)
        return;
    TLayout* copy = tessaly::SaveLayoutAs(this, *catalogues_, *layout_);
    if (!copy)
        return;
    // The copy takes the page as it is now; the layout it came from stays as last saved.
    TLayout* original = layout_;
    layout_ = copy;
    if (!SaveLayout()) {
        layout_ = original;
        catalogues_->DeleteLayout(copy);
        return;
    }
    ShowLayout();
}

void TLayoutDlg::Maintenance() {
    const int current = layout_ ? layout_->Number : kNoNumber;
    const TLayoutMaintenance m =
        MaintainLayouts(this, *catalogues_, SystemLayoutDialogEnv(), current);
    if (m.Changed) {
        const TIoResult saved = catalogues_->SaveLayouts();
        if (!saved.Ok)
            ShowMessage(mtAccessError, SystemTextToQString(saved.Error), mkError, mbOk);
    }
    if (m.CurrentDeleted) {
        layout_ = nullptr;
        undo_.clear();
        const TScreenScale scale = design_.Scale;
        design_ = TDesignerPage();
        design_.Scale = scale;
        ApplySettings();
        ShowLayout();
    } else if (m.CurrentEdited && layout_) {
        // New paper, orientation or bands: the page is laid out again, objects kept.
        if (const TPaper* paper = catalogues_->Papers.ByNumber(layout_->PaperNumber)) {
            design_.Page.SetBands(*layout_, *paper);
            design_.Modified = true;
        }
        ShowLayout();
    }
    if (m.OpenNumber != kNoNumber)
        OpenLayout(m.OpenNumber);
}

void TLayoutDlg::PaperSetup() {
    MaintainPapers(this, *catalogues_, LocaleCountryCode());
    if (layout_)
        ShowLayout();
}

void TLayoutDlg::ReturnAddress() {
    if (EditReturnAddress(this, catalogues_->Layouts)) {
        picture_->SetReturnAddress(catalogues_->Layouts.ReturnAddress.str());
        picture_->update();
    }
}

void TLayoutDlg::Preview() {
    if (!layout_ || !SaveLayout())
        return;
    TQReport parameters;
    parameters.SetName("Print Wizard Generated");
    parameters.LayoutNumber = layout_->Number;
    parameters.LabelFill = kFillSheet;
    parameters.PromptStartingLabel = false;
    parameters.AllDates = true;
    parameters.FirstAddressOnly = true;
    parameters.IncludeCompleted = true;
    parameters.Copies = 1;
    TPrintSource source;
    if (layout_->Source == kSourceDiary) {
        source.Diary = Diary();
        parameters.Selection = kSelectDiary;
    } else if ((source.Book = Book())) {
        // The book window's index list and selected entry, for the choices that use them.
        for (const TChildWindow* child : Frame().Children()) {
            TEventSource held;
            if (child->EventSource(held) && held.Book == source.Book) {
                child->RecordsToPrint(source);
                break;
            }
        }
        parameters.Selection = kSelectListed;
        if (!AskBookSelection(this, "Preview Layout", parameters.Selection))
            return;
    }
    if (!source.Book && !source.Diary) {
        ShowMessage(mtFunctionNotSetUp,
                    layout_->Source == kSourceDiary
                        ? "There are no Diary Events to preview this Layout with.\n\nPlease open "
                          "a Diary first."
                        : "There are no Address Book Entries to preview this Layout with.\n\n"
                          "Please open an Address Book first.",
                    mkInformation, mbOk);
        return;
    }
    RunPrint(Frame(), this, parameters, source, true, false);
}

void TLayoutDlg::DeleteObjects() {
    if (design_.Sets.Selected().empty())
        return;
    TDesignCommand c = DeleteEdit(design_.Page, design_.Sets.Selected());
    design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::Align(TAlignEdge edge) {
    if (design_.Sets.Selected().empty())
        return;
    TDesignCommand c = AlignEdit(design_.Page, design_.Sets.Selected(), edge, design_.Scale);
    design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::AlignText(int alignment) {
    catalogues_->Layouts.Designer.TextAlignment = alignment;
    if (layout_)
        Push(design_.AlignText(alignment));
    design_.TextAlignment = alignment;
}

void TLayoutDlg::SizeObjects() {
    std::vector<TPixelRect> rects;
    for (int id : design_.Sets.Selected())
        if (const auto r = design_.Page.Pixels(id, design_.Scale))
            rects.push_back(*r);
    if (rects.empty())
        return;
    const TPixelRect frame = SelectionFrame(rects);
    TSizeDlg dialog({frame.Width, frame.Height}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    TDesignCommand c = SizeEdit(design_.Page, design_.Sets.Selected(), dialog.Width(),
                                dialog.Height(), design_.Scale);
    design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::ChangeFont() {
    const TLayoutBox* first = nullptr;
    for (int id : design_.Sets.Selected())
        if (const TLayoutBox* b = design_.Page.Box(id); b && CarriesText(*b) && !first)
            first = b;
    if (!first)
        return;
    QFont initial(ToQString(first->FontName));
    initial.setPointSize(std::max(1, first->FontSize));
    initial.setBold(first->FontStyle & 1);
    initial.setItalic(first->FontStyle & 2);
    initial.setUnderline(first->FontStyle & 4);
    initial.setStrikeOut(first->FontStyle & 8);
    QFontDialog dialog(initial, this);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle("Font");
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QFont f = dialog.selectedFont();
    TFontChoice choice;
    choice.Name = FromQString(f.family());
    choice.Size = std::max(1, f.pointSize());
    choice.Style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                   (f.strikeOut() ? 8 : 0);
    choice.Colour = first->FontColour;
    TDesignCommand c = FontEdit(design_.Page, design_.Sets.Selected(), choice);
    if (c.Changes())
        design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::PropertyEditor() {
    if (design_.Sets.Selected().empty() || !layout_)
        return;
    const int id = design_.Sets.Selected().front();
    const TLayoutBox* current = design_.Page.Box(id);
    if (!current)
        return;
    TLayoutBox box = *current;
    TBoxEditContext context;
    context.Source = layout_->Source;
    context.Fields = dataPalette_;
    context.Unit = catalogues_->Layouts.Designer.Unit;
    context.Paper = catalogues_->Papers.ByNumber(layout_->PaperNumber);
    context.ReturnAddress = &catalogues_->Layouts.ReturnAddress;
    context.Now = Frame().Clock().Now();
    if (!EditBoxProperties(this, box, context))
        return;
    picture_->SetReturnAddress(catalogues_->Layouts.ReturnAddress.str());
    TDesignCommand c = PropertiesEdit(design_.Page, id, std::move(box));
    if (c.Changes())
        design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::Order(bool toFront) {
    if (design_.Sets.Selected().empty())
        return;
    TDesignCommand c = OrderEdit(design_.Page, design_.Sets.Selected(), toFront);
    design_.Edited();
    Push(std::move(c));
}

void TLayoutDlg::SetGrid() {
    TGridDlg dialog(design_.Grid, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TGrid g = dialog.Grid();
    TDesignerSettings& s = catalogues_->Layouts.Designer;
    s.SnapToGrid = g.Enabled;
    s.GridAcross = g.Across;
    s.GridDown = g.Down;
    ApplySettings();
}

void TLayoutDlg::SetUnit(int unit) {
    catalogues_->Layouts.Designer.Unit = unit == 0 ? 0 : 1;
    ApplySettings();
}

void TLayoutDlg::ToggleBand(int band, bool on) {
    if (!layout_)
        return;
    if (!on && design_.Sets.Active == band)
        design_.Sets.ClickBand(kBandBody);
    design_.Modified = true;
    Push(BandsEdit(design_.Page, band, on));
}

void TLayoutDlg::Zoom(double factor) {
    picture_->SetZoom(factor == 0 ? 1.0 : picture_->Zoom() * factor);
    PageEdited();
}

void TLayoutDlg::CancelDrop() {
    design_.Palette.ReleaseAll();
    palette_->Refresh();
    picture_->update();
}

} // namespace tessaly
