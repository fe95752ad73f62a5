#include "app/frame/options_dialog.h"

#include "app/exchange/word_pro_page.h"
#include "app/frame/main_form.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "core/common/date_format.h"
#include "core/settings/config_files.h"
#include "core/settings/settings.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QCheckBox* Check(const QString& caption, bool on) {
    auto* c = new QCheckBox(caption);
    c->setChecked(on);
    return c;
}

QSpinBox* Spin(int low, int high, int value) {
    auto* s = new QSpinBox;
    s->setRange(low, high);
    s->setValue(value);
    return s;
}

QColor TableColour(int i) {
    const std::uint32_t c = kTagColours[static_cast<std::size_t>(i)];
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// A colour swatch with a silver border.
QIcon Swatch(int i) {
    QPixmap pm(48, 14);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0xC0, 0xC0, 0xC0));
    p.setBrush(TableColour(i));
    p.drawRect(0, 0, 47, 13);
    return QIcon(pm);
}

// An edit with a sample panel showing now in the edited format, at every change.
QWidget* FormatRow(QLineEdit* edit, const QString& caption, const TFormatSettings& fs) {
    auto* box = new QGroupBox(caption);
    auto* form = new QFormLayout(box);
    auto* sample = new QLabel;
    sample->setFrameShape(QFrame::Panel);
    sample->setFrameShadow(QFrame::Sunken);
    const auto show = [sample, edit, &fs] {
        const QDateTime now = QDateTime::currentDateTime();
        const QDate d = now.date();
        const QTime t = now.time();
        const TDateTime value = EncodeDate(d.year(), d.month(), d.day()) +
                                EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
        sample->setText(ToQString(FormatDateTime(FromQString(edit->text()), value, fs)));
    };
    QObject::connect(edit, &QLineEdit::textChanged, sample, show);
    show();
    form->addRow(edit->objectName() == "EventFormat" ? "Use &Format:" : "&Format:", edit);
    form->addRow("Sample:", sample);
    return box;
}

} // namespace

TOptionsDlg::TOptionsDlg(TMainForm& frame, int page, QWidget* parent)
    : QDialog(parent ? parent : &frame), frame_(frame) {
    setWindowTitle("General Options");
    pages_ = new QTabWidget;
    pages_->setUsesScrollButtons(false); // all six page tabs in view
    pages_->addTab(GeneralPage(), "General");
    pages_->addTab(FilePage(), "File Options");
    pages_->addTab(RemindersPage(), "Reminders");
    pages_->addTab(NotesPage(), "Notes");
    pages_->addTab(WordProcessorPage(), "Word Processor");
    pages_->addTab(NetworkPage(), "Network");
    pages_->setCurrentIndex(std::clamp(page, 0, pages_->count() - 1));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    // Help topics are not part of this program yet.
    buttons->button(QDialogButtonBox::Help)->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* all = new QVBoxLayout(this);
    all->addWidget(pages_);
    all->addWidget(buttons);
    UpdateEnabling();
}

QWidget* TOptionsDlg::GeneralPage() {
    const TSettings& s = frame_.Settings();
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    forceCategories_ = Check("Don't Allow Entries without a Category", s.ForceCategories);
    fastEdit_ = Check("Enable &Fast Edit of Entries", s.FastEdit);
    lockTab_ = Check("&Keep Active Tab between Entries", s.LockTab);
    confirmDrops_ = Check("Confirm &Addition of Drag and Dropped  Documents", s.ConfirmDrops);
    confirmDeletes_ = Check("&Confirm Deletion of Address Book Entries", s.ConfirmDeletes);
    // Read straight from the store, as the dialog also writes it straight back.
    tooltips_ = Check("Enable &Tooltips", ReadTooltips(frame_.Access()));
    boldLabels_ = Check("Use &Bold Font for Field Labels", s.BoldLabels);
    highlightIndex_ = Check("Indicate Inde&xed Fields on Address Books", s.HighlightIndex);
    saveSelection_ = Check("&Save Current Entry Selection between Sessions", s.SaveSelection);
    for (QCheckBox* c : {forceCategories_, fastEdit_, lockTab_, confirmDrops_, confirmDeletes_,
                         tooltips_, boldLabels_, highlightIndex_, saveSelection_})
        v->addWidget(c);
    auto* form = new QFormLayout;
    undoLevel_ = Spin(1, 30, s.UndoLevel);
    form->addRow("Number of Undo E&vents to Save", undoLevel_);
    tagColour_ = new QComboBox;
    tagColour_->setObjectName("TagColour");
    tagColour_->setIconSize(QSize(48, 14));
    for (int i = 0; i < kTagColourChoices; ++i)
        tagColour_->addItem(Swatch(i), QString());
    // The first swatch holding the current colour.
    for (int i = 0; i < kTagColourChoices; ++i)
        if (kTagColours[static_cast<std::size_t>(i)] == s.TagColour()) {
            tagColour_->setCurrentIndex(i);
            break;
        }
    form->addRow("Display Colour for Ta&gged Entries", tagColour_);
    v->addLayout(form);
    v->addStretch();
    return w;
}

