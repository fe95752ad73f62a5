#include "app/attachments/attachment_properties_dialog.h"

#include "core/access/dates.h"
#include "core/attachments/launch.h"
#include "core/common/text.h"
#include "core/system/desktop.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QLabel* Value(const QString& text, const char* name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QCheckBox* Mark(const char* caption, bool on) {
    auto* box = new QCheckBox(caption);
    box->setChecked(on);
    box->setEnabled(false);
    return box;
}

} // namespace

TAttachmentPropertiesDlg::TAttachmentPropertiesDlg(const TDocument& attachment,
                                                   const IDesktop& desktop,
                                                   const std::string& browserPath,
                                                   const TFormatSettings& formats, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle("Attachment Properties");
    auto* v = new QVBoxLayout(this);
    auto* heading = Value(ToQString(TextValue(attachment.Description)), "Heading");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    v->addWidget(heading);
    auto* form = new QFormLayout;
    v->addLayout(form);
    const QString target = ToQString(TextValue(attachment.FileName));

    if (attachment.IsDocument) {
        const std::string path = DocumentPath(TextValue(attachment.FileName));
        const TFileFacts facts = desktop.Facts(path);
        const QFileInfo info(PathFromCore(path));
        form->addRow("File Name:", Value(info.fileName(), "FileName"));
        form->addRow("Location:", Value(info.absolutePath(), "Location"));
        if (facts.Kind == TPathKind::Missing) {
            form->addRow("Status:", Value("File Could not be Located", "Status"));
            form->addRow("Application:", Value("<Unknown>", "Application"));
        } else {
            form->addRow("Type:", Value(ToQString(facts.TypeName), "Type"));
            form->addRow(
                "Size:",
                Value(QLocale().formattedDataSize(static_cast<qint64>(facts.Size)), "Size"));
            form->addRow(
                "Modified:",
                Value(ToQString(DateAtTimeText(facts.Modified, "<Unknown>", formats)), "Modified"));
            auto* marks = new QHBoxLayout;
            marks->addWidget(Mark("Read Only", facts.ReadOnly));
            marks->addWidget(Mark("Hidden", facts.Hidden));
            form->addRow("Attributes:", marks);
            const std::string application = desktop.AssociatedApplication(path);
            auto* appRow = new QHBoxLayout;
            auto* icon = new QLabel;
            const QMimeType mime = QMimeDatabase().mimeTypeForName(ToQString(facts.MimeType));
            const QIcon fallback = QApplication::style()->standardIcon(
                application.empty() ? QStyle::SP_MessageBoxWarning : QStyle::SP_FileIcon);
            icon->setPixmap(QIcon::fromTheme(mime.iconName(), fallback).pixmap(32, 32));
            appRow->addWidget(icon);
            appRow->addWidget(Value(application.empty() ? "Unable to Extract Application"
                                                        : ToQString(application),
                                    "Application"),
                              1);
            form->addRow("Application:", appRow);
        }
    } else {
        const QUrl url(ToQString(CheckLaunchUrl(TextValue(attachment.FileName)).Url));
        form->addRow("Internet URL:", Value(target, "Url"));
        form->addRow("Scheme:", Value(url.scheme(), "Scheme"));
        form->addRow("Host:", Value(url.host(), "Host"));
        form->addRow("Path:", Value(url.path(), "Path"));
        const QString browser = PathFromCore(browserPath);
        form->addRow("Associated Internet Browser",
                     Value(browser.isEmpty() ? QString("<Unknown>") : QFileInfo(browser).fileName(),
                           "Browser"));
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    v->addWidget(buttons);
}

} // namespace tessaly
