#include "app/attachments/attachment_dialog.h"

#include "app/widgets/message_dialog.h"
#include "core/attachments/attachment_form.h"
#include "core/attachments/launch.h"
#include "core/common/text.h"
#include "core/settings/settings_access.h"
#include "core/system/desktop.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessaly {

TAttachmentDlg::TAttachmentDlg(TSettingsAccess& settings, IDesktop& desktop,
                               const TDocument* editing, QWidget* parent)
    : QDialog(parent), settings_(settings), desktop_(desktop),
      remembered_(LoadDocumentSettings(settings)), editing_(editing != nullptr) {
    setWindowTitle(
        ToQString(std::string(editing ? kEditAttachmentCaption : kAddAttachmentCaption)));
    pages_ = new QTabWidget;

    auto* document = new QWidget;
    auto* docForm = new QFormLayout(document);
    docDescription_ = new QLineEdit;
    docDescription_->setObjectName("DocDescription");
    docDescription_->setMaxLength(255);
    useFileName_ = new QCheckBox("&Use File Name for Description");
    useFileName_->setObjectName("UseFileName");
    fileName_ = new QLineEdit;
    fileName_->setObjectName("FileName");
    fileName_->setMaxLength(255);
    auto* browse = new QPushButton("&Browse...");
    browse->setObjectName("Browse");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse);
    docForm->addRow("Description:", docDescription_);
    docForm->addRow(QString(), useFileName_);
    docForm->addRow("File Name:", fileRow);
    pages_->addTab(document, "&Document");

    auto* internet = new QWidget;
    auto* urlForm = new QFormLayout(internet);
    urlDescription_ = new QLineEdit;
    urlDescription_->setObjectName("UrlDescription");
    urlDescription_->setMaxLength(255);
    useUrl_ = new QCheckBox("Use URL for Description");
    useUrl_->setObjectName("UseUrl");
    url_ = new QLineEdit;
    url_->setObjectName("Url");
    url_->setMaxLength(255);
    urlForm->addRow("Description:", urlDescription_);
    urlForm->addRow(QString(), useUrl_);
    urlForm->addRow("Internet URL:", url_);
    pages_->addTab(internet, "Internet &URL");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addWidget(pages_);
    v->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, &TAttachmentDlg::Browse);
    connect(useFileName_, &QCheckBox::toggled, this, &TAttachmentDlg::FollowFileName);
    connect(fileName_, &QLineEdit::textChanged, this, &TAttachmentDlg::FollowFileName);
    connect(useUrl_, &QCheckBox::toggled, this, &TAttachmentDlg::FollowUrl);
    connect(url_, &QLineEdit::textChanged, this, &TAttachmentDlg::FollowUrl);

    if (editing) {
        useFileName_->hide();
        useUrl_->hide();
        const QString description = ToQString(TextValue(editing->Description));
        const QString target = ToQString(TextValue(editing->FileName));
        if (editing->IsDocument) {
            docDescription_->setText(description);
            fileName_->setText(target);
        } else {
            urlDescription_->setText(description);
            url_->setText(target);
            pages_->setCurrentIndex(1);
        }
    } else {
        useFileName_->setChecked(remembered_.UseFileName);
        useUrl_->setChecked(remembered_.UseUrlName);
    }
    FollowFileName();
    FollowUrl();
    (IsDocumentPage() ? fileName_ : url_)->setFocus();
}

bool TAttachmentDlg::IsDocumentPage() const {
    return pages_->currentIndex() == 0;
}

void TAttachmentDlg::FollowFileName() {
    const bool follow = !editing_ && useFileName_->isChecked();
    docDescription_->setEnabled(!follow);
    if (follow)
        docDescription_->setText(
            ToQString(DescriptionFromFileName(FromQString(fileName_->text().trimmed()))));
}

void TAttachmentDlg::FollowUrl() {
    const bool follow = !editing_ && useUrl_->isChecked();
    urlDescription_->setEnabled(!follow);
    if (follow)
        urlDescription_->setText(url_->text());
}

void TAttachmentDlg::Browse() {
    const QString current = fileName_->text().trimmed();
    const QString directory =
        current.isEmpty() ? PathFromCore(remembered_.Directory) : QFileInfo(current).absolutePath();
    QFileDialog dlg(this, ToQString(std::string(kSelectDocumentCaption)), directory);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const std::string& f : DocumentFilters(remembered_.Extensions))
        filters << ToQString(f);
    dlg.setNameFilters(filters);
    dlg.selectFile(ToQString(remembered_.DocumentExt));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return;
    const QString chosen = dlg.selectedFiles().first();
    fileName_->setText(chosen);
    const std::string path = PathToCore(chosen);
    remembered_.Directory = PathToCore(QFileInfo(chosen).absolutePath());
    remembered_.DocumentExt = DocumentExtPattern(path);
    RememberExtension(remembered_.Extensions, path);
    SaveBrowseChoice(settings_, remembered_);
}

void TAttachmentDlg::accept() {
    const bool document = IsDocumentPage();
    QLineEdit* descriptionBox = document ? docDescription_ : urlDescription_;
    QLineEdit* targetBox = document ? fileName_ : url_;
    std::string description = FromQString(descriptionBox->text());
    // The book keeps file names as texts, like every other field.
    std::string target = FromQString(targetBox->text());
    if (!editing_) {
        remembered_.UseFileName = useFileName_->isChecked();
        remembered_.UseUrlName = useUrl_->isChecked();
        SaveDescriptionChoices(settings_, remembered_);
    }
    const TAttachmentCheck check = CheckAttachmentFields(description, target);
    descriptionBox->setText(ToQString(description));
    targetBox->setText(ToQString(target));
    if (check.Message) {
        ShowMessage(*check.Message);
        (check.Focus == TAttachmentFocus::Description ? descriptionBox : targetBox)->setFocus();
        return;
    }
    if (document) {
        const TDocumentFileCheck file =
            CheckDocumentFile(DocumentPath(target), desktop_, [](const TDialogMessage& question) {
                return ShowMessage(question) == mrYes;
            });
        if (!file.Passed) {
            if (file.Message)
                ShowMessage(*file.Message);
            targetBox->setFocus();
            return;
        }
    }
    QDialog::accept();
}

TDocument TAttachmentDlg::Result() const {
    if (IsDocumentPage())
        return TDocument(FromQString(docDescription_->text()), FromQString(fileName_->text()),
                         true);
    return TDocument(FromQString(urlDescription_->text()), FromQString(url_->text()), false);
}

} // namespace tessaly
