#include "design/tiers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "design/design_text.h"
#include "design/measures.h"
#include "design/preform.h"
#include "design/sample_designs.h"
#include "design_test_util.h"
#include "platform/messages.h"
#include "platform/strformat.h"
#include "support/test_files.h"

namespace brevix {
namespace {
using testing::facetNamed;

std::vector<std::string> names(const Stone& stone) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < stone.nFacet; ++i) out.push_back(stone.facets[i].name);
    return out;
}

// Each edge by the names of its two facets: survives any renumbering.
std::vector<std::pair<std::string, std::string>> edgeFacetNames(const Stone& stone) {
    std::vector<std::pair<std::string, std::string>> out;
    for (int32_t j = 0; j < stone.nEdge; ++j)
        out.emplace_back(stone.facets[stone.edges[j].f[0]].name, stone.facets[stone.edges[j].f[1]].name);
    return out;
}

// Same planes, names and tiers in the same order, same topology counts.
::testing::AssertionResult samePlanes(const Stone& p, const Stone& q) {
    if (p.nFacet != q.nFacet || p.nVertex != q.nVertex || p.nEdge != q.nEdge)
        return ::testing::AssertionFailure() << "counts " << p.nFacet << "/" << q.nFacet << " "
                                             << p.nVertex << "/" << q.nVertex;
    for (int32_t i = 0; i < p.nFacet; ++i) {
        const Facet &f = p.facets[i], &g = q.facets[i];
        if (f.a != g.a || f.b != g.b || f.c != g.c || f.d != g.d || f.name != g.name ||
            f.tier != g.tier || f.instruction != g.instruction)
            return ::testing::AssertionFailure() << "facet " << i << " differs";
    }
    return ::testing::AssertionSuccess();
}

TEST(TierLookups, FindFirstHolderNameAndNearest) {
    Stone stone = makeRoundBrilliant();
    const int32_t star = facetNamed(stone, "C2");
    const int32_t last = star + 5;
    EXPECT_EQ(firstFacetOfTier(stone, last), star);
    int32_t holder = -2;
    EXPECT_EQ(tierInstruction(stone, last, &holder), "Meet C1 at table line");
    EXPECT_EQ(holder, star);
    double index = 0;
    EXPECT_EQ(tierName(stone, last, &index), "C2");
    EXPECT_DOUBLE_EQ(std::round(index), 6);
    // Stars lie at 6, 18, 30 ...: 29 is nearest to the third.
    EXPECT_EQ(nearestInTier(stone, star, 29), star + 2);
    EXPECT_EQ(nearestInTier(stone, star + 3, 6), star + 3);  // only looks onwards
    EXPECT_EQ(firstFacetOfTier(stone, -1), -1);
}

TEST(ChangeTierName, NamesLowestShownIndexOrRenamesAllNamed) {
    Stone stone;
    cutTier(stone, {"", 90, 0.9, {36, 12, 60, 84}, ""});
    cutTier(stone, {"", -40, 0.8, {36, 12, 60, 84}, ""});
    // Girdle: the instruction text shows 96 - index, so 84 is listed as 12.
    changeTierName(stone, 0 + 6, "G");
    EXPECT_EQ(names(stone)[6 + 3], "G");
    EXPECT_EQ(facetNamed(stone, "G"), 9);
    // Pavilion likewise: 84 shows as 12, the lowest.
    changeTierName(stone, 11, "P");
    EXPECT_EQ(facetNamed(stone, "P"), 13);
    int named = 0;
    for (const std::string& n : names(stone)) named += !n.empty();
    EXPECT_EQ(named, 2);

    // A tier with two named facets renames both and names no other.
    stone.facets[10].name = "Q";
    changeTierName(stone, 12, "R");
    EXPECT_EQ(stone.facets[10].name, "R");
    EXPECT_EQ(stone.facets[13].name, "R");
    EXPECT_TRUE(stone.facets[11].name.empty());
    EXPECT_TRUE(stone.facets[12].name.empty());

    (void)stone.takeDiagnostics();
    changeTierName(stone, 99, "X");
    EXPECT_EQ(stone.takeDiagnostics().texts(), std::vector<std::string>{"tier not found in changeTierName()"});
}

