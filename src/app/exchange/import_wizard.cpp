#include "app/exchange/import_wizard.h"

#include "app/exchange/import_templates_dlg.h"
#include "app/exchange/template_choices.h"
#include "app/widgets/hour_glass.h"
#include "app/widgets/message_dialog.h"
#include "core/exchange/export_mru.h"
#include "core/system/file_io.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

std::function<QString(QWidget*, const QString&)> TImportWizard::FileChooser =
    [](QWidget* parent, const QString& current) {
        return QFileDialog::getOpenFileName(parent, "Import File", current,
                                            "Text Files (*.csv *.txt);;All Files (*)");
    };

TImportWizard::TImportWizard(QWidget* parent, TSettingsAccess& access, const TImportList& templates,
                             int type, const QString& title, TRunner runner,
                             std::string templatesPath, const TBookData* book)
    : TWizardFrame(parent), access_(access), list_(templates),
      templatesPath_(std::move(templatesPath)), book_(book), type_(type),
      runner_(std::move(runner)) {
    setWindowTitle(title);
    const TExportMru mru = ReadExportMru(access);

    QVBoxLayout* p1 = AddPage();
    p1->addWidget(new QLabel("Please specify the text file containing the data to be imported:"));
    file_ = AddFileRow(p1, mru, &FileChooser);
    file_->setObjectName("importFile");
    p1->addStretch(1);

    QVBoxLayout* p2 = AddPage();
    p2->addWidget(new QLabel("Select the Import Template to use:"));
    templates_ = new QListWidget(this);
    templates_->setObjectName("importTemplates");
    FillTemplates();
    p2->addWidget(templates_, 1);
    auto* edit = new QPushButton("&Templates", this);
    edit->setEnabled(!templatesPath_.empty());
    p2->addWidget(edit, 0, Qt::AlignLeft);
    // Shown while the file is read through to count what it holds.
    validating_ = new QLabel("Validating File\nPlease Wait...", this);
    validating_->setObjectName("validating");
    validating_->hide();
    p2->addWidget(validating_);
    connect(edit, &QPushButton::clicked, this, [this] {
        TImportTemplatesDlg dialog(this, list_, book_, type_, templatesPath_);
        dialog.SetSampleFile(file_->currentText().trimmed());
        if (dialog.exec() == QDialog::Accepted) {
            list_ = dialog.Templates();
            FillTemplates();
        }
    });

    QVBoxLayout* p3 = AddPage();
    summary_ = new QLabel(this);
    summary_->setObjectName("importSummary");
    p3->addWidget(summary_);
    progress_ = new QProgressBar(this);
    p3->addWidget(progress_);
    p3->addStretch(1);
    connect(CancelButton(), &QPushButton::clicked, this, [this] { stop_ = true; });
    file_->setFocus();
    resize(460, 300);
}

void TImportWizard::FillTemplates() {
    FillTemplateChoices(templates_, list_, type_, LastTemplate(access_, type_),
                        [](const TImport& t) { return t.ImportType; });
}

const TImport* TImportWizard::Chosen() const {
    const QListWidgetItem* item = templates_->currentItem();
    return item ? list_.At(item->data(Qt::UserRole).toInt()) : nullptr;
}

bool TImportWizard::Accept(int page) {
    const std::string path = FromQString(file_->currentText().trimmed());
    if (page == 0 && (path.empty() || !FileExists(path))) {
        ShowMessage(mtFileNameInvalid,
                    "The file specified could not be located. Please re-enter the file name.",
                    mkError, mbOk);
        return false;
    }
    if (page == 1) {
        const TImport* t = Chosen();
        if (!t)
            return false;
        THourGlass wait;
        validating_->show();
        validating_->repaint();
        count_ = CountImportable(path, *t);
        validating_->hide();
        if (count_ <= 0) {
            ShowMessage(mtValidationFailed, "Unable to validate file. Possible invalid file format",
                        mkError, mbOk);
            return false;
        }
    }
    return true;
}

void TImportWizard::Entered(int page) {
    const TImport* t = Chosen();
    if (page != 2 || !t)
        return;
    summary_->setText(QString("Type:\tComma Separated Values (CSV)\nImport:\t%1\n"
                              "Records:\t%2\nMapped Fields:\t%3")
                          .arg(type_ == kImportEntries ? "Address Book Entries" : "Diary Events")
                          .arg(count_)
                          .arg(t->MappedSlots()));
    progress_->setRange(0, count_);
    progress_->setValue(0);
}

bool TImportWizard::Run() {
    const TImport* t = Chosen();
    if (!t)
        return false;
    const std::string path = FromQString(file_->currentText().trimmed());
    stop_ = false;
    BackButton()->setEnabled(false);
    NextButton()->setEnabled(false);
    {
        THourGlass wait;
        result_ = runner_(*t, path, [this](int done) {
            progress_->setValue(done);
            if (done % 64 == 0)
                QApplication::processEvents();
            return !stop_;
        });
    }
    NextButton()->setEnabled(true);
    if (!result_.Ok) {
        ShowMessage(mtUnknownError, ToQString(result_.Message), mkError, mbOk);
        return true;
    }
    RecordWizardRun(access_, type_, t->NameText(), path);
    if (result_.Replaced > 0)
        ShowMessage(mtValidationFailed,
                    QString("%1 character(s) of the file cannot be held and were imported as "
                            "\"?\".")
                        .arg(result_.Replaced),
                    mkInformation, mbOk);
    return true;
}

} // namespace tessaly
