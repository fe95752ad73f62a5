#include "app/frame/main_form.h"

#include "app/alarms/alarm_dlg.h"
#include "app/book/book.h"
#include "app/calendar/cal_view.h"
#include "app/call_log/log_dlg.h"
#include "app/designer/layout_dlg.h"
#include "app/dial/dial_command.h"
#include "app/dial/modem_form.h"
#include "app/frame/about_box.h"
#include "app/frame/options_dialog.h"
#include "app/sync/server_sync.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "app/widgets/tool_icons.h"
#include "core/common/file_paths.h"
#include "core/diary/event_source.h"
#include "core/exchange/word_pro_file.h"
#include "core/frame/start_up.h"
#include "core/printing/preview_zoom.h"
#include "core/settings/config_files.h"
#include "core/settings/ini_migration.h"
#include "core/settings/open_files.h"
#include "core/system/notifier.h"
#include "core/telephony/telephony.h"
#include "platform/dbus_notifier.h"
#include "platform/desktop_shell.h"
#include "platform/locale_formats.h"
#include "platform/qt_text.h"
#include "platform/word_pro_desktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QWhatsThis>
#include <iostream>

namespace tessaly {

namespace {

const QStringList kToolHints[TMainForm::kToolPages] = {
    {"Context Help"},
    {"Close Address Book", "View the Calendar", "Print First Linked Quick Report|Quick Report:  ",
     "Print Second Linked Quick Report|Quick Report:  ", "Undo Last Update",
     "Define Index Keys for Entry", "Select Address Templates for Entry", "Add an Entry",
     "Update Entry", "Apply Update", "Cancel Update", "Delete Entry", "Insert to Word Processor",
     "Search", "Remove Search", "Dial Number", "Context Help"},
    {"Close the Calendar", "Go to Entry", "View Event", "Go to Todays Date", "Go to Date",
     "Refresh Calendar", "Previous Month", "Next Month", "Previous Day", "Next Day",
     "Context Help"},
    {"Close the Diary", "View the Calendar", "View Event", "Add an Event", "Update Event",
     "Acknowledge Event", "Delete Event",
     "Print Linked Quick Report|Quick Report:  ", "Go to Todays Date", "Go to Date",
     "Previous Month", "Next Month", "Previous Day", "Next Day", "Context Help"},
    {"Print the Preview Image", "First Page", "Previous Page", "Next Page", "Last Page",
     "Page Width", "Full Page", "<zoom>", "Return to Tessaly", "Context Help"},
    {"New Layout", "Open Layout", "Save Layout", "Close Layout", "Preview Layout",
     "Cancel Placements", "Align Left Edges", "Align Right Edges", "Align Tops", "Align Bottoms",
     "Align Text Left", "Centre Text", "Align Text Right", "Font", "Property Editor",
     "Delete Objects", "Toggle Borders", "Return to Tessaly", "Context Help"}};

// The short part of a hint, shown as the tool tip.
QString ShortHint(const QString& hint) {
    return hint.section('|', 0, 0);
}
QString LongHint(const QString& hint) {
    return hint.contains('|') ? hint.section('|', 1) : hint;
}

// Hints pop up in the program's pale yellow.
void SetHintColour() {
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE8));
    p.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(p);
}

// Tool tips are shown only while "Tooltips" is on.
class TTooltipFilter : public QObject {
public:
    explicit TTooltipFilter(const TSettings& s, QObject* parent) : QObject(parent), s_(s) {}
    bool eventFilter(QObject*, QEvent* e) override {
        return e->type() == QEvent::ToolTip && !s_.Tooltips;
    }

private:
    const TSettings& s_;
};

