// Making a mesh into a rough the fit can trust: one point where a scan
// repeats a corner, every edge shared by exactly two triangles that run
// along it in opposite directions, the triangles facing outward, and no
// triangle passing through another. Anything else has no inside, and a
// stone "inside" it would mean nothing.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "platform/strformat.h"
#include "rough/rough_internal.h"
#include "rough/self_crossing.h"

namespace brevix::rough {

namespace {

constexpr double SMALLEST_PLAUSIBLE_MM = 0.5;
constexpr double LARGEST_PLAUSIBLE_MM = 500;

std::string pointText(Vec3 p) { return strprintf("(%.4g, %.4g, %.4g)", p.x, p.y, p.z); }

// Points with exactly the same coordinates become one; STL repeats every
// corner once per triangle.
void weldPoints(Mesh& mesh) {
    std::vector<uint32_t> order(mesh.points.size());
    std::iota(order.begin(), order.end(), 0u);
    auto key = [&](uint32_t i) {
        const Vec3& p = mesh.points[i];
        return std::array<double, 3>{p.x, p.y, p.z};
    };
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const auto ka = key(a), kb = key(b);
        return ka != kb ? ka < kb : a < b;
    });
    // Points keep the order of their first use in the file.
    std::vector<uint32_t> firstOf(mesh.points.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        uint32_t first = order[i];
        while (j < order.size() && key(order[j]) == key(order[i])) first = std::min(first, order[j++]);
        for (size_t k = i; k < j; ++k) firstOf[order[k]] = first;
        i = j;
    }
    std::vector<uint32_t> renumbered(mesh.points.size(), UINT32_MAX);
    std::vector<Vec3> points;
    for (auto& t : mesh.triangles)
        for (uint32_t& corner : t) {
            const uint32_t f = firstOf[corner];
            if (renumbered[f] == UINT32_MAX) {
                renumbered[f] = static_cast<uint32_t>(points.size());
                points.push_back(mesh.points[f]);
            }
            corner = renumbered[f];
        }
    mesh.points = std::move(points);
    // A triangle with a repeated corner has no area; its two remaining
    // edges cancel, so leaving it out keeps a closed mesh closed.
    std::erase_if(mesh.triangles, [](const auto& t) { return t[0] == t[1] || t[1] == t[2] || t[0] == t[2]; });
}

// One directed edge of a triangle, keyed by its two points lower first.
struct EdgeUse {
    uint64_t key;
    uint32_t triangle;
    uint8_t corner;  // the edge runs from corner to corner + 1
    bool forward;    // from the lower point to the higher
};

uint64_t edgeKey(uint32_t a, uint32_t b) { return uint64_t(std::min(a, b)) << 32 | std::max(a, b); }

// Checks that every edge has two triangles running along it, and turns
// triangles so that the two run opposite ways. Returns an error, or "".
std::string orientConsistently(Mesh& mesh, size_t& turned, std::vector<std::array<uint32_t, 2>>& edges,
                               std::vector<std::array<uint32_t, 2>>& neighbours) {
    const size_t n = mesh.triangles.size();
    std::vector<EdgeUse> uses;
    uses.reserve(n * 3);
    for (uint32_t t = 0; t < n; ++t)
        for (uint8_t c = 0; c < 3; ++c) {
            const uint32_t a = mesh.triangles[t][c], b = mesh.triangles[t][(c + 1) % 3];
            uses.push_back({edgeKey(a, b), t, c, a < b});
        }
    std::sort(uses.begin(), uses.end(), [](const EdgeUse& x, const EdgeUse& y) {
        return x.key != y.key ? x.key < y.key : x.triangle < y.triangle;
    });
    // The first fault in the file's order of triangles is the one named.
    uint64_t openTriangle = UINT64_MAX, crowdedTriangle = UINT64_MAX;
    std::array<uint32_t, 2> openEdge{}, crowdedEdge{};
    // For each triangle's corner c: the triangle across edge c, and
    // whether it runs the same way (then one of the two must turn).
    std::vector<std::array<uint32_t, 3>> across(n, {UINT32_MAX, UINT32_MAX, UINT32_MAX});
    std::vector<std::array<bool, 3>> sameWay(n);
    for (size_t i = 0; i < uses.size();) {
        size_t j = i;
        while (j < uses.size() && uses[j].key == uses[i].key) ++j;
        const EdgeUse& u = uses[i];
        const std::array<uint32_t, 2> ends{mesh.triangles[u.triangle][u.corner],
                                           mesh.triangles[u.triangle][(u.corner + 1) % 3]};
        if (j - i == 1 && u.triangle < openTriangle) {
            openTriangle = u.triangle;
            openEdge = ends;
        } else if (j - i > 2 && u.triangle < crowdedTriangle) {
            crowdedTriangle = u.triangle;
            crowdedEdge = ends;
        } else if (j - i == 2) {
            const EdgeUse& v = uses[i + 1];
            across[u.triangle][u.corner] = v.triangle;
            across[v.triangle][v.corner] = u.triangle;
            sameWay[u.triangle][u.corner] = sameWay[v.triangle][v.corner] = u.forward == v.forward;
            edges.push_back({static_cast<uint32_t>(u.key >> 32), static_cast<uint32_t>(u.key)});
            neighbours.push_back({u.triangle, v.triangle});
        }
        i = j;
    }
    if (openTriangle != UINT64_MAX)
        return "The rough is not closed: the edge from " + pointText(mesh.points[openEdge[0]]) + " to " +
               pointText(mesh.points[openEdge[1]]) + " mm borders only one triangle.";
    if (crowdedTriangle != UINT64_MAX)
        return "The rough is not a solid: the edge from " + pointText(mesh.points[crowdedEdge[0]]) + " to " +
               pointText(mesh.points[crowdedEdge[1]]) + " mm borders more than two triangles.";
    // Walk each connected piece from its first triangle, which keeps its
    // way; a piece that cannot be made to agree (a Moebius strip) has no
    // inside.
    std::vector<int8_t> flip(n, -1);
    std::vector<uint32_t> stack;
    for (uint32_t start = 0; start < n; ++start) {
        if (flip[start] >= 0) continue;
        flip[start] = 0;
        stack.push_back(start);
        while (!stack.empty()) {
            const uint32_t t = stack.back();
            stack.pop_back();
            for (int c = 0; c < 3; ++c) {
                const uint32_t o = across[t][c];
                const int8_t want = static_cast<int8_t>(flip[t] ^ (sameWay[t][c] ? 1 : 0));
                if (flip[o] < 0) {
                    flip[o] = want;
                    stack.push_back(o);
                } else if (flip[o] != want) {
                    const uint32_t a = mesh.triangles[t][c], b = mesh.triangles[t][(c + 1) % 3];
                    return "The rough is not a solid: it has no inside and outside (one side of the edge from " +
                           pointText(mesh.points[a]) + " to " + pointText(mesh.points[b]) + " mm leads to the other).";
                }
            }
        }
    }
    turned = 0;
    for (uint32_t t = 0; t < n; ++t)
        if (flip[t] == 1) {
            std::swap(mesh.triangles[t][1], mesh.triangles[t][2]);
            ++turned;
        }
    return {};
}

