// Turning the spin view with the mouse and the space bar, and what it draws.
#include <gtest/gtest.h>

#include <memory>

#include "design/sample_designs.h"
#include "views/recording_canvas.h"
#include "views/spin_view.h"
#include "views/view_style.h"

namespace brevix {
namespace {

constexpr double DEG = PI / 180;

TEST(SpinControl, DragTurnsOneRadianPer150PixelsAndTheOtherWayUpsideDown) {
    SpinControl control;
    control.angles = {1.0, 0.5, 0};
    EXPECT_FALSE(control.drag(10, 10));  // not dragging yet
    control.buttonDown(100, 100, false);
    EXPECT_TRUE(control.drag(250, 100));
    EXPECT_DOUBLE_EQ(control.angles.azimuth, 2.0);
    EXPECT_DOUBLE_EQ(control.angles.tilt, 0.5);

    control.angles.tilt = -1.9;  // beyond 108 degrees: seen from below
    control.drag(400, 175);
    EXPECT_DOUBLE_EQ(control.angles.azimuth, 1.0);
    EXPECT_DOUBLE_EQ(control.angles.tilt, -1.4);

    // Azimuth stays in [0, 2 pi).
    control.angles = {0.1, 0, 0};
    control.drag(370, 175);  // -30 pixels
    EXPECT_NEAR(control.angles.azimuth, 0.1 - 0.2 + TWO_PI, 1e-12);
    control.buttonUp();
    EXPECT_FALSE(control.drag(0, 0));
}

TEST(SpinControl, TiltDraggedPast180ContinuesFromMinus180) {
    SpinControl control;
    control.angles.tilt = 3.1;
    control.buttonDown(0, 0, false);
    control.drag(0, 15);  // +0.1 radian
    EXPECT_NEAR(control.angles.tilt, 3.2 - TWO_PI, 1e-12);
}

TEST(SpinControl, ShiftDragSpinsOnly) {
    SpinControl control;
    const SpinAngles before = control.angles;
    control.buttonDown(0, 0, true);
    control.drag(-15, 40);
    EXPECT_EQ(control.angles.azimuth, before.azimuth);
    EXPECT_EQ(control.angles.tilt, before.tilt);
    EXPECT_NEAR(control.angles.spin, TWO_PI - 0.1, 1e-12);
}

TEST(SpinControl, SpaceSnapsToTenDegrees) {
    SpinControl control;
    control.angles = {355.2 * DEG, 10 * DEG, 4.9 * DEG};
    control.snap();
    EXPECT_EQ(control.angles.azimuth, 0);
    EXPECT_NEAR(control.angles.tilt, 10 * DEG, 1e-15);
    EXPECT_EQ(control.angles.spin, 0);

    control.angles = {5.0 * DEG, 94 * DEG, -40 * DEG};  // the start azimuth turned into spin
    control.snap();
    EXPECT_NEAR(control.angles.azimuth, 10 * DEG, 1e-15);
    EXPECT_NEAR(control.angles.tilt, 90 * DEG, 1e-15);
    EXPECT_NEAR(control.angles.spin, 320 * DEG, 1e-12);

    // A tilt below the girdle keeps its sign, so that the next drag still
    // turns the stone the way the pointer goes.
    control.angles = {0, -12 * DEG, 0};
    control.snap();
    EXPECT_NEAR(control.angles.tilt, -10 * DEG, 1e-12);
}

TEST(SpinTexts, OverlayAndStatusBar) {
    const SpinAngles start;
    EXPECT_EQ(tiltOverlayText(start), " 80.0");
    EXPECT_EQ(spinStatusText(start), "  80.0  -40.0    0.0");
    EXPECT_EQ(tiltOverlayText({0, -PI / 2, 0}), "180.0");
}

TEST(SpinView, LooksStraightDownAtNinetyDegreesTilt) {
    View view;
    setupSpinPane(view, drawingSquare({0, 0, 240, 240}), {0, PI / 2, 0});
    EXPECT_NEAR(view.w.z, 1, 1e-12);
    EXPECT_EQ(view.paneName, "tilted");
    EXPECT_EQ(view.originX, 120);
    // Spin turns the picture about the viewing direction.
    View spun;
    setupSpinPane(spun, drawingSquare({0, 0, 240, 240}), {0, PI / 2, PI / 2});
    EXPECT_NEAR(spun.uUnit.y, 1, 1e-12);
    EXPECT_NEAR(spun.w.z, 1, 1e-12);
}

TEST(SpinView, DrawsThePreformInBlueAndReportsTheAngles) {
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    View pane;
    const Rect client{0, 0, 300, 260};
    auto status = drawSpinView(&stone, canvas, client, SpinAngles{}, {}, pane);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, "  80.0  -40.0    0.0");
    const Primitive& overlay = canvas.primitives.back();
    EXPECT_EQ(overlay.text, " 80.0");
    EXPECT_EQ(overlay.points[0], (Point{0, 260}));
    EXPECT_EQ(overlay.align, (TextAlign{HAlign::Left, VAlign::Bottom}));
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, PREFORM_PEN.colour), 0);
    EXPECT_EQ(canvas.count(PrimitiveKind::Polygon), 1);

    // A preform: its hidden edges grey under the stone, its visible ones blue on top.
    auto preform = std::make_unique<Stone>();
    preform->newFacet(0, 0, 1, 0.5);
    stone.setPreform(std::move(preform));
    canvas.clear();
    drawSpinView(&stone, canvas, client, SpinAngles{}, {}, pane);
    const int blue = canvas.count(PrimitiveKind::Line, PREFORM_PEN.colour);
    const int grey = canvas.count(PrimitiveKind::Line, HIDDEN_LINE_PEN.colour);
    EXPECT_GT(blue, 0);
    EXPECT_EQ(blue + grey, 12);  // the block cut down once: 12 edges, each drawn once

    // A picture: no background, no overlay, no status.
    canvas.clear();
    EXPECT_FALSE(drawSpinView(&stone, canvas, client, SpinAngles{}, {.printing = true}, pane));
    EXPECT_EQ(canvas.count(PrimitiveKind::Rectangle), 0);
    for (const std::string& text : canvas.texts()) EXPECT_NE(text, " 80.0");
    EXPECT_FALSE(drawSpinView(nullptr, canvas, client, SpinAngles{}, {}, pane));
}

}  // namespace
}  // namespace brevix
