// The rough block, copies and ownership, the small queries.
#include <gtest/gtest.h>

#include "kernel/stone.h"
#include "platform/messages.h"
#include "stone_invariants.h"

namespace brevix {
namespace {

using testing::stoneIsValid;

TEST(RoughCube, IsTheCubeOfTheGivenHalfSize) {
    Stone s;
    EXPECT_EQ(s.nFacet, 6);
    EXPECT_EQ(s.nVertex, 8);
    EXPECT_EQ(s.nEdge, 12);
    EXPECT_EQ(s.nRough, 6);
    EXPECT_EQ(s.nGirdle, 0);
    EXPECT_EQ(s.maxFacet, 202);
    EXPECT_EQ(s.maxEdge, 500);
    EXPECT_EQ(s.maxVertex, 300);
    EXPECT_TRUE(stoneIsValid(s));
    // Vertex 5 is (+s, -s, +s), facet 4 the -y face.
    EXPECT_DOUBLE_EQ(s.vertices[5].x, 1.02);
    EXPECT_DOUBLE_EQ(s.vertices[5].y, -1.02);
    EXPECT_DOUBLE_EQ(s.vertices[5].z, 1.02);
    EXPECT_EQ(s.facets[4].b, -1);
    EXPECT_TRUE(s.facets[4].isRough());
    EXPECT_EQ(s.edges[7].v, (std::array<int32_t, 2>{3, 7}));
    EXPECT_EQ(s.edges[7].f, (std::array<int32_t, 2>{1, 2}));
    // Design defaults.
    EXPECT_EQ(s.gear, 96);
    EXPECT_EQ(s.indexOffset, 0);
    EXPECT_EQ(s.refractiveIndex, 1.54);
    EXPECT_EQ(s.symmetry, 8);
    EXPECT_EQ(s.mirror, 1);
    EXPECT_EQ(s.preform, nullptr);

    Stone database(DATABASE_ROUGH_HALF);
    EXPECT_DOUBLE_EQ(database.facets[0].d, 1.25);
    EXPECT_DOUBLE_EQ(database.facetArea(2), 4 * 1.25 * 1.25);
}

Stone namedStone() {
    Stone s;
    s.newFacet(0, 0, 1, 0.5, "T", "Table last");
    s.newFacet(0.6, 0, -0.8, 0.7, "P1", "Cut first");
    s.setHeading({"Heading one", "", "Heading three", ""});
    s.setFootnote({"", "Foot", "", ""});
    auto preform = std::make_unique<Stone>();
    preform->newFacet(0, 0, -1, 0.9, "pre", "");
    s.setPreform(std::move(preform));
    return s;
}

TEST(StoneCopy, OwnsEverythingItCopied) {
    auto source = std::make_unique<Stone>(namedStone());
    Stone copy(*source);
    Stone assigned;
    assigned = *source;
    source.reset();  // the copies must not share anything with it
    for (const Stone* s : {&copy, &assigned}) {
        EXPECT_EQ(s->facets[5].name, "T");  // the top face it replaced is gone
        EXPECT_EQ(s->instructionOf(6), "Cut first");
        EXPECT_EQ(s->heading[2], "Heading three");
        EXPECT_EQ(s->footnote[1], "Foot");
        ASSERT_NE(s->preform, nullptr);
        EXPECT_EQ(s->preform->facets[5].name, "pre");
        EXPECT_TRUE(stoneIsValid(*s));
    }
    // Copy-construction sizes the arrays to the counts, with floors.
    EXPECT_EQ(copy.maxFacet, 22);
    EXPECT_EQ(copy.maxEdge, 50);
    EXPECT_EQ(copy.maxVertex, 30);
}

TEST(StoneCopy, RaysAndStatisticsAreNotCopied) {
    Stone s;
    s.addRayPoint(0, 1, 2, 3);
    s.stats.volume = 42;
    Stone copy(s);
    EXPECT_EQ(copy.nRay, 0);
    EXPECT_EQ(copy.stats.volume, 0);
}

TEST(StoneCopy, SelfCopyAndNullArgumentsAreReportedAndHarmless) {
    Stone s = namedStone();
    Stone& alias = s;
    s = alias;  // assignment to itself: silently nothing
    EXPECT_TRUE(s.diagnostics().empty());
    s.copy(s);
    Diagnostics notes = s.takeDiagnostics();
    notes.append(Stone::copyInto(nullptr, s));
    Stone fromNull(static_cast<const Stone*>(nullptr));
    notes.append(fromNull.takeDiagnostics());
    for (const Diagnostic& note : notes) EXPECT_EQ(note.kind, DiagKind::Error);
    EXPECT_EQ(notes.texts(),
              (std::vector<std::string>{"Stone::copy() source and destination identical",
                                        "NULL pointer in Stone::copy()", "NULL in copy constructor"}));
    EXPECT_EQ(s.nFacet, 7);
    EXPECT_EQ(s.facets[5].name, "T");
    EXPECT_EQ(fromNull.nFacet, 6);
}

TEST(StoneCopy, AssignmentIntoSmallerArraysGrowsThem) {
    Stone big;
    for (int i = 0; i < 40; ++i) {
        const double angle = i * TWO_PI / 40;
        big.newFacet(std::sin(angle), std::cos(angle), 0, 1.0);
    }
    Stone fresh;
    Stone small(fresh);  // arrays at their floors
    ASSERT_LT(small.maxEdge, big.nEdge);
    small = big;
    EXPECT_EQ(small.maxEdge, big.nEdge);
    EXPECT_TRUE(testing::sameStone(small, big));
}

TEST(Queries, AngleFoldsToPlusMinusNinety) {
    Stone s;
    EXPECT_EQ(s.facetAngleOf(2), 0);   // (0, 0, 1)
    EXPECT_EQ(s.facetAngleOf(5), 0);   // (0, 0, -1): 180 folds to 0
    EXPECT_EQ(s.facetAngleOf(0), 90);  // vertical
    s.newFacet(0, std::sin(0.7), -std::cos(0.7), 0.9);
    EXPECT_NEAR(s.facetAngleOf(6), -0.7 * DEG_PER_RAD, 1e-12);
}

TEST(Queries, IndexOnTheGear) {
    Stone s;
    const double c = 0.6, h = 0.8;
    s.newFacet(0, h, c, 0.9);    // 6
    s.newFacet(h, 0, c, 0.91);   // 7
    s.newFacet(0, -h, c, 0.92);  // 8
    s.newFacet(-h, 0, c, 0.93);  // 9
    EXPECT_EQ(s.facetIndexOf(6), 96);
    EXPECT_EQ(s.facetIndexOf(7), 24);
    EXPECT_EQ(s.facetIndexOf(8), 48);
    EXPECT_EQ(s.facetIndexOf(9), 72);
    EXPECT_EQ(s.facetIndexOf(2), 96);  // table
    EXPECT_EQ(s.facetIndexOf(5), 96);  // culet
    s.indexOffset = 0.5;
    EXPECT_EQ(s.facetIndexOf(6), 0.5);
    s.indexOffset = 0;
    s.gear = -96;
    EXPECT_EQ(s.facetIndexOf(7), 72);
    s.gear = 0;
    EXPECT_EQ(s.facetIndexOf(7), 0);
    Diagnostics notes;
    EXPECT_EQ(s.facetIndexOf(7, notes), 0);
    EXPECT_EQ(notes.texts(), std::vector<std::string>{"Zero index gear"});
    EXPECT_TRUE(s.diagnostics().empty());  // a query never writes the stone
}

TEST(Queries, InstructionBelongsToTheTier) {
    Stone s;
    s.newFacet(0.6, 0, 0.8, 0.9, "C", "");
    s.newFacet(-0.6, 0, 0.8, 0.9, "C", "Meet at the table");
    s.newFacet(0, 0.6, 0.8, 0.95, "D", "Other tier");
    ASSERT_EQ(s.facets[6].tier, s.facets[7].tier);
    EXPECT_EQ(s.instructionOf(6), "Meet at the table");
    s.setInstruction(6, "Level the girdle");
    EXPECT_TRUE(s.facets[7].instruction.empty());
    EXPECT_EQ(s.instructionOf(7), "Level the girdle");
    EXPECT_EQ(s.instructionOf(8), "Other tier");
    s.setInstruction(6, "");
    EXPECT_EQ(s.instructionOf(7), "");
}

TEST(Queries, LookupsAndMeasures) {
    Stone s;
    EXPECT_EQ(s.facetByPlane(0, -1, 0), 4);
    EXPECT_EQ(s.facetByPlane(0, -1, 1e-17), -1);  // exact comparison
    for (int32_t i = 0; i < 6; ++i) EXPECT_NEAR(s.facetArea(i), 4 * 1.02 * 1.02, 1e-12);
    EXPECT_NEAR(s.dihedralAngle(0), 90, 1e-12);
    EXPECT_NEAR(s.edgeEndDistance(0, 1, {0, 0, 0}), std::sqrt(3) * 1.02, 1e-12);
}

TEST(DesignRecord, SymmetryOfSimpleSolids) {
    Stone cube;
    cube.detectSymmetry();
    EXPECT_EQ(cube.symmetry, 2);
    EXPECT_EQ(cube.mirror, 1);

    // A lone tilted facet breaks both reflections and the half turn.
    Stone lone;
    lone.newFacet(0.28, 0.96, 0, 0.9);
    lone.detectSymmetry();
    EXPECT_EQ(lone.symmetry, 1);
    EXPECT_EQ(lone.mirror, 0);

    // Its half-turn partner restores the half turn only.
    lone.newFacet(-0.28, -0.96, 0, 0.9);
    lone.detectSymmetry();
    EXPECT_EQ(lone.symmetry, 2);
    EXPECT_EQ(lone.mirror, 0);
}

TEST(Rays, TheHundredthPointDoublesTheArray) {
    Stone s;
    for (int i = 0; i < 99; ++i) s.addRayPoint(i % 2, i, 0, 0);
    EXPECT_EQ(s.nRay, 396);
    EXPECT_EQ(s.rays.size(), 400u);
    s.addRayPoint(0, 99, 0, 0);  // 396 + 4 reaches the capacity
    EXPECT_EQ(s.nRay, 400);
    EXPECT_EQ(s.rays.size(), 800u);
    EXPECT_EQ(s.rays[4 * 98 + 1], 98);
    EXPECT_EQ(s.rays[4 * 99 + 1], 99);
    Stone copy(s);
    EXPECT_EQ(copy.nRay, 0);  // rays are never copied
}

}  // namespace
}  // namespace brevix