TEST(MoveTier, EndsOfTheArrayStayAndOthersSwap) {
    Stone stone = makeRoundBrilliant();
    const Stone before(stone);
    moveTier(stone, 0, false);
    EXPECT_EQ(names(stone), names(before));
    moveTier(stone, stone.nFacet - 1, true);
    EXPECT_EQ(names(stone), names(before));

    const double volume = computeVolume(stone);
    const auto edges = edgeFacetNames(stone);
    moveTier(stone, facetNamed(stone, "P2"), false);  // P2 before P1
    EXPECT_EQ(stone.facets[16].name, "P2");
    EXPECT_EQ(stone.facets[32].name, "P1");
    EXPECT_EQ(stone.facets[40].name, "C1");
    EXPECT_EQ(edgeFacetNames(stone), edges);
    EXPECT_TRUE(test::soundStone(stone));
    EXPECT_NEAR(computeVolume(stone), volume, 1e-12);
    // Tiers are runs numbered from 1 and stay ascending.
    EXPECT_EQ(stone.facets[0].tier, 1);
    for (int32_t i = 1; i < stone.nFacet; ++i) EXPECT_LE(stone.facets[i - 1].tier, stone.facets[i].tier);
}

TEST(MoveFacets, TailMovesUpAndEdgesFollow) {
    Stone stone;
    for (int k = 0; k < 9; ++k) {
        TierSetting t{strprintf("A%d", k), 20.0 + 5 * k, 0.9, {double(3 + 10 * k)}, ""};
        ASSERT_EQ(cutTier(stone, t), 1) << k;
    }
    const auto edges = edgeFacetNames(stone);
    std::vector<int32_t> tiers;
    for (int k = 0; k < 9; ++k) tiers.push_back(stone.facets[facetNamed(stone, strprintf("A%d", k))].tier);
    // The rough block's remaining faces come first; look at the A facets.
    const int32_t base = facetNamed(stone, "A0");
    moveFacets(stone, base + 7, base + 2);
    const std::vector<std::string> all = names(stone);
    const std::vector<std::string> order(all.begin() + base, all.end());
    EXPECT_EQ(order, (std::vector<std::string>{"A0", "A1", "A7", "A8", "A2", "A3", "A4", "A5", "A6"}));
    EXPECT_EQ(edgeFacetNames(stone), edges);
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(stone.facets[facetNamed(stone, strprintf("A%d", k))].tier, tiers[k]);
    for (int32_t i = 0; i < stone.nFacet; ++i) EXPECT_EQ(stone.facets[i].anchor, -1);
    EXPECT_TRUE(test::soundStone(stone));

    // Pairs that would put two facets in one place change nothing.
    const auto now = names(stone);
    moveFacets(stone, 2, 7);
    moveFacets(stone, stone.nFacet, 0);
    EXPECT_EQ(names(stone), now);
}

TEST(RegroupTiers, JoinsSplitRunsAndStrictSplitsBySymmetry) {
    Stone stone;
    const double depth = depthThrough(40, 0.95, 0.02);
    cutTier(stone, {"C", 40, depth, {12, 24, 36, 48}, "Mains"});
    cutTier(stone, {"D", 25, 0.8, {6, 30}, ""});
    cutTier(stone, {"C", 40, depth, {60, 72, 84, 96}, ""});
    ASSERT_NE(stone.facets[facetNamed(stone, "C")].tier, stone.facets[stone.nFacet - 1].tier);
    regroupTiers(stone, false);
    const int32_t first = facetNamed(stone, "C");
    for (int32_t i = first; i < first + 8; ++i) {
        EXPECT_EQ(stone.facets[i].name, "C");
        EXPECT_EQ(stone.facets[i].tier, stone.facets[first].tier);
    }
    EXPECT_EQ(stone.facets[0].tier, 0);
    EXPECT_TRUE(test::soundStone(stone));

    // The round brilliant is found 2-fold with mirror: strict tiers only
    // join a facet with its images under the two reflections.
    Stone round = makeRoundBrilliant();
    regroupTiers(round, true);
    EXPECT_EQ(round.symmetry, 2);
    EXPECT_EQ(round.mirror, 1);
    int girdleTiers = 0;
    for (int32_t i = 0; i < round.nFacet; ++i) {
        int size = 0;
        for (int32_t j = 0; j < round.nFacet; ++j) size += round.facets[j].tier == round.facets[i].tier;
        EXPECT_LE(size, 4);
        if (round.facets[i].name == "G" && (i == 0 || round.facets[i - 1].tier != round.facets[i].tier))
            ++girdleTiers;
    }
    EXPECT_EQ(girdleTiers, 4);
    EXPECT_TRUE(test::soundStone(round));
}

