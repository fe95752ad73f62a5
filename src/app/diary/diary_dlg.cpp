#include "app/diary/diary_dlg.h"

#include "app/diary/diary_day_list.h"
#include "app/diary/diary_info_dlg.h"
#include "app/printing/print_command.h"
#include "app/reminders/acknowledge_dlg.h"
#include "app/reminders/delete_reminder_dlg.h"
#include "app/reminders/reminder_dlg.h"
#include "app/reminders/view_event_dlg.h"
#include "app/widgets/column_fitter.h"
#include "app/widgets/frame.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "app/widgets/save_as_file.h"
#include "core/diary/diary_state.h"
#include "core/diary/event_index.h"
#include "core/diary/reminder_actions.h"
#include "core/diary/reminder_form.h"
#include "core/printing/report_links.h"
#include "core/settings/settings.h"
#include "core/system/file_attributes.h"
#include "platform/qt_text.h"

#include <QActionGroup>
#include <QApplication>
#include <QCalendarWidget>
#include <QCursor>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessaly {

namespace {

QDate ToQDate(TDateTime t) {
    const TDateParts p = DecodeDate(t);
    return QDate(p.Year, p.Month, p.Day);
}

TDateTime FromQDate(const QDate& d) {
    return EncodeDate(d.year(), d.month(), d.day());
}

const QDate kFirstDate(1900, 1, 1);
const QDate kLastDate(2100, 12, 31);

// The first part of a message that ends with a question for the closing window.
QString WithoutQuestion(const std::string& message) {
    return SystemTextToQString(message).section("\n\n", 0, 0);
}

} // namespace

std::function<QString(QWidget*, const QString&, const QString&)> TDiaryDlg::SaveAsChooser =
    [](QWidget* parent, const QString& directory, const QString& current) {
        return ChooseSaveAsFile(parent, "Save Diary As", directory,
                                "Diary Files (*.TDY *.tdy);;All Files (*)", "TDY", current);
    };

TDiaryDlg::TDiaryDlg(IFrame& frame, const QString& path, bool mustExist, bool readOnly,
                     const IClock& clock)
    : TChildWindow(frame, TChildKind::Diary, path), clock_(clock), openedReadOnly_(readOnly) {
    THourGlass busy;
    if (mustExist) {
        frame.ShowProgress(" Loading Diary...");
        TDiaryLoad loaded = LoadDiary(PathToCore(path));
        frame.ShowProgress(QString());
        if (!loaded.Diary) {
            ShowMessage(mtAccessError, SystemTextToQString(loaded.Message), mkError, mbOk);
            return;
        }
        diary_ = std::move(loaded.Diary);
    } else {
        // A new diary is written at once, so that its file exists from now on.
        diary_ = NewDiary(PathToCore(path), clock_);
        const TDiarySave saved = SaveDiary(*diary_, false, frame.Settings().StoreSettings());
        if (!saved.Ok) {
            ShowMessage(mtAccessError,
                        QString("Diary %1 could not be created.\n\n%2")
                            .arg(path, SystemTextToQString(saved.Error)),
                        mkError, mbOk);
            diary_.reset();
            return;
        }
    }
    diary_->FileName = PathToCore(path);
    RecordFileTime();
    CreateControls();
    CreateMenus();
    ApplyLock(true);
    const auto& b = diary_->WindowBounds;
    resize(std::max(300, b[2] - b[0]), std::max(240, b[3] - b[1]));
    SelectDate(DateOf(clock_.Now()));
}

TDiaryDlg::~TDiaryDlg() = default;

const TSettings& TDiaryDlg::Settings() const {
    return Frame().Settings();
}

QString TDiaryDlg::OwnerName() const {
    return QFileInfo(FilePath()).fileName().toUpper();
}

void TDiaryDlg::RecordFileTime() {
    if (diary_)
        fileTime_ = FileModificationTime(diary_->FileName);
}

// ---- controls -----------------------------------------------------------------------

