#include "views/picking.h"

#include <algorithm>
#include <cmath>

#include "views/stone_drawing.h"

namespace brevix {

namespace {

constexpr double FAR_AWAY = 1e37;
// A facet facing away is still picked this many tolerances from its edge.
constexpr double MARGIN_TOLERANCES = 5;

// Whether the pointer lies between the lines through A and B perpendicular
// to AB (bounds included). Steep edges compare the lines' heights at the
// pointer's x, the others their x at the pointer's height, so the division
// is always by the larger component.
bool betweenEndPerpendiculars(double ax, double ay, double bx, double by, double px, double py) {
    const double dx = bx - ax, dy = by - ay;
    if (std::fabs(dy) > std::fabs(dx)) {
        const double ya = ay - (px - ax) * dx / dy, yb = by - (px - bx) * dx / dy;
        return std::min(ya, yb) <= py && py <= std::max(ya, yb);
    }
    const double xa = ax - (py - ay) * dy / dx, xb = bx - (py - by) * dy / dx;
    return std::min(xa, xb) <= px && px <= std::max(xa, xb);
}

// The foot of the pointer on the edge, as a fraction from end 0 to end 1.
double footFraction(const Vertex& a, const Vertex& b, double px, double py, double dist) {
    const double da = std::hypot(px - a.sx, py - a.sy), db = std::hypot(px - b.sx, py - b.sy);
    const double ra = std::sqrt(std::max(0.0, da * da - dist * dist));
    const double rb = std::sqrt(std::max(0.0, db * db - dist * dist));
    return ra + rb > 0 ? ra / (ra + rb) : 0;
}

void snapOntoEdge(const Stone& stone, const Edge& e, double px, double py, double dist,
                  PickResult& out) {
    const Vertex& a = stone.vertices[e.v[0]];
    const Vertex& b = stone.vertices[e.v[1]];
    const double t = footFraction(a, b, px, py, dist);
    out.x = (1 - t) * a.sx + t * b.sx;
    out.y = (1 - t) * a.sy + t * b.sy;
    out.point = a.pos() * (1 - t) + b.pos() * t;
}

}  // namespace

Vec3 pointOnFacetPlane(const Facet& f, const View& view, double x, double y) {
    // Cramer's rule on the rows u, v and the normal, right side (x', y', d).
    const Vec3 n = f.normal();
    const Vec3 rhs{x - view.originX, y - view.originY, f.d};
    const Vec3 c0{view.u.x, view.v.x, n.x}, c1{view.u.y, view.v.y, n.y}, c2{view.u.z, view.v.z, n.z};
    const double det = dot(c0, cross(c1, c2));
    if (std::fabs(det) < 1e-300) return view.unproject(x, y, 0);
    return {dot(rhs, cross(c1, c2)) / det, dot(c0, cross(rhs, c2)) / det,
            dot(c0, cross(c1, rhs)) / det};
}

PickResult pick(const Stone& stone, double x, double y, const View& view, double tol,
                bool noVertices) {
    PickResult out;
    out.kind = PickSpace;
    out.x = x;
    out.y = y;
    out.point = view.unproject(x, y, 0);
    if (stone.nFacet == stone.nRough) return out;

    int32_t nearestVertex = -1;
    double vertexDist = FAR_AWAY;
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& p = stone.vertices[i];
        if (p.status == VS_HIDDEN) continue;
        const double d = std::hypot(p.sx - x, p.sy - y);
        if (d < vertexDist) {
            vertexDist = d;
            nearestVertex = i;
        }
    }
    if (!noVertices && nearestVertex >= 0 && vertexDist < 2 * tol) {
        const Vertex& p = stone.vertices[nearestVertex];
        out.kind = PickMeet;
        out.index = nearestVertex;
        out.x = p.sx;
        out.y = p.sy;
        out.point = p.pos();
        return out;
    }

    int32_t nearestEdge = -1;
    int side = 0;
    double edgeDist = FAR_AWAY;
    for (int32_t i = 0; i < stone.nEdge; ++i) {
        const Edge& e = stone.edges[i];
        if (e.status == VS_HIDDEN || e.pixelLength <= 0) continue;
        const Vertex& a = stone.vertices[e.v[0]];
        const Vertex& b = stone.vertices[e.v[1]];
        if (!betweenEndPerpendiculars(a.sx, a.sy, b.sx, b.sy, x, y)) continue;
        const double s = (b.sx - a.sx) * (y - a.sy) - (b.sy - a.sy) * (x - a.sx);
        const double d = std::fabs(s) / e.pixelLength;
        if (d < edgeDist) {
            edgeDist = d;
            nearestEdge = i;
            side = s <= 0 ? 1 : 0;
        }
    }
    if (nearestEdge < 0) return out;
    const Edge& e = stone.edges[nearestEdge];
    if (edgeDist < tol) {
        out.kind = PickEdge;
        out.index = nearestEdge;
        snapOntoEdge(stone, e, x, y, edgeDist, out);
        return out;
    }
    if (edgeDist > vertexDist) return out;
    const int32_t facet = e.f[side];
    const Facet& f = stone.facets[facet];
    if (f.status != VS_HIDDEN) {
        out.kind = PickFacet;
        out.index = facet;
        out.point = pointOnFacetPlane(f, view, x, y);
    } else if (edgeDist < MARGIN_TOLERANCES * tol) {
        out.kind = PickMarginFacet;
        out.index = facet;
        snapOntoEdge(stone, e, x, y, edgeDist, out);
    }
    return out;
}

}  // namespace brevix