QWidget* TOptionsDlg::FilePage() {
    const TSettings& s = frame_.Settings();
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    backup_ = Check("&Back-up Files on Closing", s.Backup);
    autoSave_ = Check("&Enable Automatic Saving", s.AutoSave);
    connect(autoSave_, &QCheckBox::toggled, this, &TOptionsDlg::UpdateEnabling);
    v->addWidget(backup_);
    v->addWidget(autoSave_);
    auto* row = new QHBoxLayout;
    autoSaveLabel_ = new QLabel("&Updates before Auto-Save");
    autoSaveInterval_ = Spin(1, 99, s.AutoSaveInterval);
    autoSaveLabel_->setBuddy(autoSaveInterval_);
    row->addWidget(autoSaveLabel_);
    row->addWidget(autoSaveInterval_);
    row->addStretch();
    v->addLayout(row);

    auto* cfg = new QGroupBox("Folder to Store Configuration files:");
    auto* cfgRow = new QHBoxLayout(cfg);
    // The folder keeps its case: where case matters it is part of the name.
    oldDirectory_ = ToQString(s.ConfigDirectory);
    folder_ = new QLineEdit(oldDirectory_);
    folder_->setObjectName("ConfigFolder");
    auto* select = new QPushButton("Select");
    connect(select, &QPushButton::clicked, this, &TOptionsDlg::SelectFolder);
    cfgRow->addWidget(folder_, 1);
    cfgRow->addWidget(select);
    v->addWidget(cfg);

    auto* web = new QGroupBox("Internet Browser");
    auto* webRow = new QHBoxLayout(web);
    // The browser the program uses: the configured one, else the desktop's default, as
    // the attachment properties name it.
    const QString browser = PathFromCore(frame_.BrowserPath());
    browser_ = new QLabel(browser.isEmpty() ? "<Not Defined>" : browser);
    browser_->setObjectName("BrowserPath");
    browser_->setFrameShape(QFrame::Panel);
    browser_->setFrameShadow(QFrame::Sunken);
    auto* change = new QPushButton("&Change...");
    connect(change, &QPushButton::clicked, this, &TOptionsDlg::ChangeBrowser);
    webRow->addWidget(browser_, 1);
    webRow->addWidget(change);
    v->addWidget(web);
    v->addStretch();
    return w;
}

QWidget* TOptionsDlg::RemindersPage() {
    const TSettings& s = frame_.Settings();
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    indicateReminders_ = Check("Show &Reminder Indicators on Index Lists", s.IndicateReminders);
    scanActive_ = Check("&Enable Alarm", s.ScanActive);
    connect(scanActive_, &QCheckBox::toggled, this, &TOptionsDlg::UpdateEnabling);
    v->addWidget(indicateReminders_);
    v->addWidget(scanActive_);
    auto* form = new QFormLayout;
    scanLabel_ = new QLabel("Alarm Interval (&Minutes)");
    scanReminders_ = Spin(1, 59, s.ScanReminders);
    scanLabel_->setBuddy(scanReminders_);
    form->addRow(scanLabel_, scanReminders_);
    advanceWarning_ = Spin(0, 99, s.AdvanceWarning);
    form->addRow("Number of Days for Default Advance &Warning", advanceWarning_);
    v->addLayout(form);
    confirmReminders_ = Check("&Confirm Acknowledgement of Reminders", s.ConfirmReminders);
    confirmDeleteReminders_ =
        Check("Confirm the &Deletion of Reminder Events", s.ConfirmDeleteReminders);
    v->addWidget(confirmReminders_);
    v->addWidget(confirmDeleteReminders_);
    eventFormat_ = new QLineEdit(ToQString(s.EventFormat));
    eventFormat_->setObjectName("EventFormat");
    v->addWidget(FormatRow(eventFormat_, "Event List Date Format", s.FormatSettings));
    v->addStretch();
    return w;
}