void TDiaryDlg::CreateControls() {
    // The selected day: its number large, the month and year, the weekday, the day
    // of the year; the month calendar under it.
    dayNumber_ = new QLabel;
    dayNumber_->setObjectName("DayNumber");
    dayNumber_->setAlignment(Qt::AlignCenter);
    QFont big = dayNumber_->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    dayNumber_->setFont(big);
    monthYear_ = new QLabel;
    monthYear_->setObjectName("MonthYear");
    weekday_ = new QLabel;
    weekday_->setObjectName("Weekday");
    dayOfYear_ = new QLabel;
    dayOfYear_->setObjectName("DayOfYear");
    for (QLabel* l : {monthYear_, weekday_, dayOfYear_})
        l->setAlignment(Qt::AlignCenter);

    calendar_ = new QCalendarWidget;
    calendar_->setObjectName("MonthCalendar");
    calendar_->setDateRange(kFirstDate, kLastDate);
    calendar_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar_->setFirstDayOfWeek(Qt::Sunday);
    calendar_->setGridVisible(true);
    // Red marks the days with events, so weekends are drawn like the other days.
    QTextCharFormat weekend;
    weekend.setForeground(palette().color(QPalette::WindowText));
    calendar_->setWeekdayTextFormat(Qt::Saturday, weekend);
    calendar_->setWeekdayTextFormat(Qt::Sunday, weekend);
    connect(calendar_, &QCalendarWidget::selectionChanged, this,
            [this] { SelectDate(FromQDate(calendar_->selectedDate())); });
    connect(calendar_, &QCalendarWidget::currentPageChanged, this,
            [this](int year, int month) { MarkMonth(year, month); });

    auto* left = new QVBoxLayout;
    auto* dayBox = new QFrame;
    dayBox->setFrameShape(QFrame::StyledPanel);
    auto* dayLayout = new QVBoxLayout(dayBox);
    dayLayout->addWidget(dayNumber_);
    dayLayout->addWidget(monthYear_);
    dayLayout->addWidget(weekday_);
    dayLayout->addWidget(dayOfYear_);
    left->addWidget(dayBox);
    left->addWidget(calendar_);
    left->addStretch();

    countLabel_ = new QLabel;
    countLabel_->setObjectName("EntriesForDate");
    list_ = new TDiaryDayList;
    const auto& w = diary_->ColumnWidths;
    for (int i = 0; i < 3; ++i)
        list_->header()->resizeSection(i, std::max<int>(8, w[static_cast<std::size_t>(i)]));
    // Priority and time show their kept widths when there is room, at least their
    // texts; the description the rest. The image column keeps its width: it decides
    // whether the images are drawn.
    fitter_ = new TColumnFitter(list_, 1, 2, [this](int column) {
        return diary_ ? diary_->ColumnWidths[static_cast<std::size_t>(column)] : 0;
    });
    connect(list_->header(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (diary_ && section < 3 && !fitter_->Fitting())
                    diary_->ColumnWidths[static_cast<std::size_t>(section)] =
                        static_cast<std::int16_t>(size);
            });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { UpdateCommandState(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ViewEvent(); });
    connect(list_, &TDiaryDayList::DeletePressed, this, [this] { DeleteEvent(); });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* right = new QVBoxLayout;
    right->addWidget(countLabel_);
    right->addWidget(list_, 1);

    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(4, 4, 4, 4);
    h->addLayout(left, 0);
    h->addLayout(right, 1);
}

