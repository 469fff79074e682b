#include "views/recording_canvas.h"

#include <cmath>

#include "platform/strformat.h"

namespace brevix {

namespace {
const char* kindName(PrimitiveKind kind) {
    switch (kind) {
        case PrimitiveKind::Line: return "line";
        case PrimitiveKind::Polyline: return "polyline";
        case PrimitiveKind::Polygon: return "polygon";
        case PrimitiveKind::Rectangle: return "rectangle";
        case PrimitiveKind::Text: return "text";
    }
    return "?";
}
}  // namespace

std::string describe(const Primitive& p) {
    std::string out = kindName(p.kind);
    out += strprintf(" pen(%d,%d,%d w%d)", p.pen.colour.r, p.pen.colour.g, p.pen.colour.b,
                     p.pen.width);
    if (p.kind == PrimitiveKind::Polygon || p.kind == PrimitiveKind::Rectangle) {
        if (p.brush.style == BrushStyle::Null)
            out += " brush(none)";
        else
            out += strprintf(" brush(%d,%d,%d)", p.brush.colour.r, p.brush.colour.g,
                             p.brush.colour.b);
    }
    for (const Point& q : p.points) out += strprintf(" (%d,%d)", q.x, q.y);
    if (p.kind == PrimitiveKind::Text) out += " \"" + p.text + "\"";
    if (p.rop == RasterOp::NotXorPen) out += " xor";
    if (p.rop == RasterOp::NotCopyPen) out += " inverse";
    return out;
}

Size madeUpTextExtent(const Font& font, std::string_view s) {
    const int height = font.height > 0 ? font.height
                                       : static_cast<int>(std::lround(font.pointSize * 4 / 3));
    return {static_cast<int>(s.size()) * (height / 2), height};
}

Primitive RecordingCanvas::make(PrimitiveKind kind) const {
    Primitive p;
    p.kind = kind;
    p.pen = pen();
    p.rop = rasterOp();
    if (kind == PrimitiveKind::Polygon || kind == PrimitiveKind::Rectangle) p.brush = brush();
    if (kind == PrimitiveKind::Text) {
        p.font = font();
        p.align = textAlign();
    }
    return p;
}

void RecordingCanvas::drawLine(Point from, Point to) {
    Primitive p = make(PrimitiveKind::Line);
    p.points = {from, to};
    primitives.push_back(std::move(p));
}

void RecordingCanvas::polyline(std::span<const Point> points) {
    Primitive p = make(PrimitiveKind::Polyline);
    p.points.assign(points.begin(), points.end());
    primitives.push_back(std::move(p));
}

void RecordingCanvas::polygon(std::span<const Point> points) {
    Primitive p = make(PrimitiveKind::Polygon);
    p.points.assign(points.begin(), points.end());
    primitives.push_back(std::move(p));
}

void RecordingCanvas::rectangle(const Rect& rect) {
    Primitive p = make(PrimitiveKind::Rectangle);
    p.points = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    primitives.push_back(std::move(p));
}

void RecordingCanvas::text(int x, int y, std::string_view s) {
    Primitive p = make(PrimitiveKind::Text);
    p.points = {{x, y}};
    p.text = std::string(s);
    primitives.push_back(std::move(p));
}

Size RecordingCanvas::textExtent(std::string_view s) { return madeUpTextExtent(font(), s); }

int RecordingCanvas::count(PrimitiveKind kind, Rgb penColour) const {
    int n = 0;
    for (const Primitive& p : primitives)
        if (p.kind == kind && p.pen.colour == penColour) ++n;
    return n;
}

int RecordingCanvas::count(PrimitiveKind kind) const {
    int n = 0;
    for (const Primitive& p : primitives)
        if (p.kind == kind) ++n;
    return n;
}

std::vector<std::string> RecordingCanvas::texts() const {
    std::vector<std::string> out;
    for (const Primitive& p : primitives)
        if (p.kind == PrimitiveKind::Text) out.push_back(p.text);
    return out;
}

void replay(const std::vector<Primitive>& primitives, Canvas& canvas) {
    for (const Primitive& p : primitives) {
        canvas.setPen(p.pen);
        canvas.setRasterOp(p.rop);
        switch (p.kind) {
        case PrimitiveKind::Line:
            if (p.points.size() == 2) canvas.drawLine(p.points[0], p.points[1]);
            break;
        case PrimitiveKind::Polyline:
            canvas.polyline(p.points);
            break;
        case PrimitiveKind::Polygon:
            canvas.setBrush(p.brush);
            canvas.polygon(p.points);
            break;
        case PrimitiveKind::Rectangle:
            canvas.setBrush(p.brush);
            if (p.points.size() == 2)
                canvas.rectangle({p.points[0].x, p.points[0].y, p.points[1].x, p.points[1].y});
            break;
        case PrimitiveKind::Text:
            canvas.setFont(p.font);
            canvas.setTextAlign(p.align);
            if (!p.points.empty()) canvas.text(p.points[0].x, p.points[0].y, p.text);
            break;
        }
    }
}

Size NullCanvas::textExtent(std::string_view s) { return madeUpTextExtent(font(), s); }

}  // namespace brevix
