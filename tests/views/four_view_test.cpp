// What the four view draws for the round brilliant: counts per pen and kind,
// explained by the stone's parts, plus a few exact primitives.
#include <gtest/gtest.h>

#include <algorithm>

#include "design/sample_designs.h"
#include "views/four_view.h"
#include "views/recording_canvas.h"
#include "views/view_style.h"
#include "view_colours.h"

namespace brevix {
namespace {


int countText(const RecordingCanvas& canvas, const std::string& text) {
    const auto texts = canvas.texts();
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
}

struct RoundBrilliantFourView : ::testing::Test {
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    std::vector<View> panes;

    void draw(FourViewOptions options = {}) {
        canvas.clear();
        drawFourView(&stone, canvas, {0, 0, 460, 460}, options, panes);
    }
};

TEST_F(RoundBrilliantFourView, DrawsEveryPartWithItsPen) {
    draw();
    ASSERT_EQ(panes.size(), 4u);
    EXPECT_EQ(canvas.primitives.front(),
              (Primitive{PrimitiveKind::Rectangle, {{0, 0}, {460, 460}}, "", BACKGROUND_PEN,
                         BACKGROUND_BRUSH, {}, {}, RasterOp::CopyPen}));
    // The origin of the top pane: a small cross with a tick.
    EXPECT_EQ(canvas.primitives[1].points, (std::vector<Point>{{119, 119}, {121, 119}}));
    EXPECT_EQ(canvas.primitives[3].points, (std::vector<Point>{{120, 120}, {121, 121}}));

    // Visible edges per pane (top, side, bottom, end): the crown from above,
    // half of each side, the pavilion from below.
    const int visibleEdges = 96 + 86 + 56 + 86;
    const int originMarks = 4 * 3;
    // U and W in the side pane; T, L, P and C in the end pane: two extension
    // lines and two arrows of six strokes each.
    const int dimensions = 6 * (2 + 2 * 6);
    // Each of the 16 girdle facets gets a leader arrow in the bottom pane.
    const int leaders = 16 * 6;
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, BLACK),
              originMarks + visibleEdges + dimensions + leaders);
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, GREY), 0);  // Hidden Lines off

    // One silhouette per pane, outlined grey and filled white: the girdle's
    // 16-gon from above and below.
    std::vector<size_t> corners;
    for (const Primitive& p : canvas.primitives) {
        if (p.kind != PrimitiveKind::Polygon) continue;
        EXPECT_EQ(p.pen, HIDDEN_LINE_PEN);
        EXPECT_EQ(p.brush, WHITE_BRUSH);
        corners.push_back(p.points.size());
    }
    EXPECT_EQ(corners, (std::vector<size_t>{16, 21, 16, 21}));

    // Gear labels of the top pane with each of the three passes' pens.
    EXPECT_EQ(canvas.count(PrimitiveKind::Text, GREY), 16);
    EXPECT_EQ(canvas.count(PrimitiveKind::Text, GREEN), 16);
    EXPECT_EQ(countText(canvas, "<96>"), 3);
    // Facet names: 33 crown facets from above, 10 facets seen face-on from
    // each side, 40 girdle and pavilion facets from below.
    EXPECT_EQ(canvas.count(PrimitiveKind::Text, BLACK), 16 + 33 + 10 + 10 + 40 + 6);
    EXPECT_EQ(countText(canvas, "G"), 16);
    EXPECT_EQ(countText(canvas, "T"), 2);  // the table's name and the table's width
    for (const char* letter : {"U", "W", "L", "P", "C"}) EXPECT_EQ(countText(canvas, letter), 1);
    for (const Primitive& p : canvas.primitives) {
        if (p.kind == PrimitiveKind::Text) {
            EXPECT_EQ(p.font, VIEW_FONT);
        }
    }

    // The table's name near the middle of the top pane (origin 120, 119),
    // written half a margin lower.
    auto table = std::find_if(canvas.primitives.begin(), canvas.primitives.end(),
                              [](const Primitive& p) { return p.text == "T"; });
    EXPECT_NEAR(table->points[0].x, 120, 20);
    EXPECT_NEAR(table->points[0].y, 123, 20);
    EXPECT_EQ(table->align, (TextAlign{HAlign::Center, VAlign::Baseline}));
}

TEST_F(RoundBrilliantFourView, HiddenLinesDrawEveryOtherEdgeInGrey) {
    draw({.hiddenLines = true});
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, GREY), 72 + 82 + 112 + 82);
    // 168 edges in each pane, one way or the other.
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, GREY) + 96 + 86 + 56 + 86, 4 * 168);
}

TEST_F(RoundBrilliantFourView, ZoomedDrawsOnePaneIntoTheWholeSquare) {
    draw({.zoomed = true, .zoomPane = PANE_BOTTOM});
    ASSERT_EQ(panes.size(), 1u);
    EXPECT_EQ(panes[0].paneName, "bottom");
    EXPECT_EQ(panes[0].originX, 230);
    EXPECT_EQ(canvas.count(PrimitiveKind::Polygon), 1);
    EXPECT_EQ(countText(canvas, "<96>"), 0);  // gear labels belong to the top view
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, BLACK), 3 + 56 + 16 * 6);
}

TEST_F(RoundBrilliantFourView, APictureHasCornerMarksButNoBackgroundOrOrigins) {
    canvas.setFont(CLIPBOARD_FONT);
    draw({.printing = true});
    EXPECT_EQ(canvas.count(PrimitiveKind::Rectangle), 0);
    EXPECT_EQ(canvas.primitives[0].points, (std::vector<Point>{{0, 0}, {0, 0}}));
    EXPECT_EQ(canvas.primitives[1].points, (std::vector<Point>{{460, 460}, {460, 460}}));
    EXPECT_EQ(canvas.primitives[0].pen, PRINT_PEN);
    EXPECT_EQ(canvas.count(PrimitiveKind::Line, BLACK), 2 + 96 + 86 + 56 + 86 + 6 * 14 + 16 * 6);
    EXPECT_EQ(canvas.primitives.back().font, CLIPBOARD_FONT);
    for (const View& view : panes) EXPECT_EQ(view.gearLabel.present, 0);
}

TEST(FourView, WithoutAStoneOnlyTheOriginsAreMarked) {
    RecordingCanvas canvas;
    std::vector<View> panes;
    drawFourView(nullptr, canvas, {0, 0, 300, 200}, {}, panes);
    EXPECT_EQ(canvas.count(PrimitiveKind::Rectangle), 1);
    EXPECT_EQ(canvas.count(PrimitiveKind::Line), 12);
    EXPECT_EQ(canvas.primitives.size(), 13u);
}

}  // namespace
}  // namespace brevix
