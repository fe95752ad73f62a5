#include "app/call_log/call_log_dlg.h"

#include "app/book/book.h"
#include "app/call_log/call_details_dlg.h"
#include "app/call_log/log_update_dlg.h"
#include "app/widgets/frame.h"
#include "core/access/work_record.h"
#include "core/organise/entry_text.h"
#include "core/telephony/dial_settings.h"
#include "platform/qt_text.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// The widths of the first three columns, kept in "Dial".
const char* const kHeaderNames[3] = {"Log Header", "Log Header1", "Log Header2"};
constexpr int kHeaderDefaults[3] = {144, 166, 59};

} // namespace

TCallLogDlg::TCallLogDlg(TBook& book, QWidget* parent) : QDialog(parent), book_(book) {
    setWindowTitle("Telephone Call Log");
    TRecord& entry = WorkRecordOf(*book.Book());
    edit_ = std::make_unique<TCallLogEdit>(entry.CallLogs);
    entryName_ = ToQString(DisplayText(entry, book.Book()->IndexKeys));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Name"));
    name_ = new QLabel(entryName_);
    name_->setFrameShape(QFrame::StyledPanel);
    nameRow->addWidget(name_, 1);

    list_ = new QTreeWidget;
    list_->setObjectName("CallLogList");
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setHeaderLabels({"Number Called", "Date", "Time", "Duration"});
    TSettingsAccess& access = book.Frame().Access();
    for (int i = 0; i < 3; ++i)
        list_->header()->resizeSection(
            i, access.ReadInteger(kDialSection, kHeaderNames[i], kHeaderDefaults[i]));
    connect(list_->header(), &QHeaderView::sectionResized, this,
            [&access](int section, int, int size) {
                if (section >= 0 && section < 3)
                    access.WriteInteger(kDialSection, kHeaderNames[section], size);
            });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { ShowDetails(); });
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction("Details...", this, &TCallLogDlg::ShowDetails)
            ->setEnabled(SelectedRow() >= 0);
        menu.addAction("Add Log Record...", this, &TCallLogDlg::AddRecord)
            ->setEnabled(add_->isEnabled());
        menu.exec(list_->viewport()->mapToGlobal(at));
    });

    details_ = new QPushButton("Details");
    add_ = new QPushButton("Add");
    editButton_ = new QPushButton("Edit");
    delete_ = new QPushButton("Delete");
    connect(details_, &QPushButton::clicked, this, &TCallLogDlg::ShowDetails);
    connect(add_, &QPushButton::clicked, this, &TCallLogDlg::AddRecord);
    connect(editButton_, &QPushButton::clicked, this, &TCallLogDlg::EditRecord);
    connect(delete_, &QPushButton::clicked, this, &TCallLogDlg::DeleteRecord);
    auto* side = new QVBoxLayout;
    for (QPushButton* b : {details_, add_, editButton_, delete_})
        side->addWidget(b);
    side->addStretch(1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(list_, 1);
    middle->addLayout(side);

    auto* buttons = new QDialogButtonBox;
    buttons->addButton("OK", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TCallLogDlg::reject);

    auto* v = new QVBoxLayout(this);
    v->addLayout(nameRow);
    v->addLayout(middle, 1);
    v->addWidget(buttons);
    resize(640, 300);
    Fill(edit_->InitialRow());
}

TCallLogDlg::~TCallLogDlg() = default;

void TCallLogDlg::reject() {
    edit_->Restore();
    QDialog::reject();
}

void TCallLogDlg::Fill(int select) {
    const TSettings& s = book_.Frame().Settings();
    list_->clear();
    for (const TCallLogRow& row : edit_->Logs().Rows(s.FormatSettings, s.EventFormat)) {
        auto* item = new QTreeWidgetItem(list_);
        item->setText(0, ToQString(row.Number));
        item->setText(1, ToQString(row.Date));
        item->setText(2, ToQString(row.Time));
        item->setText(3, ToQString(row.Duration));
    }
    if (QTreeWidgetItem* item = list_->topLevelItem(select))
        list_->setCurrentItem(item);
    UpdateButtons();
}

int TCallLogDlg::SelectedRow() const {
    QTreeWidgetItem* item = list_->currentItem();
    return item ? list_->indexOfTopLevelItem(item) : -1;
}

void TCallLogDlg::UpdateButtons() {
    const bool writable = !book_.ReadOnly();
    const bool selected = SelectedRow() >= 0;
    details_->setEnabled(selected);
    add_->setEnabled(writable);
    editButton_->setEnabled(writable && selected);
    delete_->setEnabled(writable && selected);
}

void TCallLogDlg::ShowDetails() {
    const TLog* log = edit_->Logs().At(SelectedRow());
    if (!log)
        return;
    TCallDetailsDlg dlg(entryName_, LogDetails(*log, book_.Frame().Settings().FormatSettings),
                        false, this);
    dlg.exec();
}

void TCallLogDlg::DeleteRecord() {
    const int row = SelectedRow();
    const TLog* log = edit_->Logs().At(row);
    if (!log || book_.ReadOnly())
        return;
    TCallDetailsDlg dlg(entryName_, LogDetails(*log, book_.Frame().Settings().FormatSettings), true,
                        this);
    if (dlg.exec() == QDialog::Accepted)
        Fill(edit_->Delete(row));
}

void TCallLogDlg::AddRecord() {
    if (book_.ReadOnly())
        return;
    const IClock& clock = book_.Frame().Clock();
    const TFormatSettings& fs = book_.Frame().Settings().FormatSettings;
    // A new record: no number, no comment, starting and ending now.
    const TDateTime now = clock.Now();
    TLogUpdateDlg dlg("Add New Call Log Record", entryName_, TLog("", "", now, now), fs, clock,
                      this);
    if (dlg.exec() == QDialog::Accepted)
        Fill(edit_->Add(dlg.Record()));
}

void TCallLogDlg::EditRecord() {
    const int row = SelectedRow();
    const TLog* log = edit_->Logs().At(row);
    if (!log || book_.ReadOnly())
        return;
    const TFormatSettings& fs = book_.Frame().Settings().FormatSettings;
    TLogUpdateDlg dlg("Update Call Log Record", entryName_, *log, fs, book_.Frame().Clock(), this);
    if (dlg.exec() == QDialog::Accepted)
        Fill(edit_->Replace(row, dlg.Record()));
}

} // namespace tessaly
