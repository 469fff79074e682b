#pragma once
// The drawing surface of every picture the program makes: the four view, the
// spin view, the clipboard pictures and the printed diagram. The views work in
// whole logical units (pixels on screen, twips on the printed page with y
// growing upward) and only ever ask for lines, polygons, rectangles and text
// with the current pen, brush, font and alignment, the way a GDI device
// context is used. The GUI implements it on QPainter; tests record what is
// drawn (recording_canvas.h).
//
// Contract for implementations:
// - Drawing state (pen, brush, font, text alignment, raster op) lives in this
//   base class; an implementation reads it when it draws. Setting state draws
//   nothing and is cheap.
// - Texts are in the core's single-byte code page (Windows-1252); an
//   implementation that talks to a Unicode toolkit converts at its boundary.
// - Text is drawn in black whatever the pen: the views pass labels through
//   several pen changes and never mean them to take the pen's colour.
// - A pen of width 0 is one device pixel wide whatever the mapping; a wider
//   pen is `width` logical units wide.
// - A zero-length line still counts as drawn: printed pictures use two of them
//   to fix the picture's extent.
// Later changes to this interface are additive only.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brevix {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Corners as given; left may exceed right and top may exceed bottom (a page
// in twips has its top above its bottom, so top > bottom there).
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0, height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

enum class PenStyle : uint8_t { Solid, Dash, Dot, Null };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;  // 0 = one device pixel
    Rgb colour{};
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle : uint8_t { Solid, Null };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Rgb colour{255, 255, 255};
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font is either a screen font given in points (pointSize > 0, the height
// then follows from the device's resolution) or a font of `height` logical
// units (the cell height, as the printed page and the clipboard pictures use).
struct Font {
    std::string face = "MS Sans Serif";
    int height = 0;
    double pointSize = 8;
    int weight = 400;  // 400 normal, 700 bold
    friend bool operator==(const Font&, const Font&) = default;
};

enum class HAlign : uint8_t { Left, Center, Right };
enum class VAlign : uint8_t { Top, Baseline, Bottom };

struct TextAlign {
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Top;
    friend bool operator==(const TextAlign&, const TextAlign&) = default;
};

// NotXorPen draws a line that a second identical drawing removes again
// (the hover markers); an implementation may instead draw such lines on an
// overlay that is repainted on every move, as long as the user sees the same.
// NotCopyPen draws in the inverse of the pen's colour (the entering and
// leaving stubs of a light ray).
enum class RasterOp : uint8_t { CopyPen, NotXorPen, NotCopyPen };

// Stock objects of a fresh device context.
inline const Pen BLACK_PEN{};
inline const Brush WHITE_BRUSH{};
inline const Brush NULL_BRUSH{BrushStyle::Null, {}};

class Canvas {
public:
    virtual ~Canvas() = default;

    // ---- state -----------------------------------------------------------
    void setPen(const Pen& pen) { state_.pen = pen; }
    const Pen& pen() const { return state_.pen; }
    void setBrush(const Brush& brush) { state_.brush = brush; }
    const Brush& brush() const { return state_.brush; }
    void setFont(const Font& font) { state_.font = font; }
    const Font& font() const { return state_.font; }
    void setTextAlign(TextAlign align) { state_.align = align; }
    TextAlign textAlign() const { return state_.align; }
    void setRasterOp(RasterOp op) { state_.rop = op; }
    RasterOp rasterOp() const { return state_.rop; }

    // Pushes and pops the drawing state, the clip and the current position.
    void save() {
        stack_.push_back(state_);
        saveClip();
    }
    void restore() {
        if (stack_.empty()) return;
        state_ = stack_.back();
        stack_.pop_back();
        restoreClip();
    }

    // ---- current position ------------------------------------------------
    void moveTo(int x, int y) { state_.position = {x, y}; }
    void lineTo(int x, int y) {
        drawLine(state_.position, {x, y});
        state_.position = {x, y};
    }
    Point position() const { return state_.position; }

    // ---- drawing with the current state -----------------------------------
    void line(int x1, int y1, int x2, int y2) { drawLine({x1, y1}, {x2, y2}); }
    virtual void drawLine(Point from, Point to) = 0;
    // Open chain of lines with the pen.
    virtual void polyline(std::span<const Point> points) = 0;
    // Closed outline with the pen, filled with the brush.
    virtual void polygon(std::span<const Point> points) = 0;
    // Rectangle outlined with the pen and filled with the brush.
    virtual void rectangle(const Rect& rect) = 0;
    // Text at (x, y) placed by the current alignment and font.
    virtual void text(int x, int y, std::string_view s) = 0;
    // Width and height of `s` in the current font, in logical units (both
    // positive whichever way y grows).
    virtual Size textExtent(std::string_view s) = 0;

    // ---- clipping ----------------------------------------------------------
    virtual void setClip(const Rect& rect) = 0;
    virtual void clearClip() = 0;

protected:
    // Let an implementation keep its clip on the save/restore stack.
    virtual void saveClip() {}
    virtual void restoreClip() {}

private:
    struct State {
        Pen pen{};
        Brush brush{};
        Font font{};
        TextAlign align{};
        RasterOp rop = RasterOp::CopyPen;
        Point position{};
    };
    State state_{};
    std::vector<State> stack_;
};

}  // namespace brevix
