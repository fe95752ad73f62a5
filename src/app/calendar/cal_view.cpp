#include "app/calendar/cal_view.h"

#include "app/alarms/view_event.h"
#include "app/book/reminder_icons.h"
#include "app/calendar/date_grids.h"
#include "app/calendar/day_calendar.h"
#include "app/widgets/column_fitter.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "core/diary/alarm_view.h"
#include "core/diary/calendar_grid.h"
#include "core/organise/entry_text.h"
#include "core/settings/window_placement.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// The "Reminders" page of the general options dialog.
constexpr int kRemindersOptionsPage = 2;
enum {
    kIconColumn,
    kPriorityColumn,
    kTimeColumn,
    kDescriptionColumn,
    kContactColumn,
    kAlarmColumn
};

const char* const kSortNames[] = {"&Priority", "&Time", "&Description"};

} // namespace

TCalView::TCalView(IFrame& frame) : TChildWindow(frame, TChildKind::Calendar, QString()) {
    setWindowTitle("Calendar View");
    options_ = LoadCalendarSettings(frame.Access());
    CreateControls();
    CreateMenus();
}

TCalView::~TCalView() = default;

void TCalView::CreateControls() {
    tabs_ = new QTabWidget;

    // Day: the day's header and small calendar beside the list of its events.
    auto* day = new QWidget;
    dayNumber_ = new QLabel;
    QFont big = dayNumber_->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    dayNumber_->setFont(big);
    dayNumber_->setAlignment(Qt::AlignCenter);
    monthYear_ = new QLabel;
    weekday_ = new QLabel;
    dayOfYear_ = new QLabel;
    for (QLabel* l : {monthYear_, weekday_, dayOfYear_})
        l->setAlignment(Qt::AlignCenter);
    calendar_ = new TDayCalendar;
    calendar_->SetHasEvents([this](TDateTime d) { return index_.HasEvents(d); });
    auto* left = new QVBoxLayout;
    left->addWidget(dayNumber_);
    left->addWidget(monthYear_);
    left->addWidget(weekday_);
    left->addWidget(dayOfYear_);
    left->addWidget(calendar_);
    left->addStretch();

    entriesLabel_ = new QLabel;
    list_ = new QTreeWidget;
    list_->setObjectName("DayList");
    list_->setColumnCount(6);
    list_->setHeaderLabels({"", "Prty", "Time", "Description", "Contact Name", ""});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    QHeaderView* h = list_->header();
    h->setStretchLastSection(false);
    for (int i = 0; i < 4; ++i)
        h->resizeSection(i, options_.Headers[static_cast<std::size_t>(i)]);
    h->setSectionResizeMode(kContactColumn, QHeaderView::Stretch);
    h->setSectionResizeMode(kAlarmColumn, QHeaderView::Fixed);
    h->resizeSection(kAlarmColumn, 20);
    // Priority, time and description show their kept widths when there is room, at
    // least their texts; the contact the rest. The image column keeps its width: it
    // decides whether the images are drawn.
    fitter_ = new TColumnFitter(list_, kPriorityColumn, kDescriptionColumn, [this](int column) {
        return options_.Headers[static_cast<std::size_t>(column)];
    });
    auto* right = new QVBoxLayout;
    right->addWidget(entriesLabel_);
    right->addWidget(list_, 1);

    auto* dayRow = new QHBoxLayout(day);
    dayRow->addLayout(left);
    dayRow->addLayout(right, 1);
    tabs_->addTab(day, "&Day");

    auto* monthPage = new QWidget;
    monthTitle_ = new QLabel;
    monthTitle_->setAlignment(Qt::AlignCenter);
    QFont title = monthTitle_->font();
    title.setBold(true);
    title.setPointSize(title.pointSize() + 2);
    monthTitle_->setFont(title);
    month_ = new TMonthGrid;
    month_->SetHasEvents([this](TDateTime d) { return index_.HasEvents(d); });
    month_->SetIcons(
        [this](TDateTime d) { return MonthCellIcons(index_.ItemsOn(d), Frame().EventSources()); });
    auto* mv = new QVBoxLayout(monthPage);
    mv->addWidget(monthTitle_);
    mv->addWidget(month_, 1);
    tabs_->addTab(monthPage, "&Month");

    year_ = new TYearGrid;
    year_->SetHasEvents([this](TDateTime d) { return index_.HasEvents(d); });
    tabs_->addTab(year_, "&Year");

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(2, 2, 2, 2);
    v->addWidget(tabs_);
    resize(450, 400);

    for (TDateGrid* grid : {static_cast<TDateGrid*>(month_), static_cast<TDateGrid*>(year_)}) {
        grid->SetFormats(Frame().Settings().FormatSettings);
        connect(grid, &TDateGrid::DayClicked, this, [this](TDateTime d) { SelectDate(d); });
        connect(grid, &TDateGrid::DayDoubleClicked, this, [this](TDateTime d) {
            SelectDate(d);
            tabs_->setCurrentIndex(kDayTab);
        });
    }
    // A double click on the month or year tab returns to the Day tab.
    connect(tabs_->tabBar(), &QTabBar::tabBarDoubleClicked, this, [this](int tab) {
        if (tab == kMonthTab || tab == kYearTab)
            tabs_->setCurrentIndex(kDayTab);
    });
    connect(calendar_, &QCalendarWidget::selectionChanged, this, [this] {
        if (!selecting_)
            SelectDate(DayOf(calendar_->selectedDate()));
    });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ViewEvent(); });
    connect(list_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { menu_->popup(list_->viewport()->mapToGlobal(p)); });
    connect(h, &QHeaderView::sectionResized, this, [this](int section) {
        if (section < 4 && !filling_ && !fitter_->Fitting())
            StoreHeaders();
    });
}

