// The placed stone as a mesh in the rough's coordinates, and the two text
// forms any mesh viewer opens, so that it can be laid over the scan.
#include <algorithm>
#include <cmath>

#include "files/mesh_facets.h"
#include "platform/strformat.h"
#include "rough/fit_model.h"

namespace brevix::rough {

namespace {
// Edges shorter than this part of the stone become one point, as in the
// design's own mesh export: their triangles would have no direction.
constexpr double PLACED_WELD_FRACTION = 1e-7;
}  // namespace

Mesh placedStoneMesh(const Stone& stone, const Placement& placement) {
    Mesh mesh;
    const std::vector<int32_t> standsFor = weldShortEdges(stone, PLACED_WELD_FRACTION);
    std::vector<uint32_t> pointOf(static_cast<size_t>(std::max(stone.nVertex, 0)), UINT32_MAX);
    auto placed = [&](int32_t v) {
        if (pointOf[v] == UINT32_MAX) {
            pointOf[v] = static_cast<uint32_t>(mesh.points.size());
            mesh.points.push_back(times(placement.rotation, stone.vertices[v].pos() * placement.millimetresPerUnit) +
                                  placement.translation);
        }
        return pointOf[v];
    };
    std::vector<int32_t> ring;
    for (int32_t f = 0; f < stone.nFacet; ++f) {
        outwardRing(stone, f, ring);
        weldRing(ring, standsFor);
        if (ring.size() < 3) continue;
        const size_t apex = fanApex(stone, ring);
        const size_t n = ring.size();
        for (size_t i = 1; i + 1 < n; ++i)
            mesh.triangles.push_back(
                {placed(ring[apex]), placed(ring[(apex + i) % n]), placed(ring[(apex + i + 1) % n])});
    }
    return mesh;
}

std::string asciiStl(const Mesh& mesh, const std::string& solidName) {
    std::string text = "solid " + solidName + "\n";
    for (const auto& t : mesh.triangles) {
        const Vec3 a = mesh.points[t[0]], b = mesh.points[t[1]], c = mesh.points[t[2]];
        Vec3 n = cross(b - a, c - a);
        const double l = length(n);
        if (l > 0) n = n * (1 / l);
        text += strprintf("  facet normal %.9g %.9g %.9g\n    outer loop\n", n.x, n.y, n.z);
        for (const Vec3& p : {a, b, c}) text += strprintf("      vertex %.9g %.9g %.9g\n", p.x, p.y, p.z);
        text += "    endloop\n  endfacet\n";
    }
    text += "endsolid " + solidName + "\n";
    return text;
}

std::string objText(const Mesh& mesh) {
    std::string text;
    for (const Vec3& p : mesh.points) text += strprintf("v %.9g %.9g %.9g\n", p.x, p.y, p.z);
    for (const auto& t : mesh.triangles) text += strprintf("f %u %u %u\n", t[0] + 1, t[1] + 1, t[2] + 1);
    return text;
}

}  // namespace brevix::rough