void TDiaryDlg::CreateMenus() {
    IFrame& f = Frame();
    auto* file = new QMenu("&File", this);
    const QList<QAction*> frameFile = f.FileMenu()->actions();
    for (int i = 0; i < frameFile.size() && i < 5; ++i)
        file->addAction(frameFile[i]); // the four new/open commands and "&Reopen"
    file->addSeparator();
    saveAction_ = file->addAction("&Save", this, [this] { RunCommand("Save"); });
    file->addAction("Save &as...", this, &TDiaryDlg::SaveAs);
    file->addAction("&Close", QKeySequence(Qt::CTRL | Qt::Key_F4), this, [this] {
        if (SubWindow())
            SubWindow()->close();
    });
    file->addSeparator();
    lockAction_ = file->addAction("&Lock Diary", this, &TDiaryDlg::ToggleLock);
    QAction* info = file->addAction("Diary &Info...", QKeySequence(Qt::CTRL | Qt::Key_I), this,
                                    &TDiaryDlg::ShowInfo);
    info->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(info);
    file->addSeparator();
    printAction_ = file->addAction("&Print...", this, [this] {
        if (!diary_ || !printAction_->isEnabled())
            return;
        TPrintSource source;
        source.Diary = diary_.get();
        PrintFromWizard(Frame(), this, source);
    });
    reportsAction_ =
        file->addAction("&Quick Reports...", QKeySequence(Qt::CTRL | Qt::Key_P), this, [this] {
            if (!diary_ || !reportsAction_->isEnabled())
                return;
            TPrintSource source;
            source.Diary = diary_.get();
            ShowQuickReports(Frame(), this, source);
        });
    file->addAction("Page &Designer...", this, [this] { Frame().OpenDesigner(this); });
    importAction_ = file->addAction("I&mport...", this, &TDiaryDlg::ImportData);
    exportAction_ = file->addAction("&Export...", this, &TDiaryDlg::ExportData);
    file->addSeparator();
    file->addAction("E&xit", f.Widget(), &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, [this] {
        Frame().RefreshFileMenu();
        UpdateCommandState();
    });

    auto* tools = new QMenu("&Tools", this);
    for (QAction* a : f.Widget()->menuBar()->actions())
        if (a->menu() && a->text() == "&Tools")
            tools->addActions(a->menu()->actions());

    auto* view = new QMenu("&View", this);
    view->addAction("&Calendar", QKeySequence(Qt::Key_F12), f.Widget(),
                    [frame = &f] { frame->OpenCalendar(); });

    auto* reminders = new QMenu("Re&minders", this);
    reminders->setObjectName("DiaryRemindersMenu");
    addAction_ = reminders->addAction("&Add Event...", this, &TDiaryDlg::AddEvent);
    editAction_ = reminders->addAction("&Edit Event...", this, &TDiaryDlg::EditEvent);
    deleteAction_ = reminders->addAction("&Delete Event...", this, &TDiaryDlg::DeleteEvent);
    viewAction_ = reminders->addAction("&View Event...", this, &TDiaryDlg::ViewEvent);
    acknowledgeAction_ =
        reminders->addAction("Ac&knowledge Event...", this, &TDiaryDlg::AcknowledgeEvent);
    reminders->addSeparator();
    showCompleted_ = reminders->addAction("&Show Completed Events", this, [this](bool on) {
        SetShowOption(&TDiaryData::ShowCompleted, on);
    });
    showRecurring_ = reminders->addAction("Show &Future Recurring Events", this, [this](bool on) {
        SetShowOption(&TDiaryData::ShowRecurring, on);
    });
    showNotes_ = reminders->addAction(
        "Show Event &Notes", this, [this](bool on) { SetShowOption(&TDiaryData::ShowNotes, on); });
    for (QAction* a : {showCompleted_, showRecurring_, showNotes_})
        a->setCheckable(true);
    showCompleted_->setChecked(diary_->ShowCompleted);
    showRecurring_->setChecked(diary_->ShowRecurring);
    showNotes_->setChecked(diary_->ShowNotes);
    QMenu* sortBy = reminders->addMenu("Sort &by");
    auto* group = new QActionGroup(this);
    const std::pair<int, const char*> orders[] = {
        {1, "&Priority"}, {2, "&Time"}, {3, "&Description"}};
    for (const auto& [order, caption] : orders) {
        QAction* a = sortBy->addAction(caption);
        a->setCheckable(true);
        a->setChecked(diary_->SortOrder == order);
        group->addAction(a);
        sortActions_.append(a);
        connect(a, &QAction::triggered, this, [this, order = order] { SetSortOrder(order); });
    }
    reminders->addSeparator();
    reminders->addAction("Select &Todays Date", this, [this] { RunCommand("Go to Todays Date"); });
    reminders->addAction("&Go to Date...", this, &TDiaryDlg::GoToDate);
    connect(list_, &QWidget::customContextMenuRequested, this, [this, reminders](const QPoint& p) {
        reminders->popup(list_->viewport()->mapToGlobal(p));
    });
    menus_ = {file, tools, view, reminders};
}

QAction* TDiaryDlg::MenuAction(const QString& text) const {
    std::function<QAction*(const QMenu*)> find = [&](const QMenu* m) -> QAction* {
        for (QAction* a : m->actions()) {
            if (a->text() == text)
                return a;
            if (a->menu())
                if (QAction* inner = find(a->menu()))
                    return inner;
        }
        return nullptr;
    };
    for (const QMenu* m : menus_)
        if (QAction* a = find(m))
            return a;
    return nullptr;
}

void TDiaryDlg::ApplyScreenFont(const QFont& font) {
    const bool changed = font != this->font();
    setFont(font);
    // The rows' height follows the font.
    if (diary_ && changed)
        RefillDay(list_->SelectedRow());
}