void TCalView::CreateMenus() {
    IFrame& f = Frame();
    // "&File" and "&Tools" stay the frame's.
    fileMenu_ = new QMenu("&File", this);
    fileMenu_->addActions(f.FileMenu()->actions());
    connect(fileMenu_, &QMenu::aboutToShow, f.Widget(), [frame = &f] { frame->RefreshFileMenu(); });
    toolsMenu_ = new QMenu("&Tools", this);
    for (QAction* a : f.Widget()->menuBar()->actions())
        if (a->menu() && a->text() == "&Tools")
            toolsMenu_->addActions(a->menu()->actions());

    menu_ = new QMenu("Re&minders", this);
    menu_->addAction("&View Event...", this, &TCalView::ViewEvent);
    menu_->addAction("G&o to Event...", this, &TCalView::GoToEvent);
    menu_->addSeparator();
    showAll_ = menu_->addAction("&Show Completed Events");
    showRecurring_ = menu_->addAction("Show &Future Recurring Events");
    showNotes_ = menu_->addAction("Show Event &Notes");
    const std::pair<QAction*, bool TCalendarSettings::*> toggles[] = {
        {showAll_, &TCalendarSettings::ShowAll},
        {showRecurring_, &TCalendarSettings::ShowRecurring},
        {showNotes_, &TCalendarSettings::ShowNotes}};
    for (const auto& toggle : toggles) {
        QAction* action = toggle.first;
        bool TCalendarSettings::*option = toggle.second;
        action->setCheckable(true);
        action->setChecked(options_.*option);
        connect(action, &QAction::triggered, this,
                [this, option](bool on) { SetOption(option, on); });
    }
    QMenu* sort = menu_->addMenu("Sort &by");
    auto* group = new QActionGroup(this);
    for (int order = 1; order <= 3; ++order) {
        QAction* a = sort->addAction(kSortNames[order - 1]);
        a->setCheckable(true);
        a->setChecked(options_.Sort == order);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, order] { SetSort(order); });
        sortActions_.append(a);
    }
    menu_->addSeparator();
    menu_->addAction("Select &Todays Date", this, [this] { SelectDate(Frame().Clock().Now()); });
    menu_->addAction("&Go to Date...", this, &TCalView::GoToDate);
    menu_->addAction("&Refresh Calendar", this, [this] { RebuildCalendar(nullptr, true); });
    menu_->addSeparator();
    menu_->addAction("Reminder Options...", this,
                     [this] { Frame().ShowOptions(kRemindersOptionsPage); });
}

QList<QMenu*> TCalView::WindowMenus() const {
    return {fileMenu_, toolsMenu_, menu_};
}

void TCalView::FirstShow() {
    if (shownOnce_)
        return;
    shownOnce_ = true;
    indexedYear_ = -1;
    const TWindowPlacement p =
        RestoreWindowPlacement(Frame().Access(), kCalendarSection, 15, 400, 450, 15);
    PlaceOnFirstShow(QRect(p.Left, p.Top, p.Width, p.Height),
                     p.State == TWindowState::Maximised   ? TFirstState::Maximised
                     : p.State == TWindowState::Minimised ? TFirstState::Minimised
                                                          : TFirstState::Normal);
    SelectDate(Frame().Clock().Now());
    tabs_->setCurrentIndex(options_.View);
}

// ---- the index -------------------------------------------------------------------------

void TCalView::RebuildAll() {
    THourGlass busy;
    index_.Build(Frame().EventSources(),
                 CalendarViewRange(indexedYear_, options_.ShowAll, options_.ShowRecurring));
}

