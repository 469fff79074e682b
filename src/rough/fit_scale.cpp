// How far the stone can grow about a point before it meets the rough. The
// stone is convex and grows from a point inside it, so it first meets the
// surface in one of three ways: a corner of the stone reaches a triangle
// (a ray from the centre through that corner), a point of the surface
// enters the stone, or an edge of the surface cuts through it. For the
// last two, the scale at which the stone (its planes pushed out by the
// margin) takes in a point x is max_i (n_i.(x - c) - m) / d_i, a convex
// function, so an edge's first contact is the least of it along the edge.
#include <algorithm>
#include <cmath>
#include <limits>

#include "design/measures.h"
#include "rough/fit_model.h"

namespace brevix::rough {

namespace {

// A glancing ray would ask for an unbounded step back from the surface.
constexpr double SHALLOWEST_MARGIN_COSINE = 0.25;

// The stone's planes turned into the rough's frame.
struct PlacedPlanes {
    std::vector<Vec3> normals;
    const std::vector<double>* offsets;
    Vec3 centre;
    double margin;

    // The scale at which plane i reaches x.
    double reach(size_t i, Vec3 x) const { return (dot(normals[i], x - centre) - margin) / (*offsets)[i]; }
};

// The least scale that takes in x, or `ceiling` when that is no less.
double pointScale(const PlacedPlanes& planes, Vec3 x, double ceiling) {
    double most = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < planes.normals.size(); ++i) {
        most = std::max(most, planes.reach(i, x));
        if (most >= ceiling) return ceiling;
    }
    return most;
}

// The least over the edge a..b of the largest of the lines
// alpha_i + beta_i u, walked from u = 0 along the active line, which
// changes only to steeper ones.
double edgeScale(const PlacedPlanes& planes, Vec3 a, Vec3 b, double ceiling, std::vector<double>& alpha,
                 std::vector<double>& beta) {
    const size_t n = planes.normals.size();
    alpha.resize(n);
    beta.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double ra = planes.reach(i, a), rb = planes.reach(i, b);
        // Each plane alone bounds the edge's least from below.
        if (std::min(ra, rb) >= ceiling) return ceiling;
        alpha[i] = ra;
        beta[i] = rb - ra;
    }
    size_t j = 0;
    for (size_t i = 1; i < n; ++i)
        if (alpha[i] > alpha[j] || (alpha[i] == alpha[j] && beta[i] < beta[j])) j = i;
    double u = 0;
    while (beta[j] < 0) {
        double next = std::numeric_limits<double>::infinity();
        size_t k = j;
        for (size_t i = 0; i < n; ++i) {
            if (beta[i] <= beta[j]) continue;
            const double ui = std::max(u, (alpha[j] - alpha[i]) / (beta[i] - beta[j]));
            if (ui < next || (ui == next && beta[i] > beta[k])) {
                next = ui;
                k = i;
            }
        }
        if (next >= 1) return std::min(ceiling, alpha[j] + beta[j]);
        u = next;
        j = k;
    }
    return std::min(ceiling, alpha[j] + beta[j] * u);
}

Vec3 normalOf(const Mesh& mesh, uint32_t triangle) {
    const auto& t = mesh.triangles[triangle];
    const Vec3 a = mesh.points[t[0]];
    const Vec3 n = cross(mesh.points[t[1]] - a, mesh.points[t[2]] - a);
    const double l = length(n);
    return l > 0 ? n * (1 / l) : n;
}

}  // namespace

StoneShape stoneShape(const Stone& stone) {
    StoneShape shape;
    const VolumeAndCentroid solid = volumeOf(stone);
    if (!(solid.volume > 0) || stone.nVertex < 4) return shape;
    shape.reference = solid.centroid;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        const Facet& facet = stone.facets[f];
        const double offset = facet.d - dot(facet.normal(), shape.reference);
        if (!(offset > 0)) return StoneShape{};
        shape.normals.push_back(facet.normal());
        shape.offsets.push_back(offset);
    }
    for (int32_t v = 0; v < stone.nVertex; ++v) shape.corners.push_back(stone.vertices[v].pos() - shape.reference);
    const Stats stats = boundsOf(stone);
    shape.width = stats.W;
    shape.length = stats.L;
    shape.depth = stats.maxZ - stats.minZ;
    shape.volume = solid.volume;
    return shape;
}

