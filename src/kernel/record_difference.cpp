#include "kernel/record_difference.h"

#include <cstring>
#include <sstream>

namespace brevix {

namespace {

bool sameBitsOf(double p, double q) { return std::memcmp(&p, &q, sizeof p) == 0; }

}  // namespace

std::string firstRecordDifference(const Stone& p, const Stone& q) {
    std::ostringstream out;
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge) {
        out << "counts " << p.nFacet << "/" << p.nVertex << "/" << p.nEdge << " against " << q.nFacet << "/"
            << q.nVertex << "/" << q.nEdge;
        return out.str();
    }
    if (p.nRough != q.nRough || p.nGirdle != q.nGirdle) return "rough or girdle count";
    for (int32_t i = 0; i < p.nVertex; ++i) {
        const Vertex &v = p.vertices[i], &w = q.vertices[i];
        if (!sameBitsOf(v.x, w.x) || !sameBitsOf(v.y, w.y) || !sameBitsOf(v.z, w.z) || !sameBitsOf(v.dist, w.dist) ||
            v.status != w.status) {
            out << "vertex " << i << ": " << v.x << " " << v.y << " " << v.z << " " << v.dist << " " << v.status
                << " against " << w.x << " " << w.y << " " << w.z << " " << w.dist << " " << w.status;
            return out.str();
        }
    }
    for (int32_t j = 0; j < p.nEdge; ++j) {
        const Edge &e = p.edges[j], &g = q.edges[j];
        if (e.v != g.v || e.f != g.f || e.status != g.status) return "edge " + std::to_string(j);
    }
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (!sameBitsOf(f.a, g.a) || !sameBitsOf(f.b, g.b) || !sameBitsOf(f.c, g.c) || !sameBitsOf(f.d, g.d) ||
            f.name != g.name || f.instruction != g.instruction || f.tier != g.tier || f.axis != g.axis ||
            f.status != g.status || f.flags != g.flags)
            return "facet " + std::to_string(i);
    }
    for (const Stone* s : {&p, &q})
        for (int32_t i = s->nFacet; i < s->maxFacet; ++i)
            if (!s->facets[i].name.empty() || !s->facets[i].instruction.empty())
                return "unused facet slot " + std::to_string(i) + " holds text";
    const Diagnostics &m = p.diagnostics(), &n = q.diagnostics();
    if (m.size() != n.size()) {
        out << m.size() << " notes against " << n.size();
        return out.str();
    }
    for (size_t k = 0; k < m.size(); ++k)
        if (m[k].text != n[k].text) return "note " + std::to_string(k) + ": " + m[k].text + " against " + n[k].text;
    return {};
}

}  // namespace brevix
