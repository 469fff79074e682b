// Light rays through the stone: where a ray meets the surface, how it bends
// or mirrors there, and the path it leaves in the stone's ray list.
#include <cmath>
#include <vector>

#include "kernel/refraction.h"
#include "kernel/stone.h"

namespace brevix {

namespace {

// Barycentric bounds, widened a little so that a point on a shared edge
// belongs to both triangles (and so to the first facet that is tested).
constexpr double BARY_LOW = -1e-8;
constexpr double BARY_HIGH = 1.00000001;
// Farther than any surface can be.
constexpr double FAR_AWAY = 1e37;

double coord(Vec3 p, int axis) { return axis == 0 ? p.x : axis == 1 ? p.y : p.z; }

// The edges of every facet, in edge order, so that the inside test of a
// facet visits its own few edges instead of the whole edge array. Built once
// per traced path; the stone does not change while a ray crosses it.
class FacetEdges {
public:
    explicit FacetEdges(const Stone& stone) {
        start_.assign(stone.nFacet + 2, 0);
        forEachSide(stone, [&](int32_t f, int32_t) { ++start_[f + 2]; });
        for (size_t i = 2; i < start_.size(); ++i) start_[i] += start_[i - 1];
        edges_.resize(start_.back());
        forEachSide(stone, [&](int32_t f, int32_t e) { edges_[start_[f + 1]++] = e; });
    }
    const int32_t* begin(int32_t facet) const { return edges_.data() + start_[facet]; }
    const int32_t* end(int32_t facet) const { return edges_.data() + start_[facet + 1]; }

private:
    // Each edge once for each distinct facet beside it, in edge order.
    template <typename F>
    static void forEachSide(const Stone& stone, F&& visit) {
        for (int32_t e = 0; e < stone.nEdge; ++e) {
            const Edge& edge = stone.edges[e];
            for (int side = 0; side < 2; ++side) {
                const int32_t f = edge.f[side];
                if (f < 0 || f >= stone.nFacet || (side == 1 && f == edge.f[0])) continue;
                visit(f, e);
            }
        }
    }
    std::vector<int32_t> start_;
    std::vector<int32_t> edges_;
};

// Is h inside triangle (a, b, c), all projected onto the coordinates i, j?
// A degenerate triangle (a division by zero) holds nothing.
bool inTriangle(Vec3 h, Vec3 a, Vec3 b, Vec3 c, int i, int j) {
    const double hi = coord(h, i) - coord(a, i), hj = coord(h, j) - coord(a, j);
    const double bi = coord(b, i) - coord(a, i), bj = coord(b, j) - coord(a, j);
    const double ci = coord(c, i) - coord(a, i), cj = coord(c, j) - coord(a, j);
    double alpha, beta;
    if (std::fabs(bi) >= EPS) {
        beta = (hj * bi - hi * bj) / (cj * bi - ci * bj);
        if (!(beta > BARY_LOW && beta < BARY_HIGH)) return false;
        alpha = (hi - beta * ci) / bi;
    } else {
        beta = hi / ci;
        if (!(beta > BARY_LOW && beta < BARY_HIGH)) return false;
        alpha = (hj - beta * cj) / bj;
    }
    return alpha > BARY_LOW && alpha + beta < BARY_HIGH;
}

// Does h, on the plane of `facet`, lie inside the facet? The facet is cut
// into a fan of triangles from its anchor, the first vertex of its first edge.
bool inFacet(Stone& stone, int32_t facet, Vec3 h, const FacetEdges& lists) {
    Facet& f = stone.facets[facet];
    const int i = (f.axis + 1) % 3, j = (f.axis + 2) % 3;
    const int32_t* e = lists.begin(facet);
    const int32_t* last = lists.end(facet);
    if (e == last) return false;
    f.anchor = stone.edges[*e].v[0];
    const Vec3 a = stone.vertices[f.anchor].pos();
    for (; e != last; ++e) {
        const Edge& edge = stone.edges[*e];
        if (edge.v[0] == f.anchor || edge.v[1] == f.anchor) continue;
        if (inTriangle(h, a, stone.vertices[edge.v[0]].pos(), stone.vertices[edge.v[1]].pos(), i, j))
            return true;
    }
    return false;
}

Stone::RayHit findHit(Stone& stone, int sign, Vec3 p, Vec3 d, const FacetEdges& lists) {
    // Entering, the surface is the farthest plane that faces the ray; leaving,
    // the nearest one that faces away. A facet whose plane gives a worse
    // distance than one already seen cannot be where the ray crosses.
    double best = -sign * FAR_AWAY;
    for (int32_t k = 0; k < stone.nFacet; ++k) {
        const Facet& f = stone.facets[k];
        const Vec3 n = f.normal();
        const double dn = dot(n, d);
        if (sign * dn > -EPS) continue;
        const double t = (f.d - dot(n, p)) / dn;
        if (!(t > 0) || sign * t < sign * best) continue;
        best = t;
        const Vec3 h = p + t * d;
        if (inFacet(stone, k, h, lists)) return {k, h, dn};
    }
    return {};
}

}  // namespace

Stone::RayHit Stone::intersect(int sign, Vec3 p, Vec3 d) {
    return findHit(*this, sign, p, d, FacetEdges(*this));
}

int Stone::refract(Vec3& d, int32_t facet, double c) const {
    const Vec3 n = facets[facet].normal();
    const bool leaving = c >= 0;
    double eta = refractiveIndex;
    if (!leaving) {
        eta = 1 / refractiveIndex;
        c = -c;
    }
    const double cosT = transmittedCos(c, eta);
    if (cosT < 0) {
        // Total internal reflection: the facet is a mirror.
        d = reflectedDirection(d, n, c);
        return 0;
    }
    // The normal that faces the light: the outward one for light coming in.
    d = refractedDirection(d, leaving ? Vec3{-n.x, -n.y, -n.z} : n, eta, c, cosT);
    return leaving ? 1 : 0;
}

Stone::RayEnd Stone::traceRay(Vec3 p, Vec3 d) {
    const FacetEdges lists(*this);
    RayHit hit = findHit(*this, +1, p, d, lists);
    if (hit.facet < 0) return RayEnd::Missed;
    addRayPoint(1, p.x, p.y, p.z);
    addRayPoint(0, hit.point.x, hit.point.y, hit.point.z);
    Vec3 at = hit.point;
    RayEnd end = RayEnd::LeftStone;
    // The first turn is the entry; every later one that keeps the ray inside
    // is an internal reflection.
    for (int turns = 0;; ++turns) {
        if (refract(d, hit.facet, hit.c) == 1) break;
        if (turns >= MAX_REFLECTIONS) {
            end = RayEnd::TooManyReflections;
            break;
        }
        hit = findHit(*this, -1, at, d, lists);
        if (hit.facet < 0) {
            end = RayEnd::NoExit;
            break;
        }
        at = hit.point;
        addRayPoint(0, at.x, at.y, at.z);
    }
    const Vec3 stub = at + RAY_STUB * d;
    addRayPoint(0, stub.x, stub.y, stub.z);
    return end;
}

void Stone::addRayPoint(double start, double x, double y, double z) {
    if (rays.empty()) rays.resize(INITIAL_RAY_DOUBLES);
    // The array doubles as soon as the new point would fill it.
    if (nRay + 4 >= static_cast<int32_t>(rays.size())) rays.resize(rays.size() * 2);
    rays[nRay++] = start;
    rays[nRay++] = x;
    rays[nRay++] = y;
    rays[nRay++] = z;
}

void Stone::eraseRays() { nRay = 0; }

}  // namespace brevix
