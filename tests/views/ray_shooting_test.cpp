// Shooting rays from the panes into the round brilliant: which pane, where
// the ray starts, what is recorded, when it beeps, and how the four view
// draws the paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "design/sample_designs.h"
#include "views/four_view.h"
#include "views/ray_shooting.h"
#include "views/recording_canvas.h"
#include "views/spin_view.h"
#include "views/view_style.h"
#include "view_colours.h"

namespace brevix {
namespace {


struct BrilliantPanes : ::testing::Test {
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    std::vector<View> panes;
    int beeps = 0;

    void SetUp() override {
        drawFourView(&stone, canvas, {0, 0, 460, 460}, {}, panes);
        canvas.clear();
    }
    // Counts the beeps the shots ask for, as the window would sound them.
    RayShot shootRay(Stone& s, std::span<const View> from, int hoverPane, int x, int y) {
        const RayShot shot = brevix::shootRay(s, from, hoverPane, x, y);
        beeps += shot.beep;
        return shot;
    }

    Vec3 point(int k) const { return {stone.rays[4 * k + 1], stone.rays[4 * k + 2], stone.rays[4 * k + 3]}; }
    int points() const { return stone.nRay / 4; }
    int32_t facetWithTable() const {
        for (int32_t f = 0; f < stone.nFacet; ++f)
            if (stone.facets[f].c > NEAR_ONE) return f;
        return -1;
    }
    // How far the point lies outside the stone (negative: inside).
    double outside(Vec3 p) const {
        double worst = -1e37;
        for (int32_t f = 0; f < stone.nFacet; ++f)
            worst = std::max(worst, dot(stone.facets[f].normal(), p) - stone.facets[f].d);
        return worst;
    }
};

TEST_F(BrilliantPanes, TheRayStartsInFrontOfThePointUnderThePointer) {
    const View& top = panes[PANE_TOP];
    const int x = static_cast<int>(top.originX) + 7, y = static_cast<int>(top.originY) + 3;
    ASSERT_TRUE(shootRay(stone, panes, -1, x, y));
    EXPECT_EQ(beeps, 0);
    const Vec3 start = point(0);
    EXPECT_EQ(stone.rays[0], 1);
    EXPECT_NEAR(start.z, 1.1, 1e-12);  // 1.1 above the girdle plane, toward the viewer
    EXPECT_NEAR(top.projectX(start), x, 1e-9);
    EXPECT_NEAR(top.projectY(start), y, 1e-9);
    // Straight down onto the table.
    const Vec3 entry = point(1);
    EXPECT_EQ(entry.x, start.x);
    EXPECT_EQ(entry.y, start.y);
    EXPECT_NEAR(entry.z, stone.facets[facetWithTable()].d, 1e-12);
}

TEST_F(BrilliantPanes, EveryPointOfAPathLiesOnTheSurface) {
    // A fan across the table in quartz and in diamond, from the top and
    // from the side: entry, reflections and exit are all on the surface,
    // and the path ends with a stub outside. Only misses beep.
    int misses = 0;
    for (double index : {1.54, 2.42}) {
        stone.refractiveIndex = index;
        for (int k : {PANE_TOP, PANE_SIDE, PANE_END}) {
            const View& pane = panes[k];
            for (int step = -40; step <= 40; step += 5) {
                stone.eraseRays();
                const int x = static_cast<int>(pane.originX) + step + 1;
                const int y = static_cast<int>(pane.originY) + step / 3 + 1;
                if (!shootRay(stone, panes, k, x, y)) {
                    ++misses;
                    continue;
                }
                ASSERT_GE(points(), 4);
                for (int p = 1; p < points() - 1; ++p)
                    EXPECT_NEAR(outside(point(p)), 0, 1e-9) << index << " pane " << k << " " << step;
                EXPECT_GT(outside(point(points() - 1)), 0);
            }
        }
    }
    EXPECT_EQ(beeps, misses);
    EXPECT_LT(misses, 8);
}

TEST_F(BrilliantPanes, LightRunsTheSamePathBackwards) {
    // Reversed, a ray retraces its path point for point: a wrong bend on
    // entry or exit, or the wrong facet taken, breaks the symmetry.
    for (double index : {1.54, 2.42}) {
        stone.refractiveIndex = index;
        for (Vec3 d : {Vec3{0, 0, -1}, Vec3{0.3, -0.2, -0.93}, Vec3{-0.8, 0.1, 0.2}}) {
            d = d * (1 / length(d));
            stone.eraseRays();
            ASSERT_EQ(stone.traceRay(Vec3{0.11, 0.07, 0.05} - 2.0 * d, d), Stone::RayEnd::LeftStone);
            const int n = points();
            std::vector<Vec3> forward;
            for (int p = 0; p < n; ++p) forward.push_back(point(p));
            const Vec3 out = (forward[n - 1] - forward[n - 2]) * (1 / Stone::RAY_STUB);
            stone.eraseRays();
            ASSERT_EQ(stone.traceRay(forward[n - 1], out * -1.0), Stone::RayEnd::LeftStone);
            ASSERT_EQ(points(), n);
            for (int p = 1; p < n - 1; ++p) {
                const Vec3 back = point(n - 1 - p);
                EXPECT_NEAR(length(back - forward[p]), 0, 1e-9) << index << " point " << p;
            }
        }
    }
}

TEST_F(BrilliantPanes, NoPaneOrAMissBeepsAndRecordsNothing) {
    std::vector<View> none;
    EXPECT_FALSE(shootRay(stone, none, -1, 10, 10));
    EXPECT_EQ(beeps, 1);
    // The top pane's corner lies beside the stone.
    const View& top = panes[PANE_TOP];
    EXPECT_FALSE(shootRay(stone, panes, -1, static_cast<int>(top.viewport.sx1) + 2,
                          static_cast<int>(top.viewport.sy2) + 2));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(stone.nRay, 0);
}

TEST_F(BrilliantPanes, TheHoveredPaneIsUsedBeforeTheOneUnderThePointer) {
    EXPECT_EQ(rayPaneAt(panes, -1, 300, 100), PANE_SIDE);
    EXPECT_EQ(rayPaneAt(panes, PANE_END, 300, 100), PANE_END);
    EXPECT_EQ(rayPaneAt(panes, 9, 300, 100), PANE_SIDE);  // no such pane
    EXPECT_EQ(rayPaneAt(panes, -1, 500, 100), -1);
}

TEST_F(BrilliantPanes, SpinViewShootsAlongItsOwnViewingDirection) {
    View tilted;
    tilted.setDC(&canvas);
    setupSpinPane(tilted, drawingSquare({0, 0, 300, 300}), SpinAngles{});
    ASSERT_TRUE(shootRayInPane(stone, tilted, 150, 150));
    const Vec3 d = point(1) - point(0);
    const Vec3 into = tilted.w * -1.0;
    EXPECT_NEAR(dot(d, into) / length(d), 1, 1e-12);
}

TEST_F(BrilliantPanes, FourViewDrawsThePathsGreenBetweenSilhouetteAndEdges) {
    stone.refractiveIndex = 2.42;
    const View& top = panes[PANE_TOP];
    shootRay(stone, panes, -1, static_cast<int>(top.originX) + 20, static_cast<int>(top.originY) + 9);
    const int segments = points() - 1;
    drawFourView(&stone, canvas, {0, 0, 460, 460}, {}, panes);

    // Pens in order of first use after the origin marks: grey outline,
    // green rays, black edges.
    std::vector<Rgb> order;
    for (const Primitive& p : canvas.primitives)
        if (p.kind != PrimitiveKind::Text && p.kind != PrimitiveKind::Rectangle &&
            (order.empty() || !(order.back() == p.pen.colour)))
            order.push_back(p.pen.colour);
    const std::vector<Rgb> expected{BLACK, GREY, GREEN, BLACK};
    EXPECT_EQ(order, expected);

    // Each pane draws the path: stubs inverted, the inside in the pen.
    std::vector<RasterOp> ops;
    for (const Primitive& p : canvas.primitives)
        if (p.pen.colour == GREEN && p.kind == PrimitiveKind::Line) ops.push_back(p.rop);
    ASSERT_EQ(static_cast<int>(ops.size()), 4 * segments);
    for (int k = 0; k < 4; ++k) {
        for (int s = 0; s < segments; ++s) {
            const bool stub = s == 0 || s == segments - 1;
            EXPECT_EQ(ops[k * segments + s], stub ? RasterOp::NotCopyPen : RasterOp::CopyPen)
                << "pane " << k << " segment " << s;
        }
    }
    EXPECT_EQ(canvas.rasterOp(), RasterOp::CopyPen);
}

}  // namespace
}  // namespace brevix