TEST(DeleteTier, GivesTheDesignAsIfNeverCut) {
    std::vector<TierSetting> tiers = roundBrilliantTiers();
    Stone stone = makeDesign(tiers, "", 8, 1);
    const int32_t stars = facetNamed(stone, "C2");
    deleteTier(stone, stone.facets[stars].tier);
    tiers.erase(tiers.begin() + 4);
    ASSERT_EQ(tiers[3].name, "C1");
    const Stone fresh = makeDesign(tiers, "", 8, 1);
    EXPECT_TRUE(samePlanes(stone, fresh));
    EXPECT_TRUE(test::soundStone(stone));
    stone.regenerate();
    EXPECT_TRUE(samePlanes(stone, fresh));
}

TEST(DeleteFacet, RemovesOneFacetAndItsStrings) {
    Stone stone = makeRoundBrilliant();
    const int32_t table = facetNamed(stone, "T");
    deleteFacet(stone, table);
    EXPECT_EQ(stone.nFacet, 72);
    EXPECT_EQ(facetNamed(stone, "T"), -1);
    for (int32_t i = 0; i < stone.maxFacet; ++i) EXPECT_NE(stone.facets[i].instruction, "Table");
    EXPECT_TRUE(test::soundStone(stone));
}

TEST(DeleteEqualInTier, OnlyFacetsOfTheSameArea) {
    Stone stone;
    cutTier(stone, {"X", 90, 0.8, {24}, ""});
    cutTier(stone, {"Y", 90, 0.8, {96}, ""});
    ASSERT_EQ(stone.facets[facetNamed(stone, "X")].tier, stone.facets[facetNamed(stone, "Y")].tier);
    stone.newFacet(0.6, 0, 0.8, 0.85, "cut");  // shrinks X only
    ASSERT_LT(stone.facetArea(facetNamed(stone, "X")), stone.facetArea(facetNamed(stone, "Y")) - 1e-3);
    const int32_t y = facetNamed(stone, "Y");
    deleteEqualInTier(stone, stone.facets[y].tier, y);
    EXPECT_EQ(facetNamed(stone, "Y"), -1);
    EXPECT_NE(facetNamed(stone, "X"), -1);
    EXPECT_NE(facetNamed(stone, "cut"), -1);
    EXPECT_TRUE(test::soundStone(stone));
}

TEST(CopyToPreform, KeepsTheGirdleOutlineAndCapsIt) {
    // Without girdle facets the preform is the design itself.
    Stone noGirdle;
    cutTier(noGirdle, {"P", -45, 0.7, {12, 36, 60, 84}, "pyramid"});
    copyToPreform(noGirdle, noGirdle);
    ASSERT_TRUE(noGirdle.preform);
    EXPECT_TRUE(samePlanes(*noGirdle.preform, noGirdle));
    EXPECT_TRUE(noGirdle.diagnostics().empty());

    Stone round = makeRoundBrilliant();
    round.preform = std::make_unique<Stone>();
    (void)round.takeDiagnostics();
    copyToPreform(round, round);
    ASSERT_EQ(round.diagnostics().size(), 1u);
    EXPECT_EQ(round.diagnostics()[0].kind, DiagKind::Information);
    EXPECT_EQ(round.takeDiagnostics().texts(), std::vector<std::string>{"Existing preform deleted."});
    const Stone& pre = *round.preform;
    EXPECT_FALSE(pre.preform);  // the old preform is not carried along
    int girdle = 0;
    for (int32_t i = 0; i < pre.nFacet; ++i)
        if (!pre.facets[i].isRough()) {
            EXPECT_EQ(pre.facets[i].name, "G");
            ++girdle;
        }
    EXPECT_EQ(girdle, 16);
    EXPECT_EQ(pre.nGirdle, 16);
    // The cap at the design's height counts as a face of the rough block.
    const Facet& cap = pre.facets[pre.nFacet - 1];
    EXPECT_TRUE(cap.isRough());
    EXPECT_DOUBLE_EQ(cap.d, 0.32);
    EXPECT_EQ(pre.nRough, 2);
    int rough = 0;
    for (int32_t i = 0; i < pre.nFacet; ++i) rough += pre.facets[i].isRough();
    EXPECT_EQ(rough, pre.nRough);
    Stone check(pre);
    EXPECT_TRUE(test::soundStone(check));
}

