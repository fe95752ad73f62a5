#include "app/exchange/export_wizard.h"

#include "app/exchange/export_templates_dlg.h"
#include "app/exchange/template_choices.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "core/common/date_time.h"
#include "core/exchange/export_mru.h"
#include "core/system/file_io.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

const char* const kTypeCaptions[] = {"Address Book Entries", "Reminders", "Telephone Logs",
                                     "Diary Events"};
const char* const kTemplateCaptions[] = {
    "Templates for Address Book Exports", "Templates for Reminder Exports",
    "Templates for Telephone Log Exports", "Templates for Diary Exports"};
const char* const kSelectionCaptions[] = {"Selected Entry Only", "All Entries in the Index List",
                                          "All Tagged Entries", "All Entries"};

TDateTime DayOf(const QDate& d) {
    return EncodeDate(d.year(), d.month(), d.day());
}

} // namespace

std::function<QString(QWidget*, const QString&)> TExportWizard::FileChooser =
    [](QWidget* parent, const QString& current) {
        return QFileDialog::getSaveFileName(parent, "Export File", current,
                                            "Text Files (*.csv *.txt);;All Files (*)");
    };

TExportWizard::TExportWizard(QWidget* parent, TSettingsAccess& access, const TExportList& templates,
                             bool diary, const QString& title,
                             const std::vector<std::pair<QString, int>>& addressTemplates,
                             TRunner runner, std::string templatesPath, const TBookData* book)
    : TWizardFrame(parent), access_(access), list_(templates),
      templatesPath_(std::move(templatesPath)), book_(book), diary_(diary),
      runner_(std::move(runner)) {
    setWindowTitle(title);

    QVBoxLayout* p1 = AddPage();
    p1->addWidget(new QLabel("What would you like to export?"));
    types_ = new QButtonGroup(this);
    for (int type = kExportEntries; type <= kExportDiaryEvents; ++type) {
        if (diary != (type == kExportDiaryEvents))
            continue;
        auto* b = new QRadioButton(kTypeCaptions[type - 1], this);
        types_->addButton(b, type);
        p1->addWidget(b);
    }
    types_->buttons().first()->setChecked(true);
    p1->addStretch(1);

    QVBoxLayout* p2 = AddPage();
    if (!diary) {
        auto* group = new QGroupBox("Export", this);
        auto* g = new QVBoxLayout(group);
        selections_ = new QButtonGroup(this);
        for (int s = 1; s <= 4; ++s) {
            auto* b = new QRadioButton(kSelectionCaptions[s - 1], group);
            selections_->addButton(b, s);
            g->addWidget(b);
        }
        selections_->button(4)->setChecked(true);
        p2->addWidget(group);
        p2->addWidget(new QLabel("Addresses:"));
        addresses_ = new QComboBox(this);
        addresses_->addItem("All Addresses", -2);
        addresses_->addItem("First Address Only", -1);
        for (const auto& [name, id] : addressTemplates)
            addresses_->addItem(name, id);
        addresses_->setCurrentIndex(1);
        p2->addWidget(addresses_);
    } else {
        allDates_ = new QCheckBox("&All Dates", this);
        allDates_->setChecked(true);
        p2->addWidget(allDates_);
        auto* range = new QHBoxLayout;
        from_ = new QDateEdit(QDate::currentDate(), this);
        to_ = new QDateEdit(QDate::currentDate().addMonths(1), this);
        for (QDateEdit* e : {from_, to_}) {
            e->setCalendarPopup(true);
            e->setEnabled(false);
        }
        range->addWidget(new QLabel("From:"));
        range->addWidget(from_);
        range->addWidget(new QLabel("To:"));
        range->addWidget(to_);
        p2->addLayout(range);
        connect(allDates_, &QCheckBox::toggled, this, [this](bool all) {
            from_->setEnabled(!all);
            to_->setEnabled(!all);
        });
        completed_ = new QCheckBox("Include &Completed Events", this);
        completed_->setChecked(true);
        p2->addWidget(completed_);
    }
    p2->addStretch(1);

    QVBoxLayout* p3 = AddPage();
    auto* caption = new QLabel(this);
    caption->setObjectName("templateCaption");
    p3->addWidget(caption);
    templates_ = new QListWidget(this);
    p3->addWidget(templates_, 1);
    auto* edit = new QPushButton("&Templates", this);
    edit->setEnabled(!templatesPath_.empty());
    p3->addWidget(edit, 0, Qt::AlignLeft);
    connect(edit, &QPushButton::clicked, this, [this] {
        TExportTemplatesDlg dialog(this, list_, book_, Type(), templatesPath_);
        if (dialog.exec() == QDialog::Accepted) {
            list_ = dialog.Templates();
            FillTemplates();
        }
    });
    auto* enc = new QHBoxLayout;
    auto* encodingLabel = new QLabel("Text &Encoding:");
    enc->addWidget(encodingLabel);
    encoding_ = new QComboBox(this);
    encodingLabel->setBuddy(encoding_);
    encoding_->addItems({kEncodingWindows1252, kEncodingUtf8});
    enc->addWidget(encoding_, 1);
    p3->addLayout(enc);
    connect(templates_, &QListWidget::currentRowChanged, this, [this] {
        if (const TExport* t = Chosen())
            encoding_->setCurrentIndex(ExportsUtf8(access_, t->NameText()) ? 1 : 0);
    });

    QVBoxLayout* p4 = AddPage();
    p4->addWidget(new QLabel("Please specify the file to export to:"));
    file_ = AddFileRow(p4, ReadExportMru(access), &FileChooser);
    progress_ = new QProgressBar(this);
    p4->addWidget(progress_);
    p4->addStretch(1);
    connect(CancelButton(), &QPushButton::clicked, this, [this] { stop_ = true; });
    resize(480, 320);
}