// Double clicks on status panels go to the window of that page.
class TDoubleClickFilter : public QObject {
public:
    TDoubleClickFilter(std::function<void()> action, QObject* parent)
        : QObject(parent), action_(std::move(action)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonDblClick) {
            action_();
            return true;
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

TMainForm::TMainForm(TAppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context), access_(*context.Store) {
    setWindowTitle("Tessaly");
    setWindowIcon(QIcon(TAboutBox::Picture(32)));
    mdi_ = new QMdiArea;
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        TimerTick();
        auto* child = sub ? qobject_cast<TChildWindow*>(sub->widget()) : nullptr;
        MergeChildMenus(child);
        if (child)
            child->Activated();
    });

    const std::string configDir = PathToCore(context_.ConfigDirectory);
    try {
        MigrateIniSettings(access_, PathToCore(context_.IniPath()));
        if (access_.ReadInteger("Important", "Do Not Delete", 0) == 0) {
            const TMoveResult moved = MoveConfigFiles(
                configDir, PathToCore(context_.ProgramDirectory), PathToCore(context_.ProgramName));
            if (moved.Success)
                access_.WriteInteger("Important", "Do Not Delete", 1);
        }
    } catch (const TSettingsWriteError& e) {
        ReportSettingsError(e, false);
    }
    settings_ = LoadSettings(access_, configDir);
    settings_.FormatSettings = LocaleFormats(QLocale::system());

    SetHintColour();
    qApp->installEventFilter(new TTooltipFilter(settings_, this));

    versionText_ = ToQString(
        MakeVersionText(FromQString(context_.ProductVersion), FromQString(context_.FileVersion)));
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    UpdateLinkHints();
    versionPanel_->setText(QString(" Tessaly - %1").arg(versionText_));

    const TWindowPlacement p = RestoreWindowPlacement(access_, "Main Window", 50, 562, 584, 50);
    setGeometry(p.Left, p.Top, p.Width, p.Height);
    font_ = RestoreFont(access_, "Font");
    ApplyScreenFont(font_);

    if (!context_.SyncNetwork)
        ownSyncNetwork_ = std::make_unique<TDesktopSyncNetwork>();
    serverSync_ = std::make_unique<TServerSync>(
        context_.SyncNetwork ? *context_.SyncNetwork : *ownSyncNetwork_, access_,
        [this] { return settings_.StoreSettings(); });
    connect(serverSync_.get(), &TServerSync::AutomaticRoundEnded, this,
            [this](const QString& book, const TSyncResult& result) {
                const QString name = QFileInfo(book).fileName();
                statusBar()->showMessage(
                    result.Ok ? QString("%1 synchronised: %2")
                                    .arg(name, SyncResultLine(result).replace('\n', "; "))
                              : QString("The sync of %1 stopped: %2")
                                    .arg(name, QString::fromStdString(result.Failure)),
                    15000);
            });

    timer_ = new QTimer(this);
    timer_->setInterval(250);
    connect(timer_, &QTimer::timeout, this, &TMainForm::TimerTick);
    timer_->start();
    alarm_ = std::make_unique<TAlarmDlg>(*this);
    log_ = std::make_unique<TLogDlg>(*this);
    LoadWordProcessorList();
}

TMainForm::~TMainForm() {
    // Children closing with the frame must not reach its menus, already gone.
    disconnect(mdi_, &QMdiArea::subWindowActivated, this, nullptr);
    // Nor the alarm window, which goes first.
    timer_->stop();
    // Rounds still running with servers are stopped and waited for.
    serverSync_.reset();
    for (TChildWindow* c : Children())
        c->disconnect(this);
}