QWidget* TOptionsDlg::NotesPage() {
    const TSettings& s = frame_.Settings();
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    timeStamp_ = new QLineEdit(ToQString(s.TimeStamp));
    timeStamp_->setObjectName("TimeStamp");
    v->addWidget(FormatRow(timeStamp_, "Time Stamp Format", s.FormatSettings));
    stampFirst_ = new QRadioButton("&Place Time Stamp on the First Line of Notes Field");
    stampLast_ = new QRadioButton("Place Time Stamp on the &Last Line of Notes Field");
    (s.TimeStampLocation ? stampFirst_ : stampLast_)->setChecked(true);
    v->addWidget(stampFirst_);
    v->addWidget(stampLast_);
    v->addStretch();
    return w;
}

QWidget* TOptionsDlg::WordProcessorPage() {
    wordPros_ = new TWordProPage(frame_.WordProcessors());
    return wordPros_;
}

QWidget* TOptionsDlg::NetworkPage() {
    const TSettings& s = frame_.Settings();
    auto* w = new QWidget;
    auto* v = new QVBoxLayout(w);
    networkScan_ = Check("Enable Synchronisation of Networked Books", s.NetworkScan);
    connect(networkScan_, &QCheckBox::toggled, this, &TOptionsDlg::UpdateEnabling);
    v->addWidget(networkScan_);
    auto* row = new QHBoxLayout;
    networkLabel_ = new QLabel("Synchronisation Interval (Minutes)");
    networkInterval_ = Spin(1, 59, s.NetworkInterval);
    row->addWidget(networkLabel_);
    row->addWidget(networkInterval_);
    row->addStretch();
    v->addLayout(row);
    // The rounds with contacts servers of the books set to synchronise automatically.
    auto* serverRow = new QHBoxLayout;
    auto* serverLabel = new QLabel("&Server Sync Interval (Minutes)");
    serverSyncInterval_ = Spin(1, 1440, s.ServerSyncInterval);
    serverSyncInterval_->setObjectName("ServerSyncInterval");
    serverLabel->setBuddy(serverSyncInterval_);
    serverRow->addWidget(serverLabel);
    serverRow->addWidget(serverSyncInterval_);
    serverRow->addStretch();
    v->addLayout(serverRow);
    v->addStretch();
    return w;
}

void TOptionsDlg::UpdateEnabling() {
    autoSaveInterval_->setEnabled(autoSave_->isChecked());
    autoSaveLabel_->setEnabled(autoSave_->isChecked());
    scanReminders_->setEnabled(scanActive_->isChecked());
    scanLabel_->setEnabled(scanActive_->isChecked());
    networkInterval_->setEnabled(networkScan_->isChecked());
    networkLabel_->setEnabled(networkScan_->isChecked());
}

void TOptionsDlg::SelectFolder() {
    const QString dir = QFileDialog::getExistingDirectory(this, "Select Folder", folder_->text());
    if (!dir.isEmpty())
        folder_->setText(dir);
}

void TOptionsDlg::ChangeBrowser() {
    const QString current = browser_->text() == "<Not Defined>" ? QString() : browser_->text();
    QFileDialog dlg(this, "Select Document File");
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::ExistingFile);
    // Programs here rarely carry an extension, so every file is offered as well.
    dlg.setNameFilters({"Program Files (*.EXE *.exe)", "All Files (*)"});
#ifndef Q_OS_WIN
    dlg.selectNameFilter("All Files (*)");