int TExportWizard::Type() const {
    return types_->checkedId();
}

const TExport* TExportWizard::Chosen() const {
    const QListWidgetItem* item = templates_->currentItem();
    return item ? list_.At(item->data(Qt::UserRole).toInt()) : nullptr;
}

void TExportWizard::FillTemplates() {
    const int type = Type();
    findChild<QLabel*>("templateCaption")->setText(kTemplateCaptions[type - 1]);
    FillTemplateChoices(templates_, list_, type, LastTemplate(access_, type),
                        [](const TExport& t) { return t.ExportType; });
}

void TExportWizard::Entered(int page) {
    if (page == 2)
        FillTemplates();
    if (addresses_)
        addresses_->setEnabled(Type() == kExportEntries);
}

bool TExportWizard::Accept(int page) {
    if (page == 2)
        return Chosen() != nullptr;
    if (page != 3)
        return true;
    const QString name = file_->currentText().trimmed();
    const QFileInfo info(name);
    if (name.isEmpty() || info.fileName().isEmpty() || info.isDir() ||
        !info.absoluteDir().exists()) {
        ShowMessage(mtFileNameInvalid,
                    "The file name specified is invalid. Please enter a valid file name.", mkError,
                    mbOk);
        return false;
    }
    if (info.exists() &&
        ShowMessage(mtDataLossPossible,
                    "The file specified already exists. Please confirm that you wish to "
                    "overwrite it.",
                    mkConfirmation, mbYesNo) != mrYes)
        return false;
    return true;
}

TExportChoice TExportWizard::Choice() const {
    TExportChoice c;
    c.Type = Type();
    if (selections_)
        c.Selection = static_cast<TEntrySelection>(selections_->checkedId());
    if (addresses_) {
        const int data = addresses_->currentData().toInt();
        c.Addresses = data == -2   ? TAddressChoice::All
                      : data == -1 ? TAddressChoice::First
                                   : TAddressChoice::Template;
        c.AddressTemplateId = data;
    }
    if (allDates_) {
        c.AllDates = allDates_->isChecked();
        c.First = DayOf(from_->date());
        c.Last = DayOf(to_->date());
        c.IncludeCompleted = completed_->isChecked();
    }
    return c;
}

bool TExportWizard::Run() {
    const TExport* t = Chosen();
    if (!t)
        return false;
    const std::string path = FromQString(file_->currentText().trimmed());
    const bool utf8 = encoding_->currentIndex() == 1;
    stop_ = false;
    BackButton()->setEnabled(false);
    NextButton()->setEnabled(false);
    TExportText out;
    {
        THourGlass wait;
        TExportOptions progress;
        progress.Started = [this](int total) { progress_->setRange(0, std::max(total, 1)); };
        progress.Progress = [this](int done) {
            progress_->setValue(done);
            if (done % 64 == 0)
                QApplication::processEvents();
            return !stop_;
        };
        out = runner_(*t, Choice(), progress);
    }
    NextButton()->setEnabled(true);
    BackButton()->setEnabled(true);
    if (out.Stopped)
        return true; // cancelled: nothing is written
    const std::string failure = WriteExportFile(path, ExportBytes(out.Text, utf8));
    if (!failure.empty()) {
        ShowMessage(mtAccessError, ToQString(failure), mkError, mbOk);
        return false;
    }
    written_ = out.Lines;
    RecordWizardRun(access_, Type(), t->NameText(), path);
    SetExportsUtf8(access_, t->NameText(), utf8);
    return true;
}

} // namespace tessaly
