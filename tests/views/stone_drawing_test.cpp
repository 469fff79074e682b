// What one pane draws: gear labels, the rough block, dimension arrows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "views/four_view.h"
#include "views/ray_drawing.h"
#include "views/recording_canvas.h"
#include "views/stone_drawing.h"

namespace brevix {
namespace {

View pane(int k, Canvas& canvas) {
    View view;
    view.setDC(&canvas);
    setupFourViewPane(view, k, drawingSquare({0, 0, 460, 460}), false);
    return view;
}

TEST(GearLabels, CountFollowsTheSymmetry) {
    const std::pair<int, int> cases[] = {{96, 24}, {48, 24}, {8, 16}, {7, 7},   {9, 9},
                                         {6, 12},  {5, 20},  {3, 12}, {1, 16},  {72, 18},
                                         {100, 20}, {120, 15}, {0, 16}, {-8, 16}, {INT32_MIN, 16}};
    for (auto [symmetry, count] : cases) EXPECT_EQ(gearLabelCount(symmetry), count) << symmetry;
}

TEST(GearLabels, TopPaneNumbersTheGearAndMakesTheLastOneClickable) {
    RecordingCanvas canvas;
    Stone stone;  // rough block, 8-fold on 96
    View top = pane(PANE_TOP, canvas);
    drawStone(stone, top, DRAW_LABELS);
    // The rough block has no facet names: the labels are the gear's.
    ASSERT_EQ(canvas.primitives.size(), 16u);
    EXPECT_EQ(canvas.texts().front(), "6");
    EXPECT_EQ(canvas.texts().back(), "<96>");
    // Index 96 (= 0) stands at +y, which is down the screen, at radius 1.1.
    const Primitive& last = canvas.primitives.back();
    EXPECT_EQ(last.points[0].x, top.originX);
    EXPECT_EQ(top.gearLabel.present, 1);
    EXPECT_EQ(top.gearLabel.text, "<96>");
    EXPECT_TRUE(top.inGearLabel(top.gearLabel.anchorX, top.gearLabel.anchorY));
    EXPECT_FALSE(top.inGearLabel(top.gearLabel.right + 1, top.gearLabel.anchorY));
    // The hover highlight writes the same text at the same place.
    const Primitive drawn = last;
    canvas.clear();
    top.redrawGearLabel();
    ASSERT_EQ(canvas.primitives.size(), 1u);
    EXPECT_EQ(canvas.primitives[0], drawn);

    // Printed pictures have no clickable label; other panes drop it.
    top.setInteractive(false);
    drawStone(stone, top, DRAW_LABELS);
    EXPECT_EQ(top.gearLabel.present, 0);
    View side = pane(PANE_SIDE, canvas);
    side.gearLabel.present = 1;
    canvas.clear();
    drawStone(stone, side, DRAW_LABELS);
    EXPECT_EQ(side.gearLabel.present, 0);
    EXPECT_TRUE(canvas.primitives.empty());

    // A picture too small for them (a gallery tile) leaves them out.
    drawStone(stone, top, DRAW_LABELS | DRAW_NO_GEAR_LABELS);
    EXPECT_TRUE(canvas.texts().empty());

    // A gear without notches has nothing to number (and nothing to divide by).
    stone.gear = 0;
    top.setInteractive(true);
    drawStone(stone, top, DRAW_LABELS);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_EQ(top.gearLabel.present, 0);
}

// The pavilion seen from below, as the cutter has it after the transfer:
// numbered with the instructions' pavilion indexes, each standing by the
// facets it cuts, which puts every number where the top view has it.
TEST(GearLabels, TheViewFromBelowNumbersThePavilionAsTheInstructionsDo) {
    const auto viewFrom = [](bool below, Canvas& canvas) {
        View view;
        view.setDC(&canvas);
        view.setXAxis(below ? Vec3{-1, 0, 0} : Vec3{1, 0, 0});
        view.setYAxis({0, -1, 0});
        view.setWindow(-1.15, 1.15, -1.15, 1.15);
        view.setViewport(0, 460, 460, 0, 8);
        view.setup(0);
        view.setInteractive(false);
        return view;
    };
    RecordingCanvas topCanvas, bottomCanvas;
    Stone stone;  // rough block, 8-fold on 96
    View top = viewFrom(false, topCanvas);
    View bottom = viewFrom(true, bottomCanvas);
    drawStone(stone, top, DRAW_LABELS);
    drawStone(stone, bottom, DRAW_LABELS);
    EXPECT_TRUE(bottomCanvas.texts().empty());  // none of its own
    drawPavilionGearLabels(stone, bottom);
    ASSERT_EQ(bottomCanvas.texts(), topCanvas.texts());
    for (size_t k = 0; k < topCanvas.primitives.size(); ++k) {
        EXPECT_EQ(bottomCanvas.primitives[k].points[0].x, topCanvas.primitives[k].points[0].x) << k;
        EXPECT_EQ(bottomCanvas.primitives[k].points[0].y, topCanvas.primitives[k].points[0].y) << k;
    }
    // Index 6 of the pavilion is the stone's notch 90: its number stands at
    // that notch's azimuth, seen from below.
    const Vec3 notch90{1.1 * std::sin(90 * PI / 48), 1.1 * std::cos(90 * PI / 48), 0};
    ASSERT_EQ(bottomCanvas.texts().front(), "6");
    // The text stands where its point is, shifted as every gear number is:
    // the top view's "90" by its notch shows the shift.
    const std::vector<std::string> topTexts = topCanvas.texts();
    const size_t at90 = size_t(std::find(topTexts.begin(), topTexts.end(), "90") - topTexts.begin());
    ASSERT_LT(at90, topTexts.size());
    const double shiftX = topCanvas.primitives[at90].points[0].x - top.projectX(notch90);
    const double shiftY = topCanvas.primitives[at90].points[0].y - top.projectY(notch90);
    EXPECT_NEAR(bottomCanvas.primitives[0].points[0].x, bottom.projectX(notch90) + shiftX, 1);
    EXPECT_NEAR(bottomCanvas.primitives[0].points[0].y, bottom.projectY(notch90) + shiftY, 1);
}

TEST(RoughBlock, ANewDesignShowsTheBlockInEveryPane) {
    RecordingCanvas canvas;
    Stone stone;  // a new design: nothing but the rough block
    for (int which : {PANE_TOP, PANE_SIDE, PANE_BOTTOM, PANE_END}) {
        canvas.clear();
        View view = pane(which, canvas);
        drawStone(stone, view, DRAW_SILHOUETTE | DRAW_VISIBLE | DRAW_HIDDEN | DRAW_LABELS);
        EXPECT_GE(canvas.count(PrimitiveKind::Polygon), 1) << which;  // the grey faces
        EXPECT_GE(canvas.count(PrimitiveKind::Line), 4) << which;     // the block's edges
        // Nothing to name or measure on it, and no hidden edges behind it.
        EXPECT_LE(canvas.count(PrimitiveKind::Text), which == PANE_TOP ? 16 : 0) << which;
    }
}

TEST(GearLabels, AWideFourFoldStoneGetsEightLabelsOnTwoRadii) {
    RecordingCanvas canvas;
    Stone stone;  // the rough block's corners reach 1.44 from the axis
    stone.symmetry = 4;
    stone.gear = -96;  // a reversed gear numbers the same notches
    View top = pane(PANE_TOP, canvas);
    drawStone(stone, top, DRAW_LABELS);
    EXPECT_EQ(top.extendsBeyond, 1);
    EXPECT_EQ(canvas.texts(),
              (std::vector<std::string>{"12", "24", "36", "48", "60", "72", "84", "<96>"}));
    // Label 24 (even) at radius 1.1 along +x, label 12 (odd) out on the diagonal at 1.556.
    const double scale = top.u.x;
    EXPECT_NEAR(canvas.primitives[1].points[0].x - top.originX, 1.1 * scale, 1);
    EXPECT_NEAR(canvas.primitives[0].points[0].x - top.originX, 1.1 * scale, 1);
}

// A stone whose statistics are set by hand, so that a dimension of any
// height can be drawn in the end pane.
struct EndPaneDimensions : ::testing::Test {
    Stone stone;
    RecordingCanvas canvas;
    View end = pane(PANE_END, canvas);

