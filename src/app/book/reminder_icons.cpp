#include "app/book/reminder_icons.h"

#include "core/store/record.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>

namespace tessaly {

namespace {

// A bell in a colour: red for overdue, orange for today, yellow for a warning.
QPixmap Bell(const QColor& colour) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QPainterPath bell;
    bell.moveTo(3, 12);
    bell.cubicTo(4.5, 10, 4, 3, 8, 3);
    bell.cubicTo(12, 3, 11.5, 10, 13, 12);
    bell.closeSubpath();
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(colour);
    g.drawPath(bell);
    g.setBrush(Qt::black);
    g.drawEllipse(QPointF(8, 13.5), 1.5, 1.5);
    g.drawLine(QPointF(8, 1.5), QPointF(8, 3));
    return p;
}

QPixmap Tick() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return p;
}

QPixmap Note() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(Qt::black);
    g.setBrush(QColor(255, 255, 200));
    g.drawRect(3, 1, 10, 13);
    g.setPen(QColor(0, 0, 128));
    for (int y = 4; y <= 11; y += 3)
        g.drawLine(5, y, 11, y);
    return p;
}

QPixmap Clock() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(Qt::white);
    g.drawEllipse(QPointF(8, 8.5), 6, 6);
    g.drawLine(QPointF(8, 8.5), QPointF(8, 4.5));
    g.drawLine(QPointF(8, 8.5), QPointF(11, 8.5));
    g.setPen(QPen(Qt::red, 1.5));
    g.drawLine(QPointF(2, 3), QPointF(4, 1));
    g.drawLine(QPointF(14, 3), QPointF(12, 1));
    return p;
}

// Two arrows chasing each other round: a later occurrence of a recurring event.
QPixmap Recur() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(0, 0, 160), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QRectF ring(2.5, 2.5, 11, 11);
    g.drawArc(ring, 20 * 16, 140 * 16);
    g.drawArc(ring, 200 * 16, 140 * 16);
    g.setBrush(QColor(0, 0, 160));
    g.drawPolygon(QPolygonF({QPointF(1, 6.5), QPointF(5, 6.5), QPointF(3, 9.5)}));
    g.drawPolygon(QPolygonF({QPointF(15, 9.5), QPointF(11, 9.5), QPointF(13, 6.5)}));
    return p;
}

// An exclamation mark: a scheduled event without an alarm.
QPixmap Exclamation() {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 100, 200));
    g.drawEllipse(QPointF(8, 8), 7, 7);
    g.setBrush(Qt::white);
    g.drawRect(QRectF(7, 3.5, 2, 6));
    g.drawEllipse(QPointF(8, 12), 1.2, 1.2);
    return p;
}

} // namespace

QPixmap ReminderIcon(const QString& name) {
    static QHash<QString, QPixmap> cache;
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    QPixmap p;
    if (name == "Alert1")
        p = Bell(QColor(220, 0, 0));
    else if (name == "Alert2")
        p = Bell(QColor(255, 140, 0));
    else if (name == "Alert3")
        p = Bell(QColor(255, 230, 0));
    else if (name == "ActedBMP")
        p = Tick();
    else if (name == "NoteBMP")
        p = Note();
    else if (name == "AlarmBMP")
        p = Clock();
    else if (name == "RecurBMP")
        p = Recur();
    else if (name == "Alert")
        p = Exclamation();
    else
        return p;
    cache.insert(name, p);
    return p;
}

QString AlertIconName(int status) {
    switch (status) {
    case kReminderOverdue:
        return "Alert1";
    case kReminderDueToday:
        return "Alert2";
    case kReminderPending:
        return "Alert3";
    default:
        return QString();
    }
}

} // namespace tessaly
