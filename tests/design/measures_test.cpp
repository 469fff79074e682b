#include "design/measures.h"

#include <gtest/gtest.h>

#include <cmath>

#include "design/sample_designs.h"
#include "platform/messages.h"

namespace brevix {
namespace {

const double s = ROUGH_HALF;

// |x| + |y| + |z| <= r, cut by its eight planes into the rough cube.
Stone octahedron(double r) {
    Stone stone;
    const double k = 1 / std::sqrt(3.0);
    for (int sx = -1; sx <= 1; sx += 2)
        for (int sy = -1; sy <= 1; sy += 2)
            for (int sz = -1; sz <= 1; sz += 2) stone.newFacet(sx * k, sy * k, sz * k, r * k);
    return stone;
}

// Square pyramid on the rough cube's bottom face with its apex at (0, 0, h).
Stone pyramid(double h) {
    Stone stone;
    const double rise = h + s;  // apex above the base
    const double len = std::hypot(rise, s);
    const double nx = rise / len, nz = s / len, d = h * nz;
    stone.newFacet(nx, 0, nz, d);
    stone.newFacet(-nx, 0, nz, d);
    stone.newFacet(0, nx, nz, d);
    stone.newFacet(0, -nx, nz, d);
    return stone;
}

TEST(Volume, SolidsWithAKnownVolume) {
    Stone cube;
    EXPECT_NEAR(computeVolume(cube), std::pow(2 * s, 3), 1e-12);
    EXPECT_NEAR(cube.stats.centroidZ, 0, 1e-12);

    Stone octa = octahedron(1.0);
    ASSERT_EQ(octa.nRough, 0);
    ASSERT_EQ(octa.nVertex, 6);
    EXPECT_NEAR(computeVolume(octa), 4.0 / 3.0, 1e-12);
    EXPECT_NEAR(octa.stats.volume, 4.0 / 3.0, 1e-12);
    EXPECT_NEAR(octa.stats.centroidX, 0, 1e-12);

    const double h = 0.5;
    Stone pyr = pyramid(h);
    ASSERT_EQ(pyr.nRough, 1);  // the base
    ASSERT_EQ(pyr.nVertex, 5);
    EXPECT_NEAR(computeVolume(pyr), (2 * s) * (2 * s) * (h + s) / 3, 1e-12);
    // A pyramid's centre of mass lies a quarter of the way up from the base.
    EXPECT_NEAR(pyr.stats.centroidZ, -s + (h + s) / 4, 1e-12);
    EXPECT_NEAR(pyr.stats.centroidX, 0, 1e-12);
    EXPECT_NEAR(pyr.stats.centroidY, 0, 1e-12);
}

TEST(Bounds, FieldsOfASlicedCube) {
    // Keep x <= 0.5 and z <= 0.25 of the rough cube: the top is a table.
    Stone stone;
    stone.newFacet(1, 0, 0, 0.5);
    stone.newFacet(0, 0, 1, 0.25);
    computeBounds(stone);
    const Stats& st = stone.stats;
    EXPECT_DOUBLE_EQ(st.maxX, 0.5);
    EXPECT_DOUBLE_EQ(st.minX, -s);
    EXPECT_DOUBLE_EQ(st.maxZ, 0.25);
    EXPECT_DOUBLE_EQ(st.tableMaxX, 0.5);
    EXPECT_DOUBLE_EQ(st.tableMinX, -s);
    EXPECT_DOUBLE_EQ(st.tableMaxY, s);
    EXPECT_DOUBLE_EQ(st.xPlusMin, 0.5);
    EXPECT_DOUBLE_EQ(st.xMinusMax, -s);
    EXPECT_DOUBLE_EQ(st.crownBottom, 0.25);
    EXPECT_DOUBLE_EQ(st.pavilionTop, -s);
    // L is the longer horizontal extent whichever axis carries it.
    EXPECT_DOUBLE_EQ(st.L, 2 * s);
    EXPECT_DOUBLE_EQ(st.W, 0.5 + s);
}

TEST(Bounds, LengthToWidthIsAtLeastOneOnEitherAxis) {
    Stone square;
    EXPECT_DOUBLE_EQ(lengthToWidth(square), 1.0);

    Stone alongY;  // 2 long in y, 1 wide in x
    alongY.newFacet(1, 0, 0, 0.5);
    alongY.newFacet(-1, 0, 0, 0.5);
    alongY.newFacet(0, 1, 0, 1.0);
    alongY.newFacet(0, -1, 0, 1.0);
    EXPECT_DOUBLE_EQ(lengthToWidth(alongY), 2.0);

    Stone alongX;
    alongX.newFacet(0, 1, 0, 0.5);
    alongX.newFacet(0, -1, 0, 0.5);
    alongX.newFacet(1, 0, 0, 1.0);
    alongX.newFacet(-1, 0, 0, 1.0);
    EXPECT_DOUBLE_EQ(lengthToWidth(alongX), 2.0);

    Stone oval = makeOvalBrilliant();
    EXPECT_GT(lengthToWidth(oval), 1.3);
    EXPECT_LT(lengthToWidth(oval), 1.5);
}

// The label must sit on the facet and inside its outline: on the inner side
// of every neighbour across the facet's edges. Girdle facets (normal with no
// z component) are where a coordinate left at 0 would put it outside.
TEST(FacetLabelCenters, EveryLabelLiesInsideItsFacet) {
    for (Stone stone : {makeRoundBrilliant(), makeOvalBrilliant(), makeEmeraldCut(), makeSquareStepCut()}) {
        (void)stone.takeDiagnostics();
        FacetLabelCenters(stone);
        EXPECT_TRUE(stone.diagnostics().empty());
        for (int32_t i = 0; i < stone.nFacet; ++i) {
            const Facet& f = stone.facets[i];
            ASSERT_FALSE(f.name.empty());
            EXPECT_GT(f.labelArea, 0);
            EXPECT_NEAR(dot(f.normal(), f.labelCenter), f.d, 1e-9) << f.name;
            for (int32_t j = 0; j < stone.nEdge; ++j) {
                const Edge& e = stone.edges[j];
                if (e.f[0] != i && e.f[1] != i) continue;
                const Facet& g = stone.facets[e.f[0] == i ? e.f[1] : e.f[0]];
                EXPECT_LT(dot(g.normal(), f.labelCenter) - g.d, -1e-6) << f.name << " facet " << i;
            }
        }
    }
}

TEST(FacetLabelCenters, CentreOfASquareFacetIsItsMiddle) {
    Stone cube;
    cube.facets[0].name = "E";  // the face x = s
    FacetLabelCenters(cube);
    EXPECT_NEAR(cube.facets[0].labelCenter.x, s, 1e-12);
    EXPECT_NEAR(cube.facets[0].labelCenter.y, 0, 1e-12);
    EXPECT_NEAR(cube.facets[0].labelCenter.z, 0, 1e-12);
    // Unnamed facets are left alone.
    EXPECT_EQ(cube.facets[1].labelArea, 0);
}

}  // namespace
}  // namespace brevix