void TDiaryDlg::showEvent(QShowEvent* event) {
    TChildWindow::showEvent(event);
    if (shownOnce_ || !diary_)
        return;
    shownOnce_ = true;
    // The first show: the place and state kept in the diary.
    const auto& b = diary_->WindowBounds;
    const QRect bounds(QPoint(b[0], b[1]), QPoint(b[2] - 1, b[3] - 1));
    PlaceOnFirstShow(bounds.width() > 100 && bounds.height() > 100 ? bounds : QRect(),
                     diary_->WindowState == 2   ? TFirstState::Maximised
                     : diary_->WindowState == 1 ? TFirstState::Minimised
                                                : TFirstState::Normal);
}

// ---- lock and title ---------------------------------------------------------------------

void TDiaryDlg::ApplyLock(bool showBackupWarning) {
    const TDiaryLock lock = EvaluateDiaryLock(diary_->FileName, openedReadOnly_);
    locked_ = lock.Locked;
    if (lock.BackupWarning && showBackupWarning)
        ShowMessage(mtAccessError, kMsgDiaryIsBackup, mkInformation, mbOk);
    SetCaption();
    UpdateCommandState();
}

void TDiaryDlg::SetCaption() {
    setWindowTitle(SystemTextToQString(DiaryWindowTitle(diary_->FileName, locked_)));
}

void TDiaryDlg::ToggleLock() {
    if (!diary_)
        return;
    const bool lock = !locked_;
    if (!lock)
        openedReadOnly_ = false; // unlocking asks for a writable diary
    const TDiaryLockChange change =
        ChangeDiaryLock(*diary_, locked_, lock, openedReadOnly_, Settings().StoreSettings());
    if (!change.Ok)
        ShowMessage(mtAccessError, SystemTextToQString(change.Message), mkError, mbOk);
    locked_ = change.Lock.Locked;
    if (change.Lock.BackupWarning)
        ShowMessage(mtAccessError, kMsgDiaryIsBackup, mkInformation, mbOk);
    RecordFileTime();
    SetCaption();
    ShowModified();
    UpdateCommandState();
}

// ---- the selected day ---------------------------------------------------------------------

void TDiaryDlg::SelectDate(TDateTime day) {
    if (!diary_)
        return;
    QDate d = ToQDate(DateOf(day));
    d = std::clamp(d, kFirstDate, kLastDate);
    selected_ = FromQDate(d);
    if (calendar_->selectedDate() != d) {
        const QSignalBlocker block(calendar_);
        calendar_->setSelectedDate(d);
    }
    if (markedMonth_ != QDate(d.year(), d.month(), 1))
        MarkMonth(d.year(), d.month());
    const TFormatSettings& fs = Settings().FormatSettings;
    dayNumber_->setText(QString::number(d.day()));
    monthYear_->setText(ToQString(FormatDateTime("mmmm yyyy", selected_, fs)));
    weekday_->setText(ToQString(FormatDateTime("dddd", selected_, fs)));
    dayOfYear_->setText(QString("Day: %1").arg(d.dayOfYear()));
    RefillDay(0);
}

void TDiaryDlg::RefillDay(int row) {
    if (!diary_)
        return;
    const TFormatSettings& fs = Settings().FormatSettings;
    list_->Fill(DiaryDayRows(*diary_, this, selected_), *diary_, DateOf(clock_.Now()), fs);
    fitter_->Fit();
    const int count = list_->topLevelItemCount();
    list_->SelectRow(ClampedRow(row, count));
    countLabel_->setText(ToQString(EntriesForDateText(count)));
    if (Frame().ActiveChild() == this)
        Frame().DiaryText()->setText(ToQString(DayCountText(count, selected_, fs)));
    UpdateCommandState();
}

void TDiaryDlg::MarkMonth(int year, int month) {
    if (!diary_)
        return;
    markedMonth_ = QDate(year, month, 1);
    calendar_->setDateTextFormat(QDate(), QTextCharFormat()); // clears every mark
    QTextCharFormat marked;
    marked.setForeground(Qt::red);
    marked.setBackground(QColor(255, 255, 0));
    for (int day : DaysWithEvents(diary_->Events, year, month))
        calendar_->setDateTextFormat(QDate(year, month, day), marked);
    const QDate today = ToQDate(DateOf(clock_.Now()));
    QTextCharFormat t = calendar_->dateTextFormat(today);
    t.setForeground(Qt::red);
    t.setFontWeight(QFont::Bold);
    calendar_->setDateTextFormat(today, t);
}

