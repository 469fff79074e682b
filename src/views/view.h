#pragma once
// One projection pane: an orthographic view of the stone along `w`, mapping
// a world window onto a device viewport, with a pen that remembers where it
// is and a small kit for dimension drawing (marks and arrows). The four view,
// the spin view, the printed diagram and the clipboard pictures all draw
// through it.
//
// Every pixel position handed to the canvas is a projected value plus 0.5,
// truncated toward zero; that rounding is part of what the user sees (and
// what picking compares against), so it is the same everywhere.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/geometry.h"
#include "platform/diagnostics.h"
#include "views/canvas.h"

namespace brevix {

struct WorldWindow {
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// sx1 and sy1 correspond to x1 and y1 of the window.
struct DeviceViewport {
    double sx1 = 0, sx2 = 0, sy1 = 0, sy2 = 0;
};

// The clickable index-gear label of the top view (the one at the full gear).
// Picking asks View::inGearLabel.
struct GearLabel {
    int anchorX = 0, anchorY = 0;
    int left = 0, right = 0, top = 0, bottom = 0;
    int present = 0;
    std::string text;
};

// value + 0.5 truncated toward zero. Values no device could show (and NaN,
// from a damaged design) are pinned instead of overflowing the conversion.
inline int toPixel(double value) {
    constexpr double LIMIT = 1 << 30;
    const double v = value + 0.5;
    if (v != v) return 0;
    if (v > LIMIT) return static_cast<int>(LIMIT);
    if (v < -LIMIT) return -static_cast<int>(LIMIT);
    return static_cast<int>(v);
}

class View {
public:
    // ---- configuration -------------------------------------------------------
    void setWindow(double x1, double x2, double y1, double y2) { window = {x1, x2, y1, y2}; }
    void setViewport(double sx1, double sx2, double sy1, double sy2, int margin);
    void setXAxis(Vec3 axis) { u = axis; }
    void setYAxis(Vec3 axis) { v = axis; }
    void setDC(Canvas* canvas) { dc = canvas; }
    void setName(std::string_view name) { paneName = std::string(name); }
    void setInteractive(bool on) { gearHotEnabled = on; }
    // Computes w, turns u and v by `angle` radians about w (right-hand rule),
    // keeps their unit copies, scales them to the viewport and places the origin.
    void setup(double angle);

    // ---- projection ------------------------------------------------------------
    double projectX(Vec3 p) const { return dot(u, p) + originX; }
    double projectY(Vec3 p) const { return dot(v, p) + originY; }
    // The world point on the plane through the origin perpendicular to w that
    // projects to (x, y), moved by -depth along w. A degenerate pane (zero
    // scale) gives the origin.
    Vec3 unproject(double x, double y, double depth) const;

    // ---- pen -------------------------------------------------------------------
    void moveTo3(Vec3 p);
    void lineTo3(Vec3 p);
    // By d given in margins along the unit axes.
    void moveBy(Vec3 d);
    void lineBy(Vec3 d);
    void moveRel(int dx, int dy);
    void lineRel(int dx, int dy);
    void moveToPixel(int x, int y);
    void lineToPixel(int x, int y);
    void line(int x1, int y1, int x2, int y2);
    // Text at the pen, lifted by half a margin, with the canvas's alignment.
    void text(std::string_view s);
    void polygon(const std::vector<Point>& points);
    // on: a solid brush of that colour until fillbrush(false) gives back the
    // brush it replaced. Without a canvas it notes "DC NULL in View::fillbrush()"
    // (a fault of the caller: every pane sets its canvas before it draws).
    void fillbrush(bool on, uint8_t r = 0, uint8_t g = 0, uint8_t b = 0);

    // ---- dimension pen ---------------------------------------------------------
    void mark(int k);
    // The point between mark floor(t) and the next at fraction t - floor(t).
    Point markAt(double t) const;
    void moveToMark(double t);
    void lineToMark(double t);
    // A shaft from the pen to the target with an arrowhead whose tip is the
    // pen's starting point; the pen ends at the target.
    void arrowToMark(double t);
    void arrowBy(Vec3 d);

    // The pane's own area: each coordinate at least the smaller bound of the
    // viewport and below the larger one (so that neighbouring panes never
    // both claim a pixel).
    bool inViewport(double x, double y) const;
    // The clickable gear label's text written again at its anchor (hover
    // highlight); nothing when there is none.
    void redrawGearLabel();

    bool inGearLabel(int x, int y) const {
        return gearLabel.present && gearLabel.left <= x && x <= gearLabel.right &&
               gearLabel.top <= y && y <= gearLabel.bottom;
    }

    // Margin offset of d (in margins) in pixels.
    int marginDx(Vec3 d) const { return toPixel(marginX * dot(d, uUnit)); }
    int marginDy(Vec3 d) const { return toPixel(marginY * dot(d, vUnit)); }

    // ---- fields ----------------------------------------------------------------
    Canvas* dc = nullptr;  // not owned
    Vec3 u{}, v{};         // scaled after setup
    Vec3 uUnit{}, vUnit{};
    Vec3 w{};
    WorldWindow window{};
    DeviceViewport viewport{};
    double originX = 0, originY = 0;
    int penX = 0, penY = 0;
    GearLabel gearLabel{};
    std::array<Point, 5> marks{};
    std::string paneName;
    int marginX = 0, marginY = 0;
    int extendsBeyond = 0;
    bool filling = false;
    Brush replacedBrush{};
    bool gearHotEnabled = true;
    // What the drawing noted, for whoever drew to show or drop.
    Diagnostics notes;

private:
    void arrow(Point tip, Point target, double nx, double ny);
};

}  // namespace brevix