#endif
    if (!current.isEmpty()) {
        dlg.setDirectory(QFileInfo(current).absolutePath());
        dlg.selectFile(current);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return;
    browser_->setText(dlg.selectedFiles().first());
    try {
        frame_.Access().WriteString("Internet", "Browser", FromQString(browser_->text()));
    } catch (const TSettingsWriteError& e) {
        ShowMessage(mtAccessError, SystemTextToQString(e.what()), mkError, mbOk);
    }
}

bool TOptionsDlg::Apply() {
    // The word processor list goes to the folder in force; when it cannot be written
    // the user is told, and the list stays as edited for this run.
    std::string error;
    const bool listSaved = frame_.SaveWordProcessorList(error);
    if (!listSaved)
        ShowMessage(mtAccessError,
                    "The Word Processor list could not be saved\n\n" + SystemTextToQString(error),
                    mkError, mbOk);
    const QString target = folder_->text().trimmed();
    TMoveResult moved;
    {
        THourGlass busy;
        moved = MoveConfigFiles(PathToCore(target), PathToCore(oldDirectory_),
                                PathToCore(frame_.Context().ProgramName));
    }
    if (!moved.Success) {
        if (listSaved)
            frame_.LoadWordProcessorList();
        pages_->setCurrentIndex(1);
        const QString text =
            moved.TargetHadFiles
                ? "The Directory specified already contains copies of the Tessaly "
                  "Configuration Files.\n\r\n\rRequest Failed"
                : "Unable to Move Configuration Files to Specified Directory\n\nIt is possible "
                  "that you do not have update access to the directory specified, or it is a "
                  "Root Directory. Storage of Configuration files within a Root Directory is "
                  "not supported";
        ShowMessage(mtRequestDenied, text, mkError, mbOk);
        folder_->setFocus();
        return false;
    }
    TSettings& s = frame_.Settings();
    s.ConfigDirectory = PathToCore(target);
    if (listSaved)
        frame_.LoadWordProcessorList();
    s.ForceCategories = forceCategories_->isChecked();
    s.FastEdit = fastEdit_->isChecked();
    s.LockTab = lockTab_->isChecked();
    s.ConfirmDrops = confirmDrops_->isChecked();
    s.UndoLevel = undoLevel_->value();
    s.EventFormat = FromQString(eventFormat_->text());
    s.TimeStamp = FromQString(timeStamp_->text());
    s.Tooltips = tooltips_->isChecked();
    s.BoldLabels = boldLabels_->isChecked();
    s.HighlightIndex = highlightIndex_->isChecked();
    s.SaveSelection = saveSelection_->isChecked();
    s.TagColor = tagColour_->currentIndex();
    s.Backup = backup_->isChecked();
    s.AutoSave = autoSave_->isChecked();
    s.AutoSaveInterval = autoSaveInterval_->value();
    s.IndicateReminders = indicateReminders_->isChecked();
    s.ScanActive = scanActive_->isChecked();
    s.ScanReminders = scanReminders_->value();
    s.AdvanceWarning = advanceWarning_->value();
    s.NetworkScan = networkScan_->isChecked();
    s.NetworkInterval = networkInterval_->value();
    // A new interval counts from now, not from the round the old one had planned.
    if (s.ServerSyncInterval != serverSyncInterval_->value())
        frame_.Schedule().NextServerSync = 0;
    s.ServerSyncInterval = serverSyncInterval_->value();
    s.TimeStampLocation = stampFirst_->isChecked();
    s.ConfirmReminders = confirmReminders_->isChecked();
    s.ConfirmDeletes = confirmDeletes_->isChecked();
    s.ConfirmDeleteReminders = confirmDeleteReminders_->isChecked();
    // The folder now in force is the one the dialog starts from next time, even when
    // saving fails below.
    oldDirectory_ = target;
    try {
        THourGlass busy;
        WriteTooltips(frame_.Access(), s.Tooltips);
        SaveSettings(frame_.Access(), s);
    } catch (const TSettingsWriteError& e) {
        ShowMessage(mtAccessError, SystemTextToQString(e.what()), mkError, mbOk);
        return false;
    }
    return true;
}

void TOptionsDlg::accept() {
    if (Apply())
        QDialog::accept();
}

void TOptionsDlg::reject() {
    wordPros_->Restore();
    QDialog::reject();
}

} // namespace tessaly
