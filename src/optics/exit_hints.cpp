#include "optics/exit_hints.h"

#include <algorithm>
#include <cmath>

namespace brevix::optics {

namespace {

// Planes that come within NEAR of a face (times the stone's size) are in
// its block. Every other plane is at least that far from the face, and the
// point a ray meets may lie off the face by at most ROUNDING (rounding in
// the distances) divided by the sine of the angle to a plane of the block:
// MIN_SINE keeps that under a quarter of NEAR.
constexpr double NEAR = 2e-3;
constexpr double ROUNDING = 5e-5;
constexpr double MIN_SINE = 4 * ROUNDING / NEAR;
// A point computed in single precision lies within about 1e-6 of where it
// is meant to (times the stone's size); ten times that is clear of it.
constexpr double CLEARANCE = 1e-5;

}  // namespace

ExitHints exitHintsOf(const Stone& stone, double tiltRadians, const std::vector<double>& a,
                      const std::vector<double>& b, const std::vector<double>& c, const std::vector<double>& d,
                      const std::vector<int>& facetOf) {
    const size_t planes = a.size();
    ExitHints hints;
    hints.blocks.assign(planes * HINT_FLOATS, 0.0f);
    // Lane k of plane q's block, coefficient `coefficient` (0 to 3 for a to d).
    auto lane = [&hints](size_t q, int k, int coefficient) -> float& {
        return hints.blocks[q * HINT_FLOATS + (k / HINT_HALF) * 4 * HINT_HALF + coefficient * HINT_HALF +
                            k % HINT_HALF];
    };
    auto clear = [&](size_t q) {
        for (int k = 0; k < HINT_LANES; ++k)
            for (int coefficient = 0; coefficient < 4; ++coefficient) lane(q, k, coefficient) = coefficient == 3;
    };
    for (size_t q = 0; q < planes; ++q) clear(q);
    hints.halves.assign(planes, 0);

    const double cs = std::cos(tiltRadians), sn = std::sin(tiltRadians);
    std::vector<Vec3> turned(stone.nVertex);
    double size = 1;
    for (int v = 0; v < stone.nVertex; ++v) {
        const Vertex& q = stone.vertices[v];
        turned[v] = {q.x, q.y * cs - q.z * sn, q.y * sn + q.z * cs};
        size = std::max({size, std::abs(q.x), std::abs(q.y), std::abs(q.z)});
    }
    // The corners of each facet's face, from the edges that bound it.
    std::vector<std::vector<int>> corners(stone.nFacet);
    for (int e = 0; e < stone.nEdge; ++e) {
        const Edge& edge = stone.edges[e];
        for (int side = 0; side < 2; ++side) {
            const int f = edge.f[side];
            if (f < 0 || f >= stone.nFacet) continue;
            for (int end = 0; end < 2; ++end)
                if (edge.v[end] >= 0 && edge.v[end] < stone.nVertex) corners[f].push_back(edge.v[end]);
        }
    }
    const double reach = NEAR * size;
    hints.clearance = float(CLEARANCE * size);
    for (size_t q = 0; q < planes; ++q) {
        const int facet = facetOf[q];
        if (facet < 0 || facet >= stone.nFacet || corners[facet].empty()) continue;
        int lanes = 0;
        bool usable = true;
        for (size_t j = 0; j < planes && usable; ++j) {
            if (j == q || facetOf[j] < 0) continue;
            double nearest = -1e300;
            for (int v : corners[facet]) {
                const Vec3& p = turned[v];
                nearest = std::max(nearest, a[j] * p.x + b[j] * p.y + c[j] * p.z - d[j]);
            }
            if (nearest <= -reach) continue;
            const double sine = length(cross({a[q], b[q], c[q]}, {a[j], b[j], c[j]}));
            if (lanes == HINT_LANES || sine < MIN_SINE) {
                usable = false;
                break;
            }
            lane(q, lanes, 0) = float(a[j]);
            lane(q, lanes, 1) = float(b[j]);
            lane(q, lanes, 2) = float(c[j]);
            lane(q, lanes, 3) = float(d[j]);
            ++lanes;
        }
        if (!usable) {
            clear(q);
            continue;
        }
        hints.halves[q] = lanes == 0 ? 0 : lanes > HINT_HALF ? 2 : 1;
    }
    return hints;
}

}  // namespace brevix::optics
