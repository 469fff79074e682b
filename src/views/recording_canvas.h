#pragma once
// Canvases that draw nothing: one that keeps every primitive as a comparable
// value (tests, and tools that want to inspect a picture), and one that
// forgets them (benchmarks).
#include <string>
#include <vector>

#include "views/canvas.h"

namespace brevix {

enum class PrimitiveKind : uint8_t { Line, Polyline, Polygon, Rectangle, Text };

// One drawing call with the state it was drawn with. Brush and font are kept
// only where they matter (brush for polygons and rectangles, font and
// alignment for text) so that equal pictures compare equal.
struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Line;
    std::vector<Point> points;  // line: two; rectangle: two corners; text: one
    std::string text;
    Pen pen{};
    Brush brush{};
    Font font{};
    TextAlign align{};
    RasterOp rop = RasterOp::CopyPen;
    friend bool operator==(const Primitive&, const Primitive&) = default;
};

// Readable one-line form, for test failure messages.
std::string describe(const Primitive& p);

// Text extents are made up from the font so that layouts are reproducible:
// a font given in points is pointSize * 4/3 units high (96 per inch), one in
// logical units is `height` high; every character is half the height wide.
class RecordingCanvas : public Canvas {
public:
    std::vector<Primitive> primitives;
    bool clipped = false;
    Rect clip{};

    void drawLine(Point from, Point to) override;
    void polyline(std::span<const Point> points) override;
    void polygon(std::span<const Point> points) override;
    void rectangle(const Rect& rect) override;
    void text(int x, int y, std::string_view s) override;
    Size textExtent(std::string_view s) override;
    void setClip(const Rect& rect) override {
        clipped = true;
        clip = rect;
    }
    void clearClip() override { clipped = false; }

    void clear() { primitives.clear(); }
    // How many primitives of this kind were drawn with a pen of this colour.
    int count(PrimitiveKind kind, Rgb penColour) const;
    int count(PrimitiveKind kind) const;
    // The texts drawn, in order.
    std::vector<std::string> texts() const;

private:
    Primitive make(PrimitiveKind kind) const;
};

// Draws nothing, measures like RecordingCanvas.
class NullCanvas : public Canvas {
public:
    long calls = 0;
    void drawLine(Point, Point) override { ++calls; }
    void polyline(std::span<const Point>) override { ++calls; }
    void polygon(std::span<const Point>) override { ++calls; }
    void rectangle(const Rect&) override { ++calls; }
    void text(int, int, std::string_view) override { ++calls; }
    Size textExtent(std::string_view s) override;
    void setClip(const Rect&) override {}
    void clearClip() override {}
};

// Draws recorded primitives again onto another canvas, each with the state
// it was recorded with (the hover highlights of the four view).
void replay(const std::vector<Primitive>& primitives, Canvas& canvas);

// The extent RecordingCanvas and NullCanvas report for `s` in `font`.
Size madeUpTextExtent(const Font& font, std::string_view s);

}  // namespace brevix