// Eigenvectors of a symmetric 3x3 matrix by Jacobi rotations, largest
// eigenvalue first.
std::array<Vec3, 3> principalAxes(std::array<std::array<double, 3>, 3> a) {
    std::array<std::array<double, 3>, 3> v{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (int sweep = 0; sweep < 50; ++sweep) {
        const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
        if (off < 1e-30) break;
        for (int p = 0; p < 2; ++p)
            for (int q = p + 1; q < 3; ++q) {
                if (std::abs(a[p][q]) < 1e-300) continue;
                const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const double t = (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < 3; ++k) {
                    const double akp = a[k][p], akq = a[k][q];
                    a[k][p] = c * akp - s * akq;
                    a[k][q] = s * akp + c * akq;
                }
                for (int k = 0; k < 3; ++k) {
                    const double apk = a[p][k], aqk = a[q][k];
                    a[p][k] = c * apk - s * aqk;
                    a[q][k] = s * apk + c * aqk;
                }
                for (int k = 0; k < 3; ++k) {
                    const double vkp = v[k][p], vkq = v[k][q];
                    v[k][p] = c * vkp - s * vkq;
                    v[k][q] = s * vkp + c * vkq;
                }
            }
    }
    std::array<int, 3> order{0, 1, 2};
    std::sort(order.begin(), order.end(), [&](int x, int y) { return a[x][x] > a[y][y]; });
    std::array<Vec3, 3> axes;
    for (int i = 0; i < 3; ++i) axes[i] = {v[0][order[i]], v[1][order[i]], v[2][order[i]]};
    // A right-handed frame, so that it is a rotation.
    if (dot(cross(axes[0], axes[1]), axes[2]) < 0) axes[2] = axes[2] * -1;
    return axes;
}

// Volume, centroid and the spread of the solid about it (from the
// tetrahedra each triangle makes with the origin).
void measureSolid(Rough& rough) {
    double volume = 0;
    Vec3 moment;
    for (const auto& t : rough.mesh.triangles) {
        const Vec3 a = rough.mesh.points[t[0]], b = rough.mesh.points[t[1]], c = rough.mesh.points[t[2]];
        const double v = dot(a, cross(b, c)) / 6;
        volume += v;
        moment = moment + (a + b + c) * (v / 4);
    }
    rough.volume = volume;
    rough.centroid = volume != 0 ? moment * (1 / volume) : Vec3{};
}

void measureSpread(Rough& rough) {
    std::array<std::array<double, 3>, 3> spread{};
    const Vec3 o = rough.centroid;
    for (const auto& t : rough.mesh.triangles) {
        const Vec3 a = rough.mesh.points[t[0]] - o, b = rough.mesh.points[t[1]] - o, c = rough.mesh.points[t[2]] - o;
        const double v = dot(a, cross(b, c)) / 6;
        // Second moments of a tetrahedron with a corner at the centroid.
        const Vec3 s = a + b + c;
        const std::array<Vec3, 3> corners{a, b, c};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                auto at = [](Vec3 p, int k) { return k == 0 ? p.x : k == 1 ? p.y : p.z; };
                double sum = at(s, i) * at(s, j);
                for (const Vec3& p : corners) sum += at(p, i) * at(p, j);
                spread[i][j] += v * sum / 20;
            }
    }
    rough.axes = principalAxes(spread);
}

