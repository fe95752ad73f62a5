#include "app/frame/about_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessaly {

QPixmap TAboutBox::Picture(int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal u = size / 16.0;
    // A closed address book with index tabs.
    p.setPen(QPen(QColor(0x20, 0x30, 0x60), u * 0.6));
    p.setBrush(QColor(0x2E, 0x5C, 0xA8));
    p.drawRoundedRect(QRectF(2 * u, 1 * u, 10 * u, 14 * u), u, u);
    p.setBrush(QColor(0xF2, 0xC1, 0x4E));
    for (int i = 0; i < 4; ++i)
        p.drawRect(QRectF(12 * u, (2 + 3.2 * i) * u, 2 * u, 2.4 * u));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(7 * u, 6 * u), 1.8 * u, 1.8 * u);
    p.drawRoundedRect(QRectF(4 * u, 8.6 * u, 6 * u, 3.6 * u), 1.5 * u, 1.5 * u);
    return pm;
}

TAboutBox::TAboutBox(const QString& versionText, bool splash, QWidget* parent) : QDialog(parent) {
    auto* panel = new QFrame;
    panel->setFrameShape(splash ? QFrame::Box : QFrame::StyledPanel);
    auto* picture = new QLabel;
    picture->setPixmap(Picture(64));
    auto* name = new QLabel("Tessaly");
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    name->setFont(big);
    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(new QLabel("Address Book, Diary and Dialler"));
    texts->addWidget(new QLabel(versionText));
    texts->addStretch();
    auto* inner = new QHBoxLayout(panel);
    inner->addWidget(picture, 0, Qt::AlignTop);
    inner->addLayout(texts);
    auto* all = new QVBoxLayout(this);
    all->addWidget(panel);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    all->addWidget(ok, 0, Qt::AlignHCenter);
    if (splash) {
        // No border, no caption, no OK: the framed picture and text plus a margin.
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
        ok->hide();
        all->setContentsMargins(0, 0, 10, 10);
    } else {
        setWindowTitle("About Tessaly");
    }
}

} // namespace tessaly