void TMainForm::CreateMenus() {
    fileMenu_ = menuBar()->addMenu("&File");
    fileMenu_->addAction("Ne&w Address Book...", this, &TMainForm::FileNewBook);
    fileMenu_->addAction("&Open Address Book...", this, &TMainForm::FileOpenBook);
    fileMenu_->addAction("&New Diary...", this, &TMainForm::FileNewDiary);
    fileMenu_->addAction("Op&en Diary...", this, &TMainForm::FileOpenDiary);
    QMenu* reopen = fileMenu_->addMenu("&Reopen");
    for (int i = 0; i < TReopenList::kSlots; ++i) {
        reopenActions_[i] = reopen->addAction(QString("&%1 - ").arg(i + 1));
        connect(reopenActions_[i], &QAction::triggered, this, [this, i] { ReopenFile(i); });
    }
    closeAction_ = fileMenu_->addAction("&Close", this, [this] {
        if (QMdiSubWindow* sub = mdi_->currentSubWindow())
            sub->close();
    });
    fileMenu_->addSeparator();
    fileMenu_->addAction("Page &Designer...", this, [this] { ShowDesigner(nullptr); });
    fileMenu_->addSeparator();
    fileMenu_->addAction("E&xit", this, &QWidget::close);
    connect(fileMenu_, &QMenu::aboutToShow, this, &TMainForm::RefreshFileMenu);
    connect(reopen, &QMenu::aboutToShow, this, &TMainForm::RefreshFileMenu);

    QMenu* tools = toolsMenu_ = menuBar()->addMenu("&Tools");
    tools->addAction("&Change Screen Font....", this, &TMainForm::ChangeScreenFont);
    tools->addAction("Configure &Modem....", this, [this] {
        auto line = MakeTelephony(access_);
        TModemForm form(access_, line.get(), this);
        form.exec();
    });
    tools->addAction("&Options...", this, [this] { ShowOptions(0); });

    QMenu* window = menuBar()->addMenu("&Window");
    window->addAction("&Cascade", mdi_, &QMdiArea::cascadeSubWindows);
    window->addAction("&Tile", mdi_, &QMdiArea::tileSubWindows);
    window->addAction("Arrange &Icons", this, &TMainForm::ArrangeIcons);
    window->addAction("Close &All", this, &TMainForm::CloseAll);
    // The list of child windows follows, as the window system would append it.
    auto* windowsSeparator = window->addSeparator();
    connect(window, &QMenu::aboutToShow, this, [this, window, windowsSeparator] {
        const auto actions = window->actions();
        for (int i = actions.indexOf(windowsSeparator) + 1; i < actions.size(); ++i)
            window->removeAction(actions[i]), actions[i]->deleteLater();
        int n = 0;
        for (QMdiSubWindow* sub : mdi_->subWindowList()) {
            QAction* a = window->addAction(QString("&%1 %2").arg(++n).arg(sub->windowTitle()));
            a->setCheckable(true);
            a->setChecked(sub == mdi_->currentSubWindow());
            connect(a, &QAction::triggered, this, [this, sub] { mdi_->setActiveSubWindow(sub); });
        }
    });

    QMenu* help = menuBar()->addMenu("&Help");
    // The help manager is not part of this program yet.
    help->addAction("Need Help ?")->setEnabled(false);
    help->addAction("&About Tessaly...", this, &TMainForm::ShowAbout);
}

void TMainForm::MergeChildMenus(TChildWindow* child) {
    for (const QPointer<QAction>& a : mergedMenus_)
        if (a)
            menuBar()->removeAction(a);
    mergedMenus_.clear();
    const QList<QMenu*> menus = child ? child->WindowMenus() : QList<QMenu*>();
    fileMenu_->menuAction()->setVisible(menus.isEmpty());
    toolsMenu_->menuAction()->setVisible(menus.isEmpty());
    QAction* before = toolsMenu_->menuAction();
    for (QMenu* m : menus) {
        menuBar()->insertMenu(before, m);
        mergedMenus_.append(m->menuAction());
    }
}

