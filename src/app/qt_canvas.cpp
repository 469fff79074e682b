#include "app/qt_canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "platform/text_encoding.h"

namespace brevix {

namespace {

QColor qtColour(Rgb c) { return QColor(c.r, c.g, c.b); }

// The core's Windows-1252 bytes as Qt text.
QString fromCore(std::string_view bytes) { return QString::fromStdString(cp1252ToUtf8(bytes)); }

Qt::PenStyle qtPenStyle(PenStyle style) {
    switch (style) {
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::Null: return Qt::NoPen;
    case PenStyle::Solid: break;
    }
    return Qt::SolidLine;
}

QPolygon qtPolygon(std::span<const Point> points) {
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const Point& p : points)
        polygon << QPoint(p.x, p.y);
    return polygon;
}

// Cell height to em size for the sans-serif faces installed here: ascent plus
// descent of Liberation Sans is 1.117 em.
constexpr double kCellToEm = 1.0 / 1.117;

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {}

QFont QtCanvas::qtFont(const Font& font, double scale) {
    QFont qfont(QString::fromStdString(font.face));
    qfont.setStyleHint(QFont::SansSerif);
    // Labels are drawn over one another by the passes of a drawing; smoothed
    // text would thicken with each pass, crisp text stays the same.
    qfont.setStyleStrategy(QFont::NoAntialias);
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight / 10 * 10, 100, 900)));
    if (font.pointSize > 0 && font.height == 0) {
        qfont.setPointSizeF(font.pointSize * scale);
    } else {
        const int pixels = static_cast<int>(std::lround(std::abs(font.height) * scale * kCellToEm));
        qfont.setPixelSize(std::max(1, pixels));
    }
    return qfont;
}

double QtCanvas::deviceScale() const {
    const QTransform& t = painter_.transform();
    const double scale = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return scale > 0 ? scale : 1.0;
}

void QtCanvas::applyPen() {
    const Pen& p = pen();
    QPen qpen(qtColour(p.colour));
    qpen.setStyle(qtPenStyle(p.style));
    if (p.width <= 0) {
        qpen.setWidth(0);
        qpen.setCosmetic(true);
    } else {
        qpen.setWidth(p.width);
    }
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(qpen);
}

void QtCanvas::applyBrush() {
    const Brush& b = brush();
    if (b.style == BrushStyle::Null)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(qtColour(b.colour));
}

void QtCanvas::applyRasterOp() {
    // Raster operations exist only on raster devices; elsewhere (SVG) lines
    // are plain copies, which is what a picture wants anyway.
    const bool raster = painter_.paintEngine() &&
                        painter_.paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
    switch (rasterOp()) {
    case RasterOp::NotXorPen:
        painter_.setCompositionMode(raster ? QPainter::RasterOp_NotSourceXorDestination
                                           : QPainter::CompositionMode_SourceOver);
        break;
    case RasterOp::NotCopyPen:
        painter_.setCompositionMode(raster ? QPainter::RasterOp_NotSource
                                           : QPainter::CompositionMode_SourceOver);
        break;
    case RasterOp::CopyPen:
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
}

void QtCanvas::drawLine(Point from, Point to) {
    applyPen();
    applyRasterOp();
    if (from == to) {
        painter_.drawPoint(from.x, from.y);
        return;
    }
    painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::polyline(std::span<const Point> points) {
    if (points.empty()) return;
    applyPen();
    applyRasterOp();
    painter_.drawPolyline(qtPolygon(points));
}

void QtCanvas::polygon(std::span<const Point> points) {
    if (points.empty()) return;
    applyPen();
    applyBrush();
    applyRasterOp();
    painter_.drawPolygon(qtPolygon(points));
}

void QtCanvas::rectangle(const Rect& rect) {
    applyPen();
    applyBrush();
    applyRasterOp();
    // The rectangle covers its left and top edge but not its right and
    // bottom one. Qt's outline adds a pixel to each size, so the rectangle
    // given to it is one smaller; a fill without outline is one smaller
    // still, as a device context draws it.
    const int left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
    const int width = std::abs(rect.right - rect.left), height = std::abs(rect.bottom - rect.top);
    if (pen().style == PenStyle::Null) {
        painter_.fillRect(QRect(left, top, width - 1, height - 1), painter_.brush());
        return;
    }
    painter_.drawRect(QRect(left, top, width - 1, height - 1));
}

void QtCanvas::text(int x, int y, std::string_view s) {
    if (s.empty()) return;
    const double scale = deviceScale();
    const QFont qfont = qtFont(font(), scale);
    const QFontMetricsF metrics(qfont);
    const QString str = fromCore(s);
    // Text is placed in device space so that a y-up page transform does
    // not turn it upside down.
    const QPointF anchor = painter_.transform().map(QPointF(x, y));
    double dx = anchor.x(), dy = anchor.y();
    const double width = metrics.horizontalAdvance(str);
    switch (textAlign().h) {
    case HAlign::Center: dx -= width / 2; break;
    case HAlign::Right: dx -= width; break;
    case HAlign::Left: break;
    }
    switch (textAlign().v) {
    case VAlign::Top: dy += metrics.ascent(); break;
    case VAlign::Bottom: dy -= metrics.descent(); break;
    case VAlign::Baseline: break;
    }
    painter_.save();
    painter_.resetTransform();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setFont(qfont);
    painter_.setPen(QColor(0, 0, 0));
    painter_.drawText(QPointF(dx, dy), str);
    painter_.restore();
}

Size QtCanvas::textExtent(std::string_view s) {
    const double scale = deviceScale();
    const QFontMetricsF metrics(qtFont(font(), scale));
    const QString str = fromCore(s);
    return {static_cast<int>(std::lround(metrics.horizontalAdvance(str) / scale)),
            static_cast<int>(std::lround(metrics.height() / scale))};
}

void QtCanvas::setClip(const Rect& rect) {
    painter_.setClipRect(
        QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom)).normalized());
}

void QtCanvas::clearClip() { painter_.setClipping(false); }

void QtCanvas::saveClip() { clips_.push_back({painter_.hasClipping(), painter_.clipRegion()}); }

void QtCanvas::restoreClip() {
    if (clips_.empty()) return;
    const ClipState state = clips_.back();
    clips_.pop_back();
    if (state.enabled)
        painter_.setClipRegion(state.region);
    else
        painter_.setClipping(false);
}

}  // namespace brevix
