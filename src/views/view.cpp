#include "views/view.h"
#include "platform/diag_codes.h"

#include <algorithm>
#include <cmath>


namespace brevix {

namespace {

Vec3 rotateAbout(Vec3 x, Vec3 axis, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    return x * c + cross(axis, x) * s + axis * (dot(axis, x) * (1 - c));
}

double scaleOf(double device1, double device2, double world1, double world2) {
    // A window of no width would put the whole world at infinity.
    return world2 == world1 ? 0.0 : (device2 - device1) / (world2 - world1);
}

int roundBlend(int a, int b, double f) { return static_cast<int>(std::lround(a + f * (b - a))); }

}  // namespace

void View::setViewport(double sx1, double sx2, double sy1, double sy2, int margin) {
    viewport = {sx1, sx2, sy1, sy2};
    marginX = margin;
    marginY = sy2 > sy1 ? margin : -margin;
}

void View::setup(double angle) {
    w = cross(v, u);
    if (angle != 0) {
        u = rotateAbout(u, w, angle);
        v = rotateAbout(v, w, angle);
    }
    uUnit = u;
    vUnit = v;
    const double xscale = scaleOf(viewport.sx1, viewport.sx2, window.x1, window.x2);
    const double yscale = scaleOf(viewport.sy1, viewport.sy2, window.y1, window.y2);
    u = u * xscale;
    v = v * yscale;
    originX = std::trunc(viewport.sx1 - xscale * window.x1);
    originY = std::trunc(viewport.sy1 - yscale * window.y1);
}

Vec3 View::unproject(double x, double y, double depth) const {
    // Cramer's rule on the rows u, v, w with right side (x', y', 0).
    const double rx = x - originX, ry = y - originY;
    const double det = dot(u, cross(v, w));
    if (std::fabs(det) < 1e-300) return w * -depth;
    const Vec3 rhsCol{rx, ry, 0};
    // Columns of the matrix whose rows are u, v, w.
    const Vec3 c0{u.x, v.x, w.x}, c1{u.y, v.y, w.y}, c2{u.z, v.z, w.z};
    const double px = dot(rhsCol, cross(c1, c2)) / det;
    const double py = dot(c0, cross(rhsCol, c2)) / det;
    const double pz = dot(c0, cross(c1, rhsCol)) / det;
    return Vec3{px, py, pz} - w * depth;
}

void View::moveTo3(Vec3 p) {
    penX = toPixel(projectX(p));
    penY = toPixel(projectY(p));
}

void View::lineTo3(Vec3 p) { lineToPixel(toPixel(projectX(p)), toPixel(projectY(p))); }

void View::moveBy(Vec3 d) {
    penX += marginDx(d);
    penY += marginDy(d);
}

void View::lineBy(Vec3 d) { lineToPixel(penX + marginDx(d), penY + marginDy(d)); }

void View::moveRel(int dx, int dy) {
    penX += dx;
    penY += dy;
}

void View::lineRel(int dx, int dy) { lineToPixel(penX + dx, penY + dy); }

void View::moveToPixel(int x, int y) {
    penX = x;
    penY = y;
}

void View::lineToPixel(int x, int y) {
    if (dc) dc->line(penX, penY, x, y);
    penX = x;
    penY = y;
}

void View::line(int x1, int y1, int x2, int y2) {
    if (dc) dc->line(x1, y1, x2, y2);
    penX = x2;
    penY = y2;
}

void View::text(std::string_view s) {
    if (dc) dc->text(penX, penY - marginY / 2, s);
}

void View::polygon(const std::vector<Point>& points) {
    if (dc && !points.empty()) dc->polygon(points);
}

void View::fillbrush(bool on, uint8_t r, uint8_t g, uint8_t b) {
    if (!dc) {
        notes.warning(DiagCode::ViewNoCanvas, "DC NULL in View::fillbrush()");
        return;
    }
    if (on) {
        if (!filling) replacedBrush = dc->brush();
        filling = true;
        dc->setBrush(Brush{BrushStyle::Solid, {r, g, b}});
    } else if (filling) {
        dc->setBrush(replacedBrush);
        filling = false;
    }
}

bool View::inViewport(double x, double y) const {
    const auto within = [](double value, double a, double b) {
        return value >= std::min(a, b) && value < std::max(a, b);
    };
    return within(x, viewport.sx1, viewport.sx2) && within(y, viewport.sy1, viewport.sy2);
}

void View::redrawGearLabel() {
    if (!gearLabel.present) return;
    moveToPixel(gearLabel.anchorX, gearLabel.anchorY);
    text(gearLabel.text);
}

void View::mark(int k) {
    if (k < 0 || k >= static_cast<int>(marks.size())) return;
    marks[k] = {penX, penY};
}

Point View::markAt(double t) const {
    const int last = static_cast<int>(marks.size()) - 1;
    const double whole = std::floor(t);
    const int k = std::clamp(static_cast<int>(whole), 0, last);
    const double f = t - whole;
    const int next = std::min(k + 1, last);
    if (f < 0.001) return marks[k];
    if (f > 0.999) return marks[next];
    return {roundBlend(marks[k].x, marks[next].x, f), roundBlend(marks[k].y, marks[next].y, f)};
}

void View::moveToMark(double t) {
    const Point p = markAt(t);
    moveToPixel(p.x, p.y);
}

void View::lineToMark(double t) {
    const Point p = markAt(t);
    lineToPixel(p.x, p.y);
}

void View::arrowToMark(double t) {
    const Point tip{penX, penY};
    const Point target = markAt(t);
    arrow(tip, target, tip.x - target.x, tip.y - target.y);
}

void View::arrowBy(Vec3 d) {
    const Point tip{penX, penY};
    const Point target{penX + marginDx(d), penY + marginDy(d)};
    arrow(tip, target, target.x - tip.x, target.y - tip.y);
}

void View::arrow(Point tip, Point target, double nx, double ny) {
    const double len = std::hypot(nx, ny);
    if (len == 0) {
        nx = 1;
        ny = 0;
    } else {
        nx /= len;
        ny /= len;
    }
    const double a = marginX;
    auto at = [&](double back, double side) {
        // tip - back*a*n + side*a*n_perp, n_perp = (-ny, nx)
        return Point{toPixel(tip.x - back * a * nx - side * a * ny),
                     toPixel(tip.y - back * a * ny + side * a * nx)};
    };
    const Point heads[] = {at(1, 0.251), at(1, -0.251), at(0.9, 0.1004), at(0.9, -0.1004),
                           at(0.85, 0)};
    for (const Point& p : heads) line(tip.x, tip.y, p.x, p.y);
    line(tip.x, tip.y, target.x, target.y);
}

}  // namespace brevix