QWidget* TMainForm::CreateToolPage(int page, const QStringList& hints) {
    auto* w = new QWidget;
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    for (const QString& hint : hints) {
        if (hint == "<zoom>") {
            zoomBox_ = new QComboBox;
            for (const char* choice : kZoomChoices)
                zoomBox_->addItem(choice);
            zoomBox_->setCurrentText("100%");
            zoomBox_->setObjectName("Zoom");
            connect(zoomBox_, &QComboBox::textActivated, this,
                    [this, page](const QString& choice) { ForwardCommand(page, choice); });
            row->addWidget(zoomBox_);
            continue;
        }
        auto* b = new QToolButton;
        b->setObjectName(ShortHint(hint));
        b->setIcon(ToolIcon(ShortHint(hint)));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(true);
        b->setToolTip(ShortHint(hint));
        b->setStatusTip(LongHint(hint));
        const QString name = ShortHint(hint);
        if (name == "Context Help")
            connect(b, &QToolButton::clicked, this, [] { QWhatsThis::enterWhatsThisMode(); });
        else
            connect(b, &QToolButton::clicked, this,
                    [this, page, name] { ForwardCommand(page, name); });
        if (hint.contains("Linked Quick Report"))
            linkButtons_.append(b);
        row->addWidget(b);
    }
    row->addStretch();
    return w;
}

void TMainForm::CreateToolBar() {
    QToolBar* bar = addToolBar("Tool Bar");
    bar->setObjectName("ToolBar");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    // The two buttons present whatever the page.
    for (const auto& [hint, slot] :
         {std::pair<QString, void (TMainForm::*)()>{"Create Address Book", &TMainForm::FileNewBook},
          {"Open Address Book", &TMainForm::FileOpenBook}}) {
        auto* b = new QToolButton;
        b->setObjectName(hint);
        b->setIcon(ToolIcon(hint));
        b->setIconSize(QSize(20, 20));
        b->setAutoRaise(true);
        b->setToolTip(hint);
        b->setStatusTip(hint);
        connect(b, &QToolButton::clicked, this, slot);
        bar->addWidget(b);
    }
    bar->addSeparator();
    toolPages_ = new QStackedWidget;
    toolPages_->setObjectName("ToolbarPages");
    for (int page = 0; page < kToolPages; ++page)
        toolPages_->addWidget(CreateToolPage(page, kToolHints[page]));
    toolPages_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The notebook is as wide as the page shown, not as its widest page.
    const auto fitPage = [this](int current) {
        for (int i = 0; i < toolPages_->count(); ++i)
            toolPages_->widget(i)->setSizePolicy(i == current ? QSizePolicy::Preferred
                                                              : QSizePolicy::Ignored,
                                                 QSizePolicy::Preferred);
        toolPages_->updateGeometry();
    };
    connect(toolPages_, &QStackedWidget::currentChanged, this, fitPage);
    fitPage(0);
    bar->addWidget(toolPages_);
}