void TCalView::RebuildCalendar(TChildWindow* window, bool include) {
    if (indexedYear_ < 0)
        return; // nothing indexed yet: the first selection builds it
    Frame().ShowProgress("Extracting Events. Please Wait....");
    rows_.clear();
    list_->clear();
    if (!window)
        RebuildAll();
    else if (include)
        index_.Rebuild(EventsOf(*window), true);
    else
        index_.Remove(window);
    Frame().ShowProgress(QString());
    RepaintCalendars();
    FillDayList();
}

void TCalView::SelectDate(TDateTime when) {
    const TDateTime day = DateOf(when);
    selected_ = day;
    const TFormatSettings& fs = Frame().Settings().FormatSettings;
    const TDateParts p = DecodeDate(day);
    dayNumber_->setText(QString::number(p.Day));
    monthYear_->setText(ToQString(FormatDateTime("mmmm yyyy", day, fs)));
    weekday_->setText(ToQString(FormatDateTime("dddd", day, fs)));
    dayOfYear_->setText(ToQString(DayOfYearText(day)));
    monthTitle_->setText(monthYear_->text());
    if (p.Year != indexedYear_) {
        indexedYear_ = p.Year;
        RebuildAll();
    }
    FillDayList();
    selecting_ = true;
    calendar_->setSelectedDate(QDateOf(day));
    selecting_ = false;
    RepaintCalendars();
}

void TCalView::RepaintCalendars() {
    const TDateTime today = Frame().Clock().Now();
    calendar_->SetToday(today);
    calendar_->Refresh();
    for (TDateGrid* grid : {static_cast<TDateGrid*>(month_), static_cast<TDateGrid*>(year_)}) {
        grid->SetToday(today);
        grid->SetSelected(selected_);
    }
}

int TCalView::RowHeight() const {
    const int text = list_->fontMetrics().boundingRect('W').height();
    return std::max(16, (options_.ShowNotes ? 2 * text : text) + 4);
}

void TCalView::FillDayList() {
    const std::vector<TEventSource> sources = Frame().EventSources();
    rows_ = index_.DayRows(selected_, sources, options_.Sort);
    const TSettings& s = Frame().Settings();
    const TDateTime today = DateOf(Frame().Clock().Now());
    const int iconWidth = list_->header()->sectionSize(kIconColumn);
    const int height = RowHeight();
    filling_ = true;
    list_->clear();
    for (const TDayRow& row : rows_) {
        const TReminders* r = ResolveEvent(sources, row.Item.Ref);
        if (!r)
            continue;
        auto* item = new QTreeWidgetItem;
        const std::string icon = RowIcon(*r, row.Item.Later, today, iconWidth);
        if (!icon.empty())
            item->setIcon(kIconColumn, ReminderIcon(ToQString(icon)));
        item->setData(kIconColumn, Qt::UserRole, ToQString(icon));
        item->setText(kPriorityColumn, QString::number(r->Priority));
        if (!r->NoTime)
            item->setText(kTimeColumn, ToQString(FormatDateTime("t", r->When, s.FormatSettings)));
        QString description = ToQString(TextValue(r->Description));
        if (options_.ShowNotes)
            description += "\n" + ToQString(TextValue(r->Notes));
        item->setText(kDescriptionColumn, description);
        if (const TRecord* entry = ResolveEntry(sources, row.Item.Ref))
            for (const TEventSource& src : sources)
                if (src.Owner == row.Item.Ref.Owner && src.Book)
                    item->setText(kContactColumn,
                                  ToQString(DisplayText(*entry, src.Book->IndexKeys)));
        if (RowShowsAlarm(*r))
            item->setIcon(kAlarmColumn, ReminderIcon("AlarmBMP"));
        item->setSizeHint(kIconColumn, QSize(-1, height));
        list_->addTopLevelItem(item);
    }
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
    fitter_->Fit();
    filling_ = false;
    ShowCounts();
}

void TCalView::ShowCounts() {
    const int count = static_cast<int>(rows_.size());
    entriesLabel_->setText(ToQString(EntriesForDateText(count)));
    IFrame& f = Frame();
    if (f.ActiveChild() != this)
        return;
    if (auto* text = f.Widget()->findChild<QLabel*>("CalendarText"))
        text->setText(ToQString(DayCountText(count, selected_, f.Settings().FormatSettings)));
    if (auto* days = f.Widget()->findChild<QLabel*>("CalendarDays"))
        days->setText(QString("%1 Days").arg(index_.DayCount()));
    if (auto* events = f.Widget()->findChild<QLabel*>("CalendarEvents"))
        events->setText(QString("%1 Events").arg(index_.EventCount()));
    for (const char* hint : {"View Event", "Go to Entry"})
        if (QToolButton* b = f.ToolButton(static_cast<int>(TChildKind::Calendar), hint))
            b->setEnabled(count > 0);
}

void TCalView::Activated() {
    ShowCounts();
}

void TCalView::ApplyScreenFont(const QFont& font) {
    setFont(font);
    FillDayList();
}

