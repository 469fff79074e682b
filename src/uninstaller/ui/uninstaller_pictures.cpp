#include "uninstaller/ui/uninstaller_pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace brevix::uninstall {

namespace {

// A cut stone seen from the side with a small cross: "remove the gem".
QPixmap iconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QPainterPath stone;
    stone.moveTo(4, 12);
    stone.lineTo(10, 5);
    stone.lineTo(22, 5);
    stone.lineTo(28, 12);
    stone.lineTo(16, 29);
    stone.closeSubpath();
    p.setPen(QPen(QColor(20, 60, 120), 1.5));
    p.setBrush(QColor(120, 180, 235));
    p.drawPath(stone);
    p.drawLine(QPointF(4, 12), QPointF(28, 12));
    p.drawLine(QPointF(10, 5), QPointF(13, 12));
    p.drawLine(QPointF(22, 5), QPointF(19, 12));
    p.drawLine(QPointF(13, 12), QPointF(16, 29));
    p.drawLine(QPointF(19, 12), QPointF(16, 29));
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(24, 24), 7, 7);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 21), QPointF(27, 27));
    p.drawLine(QPointF(27, 21), QPointF(21, 27));
    return pixmap;
}

}  // namespace

QIcon uninstallerIcon() {
    QIcon icon;
    icon.addPixmap(iconPixmap(32));
    icon.addPixmap(iconPixmap(16));
    return icon;
}

QPixmap checkMarkPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 140, 40), size / 7.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(size * 0.18, size * 0.55), QPointF(size * 0.42, size * 0.78),
                              QPointF(size * 0.84, size * 0.22)}));
    return pixmap;
}

}  // namespace brevix::uninstall