void TMainForm::CreateStatusBar() {
    statusPages_ = new QStackedWidget;
    statusPages_->setObjectName("StatusBarPages");
    const auto panel = [](const QString& text = QString()) {
        auto* l = new QLabel(text);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        return l;
    };
    const auto page = [&](std::initializer_list<QWidget*> widgets, int stretchIndex) {
        auto* w = new QWidget;
        auto* row = new QHBoxLayout(w);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(2);
        int i = 0;
        for (QWidget* x : widgets)
            row->addWidget(x, i++ == stretchIndex ? 1 : 0);
        statusPages_->addWidget(w);
    };
    const auto indicator = [&](const QString& hint, const QString& glyph, const QString& command,
                               TChildKind kind) {
        QLabel* l = panel();
        l->setPixmap(ToolIcon(glyph).pixmap(16, 16));
        l->setToolTip(hint);
        l->setObjectName(hint);
        l->setVisible(false);
        l->installEventFilter(new TDoubleClickFilter(
            [this, command, kind] {
                TChildWindow* c = ActiveChild();
                if (c && c->Kind() == kind)
                    c->RunCommand(command);
            },
            l));
        return l;
    };

    versionPanel_ = panel();
    page({versionPanel_}, 0);

    entryCounter_ = panel("0 of 0");
    entryCounter_->setMinimumWidth(90);
    searchIndicator_ = panel("All Entries");
    searchIndicator_->installEventFilter(new TDoubleClickFilter(
        [this] {
            TChildWindow* c = ActiveChild();
            if (c && c->Kind() == TChildKind::Book)
                c->RunCommand("Re-apply Search");
        },
        searchIndicator_));
    infoLabel_ = panel();
    infoLabel_->setAlignment(Qt::AlignCenter);
    page({entryCounter_, searchIndicator_,
          indicator("Entry has Notes", "Notes", "Show Notes", TChildKind::Book),
          indicator("Entry has Reminders", "Reminders", "Show Reminders", TChildKind::Book),
          indicator("Address Book has been Modified", "Modified", "Save", TChildKind::Book),
          infoLabel_},
         5);
    const auto named = [](QLabel* l, const char* name) {
        l->setObjectName(name);
        return l;
    };
    page({named(panel("0 Days"), "CalendarDays"), named(panel("0 Events"), "CalendarEvents"),
          named(panel(), "CalendarText")},
         2);
    diaryText_ = panel();
    page({indicator("Diary has been Modified", "Modified", "Save", TChildKind::Diary), diaryText_},
         1);
    page({panel()}, 0);
    layoutStatus_ = named(panel(), "LayoutStatus");
    page({layoutStatus_}, 0);
    progressLabel_ = panel();
    page({progressLabel_}, 0);
    hintLabel_ = panel();
    page({hintLabel_}, 0);
    statusBar()->addWidget(statusPages_, 1);
    statusBar()->setSizeGripEnabled(true);
}

void TMainForm::UpdateLinkHints() {
    // Book page: the first and second link; diary page: the third.
    for (int i = 0; i < linkButtons_.size() && i < 3; ++i) {
        const QString name = ToQString(settings_.ReportLinks[static_cast<std::size_t>(i)]);
        linkButtons_[i]->setStatusTip("Quick Report:  " + name);
    }
}

QToolButton* TMainForm::ToolButton(int page, const QString& hint) const {
    if (page < 0 || page >= kToolPages)
        return nullptr;
    return toolPages_->widget(page)->findChild<QToolButton*>(hint);
}

int TMainForm::ToolbarPage() const {
    return toolPages_->currentIndex();
}

int TMainForm::StatusPage() const {
    return statusPages_->currentIndex();
}

void TMainForm::ShowToolPage(int page) {
    if (toolPages_->currentIndex() == page)
        return;
    toolPages_->setCurrentIndex(page);
    if (statusPages_->currentIndex() != kHintPage && statusPages_->currentIndex() != kProgressPage)
        statusPages_->setCurrentIndex(page);
}

void TMainForm::ShowProgress(const QString& text) {
    if (text.isEmpty()) {
        statusPages_->setCurrentIndex(ToolbarPage());
        return;
    }
    progressLabel_->setText(text);
    statusPages_->setCurrentIndex(kProgressPage);
    statusPages_->repaint();
}

bool TMainForm::event(QEvent* e) {
    if (e->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        if (!tip.isEmpty()) {
            hintLabel_->setText(" " + tip);
            statusPages_->setCurrentIndex(kHintPage);
        } else if (statusPages_->currentIndex() == kHintPage) {
            statusPages_->setCurrentIndex(ToolbarPage());
        }
        return true;
    }
    return QMainWindow::event(e);
}

void TMainForm::ForwardCommand(int page, const QString& hint) {
    TChildWindow* child = ActiveChild();
    if (!child || static_cast<int>(child->Kind()) != page)
        return;
    if (hint == "View the Calendar") {
        ShowCalendar();
        return;
    }
    if (child->RunCommand(hint))
        return;
    // Closing needs nothing of the window but its close.
    if (hint.startsWith("Close ") || hint == "Return to Tessaly")
        child->SubWindow()->close();
}

QList<TChildWindow*> TMainForm::Children() const {
    QList<TChildWindow*> list;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder))
        if (auto* c = qobject_cast<TChildWindow*>(sub->widget()))
            list.append(c);
    return list;
}