TReminders* TDiaryDlg::SelectedEvent() const {
    return diary_ ? diary_->Events.At(SelectedEventIndex()) : nullptr;
}

int TDiaryDlg::SelectedEventIndex() const {
    return list_ ? list_->EventOfRow(list_->SelectedRow()) : -1;
}

// ---- state shown ------------------------------------------------------------------------------

void TDiaryDlg::UpdateCommandState() {
    if (!diary_ || !addAction_)
        return;
    const TDiaryCommandState s = DiaryCommandState(*diary_, locked_, SelectedEvent() != nullptr);
    saveAction_->setEnabled(s.Save);
    lockAction_->setText(ToQString(LockMenuText(locked_)));
    lockAction_->setStatusTip(ToQString(LockMenuHint(locked_)));
    printAction_->setEnabled(s.PrintAndExport);
    reportsAction_->setEnabled(s.PrintAndExport);
    importAction_->setEnabled(s.Import);
    exportAction_->setEnabled(s.PrintAndExport);
    addAction_->setEnabled(s.Add);
    editAction_->setEnabled(s.ChangeSelected);
    deleteAction_->setEnabled(s.ChangeSelected);
    acknowledgeAction_->setEnabled(s.ChangeSelected);
    viewAction_->setEnabled(s.ViewSelected);
    if (Frame().ActiveChild() == this) {
        const std::pair<const char*, bool> buttons[] = {
            {"View Event", s.ViewSelected},
            {"Add an Event", s.Add},
            {"Update Event", s.ChangeSelected},
            {"Acknowledge Event", s.ChangeSelected},
            {"Delete Event", s.ChangeSelected},
            {"View the Calendar", false},
            {"Print Linked Quick Report", s.PrintAndExport}};
        for (const auto& [hint, on] : buttons)
            if (QToolButton* b = Frame().ToolButton(static_cast<int>(TChildKind::Diary), hint))
                b->setEnabled(on);
    }
}

void TDiaryDlg::ShowModified() {
    if (!diary_ || Frame().ActiveChild() != this)
        return;
    if (auto* l = Frame().Widget()->findChild<QLabel*>("Diary has been Modified"))
        l->setVisible(diary_->Modified != 0);
}

void TDiaryDlg::Activated() {
    if (closing_ || !diary_)
        return;
    UpdateCommandState();
    ShowModified();
    Frame().DiaryText()->setText(
        ToQString(DayCountText(list_->topLevelItemCount(), selected_, Settings().FormatSettings)));
    list_->setFocus();
}

bool TDiaryDlg::EventSource(TEventSource& source) const {
    if (!diary_)
        return false;
    source = TEventSource{this, nullptr, diary_.get()};
    return true;
}

// ---- changes --------------------------------------------------------------------------------

void TDiaryDlg::RecordChange(int row) {
    MarkChanged(*diary_, clock_);
    if (AutoSaveDue(*diary_, Settings().StoreSettings()))
        Save(false);
    RefillDay(row);
    MarkMonth(markedMonth_.year(), markedMonth_.month());
    ShowModified();
    emit RemindersChanged();
}

void TDiaryDlg::SetShowOption(std::uint8_t TDiaryData::*option, bool on) {
    if (!diary_)
        return;
    (*diary_).*option = on ? 1 : 0;
    RefillDay(0);
}

void TDiaryDlg::SetSortOrder(int order) {
    if (!diary_)
        return;
    diary_->SortOrder = static_cast<std::int16_t>(order);
    RefillDay(0);
}

void TDiaryDlg::AddEvent() {
    if (!diary_ || locked_)
        return;
    if (!HasRoomForEvent(*diary_)) {
        QApplication::beep();
        return;
    }
    TReminders* added = tessaly::AddEvent(
        *diary_, NewReminder(selected_, clock_.Now(), Settings().AdvanceWarning, true));
    const int index = diary_->Events.Count() - 1;
    if (!EditReminderDialog(*added, {OwnerName(), true}, true, Settings(), clock_,
                            OpenReminderDescriptions(Frame()), this)) {
        diary_->Events.Delete(index);
        return;
    }
    RecordChange(0);
    const int row = list_->RowOfEvent(index);
    if (row >= 0)
        list_->SelectRow(row);
}

