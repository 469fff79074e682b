// The QPainter canvas must give what a device context gives: lines without
// their last pixel, rectangles without their right and bottom edge, marker
// lines that a second drawing takes away again, and text placed by its
// alignment the right way up whichever way y grows.
#include <QImage>
#include <QPainter>
#include <QTest>
#include "widget_test.h"

#include "app/brevix_app.h"
#include "app/qt_canvas.h"

using namespace brevix;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);

QImage blank(int w = 60, int h = 40) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

QRect inkBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kWhite) box |= QRect(x, y, 1, 1);
    return box;
}

}  // namespace

class QtCanvasTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { installFontSubstitutes(); }

    void linesLeaveOutTheirLastPixel() {
        QImage image = blank();
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.moveTo(5, 5);
            canvas.lineTo(15, 5);
        }
        QCOMPARE(image.pixel(5, 5), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(14, 5), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(15, 5), kWhite);
    }

    void rectanglesLeaveOutRightAndBottom() {
        QImage image = blank();
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.setPen({PenStyle::Solid, 0, {255, 0, 0}});
            canvas.setBrush({BrushStyle::Solid, {0, 0, 255}});
            canvas.rectangle({10, 10, 20, 30});
        }
        QCOMPARE(inkBox(image), QRect(QPoint(10, 10), QPoint(19, 29)));
        QCOMPARE(image.pixel(15, 20), qRgb(0, 0, 255));
    }

    void markersDrawnTwiceLeaveNoTrace() {
        QImage image = blank();
        image.setPixel(12, 12, qRgb(10, 200, 30));
        const QImage before = image;
        const Point octagon[] = {{4, 12}, {8, 8}, {16, 8}, {20, 12}, {16, 16}, {8, 16}, {4, 12}};
        QImage once;
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.setPen({PenStyle::Solid, 0, {255, 0, 0}});
            canvas.setRasterOp(RasterOp::NotXorPen);
            canvas.polyline(octagon);
            canvas.line(12, 0, 12, 30);
            painter.end();
            once = image;
            painter.begin(&image);
            canvas.polyline(octagon);
            canvas.line(12, 0, 12, 30);
        }
        QVERIFY(once != before);
        // Every corner of the closed outline shows once, none is cancelled out.
        for (const Point& p : octagon) QVERIFY(once.pixel(p.x, p.y) != kWhite);
        QCOMPARE(image, before);
    }

    void textIsPlacedByItsAlignment() {
        QImage image = blank(120, 40);
        {
            QPainter painter(&image);
            QtCanvas canvas(painter);
            canvas.setFont({"Arial", 14, 0, 400});
            canvas.setTextAlign({HAlign::Center, VAlign::Baseline});
            canvas.text(60, 25, "W");
        }
        const QRect box = inkBox(image);
        QVERIFY(!box.isEmpty());
        QVERIFY(std::abs(box.center().x() - 60) <= 1);
        QVERIFY(box.bottom() <= 25 && box.bottom() >= 22);
    }

    void textStaysUprightWhenYGrowsUpward() {
        // A page in twentieths of a point with y up, as printing sets it.
        QImage image = blank(200, 100);
        {
            QPainter painter(&image);
            painter.setTransform(QTransform(0.1, 0, 0, -0.1, 0, 100));
            QtCanvas canvas(painter);
            canvas.setFont({"Arial", 300, 0, 400});
            canvas.setTextAlign({HAlign::Left, VAlign::Bottom});
            canvas.text(100, 200, "T");
        }
        const QRect box = inkBox(image);
        // Bottom-aligned at y = 200 units, that is 20 pixels above the page's
        // foot: the letter stands above that line, the right way up.
        QVERIFY(box.bottom() <= 80);
        QVERIFY(box.top() >= 50);
        // The bar of a T is at its top.
        const int middle = box.center().x();
        QVERIFY(image.pixel(box.left() + 1, box.top() + 1) != kWhite);
        QCOMPARE(image.pixel(box.left() + 1, box.bottom() - 1), kWhite);
        QVERIFY(image.pixel(middle, box.bottom() - 1) != kWhite);
    }
};

BREVIX_WIDGET_TEST(QtCanvasTest)
#include "qt_canvas_test.moc"
