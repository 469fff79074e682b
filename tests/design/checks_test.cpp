#include "kernel/checks.h"

#include <gtest/gtest.h>

#include <sstream>

#include "design/sample_designs.h"

namespace brevix {
namespace {

std::string report(Stone& stone, bool* passed = nullptr) {
    std::ostringstream out;
    const bool ok = checkstone(stone, out);
    if (passed) *passed = ok;
    return out.str();
}

TEST(Checkstone, SoundStonesPassAndKeepTheirStatuses) {
    Stone cube;
    bool passed = false;
    EXPECT_EQ(report(cube, &passed),
              "Entering checkstone()\n"
              "Passed: 6 Facets + 8 vertices - 12 Edges = 2\n"
              "Exiting checkstone()\n");
    EXPECT_TRUE(passed);

    Stone brilliant = makeRoundBrilliant();
    EXPECT_EQ(report(brilliant, &passed),
              "Entering checkstone()\nPassed: 73 Facets + 97 vertices - 168 Edges = 2\n"
              "Exiting checkstone()\n");
    EXPECT_TRUE(passed);
    // The counters borrowed the status fields; they must be back to present.
    for (int32_t i = 0; i < brilliant.nFacet; ++i) EXPECT_EQ(brilliant.facets[i].status, ST_PRESENT);
    for (int32_t i = 0; i < brilliant.nVertex; ++i) EXPECT_EQ(brilliant.vertices[i].status, ST_PRESENT);
}

TEST(Checkstone, StopsAtBrokenReferences) {
    Stone cube;
    cube.edges[3].v[1] = 20;
    bool passed = true;
    EXPECT_EQ(report(cube, &passed),
              "Entering checkstone()\nPassed: 6 Facets + 8 vertices - 12 Edges = 2\n"
              "Edge 3->v[1]: No such Vertex 20 >= 8\n");
    EXPECT_FALSE(passed);
    EXPECT_EQ(cube.vertices[0].status, ST_PRESENT);

    // A negative index must be caught the same way, not read.
    Stone other;
    other.edges[5].f[0] = -1;
    EXPECT_NE(report(other, &passed).find("Edge 5->f[0]: No such Facet -1 >= 6\n"), std::string::npos);
    EXPECT_FALSE(passed);
}

TEST(Checkstone, ReportsOrphansAndVerticesOffTheirPlanes) {
    Stone cube;
    cube.newVertex(0, 0, 0);  // belongs to no edge
    bool passed = true;
    EXPECT_EQ(report(cube, &passed),
              "Entering checkstone()\n"
              "Failed: 6 Facets + 9 vertices - 12 Edges = 3 not 2\n"
              "Vertex 8 orphaned\n");
    EXPECT_FALSE(passed);

    Stone moved;
    moved.vertices[0].x += 0.1;
    EXPECT_EQ(report(moved, &passed),
              "Entering checkstone()\nPassed: 6 Facets + 8 vertices - 12 Edges = 2\n"
              "Vertex 0 of Edge 0 not on Facet 3\n"
              "Vertex -0.920 -1.020 -1.020\n"
              "Facet -1.000 0.000 0.000 1.020\n"
              "Exiting\n");
    EXPECT_FALSE(passed);
}

TEST(Checkstone, ReportsDuplicateEdgesAndOpenFacetsThenFails) {
    Stone cube;
    cube.edges[cube.nEdge++] = cube.edges[0];
    cube.facets[3].name = "X";
    bool passed = true;
    const std::string text = report(cube, &passed);
    EXPECT_FALSE(passed);
    EXPECT_NE(text.find("Failed: 6 Facets + 8 vertices - 13 Edges = 1 not 2\n"), std::string::npos);
    EXPECT_NE(text.find("Edges 0 and 12 coincide (facets)\nEdges 0 and 12 coincide (vertices)\n"),
              std::string::npos);
    EXPECT_NE(text.find("vertex 0 is connected by 3 edges on facet 3\n"
                        "-1.0200 -1.0200 -1.0200\nstatus = 4\ndist = 0.0000e+00\nnamed X\n"
                        "Rough cube facet\n"),
              std::string::npos);
    EXPECT_EQ(text.find("Exiting checkstone()"), std::string::npos);
}

TEST(CheckFacetClosure, IgnoresWhatTheCutRemovesAndNamesTheCut) {
    Stone cube;
    std::ostringstream out;
    EXPECT_TRUE(checkFacetClosure(cube, 3, 6, out));
    EXPECT_EQ(out.str(), "");

    cube.edges[0].status = ST_OUT;  // edge 0 of facet 3 is being cut away
    EXPECT_FALSE(checkFacetClosure(cube, 3, 6, out));
    EXPECT_EQ(out.str(),
              "In checkFacetClosure cutting facet 6\n"
              "vertex 0 is singly connected on facet 3\n"
              "-1.0200 -1.0200 -1.0200\nstatus = 4\ndist = 0.0000e+00\nRough cube facet\n"
              "In checkFacetClosure cutting facet 6\n"
              "vertex 1 is singly connected on facet 3\n"
              "-1.0200 -1.0200 1.0200\nstatus = 4\ndist = 0.0000e+00\nRough cube facet\n");

    // Vertices being removed do not count either: vertex 0 leaves, its edge
    // 1 to vertex 2 as well, so vertex 2 hangs on one edge.
    cube.edges[0].status = ST_PRESENT;
    cube.vertices[0].status = ST_OUT;
    cube.edges[1].status = ST_OUT;
    std::ostringstream second;
    EXPECT_FALSE(checkFacetClosure(cube, 3, 6, second));
    EXPECT_EQ(second.str().find("In checkFacetClosure cutting facet 6\n"
                                "vertex 2 is singly connected on facet 3\n"),
              0u);
    EXPECT_EQ(second.str().find("vertex 0"), std::string::npos);
}

}  // namespace
}  // namespace brevix
