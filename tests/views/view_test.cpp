// The projection pane's arithmetic: layout of the square, setup and
// projection, the margin pen and the dimension marks and arrows.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/messages.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"
#include "views/view.h"

namespace brevix {
namespace {

TEST(DrawingSquare, CentresTheLargestSquareWhicheverWayTheAreaRuns) {
    // Wide: centred horizontally (integer halving).
    EXPECT_EQ(drawingSquare({0, 0, 801, 600}), (DrawingSquare{100, 0, 600, 1}));
    // Tall: centred vertically.
    EXPECT_EQ(drawingSquare({10, 20, 610, 821}), (DrawingSquare{10, 120, 600, 1}));
    // y up (twips): the height is negative, the square still runs down from the top.
    EXPECT_EQ(drawingSquare({0, 0, 600, -801}), (DrawingSquare{0, -100, 600, -1}));
    // Exactly square.
    EXPECT_EQ(drawingSquare({0, 0, 500, 500}), (DrawingSquare{0, 0, 500, 1}));
}

TEST(FourViewPanes, KeepTheirPlacesWithANegativeHeight) {
    for (const Rect client : {Rect{0, 0, 600, 600}, Rect{0, 0, 600, -600}}) {
        const DrawingSquare sq = drawingSquare(client);
        View top, end, side;
        setupFourViewPane(top, PANE_TOP, sq, false);
        setupFourViewPane(end, PANE_END, sq, false);
        setupFourViewPane(side, PANE_SIDE, sq, false);
        // The top pane's origin lies in the upper half of the square, the end
        // pane's in the lower half, whichever way y grows.
        const double topY = top.originY * sq.sigma, endY = end.originY * sq.sigma;
        EXPECT_GT(topY, 0);
        EXPECT_LT(topY, 300);
        EXPECT_GT(endY, 300);
        EXPECT_LT(endY, 600);
        EXPECT_GT(side.originX, 300);
        EXPECT_EQ(top.paneName, "top");
        // Panes meet without overlapping: the shared border belongs to one of them.
        const int border = sq.sigma * 300;
        EXPECT_NE(top.inViewport(100, border), end.inViewport(100, border));
        EXPECT_NE(top.inViewport(300, 100 * sq.sigma), side.inViewport(300, 100 * sq.sigma));
        EXPECT_EQ(top.marginY, sq.sigma > 0 ? -8 : 8);
    }
}

TEST(FourViewPanes, EachPaneLooksAlongItsOwnAxis) {
    const DrawingSquare sq = drawingSquare({0, 0, 460, 460});
    View pane[4];
    for (int k = 0; k < 4; ++k) setupFourViewPane(pane[k], k, sq, false);
    EXPECT_DOUBLE_EQ(pane[PANE_TOP].w.z, 1);
    EXPECT_DOUBLE_EQ(pane[PANE_SIDE].w.x, 1);
    EXPECT_DOUBLE_EQ(pane[PANE_BOTTOM].w.z, -1);
    EXPECT_DOUBLE_EQ(pane[PANE_END].w.y, 1);
    // Top pane: 230 pixels for 2.3 units, window x from -1.2.
    EXPECT_EQ(pane[PANE_TOP].originX, 120);
    // y from -1.1 at 230 up to 1.2 at 0: 230 - 110.00000000000001 truncates to 119.
    EXPECT_EQ(pane[PANE_TOP].originY, 119);
    // World +y runs down the screen in the top pane.
    EXPECT_GT(pane[PANE_TOP].projectY({0, 1, 0}), pane[PANE_TOP].originY);

    View zoomed;
    setupFourViewPane(zoomed, PANE_SIDE, sq, true);
    EXPECT_EQ(zoomed.originX, 230);
    EXPECT_EQ(zoomed.originY, 229);
    EXPECT_EQ(zoomed.paneName, "side");
}

TEST(View, UnprojectInvertsProjectionOnTheCentralPlane) {
    View view;
    view.setWindow(-1.2, 1.2, -1.2, 1.2);
    view.setViewport(0, 480, 480, 0, 8);
    view.setXAxis({0.6, 0.8, 0});
    view.setYAxis({-0.8 * 0.5, 0.6 * 0.5, std::sqrt(0.75)});
    view.setup(0.3);
    const Vec3 p = view.unproject(100, 333, 0);
    EXPECT_NEAR(view.projectX(p), 100, 1e-9);
    EXPECT_NEAR(view.projectY(p), 333, 1e-9);
    EXPECT_NEAR(dot(p, view.w), 0, 1e-12);
    // A ray's start lies 1.1 in front of that plane.
    const Vec3 q = view.unproject(100, 333, -1.1);
    EXPECT_NEAR(dot(q, view.w), 1.1, 1e-12);
    // The spin about w keeps the axes unit and perpendicular.
    EXPECT_NEAR(length(view.uUnit), 1, 1e-12);
    EXPECT_NEAR(dot(view.uUnit, view.vUnit), 0, 1e-12);
}

TEST(View, MarginPenMovesAndTextSitsHalfAMarginUp) {
    RecordingCanvas canvas;
    View view;
    view.setDC(&canvas);
    view.setWindow(-1, 1, -1, 1);
    view.setViewport(0, 200, 200, 0, 8);
    view.setXAxis({1, 0, 0});
    view.setYAxis({0, 0, 1});
    view.setup(0);
    view.moveTo3({0, 0, 0});
    EXPECT_EQ(view.penX, 100);
    EXPECT_EQ(view.penY, 100);
    view.lineBy({0, 0, 2});  // two margins up the screen: -16 + 0.5 truncates to -15
    EXPECT_EQ(canvas.primitives.back().points, (std::vector<Point>{{100, 100}, {100, 85}}));
    view.moveBy({-0.25, 0, 0});  // -2 + 0.5 truncates to -1
    EXPECT_EQ(view.penX, 99);
    view.text("H");
    EXPECT_EQ(canvas.primitives.back().points[0], (Point{99, 89}));
}

TEST(View, PixelsRoundHalfUpByTruncationAndStayInRange) {
    EXPECT_EQ(toPixel(2.5), 3);
    EXPECT_EQ(toPixel(-0.7), 0);  // -0.2 truncates toward zero
    EXPECT_EQ(toPixel(-1.6), -1);
    EXPECT_EQ(toPixel(1e300), 1 << 30);
    EXPECT_EQ(toPixel(-1e300), -(1 << 30));
    EXPECT_EQ(toPixel(std::nan("")), 0);
}

TEST(View, MarksBlendAndArrowsEndAtTheirTarget) {
    RecordingCanvas canvas;
    View view;
    view.setDC(&canvas);
    view.setViewport(0, 100, 100, 0, 8);
    view.moveToPixel(10, 50);
    view.mark(0);
    view.moveToPixel(90, 50);
    view.mark(1);
    EXPECT_EQ(view.markAt(0.5), (Point{50, 50}));
    EXPECT_EQ(view.markAt(0.0005), (Point{10, 50}));
    EXPECT_EQ(view.markAt(0.9995), (Point{90, 50}));

    view.moveToMark(0);
    view.arrowToMark(0.5);
    ASSERT_EQ(canvas.primitives.size(), 6u);  // five head strokes and the shaft
    for (const Primitive& p : canvas.primitives) EXPECT_EQ(p.points[0], (Point{10, 50}));
    // Barbs one margin back toward the target, spread 0.251 margin either side.
    EXPECT_EQ(canvas.primitives[0].points[1], (Point{18, 48}));
    EXPECT_EQ(canvas.primitives[1].points[1], (Point{18, 52}));
    EXPECT_EQ(canvas.primitives.back().points[1], (Point{50, 50}));
    EXPECT_EQ(view.penX, 50);

    // arrowBy: the head points along the shaft, its barbs behind the tip.
    canvas.clear();
    view.moveToPixel(10, 50);
    view.arrowBy({0, -1, 0});  // v is unit 0 here: no movement, direction (1, 0)
    EXPECT_EQ(canvas.primitives[0].points[1], (Point{2, 52}));
}

TEST(View, FillBrushRestoresTheBrushItReplacedAndComplainsWithoutACanvas) {
    RecordingCanvas canvas;
    View view;
    view.setDC(&canvas);
    canvas.setBrush(NULL_BRUSH);
    view.fillbrush(true, 192, 192, 192);
    EXPECT_EQ(canvas.brush(), (Brush{BrushStyle::Solid, {192, 192, 192}}));
    view.fillbrush(false);
    EXPECT_EQ(canvas.brush(), NULL_BRUSH);

    View loose;
    loose.fillbrush(true, 1, 2, 3);
    loose.moveTo3({1, 1, 1});
    loose.lineTo3({0, 0, 0});  // no canvas: nothing drawn, no crash
    EXPECT_EQ(loose.notes.texts(), std::vector<std::string>{"DC NULL in View::fillbrush()"});
    EXPECT_EQ(loose.notes[0].kind, DiagKind::Warning);
}

}  // namespace
}  // namespace brevix