TChildWindow* TMainForm::ActiveChild() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    return sub ? qobject_cast<TChildWindow*>(sub->widget()) : nullptr;
}

void TMainForm::TimerTick() {
    TChildWindow* active = ActiveChild();
    ShowToolPage(active ? static_cast<int>(active->Kind()) : 0);
    if (log_)
        log_->Tick();

    const bool modal = QApplication::activeModalWidget() != nullptr;
    const bool frameFocused = QApplication::activeWindow() == this;
    // While another program is active the window that had the focus last counts.
    QWidget* focused = QApplication::activeWindow();
    if (focused)
        lastFocused_ = focused;
    else
        focused = lastFocused_;
    const bool alarmFocused = alarm_ && focused == alarm_.get();
    TTickState state;
    state.AppActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    state.FocusOnFileWindow =
        !modal && frameFocused && active &&
        (active->Kind() == TChildKind::Book || active->Kind() == TChildKind::Diary);
    state.FocusAllowsScan = !modal && ((focused == this && active) || alarmFocused);
    state.ModalOpen = modal;
    const TTickActions a = schedule_.Tick(clock_->Now(), settings_, state);
    if (a.SyncWithServers && !shuttingDown_)
        serverSync_->SyncAutomaticBooks([this](const QString& path) -> TBook* {
            for (TChildWindow* c : Children())
                if (auto* book = qobject_cast<TBook*>(c);
                    book && SamePath(PathToCore(book->FilePath()), PathToCore(path)))
                    return book;
            return nullptr;
        });
    if (a.Synchronise)
        for (TChildWindow* c : Children())
            if (c->Kind() == TChildKind::Book || c->Kind() == TChildKind::Diary)
                c->Synchronise();
    if (a.ScanReminders) {
        if (OnReminderScan)
            OnReminderScan();
        else if (alarm_)
            alarm_->PeriodicScan();
    }
}

void TMainForm::StartCallLog(TChildWindow& book, const std::string& number) {
    if (auto* b = qobject_cast<TBook*>(&book); b && log_)
        log_->StartCallLog(*b, number);
}

bool TMainForm::LoggingCallFor(const TChildWindow* book) const {
    return log_ && log_->LoggingFor(book);
}

IWordProDesktop& TMainForm::WordProDesktop() {
    if (context_.WordProDesktop)
        return *context_.WordProDesktop;
    if (!ownWordProDesktop_)
        ownWordProDesktop_ = std::make_unique<TDesktopWordPro>();
    return *ownWordProDesktop_;
}

void TMainForm::LoadWordProcessorList() {
    wordPros_ = std::make_unique<TWordProList>(
        LoadWordProcessors(settings_.StoreSettings().ConfigFile(".TPW")));
}

bool TMainForm::SaveWordProcessorList(std::string& error) {
    const TIoResult saved =
        SaveWordProcessors(settings_.StoreSettings().ConfigFile(".TPW"), *wordPros_);
    error = saved.Error;
    return saved.Ok;
}

std::vector<TEventSource> TMainForm::EventSources(const TChildWindow* except) const {
    std::vector<TEventSource> sources;
    for (TChildWindow* c : Children()) {
        if (c == except || (c->Kind() != TChildKind::Book && c->Kind() != TChildKind::Diary))
            continue;
        const TEventSource s = EventsOf(*c);
        if (s.Book || s.Diary)
            sources.push_back(s);
    }
    return sources;
}

void TMainForm::EventsChanged(TChildWindow* owner, bool include) {
    if (TCalView* cal = CalendarView())
        cal->RebuildCalendar(owner, include);
    if (!alarm_)
        return;
    if (include)
        alarm_->RescanAlarms(owner);
    else
        alarm_->OwnerClosing(owner);
}

