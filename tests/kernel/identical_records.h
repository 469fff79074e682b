#pragma once
// Two stones alike to the last bit: every record, every working mark, every
// note, and no text left in a slot past the end. For comparing a faster way
// of cutting with the one-by-one way it must agree with.
#include <gtest/gtest.h>

#include <cstring>

#include "kernel/stone.h"

namespace brevix::testing {

inline bool sameBits(double p, double q) { return std::memcmp(&p, &q, sizeof p) == 0; }

inline ::testing::AssertionResult identicalRecordByRecord(const Stone& p, const Stone& q) {
    auto fail = [] { return ::testing::AssertionFailure(); };
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return fail() << "counts " << p.nFacet << "/" << p.nVertex << "/" << p.nEdge << " against " << q.nFacet
                      << "/" << q.nVertex << "/" << q.nEdge;
    if (p.nRough != q.nRough || p.nGirdle != q.nGirdle) return fail() << "rough or girdle count";
    for (int32_t i = 0; i < p.nVertex; ++i) {
        const Vertex &v = p.vertices[i], &w = q.vertices[i];
        if (!sameBits(v.x, w.x) || !sameBits(v.y, w.y) || !sameBits(v.z, w.z) || !sameBits(v.dist, w.dist) ||
            v.status != w.status)
            return fail() << "vertex " << i << ": " << v.x << " " << v.y << " " << v.z << " " << v.dist << " "
                          << v.status << " against " << w.x << " " << w.y << " " << w.z << " " << w.dist << " "
                          << w.status;
    }
    for (int32_t j = 0; j < p.nEdge; ++j) {
        const Edge &e = p.edges[j], &g = q.edges[j];
        if (e.v != g.v || e.f != g.f || e.status != g.status) return fail() << "edge " << j;
    }
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (!sameBits(f.a, g.a) || !sameBits(f.b, g.b) || !sameBits(f.c, g.c) || !sameBits(f.d, g.d) ||
            f.name != g.name || f.instruction != g.instruction || f.tier != g.tier || f.axis != g.axis ||
            f.status != g.status || f.flags != g.flags)
            return fail() << "facet " << i;
    }
    for (const Stone* s : {&p, &q})
        for (int32_t i = s->nFacet; i < s->maxFacet; ++i)
            if (!s->facets[i].name.empty() || !s->facets[i].instruction.empty())
                return fail() << "unused facet slot " << i << " holds text";
    const Diagnostics &m = p.diagnostics(), &n = q.diagnostics();
    if (m.size() != n.size()) return fail() << m.size() << " notes against " << n.size();
    for (size_t k = 0; k < m.size(); ++k)
        if (m[k].text != n[k].text) return fail() << "note " << k << ": " << m[k].text << " against " << n[k].text;
    return ::testing::AssertionSuccess();
}

}  // namespace brevix::testing