void findBounds(Rough& rough) {
    Vec3 lo = rough.mesh.points.front(), hi = lo;
    for (const Vec3& p : rough.mesh.points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    rough.bounds = {lo, hi};
}

// An edge folds inward when the far corner of one of its triangles lies
// above the other's plane. Where the surface runs flat or bends outward, a
// growing convex stone first meets it with a corner, which the corner rays
// find; a fold that rounding hides is caught by the final check against
// every edge.
void findFolds(Rough& rough, const std::vector<std::array<uint32_t, 2>>& neighbours) {
    const Mesh& m = rough.mesh;
    const double flatness = 1e-9 * rough.extent();
    std::vector<bool> folded(m.points.size(), false);
    std::vector<std::array<uint32_t, 2>> foldedEdges;
    for (size_t e = 0; e < rough.edges.size(); ++e) {
        const auto& t1 = m.triangles[neighbours[e][0]];
        const auto& t2 = m.triangles[neighbours[e][1]];
        const Vec3 a = m.points[t1[0]];
        Vec3 normal = cross(m.points[t1[1]] - a, m.points[t1[2]] - a);
        const double n = length(normal);
        if (n > 0) normal = normal * (1 / n);
        uint32_t far = t2[0];
        for (uint32_t corner : t2)
            if (corner != rough.edges[e][0] && corner != rough.edges[e][1]) far = corner;
        if (n == 0 || dot(normal, m.points[far] - a) > flatness) {
            foldedEdges.push_back(rough.edges[e]);
            folded[rough.edges[e][0]] = folded[rough.edges[e][1]] = true;
        }
    }
    std::vector<uint32_t> foldedIndex(m.points.size(), UINT32_MAX);
    for (uint32_t p = 0; p < folded.size(); ++p)
        if (folded[p]) {
            foldedIndex[p] = static_cast<uint32_t>(rough.foldedPoints.size());
            rough.foldedPoints.push_back(p);
        }
    for (const auto& e : foldedEdges) rough.foldedEdges.push_back({foldedIndex[e[0]], foldedIndex[e[1]]});
}

}  // namespace

RoughCheck prepareRough(Mesh mesh) {
    RoughCheck check;
    weldPoints(mesh);
    if (mesh.triangles.size() < 4) {
        check.error = "The rough is not a solid: it has fewer than four triangles.";
        return check;
    }
    auto rough = std::make_shared<Rough>();
    rough->mesh = std::move(mesh);
    size_t turned = 0;
    std::vector<std::array<uint32_t, 2>> neighbours;
    check.error = orientConsistently(rough->mesh, turned, rough->edges, neighbours);
    if (!check.error.empty()) return check;
    findBounds(*rough);
    measureSolid(*rough);
    const double extent = rough->extent();
    if (!(std::abs(rough->volume) > 1e-9 * extent * extent * extent)) {
        check.error = "The rough is not a solid: it encloses no volume.";
        return check;
    }
    if (rough->volume < 0) {
        for (auto& t : rough->mesh.triangles) std::swap(t[1], t[2]);
        rough->volume = -rough->volume;
        check.warnings.push_back("The rough's triangles faced inward; they were turned.");
    } else if (turned > 0) {
        check.warnings.push_back(strprintf("%zu of the rough's triangles faced the wrong way; they were turned.", turned));
    }
    if (extent < SMALLEST_PLAUSIBLE_MM || extent > LARGEST_PLAUSIBLE_MM)
        check.warnings.push_back(strprintf("The rough is %.4g mm across, which does not look like millimetres.", extent));
    measureSpread(*rough);
    findFolds(*rough, neighbours);
    rough->geometry = std::make_unique<RoughGeometry>(rough->mesh);
    if (!rough->geometry->complete()) {
        check.error = "The rough is not a solid: two parts of its surface meet in a single point.";
        return check;
    }
    rough->rays = std::make_unique<RayCaster>(rough->mesh);
    if (const auto crossing = findSelfCrossing(rough->mesh, *rough->rays)) {
        check.error = "The rough is not a solid: its surface passes through itself near " + pointText(*crossing) + ".";
        return check;
    }
    check.rough = std::move(rough);
    return check;
}

double roughVolume(const Rough& rough) { return rough.volume; }
const Mesh& roughMesh(const Rough& rough) { return rough.mesh; }
std::array<Vec3, 2> roughBounds(const Rough& rough) { return rough.bounds; }

}  // namespace brevix::rough
