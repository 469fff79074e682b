#include <gtest/gtest.h>

#include "views/recording_canvas.h"

namespace brevix {
namespace {

TEST(RecordingCanvas, KeepsStateWithEachPrimitiveAndRestoresIt) {
    RecordingCanvas canvas;
    const Pen grey{PenStyle::Solid, 0, {220, 220, 220}};
    canvas.setPen(grey);
    canvas.save();
    canvas.setPen(BLACK_PEN);
    canvas.setBrush(NULL_BRUSH);
    canvas.moveTo(1, 2);
    canvas.lineTo(3, 4);
    canvas.lineTo(3, 4);  // zero length still recorded
    const Point tri[] = {{0, 0}, {5, 0}, {0, 5}};
    canvas.polygon(tri);
    canvas.restore();
    canvas.line(7, 7, 8, 8);

    ASSERT_EQ(canvas.primitives.size(), 4u);
    EXPECT_EQ(canvas.primitives[0].points, (std::vector<Point>{{1, 2}, {3, 4}}));
    EXPECT_EQ(canvas.primitives[1].points, (std::vector<Point>{{3, 4}, {3, 4}}));
    EXPECT_EQ(canvas.primitives[2].brush, NULL_BRUSH);
    EXPECT_EQ(canvas.primitives[3].pen, grey);
    EXPECT_EQ(canvas.brush(), WHITE_BRUSH);
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, Rgb{}), 2);
    EXPECT_EQ(describe(canvas.primitives[2]),
              "polygon pen(0,0,0 w0) brush(none) (0,0) (5,0) (0,5)");
}

TEST(RecordingCanvas, MeasuresTextFromTheFont) {
    RecordingCanvas canvas;
    EXPECT_EQ(canvas.textExtent("<96>"), (Size{20, 11}));  // 8 points: 11 high, 5 wide
    canvas.setFont(Font{"Arial", 180, 0, 400});
    EXPECT_EQ(canvas.textExtent("ab"), (Size{180, 180}));
}

}  // namespace
}  // namespace brevix