// Every design vertex must lie inside the preform, and the fitted pavilion
// must touch the design.
TEST(MakeCamPreform, GirdleOutlineWithAFittedPavilion) {
    for (Stone design : {makeRoundBrilliant(), makeOvalBrilliant(), makeEmeraldCut()}) {
        (void)design.takeDiagnostics();
        EXPECT_EQ(makeCamPreform(design), 0);
        EXPECT_TRUE(design.diagnostics().empty()) << design.diagnostics()[0].text;
        ASSERT_TRUE(design.preform);
        Stone& pre = *design.preform;
        EXPECT_TRUE(test::soundStone(pre));
        EXPECT_TRUE(test::soundStone(design));
        for (int32_t i = 0; i < design.nFacet; ++i) EXPECT_EQ(design.facets[i].status, ST_PRESENT);
        double closest = 1e10;
        for (int32_t v = 0; v < design.nVertex; ++v)
            for (int32_t k = 0; k < pre.nFacet; ++k) {
                const Facet& f = pre.facets[k];
                const double off = dot(f.normal(), design.vertices[v].pos()) - f.d;
                EXPECT_LT(off, 1e-7) << design.heading[0] << " vertex " << v << " facet " << k;
                if (f.c < -EPS) closest = std::min(closest, -off);
            }
        EXPECT_LT(closest, 1e-7) << design.heading[0];
        // Pavilion planes first, one name per tier, then the girdle.
        ASSERT_LT(pre.facets[0].c, -EPS);
        EXPECT_EQ(pre.facets[0].name, "P1");
        int32_t girdle = 0, pavilion = 0;
        for (int32_t i = 0; i < pre.nFacet; ++i) {
            const Facet& f = pre.facets[i];
            if (f.isRough()) continue;
            if (std::fabs(f.c) < EPS)
                ++girdle;
            else
                ++pavilion;
        }
        EXPECT_EQ(girdle, design.nGirdle);
        EXPECT_EQ(pavilion, design.nGirdle);  // one plane per outline edge
    }

    Stone outline;
    cutTier(outline, {"G", 90, 0.9, {6, 18, 30, 42, 54, 66, 78, 90}, ""});
    outline.preform = std::make_unique<Stone>();
    (void)outline.takeDiagnostics();
    EXPECT_EQ(makeCamPreform(outline), 1);
    EXPECT_FALSE(outline.preform);
    EXPECT_EQ(outline.takeDiagnostics().texts(), std::vector<std::string>{"No pavilion facets"});
}

TEST(PreformEdit, SetsTheDesignAsideAndGivesTheStoneBack) {
    auto current = std::make_unique<Stone>(makeRoundBrilliant());
    std::unique_ptr<Stone> hidden;
    EXPECT_FALSE(enterPreformEdit(current, hidden));
    EXPECT_FALSE(hidden);

    copyToPreform(*current, *current);
    Stone* design = current.get();
    Stone* preform = current->preform.get();
    ASSERT_TRUE(enterPreformEdit(current, hidden));
    EXPECT_EQ(current.get(), preform);
    EXPECT_EQ(hidden.get(), design);
    // An undo while editing replaces the current stone by another object.
    current = std::make_unique<Stone>(*current);
    Stone* edited = current.get();
    leavePreformEdit(current, hidden);
    EXPECT_EQ(current.get(), design);
    EXPECT_EQ(current->preform.get(), edited);
    EXPECT_FALSE(hidden);

    deletePreform(*current);
    EXPECT_FALSE(current->preform);
}

}  // namespace
}  // namespace brevix
