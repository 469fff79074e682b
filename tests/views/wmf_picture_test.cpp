// The metafile pictures of the database previews: what the renderer draws,
// where, and with which pens and brushes; damaged pictures stop cleanly.
#include <gtest/gtest.h>

#include <span>

#include "support/datavue_database.h"
#include "views/recording_canvas.h"
#include "views/wmf_picture.h"

namespace brevix {
namespace {

std::span<const unsigned char> bytesOf(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::string penRecord(uint16_t style, int16_t width, uint8_t r, uint8_t g, uint8_t b) {
    std::string p;
    le::putU16(p, style);
    le::putU16(p, static_cast<uint16_t>(width));
    le::putU16(p, 0);
    return p + testdb::colourWords(r, g, b);
}

std::string brushRecord(uint16_t style, uint8_t r, uint8_t g, uint8_t b) {
    std::string p;
    le::putU16(p, style);
    p += testdb::colourWords(r, g, b);
    le::putU16(p, 0);
    return p;
}

TEST(WmfPicture, ThePearIsStretchedOverTheTargetWithItsPenAndBrush) {
    RecordingCanvas canvas;
    const std::string pear = testdb::pearPicture();
    ASSERT_TRUE(isWmf(bytesOf(pear)));
    ASSERT_TRUE(drawWmf(bytesOf(pear), canvas, {100, 50, 300, 250}));
    ASSERT_EQ(canvas.primitives.size(), 4u);
    const Primitive& outline = canvas.primitives[0];
    EXPECT_EQ(outline.kind, PrimitiveKind::Polygon);
    // 1000 units onto 200 pixels: (500, 100) -> (200, 70).
    EXPECT_EQ(outline.points.front(), (Point{200, 70}));
    EXPECT_EQ(outline.points.size(), 7u);
    EXPECT_EQ(outline.pen, (Pen{PenStyle::Solid, 2, {0, 0, 160}}));
    EXPECT_EQ(outline.brush, (Brush{BrushStyle::Solid, {200, 220, 255}}));
    const Primitive& ellipse = canvas.primitives[1];
    EXPECT_EQ(ellipse.kind, PrimitiveKind::Polygon);
    for (const Point& p : ellipse.points) {
        EXPECT_GE(p.x, 180);
        EXPECT_LE(p.x, 220);
        EXPECT_GE(p.y, 130);
        EXPECT_LE(p.y, 190);
    }
    EXPECT_EQ(canvas.primitives[2].points, (std::vector<Point>{{160, 170}, {240, 170}}));
    EXPECT_EQ(canvas.primitives[3].text, "PEAR");
    EXPECT_EQ(canvas.primitives[3].points.front(), (Point{200, 230}));
    EXPECT_EQ(canvas.primitives[3].font, (Font{"Arial", 16, 0, 700}));
    EXPECT_EQ(canvas.primitives[3].align, (TextAlign{HAlign::Center, VAlign::Baseline}));
    // Nothing drawn outside the target; the canvas's state comes back.
    EXPECT_EQ(canvas.clip, (Rect{100, 50, 300, 250}));
    EXPECT_EQ(canvas.pen(), BLACK_PEN);
}

TEST(WmfPicture, ObjectsTakeTheLowestFreeSlot) {
    testdb::WmfBuilder wmf;
    wmf.record(WMF_SETWINDOWEXT, {100, 100});
    wmf.rawRecord(WMF_CREATEPENINDIRECT, penRecord(0, 0, 255, 0, 0));    // slot 0
    wmf.rawRecord(WMF_CREATEBRUSHINDIRECT, brushRecord(1, 0, 0, 0));     // slot 1, hollow
    wmf.record(WMF_CREATEPALETTE, {0x300, 0});                          // slot 2, not drawn with
    wmf.record(WMF_DELETEOBJECT, {0});
    wmf.rawRecord(WMF_CREATEPENINDIRECT, penRecord(1, 0, 0, 255, 0));    // slot 0 again
    wmf.record(WMF_SELECTOBJECT, {0});
    wmf.record(WMF_SELECTOBJECT, {1});
    wmf.record(WMF_SELECTOBJECT, {2});
    wmf.record(WMF_SELECTOBJECT, {77});
    wmf.record(WMF_RECTANGLE, {90, 80, 10, 20});
    wmf.record(0x0817, {1, 2, 3, 4, 5, 6, 7, 8});  // an arc: skipped
    wmf.record(WMF_POLYLINE, {2, 0, 0, 100, 100});
    RecordingCanvas canvas;
    ASSERT_TRUE(drawWmf(bytesOf(wmf.bytes(false)), canvas, {0, 0, 200, 100}));
    ASSERT_EQ(canvas.primitives.size(), 2u);
    EXPECT_EQ(canvas.primitives[0].kind, PrimitiveKind::Rectangle);
    EXPECT_EQ(canvas.primitives[0].points, (std::vector<Point>{{40, 10}, {160, 90}}));
    EXPECT_EQ(canvas.primitives[0].pen, (Pen{PenStyle::Dash, 0, {0, 255, 0}}));
    EXPECT_EQ(canvas.primitives[0].brush.style, BrushStyle::Null);
    EXPECT_EQ(canvas.primitives[1].points, (std::vector<Point>{{0, 0}, {200, 100}}));
}

TEST(WmfPicture, DamagedPicturesStopWhereTheDamageIs) {
    RecordingCanvas canvas;
    EXPECT_FALSE(isWmf(bytesOf("")));
    EXPECT_FALSE(drawWmf(bytesOf("not a metafile at all"), canvas, {0, 0, 10, 10}));
    EXPECT_TRUE(canvas.primitives.empty());

    testdb::WmfBuilder wmf;
    wmf.record(WMF_SETWINDOWEXT, {10, 10});
    wmf.record(WMF_POLYGON, {1000, 1, 1, 2, 2});  // more points claimed than held
    wmf.record(WMF_POLYPOLYGON, {2, 3, 3000, 0, 0, 1, 1, 2, 2});
    wmf.record(WMF_SETWINDOWEXT, {0, 0});  // ignored: would divide by zero
    wmf.record(WMF_LINETO, {5, 5});
    std::string bytes = wmf.bytes(false);
    // A record claiming more than the file holds ends the picture.
    std::string cut = bytes.substr(0, bytes.size() - 6);
    cut += std::string("\xFF\xFF\x00\x00\x13\x02", 6);
    ASSERT_TRUE(drawWmf(bytesOf(cut), canvas, {0, 0, 100, 100}));
    ASSERT_EQ(canvas.primitives.size(), 3u);
    EXPECT_EQ(canvas.primitives[0].points, (std::vector<Point>{{10, 10}, {20, 20}}));
    EXPECT_EQ(canvas.primitives[1].points.size(), 3u);
    EXPECT_EQ(canvas.primitives[2].points, (std::vector<Point>{{0, 0}, {50, 50}}));
    // Unbalanced restores never pop the caller's state.
    testdb::WmfBuilder restore;
    restore.record(WMF_RESTOREDC, {-1});
    restore.record(WMF_RESTOREDC, {-1});
    canvas.save();
    canvas.setPen(Pen{PenStyle::Dot, 3, {1, 2, 3}});
    drawWmf(bytesOf(restore.bytes()), canvas, {0, 0, 10, 10});
    EXPECT_EQ(canvas.pen(), (Pen{PenStyle::Dot, 3, {1, 2, 3}}));
}

}  // namespace
}  // namespace brevix
