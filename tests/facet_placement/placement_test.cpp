#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "design/sample_designs.h"
#include "facet_placement/placement.h"

namespace brevix {
namespace {

std::vector<double> everyStep(double first, double step, int count) {
    std::vector<double> out;
    for (int k = 0; k < count; ++k) out.push_back(first + k * step);
    return out;
}

constexpr double CROWN = 40 * PI / 180;

TEST(IndexList, MirrorAddsImagesOffTheMirrorLines) {
    // 3 is half-way between mirror lines (every 6 notches): 16 facets.
    EXPECT_EQ(facetIndexList(96, 3, 8, 1, CROWN), everyStep(3, 6, 16));
    // On a mirror line the image repeats the facet itself: 8 facets.
    EXPECT_EQ(facetIndexList(96, 6, 8, 1, CROWN), everyStep(6, 12, 8));
    EXPECT_EQ(facetIndexList(96, 12, 8, 1, CROWN), everyStep(12, 12, 8));
    // Within 1 % of the half-sector still counts as on the line.
    EXPECT_EQ(facetIndexList(96, 6.05, 8, 1, CROWN).size(), 8u);
    EXPECT_EQ(facetIndexList(96, 6.1, 8, 1, CROWN).size(), 16u);
    EXPECT_EQ(facetIndexList(96, 3, 8, 0, CROWN), everyStep(3, 12, 8));
}

TEST(IndexList, FractionalIndexesStayWhenTheFoldDividesTheGear) {
    EXPECT_EQ(facetIndexList(96, 3.5, 8, 0, CROWN), everyStep(3.5, 12, 8));
}

TEST(IndexList, FoldNotDividingTheGearGoesToNearestNotches) {
    // 96 / 7 = 13.714...: 1, 14.71, 28.43, ... rounded.
    const std::vector<double> list = facetIndexList(96, 1, 7, 0, CROWN);
    EXPECT_EQ(list, (std::vector<double>{1, 15, 28, 42, 56, 70, 83}));
    for (double v : facetIndexList(96, 2.2, 7, 1, CROWN)) EXPECT_EQ(v, std::trunc(v));
}

TEST(IndexList, NegativeIndexComesIntoTheGear) {
    EXPECT_EQ(facetIndexList(96, -3, 8, 1, CROWN), facetIndexList(96, 93, 8, 1, CROWN));
    // Far below zero it must still come up, not loop for ever.
    const std::vector<double> far = facetIndexList(96, -96e20, 4, 0, CROWN);
    ASSERT_EQ(far.size(), 4u);
    EXPECT_GE(far.front(), 0);
}

TEST(IndexList, FoldBeyondTheGearCutsEveryNotchOnce) {
    // A typed fold of a million must not build (and sort) a million indexes.
    const auto list = facetIndexList(96, 2, 1000000, 0, CROWN);
    ASSERT_EQ(list.size(), 96u);
    EXPECT_EQ(list.front(), 2);
    EXPECT_EQ(list.back(), 97);  // one turn on from the first notch
    EXPECT_EQ(facetIndexList(96, 2, 97, 1, CROWN).size(), facetIndexList(96, 2, 96, 1, CROWN).size());
}

TEST(IndexList, TableAndCuletAreCutOnce) {
    EXPECT_EQ(facetIndexList(96, 96, 8, 1, 0).size(), 1u);
    EXPECT_EQ(facetIndexList(96, 5, 8, 1, PI).size(), 1u);
    EXPECT_EQ(facetIndexList(96, 5, 8, 1, -PI).size(), 1u);
}

TEST(IndexList, ClockwiseGearUsesItsToothCount) {
    EXPECT_EQ(facetIndexList(-96, 3, 8, 1, CROWN), everyStep(3, 6, 16));
}

TEST(IndexList, FoldBelowOneCutsOnce) {
    EXPECT_EQ(facetIndexList(96, 3, 0, 0, CROWN).size(), 1u);
}

TEST(NearMultiple, MirrorLineTest) {
    EXPECT_FALSE(nearMultiple(3, 0));
    EXPECT_TRUE(nearMultiple(6, 6));
    EXPECT_TRUE(nearMultiple(0, 6));
    EXPECT_TRUE(nearMultiple(-12, 6));
    EXPECT_TRUE(nearMultiple(17.95, 6));
    EXPECT_FALSE(nearMultiple(3, 6));
}

TEST(CutFacetSet, MirroredTierIntoRoundBrilliantCountsFacets) {
    Stone stone = makeRoundBrilliant();
    const int before = stone.nFacet;
    NewFacetInfo info;
    info.angle = 45;
    info.index = 3;
    info.ced = 0.7;
    info.hasAngle = info.hasIndex = info.hasCed = true;
    const CutCounts counts = cutFacetSet(stone, info);
    EXPECT_EQ(counts.missed, 0);
    EXPECT_EQ(counts.made, 16);
    EXPECT_EQ(stone.nFacet, before + 16 - counts.cutOff);

    info.ced = 5;  // far outside
    const CutCounts missed = cutFacetSet(stone, info);
    EXPECT_EQ(missed.missed, 16);
    EXPECT_EQ(missed.made, 0);
}

}  // namespace
}  // namespace brevix
