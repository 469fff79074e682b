#include <cmath>

#include "views/stone_drawing.h"

namespace brevix {

namespace {

constexpr Vec3 X{1, 0, 0}, Z{0, 0, 1};
// Heights below this get their arrows from outside, the letter beyond them.
constexpr double SHORT_DIMENSION = 0.25;

bool isSidePane(const View& view) {
    return std::fabs(view.w.y) <= AXIS_PANE && std::fabs(view.w.x) > AXIS_PANE;
}
bool isEndPane(const View& view) { return std::fabs(view.w.y) > AXIS_PANE; }

Vec3 unit(Vec3 d) {
    const double len = length(d);
    return len == 0 ? d : d * (1 / len);
}

// Extension lines at both ends, from half a margin to 2.5 margins out along
// e, with marks 0 and 1 at 1.5 margins.
void extensionLines(View& view, Vec3 a, Vec3 b, Vec3 e) {
    view.moveTo3(a);
    view.moveBy(e * 0.5);
    view.lineBy(e * 2);
    view.moveBy(e * -1);
    view.mark(0);
    view.moveTo3(b);
    view.moveBy(e * 0.5);
    view.lineBy(e * 2);
    view.moveBy(e * -1);
    view.mark(1);
}

// Two arrows from the middle out to the extension lines, a gap of two
// margins for the letter between them.
void dimension(View& view, Vec3 a, Vec3 b, Vec3 e, const char* letter) {
    extensionLines(view, a, b, e);
    const Vec3 towardA = unit(a - b);
    view.moveToMark(0.5);
    view.moveBy(towardA);
    view.mark(2);
    view.moveToMark(0.5);
    view.moveBy(towardA * -1);
    view.mark(3);
    view.moveToMark(0);
    view.arrowToMark(2);
    view.moveToMark(1);
    view.arrowToMark(3);
    view.moveToMark(0.5);
    view.text(letter);
}

// A height too short for the letter between its arrows: arrows from
// outside, the letter beyond the end `away` points to (-z below the
// pavilion, +z above the crown).
void shortHeight(View& view, Vec3 a, Vec3 b, Vec3 e, Vec3 away, const char* letter) {
    extensionLines(view, a, b, e);
    const bool down = away.z < 0;
    const double near = down ? 0 : 1, far = down ? 1 : 0;
    view.moveToMark(near);
    view.arrowBy(away * 0.5);
    view.moveToMark(far);
    view.arrowToMark(near);
    view.lineBy(away);
    view.moveBy(away);
    view.text(letter);
}

void height(View& view, double x, double z1, double z2, Vec3 away, const char* letter) {
    const Vec3 a{x, 0, z1}, b{x, 0, z2};
    const Vec3 e = X * -1;
    if (z2 - z1 < SHORT_DIMENSION)
        shortHeight(view, a, b, e, away, letter);
    else
        dimension(view, a, b, e, letter);
}

}  // namespace

void drawDimensions(Stone& stone, View& view) {
    const bool side = isSidePane(view), end = !side && isEndPane(view);
    if (!side && !end) return;
    Stats& s = stone.stats;

    const double xExtent = s.maxX - s.minX, yExtent = s.maxY - s.minY;
    const bool xIsWidth = xExtent < yExtent - EPS;
    const char* xLetter = xIsWidth ? "W" : "L";
    const char* yLetter = xIsWidth ? "L" : "W";
    s.L = xIsWidth ? yExtent : xExtent;
    s.W = xIsWidth ? xExtent : yExtent;
    const double tx = s.tableMaxX - s.tableMinX, ty = s.tableMaxY - s.tableMinY;
    const bool txIsU = tx < ty - EPS;
    const char* txLetter = txIsU ? "U" : "T";
    const char* tyLetter = txIsU ? "T" : "U";

    if (side) {
        if (s.tableMaxY != 0)
            dimension(view, {0, s.tableMinY, s.maxZ}, {0, s.tableMaxY, s.maxZ}, Z, tyLetter);
        dimension(view, {0, s.minY, s.minZ}, {0, s.maxY, s.minZ}, Z * -1, yLetter);
        return;
    }
    if (s.tableMinX != 0)
        dimension(view, {s.tableMinX, 0, s.maxZ}, {s.tableMaxX, 0, s.maxZ}, Z, txLetter);
    dimension(view, {s.minX, 0, s.minZ}, {s.maxX, 0, s.minZ}, Z * -1, xLetter);
    const double girdleBottom = s.pavilionTop, girdleTop = s.crownBottom;
    if (girdleBottom <= girdleTop) {
        if (girdleBottom - s.minZ > EPS) height(view, s.minX, s.minZ, girdleBottom, Z * -1, "P");
        if (s.maxZ - girdleTop > EPS) height(view, s.minX, girdleTop, s.maxZ, Z, "C");
    } else {
        dimension(view, {s.minX, 0, s.minZ}, {s.minX, 0, s.maxZ}, X * -1, "H");
    }
}

}  // namespace brevix
