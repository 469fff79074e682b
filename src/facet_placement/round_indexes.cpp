#include "facet_placement/round_indexes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "design/tiers.h"
#include "kernel/index_azimuth.h"


namespace brevix {

namespace {

constexpr int RELAX_STEPS = 10000;
constexpr int SIZE_CHECK_EVERY = 100;
constexpr double RELAX_RATE = 0.1;
constexpr double MAX_X_DRIFT = 0.2;
constexpr double ON_AXIS = 1e-5;

// Each facet's corners in order around it, chained from its edges.
std::vector<std::vector<int32_t>> facetLoops(const Stone& stone) {
    std::vector<std::vector<std::array<int32_t, 2>>> sides(stone.nFacet);
    for (int32_t e = 0; e < stone.nEdge; ++e) {
        const Edge& edge = stone.edges[e];
        for (int k = 0; k < 2; ++k) sides[edge.f[k]].push_back(edge.v);
    }
    std::vector<std::vector<int32_t>> loops(stone.nFacet);
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        auto& open = sides[f];
        if (open.empty()) continue;
        std::vector<int32_t>& loop = loops[f];
        loop.push_back(open.front()[0]);
        int32_t at = open.front()[1];
        open.erase(open.begin());
        while (!open.empty() && at != loop.front()) {
            loop.push_back(at);
            auto next = std::find_if(open.begin(), open.end(), [&](const std::array<int32_t, 2>& s) {
                return s[0] == at || s[1] == at;
            });
            if (next == open.end()) break;
            at = (*next)[0] == at ? (*next)[1] : (*next)[0];
            open.erase(next);
        }
    }
    return loops;
}

double largestCoordinate(const Stone& stone) {
    double largest = -1e300;
    for (int32_t i = 0; i < stone.nVertex; ++i) {
        const Vertex& v = stone.vertices[i];
        largest = std::max({largest, v.x, v.y, v.z});
    }
    return largest;
}

}  // namespace

int roundIndexes(Stone& stone) {
    // A gear without teeth has no notches to round to (and every azimuth
    // below would divide by zero).
    if (stone.gear == 0) return 1;
    regroupTiers(stone, true);
    const int32_t nFacet = stone.nFacet, nVertex = stone.nVertex;
    const std::vector<std::vector<int32_t>> loops = facetLoops(stone);
    std::vector<std::vector<int32_t>> vertexFacets(nVertex);
    for (int32_t f = 0; f < nFacet; ++f)
        for (int32_t v : loops[f]) vertexFacets[v].push_back(f);

    // A vertex on a level edge (girdle outline, table rim) keeps its height,
    // so level edges stay level.
    std::vector<char> fixedZ(nVertex, 0);
    for (int32_t e = 0; e < stone.nEdge; ++e) {
        const Edge& edge = stone.edges[e];
        if (std::fabs(stone.vertices[edge.v[0]].z - stone.vertices[edge.v[1]].z) < EPS)
            fixedZ[edge.v[0]] = fixedZ[edge.v[1]] = 1;
    }

    const int gear = stone.gear;
    std::vector<Vec3> direction(nFacet);
    for (int32_t f = 0; f < nFacet; ++f) {
        Facet& facet = stone.facets[f];
        double x = indexAtAzimuth(std::atan2(facet.a, facet.b), gear, 0);
        const double sign = x >= 0 ? 1 : -1;
        x = std::fabs(x);
        const double az = azimuthOf(sign * std::trunc(x + 0.5), gear, 0);
        const double h = std::hypot(facet.a, facet.b);
        facet.a = h * std::sin(az);
        facet.b = h * std::cos(az);
        if (h >= EPS) direction[f] = {std::sin(az), std::cos(az), 0};
    }

    const double L0 = largestCoordinate(stone);
    std::vector<double> driftX(nVertex, 0);
    bool failed = false;
    for (int step = 0; step < RELAX_STEPS; ++step) {
        if (step % SIZE_CHECK_EVERY == 0) {
            const double L = largestCoordinate(stone);
            if (L > 1.1 * L0 || L < 0.9 * L0) return 1;
        }
        for (int32_t v = 0; v < nVertex; ++v) {
            Vertex& p = stone.vertices[v];
            const std::vector<int32_t>& on = vertexFacets[v];
            if (on.empty()) continue;
            Vec3 pull;
            for (int32_t f : on) {
                const Facet& facet = stone.facets[f];
                if (facet.isRough()) continue;
                const double r = facet.a * p.x + facet.b * p.y + facet.c * p.z - facet.d;
                pull = pull + facet.normal() * r;
            }
            const Vec3 delta = pull * (RELAX_RATE / double(on.size()));
            if (std::fabs(p.x) >= ON_AXIS) {
                p.x -= delta.x;
                driftX[v] -= delta.x;
                if (driftX[v] > MAX_X_DRIFT) failed = true;
            } else {
                p.x = 0;
            }
            if (std::fabs(p.y) >= ON_AXIS)
                p.y -= delta.y;
            else
                p.y = 0;
            if (!fixedZ[v]) p.z -= delta.z;
        }
        for (int32_t f = 0; f < nFacet; ++f) {
            Facet& facet = stone.facets[f];
            const std::vector<int32_t>& loop = loops[f];
            if (f > 0 && facet.tier == stone.facets[f - 1].tier) {
                // Images under the symmetry share one angle and depth.
                const Facet& previous = stone.facets[f - 1];
                const double h = std::hypot(previous.a, previous.b);
                facet.a = h * direction[f].x;
                facet.b = h * direction[f].y;
                facet.c = previous.c;
                facet.d = previous.d;
                continue;
            }
            if (loop.size() < 3) continue;
            Vec3 n;
            for (size_t k = 0; k < loop.size(); ++k) {
                const Vertex& p = stone.vertices[loop[k]];
                const Vertex& q = stone.vertices[loop[(k + 1) % loop.size()]];
                n.x += (p.y - q.y) * (p.z + q.z);
                n.y += (p.z - q.z) * (p.x + q.x);
                n.z += (p.x - q.x) * (p.y + q.y);
            }
            if (1 - std::fabs(facet.c) < EPS) n.x = n.y = 0;
            if (std::fabs(facet.c) < EPS) n.z = 0;
            const double len = length(n);
            if (len < EPS * EPS) continue;  // a sliver: keep its plane
            n = n * (1 / len);
            if (dot(n, facet.normal()) < 0) n = n * -1.0;
            const double h = std::hypot(n.x, n.y);
            facet.a = h * direction[f].x;
            facet.b = h * direction[f].y;
            facet.c = n.z;
            double sum = 0;
            for (int32_t v : loop) sum += dot(facet.normal(), stone.vertices[v].pos());
            facet.d = sum / double(loop.size());
        }
    }
    // A stretched design may reach beyond the standard rough block, which
    // would clip it (and drop its outermost facets): rebuild it in a block
    // that holds it.
    double reach = 0;
    for (int32_t v = 0; v < nVertex; ++v) {
        const Vertex& p = stone.vertices[v];
        reach = std::max({reach, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    }
    stone.regenerate(reach > ROUGH_HALF ? reach * 1.01 : ROUGH_HALF);
    regroupTiers(stone, true);
    return failed ? 1 : 0;
}

}  // namespace brevix
