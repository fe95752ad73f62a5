#include "app/alarms/alarm_dlg.h"

#include "app/alarms/view_event.h"
#include "app/widgets/child_window.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/diary/alarm_view.h"
#include "core/settings/window_placement.h"
#include "core/system/notifier.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

constexpr const char* kSection = "Alarm";
constexpr int kRowHeight = 20;

// Rows of the alarm list are 20 pixels high.
class TAlarmRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& o, const QModelIndex& i) const override {
        QSize s = QStyledItemDelegate::sizeHint(o, i);
        s.setHeight(kRowHeight);
        return s;
    }
};

} // namespace

TAlarmDlg::TAlarmDlg(IFrame& frame) : QWidget(nullptr, Qt::Window), frame_(frame) {
    setWindowTitle("Reminder Alarm Notification");
    setObjectName("AlarmWindow");

    group_ = new QGroupBox;
    view_ = new QTreeWidget;
    view_->setColumnCount(3);
    view_->setHeaderLabels({"Date", "Time", "Description"});
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setItemDelegate(new TAlarmRowDelegate(view_));
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    const TSettingsAccess& a = frame_.Access();
    view_->header()->resizeSection(0, a.ReadInteger(kSection, "0", 110, 0, 2000));
    view_->header()->resizeSection(1, a.ReadInteger(kSection, "1", 60, 0, 2000));
    auto* g = new QVBoxLayout(group_);
    g->addWidget(view_);

    auto* ownerPanel = new QFrame;
    ownerPanel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(ownerPanel);
    ownerLabel_ = new QLabel("Address Book:");
    ownerName_ = new QLabel;
    ownerName_->setObjectName("OwnerName");
    entryName_ = new QLabel;
    entryName_->setObjectName("EntryName");
    grid->addWidget(ownerLabel_, 0, 0);
    grid->addWidget(ownerName_, 0, 1);
    grid->addWidget(entryName_, 1, 1);
    grid->setColumnStretch(1, 1);

    viewButton_ = new QPushButton("&View");
    goToButton_ = new QPushButton("&Go to...");
    closeButton_ = new QPushButton("Close");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(viewButton_);
    buttons->addWidget(goToButton_);
    buttons->addWidget(closeButton_);

    auto* v = new QVBoxLayout(this);
    v->addWidget(group_, 1);
    v->addWidget(ownerPanel);
    v->addLayout(buttons);
    // The smallest size keeps the buttons and both panels in view.
    v->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(minimumSizeHint());

    connect(view_, &QTreeWidget::currentItemChanged, this, [this] {
        if (!filling_) {
            list_.Select(view_->indexOfTopLevelItem(view_->currentItem()));
            ShowSelected();
        }
    });
    connect(view_, &QTreeWidget::itemDoubleClicked, this, [this] { ViewSelected(); });
    connect(viewButton_, &QPushButton::clicked, this, &TAlarmDlg::ViewSelected);
    connect(goToButton_, &QPushButton::clicked, this, &TAlarmDlg::GoToSelected);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::hide);
    connect(view_->header(), &QHeaderView::sectionResized, this,
            [this](int section, int, int size) {
                if (section > 1)
                    return;
                try {
                    frame_.Access().WriteInteger(kSection, std::to_string(section), size);
                } catch (const TSettingsWriteError&) {
                    // Column widths are a convenience; the next resize tries again.
                }
            });

    const TWindowPlacement p = RestoreWindowPlacement(frame_.Access(), kSection, 75, 470, 550, 75);
    setGeometry(p.Left, p.Top, p.Width, p.Height);
    if (p.State == TWindowState::Maximised)
        setWindowState(Qt::WindowMaximized);
    else if (p.State == TWindowState::Minimised)
        setWindowState(Qt::WindowMinimized);
}

TAlarmDlg::~TAlarmDlg() = default;

void TAlarmDlg::ScanAlarms() {
    list_.Scan(frame_.EventSources(), frame_.Clock());
    Fill();
}

void TAlarmDlg::RescanAlarms(TChildWindow* owner) {
    list_.Rescan(EventsOf(*owner), frame_.Clock());
    Fill();
}

void TAlarmDlg::OwnerClosing(TChildWindow* owner) {
    list_.Remove(owner);
    if (frame_.ShuttingDown()) {
        Fill();
        return;
    }
    list_.Scan(frame_.EventSources(owner), frame_.Clock());
    Fill();
}