void TDiaryDlg::EditEvent() {
    TReminders* e = SelectedEvent();
    if (!e || locked_)
        return;
    const int row = list_->SelectedRow();
    if (EditReminderDialog(*e, {OwnerName(), true}, false, Settings(), clock_,
                           OpenReminderDescriptions(Frame()), this))
        RecordChange(row);
}

void TDiaryDlg::ViewEvent() {
    if (const TReminders* e = SelectedEvent())
        ViewReminderDialog(*e, {OwnerName(), true}, DateOf(clock_.Now()), Settings().FormatSettings,
                           this);
}

void TDiaryDlg::AcknowledgeEvent() {
    TReminders* e = SelectedEvent();
    if (!e || locked_)
        return;
    const int index = SelectedEventIndex();
    const int row = list_->SelectedRow();
    const TAcknowledgeResult r = AcknowledgeReminderDialog(
        *e, {OwnerName(), true}, Settings().ConfirmReminders, Settings().FormatSettings, this);
    if (!r.Done)
        return;
    if (r.Delete)
        DeleteReminderAt(diary_->Events, index);
    RecordChange(row);
}

void TDiaryDlg::DeleteEvent() {
    TReminders* e = SelectedEvent();
    if (!e || locked_)
        return;
    const int index = SelectedEventIndex();
    const int row = list_->SelectedRow();
    if (!DeleteReminderDialog(*e, {OwnerName(), true}, Settings().ConfirmDeleteReminders,
                              Settings().FormatSettings, this))
        return;
    DeleteReminderAt(diary_->Events, index);
    RecordChange(row);
}

// ---- the file ----------------------------------------------------------------------------------

