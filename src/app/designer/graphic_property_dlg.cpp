#include "app/designer/graphic_property_dlg.h"

#include "platform/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

TGraphicPropertyDlg::TGraphicPropertyDlg(QWidget* parent, const TLayoutBox& box,
                                         const TBoxEditContext& context)
    : TBoxPropertyDlg(parent, box, context) {
    auto* row = new QHBoxLayout;
    auto* caption = new QLabel("Picture &File:");
    file_ = new QLineEdit(PathFromCore(box.Format.str()));
    file_->setObjectName("PictureFile");
    caption->setBuddy(file_);
    auto* browse = new QPushButton("&Browse...");
    row->addWidget(caption);
    row->addWidget(file_, 1);
    row->addWidget(browse);
    Content()->addLayout(row);
    picture_ = new QLabel;
    picture_->setObjectName("Picture");
    picture_->setFixedSize(240, 160);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::StyledPanel);
    Content()->addWidget(picture_, 0, Qt::AlignHCenter);
    connect(browse, &QPushButton::clicked, this, &TGraphicPropertyDlg::Browse);
    connect(file_, &QLineEdit::textChanged, this, &TGraphicPropertyDlg::ShowPicture);
    ShowPicture();
}

void TGraphicPropertyDlg::Browse() {
    QStringList patterns;
    for (const QByteArray& f : QImageReader::supportedImageFormats())
        patterns << "*." + QString::fromLatin1(f);
    const QString start = file_->text().isEmpty() ? QString() : QFileInfo(file_->text()).path();
    const QString chosen =
        QFileDialog::getOpenFileName(this, "Select Graphic Image", start,
                                     "Pictures (" + patterns.join(' ') + ");;All Files (*)");
    if (!chosen.isEmpty())
        file_->setText(chosen);
}

void TGraphicPropertyDlg::ShowPicture() {
    const QImage image(file_->text());
    if (image.isNull()) {
        picture_->setPixmap(QPixmap());
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(image.scaled(
        picture_->size() - QSize(4, 4), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TGraphicPropertyDlg::ApplyOwn(TLayoutBox& box) const {
    const std::string path = PathToCore(file_->text());
    if (path != box.Format.str())
        box.Format = path;
}

} // namespace tessaly
