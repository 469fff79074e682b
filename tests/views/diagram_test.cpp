// Layout arithmetic of the printed diagram, in twips with y up.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "design/sample_designs.h"
#include "platform/strformat.h"
#include "views/diagram.h"
#include "views/recording_canvas.h"

namespace brevix {
namespace {

constexpr int LETTER_INSTRUCTIONS_Y = -7656;

TEST(DiagramLayout, LetterPageHasViewsOf3360Twips) {
    RecordingCanvas canvas;
    DiagramPrinter printer;  // 8.5 x 11 inches
    printer.layoutViews(canvas);
    const DeviceViewport& top = printer.panes[0].viewport;
    EXPECT_EQ(top.sx1, 720);
    EXPECT_EQ(top.sx2, 720 + 3360);
    EXPECT_EQ(top.sy1, -720 - 3360);
    EXPECT_EQ(top.sy2, -720);
    EXPECT_EQ(printer.panes[2].viewport.sx2, 720 + 10080);  // bottom view at the right edge
    EXPECT_EQ(printer.panes[3].viewport.sy1, -720 - 6720);  // end view under the top view
    EXPECT_EQ(printer.panes[3].paneName, "end");
    EXPECT_EQ(printer.panes[0].marginX, 100);
    EXPECT_EQ(printer.panes[0].marginY, 100);  // y grows up the page
    EXPECT_FALSE(printer.panes[0].gearHotEnabled);

    InstructionText text;
    text.instructions = "CROWN\n\tC1\t40.00\xB0\t03-09\tLevel\n";
    printer.printInstructions(text, 5, false, &canvas, "");
    EXPECT_EQ(canvas.primitives.front().points[0], (Point{720, LETTER_INSTRUCTIONS_Y}));
}

TEST(DiagramLayout, ShortLandscapePageNarrowsTheViewsButNotTheInstructionDepth) {
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.pageWidth = 14;
    printer.pageHeight = 8.5;  // printable 18000 wide, 10080 high: narrowed to 15120
    printer.layoutViews(canvas);
    EXPECT_EQ(printer.panes[0].viewport.sx2 - printer.panes[0].viewport.sx1, 5040);
    EXPECT_EQ(printer.panes[2].viewport.sx2, 720 + 15120);
    EXPECT_EQ(printer.printInstructions({}, 5, false, nullptr, ""), -12936);
}

TEST(DiagramLayout, InstructionLinesAdvanceByTheirKind) {
    DiagramPrinter printer;
    RecordingCanvas canvas;
    // Heading +28 units, row +25, continuation row 4 higher, footnote 25, title 25 + 20.
    InstructionText text;
    text.instructions = "CROWN\n\tTABLE\t 0.00\xB0\tTable\n\t\t\tmore\n";
    text.footnote = "Footnote\n";
    const int y = printer.printInstructions(text, 2, false, &canvas, "gem.asc");
    const int s = 12, y0 = LETTER_INSTRUCTIONS_Y;
    EXPECT_EQ(y, y0 - s * 28 - s * 25 - (s * 25 - s * 4) - s * 25 - s * 45);
    // A name of five letters widens stops 2 to 5 by 2 * 8.5 units: the angle
    // goes to (55 + 17) * 12 past the column.
    auto angle = std::find_if(canvas.primitives.begin(), canvas.primitives.end(),
                              [](const Primitive& p) { return p.text == " 0.00\xB0"; });
    ASSERT_NE(angle, canvas.primitives.end());
    EXPECT_EQ(angle->points[0], (Point{720 + 72 * s, y0 - s * 28}));
    EXPECT_EQ(canvas.primitives.back().text, "gem.asc");
}

// A design with more tiers than one column of a letter page holds.
Stone manyTiers() {
    Stone stone;
    stone.symmetry = 1;
    stone.mirror = 0;
    for (int i = 0; i < 18; ++i) {
        cutTier(stone, {strprintf("P%d", i + 1), -(38.0 + i), 0.97, {1.0 + 5 * i},
                        "Cut to the line"});
    }
    for (int i = 0; i < 18; ++i) {
        cutTier(stone, {strprintf("C%d", i + 1), 30.0 + i, 0.97, {2.0 + 5 * i},
                        "Meet the neighbours"});
    }
    return stone;
}

TEST(DiagramPage, FewInstructionsPrintInOneColumnAtTwelveUnits) {
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.printPage(canvas, &stone, "brilliant.asc");
    EXPECT_EQ(printer.scale, 12);
    std::set<int> columns;
    for (const Primitive& p : canvas.primitives) {
        if (p.kind != PrimitiveKind::Text || p.points[0].y > LETTER_INSTRUCTIONS_Y) continue;
        EXPECT_EQ(p.font.height, 240) << p.text;
        if (p.points[0].x < 1000) columns.insert(p.points[0].x);
    }
    EXPECT_EQ(columns, (std::set<int>{720, 720 + 10 * 12}));
    EXPECT_EQ(canvas.texts().back(), "brilliant.asc");
    // The heading starts beside the end view, in the title font.
    auto heading = std::find_if(canvas.primitives.begin(), canvas.primitives.end(), [](auto& p) {
        return p.kind == PrimitiveKind::Text && p.points[0] == Point{4440, -4152};
    });
    ASSERT_NE(heading, canvas.primitives.end());
    EXPECT_EQ(heading->font.height, 300);
    EXPECT_EQ(heading->font.weight, 700);
}

TEST(DiagramPage, StatisticsThatRunLongPushTheInstructionsDown) {
    // The brilliant's sixteen girdle facets add eight "(G G)/W" lines: the
    // statistics reach below the usual top of the instructions, which must
    // not be printed over them.
    Stone stone = makeRoundBrilliant();
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.printPage(canvas, &stone, "brilliant.asc");
    ASSERT_LT(printer.headingBottom, LETTER_INSTRUCTIONS_Y);
    int lowestHeadingLine = 0, firstInstruction = 0;
    for (const Primitive& p : canvas.primitives) {
        if (p.kind != PrimitiveKind::Text) continue;
        if (p.points[0].x == 4440) lowestHeadingLine = std::min(lowestHeadingLine, p.points[0].y);
        if (p.text == "PAVILION") firstInstruction = p.points[0].y;
    }
    EXPECT_EQ(firstInstruction, printer.headingBottom);
    EXPECT_LE(firstInstruction, lowestHeadingLine - 20 * printer.scale);
    EXPECT_EQ(printer.scale, 12);  // and it still fits at full size
}

TEST(DiagramPage, LongInstructionsShrinkIntoTwoColumns) {
    Stone stone = manyTiers();
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.printPage(canvas, &stone, "");
    EXPECT_LT(printer.scale, 12);
    const int secondColumn = 720 + 7 * 1440 / 2;
    bool secondColumnAtTop = false;
    for (const Primitive& p : canvas.primitives) {
        if (p.kind != PrimitiveKind::Text || p.points[0].y > LETTER_INSTRUCTIONS_Y) continue;
        EXPECT_EQ(p.font.height, 20 * printer.scale);
        if (p.points[0] == Point{secondColumn, LETTER_INSTRUCTIONS_Y}) secondColumnAtTop = true;
    }
    EXPECT_TRUE(secondColumnAtTop);
}

TEST(DiagramPage, APageTooShortForAnyTypeStillPrints) {
    Stone stone = manyTiers();
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.pageHeight = 5;  // the instructions start below the bottom edge
    printer.printPage(canvas, &stone, "");
    EXPECT_EQ(printer.scale, 1);
    EXPECT_GT(canvas.count(PrimitiveKind::Text), 0);
}

TEST(DiagramPage, NothingWithoutAStone) {
    RecordingCanvas canvas;
    DiagramPrinter printer;
    printer.printPage(canvas, nullptr, "x");
    EXPECT_TRUE(canvas.primitives.empty());
}

}  // namespace
}  // namespace brevix