double largestScale(const StoneShape& shape, const Rough& rough, const Pose& pose, const FitOptions& options,
                    bool everyFeature) {
    const RoughGeometry& geometry = *rough.geometry;
    const double extent = rough.extent();
    if (!geometry.inside(pose.centre)) return -std::sqrt(geometry.squaredDistance(pose.centre)) / extent - 1e-9;
    const double margin = std::max(0.0, options.marginMm);
    double best = std::numeric_limits<double>::infinity();
    for (const Vec3& corner : shape.corners) {
        const Vec3 w = times(pose.rotation, corner);
        const double len = length(w);
        if (!(len > 0)) continue;
        const Vec3 direction = w * (1 / len);
        const std::optional<RayCaster::Hit> hit = rough.rays->firstHit(pose.centre, direction);
        if (!hit) return 0;
        double reach = hit->distance;
        if (margin > 0) reach -= margin / std::max(SHALLOWEST_MARGIN_COSINE, dot(direction, normalOf(rough.mesh, hit->triangle)));
        best = std::min(best, reach / len);
        if (best <= 0) return 0;
    }
    PlacedPlanes planes{{}, &shape.offsets, pose.centre, margin};
    for (const Vec3& n : shape.normals) planes.normals.push_back(times(pose.rotation, n));
    // A sphere to avoid, pushed out by its radius, as a point.
    for (const Avoid& avoid : options.avoid) {
        PlacedPlanes around = planes;
        around.margin = avoid.radius;
        const double scale = pointScale(around, avoid.centre, best);
        if (scale <= 0) return (length(avoid.centre - pose.centre) - avoid.radius) / extent - 1e-9;
        best = std::min(best, scale);
    }
    std::vector<double> alpha, beta;
    if (everyFeature) {
        for (const Vec3& p : rough.mesh.points) best = std::min(best, pointScale(planes, p, best));
        for (const auto& e : rough.edges)
            best = std::min(best, edgeScale(planes, rough.mesh.points[e[0]], rough.mesh.points[e[1]], best, alpha, beta));
        return std::max(best, 0.0);
    }
    // Each folded point remembers a plane that keeps it out of the stone at
    // the scale reached so far (still true at any smaller one). Neighbouring
    // points mostly share it, so it is tried first for the next point, and
    // an edge whose two ends it keeps out is out whole.
    thread_local std::vector<uint32_t> keptOutBy;
    keptOutBy.resize(rough.foldedPoints.size());
    size_t hint = 0;
    for (size_t k = 0; k < rough.foldedPoints.size(); ++k) {
        const Vec3 p = rough.mesh.points[rough.foldedPoints[k]];
        if (planes.reach(hint, p) >= best) {
            keptOutBy[k] = static_cast<uint32_t>(hint);
            continue;
        }
        size_t top = 0;
        double most = -std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < planes.normals.size(); ++i) {
            const double r = planes.reach(i, p);
            if (r > most) {
                most = r;
                top = i;
            }
            if (most >= best) break;
        }
        best = std::min(best, most);
        keptOutBy[k] = static_cast<uint32_t>(top);
        hint = top;
    }
    for (const auto& e : rough.foldedEdges) {
        const Vec3 a = rough.mesh.points[rough.foldedPoints[e[0]]], b = rough.mesh.points[rough.foldedPoints[e[1]]];
        bool out = false;
        for (uint32_t plane : {keptOutBy[e[0]], keptOutBy[e[1]]})
            if (std::min(planes.reach(plane, a), planes.reach(plane, b)) >= best) {
                out = true;
                break;
            }
        if (!out) best = std::min(best, edgeScale(planes, a, b, best, alpha, beta));
    }
    return std::max(best, 0.0);
}

}  // namespace brevix::rough
