#include "design/transforms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "design/measures.h"
#include "design/preform.h"
#include "design/sample_designs.h"
#include "design/tiers.h"
#include "design_test_util.h"
#include "platform/messages.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::facetNamed;

::testing::AssertionResult identical(const Stone& p, const Stone& q) {
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return ::testing::AssertionFailure() << "counts differ";
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d || f.name != g.name || f.tier != g.tier)
            return ::testing::AssertionFailure() << "facet " << i << " differs";
    }
    for (int32_t i = 0; i < p.nVertex; ++i) {
        const Vertex &v = p.vertices[i], &w = q.vertices[i];
        if (v.x != w.x || v.y != w.y || v.z != w.z)
            return ::testing::AssertionFailure() << "vertex " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

// Every transform, followed by a rebuild from the planes, must leave a
// sound stone whose vertices lie on their planes.
TEST(Transforms, RegenerateAfterEachLeavesVerticesOnTheirPlanes) {
    struct Case {
        const char* what;
        std::function<void(Stone&)> apply;
    };
    const std::vector<Case> cases = {
        {"transfer", [](Stone& s) { transfer(s); }},
        {"tilt x", [](Stone& s) { rotateStone(s, 0, 0.05); }},
        {"tilt y", [](Stone& s) { rotateStone(s, 1, -0.07); }},
        {"rotate", [](Stone& s) { rotateStone(s, 2, 0.3); }},
        {"rotate gear", [](Stone& s) { rotateStone(s, 3, TWO_PI / 96); }},
        {"scale all", [](Stone& s) { scaleStone(s, SCALE_ALL, 0.9); }},
        {"scale +y", [](Stone& s) { scaleStone(s, SCALE_PLUS_Y, 1.1); }},
        {"scale x", [](Stone& s) { scaleStone(s, SCALE_MINUS_X | SCALE_PLUS_X, 0.95); }},
        {"scale crown", [](Stone& s) { scaleStone(s, SCALE_CROWN, 1.2); }},
        {"stretch crown", [](Stone& s) { stretchHeight(s, 1, 0.8); }},
        {"stretch pavilion", [](Stone& s) { stretchHeight(s, -1, 1.1); }},
        {"centre z", [](Stone& s) { centerStone(s, CENTER_Z, CENTER_ON_POINT, {0, 0, 0.1}); }},
        {"centre mass", [](Stone& s) { centerStone(s, CENTER_X | CENTER_Y, CENTER_OF_MASS); }},
        {"reflect", [](Stone& s) { reflectHalf(s, 1, false); }},
        {"sort", [](Stone& s) { sortCuttingOrder(s, 2); }},
    };
    for (const Case& c : cases)
        for (Stone stone : {makeOvalBrilliant(), makeEmeraldCut()}) {
            (void)stone.takeDiagnostics();
            computeBounds(stone);
            computeVolume(stone);
            c.apply(stone);
            EXPECT_LE(test::worstPlaneOffset(stone), 3e-8) << c.what << " before rebuilding";
            stone.regenerate();
            EXPECT_TRUE(test::soundStone(stone)) << c.what;
            EXPECT_LE(test::worstPlaneOffset(stone), 3e-8) << c.what;
            EXPECT_TRUE(stone.diagnostics().empty()) << c.what << ": " << stone.diagnostics()[0].text;
        }
}

TEST(Transfer, TwiceRestoresEverythingExactly) {
    Stone stone = makeRoundBrilliant();
    copyToPreform(stone, stone);
    const Stone before(stone);
    transfer(stone);
    EXPECT_GT(stone.facets[facetNamed(stone, "T")].c, -1.0000001);
    EXPECT_LT(stone.facets[facetNamed(stone, "T")].c, 0);
    EXPECT_LT(stone.preform->facets[stone.preform->nFacet - 1].c, 0);  // the cap went down too
    transfer(stone);
    EXPECT_TRUE(identical(stone, before));
    EXPECT_TRUE(identical(*stone.preform, *before.preform));
}

// What the user's guide tells a cutter about Transfer: a crown facet comes
// out as a pavilion facet of the opposite angle at the mirrored index.
TEST(Transfer, CrownFacetsBecomePavilionFacetsAtMirroredIndexes) {
    Stone stone;
    cutTier(stone, {"A", 40, 0.9, {3, 27, 51, 75}, ""});
    const int32_t first = stone.nRough;
    ASSERT_NEAR(stone.facetAngleOf(first), 40, 1e-9);
    const double index = stone.facetIndexOf(first);
    transfer(stone);
    EXPECT_NEAR(stone.facetAngleOf(first), -40, 1e-9);
    EXPECT_NEAR(std::fmod(stone.facetIndexOf(first) + index, 96.0), 0, 1e-9);
}

TEST(RotateStone, GearRotationKeepsIndexesStoneRotationShiftsThem) {
    Stone stone;
    cutTier(stone, {"A", 40, 0.9, {1, 25, 49, 73}, ""});
    cutTier(stone, {"B", -40, 0.9, {12, 36, 60, 84}, ""});
    std::vector<double> before;
    for (int32_t i = 0; i < stone.nFacet; ++i) before.push_back(stone.facetIndexOf(i));

    Stone gear(stone);
    rotateStone(gear, 3, TWO_PI / 96);
    EXPECT_NEAR(gear.indexOffset, 1, 1e-12);
    for (int32_t i = 0; i < gear.nFacet; ++i) EXPECT_NEAR(gear.facetIndexOf(i), before[i], 1e-9) << i;

    rotateStone(stone, 2, TWO_PI / 96);
    const int32_t a = facetNamed(stone, "A");
    EXPECT_NEAR(stone.facetIndexOf(a), 96, 1e-9);  // index 1 became 96
    EXPECT_NEAR(stone.facetIndexOf(a + 1), 24, 1e-9);
    const int32_t b = facetNamed(stone, "B");
    EXPECT_NEAR(stone.facetIndexOf(b), 11, 1e-9);
    EXPECT_LE(test::worstPlaneOffset(stone), 3e-8);

    // A tilt turns girdle facets out of the vertical; the count follows.
    Stone girdle;
    cutTier(girdle, {"G", 90, 0.9, {24, 48, 72, 96}, ""});
    rotateStone(girdle, 0, 0.1);
    EXPECT_EQ(girdle.nGirdle, 2);  // those facing +-x stay vertical

    (void)stone.takeDiagnostics();
    const Stone untouched(stone);
    rotateStone(stone, 4, 1.0);
    EXPECT_EQ(stone.takeDiagnostics().texts(), std::vector<std::string>{"Oops"});
    EXPECT_TRUE(identical(stone, untouched));
}

TEST(ScaleStone, AutomaticFitAndOneSide) {
    // Largest coordinate 0.8: the automatic factor makes it 1.0.
    Stone small;
    for (int k = 0; k < 3; ++k) {
        Vec3 n{};
        (&n.x)[k] = 1;
        small.newFacet(n.x, n.y, n.z, 0.8);
        small.newFacet(-n.x, -n.y, -n.z, 0.6);
    }
    small.newFacet(0.6, 0.0, 0.8, 0.9);
    computeBounds(small);
    const double volume = computeVolume(small);
    scaleStone(small, SCALE_ALL, 0);
    EXPECT_DOUBLE_EQ(small.stats.maxX, 1.0);  // bounds were computed after the rebuild
    EXPECT_NEAR(computeVolume(small), volume / (0.8 * 0.8 * 0.8), 1e-12);
    EXPECT_TRUE(test::soundStone(small));

    // The crown 20 % higher about its bottom; pavilion and girdle stay.
    Stone round = makeRoundBrilliant();
    computeBounds(round);
    const Stats st = round.stats;
    const Stone before(round);
    scaleStone(round, SCALE_CROWN, 1.2);
    computeBounds(round);
    EXPECT_NEAR(round.stats.maxZ - st.crownBottom, 1.2 * (st.maxZ - st.crownBottom), 1e-12);
    EXPECT_DOUBLE_EQ(round.stats.minZ, st.minZ);
    EXPECT_NEAR(round.stats.crownBottom, st.crownBottom, 1e-12);
    for (int32_t i = 0; i < round.nFacet; ++i) {
        const Facet& f = round.facets[i];
        if (f.c <= EPS) {
            // Untouched planes keep their exact bits.
            const Facet& g = before.facets[i];
            EXPECT_TRUE(f.a == g.a && f.b == g.b && f.c == g.c && f.d == g.d) << f.name;
        }
    }
    EXPECT_LE(test::worstPlaneOffset(round), 3e-8);

    // A factor that would turn the stone inside out is refused.
    const Stone kept(round);
    scaleStone(round, SCALE_ALL, -1);
    EXPECT_TRUE(identical(round, kept));
}

TEST(StretchHeight, ChangesTheTangentOfEveryCrownAngle) {
    Stone stone = makeRoundBrilliant();
    copyToPreform(stone, stone);
    computeBounds(stone);
    const Stats st = stone.stats;
    const Stone before(stone);
    stretchHeight(stone, 1, 1.5);
    for (int32_t i = 0; i < stone.nFacet; ++i) {
        const double was = std::tan(before.facetAngleOf(i) / DEG_PER_RAD);
        const double now = std::tan(stone.facetAngleOf(i) / DEG_PER_RAD);
        if (before.facets[i].c > EPS)
            EXPECT_NEAR(now, 1.5 * was, 1e-9) << before.facets[i].name;
        else
            EXPECT_EQ(stone.facets[i].d, before.facets[i].d);
    }
    computeBounds(stone);
    EXPECT_NEAR(stone.stats.maxZ - st.crownBottom, 1.5 * (st.maxZ - st.crownBottom), 1e-12);
    // The preform's cap moves with the crown.
    EXPECT_NEAR(stone.preform->facets[stone.preform->nFacet - 1].d, stone.stats.maxZ, 1e-12);
}

TEST(CenterStone, AlongZOnlyOrByMassWithRescaling) {
    Stone stone = makeRoundBrilliant();
    computeBounds(stone);
    const Stats st = stone.stats;
    const Stone before(stone);
    EXPECT_TRUE(centerStone(stone, CENTER_Z, CENTER_OF_BOX));
    computeBounds(stone);
    EXPECT_NEAR(stone.stats.maxZ + stone.stats.minZ, 0, 1e-12);
    EXPECT_NEAR(stone.stats.maxZ - stone.stats.minZ, st.maxZ - st.minZ, 1e-12);  // not rescaled
    EXPECT_DOUBLE_EQ(stone.stats.maxX, st.maxX);
    for (int32_t i = 0; i < stone.nFacet; ++i) EXPECT_EQ(stone.facets[i].tier, before.facets[i].tier);

    // Off-centre in x: moving it regroups and fits it to the unit cube
    // again; centring it by mass puts it back on the axis.
    Stone oval = makeOvalBrilliant();
    computeBounds(oval);
    const double width = oval.stats.maxX - oval.stats.minX;
    EXPECT_TRUE(centerStone(oval, CENTER_X, CENTER_ON_POINT, {0.1, 0, 0}));
    EXPECT_NEAR((oval.stats.maxX + oval.stats.minX) / (oval.stats.maxX - oval.stats.minX), -0.2 / width,
                1e-9);
    EXPECT_NEAR(oval.stats.maxY, 1.0, 1e-12);
    computeVolume(oval);
    EXPECT_TRUE(centerStone(oval, CENTER_X | CENTER_Y, CENTER_OF_MASS));
    EXPECT_NEAR(oval.stats.maxX + oval.stats.minX, 0, 1e-9);
    EXPECT_NEAR(std::max({oval.stats.maxX, oval.stats.maxY, -oval.stats.minZ}), 1.0, 1e-12);
    EXPECT_EQ(oval.nFacet, 73);
    EXPECT_TRUE(test::soundStone(oval));

    // A point outside the stone would leave the origin outside.
    const Stone kept(stone);
    EXPECT_FALSE(centerStone(stone, CENTER_Z, CENTER_ON_POINT, {0, 0, 2}));
    EXPECT_TRUE(identical(stone, kept));
}

TEST(ReflectHalf, MirrorOrHalfTurnOfTheKeptSide) {
    // Facets on the +x side only, at indexes 10 and 20 (a quarter is 24).
    Stone stone;
    cutTier(stone, {"A", 40, 0.8, {10}, "first"});
    cutTier(stone, {"B", 50, 0.8, {20}, ""});
    Stone flipped(stone);

    reflectHalf(stone, 1, false);
    std::vector<double> indexes;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (!stone.facets[i].isRough()) indexes.push_back(std::round(stone.facetIndexOf(i) * 1000) / 1000);
    EXPECT_EQ(indexes, (std::vector<double>{10, 86, 20, 76}));  // mirror x -> -x
    EXPECT_EQ(stone.facets[facetNamed(stone, "A")].instruction, "first");
    EXPECT_EQ(stone.facets[facetNamed(stone, "A") + 1].name, "");
    EXPECT_EQ(stone.facets[facetNamed(stone, "A")].tier, stone.facets[facetNamed(stone, "A") + 1].tier);
    EXPECT_EQ(stone.mirror, 1);
    EXPECT_TRUE(test::soundStone(stone));
    for (int32_t i = stone.nFacet; i < stone.maxFacet; ++i) EXPECT_TRUE(stone.facets[i].name.empty());

    reflectHalf(flipped, 1, true);
    indexes.clear();
    for (int32_t i = 0; i < flipped.nFacet; ++i)
        if (!flipped.facets[i].isRough()) indexes.push_back(std::round(flipped.facetIndexOf(i) * 1000) / 1000);
    EXPECT_EQ(indexes, (std::vector<double>{10, 58, 20, 68}));  // half turn
    EXPECT_EQ(flipped.mirror, 0);
    EXPECT_EQ(flipped.symmetry, 2);
}

TEST(SortCuttingOrder, CuletFirstTableLast) {
    Stone stone = makeRoundBrilliant();
    stone.newFacet(0, 0, -1, 0.88, "K", "Culet");
    sortCuttingOrder(stone, 0);
    EXPECT_EQ(stone.facets[0].name, "K");
    std::vector<std::string> order;
    for (int32_t i = 0; i < stone.nFacet; ++i)
        if (order.empty() || order.back() != stone.facets[i].name) order.push_back(stone.facets[i].name);
    // Pavilion by rising angle, girdle, then crown from the steepest to the table.
    EXPECT_EQ(order, (std::vector<std::string>{"K", "P1", "P2", "G", "C3", "C1", "C2", "T"}));
    EXPECT_EQ(stone.facets[0].tier, 0);
    for (int32_t i = 1; i < stone.nFacet; ++i) {
        const bool sameRow = stone.facets[i].name == stone.facets[i - 1].name;
        EXPECT_EQ(stone.facets[i].tier, stone.facets[i - 1].tier + (sameRow ? 0 : 1)) << i;
    }
    EXPECT_TRUE(test::soundStone(stone));

    sortCuttingOrder(stone, 3);  // crown from the steepest, the culet last
    EXPECT_EQ(stone.facets[0].name, "C3");
    EXPECT_EQ(stone.facets[stone.nFacet - 1].name, "K");
}

TEST(RenameInSequence, LettersNumbersAndSides) {
    // 28 girdle tiers and nothing else: all are numbered as crown tiers.
    Stone stone;
    for (int k = 0; k < 28; ++k) stone.cutByAngle(k * TWO_PI / 28, PI / 2, 0.9 + 0.001 * k, true);
    ASSERT_EQ(stone.nGirdle, 28);
    renameInSequence(stone, 0, 1);
    const int32_t first = stone.nRough;  // the rough block's top and bottom come first
    EXPECT_EQ(stone.facets[first].name, "A");
    EXPECT_EQ(stone.facets[first + 25].name, "Z");
    EXPECT_EQ(stone.facets[first + 26].name, "AA");
    EXPECT_EQ(stone.facets[first + 27].name, "BB");

    Stone round = makeRoundBrilliant();
    renameInSequence(round, 2, 0);
    std::vector<std::string> order;
    for (int32_t i = 0; i < round.nFacet; ++i)
        if (order.empty() || order.back() != round.facets[i].name) order.push_back(round.facets[i].name);
    EXPECT_EQ(order, (std::vector<std::string>{"P1", "P2", "P3", "1", "2", "3", "4"}));
}

}  // namespace
}  // namespace brevix