TCalView* TMainForm::CalendarView() const {
    for (TChildWindow* c : Children())
        if (c->Kind() == TChildKind::Calendar)
            return qobject_cast<TCalView*>(c);
    return nullptr;
}

TLayoutDlg* TMainForm::ShowDesigner(TChildWindow* from) {
    for (TChildWindow* c : Children())
        if (c->Kind() == TChildKind::Layout) {
            c->Activate();
            return dynamic_cast<TLayoutDlg*>(c);
        }
    auto* designer = new TLayoutDlg(*this, from ? EventsOf(*from) : TEventSource());
    if (!designer->Ready()) {
        delete designer;
        return nullptr;
    }
    AddChild(designer);
    designer->SubWindow()->showMaximized();
    designer->Activated();
    return designer;
}

TCalView* TMainForm::ShowCalendar() {
    if (TCalView* open = CalendarView()) {
        open->Activate();
        return open;
    }
    auto* cal = new TCalView(*this);
    AddChild(cal);
    cal->FirstShow();
    return cal;
}

INotifier& TMainForm::Notifier() {
    if (context_.Notifier)
        return *context_.Notifier;
    if (!ownNotifier_)
        ownNotifier_ = std::make_unique<TDBusNotifier>();
    return *ownNotifier_;
}

void TMainForm::ApplyScreenFont(const TFontSetting& f) {
    font_ = f;
    QFont qf(ToQString(f.Name), f.Size);
    qf.setBold(f.Bold);
    qf.setItalic(f.Italic);
    qf.setUnderline(f.Underline);
    qf.setStrikeOut(f.StrikeOut);
    setFont(qf);
    for (TChildWindow* c : Children())
        c->ApplyScreenFont(qf);
}

void TMainForm::ChangeScreenFont() {
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, font(), this, "Font");
    if (!ok)
        return;
    THourGlass busy;
    TFontSetting f = font_;
    f.Name = FromQString(chosen.family());
    // The dialog of the original offered 8 to 12 points only.
    f.Size = std::clamp(chosen.pointSize(), 8, 12);
    f.Bold = chosen.bold();
    f.Italic = chosen.italic();
    f.Underline = chosen.underline();
    f.StrikeOut = chosen.strikeOut();
    f.Color = 0; // the system colour for window text
    ApplyScreenFont(f);
}

void TMainForm::ShowOptions(int page) {
    TOptionsDlg dlg(*this, page);
    if (dlg.exec() != QDialog::Accepted)
        return;
    UpdateLinkHints();
    for (TChildWindow* c : Children())
        c->ApplyDisplaySettings();
}

void TMainForm::CloseAll() {
    for (TChildWindow* c : Children())
        if (c->SubWindow() && !c->SubWindow()->close())
            break;
}

void TMainForm::ArrangeIcons() {
    // Minimised windows in a row along the bottom of the work area.
    int x = 0;
    for (QMdiSubWindow* sub : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, mdi_->viewport()->height() - sub->height());
        x += sub->width();
    }
}

void TMainForm::ShowAbout() {
    TAboutBox box(versionText_, false, this);
    box.exec();
}

void TMainForm::ReportSettingsError(const std::exception& e, bool quietly) {
    if (quietly) {
        std::cerr << "tessaly: " << e.what() << '\n';
        return;
    }
    ShowMessage(mtAccessError, SystemTextToQString(e.what()), mkError, mbOk);
}

IDesktop& TMainForm::Desktop() {
    if (context_.Desktop)
        return *context_.Desktop;
    if (!ownDesktop_)
        ownDesktop_ = std::make_unique<TDesktopShell>();
    return *ownDesktop_;
}

std::string TMainForm::BrowserPath() {
    // The configured browser wins, also when the options dialog changed it this run.
    const std::string configured = access_.ReadString("Internet", "Browser", "");
    if (!configured.empty())
        return configured;
    if (!defaultBrowser_)
        defaultBrowser_ = FindDefaultBrowser();
    return *defaultBrowser_;
}

} // namespace tessaly
