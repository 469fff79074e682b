#include "kernel/merge_points.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <tuple>

namespace brevix {

namespace {

struct WorkEdge {
    std::array<int32_t, 2> v;
    std::array<int32_t, 2> f;
    int32_t status;
};

int32_t rootOf(std::vector<int32_t>& parent, int32_t v) {
    while (parent[v] != v) {
        parent[v] = parent[parent[v]];
        v = parent[v];
    }
    return v;
}

// Pairs of the given vertices closer than EPS, found by a sweep along x.
std::vector<std::pair<int32_t, int32_t>> closePairs(const Stone& s, std::vector<int32_t> ids) {
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    std::stable_sort(ids.begin(), ids.end(),
                     [&](int32_t p, int32_t q) { return s.vertices[p].x < s.vertices[q].x; });
    std::vector<std::pair<int32_t, int32_t>> pairs;
    for (size_t i = 0; i < ids.size(); ++i) {
        const Vec3 p = s.vertices[ids[i]].pos();
        for (size_t j = i + 1; j < ids.size(); ++j) {
            const Vec3 q = s.vertices[ids[j]].pos();
            if (q.x - p.x >= EPS) break;
            if (length(p - q) < EPS) pairs.emplace_back(ids[i], ids[j]);
        }
    }
    return pairs;
}

enum class Step { None, Done, Failed };

// A facet whose outline came down to two edges between the same two points
// has no area left: it goes, and its two edges become one edge between the
// facets on their other sides.
Step foldFlatFacet(std::vector<WorkEdge>& edges) {
    // (facet, lower vertex, higher vertex, edge) for both sides of every edge.
    std::vector<std::array<int32_t, 4>> sides;
    sides.reserve(2 * edges.size());
    for (size_t k = 0; k < edges.size(); ++k) {
        const WorkEdge& e = edges[k];
        const int32_t lo = std::min(e.v[0], e.v[1]), hi = std::max(e.v[0], e.v[1]);
        for (int m = 0; m < 2; ++m) sides.push_back({e.f[m], lo, hi, static_cast<int32_t>(k)});
    }
    std::sort(sides.begin(), sides.end());
    auto same = [&](size_t p, size_t q) {
        return sides[p][0] == sides[q][0] && sides[p][1] == sides[q][1] && sides[p][2] == sides[q][2];
    };
    size_t at = 0;
    while (at + 1 < sides.size() && !same(at, at + 1)) ++at;
    if (at + 1 >= sides.size()) return Step::None;
    if (at + 2 < sides.size() && same(at, at + 2)) return Step::Failed;  // three such edges
    const int32_t flat = sides[at][0];
    const int32_t first = sides[at][3], second = sides[at + 1][3];
    const WorkEdge one = edges[first], two = edges[second];
    const int32_t g1 = one.f[0] == flat ? one.f[1] : one.f[0];
    const int32_t g2 = two.f[0] == flat ? two.f[1] : two.f[0];
    if (g1 == g2) return Step::Failed;
    // An edge runs v[0] -> v[1] on the outline of its f[0]: the joined edge
    // keeps the direction the first one had on g1.
    WorkEdge joined = one;
    joined.f = {g1, g2};
    if (one.f[0] != g1) joined.v = {one.v[1], one.v[0]};
    edges[first] = joined;
    edges.erase(edges.begin() + second);
    return Step::Done;
}

// A vertex left with two edges (the far corner of a sliver that folded
// flat) lies on the line where the two facets of those edges meet: it goes,
// and its two edges become one.
Step dissolveCorner(std::vector<WorkEdge>& edges, std::vector<bool>& alive) {
    std::vector<std::array<int32_t, 3>> ends(alive.size(), {0, -1, -1});  // count, two edges
    for (size_t k = 0; k < edges.size(); ++k)
        for (int m = 0; m < 2; ++m) {
            std::array<int32_t, 3>& e = ends[edges[k].v[m]];
            if (e[0] < 2) e[1 + e[0]] = static_cast<int32_t>(k);
            ++e[0];
        }
    for (size_t v = 0; v < alive.size(); ++v) {
        if (!alive[v] || ends[v][0] >= 3) continue;
        if (ends[v][0] < 2) return Step::Failed;
        const int32_t corner = static_cast<int32_t>(v);
        const int32_t first = ends[v][1], second = ends[v][2];
        const WorkEdge one = edges[first], two = edges[second];
        const bool sameFacets = (one.f[0] == two.f[0] && one.f[1] == two.f[1]) ||
                                (one.f[0] == two.f[1] && one.f[1] == two.f[0]);
        if (!sameFacets) return Step::Failed;
        const int32_t from = one.v[0] == corner ? one.v[1] : one.v[0];
        const int32_t to = two.v[0] == corner ? two.v[1] : two.v[0];
        if (from == to) return Step::Failed;
        // Keep the direction of the first edge on its f[0].
        WorkEdge joined = one;
        joined.v = one.v[1] == corner ? std::array<int32_t, 2>{from, to} : std::array<int32_t, 2>{to, from};
        edges[first] = joined;
        edges.erase(edges.begin() + second);
        alive[v] = false;
        return Step::Done;
    }
    return Step::None;
}

// Folds flat facets and dissolves the corners they leave until none is left.
bool simplify(std::vector<WorkEdge>& edges, std::vector<bool>& alive) {
    for (size_t round = 0; round <= 2 * edges.size() + alive.size(); ++round) {
        Step step = foldFlatFacet(edges);
        if (step == Step::None) step = dissolveCorner(edges, alive);
        if (step == Step::Failed) return false;
        if (step == Step::None) return true;
    }
    return false;
}

// Every facet's edges form one closed ring.
bool ringsClosed(const std::vector<WorkEdge>& edges, const std::vector<std::vector<int32_t>>& byFacet) {
    std::vector<std::pair<int32_t, std::array<int32_t, 2>>> slots;
    for (const std::vector<int32_t>& ring : byFacet) {
        if (ring.empty()) continue;
        if (ring.size() < 3) return false;
        slots.clear();
        auto slotOf = [&](int32_t v) -> std::array<int32_t, 2>& {
            for (auto& s : slots)
                if (s.first == v) return s.second;
            slots.push_back({v, {-1, -1}});
            return slots.back().second;
        };
        for (int32_t k : ring)
            for (int end = 0; end < 2; ++end) {
                std::array<int32_t, 2>& s = slotOf(edges[k].v[end]);
                if (s[0] < 0)
                    s[0] = k;
                else if (s[1] < 0)
                    s[1] = k;
                else
                    return false;
            }
        for (const auto& s : slots)
            if (s.second[1] < 0) return false;
        // One walk round must pass every edge.
        size_t walked = 0;
        int32_t edge = ring[0], vertex = edges[edge].v[0];
        do {
            vertex = edges[edge].v[0] == vertex ? edges[edge].v[1] : edges[edge].v[0];
            const std::array<int32_t, 2>& s = slotOf(vertex);
            edge = s[0] == edge ? s[1] : s[0];
            ++walked;
        } while (edge != ring[0] && walked <= ring.size());
        if (walked != ring.size()) return false;
    }
    return true;
}

}  // namespace

std::vector<int32_t> verticesNearLastPlane(const Stone& stone) {
    std::vector<int32_t> near;
    for (int32_t i = 0; i < stone.nVertex; ++i)
        if (std::fabs(stone.vertices[i].dist) <= 2 * EPS) near.push_back(i);
    return near;
}

PointMerge mergeCoincidentPoints(Stone& stone, std::span<const int32_t> candidates) {
    std::vector<int32_t> ids(candidates.begin(), candidates.end());
    if (candidates.empty()) {
        ids.resize(stone.nVertex);
        std::iota(ids.begin(), ids.end(), 0);
    }
    const std::vector<std::pair<int32_t, int32_t>> pairs = closePairs(stone, std::move(ids));
    if (pairs.empty()) return {};
    PointMerge refusal;
    refusal.refused = true;

    // Clusters, each named by its lowest vertex, so that the merged stone
    // keeps the order of the vertices it had.
    const int32_t nV = stone.nVertex, nF = stone.nFacet;
    std::vector<int32_t> parent(nV);
    std::iota(parent.begin(), parent.end(), 0);
    for (const auto& [p, q] : pairs) {
        const int32_t rp = rootOf(parent, p), rq = rootOf(parent, q);
        if (rp != rq) parent[std::max(rp, rq)] = std::min(rp, rq);
    }
    std::vector<int32_t> vertexMap(nV, -1), members;
    std::vector<Vertex> vertices;
    for (int32_t v = 0; v < nV; ++v) {
        const int32_t root = rootOf(parent, v);
        if (root == v) {
            vertexMap[v] = static_cast<int32_t>(vertices.size());
            vertices.push_back(stone.vertices[v]);
            vertices.back().status = ST_PRESENT;
            members.push_back(1);
            continue;
        }
        const int32_t into = vertexMap[root];
        vertexMap[v] = into;
        Vertex& m = vertices[into];
        const Vertex& w = stone.vertices[v];
        m.x += w.x;
        m.y += w.y;
        m.z += w.z;
        m.dist += w.dist;
        ++members[into];
    }
    for (size_t i = 0; i < vertices.size(); ++i) {
        if (members[i] == 1) continue;
        const double k = members[i];
        vertices[i].x /= k;
        vertices[i].y /= k;
        vertices[i].z /= k;
        vertices[i].dist /= k;
    }

    std::vector<WorkEdge> edges;
    edges.reserve(stone.nEdge);
    for (int32_t j = 0; j < stone.nEdge; ++j) {
        const Edge& e = stone.edges[j];
        const int32_t a = vertexMap[e.v[0]], b = vertexMap[e.v[1]];
        if (a == b) continue;  // joined two points now one
        edges.push_back({{a, b}, e.f, e.status});
    }
    std::vector<bool> alive(vertices.size(), true);
    if (!simplify(edges, alive)) return refusal;
    // Vertices dissolved as sliver corners leave the numbering.
    std::vector<int32_t> renumber(vertices.size(), -1);
    int32_t keptVertices = 0;
    for (size_t i = 0; i < vertices.size(); ++i)
        if (alive[i]) {
            renumber[i] = keptVertices;
            vertices[keptVertices] = vertices[i];
            members[keptVertices] = members[i];
            ++keptVertices;
        }
    vertices.resize(keptVertices);
    members.resize(keptVertices);
    for (WorkEdge& e : edges) e.v = {renumber[e.v[0]], renumber[e.v[1]]};

    std::vector<std::vector<int32_t>> byFacet(nF);
    for (size_t k = 0; k < edges.size(); ++k)
        for (int m = 0; m < 2; ++m) byFacet[edges[k].f[m]].push_back(static_cast<int32_t>(k));
    if (!ringsClosed(edges, byFacet)) return refusal;
    PointMerge result;
    result.facetMap.assign(nF, -1);
    int32_t keptFacets = 0;
    for (int32_t i = 0; i < nF; ++i)
        if (!byFacet[i].empty()) result.facetMap[i] = keptFacets++;
    if (keptFacets + keptVertices - static_cast<int32_t>(edges.size()) != 2) return refusal;

    // The merged points must still lie on their planes and their edges run
    // the way their facets say.
    for (const WorkEdge& e : edges) {
        if (members[e.v[0]] == 1 && members[e.v[1]] == 1) continue;
        for (int k = 0; k < 2; ++k)
            for (int m = 0; m < 2; ++m)
                if (std::fabs(stone.facets[e.f[k]].plane().offsetOf(vertices[e.v[m]].pos())) > EPS3) return refusal;
        const Vec3 along = vertices[e.v[1]].pos() - vertices[e.v[0]].pos();
        if (dot(along, cross(stone.facets[e.f[0]].normal(), stone.facets[e.f[1]].normal())) < -1e-12)
            return refusal;
    }

    // Apply.
    for (size_t i = 0; i < vertices.size(); ++i) stone.vertices[i] = vertices[i];
    stone.nVertex = static_cast<int32_t>(vertices.size());
    for (int32_t i = 0; i < nF; ++i) {
        Facet& f = stone.facets[i];
        const int32_t to = result.facetMap[i];
        if (to < 0) {
            if (f.isRough())
                --stone.nRough;
            else if (std::fabs(f.c) < EPS)
                --stone.nGirdle;
            if (!f.isRough()) ++result.designFacetsDropped;
            f.name.clear();
            f.instruction.clear();
        } else if (to != i) {
            stone.facets[to].takeRecord(f);
        }
    }
    for (int32_t i = keptFacets; i < nF; ++i) {
        stone.facets[i].name.clear();
        stone.facets[i].instruction.clear();
    }
    stone.nFacet = keptFacets;
    for (size_t k = 0; k < edges.size(); ++k) {
        Edge& e = stone.edges[k];
        e = Edge{};
        e.v = edges[k].v;
        e.f = {result.facetMap[edges[k].f[0]], result.facetMap[edges[k].f[1]]};
        e.status = edges[k].status;
    }
    stone.nEdge = static_cast<int32_t>(edges.size());
    return result;
}

}  // namespace brevix