    void SetUp() override {
        Stats& s = stone.stats;
        s.minX = -1, s.maxX = 1, s.minY = -1, s.maxY = 1;
        s.minZ = -0.8, s.maxZ = 0.4;
        s.crownBottom = 0.05;
        s.tableMinX = 0;  // no table dimension
    }
    // The lines drawn for the "P" dimension and where its letter went.
    std::pair<int, Point> pavilion(double depth) {
        stone.stats.pavilionTop = stone.stats.minZ + depth;
        canvas.clear();
        drawDimensions(stone, end);
        // Primitives after the "L" letter belong to the heights.
        auto l = std::find_if(canvas.primitives.begin(), canvas.primitives.end(),
                              [](const Primitive& p) { return p.text == "L"; });
        auto p = std::find_if(l, canvas.primitives.end(),
                              [](const Primitive& q) { return q.text == "P"; });
        EXPECT_NE(p, canvas.primitives.end());
        return {static_cast<int>(p - l) - 1, p->points[0]};
    }
};

TEST_F(EndPaneDimensions, ShortPavilionGetsOutsideArrowsAndItsLetterBelow) {
    const int girdleBottomY = toPixel(end.projectY({0, 0, -0.8 + 0.25}));
    const int culetY = toPixel(end.projectY({0, 0, -0.8}));

    auto [insideLines, insideLetter] = pavilion(0.25);
    // Two extension lines and two arrows of six strokes; letter between them.
    EXPECT_EQ(insideLines, 14);
    EXPECT_LT(insideLetter.y, culetY);
    EXPECT_GT(insideLetter.y, girdleBottomY);

    auto [outsideLines, outsideLetter] = pavilion(0.2499);
    // Two extension lines, two arrows and the tail below the culet.
    EXPECT_EQ(outsideLines, 15);
    EXPECT_GT(outsideLetter.y, culetY);  // below the culet on screen
}

TEST_F(EndPaneDimensions, LettersFollowTheProportions) {
    stone.stats.pavilionTop = -0.1;
    stone.stats.maxX = 0.5;  // x extent 1.5 shorter than y extent 2: W
    stone.stats.tableMinX = -0.2, stone.stats.tableMaxX = 0.2;
    stone.stats.tableMinY = -0.3, stone.stats.tableMaxY = 0.3;
    drawDimensions(stone, end);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"U", "W", "P", "C"}));
    EXPECT_DOUBLE_EQ(stone.stats.L, 2);
    EXPECT_DOUBLE_EQ(stone.stats.W, 1.5);

    // A girdle band whose bottom is above its top: one total height.
    canvas.clear();
    stone.stats.pavilionTop = 0.2;
    drawDimensions(stone, end);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"U", "W", "H"}));

    // Side pane: the y extents; top and bottom panes: none.
    canvas.clear();
    View side = pane(PANE_SIDE, canvas);
    drawDimensions(stone, side);
    EXPECT_EQ(canvas.texts(), (std::vector<std::string>{"T", "L"}));
    canvas.clear();
    View top = pane(PANE_TOP, canvas);
    drawDimensions(stone, top);
    EXPECT_TRUE(canvas.primitives.empty());
}

TEST(Rays, StubsInTheInverseColourThePathInsideInThePen) {
    RecordingCanvas canvas;
    Stone stone;
    View top = pane(PANE_TOP, canvas);
    classify(stone, top);
    const double path[][4] = {{1, 0, 0, 2},   {1, 0.1, 0, 2},  // two starts: only moves
                              {0, 0.1, 0, 1}, {0, 0.2, 0, 0},
                              {0, 0.3, 0, -1}, {0, 0.4, 0, -2}};
    for (auto& p : path) stone.addRayPoint(p[0], p[1], p[2], p[3]);
    drawRays(stone, top);
    std::vector<RasterOp> ops;
    for (const Primitive& p : canvas.primitives)
        if (p.kind == PrimitiveKind::Line) ops.push_back(p.rop);
    EXPECT_EQ(ops, (std::vector<RasterOp>{RasterOp::NotCopyPen, RasterOp::CopyPen,
                                          RasterOp::CopyPen, RasterOp::NotCopyPen}));
    EXPECT_EQ(canvas.rasterOp(), RasterOp::CopyPen);
}

}  // namespace
}  // namespace brevix