// ---- commands ------------------------------------------------------------------------------

const TDayRow* TCalView::SelectedRow() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[static_cast<std::size_t>(row)]
                                                            : nullptr;
}

TChildWindow* TCalView::OwnerWindow(const void* owner) const {
    for (TChildWindow* c : Frame().Children())
        if (c == owner)
            return c;
    return nullptr;
}

void TCalView::ViewEvent() {
    const TDayRow* row = SelectedRow();
    TChildWindow* owner = row ? OwnerWindow(row->Item.Ref.Owner) : nullptr;
    if (!owner)
        return;
    const TReminders* r = ResolveEvent(Frame().EventSources(), row->Item.Ref);
    if (r)
        ShowViewEventDialog(*owner, *r, this);
}

void TCalView::GoToEvent() {
    const TDayRow* row = SelectedRow();
    TChildWindow* owner = row ? OwnerWindow(row->Item.Ref.Owner) : nullptr;
    if (!owner)
        return;
    if (owner->Kind() == TChildKind::Book && owner->UpdateInProgress()) {
        ShowMessage(BookBeingUpdatedMessage(OwnerName(EventsOf(*owner))));
        return;
    }
    owner->ShowReminder(row->Item.Ref);
}

void TCalView::GoToDate() {
    auto* pick = new QCalendarWidget(this);
    pick->setWindowFlags(Qt::Popup);
    pick->setAttribute(Qt::WA_DeleteOnClose);
    pick->setObjectName("GoToDate");
    pick->setFirstDayOfWeek(Qt::Sunday);
    pick->setMinimumDate(QDate(1900, 1, 1));
    pick->setMaximumDate(QDate(2100, 12, 31));
    pick->setSelectedDate(QDateOf(selected_));
    connect(pick, &QCalendarWidget::clicked, this, [this, pick](QDate d) {
        pick->close();
        SelectDate(DayOf(d));
    });
    const QPoint mouse = QCursor::pos();
    const QRect screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->geometry()
                                                       : QRect(0, 0, 1024, 768);
    const TGridPoint at =
        DropDownPosition(TGridPoint{mouse.x(), mouse.y()}, screen.right(), screen.bottom());
    pick->move(at.X, at.Y);
    pick->show();
}

void TCalView::SetOption(bool TCalendarSettings::*option, bool on) {
    options_.*option = on;
    RebuildCalendar(nullptr, true);
}

void TCalView::SetSort(int order) {
    options_.Sort = order;
    RebuildCalendar(nullptr, true);
}

void TCalView::StoreHeaders() {
    std::array<int, 4> widths{};
    for (int i = 0; i < 4; ++i)
        widths[static_cast<std::size_t>(i)] = list_->header()->sectionSize(i);
    options_.Headers = widths;
    try {
        SaveCalendarHeaders(Frame().Access(), widths);
    } catch (const TSettingsWriteError&) {
        // Widths are a convenience; the next resize writes them again.
    }
}

bool TCalView::RunCommand(const QString& hint) {
    if (hint == "Go to Entry")
        GoToEvent();
    else if (hint == "View Event")
        ViewEvent();
    else if (hint == "Go to Todays Date")
        SelectDate(Frame().Clock().Now());
    else if (hint == "Go to Date")
        GoToDate();
    else if (hint == "Refresh Calendar")
        RebuildCalendar(nullptr, true);
    else if (hint == "Previous Month")
        SelectDate(AddMonthsClamped(selected_, -1));
    else if (hint == "Next Month")
        SelectDate(AddMonthsClamped(selected_, 1));
    else if (hint == "Previous Day")
        SelectDate(selected_ - 1);
    else if (hint == "Next Day")
        SelectDate(selected_ + 1);
    else
        return false;
    return true;
}

void TCalView::CloseFile() {
    options_.View = tabs_->currentIndex();
    TWindowPlacement p;
    if (QMdiSubWindow* sub = SubWindow()) {
        p.State = sub->isMaximized()   ? TWindowState::Maximised
                  : sub->isMinimized() ? TWindowState::Minimised
                                       : TWindowState::Normal;
        const QRect g = sub->geometry();
        p.Top = g.top();
        p.Left = g.left();
        p.Width = g.width();
        p.Height = g.height();
    }
    try {
        SaveCalendarOptions(Frame().Access(), options_);
        SaveWindowPlacement(Frame().Access(), kCalendarSection, p);
    } catch (const TSettingsWriteError& e) {
        ShowMessage(mtAccessError, SystemTextToQString(e.what()), mkError, mbOk);
    }
    indexedYear_ = -1;
    tabs_->setCurrentIndex(kDayTab);
    rows_.clear();
    list_->clear();
    index_ = TEventIndex();
}

} // namespace tessaly
