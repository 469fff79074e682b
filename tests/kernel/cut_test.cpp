// Cutting single planes into the stone: the cases where the topology
// bookkeeping is easiest to get wrong.
#include <gtest/gtest.h>

#include <cmath>

#include "kernel/kernel_error.h"
#include "kernel/stone.h"
#include "platform/messages.h"
#include "stone_invariants.h"

namespace brevix {
namespace {

using testing::stoneIsValid;

TEST(Cut, HorizontalPlaneReplacesTheTopFace) {
    Stone s;
    EXPECT_EQ(s.newFacet(0, 0, 1, 0.5), 0);  // the removed face is rough
    EXPECT_EQ(s.nFacet, 6);
    EXPECT_EQ(s.nVertex, 8);
    EXPECT_EQ(s.nEdge, 12);
    EXPECT_EQ(s.nRough, 5);
    EXPECT_EQ(s.facets[5].c, 1);  // the new facet is last
    EXPECT_FALSE(s.facets[5].isRough());
    EXPECT_EQ(s.facets[5].tier, 1);
    EXPECT_TRUE(stoneIsValid(s));
    for (int32_t i = 0; i < s.nVertex; ++i) EXPECT_LE(s.vertices[i].z, 0.5);
}

TEST(Cut, PlaneThatMissesOrTouchesChangesNothing) {
    Stone s;
    EXPECT_EQ(s.newFacet(0, 0, 1, 2, "T", "x"), -1);
    EXPECT_EQ(s.newFacet(0, 0, 1, 1.02), -1);  // touches the top face
    const double r = 1 / std::sqrt(2.0);
    EXPECT_EQ(s.newFacet(r, r, 0, 1.02 * std::sqrt(2.0)), -1);  // touches an edge
    const double k = 1 / std::sqrt(3.0);
    EXPECT_EQ(s.newFacet(k, k, k, 1.02 * std::sqrt(3.0)), -1);  // touches a vertex
    EXPECT_EQ(s.nFacet, 6);
    EXPECT_TRUE(s.facets[6].name.empty());
    EXPECT_TRUE(stoneIsValid(s));
}

TEST(Cut, SamePlaneTwiceCutsOnce) {
    Stone s;
    const double k = 1 / std::sqrt(2.0);
    EXPECT_EQ(s.newFacet(k, 0, k, 1.2), 0);
    EXPECT_EQ(s.newFacet(k, 0, k, 1.2), -1);
    EXPECT_EQ(s.nFacet, 7);
}

TEST(Cut, PlaneThroughVerticesReusesThem) {
    Stone s;
    const double k = 1 / std::sqrt(3.0);
    // x + y + z = s passes through three corners and cuts off the fourth.
    EXPECT_EQ(s.newFacet(k, k, k, 1.02 * k), 0);
    EXPECT_EQ(s.nVertex, 7);  // one corner gone, none created
    EXPECT_EQ(s.nFacet, 7);
    EXPECT_EQ(s.nEdge, 12);
    EXPECT_EQ(s.nRough, 6);  // every face of the cube keeps a part
    EXPECT_TRUE(stoneIsValid(s));
}

TEST(Cut, EdgeLyingInThePlaneIsHandedToTheNewFacet) {
    Stone s;
    // Contains the edge x = s, z = s and removes the whole top face.
    EXPECT_EQ(s.newFacet(-0.6, 0, 0.8, 0.2 * 1.02), 0);
    EXPECT_EQ(s.nFacet, 6);
    EXPECT_EQ(s.nRough, 5);
    EXPECT_EQ(s.nVertex, 8);
    EXPECT_EQ(s.nEdge, 12);
    EXPECT_TRUE(stoneIsValid(s));
    int handedOver = 0;
    for (int32_t j = 0; j < s.nEdge; ++j) {
        const Edge& e = s.edges[j];
        const bool joins = (e.f[0] == 0 && e.f[1] == 5) || (e.f[0] == 5 && e.f[1] == 0);
        if (!joins) continue;
        ++handedOver;
        EXPECT_EQ(e.status, ST_PRESENT);
        EXPECT_DOUBLE_EQ(s.vertices[e.v[0]].z, 1.02);
        EXPECT_DOUBLE_EQ(s.vertices[e.v[1]].z, 1.02);
    }
    EXPECT_EQ(handedOver, 1);
}

TEST(Cut, GirdleFacetsAreCountedInAndOut) {
    Stone s;
    EXPECT_EQ(s.newFacet(1, 0, 0, 0.9), 0);
    EXPECT_EQ(s.nGirdle, 1);
    EXPECT_EQ(s.newFacet(0.8, 0, 0.6, 0.1), 1);  // removes the girdle facet entirely
    EXPECT_EQ(s.nGirdle, 0);
    EXPECT_TRUE(stoneIsValid(s));
}

TEST(Cut, TiersFollowAngleAndDepth) {
    Stone s;
    s.newFacet(0.6, 0, 0.8, 0.9);
    s.newFacet(-0.6, 0, 0.8, 0.9);
    s.newFacet(0, 0.6, 0.8, 0.95);
    EXPECT_EQ(s.facets[6].tier, 1);
    EXPECT_EQ(s.facets[7].tier, 1);
    EXPECT_EQ(s.facets[8].tier, 2);
}

TEST(Cut, CutByAngleFoldsNegativeTilts) {
    Stone s;
    EXPECT_GE(s.cutByAngle(PI / 2, -0.7, 0.8, true), 0);  // azimuth a quarter turn: +x
    const Facet& f = s.facets[s.nFacet - 1];
    EXPECT_NEAR(f.a, std::sin(0.7), 1e-15);
    EXPECT_NEAR(f.b, 0, 1e-15);
    EXPECT_NEAR(f.c, -std::cos(0.7), 1e-15);
    EXPECT_NEAR(f.d, 0.8, 1e-15);
    EXPECT_NEAR(s.facetIndexOf(s.nFacet - 1), 24, 1e-9);
}

TEST(Cut, WarningsKeepTheirExactText) {
    Stone s;
    const int32_t added = s.newVertex(1.02, 1.02, 1.02 - 5e-9);
    EXPECT_EQ(added, 8);
    EXPECT_EQ(s.nVertex, 9);
    EXPECT_EQ(s.takeDiagnostics().texts(), std::vector<std::string>{
                                "Internal warning: New vertex  1.020000  1.020000  1.020000\n"
                                "close to  1.020000  1.020000  1.020000"});
    s.newEdge(0, 8, 0, 3);  // facets 0 and 3 share no edge; the two points are far apart
    EXPECT_TRUE(s.diagnostics().empty());
    s.newEdge(7, 8, 0, 1);  // duplicates edge 11 and is shorter than 3e-8
    for (const Diagnostic& note : s.diagnostics()) EXPECT_EQ(note.kind, DiagKind::InternalWarning);
    EXPECT_EQ(s.takeDiagnostics().texts(),
              (std::vector<std::string>{
                  "Internal warning: Duplicate edges between facets 0 and 1!",
                  "Internal warning: Short edge from vertex 7 to 8 on facets 0 and 1 on edge 13\n"}));
}

TEST(Cut, BrokenArraysThrowTheInternalError) {
    Stone s;
    try {
        s.newEdge(2, 2, 0, 1);
        FAIL() << "no error";
    } catch (const KernelError& e) {
        EXPECT_STREQ(e.what(), "Internal error: New edge attempts to join Vertex 2 to itself");
    }
    EXPECT_THROW(s.newEdge(1, 2, 3, 3), KernelError);
    EXPECT_THROW(s.newEdge(1, 2, 6, 3), KernelError);
    EXPECT_THROW(s.newEdge(1, 2, 3, 7), KernelError);
}

TEST(Cut, EdgeLeftOnARemovedVertexIsAnInternalError) {
    Stone s;
    s.vertices[7].status = ST_OUT;  // dropped, but its three edges claim to stay
    try {
        s.compact();
        FAIL() << "no error";
    } catch (const KernelError& e) {
        EXPECT_STREQ(e.what(), "Internal error: Edge 7 kept on a vertex or facet the cut removed");
    }
}

TEST(Cut, EulerFailureIsReportedNotRepaired) {
    Stone s;
    s.nEdge = 11;  // a torn edge list
    s.compact();
    ASSERT_EQ(s.diagnostics().size(), 1u);
    EXPECT_EQ(s.diagnostics()[0].kind, DiagKind::InternalError);
    EXPECT_EQ(s.takeDiagnostics().texts(), std::vector<std::string>{
                                "Internal error: flunked Euler-Descartes test\n"
                                "6 Facets + 8 vertices - 11 Edges = 3, not 2"});
    EXPECT_EQ(s.nEdge, 11);
}

}  // namespace
}  // namespace brevix