bool TDiaryDlg::Save(bool closing) {
    if (!diary_ || locked_)
        return true;
    THourGlass busy;
    Frame().ShowProgress(" Saving Diary...");
    std::array<int, 4> bounds{diary_->WindowBounds[0], diary_->WindowBounds[1],
                              diary_->WindowBounds[2], diary_->WindowBounds[3]};
    int state = 0;
    if (QMdiSubWindow* sub = SubWindow()) {
        state = sub->isMinimized() ? 1 : sub->isMaximized() ? 2 : 0;
        const QRect g = sub->geometry();
        bounds = {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    }
    const TDiaryWindowSave saved =
        SaveFromWindow(*diary_, locked_, closing, bounds, state, Settings().StoreSettings());
    Frame().ShowProgress(QString());
    if (saved.BackupFailed)
        QApplication::beep();
    if (saved.Written) {
        RecordFileTime();
    } else {
        // Never silent: the diary stays modified, and the reason is shown (a closing
        // window asks before it drops the changes).
        QApplication::beep();
        if (!closing)
            ShowMessage(mtAccessError, WithoutQuestion(saved.Message), mkError, mbOk);
        lastSaveMessage_ = SystemTextToQString(saved.Message);
    }
    ShowModified();
    UpdateCommandState();
    return saved.Written;
}

void TDiaryDlg::SaveAs() {
    if (!diary_)
        return;
    const QString chosen = SaveAsChooser(this, Frame().FileDialogDirectory(), FilePath());
    if (chosen.isEmpty())
        return;
    THourGlass busy;
    Frame().RememberFileDialogDirectory(chosen);
    const TDiarySaveAs r =
        SaveDiaryAs(*diary_, PathToCore(chosen), openedReadOnly_, Settings().StoreSettings());
    if (!r.Ok) {
        ShowMessage(mtAccessError, SystemTextToQString(r.Message), mkError, mbOk);
        return;
    }
    SetFilePath(chosen);
    locked_ = r.Lock.Locked;
    if (r.Lock.BackupWarning)
        ShowMessage(mtAccessError, kMsgDiaryIsBackup, mkInformation, mbOk);
    RecordFileTime();
    SetCaption();
    ShowModified();
    UpdateCommandState();
}

void TDiaryDlg::ShowInfo() {
    if (!diary_)
        return;
    TDiaryInfoDlg(DiaryInformation(*diary_, locked_, Settings().FormatSettings), this).exec();
}

void TDiaryDlg::GoToDate() {
    auto* popup = new QCalendarWidget(this);
    popup->setWindowFlags(Qt::Popup);
    popup->setAttribute(Qt::WA_DeleteOnClose);
    popup->setObjectName("GoToDateCalendar");
    popup->setDateRange(kFirstDate, kLastDate);
    popup->setSelectedDate(ToQDate(selected_));
    popup->adjustSize();
    // At the mouse, moved 100 pixels left or up near the right or bottom screen edge.
    QPoint at = QCursor::pos();
    if (const QScreen* screen = QGuiApplication::screenAt(at)) {
        const QRect r = screen->geometry();
        if (at.x() > r.right() - 100)
            at.rx() -= 100;
        if (at.y() > r.bottom() - 100)
            at.ry() -= 100;
    }
    popup->move(at);
    auto pick = [this, popup](const QDate& d) {
        popup->close();
        SelectDate(FromQDate(d));
    };
    connect(popup, &QCalendarWidget::clicked, this, pick);
    connect(popup, &QCalendarWidget::activated, this, pick);
    popup->show();
}

bool TDiaryDlg::GoToEvent(int eventIndex) {
    const TReminders* e = diary_ ? diary_->Events.At(eventIndex) : nullptr;
    if (!e)
        return false;
    if (Frame().Widget()->isMinimized())
        Frame().Widget()->showNormal();
    if (QMdiSubWindow* sub = SubWindow(); sub && sub->isMinimized())
        sub->showNormal();
    SelectDate(DateOf(e->When));
    const int row = list_->RowOfEvent(eventIndex);
    if (row >= 0)
        list_->SelectRow(row);
    Activate();
    return true;
}

bool TDiaryDlg::RunCommand(const QString& hint) {
    if (!diary_)
        return false;
    const QDate d = ToQDate(selected_);
    if (hint == "Save") {
        Save(false);
    } else if (hint == "Print Linked Quick Report") {
        if (printAction_->isEnabled()) {
            TPrintSource source;
            source.Diary = diary_.get();
            PrintLinkedReport(Frame(), this, kDiaryLink, source);
        }
    } else if (hint == "View Event") {
        ViewEvent();
    } else if (hint == "Add an Event") {
        AddEvent();
    } else if (hint == "Update Event") {
        EditEvent();
    } else if (hint == "Acknowledge Event") {
        AcknowledgeEvent();
    } else if (hint == "Delete Event") {
        DeleteEvent();
    } else if (hint == "Go to Todays Date") {
        SelectDate(DateOf(clock_.Now()));
    } else if (hint == "Go to Date") {
        GoToDate();
    } else if (hint == "Previous Month") {
        SelectDate(FromQDate(d.addMonths(-1)));
    } else if (hint == "Next Month") {
        SelectDate(FromQDate(d.addMonths(1)));
    } else if (hint == "Previous Day") {
        SelectDate(selected_ - 1);
    } else if (hint == "Next Day") {
        SelectDate(selected_ + 1);
    } else {
        return false;
    }
    return true;
}

// ---- re-reading a locked diary -----------------------------------------------------------------

void TDiaryDlg::Synchronise() {
    // Never while a dialog is open: it may hold one of the events being replaced.
    if (!diary_ || !locked_ || closing_ || QApplication::activeModalWidget())
        return;
    const int row = list_->SelectedRow();
    const TDiaryRefresh r = RefreshLockedDiary(diary_, locked_, fileTime_);
    if (r.Outcome != TRefreshOutcome::Reloaded)
        return; // a failed re-read keeps the diary shown; the next tick tries again
    RefillDay(row);
    MarkMonth(markedMonth_.year(), markedMonth_.month());
    QApplication::beep();
    emit RemindersChanged();
}

// ---- closing
// ---------------------------------------------------------------------------------------

bool TDiaryDlg::QueryClose() {
    if (!diary_)
        return true;
    closing_ = true;
    if (!locked_ && !Save(true) && diary_->Modified &&
        ShowMessage(mtDataLossPossible, lastSaveMessage_, mkWarning, mbYesNo) != mrYes) {
        closing_ = false;
        return false;
    }
    savedAtClose_ = true;
    return true;
}

void TDiaryDlg::CloseFile() {
    closing_ = true;
    if (diary_ && !savedAtClose_ && !locked_ && !Save(true))
        QApplication::beep();
    Frame().UpdateReopenList(true, FilePath(), "TDY");
    diary_.reset();
}

TChildWindow* CreateDiaryWindow(IFrame& frame, const QString& path, bool mustExist, bool readOnly) {
    auto* w = new TDiaryDlg(frame, path, mustExist, readOnly, frame.Clock());
    if (!w->Diary()) {
        delete w;
        return nullptr;
    }
    return w;
}

} // namespace tessaly
