#include "app/clipboard_picture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "app/qt_canvas.h"

namespace brevix {

QByteArray renderSvg(QSize size, const PictureDrawer& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Brevix"));
    generator.setDescription(QStringLiteral("the_name"));
    {
        QPainter painter(&generator);
        QtCanvas canvas(painter);
        draw(canvas, size);
    }
    return bytes;
}

QImage renderImage(QSize size, const PictureDrawer& draw) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        draw(canvas, size);
    }
    return image;
}

bool copyPictureToClipboard(QSize size, const PictureDrawer& draw) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), renderSvg(size, draw));
    mime->setImageData(renderImage(size, draw));
    clipboard->setMimeData(mime);
    return true;
}

}  // namespace brevix
