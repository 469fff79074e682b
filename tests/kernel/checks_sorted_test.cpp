// The checks find coinciding vertices, facets and edges by sorting; their
// report must be the one comparing every pair gives, word for word, on
// whole stones and on stones broken in every way the report speaks of.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "checks_by_every_pair.h"
#include "design/sample_designs.h"
#include "kernel/checks.h"
#include "kernel/stone.h"

namespace brevix {
namespace {

void expectSameReport(const Stone& stone) {
    std::ostringstream sorted, everyPair;
    const bool passed = checkstone(stone, sorted);
    const bool passedBefore = reference::checkstoneByEveryPair(stone, everyPair);
    EXPECT_EQ(passed, passedBefore);
    EXPECT_EQ(sorted.str(), everyPair.str());
}

Stone sphereOfPlanes(unsigned seed, int count) {
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> normal;
    Stone s;
    for (int i = 0; i < count; ++i) {
        Vec3 n{normal(rng), normal(rng), normal(rng)};
        n = n * (1 / length(n));
        s.newFacet(n.x, n.y, n.z, 0.9);
    }
    return s;
}

TEST(SortedChecks, ReportWholeStonesAsBefore) {
    expectSameReport(Stone{});
    expectSameReport(makeRoundBrilliant());
    expectSameReport(sphereOfPlanes(3, 400));
}

// Copies of an edge and its two vertices: every point still on its planes,
// so the report goes on to the coincidences.
void addCopyOfEdge(Stone& s, int32_t edge, Vec3 shift = {}) {
    if (s.nVertex + 2 >= s.maxVertex) s.growVertices(s.nVertex + 2);
    if (s.nEdge + 1 >= s.maxEdge) s.growEdges(s.nEdge + 1);
    Edge copy = s.edges[edge];
    for (int k = 0; k < 2; ++k) {
        Vertex v = s.vertices[copy.v[k]];
        v.x += shift.x;
        v.y += shift.y;
        v.z += shift.z;
        s.vertices[s.nVertex] = v;
        copy.v[k] = s.nVertex++;
    }
    s.edges[s.nEdge++] = copy;
}

void addFacet(Stone& s, Facet f) {
    if (s.nFacet + 1 >= s.maxFacet) s.growFacets(s.nFacet + 1);
    s.facets[s.nFacet++] = f;
}

TEST(SortedChecks, ReportCoincidingRecordsAsBefore) {
    const Stone whole = sphereOfPlanes(5, 120);
    {
        SCOPED_TRACE("vertices and edges repeated, and one a hair away");
        Stone s(whole);
        addCopyOfEdge(s, 3);
        addCopyOfEdge(s, 17);
        addCopyOfEdge(s, 17);
        addCopyOfEdge(s, 40, {0.4 * EPS, 0, 0});
        addCopyOfEdge(s, 41, {1.2 * EPS, 0, 0});  // not close, but within the sweep's window
        std::ostringstream report;
        checkstone(s, report);
        EXPECT_NE(report.str().find("coincide (facets)"), std::string::npos);
        EXPECT_NE(report.str().find("Vertex 3"), std::string::npos);
        expectSameReport(s);
    }
    {
        SCOPED_TRACE("edges between the same vertices, either way round");
        Stone s(whole);
        if (s.nEdge + 1 >= s.maxEdge) s.growEdges(s.nEdge + 1);
        s.edges[s.nEdge] = s.edges[8];
        s.edges[s.nEdge++].v = {s.edges[8].v[1], s.edges[8].v[0]};
        std::ostringstream report;
        checkstone(s, report);
        EXPECT_NE(report.str().find("Edges 8 and"), std::string::npos);
        EXPECT_NE(report.str().find("coincide (vertices)"), std::string::npos);
        expectSameReport(s);
    }
    {
        SCOPED_TRACE("facets repeated and nearly repeated");
        Stone s(whole);
        addFacet(s, s.facets[20]);
        Facet near = s.facets[31];
        near.a += 0.5 * EPS;
        addFacet(s, near);
        near.b += 1.5 * EPS;
        addFacet(s, near);
        std::ostringstream report;
        checkstone(s, report);
        EXPECT_NE(report.str().find("Facet 20 and"), std::string::npos);
        expectSameReport(s);
    }
    for (const double odd : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(odd);
        Stone s(whole);
        Facet f = s.facets[12];
        f.d = odd;
        addFacet(s, f);
        f.a = odd;
        addFacet(s, f);
        expectSameReport(s);
    }
}

TEST(SortedChecks, ReportOpenOutlinesAsBefore) {
    Stone s = sphereOfPlanes(9, 80);
    s.edges[4].v[0] = s.edges[6].v[1];  // one vertex met three times, another once
    expectSameReport(s);
    Stone cube;
    cube.edges[1] = cube.edges[0];
    expectSameReport(cube);
    for (int32_t facet = 0; facet < cube.nFacet; ++facet) {
        std::ostringstream sorted, everyPair;
        EXPECT_EQ(checkFacetClosure(cube, facet, 6, sorted),
                  reference::checkFacetClosureByEveryPair(cube, facet, 6, everyPair));
        EXPECT_EQ(sorted.str(), everyPair.str());
    }
}

}  // namespace
}  // namespace brevix
