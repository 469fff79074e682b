#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>
#include <cmath>

#include "app/command_table.h"

namespace brevix {

namespace {

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kFolder(230, 190, 60);
const QColor kDisk(40, 60, 160);
const QColor kGem(80, 140, 220);
const QColor kArrow(0, 128, 0);

void page(QPainter& p, int x, int y, int w, int h) {
    p.setPen(kInk);
    p.setBrush(kPaper);
    QPolygon outline;
    outline << QPoint(x, y) << QPoint(x + w - 4, y) << QPoint(x + w, y + 4) << QPoint(x + w, y + h)
            << QPoint(x, y + h);
    p.drawPolygon(outline);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void textLines(QPainter& p, int x, int y, int w, int count) {
    p.setPen(QColor(128, 128, 128));
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
}

void magnifier(QPainter& p, int cx, int cy, int r) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(200, 230, 255));
    p.drawEllipse(QPoint(cx, cy), r, r);
    p.setPen(QPen(kInk, 2));
    p.drawLine(cx + r - 1, cy + r - 1, cx + r + 3, cy + r + 3);
}

void curvedArrow(QPainter& p, bool toLeft) {
    p.setPen(QPen(kArrow, 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    if (toLeft) {
        arc.moveTo(4, 6);
        arc.cubicTo(8, 1, 15, 4, 12, 12);
    } else {
        arc.moveTo(11, 6);
        arc.cubicTo(7, 1, 0, 4, 3, 12);
    }
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kArrow);
    QPolygon head;
    if (toLeft)
        head << QPoint(1, 7) << QPoint(7, 2) << QPoint(7, 9);
    else
        head << QPoint(14, 7) << QPoint(8, 2) << QPoint(8, 9);
    p.drawPolygon(head);
}

void gemOutline(QPainter& p) {
    // A brilliant seen from the side: crown above the girdle, pavilion below.
    p.setPen(kInk);
    p.setBrush(kGem);
    QPolygon gem;
    gem << QPoint(5, 1) << QPoint(10, 1) << QPoint(14, 5) << QPoint(7, 14) << QPoint(1, 5);
    p.drawPolygon(gem);
    p.drawLine(1, 5, 14, 5);
}

void paint(QPainter& p, int id) {
    switch (id) {
    case ID_FILE_NEW:
        page(p, 2, 1, 11, 13);
        break;
    case ID_FILE_OPEN: {
        p.setPen(kInk);
        p.setBrush(kFolder.darker(120));
        p.drawRect(1, 3, 12, 10);
        p.setBrush(kFolder);
        QPolygon flap;
        flap << QPoint(3, 6) << QPoint(15, 6) << QPoint(12, 13) << QPoint(1, 13);
        p.drawPolygon(flap);
        break;
    }
    case ID_FILE_SAVE:
        p.setPen(kInk);
        p.setBrush(kDisk);
        p.drawRect(1, 1, 13, 13);
        p.setBrush(kPaper);
        p.drawRect(3, 1, 9, 5);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(4, 9, 7, 5);
        break;
    case ID_FILE_SEARCH_DATAVUE:
        page(p, 1, 1, 10, 12);
        textLines(p, 3, 4, 5, 4);
        magnifier(p, 9, 8, 3);
        break;
    case ID_FILE_PRINT:
        p.setPen(kInk);
        p.setBrush(kPaper);
        p.drawRect(4, 1, 8, 6);
        p.setBrush(QColor(192, 192, 192));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(kPaper);
        p.drawRect(4, 10, 8, 4);
        p.setPen(kArrow);
        p.drawPoint(13, 8);
        break;
    case ID_FILE_PRINT_PREVIEW:
        page(p, 1, 1, 11, 13);
        textLines(p, 3, 4, 6, 3);
        magnifier(p, 8, 9, 3);
        break;
    case ID_EDIT_UNDO:
        curvedArrow(p, true);
        break;
    case ID_EDIT_REDO:
        curvedArrow(p, false);
        break;
    case ID_EDIT_COPY:
        page(p, 1, 1, 8, 9);
        page(p, 6, 5, 8, 9);
        break;
    case ID_EDIT_TRANSFER:
        gemOutline(p);
        p.setPen(QPen(QColor(200, 0, 0), 1));
        p.drawLine(7, 3, 7, 11);
        p.drawLine(5, 5, 7, 3);
        p.drawLine(9, 5, 7, 3);
        p.drawLine(5, 9, 7, 11);
        p.drawLine(9, 9, 7, 11);
        break;
    case ID_EDIT_INDEX_GEAR: {
        p.setPen(kInk);
        p.setBrush(QColor(160, 160, 160));
        QPolygonF teeth;
        const double cx = 7.5, cy = 7;
        for (int i = 0; i < 24; ++i) {
            const double r = (i % 2 == 0) ? 7 : 5.5;
            const double a = i * M_PI / 12;
            teeth << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
        }
        p.drawPolygon(teeth);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(cx, cy), 2, 2);
        break;
    }
    case ID_APP_ABOUT: {
        p.setPen(kInk);
        p.setBrush(QColor(255, 255, 200));
        p.drawEllipse(1, 0, 13, 13);
        QFont font;
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(0, 0, 160));
        p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    default:
        break;
    }
}

}  // namespace

QIcon toolbarIcon(int commandId) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        paint(p, commandId);
    }
    return QIcon(pixmap);
}

}  // namespace brevix
