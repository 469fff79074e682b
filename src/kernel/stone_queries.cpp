#include <algorithm>
#include <cmath>

#include "kernel/stone.h"

namespace brevix {

namespace {
const std::string kNoText;
}

double Stone::facetAngleOf(int32_t facet) const {
    const Facet& f = facets[facet];
    double angle = std::atan2(std::sqrt(f.a * f.a + f.b * f.b), f.c) * DEG_PER_RAD;
    while (angle < -90) angle += 180;
    while (angle > 90) angle -= 180;
    return angle;
}

double Stone::dihedralAngle(int32_t edge) const {
    const Edge& e = edges[edge];
    return std::acos(dot(facets[e.f[0]].normal(), facets[e.f[1]].normal())) * 180 / PI;
}

void Stone::setFacetName(int32_t facet, std::string_view name) { facets[facet].name = name; }

const std::string& Stone::instructionOf(int32_t facet) const {
    const int32_t tier = facets[facet].tier;
    for (int32_t i = 0; i < nFacet; ++i)
        if (facets[i].tier == tier && !facets[i].instruction.empty()) return facets[i].instruction;
    return kNoText;
}

void Stone::setInstruction(int32_t facet, std::string_view text) {
    const int32_t tier = facets[facet].tier;
    for (int32_t i = 0; i < nFacet; ++i)
        if (facets[i].tier == tier) facets[i].instruction.clear();
    facets[facet].instruction = text;
}

Vec3 Stone::edgeEnd(int32_t edge, int end) const { return vertices[edges[edge].v[end]].pos(); }

double Stone::edgeEndDistance(int32_t edge, int end, Vec3 point) const {
    return length(edgeEnd(edge, end) - point);
}

int32_t Stone::facetByPlane(double a, double b, double c) const {
    for (int32_t i = 0; i < nFacet; ++i)
        if (facets[i].a == a && facets[i].b == b && facets[i].c == c) return i;
    return -1;
}

double Stone::facetArea(int32_t facet) const {
    Vec3 sum;
    for (int32_t j = 0; j < nEdge; ++j) {
        const Edge& e = edges[j];
        if (e.f[0] != facet && e.f[1] != facet) continue;
        Vec3 term = cross(vertices[e.v[0]].pos(), vertices[e.v[1]].pos());
        sum = e.f[0] == facet ? sum + term : sum - term;
    }
    return length(sum) / 2;
}

double Stone::largestWidth() const {
    if (nVertex == 0) return 0;
    Vec3 low = vertices[0].pos(), high = low;
    for (int32_t i = 1; i < nVertex; ++i) {
        const Vec3 p = vertices[i].pos();
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return std::max({high.x - low.x, high.y - low.y, high.z - low.z});
}

}  // namespace brevix
