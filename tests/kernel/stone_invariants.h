#pragma once
// Checks every invariant a stone must satisfy between operations, reporting
// the first broken one as a test failure.
#include <gtest/gtest.h>

#include <cmath>

#include "kernel/stone.h"

namespace brevix::testing {

inline double planeDistance(const Facet& f, const Vertex& v) {
    return f.a * v.x + f.b * v.y + f.c * v.z - f.d;
}

inline ::testing::AssertionResult stoneIsValid(const Stone& s, double tolerance = 3e-8) {
    if (s.nFacet + s.nVertex - s.nEdge != 2)
        return ::testing::AssertionFailure() << "Euler sum " << s.eulerSum();
    for (int32_t i = 0; i < s.nFacet; ++i) {
        const int32_t st = s.facets[i].status;
        if (st == ST_OUT || st == ST_CUT || st == ST_DELETE)
            return ::testing::AssertionFailure() << "facet " << i << " left with status " << st;
    }
    for (int32_t i = s.nFacet; i < s.maxFacet; ++i)
        if (!s.facets[i].name.empty() || !s.facets[i].instruction.empty())
            return ::testing::AssertionFailure() << "unused facet slot " << i << " holds text";
    for (int32_t i = 0; i < s.nVertex; ++i)
        if (s.vertices[i].status == ST_OUT)
            return ::testing::AssertionFailure() << "vertex " << i << " left outside";
    for (int32_t j = 0; j < s.nEdge; ++j) {
        const Edge& e = s.edges[j];
        if (e.status == ST_OUT) return ::testing::AssertionFailure() << "edge " << j << " left outside";
        for (int k = 0; k < 2; ++k) {
            if (e.v[k] < 0 || e.v[k] >= s.nVertex)
                return ::testing::AssertionFailure() << "edge " << j << " vertex out of range";
            if (e.f[k] < 0 || e.f[k] >= s.nFacet)
                return ::testing::AssertionFailure() << "edge " << j << " facet out of range";
        }
        const Vec3 along = s.vertices[e.v[1]].pos() - s.vertices[e.v[0]].pos();
        const Vec3 axis = cross(s.facets[e.f[0]].normal(), s.facets[e.f[1]].normal());
        if (dot(along, axis) < -1e-12)
            return ::testing::AssertionFailure() << "edge " << j << " runs against its facets";
        for (int k = 0; k < 2; ++k)
            for (int m = 0; m < 2; ++m) {
                const double off = planeDistance(s.facets[e.f[k]], s.vertices[e.v[m]]);
                if (std::fabs(off) > tolerance)
                    return ::testing::AssertionFailure()
                           << "vertex " << e.v[m] << " is " << off << " off facet " << e.f[k];
            }
    }
    return ::testing::AssertionSuccess();
}

// Same planes, names and topology, record by record.
inline ::testing::AssertionResult sameStone(const Stone& p, const Stone& q) {
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return ::testing::AssertionFailure() << "counts differ";
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d || f.tier != g.tier ||
            f.name != g.name || f.instruction != g.instruction || f.flags != g.flags)
            return ::testing::AssertionFailure() << "facet " << i << " differs";
    }
    for (int32_t i = 0; i < p.nVertex; ++i) {
        const Vertex &v = p.vertices[i], &w = q.vertices[i];
        if (v.x != w.x || v.y != w.y || v.z != w.z)
            return ::testing::AssertionFailure() << "vertex " << i << " differs";
    }
    for (int32_t j = 0; j < p.nEdge; ++j)
        if (p.edges[j].v != q.edges[j].v || p.edges[j].f != q.edges[j].f)
            return ::testing::AssertionFailure() << "edge " << j << " differs";
    return ::testing::AssertionSuccess();
}

// Same planes with the same texts and the same counts: what a rebuild from
// the planes must give back (vertex bits and tier numbers may differ, since
// the rebuild cuts fewer planes than the original sequence did).
inline ::testing::AssertionResult samePlanes(const Stone& p, const Stone& q) {
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return ::testing::AssertionFailure() << "counts differ";
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d || f.name != g.name ||
            f.instruction != g.instruction)
            return ::testing::AssertionFailure() << "facet " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace brevix::testing