void TAlarmDlg::PeriodicScan() {
    ScanAlarms();
    bool previewOrDesigner = false;
    for (TChildWindow* c : frame_.Children())
        if (c->Kind() == TChildKind::Preview || c->Kind() == TChildKind::Layout)
            previewOrDesigner = true;
    TAlarmRaiseState state;
    state.ListEmpty = list_.Count() == 0;
    state.AppActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    state.FrameMinimised = frame_.Widget()->isMinimized();
    state.PreviewOrDesignerOpen = previewOrDesigner;
    const TAlarmRaise plan = PlanAlarmRaise(state);
    if (!plan.Show)
        return;
    if (plan.MinimiseApp)
        frame_.Widget()->showMinimized();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    goToButton_->setEnabled(plan.GoToEnabled);
    QApplication::beep();
    SetTopmost(true);
    show();
    raise();
    if (plan.Notify) {
        const TAlarmNotice notice =
            AlarmNotification(list_, frame_.EventSources(), frame_.Settings().EventFormat,
                              frame_.Settings().FormatSettings);
        frame_.Notifier().Notify(notice.Summary, notice.Body);
    }
}

void TAlarmDlg::Fill() {
    const std::vector<TEventSource> sources = frame_.EventSources();
    const TSettings& s = frame_.Settings();
    filling_ = true;
    view_->clear();
    for (int i = 0; i < list_.Count(); ++i) {
        const TReminders* r = ResolveEvent(sources, list_.At(i)->Ref);
        const TAlarmRowText t =
            r ? AlarmRowText(*r, s.EventFormat, s.FormatSettings) : TAlarmRowText{};
        view_->addTopLevelItem(new QTreeWidgetItem(
            QStringList{ToQString(t.Date), ToQString(t.Time), ToQString(t.Description)}));
    }
    if (list_.Selected() >= 0)
        view_->setCurrentItem(view_->topLevelItem(list_.Selected()));
    filling_ = false;
    group_->setTitle(ToQString(list_.Title()));
    ShowSelected();
    if (list_.Count() == 0)
        hide();
}

void TAlarmDlg::ShowSelected() {
    const TAlarm* alarm = list_.At(list_.Selected());
    const TAlarmOwnerText t =
        alarm ? AlarmOwnerText(frame_.EventSources(), alarm->Ref) : TAlarmOwnerText{};
    ownerLabel_->setText(ToQString(t.Label));
    ownerName_->setText(ToQString(t.Name));
    entryName_->setText(ToQString(t.Entry));
    entryName_->setVisible(t.ShowEntry);
    viewButton_->setEnabled(alarm != nullptr);
}

bool TAlarmDlg::Topmost() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TAlarmDlg::SetTopmost(bool on) {
    if (Topmost() == on)
        return;
    const bool wasVisible = isVisible();
    // Changing the flag hides the window; it comes back where it was.
    const QRect g = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(g);
    if (wasVisible)
        show();
}

TChildWindow* TAlarmDlg::OwnerWindow(const void* owner) const {
    for (TChildWindow* c : frame_.Children())
        if (c == owner)
            return c;
    return nullptr;
}

void TAlarmDlg::ViewSelected() {
    const TAlarm* alarm = list_.At(list_.Selected());
    if (!alarm)
        return;
    SetTopmost(false);
    const std::vector<TEventSource> sources = frame_.EventSources();
    const TReminders* r = ResolveEvent(sources, alarm->Ref);
    TChildWindow* owner = OwnerWindow(alarm->Ref.Owner);
    if (!r || !owner)
        return;
    ShowViewEventDialog(*owner, *r, this);
}

void TAlarmDlg::GoToSelected() {
    const TAlarm* alarm = list_.At(list_.Selected());
    if (!alarm)
        return;
    SetTopmost(false);
    TChildWindow* owner = OwnerWindow(alarm->Ref.Owner);
    if (!owner)
        return;
    if (owner->Kind() == TChildKind::Book && owner->UpdateInProgress()) {
        ShowMessage(BookBeingUpdatedMessage(tessaly::OwnerName(EventsOf(*owner))));
        return;
    }
    owner->ShowReminder(alarm->Ref);
}

void TAlarmDlg::SavePlacement() {
    TWindowPlacement p;
    p.State = isMaximized()   ? TWindowState::Maximised
              : isMinimized() ? TWindowState::Minimised
                              : TWindowState::Normal;
    const QRect g = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.Top = g.top();
    p.Left = g.left();
    p.Width = g.width();
    p.Height = g.height();
    SaveWindowPlacement(frame_.Access(), kSection, p);
}

void TAlarmDlg::closeEvent(QCloseEvent* event) {
    // Closing frees the items and hides the window; it lives as long as the frame.
    list_ = TAlarmList();
    Fill();
    event->ignore();
}

} // namespace tessaly
